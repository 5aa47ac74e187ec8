#pragma once
// A control parser over a string variable: replacements change the caller's string.
#include <string>

#include "spell/ox3ParserBase.h"

namespace tovuri {

// Positions are 0-based character indices on line 0. The source has no
// selection of its own (the caret and the selection are the position) and no
// screen (its rectangles are all -1).
class TStringParser : public TControlParser {
 public:
  TStringParser() = default;
  explicit TStringParser(std::string& text) { Init(text); }

  // Binds the string and moves to its start, without an end limit.
  void Init(std::string& text);

  char CurrentChar() override;
  std::string CurrentLine() override;
  bool Next() override;
  std::size_t TakeRun(const std::array<bool, 256>& marked, std::string& out) override;
  bool Prev() override;
  void SetPosition(int x, int y, TPositionKind kind) override;
  TTextPos GetPosition() override;
  TTextPos GetEndLimit() override;
  void SelectBack(int length) override;
  void ReplaceSelection(std::string_view text, int state) override;
  void SkipSelection(int state) override;
  void ShowSelection() override;
  TTextPos GetCaret() override;
  TTextRange GetSelection() override;
  TScreenRect ControlRect() override;
  TScreenRect SelectionRect() override;

 private:
  int Length() const;

  std::string* text_ = nullptr;
  int x_ = 0;
  int limit_x_ = 0;
  bool has_limit_ = false;
  int selection_length_ = 0;
};

}  // namespace tovuri
