#include "app/ui/ox3DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace tovuri {

namespace {

// Keeps a rectangle of the dialog's size at top_left inside the work area.
QPoint Clamp(QPoint top_left, const QRect& dialog, const QRect& work) {
  const int x = std::clamp(top_left.x(), work.left(), std::max(work.left(), work.right() + 1 - dialog.width()));
  const int y = std::clamp(top_left.y(), work.top(), std::max(work.top(), work.bottom() + 1 - dialog.height()));
  return {x, y};
}

bool Fits(QPoint top_left, const QRect& dialog, const QRect& work) {
  return work.contains(QRect(top_left, dialog.size()));
}

}  // namespace

QRect ToQRect(const TScreenRect& rect) {
  if (rect.left == -1 && rect.top == -1 && rect.right == -1 && rect.bottom == -1) return {};
  return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

QPoint PlaceNearControl(const QRect& dialog, const QRect& control, const QRect& word, const QRect& work,
                        bool centre) {
  if (control.isNull()) return dialog.topLeft();
  const QPoint candidates[] = {
      {control.left(), control.bottom() + 1},
      {control.right() + 1, control.top()},
      {control.left(), control.top() - dialog.height()},
      {control.left() - dialog.width(), control.top()},
  };
  for (const QPoint& p : candidates)
    if (Fits(p, dialog, work)) return p;
  if (centre || word.isNull()) {
    QRect centred(QPoint(), dialog.size());
    centred.moveCenter(control.center());
    return Clamp(centred.topLeft(), dialog, work);
  }
  return MoveOffWord(QRect(dialog), word, work, TSpellDialogAvoidPos::saMove);
}

QPoint MoveOffWord(const QRect& dialog, const QRect& word, const QRect& work, TSpellDialogAvoidPos avoid) {
  using enum TSpellDialogAvoidPos;
  if (avoid == saNone || word.isNull()) return dialog.topLeft();
  if ((avoid == saAvoid || avoid == saAvoidUpDown) && !dialog.intersects(word)) return dialog.topLeft();
  const int gap = 8;
  const QPoint below = Clamp({dialog.left(), word.bottom() + 1 + gap}, dialog, work);
  const QPoint above = Clamp({dialog.left(), word.top() - gap - dialog.height()}, dialog, work);
  // The nearer side first: the dialog stays close to the word it shows.
  const bool below_first = word.center().y() < work.center().y();
  QPoint candidates[4] = {below_first ? below : above, below_first ? above : below,
                          Clamp({word.right() + 1 + gap, dialog.top()}, dialog, work),
                          Clamp({word.left() - gap - dialog.width(), dialog.top()}, dialog, work)};
  const int count = (avoid == saAvoid || avoid == saMove) ? 4 : 2;
  for (int i = 0; i < count; ++i)
    if (!QRect(candidates[i], dialog.size()).intersects(word)) return candidates[i];
  return candidates[0];
}

namespace {

// Pixels of left and right border together that a window manager adds.
constexpr int kAssumedBorders = 8;

}  // namespace

QRect FitIntoWorkArea(const QRect& window, const QSize& frame_extra, const QSize& minimum, const QRect& work) {
  const QSize size = window.size().boundedTo(work.size() - frame_extra).expandedTo(minimum);
  QRect frame(window.topLeft(), size + frame_extra);
  // The title bar comes first: a frame taller than the work area still shows it.
  if (frame.right() > work.right()) frame.moveRight(work.right());
  if (frame.bottom() > work.bottom()) frame.moveBottom(work.bottom());
  if (frame.left() < work.left()) frame.moveLeft(work.left());
  if (frame.top() < work.top()) frame.moveTop(work.top());
  return QRect(frame.topLeft(), size);
}

void FitOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect work = screen->availableGeometry();
  // Before the window system has framed the window, a title bar and borders
  // of a usual size are assumed.
  QSize extra = window.frameGeometry().size() - window.size();
  if (extra.height() <= 0) extra = extra.expandedTo(QSize(kAssumedBorders, window.fontMetrics().height() * 2));
  const QRect fitted =
      FitIntoWorkArea(QRect(window.frameGeometry().topLeft(), window.size()), extra, window.minimumSize(), work);
  if (fitted.size() != window.size()) window.resize(fitted.size());
  if (fitted.topLeft() != window.frameGeometry().topLeft()) window.move(fitted.topLeft());
}

}  // namespace tovuri
