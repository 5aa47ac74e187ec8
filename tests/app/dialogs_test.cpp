#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QTest>

#include "app/ui/ox3ConfigurationDialog.h"
#include "app/ui/ox3CustomDictionariesDialog.h"
#include "app/ui/ox3CustomDictionaryEditDialog.h"
#include "app/ui/ox3NewCustomDictionaryDialog.h"
#include "app/ui/ox3SpellUserInterface.h"
#include "app_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;
using enum TSpellOption;

class Dialogs : public LiveEditorFixture {
 protected:
  void SetUp() override { SetUpSpell({"the", "cat"}, {soUpcase, soRepeated}); }

  // Once a modal window of the given class is up, runs act on it.
  template <typename Window>
  void WhenUp(std::function<void(Window&)> act) {
    QTimer::singleShot(0, [this, act] {
      if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
        act(*window);
        return;
      }
      WhenUp<Window>(act);
    });
  }
};

std::vector<std::string> BoxCaptions(TConfigurationDialog& dialog) {
  std::vector<std::string> captions;
  for (int i = 0; i < TConfigurationDialog::kOptionBoxes; ++i)
    if (!dialog.OptionBox(i)->isHidden()) captions.push_back(dialog.OptionBox(i)->text().toStdString());
  return captions;
}

TEST_F(Dialogs, OptionsDialogHasABoxOnlyForEachAvailableOptionAndShrinksByTheOthers) {
  spell_.ConfigAvailableOptions = TSpellOptions::FromBits(0x3FF);
  TConfigurationDialog all(nullptr);
  all.Control().SetSpell(&spell_);
  EXPECT_EQ(all.windowTitle().toStdString(), "Spelling Options");
  EXPECT_EQ(BoxCaptions(all).size(), 10u);

  spell_.ConfigAvailableOptions = {soUpcase, soNumbers, soRepeated};
  TConfigurationDialog three(nullptr);
  three.Control().SetSpell(&spell_);
  EXPECT_EQ(BoxCaptions(three), (std::vector<std::string>{"Ignore words in &UPPERCASE",
                                                          "Ignore words containing numbers",
                                                          "Prompt on repeated word"}));
  EXPECT_TRUE(three.OptionBox(0)->isChecked());   // soUpcase
  EXPECT_FALSE(three.OptionBox(1)->isChecked());  // soNumbers
  EXPECT_TRUE(three.OptionBox(2)->isChecked());   // soRepeated
  const int box_step =
      all.OptionBox(0)->sizeHint().height() + all.OptionBox(0)->parentWidget()->layout()->spacing();
  EXPECT_EQ(all.sizeHint().height() - three.sizeHint().height(), 7 * box_step);

  // Ticking a box sets the option.
  QTest::mouseClick(three.OptionBox(1), Qt::LeftButton);
  EXPECT_TRUE(spell_.Configuration().SpellOptionsValue().Has(soNumbers));
}

TEST_F(Dialogs, OptionsDialogListsMainDictionariesByNameAndFile) {
  std::ofstream(folder_ / "Broken.oxm") << "not a dictionary";
  TConfigurationDialog dialog(nullptr);
  dialog.Control().SetSpell(&spell_);
  QTreeWidget* list = dialog.MainDictionaries();
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(list->topLevelItem(0)->text(0).toStdString(), "???");
  EXPECT_EQ(list->topLevelItem(0)->text(1).toStdString(), "Broken.oxm");
  EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Unchecked);
  EXPECT_EQ(list->topLevelItem(1)->text(0).toStdString(), "Test");
  EXPECT_EQ(list->topLevelItem(1)->text(1).toStdString(), "Test.oxm");
  EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Checked);
  EXPECT_EQ(list->topLevelItem(2)->text(0).toStdString(), "Locate Dictionaries...");
  EXPECT_EQ(dialog.DictionariesButton()->text().toStdString(), "&Dictionaries ...");
  EXPECT_EQ(dialog.ResetButton()->text().toStdString(), "Reset Defaults");

  // Unticking the main dictionary closes it: its words are no longer known.
  EXPECT_TRUE(spell_.IsWordAcceptable("cat"));
  list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(spell_.IsWordAcceptable("cat"));
  list->topLevelItem(1)->setCheckState(0, Qt::Checked);
  EXPECT_TRUE(spell_.IsWordAcceptable("cat"));
}

