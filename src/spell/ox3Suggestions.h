#pragma once
// Suggestions for a misspelt word: single edits tested against the
// dictionaries, sound-alike words of the primary main dictionary, and the
// replacements the user chose before, ranked by edit distance.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "spell/ox3Types.h"

namespace tovuri {

class TPhoneticsMap;

// Edit kinds; a TSuggestionTypes value is a set of their bits.
enum class TSuggestionType : unsigned { stInsert = 1, stSwap = 2, stDelete = 4, stReplace = 8, stSplit = 16 };
using TSuggestionTypes = unsigned;

constexpr bool HasType(TSuggestionTypes types, TSuggestionType type) {
  return (types & static_cast<unsigned>(type)) != 0;
}

// Answers whether a candidate word exists.
using TWordExistsCallback = std::function<bool(const std::string&)>;

// Letters tried inside a word when the word has no capitals: "'", a to z and
// the lower-case letters of the upper half (67 bytes).
std::string_view LowerCaseCharSet();
// Letters tried at the first position, and inside a word that has capitals:
// "'", a to z, A to Z and the letters of the upper half (122 bytes).
std::string_view FullCharSet();

// Produces the single-edit variants of a word that exist.
class TSuggestionsGenerator {
 public:
  static constexpr size_t kMaxWordLength = 250;  // longer words get no edits
  static constexpr int kNoLimit = 65535;         // what a negative max stands for
  static constexpr TSuggestionTypes kAllTypes = 31;

  TSuggestionsGenerator();
  virtual ~TSuggestionsGenerator() = default;

  // The primary main dictionary's language: its default edit kinds and the
  // extra first letters its alphabet needs.
  virtual void SetLanguage(int language);
  // Makes the edit kinds follow the language again.
  virtual void UseDefaults();
  // Fixes the edit kinds, whatever the language.
  virtual void SetTypes(TSuggestionTypes types);

  // One pass of edits over word, appending the candidates that exist to list;
  // stops once the list holds more than max entries (negative: no limit).
  virtual void Generate(std::string_view word, int max, const TWordExistsCallback& exists,
                        std::vector<std::string>& list) const;
  // Generate, then again for the word in lower case (or with only its first
  // letter kept) when it mixes capitals and small letters.
  virtual void GenerateWithCase(std::string_view word, int max, const TWordExistsCallback& exists,
                                std::vector<std::string>& list) const;

  int Language() const { return Language_; }
  TSuggestionTypes SuggestionTypes() const { return SuggestionTypes_; }
  bool UseDefaultTypes() const { return UseDefaultTypes_; }
  const std::string& StartCharSet() const { return StartCharSet_; }

 private:
  int Language_ = 0;
  TSuggestionTypes SuggestionTypes_ = kAllTypes;
  bool UseDefaultTypes_ = true;
  std::string StartCharSet_;
};

// What suggestions need from the spell checker's dictionaries.
class TSuggestionSources {
 public:
  virtual ~TSuggestionSources() = default;

  // The mapping dictionary's mandatory replacement for word.
  virtual bool FindMapping(std::string_view word, std::string& replacement) = 0;

  virtual bool WordInMainDictionaries(std::string_view word) = 0;
  virtual bool WordInDictionaries(std::string_view word) = 0;
  // Some open main dictionary is English, which enables the possessive rule.
  virtual bool HasEnglishMain() = 0;
  // word is a name plus "'s" and the name is in an English main dictionary.
  virtual bool IsPossessiveOfKnownWord(std::string_view word) = 0;

  virtual bool HasMainDictionary() = 0;
  // Language identifier of the primary (first) main dictionary.
  virtual int PrimaryLanguage() = 0;
  // Adds the primary main dictionary's words that sound like word under map.
  virtual void EnumeratePhonetic(std::string_view word, const TPhoneticsMap& map,
                                 std::vector<std::string>& list) = 0;

  virtual bool HasLearningDictionary() = 0;
  // The replacement the user chose for word before.
  virtual bool FindLearntReplacement(std::string_view word, std::string& replacement) = 0;
  // A word the user chose as a replacement before.
  virtual bool IsLearntWord(std::string_view word) = 0;
  // Remembers that the user replaced old_word by new_word.
  virtual void LearnReplacement(std::string_view old_word, std::string_view new_word) = 0;
};

// A further source of suggestions beside the dictionaries' single edits and
// sound-alikes, such as a language's own model of its writers' slips.
class TSuggestionExtension {
 public:
  virtual ~TSuggestionExtension() = default;
  // ranked holds the dictionaries' suggestions for word, best first; adds
  // this source's candidates and leaves the merged list best first.
  virtual void Extend(std::string_view word, TSuggestionSources& sources, std::vector<std::string>& ranked) = 0;
};

// The spell checker's settings that shape the suggestions.
struct TSuggestionSettings {
  TSpellOptions Options;  // soPrimaryOnly: candidates must be in a main dictionary
  bool PhoneticSuggestions = true;
  bool FallbackToDefaultMap = true;  // English map found too little: try the default rules
  // Called after the map has loaded another language's rules.
  std::function<void(TPhoneticsMap&)> OnAdjustPhoneticsMap;
};

// Whether a candidate counts as a word for suggestions: as written, then in
// lower case, then as the possessive of a known word.
bool WordExistsForSuggestions(std::string_view candidate, TSuggestionSources& sources,
                              TSpellOptions options);

// Edits between a word and a candidate: Levenshtein distance, with neighbours
// swapped at the same place in both counting as one edit.
int SuggestionDistance(std::string_view word, std::string_view candidate);

// Fills target with the ranked suggestions for word, at most max of them
// (negative: no limit).
void BuildSuggestions(std::string_view word, int max, std::vector<std::string>& target,
                      TSuggestionSources& sources, const TSuggestionsGenerator& generator,
                      TPhoneticsMap& map, const TSuggestionSettings& settings);

// Gives each suggestion the shape of the word it replaces: all capitals
// after a word of two or more letters in capitals, a first capital after a
// capitalised word (a suggestion in capitals made by case alone follows it
// too); after a word in small letters the dictionaries' case stands. Drops
// what then repeats an earlier suggestion.
void ShapeSuggestionsLike(std::string_view word, std::vector<std::string>& list);

}  // namespace tovuri
