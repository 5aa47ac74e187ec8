#include "spell/ox3WinAPIParser.h"

#include <algorithm>
#include <climits>

#include "common/ansi_case.h"

namespace tovuri {

TControlType ControlTypeFromClassName(std::string_view class_name) {
  const std::string name = AnsiLowerCase(class_name);
  if (name.find("richedit2") != std::string::npos) return TControlType::ctRichEdit2;
  for (const char* kind : {"richedit", "syntaxmemo", "lmdmemo"})
    if (name.find(kind) != std::string::npos) return TControlType::ctRichEdit;
  return TControlType::ctEdit;
}

void TWinAPIControlParser::Init(TTextControl& control) {
  control_ = &control;
  type_ = ControlTypeFromClassName(control.ClassName());
  x_ = y_ = 0;
  cached_line_ = -1;
  dirty_ = true;
  has_limit_ = false;
  selection_start_ = selection_length_ = 0;
}

bool TWinAPIControlParser::LoadLine(int line) {
  if (control_ == nullptr) return false;
  if (line == cached_line_ && !dirty_) return true;
  line_count_ = control_->LineCount();
  if (line < 0 || line >= line_count_) return false;
  line_ = control_->Line(line, kMaxLineLength);
  if (line_.size() > static_cast<size_t>(kMaxLineLength)) line_.resize(kMaxLineLength);
  line_ += "\r\n";
  line_length_ = static_cast<int>(line_.size());
  cached_line_ = line;
  dirty_ = false;
  return true;
}

// Brings a column that ran off its line onto the next or previous line, and
// answers whether the position is inside the text and within the end limit.
bool TWinAPIControlParser::Normalize() {
  if (y_ < 0) {
    x_ = y_ = 0;
    return false;
  }
  if (!LoadLine(y_)) {
    if (x_ >= 0) {
      // Past the end: stay just after the last line, so one Prev comes back.
      if (control_ != nullptr && y_ >= line_count_) {
        x_ = 0;
        y_ = line_count_;
      }
      return false;
    }
    // Stepping back from past the last line lands on the last line's end.
    if (y_ == 0) {
      x_ = 0;
      return false;
    }
    y_ = std::min(y_ - 1, control_ != nullptr ? control_->LineCount() - 1 : -1);
    if (!LoadLine(y_)) {
      x_ = y_ = 0;
      return false;
    }
    x_ = line_length_ - 1;
  }
  while (x_ >= line_length_) {
    x_ = 0;
    ++y_;
    if (!LoadLine(y_)) return false;
  }
  while (x_ < 0) {
    if (y_ == 0) {
      x_ = 0;
      return false;
    }
    --y_;
    if (!LoadLine(y_)) return false;
    x_ = line_length_ - 1;
  }
  if (has_limit_ && (y_ > limit_y_ || (y_ == limit_y_ && x_ > limit_x_))) return false;
  return true;
}

char TWinAPIControlParser::CurrentChar() {
  if (!LoadLine(y_) || x_ < 0 || x_ >= line_length_) return '\0';
  // Nothing past the end limit is part of the text being read.
  if (has_limit_ && (y_ > limit_y_ || (y_ == limit_y_ && x_ > limit_x_))) return '\0';
  return line_[static_cast<size_t>(x_)];
}

std::string TWinAPIControlParser::CurrentLine() {
  if (!LoadLine(y_)) return {};
  return line_.substr(0, static_cast<size_t>(line_length_ - 2));
}

bool TWinAPIControlParser::Next() {
  ++x_;
  // Most moves stay on the cached line.
  if (y_ == cached_line_ && !dirty_ && x_ < line_length_ &&
      !(has_limit_ && y_ >= limit_y_))
    return true;
  return Normalize();
}

bool TWinAPIControlParser::Prev() {
  if (x_ <= 0 && y_ <= 0) {
    x_ = y_ = 0;
    return false;
  }
  --x_;
  return Normalize();
}

void TWinAPIControlParser::SetPosition(int x, int y, TPositionKind kind) {
  if (kind == TPositionKind::pkEndLimit) {
    limit_x_ = x;
    limit_y_ = y;
    has_limit_ = true;
  } else {
    x_ = x;
    y_ = std::max(y, 0);
  }
}

TTextPos TWinAPIControlParser::GetEndLimit() {
  if (!has_limit_) return {INT_MAX, INT_MAX};
  return {limit_x_, limit_y_};
}

TTextPos TWinAPIControlParser::GetPosition() { return {x_, y_}; }

TTextPos TWinAPIControlParser::PositionOfChar(int index) const {
  if (control_ == nullptr) return {};
  const int line = std::max(control_->LineFromChar(index), 0);
  return {index - std::max(control_->LineIndex(line), 0), line};
}

void TWinAPIControlParser::SelectBack(int length) {
  if (control_ == nullptr) return;
  length = std::max(length, 0);
  x_ -= length;
  const int line_start = std::max(control_->LineIndex(y_), 0);
  selection_start_ = std::max(line_start + x_, 0);
  selection_length_ = length;
  // A selection reaching back over a line break starts on an earlier line.
  if (x_ < 0) {
    const TTextPos start = PositionOfChar(selection_start_);
    x_ = start.x;
    y_ = start.y;
  }
  control_->SetSelection(selection_start_, selection_start_ + selection_length_);
}

void TWinAPIControlParser::ReplaceSelection(std::string_view text, int /*state*/) {
  if (control_ == nullptr) return;
  control_->SetSelection(selection_start_, selection_start_ + selection_length_);
  const int added = static_cast<int>(std::min<size_t>(text.size(), INT_MAX / 4));
  if (has_limit_ && limit_y_ == y_)
    limit_x_ = static_cast<int>(std::clamp<long long>(
        static_cast<long long>(limit_x_) + added - selection_length_, INT_MIN, INT_MAX));
  control_->ReplaceSelection(text.substr(0, static_cast<size_t>(added)));
  x_ += added;
  selection_length_ = 0;
  dirty_ = true;
}

void TWinAPIControlParser::SkipSelection(int /*state*/) {
  if (control_ == nullptr) return;
  int start = 0, end = 0;
  control_->GetSelection(start, end);
  x_ += end - start;
}

void TWinAPIControlParser::ShowSelection() {
  if (control_ == nullptr) return;
  int start = 0, end = 0;
  control_->GetSelection(start, end);
  const int font_height = control_->FontHeight();
  const int visible = font_height > 0 ? control_->ClientHeight() / font_height : 0;
  const int wanted_first = std::max(y_ - visible / 2, 0);
  control_->ScrollLines(wanted_first - control_->FirstVisibleLine());
  control_->SetSelection(end, end);
  control_->ScrollCaret();
  control_->SetSelection(start, start);
  control_->ScrollCaret();
  control_->SetSelection(start, end);
}

TTextPos TWinAPIControlParser::GetCaret() { return GetSelection().start; }

TTextRange TWinAPIControlParser::GetSelection() {
  if (control_ == nullptr) return {};
  int start = 0, end = 0;
  control_->GetSelection(start, end);
  return {PositionOfChar(start), PositionOfChar(end)};
}

TScreenRect TWinAPIControlParser::ControlRect() {
  return control_ != nullptr ? control_->ControlRect() : TScreenRect{};
}

TScreenRect TWinAPIControlParser::SelectionRect() {
  if (control_ == nullptr) return {};
  int start = 0, end = 0;
  control_->GetSelection(start, end);
  const TScreenPoint top_left = control_->PositionFromChar(start);
  TScreenRect rect{top_left.x, top_left.y, control_->PositionFromChar(end).x,
                   top_left.y + control_->FontHeight()};
  const int next_line = control_->LineFromChar(start) + 1;
  if (next_line < control_->LineCount()) {
    const int next_top = control_->PositionFromChar(control_->LineIndex(next_line)).y;
    rect.bottom = std::max(rect.bottom, next_top);
  }
  return rect;
}

}  // namespace tovuri