TEST_F(Dialogs, OptionsDialogLocatesDictionariesChoosesTheCustomOneAndResets) {
  spell_.NewCustomDictionary("Other.oxu");
  int browsed = 0;
  spell_.OnShowAddDictionaryDir = [&](TOrthexSpell3Base&) { ++browsed; };
  TConfigurationDialog dialog(nullptr);
  dialog.Control().SetSpell(&spell_);

  QTreeWidget* list = dialog.MainDictionaries();
  QTreeWidgetItem* locate = list->topLevelItem(list->topLevelItemCount() - 1);
  locate->setCheckState(0, Qt::Checked);
  QApplication::processEvents();  // the folder is asked for once the tick's signal has returned
  EXPECT_EQ(browsed, 1);
  EXPECT_EQ(list->topLevelItem(list->topLevelItemCount() - 1)->checkState(0), Qt::Unchecked);

  QComboBox* custom = dialog.CustomDictionary();
  EXPECT_EQ(custom->currentText().toStdString(), "Test.oxu");
  const int other = custom->findText("Other.oxu");
  ASSERT_GE(other, 0);
  custom->setCurrentIndex(other);
  emit custom->activated(other);
  EXPECT_EQ(spell_.Configuration().ActiveCustomName(), "Other.oxu");

  spell_.ConfigAvailableOptions = TSpellOptions::FromBits(0x3FF);
  dialog.Control().SetOption(soNumbers, true);
  QTest::mouseClick(dialog.ResetButton(), Qt::LeftButton);
  EXPECT_EQ(spell_.Configuration().SpellOptionsValue(), (TSpellOptions{soUpcase, soRepeated}));
  EXPECT_EQ(dialog.CustomDictionary()->currentText().toStdString(), "Test.oxu");
}

TEST_F(Dialogs, NewCustomDictionaryWithAnExistingNameSelectsItsRow) {
  TCustomDictionariesDialog dialog(nullptr);
  dialog.Control().SetSpell(&spell_);
  dialog.NewDictionary("Mine");
  ASSERT_TRUE(fs::exists(folder_ / "Mine.oxu"));
  const auto row_of = [&](const std::string& file) {
    for (size_t i = 0; i < dialog.Entries().size(); ++i)
      if (dialog.Entries()[i].FileName == file) return static_cast<int>(i);
    return -1;
  };
  ASSERT_GE(row_of("Mine.oxu"), 0);
  EXPECT_EQ(dialog.List()->currentRow(), row_of("Mine.oxu"));
  const size_t rows = dialog.Entries().size();
  const auto stamp = fs::last_write_time(folder_ / "Mine.oxu");

  dialog.List()->setCurrentRow(row_of("Test.oxu"));
  // The same name through the real New dialog: the existing row is selected.
  WhenUp<TNewCustomDictionaryDialog>([](TNewCustomDictionaryDialog& ask) {
    EXPECT_EQ(ask.windowTitle().toStdString(), "New Custom Dictionary");
    QTest::keyClicks(ask.NameEdit(), "Mine");
    QTest::mouseClick(ask.OkButton(), Qt::LeftButton);
  });
  QTest::mouseClick(dialog.NewButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.Entries().size(), rows);
  EXPECT_EQ(dialog.List()->currentRow(), row_of("Mine.oxu"));
  EXPECT_EQ(fs::last_write_time(folder_ / "Mine.oxu"), stamp);
}

