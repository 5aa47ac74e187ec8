#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/ui/ox3SpellDialog.h"
#include "app/ui/ox3SpellUserInterface.h"
#include "app_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;
using Spans = std::vector<std::pair<int, int>>;

class CorrectionMenu : public LiveEditorFixture {
 protected:
  void SetUp() override {
    SetUpSpell({"the", "cat", "sat", "on", "mat", "dog", "a"});
    ShowEditor();
    ui_ = std::make_unique<TQtSpellUserInterface>(spell_, editor_.get());
  }

  // Right-clicks the character at index and, once the menu is up, records
  // its entries and chooses the entry at path (a submenu, then its entry);
  // an empty path dismisses the menu.
  void RightClick(int index, std::vector<QString> path) {
    const TScreenPoint p = editor_->ClientPositionFromChar(index);
    const QPoint at(p.x + 2, p.y + editor_->FontHeight() / 2);
    QTimer::singleShot(0, [this, path] { Choose(path); });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, editor_->viewport()->mapToGlobal(at));
    QApplication::sendEvent(editor_->viewport(), &event);
    Grab();
  }
  void Choose(std::vector<QString> path) {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
      QTimer::singleShot(10, [this, path] { Choose(path); });
      return;
    }
    if (entries.empty())
      for (QAction* a : menu->actions())
        entries.push_back((a->isSeparator() ? "-" : a->text() + (a->isEnabled() ? "" : " (disabled)")).toStdString());
    if (path.empty()) {
      menu->close();
      return;
    }
    for (QAction* a : menu->actions()) {
      if (a->text() != path.front()) continue;
      menu->setActiveAction(a);
      if (a->menu() != nullptr) {
        QTest::keyClick(menu, Qt::Key_Right);
        path.erase(path.begin());
        QTimer::singleShot(10, [this, path] { Choose(path); });
      } else {
        QTest::keyClick(menu, Qt::Key_Return);
      }
      return;
    }
    ADD_FAILURE() << "no entry " << path.front().toStdString();
    menu->close();
  }

  std::unique_ptr<TQtSpellUserInterface> ui_;
  std::vector<std::string> entries;
};

TEST_F(CorrectionMenu, OffersSuggestionsAndCommandsInOrder) {
  editor_->setPlainText("the dgo sat ");
  Grab();
  RightClick(5, {});
  EXPECT_EQ(entries, (std::vector<std::string>{"dog", "-", "I&gnore", "&Ignore All", "&Add", "-", "&Change All",
                                               "A&uto Correct", "&Spelling ..."}));
  EXPECT_EQ(Text(), "the dgo sat ");
}

TEST_F(CorrectionMenu, WithoutSuggestionsShowsTheDisabledEntry) {
  editor_->setPlainText("the qqqqqqqqqq sat ");
  Grab();
  RightClick(6, {});
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[0], "(no suggestions) (disabled)");
  EXPECT_EQ(entries[1], "-");
}

TEST_F(CorrectionMenu, ChoosingASuggestionReplacesTheWord) {
  editor_->setPlainText("the dgo sat ");
  Grab();
  RightClick(5, {"dog"});
  EXPECT_EQ(Text(), "the dog sat ");
  EXPECT_EQ(SpansOf(0), Spans{});
}

TEST_F(CorrectionMenu, IgnoreHidesOnlyTheOccurrenceAfterTheSamePrecedingWord) {
  editor_->setPlainText("the zork sat on a zork, the zork ");
  Grab();
  EXPECT_EQ(SpansOf(0), (Spans{{4, 8}, {18, 22}, {28, 32}}));
  RightClick(5, {"I&gnore"});
  // "the zork" is ignored wherever it stands; "a zork" stays underlined.
  EXPECT_EQ(SpansOf(0), (Spans{{18, 22}}));
}

