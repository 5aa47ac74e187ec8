#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/ui/ox3SpellDialog.h"
#include "app/ui/ox3SpellUserInterface.h"
#include "app_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;

class SpellingDialog : public LiveEditorFixture {
 protected:
  void SetUp() override {
    SetUpSpell({"the", "cat", "sat", "on", "mat", "dog"}, {TSpellOption::soRepeated});
    spell_.SynchronousCheck = false;
    spell_.EndMessage = TSpellEndMessage::emNever;
    ShowEditor();
    ui_ = std::make_unique<TQtSpellUserInterface>(spell_, editor_.get());
  }
  TSpellDialog& Dialog() { return *ui_->SpellDialog(); }
  void Click(QPushButton* button) {
    ASSERT_TRUE(button->isVisible());
    ASSERT_TRUE(button->isEnabled()) << button->text().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
  }
  std::string Shown() { return Dialog().NotFound()->text().toStdString(); }

  std::unique_ptr<TQtSpellUserInterface> ui_;
};

TEST_F(SpellingDialog, WholeCheckLeavesTheExpectedTextAndDictionaries) {
  editor_->setPlainText("the cst sat on the mqt\nthe cst ran dgo\nzzq the qqq end");
  editor_->SetSelection(0, 0);
  editor_->CheckControl(TCheckMode::cmAll);
  ASSERT_TRUE(spell_.IsChecking());
  ASSERT_NE(ui_->SpellDialog(), nullptr);
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_EQ(Dialog().windowTitle().toStdString(), "Spelling");
  EXPECT_EQ(Dialog().WordLabel()->text().toStdString(), "Not Found:");

  EXPECT_EQ(Shown(), "cst");
  EXPECT_EQ(editor_->SelectedText(), "cst");
  Click(Dialog().IgnoreButton());  // this "cst" only
  EXPECT_EQ(Shown(), "mqt");
  Dialog().ReplaceWith()->setText("mat");
  Click(Dialog().ChangeButton());
  EXPECT_EQ(Shown(), "cst");  // the second one: Ignore passed only the first
  Dialog().ReplaceWith()->setText("cat");
  Click(Dialog().ChangeAllButton());
  EXPECT_EQ(Shown(), "ran");
  Click(Dialog().AddButton());
  EXPECT_EQ(Shown(), "dgo");
  Dialog().ReplaceWith()->setText("dog");
  Click(Dialog().ChangeButton());
  EXPECT_EQ(Shown(), "zzq");
  Click(Dialog().UndoButton());  // brings "dgo" back
  EXPECT_EQ(Shown(), "dgo");
  EXPECT_NE(Text().find("dgo"), std::string::npos);
  Click(Dialog().IgnoreAllButton());
  EXPECT_EQ(Shown(), "zzq");
  Click(Dialog().CancelButton());

  EXPECT_FALSE(spell_.IsChecking());
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(Text(), "the cst sat on the mat\nthe cat ran dgo\nzzq the qqq end");
  ASSERT_NE(spell_.ActiveCustomDictionary(), nullptr);
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->Contains("ran"));
  EXPECT_TRUE(spell_.InternalDictionary().Contains("dgo"));
  std::string pair;
  EXPECT_TRUE(spell_.InternalDictionary().FindAutoCorrect("cst", pair));
  EXPECT_EQ(pair, "cat");
}

TEST_F(SpellingDialog, NoSuggestionsKeepsChangeDisabledUntilTheUserTypes) {
  editor_->setPlainText("the qqqqqqqqqq cat");
  editor_->CheckControl(TCheckMode::cmAll);
  ASSERT_TRUE(spell_.IsChecking());
  QListWidget* list = Dialog().Suggestions();
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text().toStdString(), "(no suggestions)");
  EXPECT_FALSE(list->isEnabled());
  EXPECT_TRUE(Dialog().ReplaceWith()->text().isEmpty());
  EXPECT_FALSE(Dialog().ChangeButton()->isEnabled());
  EXPECT_FALSE(Dialog().ChangeAllButton()->isEnabled());
  QTest::keyClicks(Dialog().ReplaceWith(), "dog");
  EXPECT_TRUE(Dialog().ChangeButton()->isEnabled());
  EXPECT_TRUE(Dialog().ChangeAllButton()->isEnabled());
  Click(Dialog().ChangeButton());
  EXPECT_FALSE(spell_.IsChecking());
  EXPECT_EQ(Text(), "the dog cat");
}

