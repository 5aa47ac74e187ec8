#include <gtest/gtest.h>

#include "app/ox3DialogPlacement.h"

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

}  // namespace
}  // namespace tovuri