TEST_F(Dialogs, DeleteAsksFirstAndRemovesTheFileOnYes) {
  TCustomDictionariesDialog dialog(nullptr);
  dialog.Control().SetSpell(&spell_);
  dialog.NewDictionary("Gone");
  ASSERT_TRUE(fs::exists(folder_ / "Gone.oxu"));
  for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
    WhenUp<QMessageBox>([answer](QMessageBox& box) {
      EXPECT_EQ(box.windowTitle().toStdString(), "Confirmation:");
      EXPECT_EQ(box.text().toStdString(), "Delete this custom dictionary?");
      QTest::mouseClick(box.button(answer), Qt::LeftButton);
    });
    QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);
    EXPECT_EQ(fs::exists(folder_ / "Gone.oxu"), answer == QMessageBox::No);
  }
}

TEST_F(Dialogs, RenamingInPlaceMovesTheFileOrPutsTheOldNameBack) {
  TCustomDictionariesDialog dialog(nullptr);
  dialog.Control().SetSpell(&spell_);
  dialog.NewDictionary("Old");
  dialog.NewDictionary("Taken");
  const auto item_of = [&](const std::string& file) -> QListWidgetItem* {
    for (size_t i = 0; i < dialog.Entries().size(); ++i)
      if (dialog.Entries()[i].FileName == file) return dialog.List()->item(static_cast<int>(i));
    return nullptr;
  };
  ASSERT_NE(item_of("Old.oxu"), nullptr);
  item_of("Old.oxu")->setText("Taken.oxu");  // fails: the name is in use
  ASSERT_NE(item_of("Old.oxu"), nullptr);
  EXPECT_EQ(item_of("Old.oxu")->text().toStdString(), "Old.oxu");
  EXPECT_TRUE(fs::exists(folder_ / "Old.oxu"));
  item_of("Old.oxu")->setText("New.oxu");
  QApplication::processEvents();  // the list is rebuilt once the edit's signal has returned
  EXPECT_FALSE(fs::exists(folder_ / "Old.oxu"));
  EXPECT_TRUE(fs::exists(folder_ / "New.oxu"));
  EXPECT_NE(item_of("New.oxu"), nullptr);
  // No lock of the old name is left behind.
  EXPECT_FALSE(fs::exists(folder_ / "Old.oxu.lock"));
}

TEST_F(Dialogs, TheRenameButtonEditsTheSelectedDictionarysName) {
  TCustomDictionariesDialog dialog(nullptr);
  dialog.Control().SetSpell(&spell_);
  dialog.NewDictionary("Mine");
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  ASSERT_NE(dialog.RenameButton(), nullptr);
  EXPECT_EQ(dialog.RenameButton()->text().toStdString(), "&Rename");
  ASSERT_TRUE(dialog.RenameButton()->isEnabled());
  QTest::mouseClick(dialog.RenameButton(), Qt::LeftButton);
  auto* editor = dialog.List()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text().toStdString(), "Mine.oxu");
  editor->setText("Ours");
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_TRUE(fs::exists(folder_ / "Ours.oxu"));
  EXPECT_FALSE(fs::exists(folder_ / "Mine.oxu"));
  EXPECT_FALSE(fs::exists(folder_ / "Mine.oxu.lock"));
}

TEST_F(Dialogs, TickingLocateDictionariesRebuildsTheTreeOnlyAfterTheTicksSignal) {
  int browsed = 0;
  spell_.OnShowAddDictionaryDir = [&](TOrthexSpell3Base&) { ++browsed; };
  TConfigurationDialog dialog(nullptr);
  dialog.Control().SetSpell(&spell_);
  QTreeWidget* list = dialog.MainDictionaries();
  QTreeWidgetItem* locate = list->topLevelItem(list->topLevelItemCount() - 1);
  // A slot after the dialog's own: Qt's view reads the item after them all,
  // so the tree must still be the same then.
  int browsed_in_signal = -1;
  int rows_in_signal = -1;
  QObject::connect(list, &QTreeWidget::itemChanged, [&] {
    browsed_in_signal = browsed;
    rows_in_signal = list->topLevelItemCount();
  });
  const int rows = list->topLevelItemCount();
  locate->setCheckState(0, Qt::Checked);
  EXPECT_EQ(browsed_in_signal, 0);
  EXPECT_EQ(rows_in_signal, rows);
  QApplication::processEvents();
  EXPECT_EQ(browsed, 1);
  EXPECT_EQ(list->topLevelItem(list->topLevelItemCount() - 1)->checkState(0), Qt::Unchecked);
}

