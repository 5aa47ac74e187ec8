#pragma once
// The abstract pieces of the tokenizer: a cursor over a text source, a rule
// that skips or ignores parts of the text, and the engine that cuts words.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "spell/ox3Types.h"

namespace tovuri {

// A position in a text source: x is the 0-based column in line y (the string
// parser keeps everything on line 0).
struct TTextPos {
  int x = 0;
  int y = 0;
  friend bool operator==(TTextPos, TTextPos) = default;
};

// A selection from start (inclusive) to end (exclusive).
struct TTextRange {
  TTextPos start;
  TTextPos end;
  friend bool operator==(TTextRange, TTextRange) = default;
};

// A rectangle in screen pixels; all -1 when the source has no screen.
struct TScreenRect {
  int left = -1;
  int top = -1;
  int right = -1;
  int bottom = -1;
  friend bool operator==(TScreenRect, TScreenRect) = default;
};

// What SetPosition sets: where reading is, or the last position it may reach
// (the character there is still read). A limit at (INT_MAX, INT_MAX) lets
// reading run to the end of the text.
enum class TPositionKind : std::uint8_t { pkPosition, pkEndLimit };

// A cursor over a text source through which the engine reads words and the
// checker selects and replaces them. Each parser binds its own kind of source
// with its own Init.
class TControlParser {
 public:
  virtual ~TControlParser();

  // The character at the position; 0 when there is none (also past the end limit).
  virtual char CurrentChar() = 0;
  // The whole line the position is on.
  virtual std::string CurrentLine() = 0;
  // Advances one character; false at the end of the text or past the end limit.
  virtual bool Next() = 0;
  // Advances over the characters after the current one that marked holds,
  // appending them to out, as repeated Next and CurrentChar would while both
  // succeed; the number taken. A source may take none and leave the work to
  // Next and CurrentChar: this is only a faster way over a word's letters.
  virtual std::size_t TakeRun(const std::array<bool, 256>& marked, std::string& out);
  // Steps back one character; false at the start.
  virtual bool Prev() = 0;
  virtual void SetPosition(int x, int y, TPositionKind kind) = 0;
  virtual TTextPos GetPosition() = 0;
  // The end limit, as replacements before it have moved it.
  virtual TTextPos GetEndLimit() = 0;
  // Selects the length characters that end at the position and moves the
  // position to their start.
  virtual void SelectBack(int length) = 0;
  // Replaces the selection; the position moves past the new text.
  virtual void ReplaceSelection(std::string_view text, int state) = 0;
  // Moves the position past the selected text.
  virtual void SkipSelection(int state) = 0;
  virtual void ShowSelection() = 0;
  // Start of the source's own selection.
  virtual TTextPos GetCaret() = 0;
  virtual TTextRange GetSelection() = 0;
  virtual TScreenRect ControlRect() = 0;
  // Screen rectangle of the selected word, for placing the spelling dialog.
  virtual TScreenRect SelectionRect() = 0;
  // Lets a source take part in the checker's undo; state 0 records, 1 and 2
  // come before and after an undo.
  virtual void UndoNotify(int state, TSpellAction action, std::int32_t& data);
};

// A rule that skips markup or addresses while words are cut, or declares a
// word or a line in no need of checking.
class TParserIgnore {
 public:
  virtual ~TParserIgnore();

  // Takes part in the engine's character and word hooks.
  virtual bool WantsHooks() const = 0;
  // Judges whole lines.
  virtual bool IsLineRule() const = 0;
  // True when the rule consumed text starting at c, the parser's current character.
  virtual bool CharHook(char c, TControlParser& parser) const = 0;
  // True when the word just cut, and what follows it, are to be dropped.
  virtual bool WordHook(std::string_view word, TControlParser& parser) const = 0;
  // True when the word needs no check; parser is null outside a check.
  virtual bool IgnoreWord(std::string_view word, TControlParser* parser) const = 0;
  virtual bool IgnoreLine(std::string_view line) const = 0;
};

// Cuts a parser's text into words.
class TParsingEngine {
 public:
  virtual ~TParsingEngine();

  // Binds the parser and positions it for the mode; a null parser only unbinds.
  virtual void Init(TControlParser* parser, TCheckMode mode) = 0;
  // Moves to (x, y), then back to just before the word that holds it.
  virtual void SetPosition(int x, int y) = 0;
  // The next word; empty at the end of the text.
  virtual std::string NextWord() = 0;
  virtual void SetWordChars(std::string_view chars) = 0;
};

}  // namespace tovuri
