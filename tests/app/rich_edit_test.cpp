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

}  // namespace
}  // namespace tovuri
