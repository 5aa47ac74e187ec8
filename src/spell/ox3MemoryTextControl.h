#pragma once
// A text control held in memory, with fixed-pitch geometry: for tools and tests.
#include <string>
#include <vector>

#include "spell/ox3TextControl.h"

namespace tovuri {

// Lines are separated by "\n", which counts as one character index (as a
// rich edit's paragraph mark does). Every character is char_width pixels
// wide and every line font_height pixels high; the control shows
// visible_lines lines starting at its first visible line.
class TMemoryTextControl final : public TTextControl {
 public:
  explicit TMemoryTextControl(std::string text = {});

  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  void SetClassName(std::string name) { class_name_ = std::move(name); }
  // How many times a line was fetched, to show that a parser caches lines.
  int LineReads() const { return line_reads_; }

  std::string ClassName() const override { return class_name_; }
  int LineCount() const override;
  std::string Line(int line, int max_length) const override;
  int LineIndex(int line) const override;
  int LineFromChar(int index) const override;
  void GetSelection(int& start, int& end) const override;
  void SetSelection(int start, int end) override;
  void ReplaceSelection(std::string_view text) override;
  void ScrollCaret() override;
  int FirstVisibleLine() const override { return first_visible_; }
  void ScrollLines(int lines) override;
  TScreenPoint PositionFromChar(int index) const override;
  TScreenRect ControlRect() const override;
  int ClientHeight() const override { return visible_lines * font_height; }
  int FontHeight() const override { return font_height; }
  bool ReadOnly() const override { return read_only; }
  std::string SelectedText() const override;
  int CaretIndex() const override { return selection_end_; }
  void SetRedraw(bool redraw) override { redraw_suspended += redraw ? -1 : 1; }
  void Repaint() override { ++repaints; }
  void InvalidateBand(int top, int bottom) override { bands.push_back({top, bottom}); }
  int CharFromClientPoint(TScreenPoint point) const override;

  int left = 100;
  int top = 200;
  int width = 400;
  int char_width = 8;
  int font_height = 16;
  int visible_lines = 10;
  bool read_only = false;
  // What was asked of the screen, for tests.
  int repaints = 0;
  int redraw_suspended = 0;
  std::vector<std::pair<int, int>> bands;

 private:
  void IndexLines();
  int Clamp(int index) const;

  std::string text_;
  std::vector<int> line_starts_;
  std::string class_name_ = "RichEdit20A";
  int selection_start_ = 0;
  int selection_end_ = 0;
  int first_visible_ = 0;
  mutable int line_reads_ = 0;
};

}  // namespace tovuri
