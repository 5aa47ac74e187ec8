#include "checker/ndebele_checker.h"

#include "analyser/word_check.h"
#include "checker/ndebele_spell_config.h"

namespace tovuri {

bool TNdebeleChecker::IgnoringUserInterface::ProcessPendingEvents() {
  spell_.CmdIgnore();
  return true;
}

TNdebeleChecker::TNdebeleChecker(const std::string& app_dir, TLearning learning, Analyse analyse)
    : ui_(spell_), learning_(learning), analyse_(std::move(analyse)) {
  if (!analyse_) analyse_ = [](std::string_view word) { return IsNdebeleWord(word); };
  ConfigureNdebeleSpell(spell_, app_dir);
  spell_.UIType = TSpellUI::suiSilent;
  spell_.SynchronousCheck = true;
  // Every text is checked with the same open dictionaries; Close releases them.
  spell_.SetKeepDictionariesActive(true);
  spell_.SetUserInterface(&ui_);
  spell_.OnWordCheck = [this](TOrthexSpell3Base& sender, const std::string& word, TWordCheckType& type,
                              std::string&) { CheckWithAnalyser(sender, word, type); };
  spell_.OnPromptWord = [this](TOrthexSpell3Base& sender, const std::string& word, bool) {
    if (on_prompt_) on_prompt_(word, sender.CurrentParser()->GetPosition());
  };
}

TNdebeleChecker::~TNdebeleChecker() { spell_.SetUserInterface(nullptr); }

void TNdebeleChecker::Check(std::string& text, std::function<void(const std::string&, TTextPos)> prompt) {
  on_prompt_ = std::move(prompt);
  spell_.CheckString(text);
  on_prompt_ = nullptr;
}

bool TNdebeleChecker::IsAccepted(std::string_view word) {
  std::string text(word);
  bool prompted = false;
  Check(text, [&](const std::string&, TTextPos) { prompted = true; });
  // A replacement (an auto-correct pair) means the word as written is not right.
  return !prompted && text == word;
}

void TNdebeleChecker::Close() { spell_.SetKeepDictionariesActive(false); }

// The program's handler: a word the dictionaries lack but the analyser
// accepts is learnt (without the desktop program's reopening of the
// dictionaries, which only serves its live editor). Verdicts are remembered
// for the checker's life, so each distinct word is analysed once.
void TNdebeleChecker::CheckWithAnalyser(TOrthexSpell3Base& sender, const std::string& word,
                                        TWordCheckType& type) {
  // Checking never edits the text: a word the user's auto-correct pairs
  // would replace is reported where it stands.
  if (type == TWordCheckType::wctAutoCorrect) type = TWordCheckType::wctExcluded;
  if (type != TWordCheckType::wctMisspelled) return;
  auto found = verdicts_.find(word);
  if (found == verdicts_.end()) found = verdicts_.emplace(word, analyse_(word)).first;
  if (!found->second) return;
  if (learning_ == TLearning::lnLearn && sender.ActiveCustomDictionary() != nullptr)
    sender.ActiveCustomDictionary()->AddWord(word);
  type = TWordCheckType::wctAccepted;
}

}  // namespace tovuri
