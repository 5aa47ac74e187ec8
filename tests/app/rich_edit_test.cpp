#include <gtest/gtest.h>

#include "app_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;
using Spans = std::vector<std::pair<int, int>>;

class RichEdit : public LiveEditorFixture {};

TEST_F(RichEdit, TypedTextIsUnderlinedUnderExactlyTheMisspeltWords) {
  SetUpSpell({"the", "cat", "sat", "on", "mat"});
  ShowEditor();
  QTest::keyClicks(editor_.get(), "the cqt sat on the mqt");
  Grab();
  // The last word is still being typed: not underlined yet.
  EXPECT_EQ(SpansOf(0), (Spans{{4, 7}}));
  QTest::keyClicks(editor_.get(), " ");
  const QImage image = Grab();
  EXPECT_EQ(SpansOf(0), (Spans{{4, 7}, {19, 22}}));

  // The pixels: red under each misspelt word, none under the correct ones.
  const int baseline = editor_->CharBaseline(0);
  const auto x = [&](int index) { return editor_->ClientPositionFromChar(index).x; };
  EXPECT_GT(RedPixels(image, x(4), x(7), baseline - 5, baseline), 4);
  EXPECT_GT(RedPixels(image, x(19), x(22), baseline - 5, baseline), 4);
  EXPECT_EQ(RedPixels(image, x(0), x(3), 0, image.height()), 0);
  EXPECT_EQ(RedPixels(image, x(8), x(18), 0, image.height()), 0);
}

TEST_F(RichEdit, TypingAWordWithAnAutoCorrectPairAndASpaceReplacesIt) {
  SetUpSpell({"the", "cat", "sat"});
  ShowEditor();
  ASSERT_NE(spell_.ActiveCustomDictionary(), nullptr);
  spell_.ActiveCustomDictionary()->AddAutoCorrect("teh", "the");
  QTest::keyClicks(editor_.get(), "cat teh");
  EXPECT_EQ(Text(), "cat teh");
  QTest::keyClicks(editor_.get(), " ");
  EXPECT_EQ(Text(), "cat the ");
  EXPECT_EQ(editor_->CaretIndex(), 8);
  QTest::keyClicks(editor_.get(), "sat");
  EXPECT_EQ(Text(), "cat the sat");
}

TEST_F(RichEdit, AnAutoCorrectPairAppliesToTheOtherCaseOfTheFirstLetterInTheWordsShape) {
  SetUpSpell({"the", "cat", "sat"});
  ShowEditor();
  ASSERT_NE(spell_.ActiveCustomDictionary(), nullptr);
  spell_.ActiveCustomDictionary()->AddAutoCorrect("Ngiyabthanda", "Ngiyabathanda");
  spell_.ActiveCustomDictionary()->AddAutoCorrect("umntu", "umuntu");
  QTest::keyClicks(editor_.get(), "Ngiyabthanda ngiyabthanda NGIYABTHANDA Umntu umntu ");
  EXPECT_EQ(Text(), "Ngiyabathanda ngiyabathanda NGIYABATHANDA Umuntu umuntu ");
}

TEST_F(RichEdit, WithTheUsersLiveSpellingOptionOffNothingIsUnderlined) {
  SetUpSpell({"the", "cat"}, {TSpellOption::soLiveCorrect});
  ShowEditor();
  EXPECT_TRUE(editor_->LiveSpelling());
  EXPECT_FALSE(editor_->LiveEditor().LiveSpellingActive());
  editor_->setPlainText("the dgo cat ");
  const QImage image = Grab();
  EXPECT_EQ(SpansOf(0), Spans{});
  EXPECT_EQ(RedPixels(image, 0, image.width(), 0, image.height()), 0);
  // Switching the option on (as the options dialog does) underlines at once.
  TSpellOptions options = spell_.Configuration().SpellOptionsValue();
  options.Include(TSpellOption::soLiveSpelling);
  spell_.Configuration().SetSpellOptions(options);
  Grab();
  EXPECT_EQ(SpansOf(0), (Spans{{4, 7}}));
}

