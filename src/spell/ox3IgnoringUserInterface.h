#pragma once
// A user interface for checks that run without a person: every prompt is
// answered with Ignore, so a check walks the whole text once and changes
// nothing.
#include "spell/ox3SpellBase.h"
#include "spell/ox3SpellUI.h"

namespace tovuri {

class TIgnoringUserInterface final : public TSpellUserInterface {
 public:
  explicit TIgnoringUserInterface(TOrthexSpell3Base& spell) : spell_(spell) {}
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

}  // namespace tovuri
