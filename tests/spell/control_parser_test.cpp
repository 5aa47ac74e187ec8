#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "parse_test_support.h"
#include "spell/ox3MemoryTextControl.h"
#include "spell/ox3ParseEngine.h"
#include "spell/ox3StringParser.h"
#include "spell/ox3WinAPIParser.h"

namespace tovuri {
namespace {

using ::testing::ElementsAre;
using testing::AllWords;

// Every character Next reaches from the start, with "|" where Next failed.
std::string Walk(TControlParser& parser) {
  std::string seen(1, parser.CurrentChar());
  for (int guard = 0; guard < 1000 && parser.Next(); ++guard) seen += parser.CurrentChar();
  return seen;
}

TEST(StringParser, WalksTheStringAndStopsAtItsEnd) {
  std::string text = "ab";
  TStringParser parser(text);
  EXPECT_EQ(parser.CurrentChar(), 'a');
  EXPECT_TRUE(parser.Next());
  EXPECT_TRUE(parser.Next());  // onto the end, where the last word closes
  EXPECT_EQ(parser.CurrentChar(), '\0');
  EXPECT_FALSE(parser.Next());
  EXPECT_TRUE(parser.Prev());  // one Prev undoes the failed Next
  EXPECT_EQ(parser.GetPosition(), (TTextPos{2, 0}));
  parser.SetPosition(-5, 3, TPositionKind::pkPosition);
  EXPECT_EQ(parser.GetPosition(), (TTextPos{0, 0}));
  EXPECT_FALSE(parser.Prev());
  EXPECT_EQ(parser.CurrentLine(), "ab");
}

TEST(StringParser, EndLimitStopsReadingAfterIt) {
  std::string text = "abcdef";
  TStringParser parser(text);
  parser.SetPosition(2, 0, TPositionKind::pkEndLimit);
  EXPECT_TRUE(parser.Next());
  EXPECT_TRUE(parser.Next());
  EXPECT_EQ(parser.CurrentChar(), 'c');
  EXPECT_FALSE(parser.Next());
}

TEST(StringParser, ReplacesSelectionInTheCallersString) {
  struct Case {
    const char* text;
    int at;
    int length;
    const char* replacement;
    const char* result;
    int position;
    int limit_after;
  };
  const Case cases[] = {
      {"teh cat", 3, 3, "the", "the cat", 3, 10},
      {"a teh cat", 5, 3, "the old", "a the old cat", 9, 14},
      {"a teh cat", 5, 3, "", "a  cat", 2, 7},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    TStringParser parser(text);
    parser.SetPosition(10, 0, TPositionKind::pkEndLimit);
    parser.SetPosition(c.at, 0, TPositionKind::pkPosition);
    parser.SelectBack(c.length);
    parser.ReplaceSelection(c.replacement, 0);
    EXPECT_EQ(text, c.result) << "replacing in " << c.text;
    EXPECT_EQ(parser.GetPosition().x, c.position) << "replacing in " << c.text;
    // The limit moved with the text: reading stops right after it.
    parser.SetPosition(c.limit_after, 0, TPositionKind::pkPosition);
    EXPECT_FALSE(parser.Next()) << "limit after replacing in " << c.text;
  }
}

TEST(StringParser, LimitAtTheEndOfAllTextSurvivesReplacement) {
  std::string text = "ab cd";
  TStringParser parser(text);
  parser.SetPosition(INT_MAX, 0, TPositionKind::pkEndLimit);
  parser.SetPosition(2, 0, TPositionKind::pkPosition);
  parser.SelectBack(2);
  parser.ReplaceSelection("abc", 0);
  EXPECT_EQ(text, "abc cd");
  parser.SetPosition(5, 0, TPositionKind::pkPosition);
  EXPECT_TRUE(parser.Next());
  EXPECT_FALSE(parser.Next());
}

TEST(StringParser, SkipsSelectionAndHasNoScreen) {
  std::string text = "word rest";
  TStringParser parser(text);
  parser.SetPosition(4, 0, TPositionKind::pkPosition);
  parser.SelectBack(4);
  EXPECT_EQ(parser.GetPosition().x, 0);
  EXPECT_EQ(parser.GetCaret(), (TTextPos{0, 0}));
  EXPECT_EQ(parser.GetSelection(), (TTextRange{{0, 0}, {0, 0}}));
  parser.SkipSelection(10);
  EXPECT_EQ(parser.GetPosition().x, 4);
  EXPECT_EQ(parser.SelectionRect(), (TScreenRect{-1, -1, -1, -1}));
  EXPECT_EQ(parser.ControlRect(), (TScreenRect{-1, -1, -1, -1}));
  std::int32_t data = 7;
  parser.UndoNotify(0, TSpellAction::sacIgnore, data);
  EXPECT_EQ(data, 7);
}

TEST(WinAPIParser, TakesControlTypeFromClassName) {
  const struct {
    const char* name;
    TControlType type;
  } cases[] = {
      {"Edit", TControlType::ctEdit},          {"RichEdit20A", TControlType::ctRichEdit2},
      {"RICHEDIT", TControlType::ctRichEdit},  {"TSyntaxMemo", TControlType::ctRichEdit},
      {"TLMDMemo", TControlType::ctRichEdit},  {"TMemo", TControlType::ctEdit},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ControlTypeFromClassName(c.name), c.type) << "class " << c.name;
  TMemoryTextControl control;
  control.SetClassName("Edit");
  TWinAPIControlParser parser(control);
  EXPECT_EQ(parser.ControlType(), TControlType::ctEdit);
  parser.SetControlType(TControlType::ctRichEdit);
  EXPECT_EQ(parser.ControlType(), TControlType::ctRichEdit);
}

TEST(WinAPIParser, EndsEachLineWithCrLfAndReadsEachLineOnce) {
  TMemoryTextControl control("ab\n\ncd");
  TWinAPIControlParser parser(control);
  EXPECT_EQ(Walk(parser), "ab\r\n\r\ncd\r\n");
  EXPECT_EQ(parser.GetPosition(), (TTextPos{0, 3}));
  EXPECT_EQ(control.LineReads(), 3);
  // Back again across the line ends.
  std::string back;
  while (parser.Prev()) back += parser.CurrentChar();
  EXPECT_EQ(back, "\n\rdc\n\r\n\rba");
  EXPECT_EQ(parser.GetPosition(), (TTextPos{0, 0}));
  EXPECT_FALSE(parser.Prev());
}

TEST(WinAPIParser, NormalisesPositionsOffTheLine) {
  TMemoryTextControl control("abc\ndef");
  TWinAPIControlParser parser(control);
  parser.SetPosition(4, 0, TPositionKind::pkPosition);  // the LF of line 0
  EXPECT_EQ(parser.CurrentChar(), '\n');
  EXPECT_TRUE(parser.Next());
  EXPECT_EQ(parser.GetPosition(), (TTextPos{0, 1}));
  EXPECT_EQ(parser.CurrentLine(), "def");
  EXPECT_TRUE(parser.Prev());
  EXPECT_EQ(parser.GetPosition(), (TTextPos{4, 0}));
  parser.SetPosition(0, 7, TPositionKind::pkPosition);
  EXPECT_EQ(parser.CurrentChar(), '\0');
  EXPECT_FALSE(parser.Next());
}

TEST(WinAPIParser, EndLimitOnALineStopsAfterItsColumn) {
  TMemoryTextControl control("abc\ndef\nghi");
  TWinAPIControlParser parser(control);
  parser.SetPosition(1, 1, TPositionKind::pkEndLimit);
  EXPECT_EQ(Walk(parser), "abc\r\nde");
  EXPECT_EQ(parser.GetPosition(), (TTextPos{2, 1}));
}

TEST(WinAPIParser, ConvertsSelectionToLinesAndColumns) {
  TMemoryTextControl control("one\ntwo three\nfour");
  control.SetSelection(8, 16);
  TWinAPIControlParser parser(control);
  EXPECT_EQ(parser.GetSelection(), (TTextRange{{4, 1}, {2, 2}}));
  EXPECT_EQ(parser.GetCaret(), (TTextPos{4, 1}));
}

TEST(WinAPIParser, SelectsBackAndSkipsTheSelection) {
  TMemoryTextControl control("one\ntwo three");
  TWinAPIControlParser parser(control);
  parser.SetPosition(7, 1, TPositionKind::pkPosition);
  parser.SelectBack(3);
  int start = 0, end = 0;
  control.GetSelection(start, end);
  EXPECT_EQ(start, 8);
  EXPECT_EQ(end, 11);
  EXPECT_EQ(parser.GetPosition(), (TTextPos{4, 1}));
  parser.SkipSelection(10);
  EXPECT_EQ(parser.GetPosition(), (TTextPos{7, 1}));
}

// Checks a text as the checker does: every word w is replaced by fix(w) when
// it has one. Returns the words read.
std::vector<std::string> CorrectAll(TMainParsingEngine& engine, TControlParser& parser,
                                    const std::vector<std::pair<std::string, std::string>>& fixes) {
  std::vector<std::string> words;
  for (std::string word = engine.NextWord(); !word.empty(); word = engine.NextWord()) {
    words.push_back(word);
    for (const auto& [from, to] : fixes)
      if (word == from) {
        parser.SelectBack(static_cast<int>(word.size()));
        parser.ReplaceSelection(to, 0);
      }
  }
  return words;
}

TEST(WinAPIParser, ReplacementsShiftTheEndLimitOnTheirLine) {
  struct Case {
    const char* replacement;
    const char* result;
  };
  const Case cases[] = {
      {"the", "the cat sat mat"},
      {"a", "a cat sat mat"},
      {"the big", "the big cat sat mat"},
  };
  for (const Case& c : cases) {
    TMemoryTextControl control("teh cat sat mat");
    control.SetSelection(0, 11);  // "teh cat sat"
    TWinAPIControlParser parser(control);
    TMainParsingEngine engine;
    engine.Init(&parser, TCheckMode::cmSelection);
    const auto words = CorrectAll(engine, parser, {{"teh", c.replacement}});
    EXPECT_EQ(control.Text(), c.result) << "replacement " << c.replacement;
    // Words of the replacement are not read again; the selection still ends after "sat".
    EXPECT_THAT(words, ElementsAre("teh", "cat", "sat")) << "replacement " << c.replacement;
  }
}

TEST(WinAPIParser, ReplacementOnAnotherLineLeavesTheLimit) {
  TMemoryTextControl control("teh\ncat sat mat");
  control.SetSelection(0, 11);  // to the end of "sat"
  TWinAPIControlParser parser(control);
  TMainParsingEngine engine;
  engine.Init(&parser, TCheckMode::cmSelection);
  const auto words = CorrectAll(engine, parser, {{"teh", "the word"}});
  EXPECT_EQ(control.Text(), "the word\ncat sat mat");
  EXPECT_THAT(words, ElementsAre("teh", "cat", "sat"));
}

TEST(WinAPIParser, LineChangesAreReadAfterReplacement) {
  TMemoryTextControl control("aa bb\ncc dd");
  TWinAPIControlParser parser(control);
  TMainParsingEngine engine;
  engine.Init(&parser, TCheckMode::cmAll);
  const auto words = CorrectAll(engine, parser, {{"aa", "a"}, {"bb", "bbbbbb"}, {"cc", "cccc"}});
  EXPECT_EQ(control.Text(), "a bbbbbb\ncccc dd");
  // Each replacement changed the line's length; the rest of it was read from
  // the control again, not from the stale cache.
  EXPECT_THAT(words, ElementsAre("aa", "bb", "cc", "dd"));
  EXPECT_EQ(parser.GetPosition().y, 2);
}

TEST(WinAPIParser, RefreshReadsTextChangedBehindItsBack) {
  TMemoryTextControl control("abc def");
  TWinAPIControlParser parser(control);
  parser.SetPosition(4, 0, TPositionKind::pkPosition);
  EXPECT_EQ(parser.CurrentChar(), 'd');
  control.SetText("abc xyz");
  EXPECT_EQ(parser.CurrentChar(), 'd');  // still the cached line
  parser.Refresh();
  EXPECT_EQ(parser.CurrentChar(), 'x');
}

TEST(WinAPIParser, SelectionRectangleFollowsTheSelectedWord) {
  TMemoryTextControl control("one\ntwo cat\nthree");
  control.SetSelection(8, 11);  // "cat"
  TWinAPIControlParser parser(control);
  EXPECT_EQ(parser.SelectionRect(), (TScreenRect{100 + 4 * 8, 216, 100 + 7 * 8, 232}));
  EXPECT_EQ(parser.ControlRect(), (TScreenRect{100, 200, 500, 360}));
}

TEST(WinAPIParser, ShowSelectionCentresTheCurrentLine) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "line " + std::to_string(i) + "\n";
  TMemoryTextControl control(text);
  TWinAPIControlParser parser(control);
  const int line = 40;
  parser.SetPosition(6, line, TPositionKind::pkPosition);
  parser.SelectBack(2);
  parser.ShowSelection();
  EXPECT_EQ(control.FirstVisibleLine(), line - control.visible_lines / 2);
  int start = 0, end = 0;
  control.GetSelection(start, end);
  EXPECT_EQ(end - start, 2);
  EXPECT_EQ(start, control.LineIndex(line) + 4);
}

TEST(WinAPIParser, WordsNeverRunAcrossLines) {
  TMemoryTextControl control("hello\nworld\n\nend.");
  TWinAPIControlParser parser(control);
  TMainParsingEngine engine;
  engine.Init(&parser, TCheckMode::cmAll);
  EXPECT_THAT(AllWords(engine), ElementsAre("hello", "world", "end"));
}

TEST(WinAPIParser, EmptyControlHasNoWords) {
  TMemoryTextControl control("");
  TWinAPIControlParser parser(control);
  TMainParsingEngine engine;
  engine.Init(&parser, TCheckMode::cmAll);
  EXPECT_EQ(engine.NextWord(), "");
  TWinAPIControlParser unbound;
  EXPECT_EQ(unbound.CurrentChar(), '\0');
  EXPECT_FALSE(unbound.Next());
  EXPECT_FALSE(unbound.Prev());
}

}  // namespace
}  // namespace tovuri
