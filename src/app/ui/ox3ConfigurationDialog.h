#pragma once
// The spelling options: a check box per option the program offers, the main
// dictionaries with a tick each, and the active custom dictionary.
#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "spell/ox3ConfigurationDialogCtrl.h"

class QCheckBox;
class QGridLayout;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tovuri {

class TConfigurationDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kOptionBoxes = 11;

  explicit TConfigurationDialog(QWidget* owner);

  TConfigurationDialogCtrl& Control() { return control_; }
  QCheckBox* OptionBox(int index) const { return options_[static_cast<size_t>(index)]; }
  // The option a box stands for, -1 for an unused box.
  int OptionOf(int index) const { return option_of_[static_cast<size_t>(index)]; }
  QTreeWidget* MainDictionaries() const { return main_list_; }
  QComboBox* CustomDictionary() const { return custom_; }
  QPushButton* DictionariesButton() const { return dictionaries_; }
  QPushButton* ResetButton() const { return reset_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  // The columns the option boxes are in: two on a screen too short for one.
  int OptionColumns() const { return option_columns_; }

  // Cancel (and Escape): the settings go back to what they were when the dialog opened.
  void reject() override;

 private:
  void FillCaptions();
  void FillOptions();
  void FillMainDictionaries();
  void FillCustomDictionaries();
  void MainItemChanged(QTreeWidgetItem* item, int column);
  void MainItemClicked(QTreeWidgetItem* item, int column);
  void LocateDictionaries();
  void ArrangeOptionBoxes(int columns);

  // The settings as the dialog found them, for Cancel.
  struct Settings {
    TSpellOptions options;
    std::vector<std::string> main;
    std::vector<std::string> custom;
    std::string active_custom;
  };
  Settings opened_with_;

  TConfigurationDialogCtrl control_;
  bool filling_ = false;
  QGroupBox* options_group_;
  QGridLayout* option_layout_;
  int option_columns_ = 1;
  std::array<QCheckBox*, kOptionBoxes> options_{};
  std::array<int, kOptionBoxes> option_of_{};
  QGroupBox* dictionaries_group_;
  QTreeWidget* main_list_;
  QLabel* custom_label_;
  QComboBox* custom_;
  QPushButton* dictionaries_;
  QPushButton* reset_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
  // The rows' file names; the last row may be "Locate Dictionaries...".
  std::vector<std::string> main_files_;
  QTreeWidgetItem* locate_row_ = nullptr;
};

}  // namespace tovuri
