#pragma once
// The checker component's user interface on the desktop: the spelling
// dialog, message boxes, the busy cursor, the event pump of a waiting check,
// the correction menu, and the standard dialogs the component opens.
#include <QPointer>
#include <QWidget>
#include <functional>

#include "spell/ox3ConfigurationDialogCtrl.h"
#include "spell/ox3Spell.h"
#include "spell/ox3SpellUI.h"

namespace tovuri {

class TSpellDialog;

class TQtSpellUserInterface : public TSpellUserInterface {
 public:
  // Serves spell (which must outlive it) with dialogs owned by owner.
  TQtSpellUserInterface(TOrthexSpell3& spell, QWidget* owner);
  ~TQtSpellUserInterface() override;
  TQtSpellUserInterface(const TQtSpellUserInterface&) = delete;
  TQtSpellUserInterface& operator=(const TQtSpellUserInterface&) = delete;

  // Shows the help topic of a dialog's help context; set by the program.
  std::function<void(int context)> OnHelp;

  // The spelling dialog while it exists.
  TSpellDialog* SpellDialog() const;

  void ShowSpellDialog(bool modal) override;
  void HideSpellDialog() override;
  void PromptSpellDialog(const std::string& word, bool repeated) override;
  void PlaceSpellDialog(const TDialogPlace& place) override;
  void AvoidSelection(TSpellDialogAvoidPos avoid, const TScreenRect& word) override;
  bool SpellDialogPosition(int& x, int& y) override;
  bool AskYesNo(const std::string& caption, const std::string& text) override;
  void ShowInformation(const std::string& caption, const std::string& text) override;
  void SetBusyCursor() override;
  void RestoreCursor() override;
  bool ProcessPendingEvents() override;
  const TPopupMenuItem* ShowPopupMenu(const std::vector<TPopupMenuItem>& items, TScreenPoint at) override;

 private:
  bool CreateSpellDialog();
  QWidget* DialogOwner() const;
  // Connects a dialog to the component, with help going to OnHelp.
  void Bind(TConfigurationDialogCtrl& control);

  TOrthexSpell3& spell_;
  QPointer<QWidget> owner_;
  QPointer<TSpellDialog> dialog_;
  bool modal_ = false;
};

}  // namespace tovuri
