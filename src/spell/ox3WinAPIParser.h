#pragma once
// A control parser over an editing control, read one line at a time.
#include <string>
#include <string_view>

#include "spell/ox3ParserBase.h"
#include "spell/ox3TextControl.h"

namespace tovuri {

// Plain edit, rich edit, rich edit 2: decides how character positions are asked for.
enum class TControlType : std::uint8_t { ctEdit, ctRichEdit, ctRichEdit2 };

// The type a window class name stands for (any case).
TControlType ControlTypeFromClassName(std::string_view class_name);

// Positions are (column, line), both from 0. The current line is cached with
// CR LF appended, so a word never runs into the line's end; a line longer
// than kMaxLineLength characters is cut there.
class TWinAPIControlParser : public TControlParser {
 public:
  static constexpr int kMaxLineLength = 16374;

  TWinAPIControlParser() = default;
  explicit TWinAPIControlParser(TTextControl& control) { Init(control); }

  // Binds the control, takes its type from its class name, moves to (0, 0)
  // and drops any end limit.
  void Init(TTextControl& control);
  TControlType ControlType() const { return type_; }
  // A checker that knows the control is a rich edit says so here.
  void SetControlType(TControlType type) { type_ = type; }
  // Forgets the cached line, for a control whose text changed behind the
  // parser's back (the user typed between two background reads).
  void Refresh() { dirty_ = true; }

  char CurrentChar() override;
  std::string CurrentLine() override;
  bool Next() override;
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
  bool LoadLine(int line);
  bool Normalize();
  TTextPos PositionOfChar(int index) const;

  TTextControl* control_ = nullptr;
  TControlType type_ = TControlType::ctEdit;
  int x_ = 0;
  int y_ = 0;
  // The cached line: its number (-1 for none), its length with CR LF, the
  // control's line count when it was read, and whether it must be re-read.
  int cached_line_ = -1;
  int line_length_ = 0;
  int line_count_ = 0;
  bool dirty_ = true;
  std::string line_;
  int limit_x_ = 0;
  int limit_y_ = 0;
  bool has_limit_ = false;
  int selection_start_ = 0;
  int selection_length_ = 0;
};

}  // namespace tovuri
