#include "app/ui/ox3RichEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <utility>

#include "app/ui/ox3QtText.h"

namespace tovuri {

namespace {

// Draws the live editor's underlines on the viewport.
class ViewportPainter final : public TLivePainter {
 public:
  explicit ViewportPainter(QWidget* viewport) : painter_(viewport) {}
  void Polyline(const std::vector<TScreenPoint>& points, std::uint32_t colour) override {
    if (points.size() > points_.capacity()) points_.reserve(points.size());
    points_.clear();
    for (const TScreenPoint& p : points) points_.push_back(QPoint(p.x, p.y));
    painter_.setPen(QPen(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF), 1));
    painter_.drawPolyline(points_.data(), static_cast<int>(points_.size()));
  }

 private:
  QPainter painter_;
  std::vector<QPoint> points_;
};

std::uint32_t ToColourRef(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.blue()) << 16;
}

}  // namespace

TOrthexRichEdit::TOrthexRichEdit(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(true);
  const auto forget_lines = [this] { line_map_valid_ = false; };
  connect(document(), &QTextDocument::contentsChanged, this, forget_lines);
  connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this, forget_lines);
  connect(this, &QTextEdit::cursorPositionChanged, this, [this] { live_.SelectionChanged(); });
  connect(this, &QTextEdit::selectionChanged, this, [this] { live_.SelectionChanged(); });
  live_.AttachControl(this);
}

TOrthexRichEdit::~TOrthexRichEdit() {
  SetOrthexSpell(nullptr);
  live_.AttachControl(nullptr);
}

void TOrthexRichEdit::SetOrthexSpell(TOrthexSpell3Base* spell) {
  if (TOrthexSpell3Base* old = live_.Spell(); old != nullptr && old != spell) {
    old->OnCompleteCheck = std::move(spell_complete_check_);
    spell_complete_check_ = nullptr;
  }
  if (spell != nullptr && spell != live_.Spell()) {
    spell_complete_check_ = std::move(spell->OnCompleteCheck);
    spell->OnCompleteCheck = [this](TOrthexSpell3Base& sender) {
      if (spell_complete_check_) spell_complete_check_(sender);
      CheckEnded();
    };
  }
  live_.SetSpell(spell);
}

QColor TOrthexRichEdit::LiveSpellingColor() const {
  const std::uint32_t c = live_.UnderlineColour();
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void TOrthexRichEdit::SetLiveSpellingColor(const QColor& colour) { live_.SetUnderlineColour(ToColourRef(colour)); }

QString TOrthexRichEdit::Version() const { return QString::fromStdString(TOrthexSpell3Base::Version()); }

void TOrthexRichEdit::CheckControl(TCheckMode mode, std::function<void()> ended) {
  // This editor's check is still open (the command given again): it goes
  // on, and its end is told once, when it comes.
  if (check_running_) return;
  // The selection stays visible while the dialog has the focus.
  palette_before_check_ = palette();
  QPalette shown = palette_before_check_;
  shown.setColor(QPalette::Inactive, QPalette::Highlight,
                 palette_before_check_.color(QPalette::Active, QPalette::Highlight));
  shown.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 palette_before_check_.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(shown);
  check_running_ = true;
  check_ended_ = std::move(ended);
  live_.CheckControl(mode);
  // A check that never started (no component, another check running) ends here.
  if (check_running_ && (OrthexSpell() == nullptr || !OrthexSpell()->IsChecking())) CheckEnded();
}

void TOrthexRichEdit::CheckEnded() {
  if (!check_running_) return;
  check_running_ = false;
  setPalette(palette_before_check_);
  if (const std::function<void()> ended = std::exchange(check_ended_, nullptr)) ended();
}

// ---- Lines -------------------------------------------------------------------

void TOrthexRichEdit::EnsureLineMap() const {
  if (line_map_valid_) return;
  block_first_line_.clear();
  block_first_line_.reserve(static_cast<size_t>(document()->blockCount()));
  int total = 0;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    block_first_line_.push_back(total);
    const QTextLayout* layout = block.layout();
    total += std::max(layout != nullptr ? layout->lineCount() : 0, 1);
  }
  line_count_ = std::max(total, 1);
  line_map_valid_ = true;
}