TEST_F(RichEdit, ReadOnlyEditorIsUnderlinedOnlyWithLiveSpellingReadOnly) {
  SetUpSpell({"the", "cat"});
  ShowEditor();
  editor_->setPlainText("the dgo cat ");
  editor_->setReadOnly(true);
  QImage image = Grab();
  EXPECT_EQ(SpansOf(0), Spans{});
  EXPECT_EQ(RedPixels(image, 0, image.width(), 0, image.height()), 0);
  editor_->SetLiveSpellingReadOnly(true);
  image = Grab();
  EXPECT_EQ(SpansOf(0), (Spans{{4, 7}}));
  EXPECT_GT(RedPixels(image, 0, image.width(), 0, image.height()), 4);
  editor_->SetLiveSpellingReadOnly(false);
  editor_->setReadOnly(false);
  Grab();
  EXPECT_EQ(SpansOf(0), (Spans{{4, 7}}));
}

TEST_F(RichEdit, PublishesItsSettingsWithTheirDefaults) {
  SetUpSpell({"the"});
  ShowEditor();
  EXPECT_TRUE(editor_->LiveSpelling());
  EXPECT_TRUE(editor_->LiveCorrect());
  EXPECT_EQ(editor_->OrthexSpell(), &spell_);
  EXPECT_EQ(editor_->LiveSpellingColor(), QColor(255, 0, 0));
  EXPECT_TRUE(editor_->DoubleBuffered());
  EXPECT_TRUE(editor_->LiveSpellingOptions());
  EXPECT_EQ(editor_->LiveMenuOptionBits(), 254);
  EXPECT_FALSE(editor_->LiveSpellingReadOnly());
  EXPECT_EQ(editor_->Version().toStdString(), "3.2.2 Pro");
  EXPECT_EQ(editor_->property("LiveMenuOptions").toInt(), 254);
}

TEST_F(RichEdit, AQuotedWordIsJudgedWithoutItsClosingQuote) {
  SetUpSpell({"the", "cat", "sat"});
  ShowEditor();
  editor_->setPlainText(QString::fromUtf8("the \u2018cat\u2019 sat \u2018cqt\u2019 sat"));
  Grab();
  // The tokenizer keeps the closing quote with its word: only the misspelt one is underlined.
  EXPECT_EQ(SpansOf(0), (Spans{{15, 19}}));
}

TEST_F(RichEdit, CharactersWindows1252CannotHoldStayIntactAndTheirWordIsNotAccepted) {
  SetUpSpell({"the", "cat", "caf\xE9"});
  ShowEditor();
  const QString text = QString::fromUtf8("the caf\u00e9 \u03b1\u03b2 cat\U0001F600s cat ");
  editor_->setPlainText(text);
  Grab();
  // One byte per UTF-16 unit: the emoji's two units keep the later offsets
  // aligned. Greek letters make a word no dictionary holds; the emoji parts
  // "cat" from "s" as a space would.
  EXPECT_EQ(SpansOf(0), (Spans{{9, 11}}));
  EXPECT_EQ(editor_->toPlainText(), text);
  EXPECT_EQ(editor_->Line(0, 100).size(), static_cast<size_t>(text.size()));
}

TEST_F(RichEdit, LinesAreTheVisualLinesOfTheLayout) {
  SetUpSpell({"the"});
  ShowEditor();
  editor_->setLineWrapMode(QTextEdit::FixedPixelWidth);
  editor_->setLineWrapColumnOrWidth(120);
  editor_->setPlainText("the the the the the the the the the the\nthe");
  QApplication::processEvents();
  const int lines = editor_->LineCount();
  ASSERT_GT(lines, 2);
  std::string joined;
  for (int line = 0; line < lines; ++line) {
    EXPECT_EQ(editor_->LineFromChar(editor_->LineIndex(line)), line);
    joined += editor_->Line(line, 4096);
    if (line + 1 < lines && editor_->LineIndex(line + 1) > editor_->LineIndex(line) +
                                                            static_cast<int>(editor_->Line(line, 4096).size()))
      joined += "\n";
  }
  EXPECT_EQ(joined, Text());
}

}  // namespace
}  // namespace tovuri
