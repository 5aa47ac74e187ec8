#pragma once
// The suggestion sources over real dictionaries, for the checker component
// and the command-line tools.
#include <string>
#include <string_view>
#include <vector>

#include "spell/ox3Suggestions.h"

namespace tovuri {

class TCustomDictionary;
class TMainDictionary;

// Looks words up in borrowed dictionaries, in the checker's order.
class TDictionarySuggestionSources : public TSuggestionSources {
 public:
  // In lookup order; the first is the primary dictionary.
  std::vector<TMainDictionary*> MainDictionaries;
  // Every dictionary of added words after the main ones, in lookup order.
  std::vector<TCustomDictionary*> CustomDictionaries;
  TCustomDictionary* MappingDictionary = nullptr;
  TCustomDictionary* LearningDictionary = nullptr;

  bool FindMapping(std::string_view word, std::string& replacement) override;
  // The main dictionary that holds the word counts a hit.
  bool WordInMainDictionaries(std::string_view word) override;
  bool WordInDictionaries(std::string_view word) override;
  bool HasEnglishMain() override;
  bool IsPossessiveOfKnownWord(std::string_view word) override;
  bool HasMainDictionary() override;
  int PrimaryLanguage() override;
  void EnumeratePhonetic(std::string_view word, const TPhoneticsMap& map,
                         std::vector<std::string>& list) override;
  bool HasLearningDictionary() override;
  bool FindLearntReplacement(std::string_view word, std::string& replacement) override;
  bool IsLearntWord(std::string_view word) override;
  // Stores the pair and the new word in the learning dictionary, if any.
  void LearnReplacement(std::string_view old_word, std::string_view new_word) override;
};

}  // namespace tovuri
