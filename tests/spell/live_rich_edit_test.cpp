#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spell/ox3LiveRichEdit.h"
#include "spell/ox3MemoryTextControl.h"
#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;
using Spans = std::vector<std::pair<int, int>>;

// Keeps every polyline drawn.
class RecordingPainter final : public TLivePainter {
 public:
  void Polyline(const std::vector<TScreenPoint>& points, std::uint32_t colour) override {
    lines.push_back(points);
    colours.push_back(colour);
  }
  std::vector<std::vector<TScreenPoint>> lines;
  std::vector<std::uint32_t> colours;
};

class LiveRichEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = home_.Folder("dicts");
    WriteMainDictionary(folder_ / "Test.oxm", {"the", "cat", "sat", "on", "mat"});
    Configure(spell_, folder_, {TSpellOption::soLiveSpelling, TSpellOption::soLiveCorrect});
    live_.AttachControl(&control_);
    live_.SetSpell(&spell_);
  }
  Spans SpansOf(int line) const {
    Spans spans;
    if (const TLineCache* cache = live_.LineCache(line))
      for (const TSpellingError& e : cache->Errors) spans.push_back({e.Start, e.End});
    return spans;
  }
  RecordingPainter Paint() {
    RecordingPainter painter;
    live_.Paint(painter);
    return painter;
  }

  TempHome home_;
  fs::path folder_;
  TOrthexSpell3 spell_;
  TMemoryTextControl control_;
  TOrthexLiveRichEdit live_;
};

TEST_F(LiveRichEdit, ZigZagRunsUnderTheWordEveryTwoPixelsFourAndTwoAboveTheBaseline) {
  control_.SetText("the cqt sat");
  const RecordingPainter painter = Paint();
  ASSERT_EQ(painter.lines.size(), 1u);
  EXPECT_EQ(painter.colours[0], 255u);
  // Characters are 8 pixels wide and lines 16 high: "cqt" spans x 32 to 56, baseline 16.
  std::vector<TScreenPoint> expected;
  for (int i = 0; i <= 12; ++i) expected.push_back({32 + 2 * i, i % 2 == 0 ? 12 : 14});
  EXPECT_EQ(painter.lines[0], expected);
}

TEST_F(LiveRichEdit, TheWordAtTheCaretWaitsUntilTheCaretLeavesItsLine) {
  control_.SetText("the cqt\nsat");
  control_.SetSelection(7, 7);
  Paint();
  EXPECT_EQ(SpansOf(0), Spans{});
  ASSERT_NE(live_.LineCache(0), nullptr);
  EXPECT_TRUE(live_.LineCache(0)->NeedsRecheck);
  control_.SetSelection(9, 9);
  live_.SelectionChanged();
  // The band of line 0 is redrawn, and the repaint underlines the word.
  EXPECT_EQ(control_.bands, (std::vector<std::pair<int, int>>{{0, 16}}));
  Paint();
  EXPECT_EQ(SpansOf(0), (Spans{{4, 7}}));
}

TEST_F(LiveRichEdit, OnlyVisibleLinesAreChecked) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "the cqt\n";
  control_.SetText(text);
  control_.ScrollLines(12);
  Paint();
  EXPECT_EQ(live_.LineCache(0), nullptr);
  EXPECT_EQ(live_.LineCache(11), nullptr);
  EXPECT_EQ(SpansOf(12), (Spans{{4, 7}}));
  EXPECT_EQ(SpansOf(21), (Spans{{4, 7}}));
  EXPECT_EQ(live_.LineCache(22), nullptr);
}

TEST_F(LiveRichEdit, DictionaryChangesRecheckEveryLine) {
  control_.SetText("the cqt\ncqt sat");
  Paint();
  EXPECT_EQ(SpansOf(1), (Spans{{0, 3}}));
  spell_.ActiveCustomDictionary()->AddWord("cqt");
  spell_.ApplyConfiguration(true);
  EXPECT_GT(control_.repaints, 0);
  Paint();
  EXPECT_EQ(SpansOf(0), Spans{});
  EXPECT_EQ(SpansOf(1), Spans{});
}

TEST_F(LiveRichEdit, LiveCorrectionReplacesTheFinishedWordAndKeepsTheCaretAfterTheDelimiter) {
  spell_.ActiveCustomDictionary()->AddAutoCorrect("teh", "the");
  for (const char delimiter : {' ', '.', ',', ';', ':', '\t'}) {
    control_.SetText(std::string("cat teh") + delimiter);
    control_.SetSelection(8, 8);
    live_.KeyPressed(delimiter);
    live_.KeyReleased();
    EXPECT_EQ(control_.Text(), std::string("cat the") + delimiter);
    EXPECT_EQ(control_.CaretIndex(), 8);
    EXPECT_EQ(control_.redraw_suspended, 0);
  }
  // Any other character leaves the word alone.
  control_.SetText("cat teh-");
  control_.SetSelection(8, 8);
  live_.KeyPressed('-');
  live_.KeyReleased();
  EXPECT_EQ(control_.Text(), "cat teh-");
}

TEST_F(LiveRichEdit, NothingHappensWithoutAComponent) {
  TOrthexLiveRichEdit lone;
  TMemoryTextControl control("the cqt ");
  lone.AttachControl(&control);
  EXPECT_FALSE(lone.LiveSpellingActive());
  RecordingPainter painter;
  lone.Paint(painter);
  EXPECT_TRUE(painter.lines.empty());
  EXPECT_FALSE(lone.ContextMenu({40, 4}));
}

}  // namespace
}  // namespace tovuri
