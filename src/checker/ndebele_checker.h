#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "checker/lru_memo.h"
#include "spell/ox3MainDictionary.h"
#include "spell/ox3IgnoringUserInterface.h"
#include "spell/ox3SpellBase.h"
#include "spell/ox3SpellUI.h"
#include "analyser/word_check.h"
#include "common/notice.h"

namespace tovuri {

// What becomes of a word that only the analyser accepts.
enum class TLearning : unsigned char {
  // Added to the user's active custom dictionary, so it is analysed once
  // (the command line's -l and --words).
  lnLearn,
  // Added, and the dictionaries reopened so that a live editor checks its
  // lines again (the desktop program and its word query service).
  lnLearnAndReopen,
  // Remembered for this run only, in a bounded memory (the editors' pipe,
  // Enchant, the C API, --no-learn): nothing the user did not choose is
  // written into the user's files.
  lnDoNotLearn,
};

// How a word the dictionaries lack was judged.
enum class TJudgement : unsigned char {
  jdRejected,   // not a word: excluded by the user, or unknown to the analyser too
  jdKnown,      // the dictionaries know the word before a closing quote
  jdAnalysed,   // the analyser accepts it (the word or the one before a closing quote)
};

struct TUnknownWordVerdict {
  TJudgement judgement = TJudgement::jdRejected;
  std::string word;  // the word judged: without a closing quote that closes a quotation
};

// The one place that decides a word, makes its suggestions and learns, for
// every front end: the framework's component configured for Ndebele, with
// the analyser answering for every word the dictionaries lack. The lexicon
// must be loaded (BuildLexicon) before the first check. All text is the
// framework's (Windows-1252, a byte a character; see ox3Encoding.h): a word
// holding a character the code page lacks is never accepted.
class TNdebeleChecker {
 public:

  // Analyser verdicts remembered, accepted and rejected words alike.
  static constexpr size_t kRememberedVerdicts = 50000;
  // Suggestion lists remembered (an editor asks about one typo many times).
  static constexpr size_t kRememberedSuggestions = 2000;

  // Owns a component configured for the Ndebele dictionaries of app_dir.
  TNdebeleChecker(const std::string& app_dir, TLearning learning, TWordAnalyser analyse = {}, TNotice report = {});
  // Decides for a component the caller owns and configured (the desktop
  // program's, with its dialogs and live editor); the caller routes the
  // component's word check event to WordCheck.
  TNdebeleChecker(TOrthexSpell3Base& spell, TLearning learning, TWordAnalyser analyse = {}, TNotice report = {});
  ~TNdebeleChecker();
  TNdebeleChecker(const TNdebeleChecker&) = delete;
  TNdebeleChecker& operator=(const TNdebeleChecker&) = delete;

  // Checks text without changing it; calls prompt with each word that is not
  // accepted and its position (x is the index in text).
  void Check(std::string& text, std::function<void(const std::string&, TTextPos)> prompt);

  // Checks text without changing it; calls each with every word in order,
  // its index in text and whether it is accepted.
  void CheckWords(std::string& text, std::function<void(const std::string&, size_t, bool)> each);

  // The full verdict on one word: accepted as written (a word the user's
  // auto-correct pairs would replace is not). Text that is empty, holds no
  // word or more than one is not accepted; words joined by hyphens
  // (kodwa-ke) are one word, accepted when every part is.
  bool IsAccepted(std::string_view word);

  // The verdict on one word as a word query asks it: answer receives the
  // verdict before a word only the analyser accepts is learnt.
  bool Query(std::string_view word, const std::function<void(bool)>& answer);

  // The component's word check handler: a misspelt word is judged
  // (JudgeUnknownWord) and, when accepted, learnt; a word the user's
  // auto-correct pairs would replace is reported where it stands.
  TUnknownWordVerdict WordCheck(const std::string& word, TWordCheckType& type);