TOrthexRichEdit::LinePlace TOrthexRichEdit::PlaceOfLine(int line) const {
  EnsureLineMap();
  if (line < 0 || line >= line_count_ || block_first_line_.empty()) return {};
  const auto it = std::upper_bound(block_first_line_.begin(), block_first_line_.end(), line);
  const int block = static_cast<int>(it - block_first_line_.begin()) - 1;
  return {block, line - block_first_line_[static_cast<size_t>(block)]};
}

int TOrthexRichEdit::TextLength() const { return std::max(document()->characterCount() - 1, 0); }

int TOrthexRichEdit::LineCount() const {
  EnsureLineMap();
  return line_count_;
}

std::string TOrthexRichEdit::Line(int line, int max_length) const {
  const LinePlace place = PlaceOfLine(line);
  if (place.block < 0 || max_length <= 0) return {};
  const QTextBlock block = document()->findBlockByNumber(place.block);
  const QTextLayout* layout = block.layout();
  QString text = block.text();
  if (layout != nullptr && layout->lineCount() > 0) {
    const QTextLine tl = layout->lineAt(place.line);
    if (tl.isValid()) text = text.mid(tl.textStart(), tl.textLength());
  }
  std::string out = ToAnsi(text);
  if (out.size() > static_cast<size_t>(max_length)) out.resize(static_cast<size_t>(max_length));
  return out;
}

int TOrthexRichEdit::LineIndex(int line) const {
  const LinePlace place = PlaceOfLine(line);
  if (place.block < 0) return -1;
  const QTextBlock block = document()->findBlockByNumber(place.block);
  const QTextLayout* layout = block.layout();
  int start = 0;
  if (layout != nullptr && layout->lineCount() > 0) {
    const QTextLine tl = layout->lineAt(place.line);
    if (tl.isValid()) start = tl.textStart();
  }
  return block.position() + start;
}

int TOrthexRichEdit::LineFromChar(int index) const {
  EnsureLineMap();
  index = std::clamp(index, 0, TextLength());
  const QTextBlock block = document()->findBlock(index);
  if (!block.isValid()) return line_count_ - 1;
  int in_block = 0;
  if (const QTextLayout* layout = block.layout(); layout != nullptr && layout->lineCount() > 0) {
    const QTextLine tl = layout->lineForTextPosition(index - block.position());
    in_block = tl.isValid() ? tl.lineNumber() : layout->lineCount() - 1;
  }
  const size_t number = static_cast<size_t>(block.blockNumber());
  return number < block_first_line_.size() ? block_first_line_[number] + in_block : line_count_ - 1;
}

// ---- Selection and text ---------------------------------------------------------

void TOrthexRichEdit::GetSelection(int& start, int& end) const {
  const QTextCursor cursor = textCursor();
  start = cursor.selectionStart();
  end = cursor.selectionEnd();
}