TEST_F(Dialogs, OptionsDialogFitsItsScreenWithItsTitleBar) {
  spell_.ConfigAvailableOptions = TSpellOptions::FromBits(0x3FF);
  TConfigurationDialog dialog(nullptr);
  dialog.Control().SetSpell(&spell_);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const QRect work = dialog.screen()->availableGeometry();
  EXPECT_LE(dialog.height() + dialog.fontMetrics().height() * 2, work.height())
      << dialog.height() << " in " << work.height() << " with " << dialog.OptionColumns() << " columns";
  EXPECT_LE(dialog.width(), work.width());
}

TEST_F(Dialogs, OptionsDialogCancelPutsTheSettingsBack) {
  spell_.ConfigAvailableOptions = TSpellOptions::FromBits(0x3FF);
  spell_.NewCustomDictionary("Other.oxu");
  const TSpellOptions before = spell_.Configuration().SpellOptionsValue();
  const std::vector<std::string> main_before = spell_.Configuration().MainList().Items();
  TConfigurationDialog dialog(nullptr);
  dialog.Control().SetSpell(&spell_);
  ASSERT_NE(dialog.CancelButton(), nullptr);
  EXPECT_EQ(dialog.CancelButton()->text().toStdString(), "Cancel");
  dialog.OptionBox(1)->click();
  dialog.MainDictionaries()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  const int other = dialog.CustomDictionary()->findText("Other.oxu");
  ASSERT_GE(other, 0);
  dialog.CustomDictionary()->setCurrentIndex(other);
  emit dialog.CustomDictionary()->activated(other);
  EXPECT_NE(spell_.Configuration().SpellOptionsValue(), before);
  QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(spell_.Configuration().SpellOptionsValue(), before);
  EXPECT_EQ(spell_.Configuration().MainList().Items(), main_before);
  EXPECT_EQ(spell_.Configuration().ActiveCustomName(), "Test.oxu");
}

TEST_F(Dialogs, InternalDictionaryRowIsShownWhenItHoldsWordsAndCannotBeUnticked) {
  spell_.InternalDictionary().AddWord("zork");
  TCustomDictionariesDialog dialog(nullptr);
  dialog.Control().SetSpell(&spell_);
  ASSERT_FALSE(dialog.Entries().empty());
  EXPECT_TRUE(dialog.Entries()[0].IsInternal);
  EXPECT_EQ(dialog.List()->item(0)->text().toStdString(), "(Ignore All / Change All)");
  dialog.List()->item(0)->setCheckState(Qt::Unchecked);
  EXPECT_EQ(dialog.List()->item(0)->checkState(), Qt::Checked);
  dialog.List()->setCurrentRow(0);
  EXPECT_TRUE(dialog.EditButton()->isEnabled());
  EXPECT_FALSE(dialog.DeleteButton()->isEnabled());
}