  // The judgement of a word the dictionaries lack, without learning: a word
  // the user excluded stays rejected; else the analyser decides (a prefix
  // joined to a known name counts); a closing curly quote kept with a word
  // that is no elision closes a quotation, and the word before it is judged.
  TUnknownWordVerdict JudgeUnknownWord(std::string_view word);

  // Replacements for a word, best first, in the word's case; words the user
  // excluded are never offered. Remembered until the user's words change.
  std::vector<std::string> Suggestions(std::string_view word);

  // Accepts a word until the checker closes; no file changes.
  void AcceptForSession(std::string_view word);
  // Adds a word to the user's active custom dictionary (lifting its
  // exclusion) and writes the dictionary; false when it cannot be kept.
  bool AddToPersonal(std::string_view word);
  // Makes the active custom dictionary always report a word (dropping it as
  // an added word) and writes the dictionary.
  bool Exclude(std::string_view word);
  // Learns that the user replaced misspelt with replacement, so it comes
  // first next time; writes the learning file.
  void StoreReplacement(std::string_view misspelt, std::string_view replacement);
  // Learns a word the analyser accepted as the learning policy says.
  void Learn(const std::string& word);
  // Writes the user's changed dictionaries (learnt words included) now;
  // false when one could not be written (said through Report).
  bool Save();

  // Releases the dictionaries, which writes the learnt words; false when a
  // word that was to be learnt could not be written.
  bool Close();
  // Whether some learnt word has not been written (so far).
  bool LearningFailed() const { return learning_failed_; }
  // Analyser verdicts held in memory now.
  size_t RememberedVerdicts() const { return verdicts_.Size(); }

  TOrthexSpell3Base& Spell() { return spell_; }

  // English inside Ndebele prose (names of institutions, places, events): a
  // word of the English dictionary beside the Ndebele one is accepted when it
  // is capitalised, alone (South, Studio) or joined to a lower-case Ndebele
  // prefix (kweleSouth, leMDC). An English word in lower case is not: there it
  // is more often a slip of a Ndebele word.
  static constexpr const char* kEnglishDictionaryFile = "English.oxm";
  // The user's setting: the program's first option of the options dialog,
  // kept with the other spelling options.
  static constexpr TSpellOption kEnglishWordsOption = TSpellOption::soUser1;
  // Whether English words are accepted: the user's setting, unless this
  // checker was told otherwise (a command-line option).
  bool EnglishWords();
  void SetEnglishWords(bool on);

 private:
  void Configure();
  void Tell(const std::string& message);
  // The analyser's verdict, a prefix joined to a known name counting.
  bool Analysed(const std::string& word);
  // The analyser's own verdict, remembered: it depends on the lexicon alone.
  bool AnalyserAccepts(std::string_view word);
  // A capitalised word, or a prefix joined to one, that the English dictionary holds.
  bool EnglishAccepts(std::string_view word);
  bool InEnglish(std::string_view name);

  std::unique_ptr<TOrthexSpell3Base> owned_;
  TOrthexSpell3Base& spell_;
  std::unique_ptr<TIgnoringUserInterface> ui_;
  TLearning learning_;
  TWordAnalyser analyse_;
  TNotice report_;  // problems with the files, each said once
  TLruMemo<bool> verdicts_{kRememberedVerdicts};
  // Forgotten whenever the user's words change, which changes the lists.
  TLruMemo<std::vector<std::string>> suggestions_{kRememberedSuggestions};
  std::function<void(const std::string&, TTextPos)> on_prompt_;
  int words_seen_ = 0;  // words the current check has judged
  bool learning_failed_ = false;
  bool save_failed_ = false;
  bool told_no_home_ = false;
  std::string last_message_;
  std::function<void(const std::string&, size_t, bool)> on_word_;
  std::unique_ptr<TMainDictionary> english_;  // opened at the first capitalised word
  bool english_tried_ = false;
  int english_words_ = -1;  // -1: as the user's setting says; else 0 or 1
};

}  // namespace tovuri
