#include "app/ui/ox3CustomDictionariesDialog.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/ox3NewCustomDictionaryDialog.h"
#include "app/ui/ox3QtText.h"

namespace tovuri {

namespace {

using enum TSpellDialogCommand;

enum : TSpellLanguageString {
  kStrConfirmation = 10,
  kStrDeleteQuestion = 11,
  kStrInternalName = 12,
  kStrTitle = 15,
  kStrHelp = 30,
  kStrGroup = 41,
  kStrEdit = 42,
  kStrDelete = 43,
  kStrNew = 44,
  kStrOK = 45,
};

bool Contains(const std::vector<std::string>& list, const std::string& name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace

TCustomDictionariesDialog::TCustomDictionariesDialog(QWidget* owner) : QDialog(owner) {
  setObjectName("CustomDictionariesDialog");
  group_ = new QGroupBox(this);
  list_ = new QListWidget(group_);
  list_->setMinimumSize(260, 160);
  new_ = new QPushButton(group_);
  delete_ = new QPushButton(group_);
  edit_ = new QPushButton(group_);
  rename_ = new QPushButton("&Rename", group_);
  rename_->setObjectName("RenameButton");
  ok_ = new QPushButton(this);
  help_ = new QPushButton(this);
  for (QPushButton* b : {new_, delete_, edit_, rename_, help_}) b->setAutoDefault(false);
  ok_->setDefault(true);

  auto* side = new QVBoxLayout;
  for (QPushButton* b : {new_, delete_, edit_, rename_}) side->addWidget(b);
  side->addStretch();
  auto* inner = new QHBoxLayout(group_);
  inner->addWidget(list_, 1);
  inner->addLayout(side);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(ok_);
  bottom->addWidget(help_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group_);
  layout->addLayout(bottom);

  connect(new_, &QPushButton::clicked, this, &TCustomDictionariesDialog::AskNew);
  connect(delete_, &QPushButton::clicked, this, &TCustomDictionariesDialog::Delete);
  connect(edit_, &QPushButton::clicked, this, &TCustomDictionariesDialog::Edit);
  // The name is edited in place, as F2 does.
  connect(rename_, &QPushButton::clicked, this, [this] {
    if (QListWidgetItem* item = list_->currentItem(); item != nullptr && (item->flags() & Qt::ItemIsEditable))
      list_->editItem(item);
  });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(help_, &QPushButton::clicked, this, [this] { control_.ShowHelp(control_.HelpCtxDictionariesDialog()); });
  connect(list_, &QListWidget::currentRowChanged, this, &TCustomDictionariesDialog::RowChanged);
  connect(list_, &QListWidget::itemChanged, this, &TCustomDictionariesDialog::ItemChanged);
  control_.OnConfigurationAvailable = [this](TConfigurationDialogCtrl&) {
    FillCaptions();
    Rebuild();
  };
}

void TCustomDictionariesDialog::FillCaptions() {
  const auto text = [this](TSpellLanguageString index) { return FromAnsi(control_.GetUIString(index)); };
  setWindowTitle(text(kStrTitle));
  group_->setTitle(text(kStrGroup));
  new_->setText(text(kStrNew));
  delete_->setText(text(kStrDelete));
  edit_->setText(text(kStrEdit));
  ok_->setText(text(kStrOK));
  help_->setText(text(kStrHelp));
  help_->setVisible(control_.Visible(sdcHelp) && control_.HelpCtxDictionariesDialog() != 0);
  ok_->setVisible(control_.Visible(sdcConfigOK));
}

void TCustomDictionariesDialog::Rebuild() {
  entries_.clear();
  TCustomDictionary* internal = control_.InternalDictionary();
  if (control_.Visible(sdcInternalEdit) && internal != nullptr &&
      internal->AddedWordCount() + internal->AutoCorrectPairCount() > 0)
    entries_.push_back({true, true, false, control_.GetUIString(kStrInternalName), {}});
  const std::vector<std::string> enabled = control_.CustomDictionaryFiles();
  std::vector<std::string> files = control_.AvailableCustomDictionaries();
  for (const std::string& name : enabled)
    if (!Contains(files, name)) files.push_back(name);
  for (const std::string& file : files) entries_.push_back({Contains(enabled, file), false, false, file, file});
  const std::vector<std::string> msword_enabled = control_.MSWordDictionaryFiles();
  for (const std::string& file : control_.MSWordCustomDictionaryFiles())
    entries_.push_back({Contains(msword_enabled, file), false, true, file, file});

  rebuilding_ = true;
  list_->clear();
  for (const TListEntry& entry : entries_) {
    auto* item = new QListWidgetItem(FromAnsi(entry.Name), list_);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    if (!entry.IsInternal && !entry.IsMSWord && entry.Name == entry.FileName) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setCheckState(entry.Checked ? Qt::Checked : Qt::Unchecked);
  }
  rebuilding_ = false;
  RowChanged();
}

void TCustomDictionariesDialog::SelectFile(const std::string& file) {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (!entries_[i].IsInternal && entries_[i].FileName == file) list_->setCurrentRow(static_cast<int>(i));
}

void TCustomDictionariesDialog::RowChanged() {
  const int row = list_->currentRow();
  const bool selected = row >= 0 && static_cast<size_t>(row) < entries_.size();
  const TListEntry* entry = selected ? &entries_[static_cast<size_t>(row)] : nullptr;
  edit_->setEnabled(selected && control_.Enabled(sdcCustomDictionaries));
  delete_->setEnabled(entry != nullptr && !entry->IsInternal && !entry->IsMSWord);
  rename_->setEnabled(entry != nullptr && !entry->IsInternal && !entry->IsMSWord && entry->Name == entry->FileName);
  new_->setEnabled(true);
}

void TCustomDictionariesDialog::ItemChanged(QListWidgetItem* item) {
  if (rebuilding_) return;
  const int row = list_->row(item);
  if (row < 0 || static_cast<size_t>(row) >= entries_.size()) return;
  TListEntry& entry = entries_[static_cast<size_t>(row)];
  const bool checked = item->checkState() == Qt::Checked;
  if (entry.IsInternal) {
    // The internal dictionary is always in use.
    if (!checked) {
      const QSignalBlocker block(list_);
      item->setCheckState(Qt::Checked);
    }
    return;
  }
  const std::string shown = ToAnsi(item->text());
  if (shown != entry.Name) {
    // Renamed in place: the file follows, or the old name comes back.
    if (control_.RenameCustomDictionary(entry.FileName, shown)) {
      const std::string file = QFileInfo(FromAnsi(shown)).suffix().isEmpty() ? shown + ".oxu" : shown;
      entry.Name = entry.FileName = file;
      // The list reads the item again once this signal returns: it is
      // rebuilt (and the item freed) only after that.
      QTimer::singleShot(0, this, [this, file] {
        Rebuild();
        SelectFile(file);
      });
    } else {
      const QSignalBlocker block(list_);
      item->setText(FromAnsi(entry.Name));
    }
    return;
  }
  if (checked == entry.Checked) return;
  entry.Checked = checked;
  if (entry.IsMSWord)
    control_.EnableMSWordDictionary(entry.FileName, checked);
  else
    control_.EnableCustomDictionary(entry.FileName, checked);
}

void TCustomDictionariesDialog::NewDictionary(const std::string& name) {
  if (name.empty()) return;
  std::string file = name;
  const std::string extension = ".oxu";
  if (file.size() < extension.size() || file.compare(file.size() - extension.size(), extension.size(), extension) != 0)
    file += extension;
  for (const TListEntry& entry : entries_)
    if (!entry.IsInternal && entry.FileName == file) {
      SelectFile(file);
      return;
    }
  control_.NewCustomDictionary(file);
  Rebuild();
  SelectFile(file);
}

void TCustomDictionariesDialog::AskNew() {
  TNewCustomDictionaryDialog dialog(this);
  dialog.Control().SetSpell(control_.Spell());
  if (dialog.exec() == QDialog::Accepted) NewDictionary(dialog.Name());
}

void TCustomDictionariesDialog::Delete() {
  const int row = list_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= entries_.size()) return;
  const TListEntry entry = entries_[static_cast<size_t>(row)];
  if (entry.IsInternal || entry.IsMSWord) return;
  QMessageBox box(QMessageBox::Question, FromAnsi(control_.GetUIString(kStrConfirmation)),
                  FromAnsi(control_.GetUIString(kStrDeleteQuestion)), QMessageBox::Yes | QMessageBox::No, this);
  box.setObjectName("DeleteConfirmation");
  if (box.exec() != QMessageBox::Yes) return;
  control_.DeleteCustomDictionary(entry.FileName);
  Rebuild();
}

void TCustomDictionariesDialog::Edit() {
  const int row = list_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= entries_.size()) return;
  const TListEntry entry = entries_[static_cast<size_t>(row)];
  if (entry.IsInternal) {
    control_.ShowEditCustomDictionaryDialog(control_.InternalDictionary());
  } else if (entry.IsMSWord) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(FromAnsi(entry.FileName)));
  } else if (std::unique_ptr<TCustomDictionary> dictionary = control_.OpenCustomDictionary(entry.FileName)) {
    control_.ShowEditCustomDictionaryDialog(dictionary.get());
  }
  Rebuild();
  SelectFile(entry.FileName);
}

}  // namespace tovuri
