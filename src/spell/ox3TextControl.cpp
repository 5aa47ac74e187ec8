#include "spell/ox3TextControl.h"

namespace tovuri {

TTextControl::~TTextControl() = default;

std::string TTextControl::ClassName() const { return "Edit"; }

bool TTextControl::ReadOnly() const { return false; }

bool TTextControl::MultiLine() const { return true; }

std::string TTextControl::SelectedText() const { return {}; }

int TTextControl::CaretIndex() const {
  int start = 0, end = 0;
  GetSelection(start, end);
  return end;
}

void TTextControl::SetRedraw(bool) {}

void TTextControl::Repaint() {}

void TTextControl::InvalidateBand(int, int) {}

TScreenPoint TTextControl::ClientPositionFromChar(int index) const {
  const TScreenPoint screen = PositionFromChar(index);
  const TScreenRect rect = ControlRect();
  return {screen.x - rect.left, screen.y - rect.top};
}

int TTextControl::CharBaseline(int index) const { return ClientPositionFromChar(index).y + FontHeight(); }

int TTextControl::CharFromClientPoint(TScreenPoint) const { return -1; }

int TTextControl::ClientWidth() const {
  const TScreenRect rect = ControlRect();
  return rect.right - rect.left;
}

TScreenPoint TTextControl::ClientToScreen(TScreenPoint point) const {
  const TScreenRect rect = ControlRect();
  return {point.x + rect.left, point.y + rect.top};
}

}  // namespace tovuri