void TOrthexRichEdit::SetSelection(int start, int end) {
  const int length = TextLength();
  QTextCursor cursor = textCursor();
  cursor.setPosition(std::clamp(start, 0, length));
  cursor.setPosition(std::clamp(end, 0, length), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

void TOrthexRichEdit::ReplaceSelection(std::string_view text) {
  QTextCursor cursor = textCursor();
  cursor.insertText(FromAnsi(text));
  setTextCursor(cursor);
}

std::string TOrthexRichEdit::SelectedText() const { return ToAnsi(textCursor().selectedText()); }

int TOrthexRichEdit::CaretIndex() const { return textCursor().position(); }

// ---- Scrolling and geometry -----------------------------------------------------

void TOrthexRichEdit::ScrollCaret() { ensureCursorVisible(); }

QTextBlock TOrthexRichEdit::FirstVisibleBlock() const {
  QAbstractTextDocumentLayout* layout = document()->documentLayout();
  const qreal top = verticalScrollBar()->value();
  const qreal bottom = top + viewport()->height();
  QTextBlock block = document()->findBlock(std::max(layout->hitTest(QPointF(0, top), Qt::FuzzyHit), 0));
  if (!block.isValid()) block = document()->begin();
  // The document lays a long text out lazily, a part at a time, and a hit
  // in a part not laid out yet is anywhere: the blocks' own rectangles (each
  // laid out when asked for) say where the view starts.
  while (block.previous().isValid() && layout->blockBoundingRect(block).top() > top) block = block.previous();
  while (block.next().isValid() && layout->blockBoundingRect(block).bottom() <= top) block = block.next();
  // Every block in view is laid out, so its lines are known.
  bool laid_out = false;
  for (QTextBlock b = block; b.isValid(); b = b.next()) {
    if (b.layout() == nullptr || b.layout()->lineCount() == 0) laid_out = true;
    if (layout->blockBoundingRect(b).top() > bottom) break;
  }
  if (laid_out) line_map_valid_ = false;
  return block;
}

QRectF TOrthexRichEdit::LaidOutBlock(const QTextBlock& block) const {
  return document()->documentLayout()->blockBoundingRect(block);
}

int TOrthexRichEdit::FirstVisibleLine() const {
  const QTextBlock block = FirstVisibleBlock();
  const qreal top = verticalScrollBar()->value();
  int position = block.position();
  if (const QTextLayout* layout = block.layout()) {
    const QRectF rect = LaidOutBlock(block);
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      if (rect.top() + line.y() + line.height() > top) {
        position += line.textStart();
        break;
      }
    }
  }
  return LineFromChar(position);
}

void TOrthexRichEdit::ScrollLines(int lines) {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->value() + lines * FontHeight());
}

TScreenPoint TOrthexRichEdit::ClientPositionFromChar(int index) const {
  index = std::clamp(index, 0, TextLength());
  const QTextBlock block = document()->findBlock(index);
  if (block.isValid()) LaidOutBlock(block);
  const QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
  if (layout == nullptr || layout->lineCount() == 0) {
    const QRect r = cursorRect(QTextCursor(document()));
    return {r.left(), r.top()};
  }
  const int in_block = index - block.position();
  QTextLine tl = layout->lineForTextPosition(in_block);
  if (!tl.isValid()) tl = layout->lineAt(layout->lineCount() - 1);
  const QPointF origin = layout->position();
  const double x = origin.x() + tl.cursorToX(in_block) - horizontalScrollBar()->value();
  const double y = origin.y() + tl.y() - verticalScrollBar()->value();
  return {static_cast<int>(x), static_cast<int>(y)};
}

int TOrthexRichEdit::CharBaseline(int index) const {
  index = std::clamp(index, 0, TextLength());
  const QTextBlock block = document()->findBlock(index);
  if (block.isValid()) LaidOutBlock(block);
  const QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
  if (layout == nullptr || layout->lineCount() == 0) return ClientPositionFromChar(index).y + FontHeight() + 1;
  QTextLine tl = layout->lineForTextPosition(index - block.position());
  if (!tl.isValid()) tl = layout->lineAt(layout->lineCount() - 1);
  // Just below the descent, as a rich edit's line metrics put it: the
  // zig-zag then runs under the letters, not through them.
  return static_cast<int>(layout->position().y() + tl.y() + tl.ascent() + tl.descent()) + 1 -
         verticalScrollBar()->value();
}

int TOrthexRichEdit::CharFromClientPoint(TScreenPoint point) const {
  return cursorForPosition(QPoint(point.x, point.y)).position();
}

