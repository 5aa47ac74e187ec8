#include "spell/ox3StringParser.h"

#include <algorithm>
#include <climits>

namespace tovuri {

void TStringParser::Init(std::string& text) {
  text_ = &text;
  x_ = 0;
  limit_x_ = 0;
  has_limit_ = false;
  selection_length_ = 0;
}

int TStringParser::Length() const {
  if (text_ == nullptr) return 0;
  return static_cast<int>(std::min<size_t>(text_->size(), INT_MAX - 2));
}

char TStringParser::CurrentChar() {
  if (has_limit_ && x_ > limit_x_) return '\0';
  return x_ >= 0 && x_ < Length() ? (*text_)[static_cast<size_t>(x_)] : '\0';
}

std::string TStringParser::CurrentLine() { return text_ != nullptr ? *text_ : std::string(); }

// The position may stand one past the last character (where the text's end
// closes the last word) and one further after a failed move, so that Prev
// always undoes a Next.
bool TStringParser::Next() {
  const bool inside = x_ < Length();
  if (x_ <= Length()) ++x_;
  if (has_limit_ && x_ > limit_x_) return false;
  return inside;
}

// Next succeeds and CurrentChar gives the character for every position
// before the text's end that is not past the end limit.
std::size_t TStringParser::TakeRun(const std::array<bool, 256>& marked, std::string& out) {
  if (text_ == nullptr || x_ < 0) return 0;
  int end = Length();
  if (has_limit_) end = std::min(end, limit_x_ < INT_MAX ? limit_x_ + 1 : INT_MAX);
  int at = x_ + 1;
  while (at < end && marked[static_cast<unsigned char>((*text_)[static_cast<size_t>(at)])]) ++at;
  const int taken = at - (x_ + 1);
  if (taken <= 0) return 0;
  out.append(*text_, static_cast<size_t>(x_) + 1, static_cast<size_t>(taken));
  x_ = at - 1;
  return static_cast<std::size_t>(taken);
}

bool TStringParser::Prev() {
  if (x_ <= 0) return false;
  --x_;
  return true;
}

void TStringParser::SetPosition(int x, int /*y*/, TPositionKind kind) {
  if (kind == TPositionKind::pkEndLimit) {
    limit_x_ = x;
    has_limit_ = true;
  } else {
    x_ = std::clamp(x, 0, Length() + 1);
  }
}

TTextPos TStringParser::GetEndLimit() {
  if (!has_limit_) return {INT_MAX, INT_MAX};
  return {limit_x_, 0};
}

TTextPos TStringParser::GetPosition() { return {x_, 0}; }

void TStringParser::SelectBack(int length) {
  length = std::clamp(length, 0, x_);
  selection_length_ = length;
  x_ -= length;
}

void TStringParser::ReplaceSelection(std::string_view text, int /*state*/) {
  if (text_ == nullptr) return;
  const int start = std::min(x_, Length());
  const int removed = std::min(selection_length_, Length() - start);
  const int added = static_cast<int>(std::min<size_t>(text.size(), INT_MAX / 2));
  if (has_limit_)
    limit_x_ = static_cast<int>(std::clamp<long long>(
        static_cast<long long>(limit_x_) + added - removed, INT_MIN, INT_MAX));
  text_->replace(static_cast<size_t>(start), static_cast<size_t>(removed), text.substr(0, added));
  x_ = start + added;
  selection_length_ = 0;
}

void TStringParser::SkipSelection(int /*state*/) {
  x_ = std::min(x_ + selection_length_, Length() + 1);
  selection_length_ = 0;
}

void TStringParser::ShowSelection() {}

TTextPos TStringParser::GetCaret() { return {x_, 0}; }

TTextRange TStringParser::GetSelection() { return {{x_, 0}, {x_, 0}}; }

TScreenRect TStringParser::ControlRect() { return {}; }

TScreenRect TStringParser::SelectionRect() { return {}; }

}  // namespace tovuri
