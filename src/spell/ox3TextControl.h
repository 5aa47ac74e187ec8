#pragma once
// What the window parser needs from an editing control: lines, character
// indices, the selection, scrolling and screen geometry. The desktop editor
// implements it over its widget; TMemoryTextControl serves tools and tests.
#include <string>
#include <string_view>

#include "spell/ox3ParserBase.h"

namespace tovuri {

// A screen point in pixels.
struct TScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(TScreenPoint, TScreenPoint) = default;
};

// Character indices count every character of the text, line breaks included,
// from 0. Lines are numbered from 0.
class TTextControl {
 public:
  virtual ~TTextControl();

  // Window class name, in any case; tells a rich edit from a plain edit.
  virtual std::string ClassName() const;
  virtual int LineCount() const = 0;
  // The text of a line without its line break, at most max_length bytes.
  virtual std::string Line(int line, int max_length) const = 0;
  // Character index of a line's first character; -1 for a line that does not exist.
  virtual int LineIndex(int line) const = 0;
  // The line holding a character index (the last line for an index past the end).
  virtual int LineFromChar(int index) const = 0;
  // The selection as character indices, start <= end.
  virtual void GetSelection(int& start, int& end) const = 0;
  virtual void SetSelection(int start, int end) = 0;
  // Replaces the selection (not undoable) and leaves the caret after the new text.
  virtual void ReplaceSelection(std::string_view text) = 0;
  virtual void ScrollCaret() = 0;
  virtual int FirstVisibleLine() const = 0;
  // Scrolls by a number of lines, down when positive.
  virtual void ScrollLines(int lines) = 0;
  // Screen position of a character's top left corner.
  virtual TScreenPoint PositionFromChar(int index) const = 0;
  virtual TScreenRect ControlRect() const = 0;
  // Height of the area that shows text, in pixels.
  virtual int ClientHeight() const = 0;
  // Height of a line of the control's font, external leading included, in pixels.
  virtual int FontHeight() const = 0;

  // What the live spelling editor needs besides; the defaults suit a
  // control that cannot be drawn on.
  virtual bool ReadOnly() const;
  virtual bool MultiLine() const;
  // The selected text; empty when nothing is selected.
  virtual std::string SelectedText() const;
  // The character index the caret stands before (the selection's moving end).
  virtual int CaretIndex() const;
  // Stops (false) and restarts (true) drawing while text is replaced in bulk.
  virtual void SetRedraw(bool redraw);
  // Asks for a repaint of the whole control, or of the band of client rows [top, bottom).
  virtual void Repaint();
  virtual void InvalidateBand(int top, int bottom);
  // Client-area position of a character's top left corner.
  virtual TScreenPoint ClientPositionFromChar(int index) const;
  // Client row the underline of a character's line is measured from: one
  // below the line's text, descent included (a rich edit's baseline).
  virtual int CharBaseline(int index) const;
  // The character index nearest to a client-area point; -1 when unknown.
  virtual int CharFromClientPoint(TScreenPoint point) const;
  virtual int ClientWidth() const;
  virtual TScreenPoint ClientToScreen(TScreenPoint point) const;
};

}  // namespace tovuri