TScreenPoint TOrthexRichEdit::PositionFromChar(int index) const {
  return ClientToScreen(ClientPositionFromChar(index));
}

TScreenPoint TOrthexRichEdit::ClientToScreen(TScreenPoint point) const {
  const QPoint global = viewport()->mapToGlobal(QPoint(point.x, point.y));
  return {global.x(), global.y()};
}

TScreenRect TOrthexRichEdit::ControlRect() const {
  const QPoint top_left = viewport()->mapToGlobal(QPoint(0, 0));
  return {top_left.x(), top_left.y(), top_left.x() + viewport()->width(), top_left.y() + viewport()->height()};
}

int TOrthexRichEdit::ClientHeight() const { return viewport()->height(); }

int TOrthexRichEdit::ClientWidth() const { return viewport()->width(); }

int TOrthexRichEdit::FontHeight() const { return fontMetrics().lineSpacing(); }

void TOrthexRichEdit::SetRedraw(bool redraw) {
  redraw_off_ += redraw ? -1 : 1;
  viewport()->setUpdatesEnabled(redraw_off_ <= 0);
  if (redraw_off_ < 0) redraw_off_ = 0;
}

void TOrthexRichEdit::Repaint() { viewport()->update(); }

void TOrthexRichEdit::InvalidateBand(int top, int bottom) {
  viewport()->update(QRect(0, top, viewport()->width(), bottom - top));
}

// ---- Events --------------------------------------------------------------------

bool TOrthexRichEdit::StartsUndoStep(const QKeyEvent& event) {
  const QString typed = event.text();
  if (typed.size() != 1 || !typed.front().isPrint() || isReadOnly()) return false;
  const QChar c = typed.front();
  const bool paused = !since_typed_.isValid() || since_typed_.elapsed() >= kUndoPauseMs;
  // A space or punctuation after a letter ends the word: it and the next
  // word are the next step.
  const bool word_ends = !c.isLetterOrNumber() && (last_typed_.isLetterOrNumber() || last_typed_.isNull());
  last_typed_ = c;
  since_typed_.start();
  return paused || word_ends;
}

void TOrthexRichEdit::keyPressEvent(QKeyEvent* event) {
  // The document merges consecutive typing into one undo step; an edit
  // block of its own is where a new step begins.
  if (StartsUndoStep(*event)) {
    QTextCursor step(document());
    step.beginEditBlock();
    QTextEdit::keyPressEvent(event);
    step.endEditBlock();
  } else {
    QTextEdit::keyPressEvent(event);
  }
  const QString typed = event->text();
  live_.KeyPressed(typed.size() == 1 ? ToAnsi(typed)[0] : '\0');
}

void TOrthexRichEdit::keyReleaseEvent(QKeyEvent* event) {
  QTextEdit::keyReleaseEvent(event);
  if (!event->isAutoRepeat()) live_.KeyReleased();
}

void TOrthexRichEdit::paintEvent(QPaintEvent* event) {
  QTextEdit::paintEvent(event);
  ViewportPainter painter(viewport());
  live_.Paint(painter);
}

void TOrthexRichEdit::contextMenuEvent(QContextMenuEvent* event) {
  const TScreenPoint at = event->reason() == QContextMenuEvent::Keyboard
                              ? TScreenPoint{-1, -1}
                              : TScreenPoint{event->pos().x(), event->pos().y()};
  if (!live_.ContextMenu(at)) QTextEdit::contextMenuEvent(event);
}

void TOrthexRichEdit::resizeEvent(QResizeEvent* event) {
  line_map_valid_ = false;
  viewport()->update();
  QTextEdit::resizeEvent(event);
}

void TOrthexRichEdit::changeEvent(QEvent* event) {
  QTextEdit::changeEvent(event);
  if (event->type() == QEvent::ReadOnlyChange) live_.ReadOnlyChanged();
}

}  // namespace tovuri
