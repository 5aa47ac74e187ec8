#pragma once
// The spelling dialog: shows the word the check stopped at with its
// suggestions and gives the user's decision to the checker component.
#include <QDialog>
#include <string>

#include "spell/ox3ConfigurationDialogCtrl.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tovuri {

class TSpellDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TSpellDialog(QWidget* owner);

  TConfigurationDialogCtrl& Control() { return control_; }
  // Puts a word on display (in repeated mode the word twice with a space).
  void Prompt(const std::string& word, bool repeated);

  // The controls, for the program's tests and tools.
  QLabel* WordLabel() const { return word_label_; }
  QLineEdit* NotFound() const { return not_found_; }
  QLineEdit* ReplaceWith() const { return replace_with_; }
  QListWidget* Suggestions() const { return suggestions_; }
  QPushButton* IgnoreButton() const { return ignore_; }
  QPushButton* IgnoreAllButton() const { return ignore_all_; }
  QPushButton* ChangeButton() const { return change_; }
  QPushButton* ChangeAllButton() const { return change_all_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* AutoCorrectButton() const { return auto_correct_; }
  QPushButton* UndoButton() const { return undo_; }
  QPushButton* OptionsButton() const { return options_; }
  QPushButton* HelpButton() const { return help_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  void changeEvent(QEvent* event) override;
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillCaptions();
  // Enables every command by the word's state, the Replace With text and the focus.
  void EnableCommands();
  bool Allowed(TSpellDialogCommand command) const;
  std::string ReplaceText() const;
  void SuggestionClicked(QListWidgetItem* item);
  void SuggestionDoubleClicked(QListWidgetItem* item);
  void Ignore();
  void Change();
  void ShowOptions();

  TConfigurationDialogCtrl control_;
  std::string word_;
  bool repeated_ = false;
  bool has_focus_ = true;

  QLabel* word_label_;
  QLineEdit* not_found_;
  QLabel* replace_label_;
  QLineEdit* replace_with_;
  QLabel* suggestions_label_;
  QListWidget* suggestions_;
  QPushButton* ignore_;
  QPushButton* ignore_all_;
  QPushButton* change_;
  QPushButton* change_all_;
  QPushButton* add_;
  QPushButton* auto_correct_;
  QPushButton* options_;
  QPushButton* undo_;
  QPushButton* help_;
  QPushButton* cancel_;
};

}  // namespace tovuri
