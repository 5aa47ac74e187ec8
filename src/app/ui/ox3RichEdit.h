#pragma once
// The rich-text editor with live spelling that the main window shows. It is
// the framework's TTextControl over a QTextEdit (lines are the visual lines
// of the layout) and forwards its events to a TOrthexLiveRichEdit.
#include <QColor>
#include <QElapsedTimer>
#include <QPalette>
#include <QTextBlock>
#include <QTextEdit>
#include <functional>
#include <vector>

#include "spell/ox3LiveRichEdit.h"
#include "spell/ox3TextControl.h"

namespace tovuri {

class TOrthexRichEdit : public QTextEdit, public TTextControl {
  Q_OBJECT
  Q_PROPERTY(bool LiveSpelling READ LiveSpelling WRITE SetLiveSpelling)
  Q_PROPERTY(bool LiveCorrect READ LiveCorrect WRITE SetLiveCorrect)
  Q_PROPERTY(QColor LiveSpellingColor READ LiveSpellingColor WRITE SetLiveSpellingColor)
  Q_PROPERTY(bool DoubleBuffered READ DoubleBuffered WRITE SetDoubleBuffered)
  Q_PROPERTY(bool LiveSpellingOptions READ LiveSpellingOptions WRITE SetLiveSpellingOptions)
  Q_PROPERTY(int LiveMenuOptions READ LiveMenuOptionBits WRITE SetLiveMenuOptionBits)
  Q_PROPERTY(bool LiveSpellingReadOnly READ LiveSpellingReadOnly WRITE SetLiveSpellingReadOnly)
  Q_PROPERTY(QString Version READ Version)

 public:
  explicit TOrthexRichEdit(QWidget* parent = nullptr);
  ~TOrthexRichEdit() override;

  // ---- Published settings ---------------------------------------------------

  bool LiveSpelling() const { return live_.LiveSpellingWish(); }
  void SetLiveSpelling(bool on) { live_.SetLiveSpellingWish(on); }
  bool LiveCorrect() const { return live_.LiveCorrectWish(); }
  void SetLiveCorrect(bool on) { live_.SetLiveCorrectWish(on); }
  // The checker component; it must outlive the editor or be unset first.
  TOrthexSpell3Base* OrthexSpell() const { return live_.Spell(); }
  void SetOrthexSpell(TOrthexSpell3Base* spell);
  QColor LiveSpellingColor() const;
  void SetLiveSpellingColor(const QColor& colour);
  // Qt paints through a back buffer anyway; kept as the setting it is.
  bool DoubleBuffered() const { return live_.DoubleBuffered(); }
  void SetDoubleBuffered(bool on) { live_.SetDoubleBuffered(on); }
  bool LiveSpellingOptions() const { return live_.OptionsFollowUser(); }
  void SetLiveSpellingOptions(bool on) { live_.SetOptionsFollowUser(on); }
  TSpellPopupOptions LiveMenuOptions() const { return live_.MenuOptions(); }
  void SetLiveMenuOptions(TSpellPopupOptions options) { live_.SetMenuOptions(options); }
  int LiveMenuOptionBits() const { return live_.MenuOptions().Bits(); }
  void SetLiveMenuOptionBits(int bits) {
    live_.SetMenuOptions(TSpellPopupOptions::FromBits(static_cast<unsigned char>(bits)));
  }
  bool LiveSpellingReadOnly() const { return live_.ReadOnlyWish(); }
  void SetLiveSpellingReadOnly(bool on) { live_.SetReadOnlyWish(on); }
  QString Version() const;

  TOrthexLiveRichEdit& LiveEditor() { return live_; }
  // The live editor's tokenizer (the background checker has its own).
  TMainParsingEngine& ParsingEngine() { return live_.ParsingEngine(); }
  // An interactive check of the editor's text that keeps the selection in
  // sight until the check ends; ended runs then. The check may go on in a
  // modeless dialog after this returns.
  void CheckControl(TCheckMode mode, std::function<void()> ended = {});
  // Typing pauses this long (ms) or more start a new undo step.
  static constexpr int kUndoPauseMs = 1000;

  // ---- TTextControl ---------------------------------------------------------

  std::string ClassName() const override { return "RichEdit20W"; }
  int LineCount() const override;
  std::string Line(int line, int max_length) const override;
  int LineIndex(int line) const override;
  int LineFromChar(int index) const override;
  void GetSelection(int& start, int& end) const override;
  void SetSelection(int start, int end) override;
  void ReplaceSelection(std::string_view text) override;
  void ScrollCaret() override;
  int FirstVisibleLine() const override;
  void ScrollLines(int lines) override;
  TScreenPoint PositionFromChar(int index) const override;
  TScreenRect ControlRect() const override;
  int ClientHeight() const override;
  int FontHeight() const override;
  bool ReadOnly() const override { return isReadOnly(); }
  bool MultiLine() const override { return true; }
  std::string SelectedText() const override;
  int CaretIndex() const override;
  void SetRedraw(bool redraw) override;
  void Repaint() override;
  void InvalidateBand(int top, int bottom) override;
  TScreenPoint ClientPositionFromChar(int index) const override;
  int CharBaseline(int index) const override;
  int CharFromClientPoint(TScreenPoint point) const override;
  int ClientWidth() const override;
  TScreenPoint ClientToScreen(TScreenPoint point) const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // A visual line: its block and its line in the block's layout.
  struct LinePlace {
    int block = -1;
    int line = 0;
  };
  void EnsureLineMap() const;
  LinePlace PlaceOfLine(int line) const;
  int TextLength() const;
  // The block at the top of the view, with every block in view laid out.
  QTextBlock FirstVisibleBlock() const;
  // A block's rectangle in the document, laying it out first if need be.
  QRectF LaidOutBlock(const QTextBlock& block) const;
  void CheckEnded();
  // Whether a typed key starts a new undo step: a word or a pause begins.
  bool StartsUndoStep(const QKeyEvent& event);

  TOrthexLiveRichEdit live_;
  int redraw_off_ = 0;
  // First visual line of each block, rebuilt after the text or its layout changed.
  mutable std::vector<int> block_first_line_;
  mutable int line_count_ = 0;
  mutable bool line_map_valid_ = false;
  // The check that runs: the palette to put back and what to run at its end.
  bool check_running_ = false;
  QPalette palette_before_check_;
  std::function<void()> check_ended_;
  // The component's own end-of-check handler, called before ours.
  std::function<void(TOrthexSpell3Base&)> spell_complete_check_;
  // The last typed character and when it was typed.
  QChar last_typed_;
  QElapsedTimer since_typed_;
};

}  // namespace tovuri
