#include "spell/ox3LiveRichEdit.h"

#include <algorithm>
#include <chrono>

#include "spell/ox3WinAPIParser.h"

namespace tovuri {

namespace {

// The line caches grow in steps of this many lines.
constexpr size_t kCacheStep = 64;
// The selected text is not fetched for selections this long or longer.
constexpr int kMaxSelectedTextQuery = 4000;
// The zig-zag: a point every 2 pixels, alternating 4 and 2 pixels above the baseline.
constexpr int kZigZagStep = 2;
constexpr int kZigZagHigh = 4;
constexpr int kZigZagLow = 2;
constexpr size_t kMaxZigZagPoints = 1024;

// A check state of the component's word-ignored notice.
constexpr int kStateContextualIgnore = 10;

// Restores drawing (and the cursor) however a bulk replacement ends.
class RedrawGuard {
 public:
  explicit RedrawGuard(TTextControl& control) : control_(control) { control_.SetRedraw(false); }
  ~RedrawGuard() {
    control_.SetRedraw(true);
    control_.Repaint();
  }
  RedrawGuard(const RedrawGuard&) = delete;
  RedrawGuard& operator=(const RedrawGuard&) = delete;

 private:
  TTextControl& control_;
};

}  // namespace

TLivePainter::~TLivePainter() = default;

TOrthexLiveRichEdit::TOrthexLiveRichEdit() : engine_(std::make_unique<TMainParsingEngine>()) {}

TOrthexLiveRichEdit::~TOrthexLiveRichEdit() { Unsubscribe(); }

// ---- Settings -------------------------------------------------------------------

void TOrthexLiveRichEdit::AttachControl(TTextControl* control) {
  if (control_ != nullptr) control_->Repaint();
  control_ = control;
  caches_.clear();
  UpdateActiveFlags();
}

void TOrthexLiveRichEdit::Unsubscribe() {
  if (spell_ == nullptr) return;
  spell_->RulesRebuiltListeners().Unregister(this);
  spell_->ConfigChangedListeners().Unregister(this);
  spell_->WordIgnoredListeners().Unregister(this);
  spell_->PopupResultListeners().Unregister(this);
}

void TOrthexLiveRichEdit::SetSpell(TOrthexSpell3Base* spell) {
  Unsubscribe();
  spell_ = spell;
  if (spell_ != nullptr) {
    spell_->RulesRebuiltListeners().Register(this, [this](TOrthexSpell3Base&) { RulesRebuilt(); });
    spell_->ConfigChangedListeners().Register(this, [this](TOrthexSpell3Base&) { ConfigurationChanged(); });
    spell_->WordIgnoredListeners().Register(this, [this](TOrthexSpell3Base&) { WordIgnored(); });
    spell_->PopupResultListeners().Register(this, [this](TOrthexSpell3Base&) { PopupResult(); });
  }
  WireEngine();
  caches_.clear();
  UpdateActiveFlags();
}

void TOrthexLiveRichEdit::SetParsingEngine(std::unique_ptr<TMainParsingEngine> engine) {
  if (!engine) return;
  engine_ = std::move(engine);
  WireEngine();
}

void TOrthexLiveRichEdit::WireEngine() {
  if (spell_ == nullptr) {
    engine_->CharHook = nullptr;
    engine_->WordHook = nullptr;
    return;
  }
  TOrthexSpell3Base* spell = spell_;
  engine_->CharHook = [spell](char c, TControlParser& parser) {
    bool skip = false;
    spell->EngineSkipHook(c, &parser, skip);
    return skip;
  };
  engine_->WordHook = [spell](const std::string& word, TControlParser& parser) {
    bool again = false;
    spell->EngineWordHook(word, &parser, again);
    return again;
  };
}

void TOrthexLiveRichEdit::SetLiveSpellingWish(bool wish) {
  live_spelling_wish_ = wish;
  UpdateActiveFlags();
}

void TOrthexLiveRichEdit::SetLiveCorrectWish(bool wish) {
  live_correct_wish_ = wish;
  UpdateActiveFlags();
}

void TOrthexLiveRichEdit::SetUnderlineColour(std::uint32_t colour) {
  if (colour == colour_) return;
  colour_ = colour;
  if (control_ != nullptr) control_->Repaint();
}

void TOrthexLiveRichEdit::SetOptionsFollowUser(bool follow) {
  options_follow_user_ = follow;
  UpdateActiveFlags();
}

void TOrthexLiveRichEdit::SetReadOnlyWish(bool wish) {
  read_only_wish_ = wish;
  UpdateActiveFlags();
}

const TLineCache* TOrthexLiveRichEdit::LineCache(int line) const {
  if (line < 0 || static_cast<size_t>(line) >= caches_.size()) return nullptr;
  return caches_[static_cast<size_t>(line)].get();
}

// ---- The component's notices ------------------------------------------------------

void TOrthexLiveRichEdit::RulesRebuilt() {
  if (options_follow_user_) UpdateActiveFlags();
}

void TOrthexLiveRichEdit::ConfigurationChanged() {
  if (!live_spelling_active_) return;
  InvalidateAll();
  if (control_ != nullptr) control_->Repaint();
}

void TOrthexLiveRichEdit::WordIgnored() {
  if (!live_spelling_active_ || control_ == nullptr || spell_ == nullptr) return;
  const TParserIgnoreWordEventList& notice = spell_->WordIgnoredListeners();
  if (notice.Before) return;
  int start = 0, end = 0;
  control_->GetSelection(start, end);
  if (end - start >= kMaxSelectedTextQuery) return;
  if (control_->SelectedText() == spell_->CurrentWord()) RunAction(notice.State);
}

void TOrthexLiveRichEdit::PopupResult() {
  if (!live_spelling_active_ || spell_ == nullptr) return;
  const TSpellPopupOption option = spell_->PopupResultListeners().Option;
  if (option != TSpellPopupOption::spAdd && option != TSpellPopupOption::spIgnoreAll) return;
  InvalidateAll();
  if (control_ != nullptr) control_->Repaint();
}

void TOrthexLiveRichEdit::BeforeChange() {
  if (OnBeforeChange && control_ != nullptr) OnBeforeChange(*control_);
}

// ---- Operations -----------------------------------------------------------------------

bool TOrthexLiveRichEdit::UpdateActiveFlags() {
  bool live = live_spelling_wish_;
  bool correct = live_correct_wish_;
  if (spell_ != nullptr && control_ != nullptr && options_follow_user_) {
    if (live_spelling_wish_) spell_->ConfigAvailableOptions.Include(TSpellOption::soLiveSpelling);
    if (live_correct_wish_) spell_->ConfigAvailableOptions.Include(TSpellOption::soLiveCorrect);
    const TSpellOptions user = spell_->Configuration().SpellOptionsValue();
    const TSpellOptions available = spell_->ConfigAvailableOptions;
    live = user.Has(TSpellOption::soLiveSpelling) && available.Has(TSpellOption::soLiveSpelling);
    correct = user.Has(TSpellOption::soLiveCorrect) && available.Has(TSpellOption::soLiveCorrect);
  }
  const bool writable = control_ != nullptr && (read_only_wish_ || !control_->ReadOnly());
  const bool was_live = live_spelling_active_;
  live_spelling_active_ = live && spell_ != nullptr && live_spelling_wish_ && writable;
  live_correct_active_ = correct && spell_ != nullptr && live_correct_wish_ && writable;
  if (!live_spelling_active_) caches_.clear();
  if (was_live != live_spelling_active_ && control_ != nullptr) control_->Repaint();
  return live_correct_active_;
}

void TOrthexLiveRichEdit::InvalidateAll() {
  for (auto& cache : caches_)
    if (cache) cache->NeedsRecheck = true;
}

void TOrthexLiveRichEdit::ForgetDocument() {
  ignored_after_.clear();
  caches_.clear();
  if (control_ != nullptr) control_->Repaint();
}

bool TOrthexLiveRichEdit::IsWordAcceptable(const std::string& word, const std::string& preceding) {
  if (spell_ == nullptr) return true;
  if (spell_->IsWordAcceptable(word) && !(spell_->UseExcludeWords && spell_->IsExcludedWord(word))) return true;
  if (!track_preceding_) return false;
  const auto it = ignored_after_.find(word);
  return it != ignored_after_.end() && it->second.contains(preceding);
}

std::vector<TOrthexLiveRichEdit::LineWord> TOrthexLiveRichEdit::LineWords(const std::string& line) {
  // The line break lets the engine finish the line's last word.
  line_text_ = line;
  line_text_ += "\r\n";
  string_parser_.Init(line_text_);
  engine_->Init(&string_parser_, TCheckMode::cmAll);
  std::vector<LineWord> words;
  for (std::string word = engine_->NextWord(); !word.empty(); word = engine_->NextWord()) {
    const int end = string_parser_.GetPosition().x;
    int start = end - static_cast<int>(word.size());
    if (start < 0 || line_text_.compare(static_cast<size_t>(start), word.size(), word) != 0) {
      const size_t found = line_text_.rfind(word, static_cast<size_t>(std::max(end, 0)));
      if (found == std::string::npos) continue;
      start = static_cast<int>(found);
    }
    const int length = static_cast<int>(word.size());
    words.push_back({std::move(word), start, start + length});
  }
  engine_->Init(nullptr, TCheckMode::cmAll);
  return words;
}

void TOrthexLiveRichEdit::CheckLine(TLineCache& cache, const std::string& text, int line_start, int caret) {
  cache.Text = text;
  cache.Errors.clear();
  cache.NeedsRecheck = false;
  if (spell_->IsLineIgnored(text)) return;
  std::string previous;
  for (const LineWord& word : LineWords(text)) {
    if (!IsWordAcceptable(word.Text, previous)) {
      if (line_start + word.End == caret)
        cache.NeedsRecheck = true;  // the word being typed
      else
        cache.Errors.push_back({word.Start, word.End});
    }
    if (track_preceding_) previous = word.Text;
  }
}

void TOrthexLiveRichEdit::DrawErrors(TLivePainter& painter, const TLineCache& cache, int line_start) {
  std::vector<TScreenPoint> points;
  for (const TSpellingError& error : cache.Errors) {
    const int baseline = control_->CharBaseline(line_start + error.Start);
    const int x0 = control_->ClientPositionFromChar(line_start + error.Start).x;
    const int x1 = control_->ClientPositionFromChar(line_start + error.End).x;
    const size_t count =
        std::clamp<size_t>(static_cast<size_t>(std::max(x1 - x0, 0) / kZigZagStep) + 1, 2, kMaxZigZagPoints);
    points.resize(count);
    for (size_t i = 0; i < count; ++i)
      points[i] = {x0 + static_cast<int>(i) * kZigZagStep, baseline - (i % 2 == 0 ? kZigZagHigh : kZigZagLow)};
    points.back().x = x1;
    painter.Polyline(points, colour_);
  }
}

void TOrthexLiveRichEdit::Paint(TLivePainter& painter) {
  if (!live_spelling_active_ || control_ == nullptr || spell_ == nullptr) return;
  track_preceding_ = menu_options_.Has(TSpellPopupOption::spIgnore);
  const int caret = control_->CaretIndex();
  const int client_height = control_->ClientHeight();
  const int line_count = control_->LineCount();
  for (int line = std::max(control_->FirstVisibleLine(), 0); line < line_count; ++line) {
    const int line_start = control_->LineIndex(line);
    if (line_start < 0 || control_->ClientPositionFromChar(line_start).y >= client_height) break;
    const std::string text = control_->Line(line, kMaxLineLength);
    if (static_cast<size_t>(line) >= caches_.size())
      caches_.resize((static_cast<size_t>(line) / kCacheStep + 1) * kCacheStep);
    auto& cache = caches_[static_cast<size_t>(line)];
    if (!cache) cache = std::make_unique<TLineCache>();
    if (cache->NeedsRecheck || cache->Text != text) {
      const std::vector<TSpellingError> before = cache->Errors;
      CheckLine(*cache, text, line_start, caret);
      // A paint may cover only part of the line: draw it all when its underlines changed.
      if (cache->Errors != before) InvalidateLine(line);
    }
    if (!cache->Errors.empty()) DrawErrors(painter, *cache, line_start);
  }
}

void TOrthexLiveRichEdit::InvalidateLine(int line) {
  if (control_ == nullptr) return;
  const int start = control_->LineIndex(line);
  if (start < 0) return;
  const int top = control_->ClientPositionFromChar(start).y;
  const int next = control_->LineIndex(line + 1);
  const int bottom = next >= 0 ? control_->ClientPositionFromChar(next).y : control_->ClientHeight();
  control_->InvalidateBand(top, std::max(bottom, top + control_->FontHeight()));
}

void TOrthexLiveRichEdit::MarkLine(int line) {
  if (line >= 0 && static_cast<size_t>(line) < caches_.size() && caches_[static_cast<size_t>(line)])
    caches_[static_cast<size_t>(line)]->NeedsRecheck = true;
  InvalidateLine(line);
}

void TOrthexLiveRichEdit::SelectionChanged() {
  if (!live_spelling_active_ || control_ == nullptr) return;
  const int caret_line = control_->LineFromChar(control_->CaretIndex());
  const int client_height = control_->ClientHeight();
  const int line_count = control_->LineCount();
  for (int line = std::max(control_->FirstVisibleLine(), 0);
       line < line_count && static_cast<size_t>(line) < caches_.size(); ++line) {
    const int line_start = control_->LineIndex(line);
    if (line_start < 0 || control_->ClientPositionFromChar(line_start).y >= client_height) break;
    const auto& cache = caches_[static_cast<size_t>(line)];
    // The word skipped while it was typed is judged once the caret has left its line.
    if (cache && cache->NeedsRecheck && line != caret_line) MarkLine(line);
  }
}

void TOrthexLiveRichEdit::KeyReleased() {
  const char typed = pending_;
  pending_ = 0;
  if (typed == 0 || !live_correct_active_ || control_ == nullptr || spell_ == nullptr) return;
  if (kDelimiters.find(typed) == std::string_view::npos) return;
  int sel_start = 0, sel_end = 0;
  control_->GetSelection(sel_start, sel_end);
  if (sel_start != sel_end) return;
  const int caret = sel_end;
  const int line = control_->LineFromChar(caret);
  const int line_start = control_->LineIndex(line);
  const int column = caret - line_start;
  if (line_start < 0 || column < 2) return;
  // The word just finished ends right before the delimiter.
  const std::string text = control_->Line(line, kMaxLineLength);
  const std::vector<LineWord> words = LineWords(text.substr(0, static_cast<size_t>(column - 1)));
  if (words.empty() || words.back().End != column - 1) return;
  const LineWord& word = words.back();
  std::string correction;
  if (IsWordAcceptable(word.Text, {}) && !spell_->UseAutoCorrectFirst) return;
  if (!spell_->FindAutoCorrect(word.Text, correction)) return;
  RedrawGuard redraw(*control_);
  BeforeChange();
  control_->SetSelection(line_start + word.Start, line_start + word.End);
  control_->ReplaceSelection(correction);
  const int new_caret = caret + static_cast<int>(correction.size()) - static_cast<int>(word.Text.size());
  control_->SetSelection(new_caret, new_caret);
  MarkLine(line);
}

void TOrthexLiveRichEdit::ReplaceAll(const std::string& old_word, const std::string& new_word) {
  if (old_word == new_word || busy_ || control_ == nullptr) return;
  busy_ = true;
  int sel_start = 0, sel_end = 0;
  control_->GetSelection(sel_start, sel_end);
  TSpellUserInterface* ui = spell_ != nullptr ? spell_->UserInterface() : nullptr;
  bool busy_cursor = false;
  {
    RedrawGuard redraw(*control_);
    const auto started = std::chrono::steady_clock::now();
    TWinAPIControlParser parser(*control_);
    TMainParsingEngine engine;
    engine.SetWordChars(engine_->WordChars());
    engine.Init(&parser, TCheckMode::cmAll);
    for (std::string word = engine.NextWord(); !word.empty(); word = engine.NextWord()) {
      if (word == old_word) {
        parser.SelectBack(static_cast<int>(word.size()));
        parser.ReplaceSelection(new_word, 0);
      }
      if (!busy_cursor && ui != nullptr &&
          std::chrono::steady_clock::now() - started > std::chrono::milliseconds(kBusyCursorDelayMs)) {
        ui->SetBusyCursor();
        busy_cursor = true;
      }
    }
    control_->SetSelection(sel_start, sel_end);
  }
  if (busy_cursor) ui->RestoreCursor();
  InvalidateAll();
  busy_ = false;
}

void TOrthexLiveRichEdit::RunAction(int state) {
  if (control_ == nullptr) return;
  if (state == kStateContextualIgnore) {
    const int caret = control_->CaretIndex();
    const int line = control_->LineFromChar(caret);
    const int line_start = control_->LineIndex(line);
    if (line_start < 0) return;
    const int column = caret - line_start;
    std::string previous;
    for (const LineWord& word : LineWords(control_->Line(line, kMaxLineLength))) {
      if (word.Start <= column && column <= word.End) {
        int start = 0, end = 0;
        control_->GetSelection(start, end);
        if (end - start < kMaxSelectedTextQuery && control_->SelectedText() == word.Text) {
          ignored_after_[word.Text].insert(previous);
          MarkLine(line);
        }
        return;
      }
      previous = word.Text;
    }
    return;
  }
  if (state == 11 || state == 12) {
    const int caret = control_->CaretIndex();
    control_->SetSelection(caret, caret);
    InvalidateAll();
    control_->Repaint();
  }
}

void TOrthexLiveRichEdit::CheckControl(TCheckMode mode) {
  if (control_ == nullptr || spell_ == nullptr) return;
  spell_->CheckWinControl(*control_, mode);
}

bool TOrthexLiveRichEdit::ContextMenu(TScreenPoint point) {
  using enum TSpellPopupOption;
  if (!live_spelling_active_ || control_ == nullptr || spell_ == nullptr) return false;
  const int index = point.x == -1 && point.y == -1 ? control_->CaretIndex() : control_->CharFromClientPoint(point);
  if (index < 0) return false;
  const int line = control_->LineFromChar(index);
  const int line_start = control_->LineIndex(line);
  if (line_start < 0) return false;
  const std::string text = control_->Line(line, kMaxLineLength);
  if (spell_->IsLineIgnored(text)) return false;
  track_preceding_ = menu_options_.Has(spIgnore);
  const int column = index - line_start;
  const LineWord* found = nullptr;
  std::string previous;
  const std::vector<LineWord> words = LineWords(text);
  for (const LineWord& word : words) {
    if (!IsWordAcceptable(word.Text, previous)) {
      if (word.Start - 1 <= column && column <= word.End) {
        found = &word;
        break;
      }
      if (word.End > column) break;
    }
    if (track_preceding_) previous = word.Text;
  }
  if (found == nullptr) return false;

  control_->SetSelection(line_start + found->Start, line_start + found->End);
  const TScreenPoint below{control_->ClientPositionFromChar(line_start + found->Start).x,
                           control_->CharBaseline(line_start + found->Start) + kZigZagHigh};
  const std::string original = found->Text;
  std::string word = original;
  const TSpellPopupOption result =
      spell_->ShowWordPopup(*control_, menu_options_, word, control_->ClientToScreen(below));
  switch (result) {
    case spDialog: {
      const TSpellEndMessage saved_message = spell_->EndMessage;
      const TSpellDialogInitialPos saved_pos = spell_->DialogInitialPos;
      const bool saved_synchronous = spell_->SynchronousCheck;
      spell_->EndMessage = TSpellEndMessage::emNever;
      spell_->DialogInitialPos = TSpellDialogInitialPos::ipUnderSelection;
      // The settings hold until the check of the word has ended.
      spell_->SynchronousCheck = true;
      spell_->CheckWinControl(*control_, TCheckMode::cmSelection);
      spell_->EndMessage = saved_message;
      spell_->DialogInitialPos = saved_pos;
      spell_->SynchronousCheck = saved_synchronous;
      break;
    }
    case spAutoCorrect:
    case spReplace:
      BeforeChange();
      control_->ReplaceSelection(word);
      break;
    case spChangeAll:
      BeforeChange();
      control_->ReplaceSelection(word);
      ReplaceAll(original, word);
      break;
    case spAdd:
    case spIgnoreAll:
      InvalidateAll();
      control_->Repaint();
      break;
    case spIgnore:
      RunAction(kStateContextualIgnore);
      break;
    default:
      break;
  }
  InvalidateLine(control_->LineFromChar(line_start));
  return true;
}

}  // namespace tovuri