TEST_F(SpellingDialog, SuggestionsFillReplaceWithAndADoubleClickChangesAtOnce) {
  editor_->setPlainText("the dgo sat");
  editor_->CheckControl(TCheckMode::cmAll);
  ASSERT_TRUE(spell_.IsChecking());
  QListWidget* list = Dialog().Suggestions();
  ASSERT_GE(list->count(), 1);
  EXPECT_TRUE(list->isEnabled());
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(Dialog().ReplaceWith()->text(), list->item(0)->text());
  EXPECT_EQ(list->item(0)->text().toStdString(), "dog");
  const QRect first = list->visualItemRect(list->item(0));
  // A double click arrives after the click that starts it.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
  EXPECT_FALSE(spell_.IsChecking());
  EXPECT_EQ(Text(), "the dog sat");
}

TEST_F(SpellingDialog, RepeatedWordShowsItsLabelChangeDeletesAndIgnoreKeeps) {
  for (const bool change : {true, false}) {
    editor_->setPlainText("the cat cat sat");
    editor_->CheckControl(TCheckMode::cmAll);
    ASSERT_TRUE(spell_.IsChecking());
    EXPECT_EQ(Dialog().WordLabel()->text().toStdString(), "Repeated Word:");
    EXPECT_EQ(Shown(), "cat cat");
    EXPECT_EQ(Dialog().ReplaceWith()->text().toStdString(), "cat");
    EXPECT_FALSE(Dialog().AddButton()->isEnabled());
    EXPECT_FALSE(Dialog().IgnoreAllButton()->isEnabled());
    Click(change ? Dialog().ChangeButton() : Dialog().IgnoreButton());
    EXPECT_FALSE(spell_.IsChecking());
    EXPECT_EQ(Text(), change ? "the cat sat" : "the cat cat sat");
  }
}

TEST_F(SpellingDialog, ChangeAndUndoKeepCharactersWindows1252Lacks) {
  const QString text = QString::fromUtf8("the Dvo\u0159\u00E1k cst sat");
  editor_->setPlainText(text);
  editor_->SetSelection(0, 0);
  editor_->CheckControl(TCheckMode::cmAll);
  ASSERT_TRUE(spell_.IsChecking());
  EXPECT_EQ(Dialog().NotFound()->text(), QString::fromUtf8("Dvo\u0159\u00E1k")) << "shown as written";
  Dialog().ReplaceWith()->setText("dog");
  Click(Dialog().ChangeButton());
  EXPECT_EQ(Shown(), "cst");
  Click(Dialog().UndoButton());
  EXPECT_EQ(editor_->toPlainText(), text) << "the undone word comes back as it was written";

  // A replacement typed with letters Windows-1252 lacks goes in as typed.
  Dialog().ReplaceWith()->setText(QString::fromUtf8("\u0141\u00F3d\u017A"));
  Click(Dialog().ChangeButton());
  EXPECT_EQ(editor_->toPlainText(), QString::fromUtf8("the \u0141\u00F3d\u017A cst sat"));
  Click(Dialog().CancelButton());
  ASSERT_NE(spell_.ActiveCustomDictionary(), nullptr);
  std::string pair;
  EXPECT_FALSE(spell_.InternalDictionary().FindAutoCorrect("Dvo\x8D\xE1k", pair))
      << "no stand-in byte is kept as a word";
}

TEST_F(SpellingDialog, HiddenCommandsHaveNoButtonAndUndoTakesOptionsPlace) {
  spell_.CommandsVisible.reset(static_cast<size_t>(TSpellDialogCommand::sdcOptions));
  spell_.CommandsEnabled.reset(static_cast<size_t>(TSpellDialogCommand::sdcIgnoreAll));
  editor_->setPlainText("the dgo sat");
  editor_->CheckControl(TCheckMode::cmAll);
  ASSERT_TRUE(spell_.IsChecking());
  EXPECT_FALSE(Dialog().OptionsButton()->isVisible());
  EXPECT_FALSE(Dialog().HelpButton()->isVisible());  // no help context
  EXPECT_TRUE(Dialog().IgnoreAllButton()->isVisible());
  EXPECT_FALSE(Dialog().IgnoreAllButton()->isEnabled());
  EXPECT_EQ(Dialog().UndoButton()->y(), Dialog().ChangeButton()->y() +
                                            2 * (Dialog().ChangeButton()->y() - Dialog().IgnoreButton()->y()));
  Click(Dialog().CancelButton());
}

