#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "spell/ox3IgnoringUserInterface.h"
#include "spell/ox3SpellBase.h"
#include "spell/ox3SpellUI.h"

namespace tovuri {

// Whether words that only the analyser accepts are added to the user's
// active custom dictionary.
enum class TLearning : unsigned char { lnLearn, lnDoNotLearn };

// The whole verdict outside the desktop program: the framework's component,
// configured for Ndebele, with the analyser answering for every word the
// dictionaries lack. A word only the analyser accepts is learnt into the
// active custom dictionary (unless told not to), so it is analysed once.
// The lexicon must be loaded (BuildLexicon) before the first check.
class TNdebeleChecker {
 public:
  // The analyser's verdict on one Windows-1252 word; IsNdebeleWord by default.
  using Analyse = std::function<bool(std::string_view)>;
  // Shows the user a problem with the files (a failed save, a dictionary
  // that cannot be used, no place to learn words), each once; the tools
  // print it on standard error.
  using Report = std::function<void(const std::string& message)>;

  TNdebeleChecker(const std::string& app_dir, TLearning learning, Analyse analyse = {},
                  Report report = {});
  ~TNdebeleChecker();
  TNdebeleChecker(const TNdebeleChecker&) = delete;
  TNdebeleChecker& operator=(const TNdebeleChecker&) = delete;

  // Checks text (Windows-1252) without changing it; calls prompt with each
  // word that is not accepted and its position (x is the index in text).
  void Check(std::string& text, std::function<void(const std::string&, TTextPos)> prompt);

  // Checks text (Windows-1252) without changing it; calls each with every
  // word in order, its index in text and whether it is accepted.
  void CheckWords(std::string& text, std::function<void(const std::string&, size_t, bool)> each);

  // The full verdict on one Windows-1252 word: accepted as written (a word
  // the user's auto-correct pairs would replace is not). Text that is empty,
  // holds no word or more than one is not accepted; words joined by hyphens
  // (kodwa-ke) are one word, accepted when every part is.
  bool IsAccepted(std::string_view word);

  // Replacements for a Windows-1252 word, best first.
  std::vector<std::string> Suggestions(std::string_view word);

  // Accepts a word until the checker closes; no file changes.
  void AcceptForSession(std::string_view word);
  // Adds a word to the user's active custom dictionary (lifting its
  // exclusion) and writes the dictionary.
  bool AddToPersonal(std::string_view word);
  // Makes the active custom dictionary always report a word (dropping it as
  // an added word) and writes the dictionary.
  bool Exclude(std::string_view word);
  // Learns that the user replaced misspelt with replacement, so it comes
  // first next time; writes the learning file.
  void StoreReplacement(std::string_view misspelt, std::string_view replacement);
  // Writes the user's changed dictionaries (learnt words included) now.
  void Save();

  // Releases the dictionaries, which writes the learnt words; false when a
  // word that was to be learnt could not be written.
  bool Close();
  // Whether some learnt word has not been written (so far).
  bool LearningFailed() const { return learning_failed_; }

  TOrthexSpell3Base& Spell() { return spell_; }

 private:
  void CheckWithAnalyser(TOrthexSpell3Base& sender, const std::string& word, TWordCheckType& type);
  void Learn(TOrthexSpell3Base& sender, const std::string& word);
  void Tell(const std::string& message);
  // The analyser's verdict, remembered; an accepted word is learnt.
  bool Analysed(TOrthexSpell3Base& sender, const std::string& word);

  TOrthexSpell3Base spell_;
  TIgnoringUserInterface ui_;
  TLearning learning_;
  Analyse analyse_;
  Report report_;
  std::unordered_map<std::string, bool> verdicts_;
  std::function<void(const std::string&, TTextPos)> on_prompt_;
  int words_seen_ = 0;  // words the current check has judged
  bool learning_failed_ = false;
  bool told_no_home_ = false;
  std::string last_message_;
  std::function<void(const std::string&, size_t, bool)> on_word_;
};

}  // namespace tovuri
