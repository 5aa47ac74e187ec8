// The tokenizer and its ignore rules on arbitrary text, through the checker
// component with every rule switched on.
#include "fuzz_support.h"
#include "spell/ox3SpellBase.h"
#include "spell/ox3SpellUI.h"

using namespace tovuri;

namespace {

// Answers every prompt with Ignore, so that a check walks the whole text.
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
  bool ProcessPendingEvents() override {
    spell_.CmdIgnore();
    return true;
  }

 private:
  TOrthexSpell3Base& spell_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TOrthexSpell3Base* spell = [] {
    setenv("XDG_CONFIG_HOME", fuzz::ScratchDir().c_str(), 1);
    setenv("XDG_DATA_HOME", fuzz::ScratchDir().c_str(), 1);
    auto* component = new TOrthexSpell3Base;
    using enum TSpellOption;
    component->SetConfigStorage(TConfigStorage::csNone);
    component->SetConfigDictionaryDir({fuzz::ScratchDir()});
    component->SetConfigDefaultOptions({soUpcase, soNumbers, soHTML, soInternet, soQuoted, soAbbreviations,
                                        soRepeated});
    component->SetSuggestionsLearning(false);
    component->SetUserInterface(new IgnoringUserInterface(*component));
    return component;
  }();
  const std::string text(fuzz::AsText(data, size));
  spell->CountStringWords(text);
  std::string checked = text;
  spell->CheckString(checked);
  if (checked != text) abort();  // nothing to answer with, so nothing may change
  return 0;
}
