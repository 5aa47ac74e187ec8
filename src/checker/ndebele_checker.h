#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

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

  TNdebeleChecker(const std::string& app_dir, TLearning learning, Analyse analyse = {});
  ~TNdebeleChecker();
  TNdebeleChecker(const TNdebeleChecker&) = delete;
  TNdebeleChecker& operator=(const TNdebeleChecker&) = delete;

  // Checks text (Windows-1252) without changing it; calls prompt with each
  // word that is not accepted and its position (x is the index in text).
  void Check(std::string& text, std::function<void(const std::string&, TTextPos)> prompt);

  // The full verdict on one Windows-1252 word: accepted as written (a word
  // the user's auto-correct pairs would replace is not).
  bool IsAccepted(std::string_view word);

  // Releases the dictionaries, which writes the learnt words.
  void Close();

  TOrthexSpell3Base& Spell() { return spell_; }

 private:
  // Answers each prompt with Ignore, so a check walks the whole text once.
  class IgnoringUserInterface final : public TSpellUserInterface {
   public:
    explicit IgnoringUserInterface(TOrthexSpell3Base& spell) : spell_(spell) {}
    void ShowSpellDialog(bool) override {}
    void HideSpellDialog() override {}
    void PromptSpellDialog(const std::string&, bool) override {}
    void PlaceSpellDialog(const TDialogPlace&) override {}
    void AvoidSelection(TSpellDialogAvoidPos, const TScreenRect&) override {}
    bool SpellDialogPosition(int&, int&) override { return false; }
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
    void ShowInformation(const std::string&, const std::string&) override {}
    void SetBusyCursor() override {}
    void RestoreCursor() override {}
    bool ProcessPendingEvents() override;

   private:
    TOrthexSpell3Base& spell_;
  };

  void CheckWithAnalyser(TOrthexSpell3Base& sender, const std::string& word, TWordCheckType& type);

  TOrthexSpell3Base spell_;
  IgnoringUserInterface ui_;
  TLearning learning_;
  Analyse analyse_;
  std::unordered_map<std::string, bool> verdicts_;
  std::function<void(const std::string&, TTextPos)> on_prompt_;
};

}  // namespace tovuri
