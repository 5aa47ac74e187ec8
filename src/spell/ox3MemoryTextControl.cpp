#include "spell/ox3MemoryTextControl.h"

#include <algorithm>
#include <climits>

namespace tovuri {

TMemoryTextControl::TMemoryTextControl(std::string text) { SetText(std::move(text)); }

void TMemoryTextControl::SetText(std::string text) {
  text_ = std::move(text);
  if (text_.size() > INT_MAX / 2) text_.resize(INT_MAX / 2);
  selection_start_ = selection_end_ = 0;
  first_visible_ = 0;
  IndexLines();
}

void TMemoryTextControl::IndexLines() {
  line_starts_.assign(1, 0);
  for (size_t i = 0; i < text_.size(); ++i)
    if (text_[i] == '\n') line_starts_.push_back(static_cast<int>(i + 1));
}

int TMemoryTextControl::Clamp(int index) const {
  return std::clamp(index, 0, static_cast<int>(text_.size()));
}

int TMemoryTextControl::LineCount() const { return static_cast<int>(line_starts_.size()); }

std::string TMemoryTextControl::Line(int line, int max_length) const {
  ++line_reads_;
  if (line < 0 || line >= LineCount() || max_length <= 0) return {};
  const int start = line_starts_[static_cast<size_t>(line)];
  const int end = line + 1 < LineCount() ? line_starts_[static_cast<size_t>(line) + 1] - 1
                                         : static_cast<int>(text_.size());
  return text_.substr(static_cast<size_t>(start),
                      static_cast<size_t>(std::min(end - start, max_length)));
}

int TMemoryTextControl::LineIndex(int line) const {
  if (line < 0 || line >= LineCount()) return -1;
  return line_starts_[static_cast<size_t>(line)];
}

int TMemoryTextControl::LineFromChar(int index) const {
  const auto it = std::upper_bound(line_starts_.begin(), line_starts_.end(), Clamp(index));
  return static_cast<int>(it - line_starts_.begin()) - 1;
}

void TMemoryTextControl::GetSelection(int& start, int& end) const {
  start = selection_start_;
  end = selection_end_;
}

void TMemoryTextControl::SetSelection(int start, int end) {
  start = Clamp(start);
  end = Clamp(end);
  selection_start_ = std::min(start, end);
  selection_end_ = std::max(start, end);
}

void TMemoryTextControl::ReplaceSelection(std::string_view text) {
  const size_t room = INT_MAX / 2 - (text_.size() - static_cast<size_t>(selection_end_ - selection_start_));
  text = text.substr(0, std::min(text.size(), room));
  text_.replace(static_cast<size_t>(selection_start_),
                static_cast<size_t>(selection_end_ - selection_start_), text);
  selection_start_ = selection_end_ = selection_start_ + static_cast<int>(text.size());
  IndexLines();
}

void TMemoryTextControl::ScrollCaret() {
  const int line = LineFromChar(selection_end_);
  if (line < first_visible_) first_visible_ = line;
  if (line >= first_visible_ + visible_lines) first_visible_ = line - visible_lines + 1;
}

void TMemoryTextControl::ScrollLines(int lines) {
  first_visible_ = std::clamp(first_visible_ + lines, 0, LineCount() - 1);
}

TScreenPoint TMemoryTextControl::PositionFromChar(int index) const {
  index = Clamp(index);
  const int line = LineFromChar(index);
  const int column = index - line_starts_[static_cast<size_t>(line)];
  return {left + column * char_width, top + (line - first_visible_) * font_height};
}

std::string TMemoryTextControl::SelectedText() const {
  return text_.substr(static_cast<size_t>(selection_start_),
                      static_cast<size_t>(selection_end_ - selection_start_));
}

int TMemoryTextControl::CharFromClientPoint(TScreenPoint point) const {
  const int line = std::clamp(first_visible_ + point.y / font_height, 0, LineCount() - 1);
  const int length = static_cast<int>(Line(line, INT_MAX).size());
  const int column = std::clamp(point.x / char_width, 0, length);
  return line_starts_[static_cast<size_t>(line)] + column;
}

TScreenRect TMemoryTextControl::ControlRect() const {
  return {left, top, left + width, top + visible_lines * font_height};
}

}  // namespace tovuri
