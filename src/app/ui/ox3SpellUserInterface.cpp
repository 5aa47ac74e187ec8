#include "app/ui/ox3SpellUserInterface.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <map>

#include "app/ui/ox3ConfigurationDialog.h"
#include "app/ui/ox3CustomDictionariesDialog.h"
#include "app/ui/ox3CustomDictionaryEditDialog.h"
#include "app/ui/ox3DialogPlacement.h"
#include "app/ui/ox3QtText.h"
#include "app/ui/ox3SpellDialog.h"

namespace tovuri {

namespace {

constexpr TSpellLanguageString kStrChooseFolder = 40;

void AddMenuItems(QMenu& menu, const std::vector<TPopupMenuItem>& items,
                  std::map<QAction*, const TPopupMenuItem*>& chosen) {
  for (const TPopupMenuItem& item : items) {
    if (!item.Items.empty()) {
      QMenu* sub = menu.addMenu(FromAnsi(item.Caption));
      sub->setEnabled(item.Enabled);
      AddMenuItems(*sub, item.Items, chosen);
    } else if (item.Caption.empty()) {
      menu.addSeparator();
    } else {
      QAction* action = menu.addAction(FromAnsi(item.Caption));
      action->setEnabled(item.Enabled);
      chosen[action] = &item;
    }
  }
}

QRect WorkArea(const QWidget* near) {
  QScreen* screen = near != nullptr && near->screen() != nullptr ? near->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

TQtSpellUserInterface::TQtSpellUserInterface(TOrthexSpell3& spell, QWidget* owner) : spell_(spell), owner_(owner) {
  spell_.SetUserInterface(this);
  TOrthexSpell3::TStandardDialogs& dialogs = spell_.StandardDialogs;
  dialogs.CreateSpellDialog = [this](TOrthexSpell3&) { return CreateSpellDialog(); };
  dialogs.ConfigDialog = [this](TOrthexSpell3&) {
    TConfigurationDialog dialog(DialogOwner());
    Bind(dialog.Control());
    dialog.exec();
  };
  dialogs.CustomDictionariesDialog = [this](TOrthexSpell3&) {
    TCustomDictionariesDialog dialog(DialogOwner());
    Bind(dialog.Control());
    dialog.exec();
  };
  dialogs.EditCustomDictionaryDialog = [this](TOrthexSpell3&, TCustomDictionary* dictionary) {
    TCustomDictionaryEditDialog dialog(DialogOwner(), dictionary);
    Bind(dialog.Control());
    dialog.exec();
  };
  dialogs.AddDictionaryDir = [this](TOrthexSpell3&) {
    const QString folder =
        QFileDialog::getExistingDirectory(DialogOwner(), FromAnsi(spell_.GetUIString(kStrChooseFolder)));
    if (folder.isEmpty()) return;
    TConfigList& folders = spell_.Configuration().FolderList();
    const std::string name = folder.toStdString();
    if (!folders.Contains(name)) folders.Add(name);
  };
}

void TQtSpellUserInterface::Bind(TConfigurationDialogCtrl& control) {
  control.OnHelp = [this](int context) {
    if (OnHelp) OnHelp(context);
  };
  control.SetSpell(&spell_);
}

QWidget* TQtSpellUserInterface::DialogOwner() const {
  // A dialog opened from another dialog stays above it.
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (dialog_ && dialog_->isVisible()) return dialog_;
  return owner_;
}

TQtSpellUserInterface::~TQtSpellUserInterface() {
  if (spell_.UserInterface() == this) spell_.SetUserInterface(nullptr);
  spell_.StandardDialogs = {};
  delete dialog_.data();
}

TSpellDialog* TQtSpellUserInterface::SpellDialog() const { return dialog_.data(); }

bool TQtSpellUserInterface::CreateSpellDialog() {
  if (!dialog_) {
    dialog_ = new TSpellDialog(owner_);
    Bind(dialog_->Control());
  }
  return true;
}

void TQtSpellUserInterface::ShowSpellDialog(bool modal) {
  if (!dialog_) return;
  if (!modal) {
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
    return;
  }
  modal_ = true;
  // The component goes on once the dialog is up.
  QTimer::singleShot(0, dialog_, [this] { spell_.DialogShowHook(); });
  dialog_->exec();
  modal_ = false;
}

void TQtSpellUserInterface::HideSpellDialog() {
  if (!dialog_) return;
  if (modal_)
    dialog_->done(QDialog::Accepted);
  else
    dialog_->hide();
}

void TQtSpellUserInterface::PromptSpellDialog(const std::string& word, bool repeated) {
  if (dialog_) dialog_->Prompt(word, repeated);
}

void TQtSpellUserInterface::PlaceSpellDialog(const TDialogPlace& place) {
  if (!dialog_) return;
  dialog_->adjustSize();
  const QRect work = WorkArea(owner_);
  const QRect frame = dialog_->frameGeometry();
  QPoint to = frame.topLeft();
  switch (place.how) {
    case TDialogPlacement::dpScreenCenter: {
      QRect centred(QPoint(), frame.size());
      centred.moveCenter(work.center());
      to = centred.topLeft();
      break;
    }
    case TDialogPlacement::dpOffWord:
      to = MoveOffWord(frame, ToQRect(place.word), work, TSpellDialogAvoidPos::saMove);
      break;
    case TDialogPlacement::dpNearControl:
      to = PlaceNearControl(frame, ToQRect(place.control), ToQRect(place.word), work, place.centre_on_control);
      break;
    case TDialogPlacement::dpAt:
      to = QPoint(place.x, place.y);
      break;
    case TDialogPlacement::dpSystem:
      return;
  }
  // A window system that places windows itself (Wayland) may refuse this.
  dialog_->move(to);
}

void TQtSpellUserInterface::AvoidSelection(TSpellDialogAvoidPos avoid, const TScreenRect& word) {
  if (!dialog_) return;
  const QRect frame = dialog_->frameGeometry();
  const QPoint to = MoveOffWord(frame, ToQRect(word), WorkArea(dialog_), avoid);
  if (to != frame.topLeft()) dialog_->move(to);
}

bool TQtSpellUserInterface::SpellDialogPosition(int& x, int& y) {
  if (!dialog_) return false;
  x = dialog_->x();
  y = dialog_->y();
  return true;
}

bool TQtSpellUserInterface::AskYesNo(const std::string& caption, const std::string& text) {
  QMessageBox box(QMessageBox::Information, FromAnsi(caption), FromAnsi(text), QMessageBox::Yes | QMessageBox::No,
                  dialog_ && dialog_->isVisible() ? static_cast<QWidget*>(dialog_) : owner_.data());
  return box.exec() == QMessageBox::Yes;
}

void TQtSpellUserInterface::ShowInformation(const std::string& caption, const std::string& text) {
  QMessageBox box(QMessageBox::Information, FromAnsi(caption), FromAnsi(text), QMessageBox::Ok, owner_);
  box.exec();
}

void TQtSpellUserInterface::SetBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void TQtSpellUserInterface::RestoreCursor() { QApplication::restoreOverrideCursor(); }

bool TQtSpellUserInterface::ProcessPendingEvents() {
  // Only the dialog can end a waiting check: without it, nothing will come.
  if (!dialog_ || !dialog_->isVisible()) return false;
  QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return true;
}

const TPopupMenuItem* TQtSpellUserInterface::ShowPopupMenu(const std::vector<TPopupMenuItem>& items,
                                                           TScreenPoint at) {
  QMenu menu(owner_);
  std::map<QAction*, const TPopupMenuItem*> chosen;
  AddMenuItems(menu, items, chosen);
  QAction* action = menu.exec(QPoint(at.x, at.y));
  const auto it = chosen.find(action);
  return it != chosen.end() ? it->second : nullptr;
}

}  // namespace tovuri
