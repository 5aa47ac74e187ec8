#pragma once
// Lists the custom dictionaries with a tick for each active one, and creates,
// deletes, renames and opens them for editing.
#include <QDialog>
#include <string>
#include <vector>

#include "spell/ox3ConfigurationDialogCtrl.h"

class QGroupBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tovuri {

// One row of the list.
struct TListEntry {
  bool Checked = true;
  bool IsInternal = false;
  bool IsMSWord = false;
  std::string Name;  // as shown, editable for a plain custom dictionary
  std::string FileName;
};

class TCustomDictionariesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TCustomDictionariesDialog(QWidget* owner);

  TConfigurationDialogCtrl& Control() { return control_; }
  // What the rows stand for, in the list's order.
  const std::vector<TListEntry>& Entries() const { return entries_; }
  QListWidget* List() const { return list_; }
  QPushButton* NewButton() const { return new_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* EditButton() const { return edit_; }
  QPushButton* RenameButton() const { return rename_; }
  QPushButton* OkButton() const { return ok_; }

  // Creates the dictionary, or selects its row when it exists already.
  void NewDictionary(const std::string& name);

 private:
  void FillCaptions();
  void Rebuild();
  void SelectFile(const std::string& file);
  void RowChanged();
  void ItemChanged(QListWidgetItem* item);
  void AskNew();
  void Delete();
  void Edit();

  TConfigurationDialogCtrl control_;
  std::vector<TListEntry> entries_;
  bool rebuilding_ = false;
  QGroupBox* group_;
  QListWidget* list_;
  QPushButton* new_;
  QPushButton* delete_;
  QPushButton* edit_;
  QPushButton* rename_;
  QPushButton* ok_;
  QPushButton* help_;
};

}  // namespace tovuri
