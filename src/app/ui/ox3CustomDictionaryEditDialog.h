#pragma once
// Edits one custom dictionary on three pages: added words, auto-correct
// pairs and excluded words.
#include <QDialog>
#include <array>
#include <string>

#include "spell/ox3ConfigurationDialogCtrl.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace tovuri {

class TCustomDictionaryEditDialog : public QDialog {
  Q_OBJECT

 public:
  enum Page { pgAdded, pgAutoCorrect, pgExcluded };

  // Edits dictionary, which must outlive the dialog; with none the dialog
  // closes with Cancel as soon as it runs.
  TCustomDictionaryEditDialog(QWidget* owner, TCustomDictionary* dictionary);

  TConfigurationDialogCtrl& Control() { return control_; }
  int exec() override;

  // A page's controls, for the program's tests and tools.
  QTabWidget* Pages() const { return tabs_; }
  QLineEdit* WordEdit(Page page) const { return pages_[page].word; }
  QLineEdit* ReplacementEdit() const { return pages_[pgAutoCorrect].replacement; }
  QTreeWidget* List(Page page) const { return pages_[page].list; }
  QPushButton* AddButton(Page page) const { return pages_[page].add; }
  QPushButton* DeleteButton(Page page) const { return pages_[page].remove; }
  QPushButton* OkButton() const { return ok_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct PageControls {
    QWidget* widget = nullptr;
    QLabel* explanation = nullptr;
    QLabel* word_label = nullptr;
    QLineEdit* word = nullptr;
    QLabel* replacement_label = nullptr;
    QLineEdit* replacement = nullptr;
    QTreeWidget* list = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
    bool filled = false;
  };

  void BuildPage(Page page);
  void FillCaptions();
  void PageShown(int index);
  void FillList(Page page);
  void EntryChanged(Page page);
  void Add(Page page);
  void Remove(Page page);
  // Which kind of entry the dictionary holds for a word on a page's terms.
  bool InPage(Page page, const std::string& word) const;
  bool InAnyPage(const std::string& word) const;

  TConfigurationDialogCtrl control_;
  TCustomDictionary* dictionary_;
  QTabWidget* tabs_;
  std::array<PageControls, 3> pages_;
  QPushButton* ok_;
  QPushButton* help_;
};

}  // namespace tovuri