// Answers whatever window is up: the dialog's button named by the next step,
// or OK on a message box; runs until the steps are used up.
class Answerer {
 public:
  Answerer(TQtSpellUserInterface& ui, std::vector<std::string> steps) : ui_(ui), steps_(std::move(steps)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Step(); });
    timer_.start();
  }
  std::vector<std::string> shown;
  std::vector<std::string> messages;

 private:
  void Step() {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      messages.push_back(box->text().toStdString());
      box->button(box->buttons().contains(box->button(QMessageBox::Yes)) ? QMessageBox::Yes : QMessageBox::Ok)
          ->click();
      return;
    }
    TSpellDialog* dialog = ui_.SpellDialog();
    if (dialog == nullptr || !dialog->isVisible() || steps_.empty()) return;
    shown.push_back(dialog->NotFound()->text().toStdString());
    const std::string step = steps_.front();
    steps_.erase(steps_.begin());
    (step == "Ignore" ? dialog->IgnoreButton() : dialog->CancelButton())->click();
  }
  TQtSpellUserInterface& ui_;
  std::vector<std::string> steps_;
  QTimer timer_;
};

TEST_F(SpellingDialog, SpellingCommandChecksFromTheCaretAroundToItWithOneEndMessage) {
  spell_.EndMessage = TSpellEndMessage::emAlways;
  editor_->setPlainText("the dgo sat on the mqt");
  editor_->SetSelection(8, 8);  // after "dgo"
  Answerer answer(*ui_, {"Ignore", "Ignore"});
  // The program's Spelling command: a synchronous check in parts.
  editor_->CheckControl(TCheckMode::cmSelectionThenRest);
  EXPECT_FALSE(spell_.IsChecking());
  EXPECT_EQ(answer.shown, (std::vector<std::string>{"mqt", "dgo"}));
  EXPECT_EQ(answer.messages, (std::vector<std::string>{"The spelling check is complete."}));
}

TEST_F(SpellingDialog, ModalDialogRunsTheCheckFromItsShowHook) {
  spell_.DialogShowModal = true;
  spell_.SynchronousCheck = true;
  editor_->setPlainText("the dgo sat on the mqt");
  Answerer answer(*ui_, {"Ignore", "Cancel"});
  editor_->CheckControl(TCheckMode::cmAll);
  EXPECT_FALSE(spell_.IsChecking());
  EXPECT_EQ(answer.shown, (std::vector<std::string>{"dgo", "mqt"}));
  EXPECT_FALSE(Dialog().isVisible());
}

TEST_F(SpellingDialog, LosingTheFocusDisablesTheCommandsAndRegainingItResumes) {
  editor_->setPlainText("the dgo sat on the mqt");
  editor_->CheckControl(TCheckMode::cmAll);
  ASSERT_TRUE(spell_.IsChecking());
  QApplication::setActiveWindow(&Dialog());
  QApplication::processEvents();
  ASSERT_TRUE(Dialog().IgnoreButton()->isEnabled());
  QApplication::setActiveWindow(editor_.get());
  QApplication::processEvents();
  EXPECT_FALSE(Dialog().IgnoreButton()->isEnabled());
  EXPECT_FALSE(Dialog().ReplaceWith()->isEnabled());
  // The user fixes the word in the editor; back at the dialog the check goes on from there.
  editor_->SetSelection(4, 7);
  editor_->ReplaceSelection("dog");
  editor_->SetSelection(4, 4);
  QApplication::setActiveWindow(&Dialog());
  QApplication::processEvents();
  EXPECT_TRUE(Dialog().IgnoreButton()->isEnabled());
  EXPECT_EQ(Shown(), "mqt");
  Click(Dialog().CancelButton());
}

TEST_F(SpellingDialog, HelpButtonShowsWithAHelpContextAndAsksTheProgramForIt) {
  spell_.HelpCtxSpellDialog = 5;
  std::vector<int> asked;
  ui_->OnHelp = [&](int context) { asked.push_back(context); };
  editor_->setPlainText("the dgo sat");
  editor_->CheckControl(TCheckMode::cmAll);
  ASSERT_TRUE(spell_.IsChecking());
  EXPECT_EQ(Dialog().HelpButton()->text().toStdString(), "&Help");
  Click(Dialog().HelpButton());
  EXPECT_EQ(asked, std::vector<int>{5});
  Click(Dialog().CancelButton());
}

TEST_F(SpellingDialog, OptionsButtonOpensTheOptionsAndPromptsTheSameWordAgain) {
  editor_->setPlainText("the dgo sat");
  editor_->CheckControl(TCheckMode::cmAll);
  ASSERT_TRUE(spell_.IsChecking());
  Dialog().ReplaceWith()->setText("something");
  QTimer::singleShot(0, [] {
    QWidget* options = QApplication::activeModalWidget();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->windowTitle().toStdString(), "Spelling Options");
    options->close();
  });
  Click(Dialog().OptionsButton());
  EXPECT_EQ(Shown(), "dgo");
  EXPECT_EQ(Dialog().ReplaceWith()->text().toStdString(), "dog");
  QApplication::setActiveWindow(&Dialog());
  QApplication::processEvents();
  Click(Dialog().CancelButton());
}

}  // namespace
}  // namespace tovuri