TEST_F(CorrectionMenu, AddAndIgnoreAllClearEveryOccurrence) {
  for (const auto& [entry, word] : {std::pair{QString("&Add"), QString("blorp")},
                                    std::pair{QString("&Ignore All"), QString("snurk")}}) {
    editor_->setPlainText(QString("the %1 sat on a %1\n%1 ").arg(word));
    Grab();
    EXPECT_EQ(SpansOf(0), (Spans{{4, 9}, {19, 24}}));
    RightClick(20, {entry});
    EXPECT_EQ(SpansOf(0), Spans{}) << entry.toStdString();
    EXPECT_EQ(SpansOf(1), Spans{}) << entry.toStdString();
  }
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->Contains("blorp"));
  EXPECT_FALSE(spell_.InternalDictionary().Contains("blorp"));
  EXPECT_TRUE(spell_.InternalDictionary().Contains("snurk"));
  EXPECT_FALSE(spell_.ActiveCustomDictionary()->Contains("snurk"));
}

TEST_F(CorrectionMenu, IgnoreAllOnACapitalisedWordCoversItsLowerCaseForm) {
  editor_->setPlainText("Snurk sat on a snurk\nthe snurk ");
  Grab();
  EXPECT_EQ(SpansOf(0), (Spans{{0, 5}, {15, 20}}));
  RightClick(1, {"&Ignore All"});
  EXPECT_EQ(SpansOf(0), Spans{});
  EXPECT_EQ(SpansOf(1), Spans{});

  // A lower-case word ignored covers it at a sentence start and in capitals.
  editor_->setPlainText("the blorp sat\nBlorp BLORP ");
  Grab();
  RightClick(5, {"&Ignore All"});
  EXPECT_EQ(SpansOf(0), Spans{});
  EXPECT_EQ(SpansOf(1), Spans{});
}

TEST_F(CorrectionMenu, ChangeAllReplacesEveryOccurrenceAndRemembersThePair) {
  editor_->setPlainText("the dgo sat, a dgo\ndgo on ");
  Grab();
  RightClick(5, {"&Change All", "dog"});
  EXPECT_EQ(Text(), "the dog sat, a dog\ndog on ");
  std::string pair;
  EXPECT_TRUE(spell_.InternalDictionary().FindAutoCorrect("dgo", pair));
  EXPECT_EQ(pair, "dog");
}

TEST_F(CorrectionMenu, AutoCorrectStoresThePairInTheActiveCustomDictionary) {
  editor_->setPlainText("the dgo sat ");
  Grab();
  RightClick(5, {"A&uto Correct", "dog"});
  EXPECT_EQ(Text(), "the dog sat ");
  std::string pair;
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->FindAutoCorrect("dgo", pair));
  EXPECT_EQ(pair, "dog");
}

TEST_F(CorrectionMenu, SpellingEntryChecksTheWordInTheDialogWithoutAnEndMessage) {
  spell_.EndMessage = TSpellEndMessage::emAlways;
  editor_->setPlainText("the dgo sat ");
  Grab();
  std::string shown;
  bool message = false;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr) {
      message = true;
      QApplication::activeModalWidget()->close();
    }
    TSpellDialog* dialog = ui_->SpellDialog();
    if (dialog == nullptr || !dialog->isVisible()) return;
    shown = dialog->NotFound()->text().toStdString();
    dialog->ChangeButton()->click();
  });
  answer.start(5);
  RightClick(5, {"&Spelling ..."});
  answer.stop();
  EXPECT_EQ(shown, "dgo");
  EXPECT_FALSE(message);
  EXPECT_FALSE(spell_.IsChecking());
  EXPECT_EQ(Text(), "the dog sat ");
  EXPECT_EQ(spell_.EndMessage, TSpellEndMessage::emAlways);
}

TEST_F(CorrectionMenu, CorrectWordsGetTheEditorsOwnMenu) {
  editor_->setPlainText("the dgo sat ");
  Grab();
  RightClick(1, {});
  // The standard menu (Undo, Copy, Paste, ...) rather than the correction menu.
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(std::count(entries.begin(), entries.end(), "I&gnore"), 0);
}

}  // namespace
}  // namespace tovuri
