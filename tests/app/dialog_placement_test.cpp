#include <gtest/gtest.h>

#include "app/ui/ox3DialogPlacement.h"

namespace tovuri {
namespace {

using enum TSpellDialogAvoidPos;

const QRect kWork(0, 0, 1000, 800);
const QSize kDialog(300, 200);

TEST(DialogPlacement, GoesBelowTheControlElseRightAboveOrLeft) {
  struct Case {
    QRect control;
    QPoint expected;
  };
  const Case cases[] = {
      {QRect(100, 100, 400, 300), QPoint(100, 400)},  // below, left edges aligned
      {QRect(100, 300, 400, 400), QPoint(500, 300)},  // no room below: right, tops aligned
      {QRect(500, 300, 400, 400), QPoint(500, 100)},  // nor right: above
      {QRect(400, 150, 600, 500), QPoint(100, 150)},  // only left
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceNearControl(QRect(QPoint(), kDialog), c.control, QRect(), kWork, false), c.expected)
        << c.control.x() << "," << c.control.y();
}

TEST(DialogPlacement, WithNoRoomAroundTheControlCentresOnItOrMovesOffTheWord) {
  const QRect control(0, 0, 1000, 800);
  const QRect word(100, 100, 40, 16);
  EXPECT_EQ(PlaceNearControl(QRect(QPoint(), kDialog), control, word, kWork, true), QPoint(350, 300));
  const QPoint off = PlaceNearControl(QRect(QPoint(), kDialog), control, word, kWork, false);
  EXPECT_FALSE(QRect(off, kDialog).intersects(word));
}

TEST(DialogPlacement, AvoidMovesOnlyAnOverlappingDialogAndMoveAlways) {
  const QRect word(400, 100, 50, 16);
  const QRect over(QPoint(300, 50), kDialog);
  const QRect clear(QPoint(300, 500), kDialog);
  EXPECT_EQ(MoveOffWord(over, word, kWork, saNone), over.topLeft());
  EXPECT_EQ(MoveOffWord(clear, word, kWork, saAvoid), clear.topLeft());
  for (const auto avoid : {saAvoid, saAvoidUpDown, saMove, saMoveUpDown}) {
    const QPoint moved = MoveOffWord(over, word, kWork, avoid);
    EXPECT_FALSE(QRect(moved, kDialog).intersects(word));
    EXPECT_TRUE(kWork.contains(QRect(moved, kDialog)));
  }
  // The up-and-down kinds keep the dialog's column.
  EXPECT_EQ(MoveOffWord(over, word, kWork, saAvoidUpDown).x(), 300);
  // Move kinds move even a dialog clear of the word: next to it, below (the nearer side).
  EXPECT_EQ(MoveOffWord(clear, word, kWork, saMove), QPoint(300, 124));
}

TEST(DialogPlacement, AWindowLargerThanTheScreenShrinksAndKeepsItsTitleBarOnIt) {
  // 1280 x 900 at a scale factor of 2, less a panel: the main window of 648 x 526.
  const QRect work(0, 0, 640, 434);
  const QSize frame(2, 32);
  // The frame's top left with the client's size.
  struct Case {
    QRect window;
    QRect expected;
  };
  const Case cases[] = {
      {QRect(-4, -46, 648, 526), QRect(0, 0, 638, 402)},     // shrunk, the frame's top left on the screen
      {QRect(100, 50, 300, 200), QRect(100, 50, 300, 200)},  // fits: left alone
      {QRect(500, 300, 300, 200), QRect(338, 202, 300, 200)},  // moved back inside
  };
  for (const Case& c : cases) EXPECT_EQ(FitIntoWorkArea(c.window, frame, QSize(), work), c.expected) << c.window.x();
  // Never below the window's least size, but the title bar stays in reach.
  EXPECT_EQ(FitIntoWorkArea(QRect(0, 0, 648, 526), frame, QSize(400, 500), work), QRect(0, 0, 638, 500));
}

}  // namespace
}  // namespace tovuri