TEST_F(Dialogs, DictionaryEditorEditsReachTheFile) {
  TQtSpellUserInterface ui(spell_, nullptr);
  const fs::path file = folder_ / "Test.oxu";
  spell_.ActiveCustomDictionary()->AddWord("zebra");
  spell_.ActiveCustomDictionary()->Save();

  TCustomDictionary dictionary;
  ASSERT_TRUE(dictionary.Open(file.string()));
  WhenUp<TCustomDictionaryEditDialog>([](TCustomDictionaryEditDialog& editor) {
    using Page = TCustomDictionaryEditDialog::Page;
    EXPECT_EQ(editor.windowTitle().toStdString(), "Test.oxu");
    EXPECT_EQ(editor.Pages()->tabText(0).toStdString(), "Add&ed Words");
    // Added words: "zebra" is listed; typing it offers Delete.
    ASSERT_EQ(editor.List(Page::pgAdded)->topLevelItemCount(), 1);
    QTest::keyClicks(editor.WordEdit(Page::pgAdded), "zebra");
    EXPECT_FALSE(editor.AddButton(Page::pgAdded)->isEnabled());
    EXPECT_TRUE(editor.DeleteButton(Page::pgAdded)->isEnabled());
    QTest::mouseClick(editor.DeleteButton(Page::pgAdded), Qt::LeftButton);
    editor.WordEdit(Page::pgAdded)->clear();
    QTest::keyClicks(editor.WordEdit(Page::pgAdded), "yak");
    QTest::keyClick(editor.WordEdit(Page::pgAdded), Qt::Key_Return);  // Enter adds
    // Auto-correct pairs need both words.
    editor.Pages()->setCurrentIndex(Page::pgAutoCorrect);
    QTest::keyClicks(editor.WordEdit(Page::pgAutoCorrect), "teh");
    EXPECT_FALSE(editor.AddButton(Page::pgAutoCorrect)->isEnabled());
    QTest::keyClicks(editor.ReplacementEdit(), "the");
    QTest::mouseClick(editor.AddButton(Page::pgAutoCorrect), Qt::LeftButton);
    // A word already on another page cannot be excluded.
    editor.Pages()->setCurrentIndex(Page::pgExcluded);
    QTest::keyClicks(editor.WordEdit(Page::pgExcluded), "yak");
    EXPECT_FALSE(editor.AddButton(Page::pgExcluded)->isEnabled());
    editor.WordEdit(Page::pgExcluded)->clear();
    QTest::keyClicks(editor.WordEdit(Page::pgExcluded), "colour");
    QTest::mouseClick(editor.AddButton(Page::pgExcluded), Qt::LeftButton);
    QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
  });
  spell_.ShowEditCustomDictionaryDialog(&dictionary);

  TCustomDictionary reread;
  ASSERT_TRUE(reread.Open(file.string()));
  EXPECT_FALSE(reread.Contains("zebra"));
  EXPECT_TRUE(reread.Contains("yak"));
  std::string pair;
  EXPECT_TRUE(reread.FindAutoCorrect("teh", pair));
  EXPECT_EQ(pair, "the");
  EXPECT_TRUE(reread.IsExcluded("colour"));
  // The component reopened its dictionaries and knows the edits.
  EXPECT_TRUE(spell_.IsWordAcceptable("yak"));
  EXPECT_FALSE(spell_.IsWordAcceptable("zebra"));
}

TEST_F(Dialogs, DictionaryEditorWithoutADictionaryClosesWithCancel) {
  TCustomDictionaryEditDialog editor(nullptr, nullptr);
  editor.Control().SetSpell(&spell_);
  EXPECT_EQ(editor.exec(), QDialog::Rejected);
}

TEST_F(Dialogs, EveryInterfaceTextIsTheEnglishTable) {
  // Spot checks across the table; the dialogs read every caption from it.
  EXPECT_EQ(spell_.GetUIString(0), "Check spelling as you type");
  EXPECT_EQ(spell_.GetUIString(33), " O&ptions: ");
  EXPECT_EQ(spell_.GetUIString(59),
            "The selection has been checked.  Would you like to check the remainder of the document?");
  EXPECT_EQ(spell_.GetUIString(66), "&Spelling ...");
  EXPECT_EQ(spell_.GetUIString(67), "");
}

}  // namespace
}  // namespace tovuri
