// The checker component's interactive check: the check loop, the dialog's
// commands, undo, the end of a check, multi-part checks and word counts.
#include <algorithm>
#include <chrono>
#include <climits>

#include "spell/ox3SpellBase.h"
#include "spell/ox3StringParser.h"
#include "spell/ox3WinAPIParser.h"

namespace tovuri {

namespace {

using Clock = std::chrono::steady_clock;

// Checking shows the busy cursor after this long without a pause.
constexpr auto kBusyCursorDelay = std::chrono::milliseconds(1000);
// Words between two looks at the clock.
constexpr int kClockInterval = 64;
// An end limit that lets reading run to the end of the text.
constexpr int kTextEnd = INT_MAX;

int Length(const std::string& text) { return static_cast<int>(std::min<size_t>(text.size(), INT_MAX / 4)); }

bool Before(TTextPos a, TTextPos b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }

}  // namespace

// ---- Starting a check ---------------------------------------------------------

void TOrthexSpell3Base::CheckString(std::string& text) {
  CheckOwnParser(std::make_unique<TStringParser>(text), TCheckMode::cmAll);
}

void TOrthexSpell3Base::CheckWinControl(TTextControl& control, TCheckMode mode) {
  CheckOwnParser(std::make_unique<TWinAPIControlParser>(control), mode);
}

void TOrthexSpell3Base::CheckRichEditControl(TTextControl& control, TCheckMode mode) {
  auto parser = std::make_unique<TWinAPIControlParser>(control);
  parser->SetControlType(TControlType::ctRichEdit);
  CheckOwnParser(std::move(parser), mode);
}

void TOrthexSpell3Base::CheckOwnParser(std::unique_ptr<TControlParser> parser, TCheckMode mode) {
  if (OwnsParser) {
    CheckParser(parser.release(), mode);
    return;
  }
  TControlParser* raw = parser.get();
  CheckParser(raw, mode);
  // An asynchronous check goes on reading the parser after this returns:
  // keep it until the check ends instead of freeing it under the check.
  if (is_checking_ && current_parser_ == raw) parser_keeper_ = std::move(parser);
}

void TOrthexSpell3Base::CheckParser(TControlParser* parser, TCheckMode mode) {
  if (parser == nullptr) return;
  if (is_checking_ || (in_multi_check_ && cancelled_)) {
    if (OwnsParser) delete parser;
    return;
  }
  if (mode == TCheckMode::cmSelectionThenRest) {
    CheckSelectionThenRest(parser);
    return;
  }
  change_notified_ = false;
  cancelled_ = false;
  is_checking_ = true;
  configuration_->EnsureLoaded();
  current_parser_ = parser;
  saved_caret_ = parser->GetCaret();
  previous_word_.clear();
  repeated_mode_ = false;
  parsing_engine_->Init(parser, mode);
  undo_list_.clear();
  if (!in_multi_check_) {
    words_checked_ = 0;
    words_until_promotion_ = 100;
    dialog_shown_ = false;
  }
  if (DialogShowImmediate) ShowSpellDialog();
  if (!(DialogShowImmediate && DialogShowModal)) ContinueCheck();
  while (SynchronousCheck && is_checking_) {
    // Nothing can answer a prompt: end the check rather than wait forever.
    if (ui_ == nullptr || !ui_->ProcessPendingEvents()) StopCheck(true);
  }
}

// ---- The check loop -------------------------------------------------------------

void TOrthexSpell3Base::SetBusy(bool& busy) {
  if (busy || ui_ == nullptr) return;
  ui_->SetBusyCursor();
  busy = true;
}

void TOrthexSpell3Base::RestoreBusy(bool& busy) {
  if (!busy) return;
  if (ui_ != nullptr) ui_->RestoreCursor();
  busy = false;
}

void TOrthexSpell3Base::ContinueCheck() {
  if (!is_checking_ || current_parser_ == nullptr) return;
  const Clock::time_point entered = Clock::now();
  bool busy = false;
  int until_clock = kClockInterval;
  std::string replacement;
  for (;;) {
    current_word_ = parsing_engine_->NextWord();
    if (current_word_.empty()) {
      RestoreBusy(busy);
      FinishCheck();
      return;
    }
    ++words_checked_;
    if (words_until_promotion_ > 0 && --words_until_promotion_ == 0) PromoteBestMainDictionary();

    TWordCheckType check_type = TWordCheckType::wctAccepted;
    replacement.clear();
    if (IsWordAcceptable(current_word_)) {
      if (UseExcludeWords && IsExcludedWord(current_word_)) {
        check_type = FindAutoCorrect(current_word_, replacement) ? TWordCheckType::wctAutoCorrect
                                                                 : TWordCheckType::wctExcluded;
      } else if (UseAutoCorrectFirst && FindAutoCorrect(current_word_, replacement)) {
        check_type = TWordCheckType::wctAutoCorrect;
      } else if (prompt_repeated_) {
        if (current_word_ == previous_word_ && IsRepeatedWord(current_word_, *current_parser_))
          check_type = TWordCheckType::wctRepeated;
        previous_word_ = current_word_;
      }
    } else {
      check_type = FindAutoCorrect(current_word_, replacement) ? TWordCheckType::wctAutoCorrect
                                                               : TWordCheckType::wctMisspelled;
    }

    if (OnWordCheck) {
      OnWordCheck(*this, current_word_, check_type, replacement);
      // The handler may have ended the check.
      if (!is_checking_ || current_parser_ == nullptr) {
        RestoreBusy(busy);
        return;
      }
    }

    if (check_type == TWordCheckType::wctAutoCorrect) {
      // Selected before it is recorded, so that undo finds the word's start.
      current_parser_->SelectBack(Length(current_word_));
      RecordUndo(TSpellAction::sacChange, replacement, true);
      ReplaceCurrentWord(replacement, 2);
    }

    if (UseHourglassCursor && !busy && --until_clock <= 0) {
      until_clock = kClockInterval;
      if (Clock::now() - entered > kBusyCursorDelay) SetBusy(busy);
    }

    if (check_type != TWordCheckType::wctExcluded && check_type != TWordCheckType::wctMisspelled &&
        check_type != TWordCheckType::wctRepeated)
      continue;

    RestoreBusy(busy);
    repeated_mode_ = check_type == TWordCheckType::wctRepeated;
    if (repeated_mode_) current_word_ = current_word_ + " " + current_word_;
    current_parser_->SelectBack(Length(current_word_));
    current_parser_->ShowSelection();
    ShowSpellDialog();
    if (is_checking_) PromptWord();
    return;
  }
}

bool TOrthexSpell3Base::IsRepeatedWord(const std::string& word, TControlParser& parser) {
  const TTextPos position = parser.GetPosition();
  bool repeated = true;
  for (int i = 0; i <= Length(word) && repeated; ++i) repeated = parser.Prev();
  if (repeated && parser.CurrentChar() != ' ') repeated = false;
  for (size_t i = word.size(); repeated && i-- > 0;)
    repeated = parser.Prev() && parser.CurrentChar() == word[i];
  parser.SetPosition(position.x, position.y, TPositionKind::pkPosition);
  return repeated;
}

void TOrthexSpell3Base::PromptWord() {
  PromoteBestMainDictionary();
  if (ui_ != nullptr && dialog_exists_) ui_->PromptSpellDialog(current_word_, repeated_mode_);
  if (OnPromptWord) OnPromptWord(*this, current_word_, repeated_mode_);
}

void TOrthexSpell3Base::ReplaceCurrentWord(const std::string& text, int state) {
  if (current_parser_ == nullptr) return;
  if (!change_notified_) {
    change_notified_ = true;
    if (OnBeforeChange) OnBeforeChange(*this);
  }
  if (OnParserReplaceWord) OnParserReplaceWord(*this, true, text, state);
  current_parser_->ReplaceSelection(text, state);
  if (OnParserReplaceWord) OnParserReplaceWord(*this, false, text, state);
}

void TOrthexSpell3Base::IgnoreCurrentWord(int state) {
  if (current_parser_ == nullptr) return;
  if (OnParserIgnoreWord) OnParserIgnoreWord(*this, true, state);
  word_ignored_listeners_.Notify(*this, state, true);
  current_parser_->SkipSelection(state);
  if (OnParserIgnoreWord) OnParserIgnoreWord(*this, false, state);
  word_ignored_listeners_.Notify(*this, state, false);
}

// ---- Dialog commands --------------------------------------------------------------

void TOrthexSpell3Base::CmdIgnore() {
  if (!is_checking_) return;
  RecordUndo(TSpellAction::sacIgnore, {}, false);
  IgnoreCurrentWord(10);
  ContinueCheck();
}

void TOrthexSpell3Base::CmdIgnoreRepeated() { CmdIgnore(); }

void TOrthexSpell3Base::CmdIgnoreAll() {
  if (!is_checking_ || repeated_mode_) return;
  RecordUndo(TSpellAction::sacIgnoreAll, {}, false);
  IgnoreAllForms(current_word_);
  IgnoreCurrentWord(11);
  ContinueCheck();
}

void TOrthexSpell3Base::CmdChange(const std::string& text) {
  if (!is_checking_ || repeated_mode_) return;
  RecordUndo(TSpellAction::sacChange, text, false);
  ReplaceCurrentWord(text, 0);
  if (RecheckReplacedWords && current_parser_ != nullptr) {
    const TTextPos position = current_parser_->GetPosition();
    current_parser_->SetPosition(std::max(position.x - Length(text), 0), position.y,
                                 TPositionKind::pkPosition);
  }
  LearnReplacement(current_word_, text);
  ContinueCheck();
}

void TOrthexSpell3Base::CmdDeleteRepeated() {
  if (!is_checking_ || !repeated_mode_) return;
  RecordUndo(TSpellAction::sacChange, previous_word_, false);
  ReplaceCurrentWord(previous_word_, 0);
  ContinueCheck();
}

void TOrthexSpell3Base::CmdChangeAll(const std::string& text) {
  if (!is_checking_ || repeated_mode_) return;
  RecordUndo(TSpellAction::sacChangeAll, text, false);
  internal_dictionary_->AddAutoCorrect(current_word_, text);
  ReplaceCurrentWord(text, 1);
  LearnReplacement(current_word_, text);
  ContinueCheck();
}

void TOrthexSpell3Base::CmdAdd() {
  if (!is_checking_ || repeated_mode_) return;
  RecordUndo(TSpellAction::sacAdd, {}, false);
  if (active_custom_) active_custom_->AddWord(current_word_);
  IgnoreCurrentWord(12);
  ContinueCheck();
}

void TOrthexSpell3Base::CmdAutoCorrect(const std::string& text) {
  if (!is_checking_ || repeated_mode_) return;
  RecordUndo(TSpellAction::sacAutoCorrect, text, false);
  if (active_custom_) active_custom_->AddAutoCorrect(current_word_, text);
  LearnReplacement(current_word_, text);
  ReplaceCurrentWord(text, 2);
  ContinueCheck();
}

void TOrthexSpell3Base::CmdUndo() {
  if (!is_checking_ || undo_list_.empty()) return;
  UndoLast();
  ContinueCheck();
}

void TOrthexSpell3Base::CmdCancel() {
  if (!is_checking_) return;
  cancelled_ = true;
  FinishCheck();
}

// ---- Undo ---------------------------------------------------------------------------

void TOrthexSpell3Base::RecordUndo(TSpellAction action, const std::string& replacement, bool automatic) {
  if (current_parser_ == nullptr || max_undo_ == 0) return;
  const TTextPos position = current_parser_->GetPosition();
  TOrthexUndo record;
  record.X = position.x;
  record.Y = position.y;
  record.Word = current_word_;
  record.Action = action;
  record.Replacement = replacement;
  record.Automatic = automatic;
  undo_list_.push_back(std::move(record));
  NotifyUndo(0, action, undo_list_.back().Data);
  while (max_undo_ != -1 && undo_list_.size() > static_cast<size_t>(max_undo_))
    undo_list_.erase(undo_list_.begin());
}

void TOrthexSpell3Base::NotifyUndo(int state, TSpellAction action, std::int32_t& data) {
  if (OnParserUndoLast) OnParserUndoLast(*this, state, action, data);
  if (current_parser_ != nullptr) current_parser_->UndoNotify(state, action, data);
}

void TOrthexSpell3Base::RestoreText(const TOrthexUndo& record, int state) {
  const int length = Length(record.Replacement);
  current_parser_->SetPosition(record.X + length, record.Y, TPositionKind::pkPosition);
  current_parser_->SelectBack(length);
  ReplaceCurrentWord(record.Word, state);
  current_parser_->SetPosition(record.X, record.Y, TPositionKind::pkPosition);
}

void TOrthexSpell3Base::UndoLast() {
  // An automatic correction is undone together with the record before it,
  // and so on back to the user's decision: a loop, as a Change All may be
  // followed by any number of automatic corrections.
  bool automatic = true;
  while (automatic && !undo_list_.empty() && current_parser_ != nullptr) {
    TOrthexUndo record = std::move(undo_list_.back());
    NotifyUndo(1, record.Action, record.Data);
    switch (record.Action) {
      case TSpellAction::sacIgnore:
        current_parser_->SetPosition(record.X, record.Y, TPositionKind::pkPosition);
        break;
      case TSpellAction::sacIgnoreAll:
        for (const std::string& form : IgnoredForms(record.Word)) internal_dictionary_->RemoveWord(form);
        current_parser_->SetPosition(record.X, record.Y, TPositionKind::pkPosition);
        break;
      case TSpellAction::sacAdd:
        if (active_custom_) active_custom_->RemoveWord(record.Word);
        current_parser_->SetPosition(record.X, record.Y, TPositionKind::pkPosition);
        break;
      case TSpellAction::sacChange:
        RestoreText(record, 3);
        break;
      case TSpellAction::sacChangeAll:
        internal_dictionary_->RemoveAutoCorrect(record.Word);
        RestoreText(record, 4);
        break;
      case TSpellAction::sacAutoCorrect:
        if (active_custom_) active_custom_->RemoveAutoCorrect(record.Word);
        internal_dictionary_->RemoveAutoCorrect(record.Word);
        RestoreText(record, 5);
        break;
    }
    undo_list_.pop_back();
    NotifyUndo(2, record.Action, record.Data);
    automatic = record.Automatic;
  }
}

// ---- Resuming and ending ----------------------------------------------------------

void TOrthexSpell3Base::ResumeCheck() {
  if (!is_checking_ || current_parser_ == nullptr) return;
  undo_list_.clear();
  // The user may have typed while the dialog was away: no cached line may survive.
  if (auto* window = dynamic_cast<TWinAPIControlParser*>(current_parser_)) window->Refresh();
  // The loop leaves the position at the start of the word on display.
  const TTextPos word_start = current_parser_->GetPosition();
  const TTextPos caret = current_parser_->GetCaret();
  const TTextPos from = ResumeFromLastPosition && Before(word_start, caret) ? word_start : caret;
  parsing_engine_->SetPosition(from.x, from.y);
  ContinueCheck();
}

void TOrthexSpell3Base::PlaceEndCaret(TControlParser& parser, TTextPos original) {
  TTextPos caret;
  switch (EndCursorPosition) {
    case TSpellEndPosition::epHome:
      caret = {0, 0};
      break;
    case TSpellEndPosition::epOriginal:
      caret = original;
      break;
    case TSpellEndPosition::epNoModify:
      caret = parser.GetCaret();
      break;
  }
  parser.SetPosition(caret.x, caret.y, TPositionKind::pkPosition);
  parser.SelectBack(0);
}

void TOrthexSpell3Base::FinishCheck() {
  if (OnCompleteCheck) OnCompleteCheck(*this);
  ShowEndMessage();
  if (!cancelled_ && current_parser_ != nullptr) PlaceEndCaret(*current_parser_, saved_caret_);
  parsing_engine_->Init(nullptr, TCheckMode::cmAll);
  if (parser_keeper_ && parser_keeper_.get() == current_parser_) {
    parser_keeper_.reset();
  } else if (OwnsParser) {
    delete current_parser_;
  }
  current_parser_ = nullptr;
  HideSpellDialog();
  undo_list_.clear();
  is_checking_ = false;
  DeactivateDictionaries();
}

void TOrthexSpell3Base::StopCheck(bool cancelled) {
  if (!is_checking_) return;
  if (cancelled) cancelled_ = true;
  FinishCheck();
}

void TOrthexSpell3Base::ShowEndMessage() {
  if (UIType != TSpellUI::suiDialog || in_multi_check_) return;
  const bool show = EndMessage == TSpellEndMessage::emAlways ||
                    (EndMessage == TSpellEndMessage::emExceptCancel && !cancelled_) ||
                    (EndMessage == TSpellEndMessage::emNoDialog && dialog_shown_);
  if (!show) return;
  if (CloseDialogAtEnd && dialog_exists_ && ui_ != nullptr) ui_->HideSpellDialog();
  if (OnShowEndMessage) {
    OnShowEndMessage(*this);
    return;
  }
  if (ui_ == nullptr) return;
  std::string text = GetUIString(kStrCheckComplete);
  if (EndMessageWordCount)
    text += "\r\n\r\n" + GetUIString(kStrWordsChecked) + " " + std::to_string(words_checked_);
  ui_->ShowInformation(GetUIString(kStrSpellingCaption), text);
}

// ---- Several parts as one check ---------------------------------------------------

void TOrthexSpell3Base::CheckSelectionThenRest(TControlParser* parser) {
  const bool saved_synchronous = SynchronousCheck;
  const bool saved_owns = OwnsParser;
  SynchronousCheck = true;
  OwnsParser = false;
  BeginMultiCheck();
  const TTextRange selection = parser->GetSelection();
  if (selection.start == selection.end) {
    CheckParser(parser, TCheckMode::cmFromCaret);
    parser->SetPosition(0, 0, TPositionKind::pkPosition);
    parser->SetPosition(selection.start.x, selection.start.y, TPositionKind::pkEndLimit);
    CheckParser(parser, TCheckMode::cmPresetRange);
  } else {
    CheckParser(parser, TCheckMode::cmSelection);
    // Changes of another length inside the selection have moved its end.
    const TTextPos selection_end = parser->GetEndLimit();
    if (!cancelled_) {
      // Without anyone to ask, the caller wanted the whole text checked.
      const bool rest = ui_ == nullptr || UIType == TSpellUI::suiSilent ||
                        ui_->AskYesNo(GetUIString(kStrSpellingCaption), GetUIString(kStrCheckRemainder));
      if (rest) {
        parser->SetPosition(selection_end.x, selection_end.y, TPositionKind::pkPosition);
        parser->SetPosition(kTextEnd, kTextEnd, TPositionKind::pkEndLimit);
        CheckParser(parser, TCheckMode::cmPresetRange);
        parser->SetPosition(0, 0, TPositionKind::pkPosition);
        parser->SetPosition(selection.start.x, selection.start.y, TPositionKind::pkEndLimit);
        CheckParser(parser, TCheckMode::cmPresetRange);
      } else {
        cancelled_ = true;
      }
    }
  }
  EndMultiCheck();
  SynchronousCheck = saved_synchronous;
  OwnsParser = saved_owns;
  if (saved_owns) delete parser;
}

void TOrthexSpell3Base::BeginMultiCheck() {
  words_checked_ = 0;
  words_until_promotion_ = 100;
  cancelled_ = false;
  dialog_shown_ = false;
  in_multi_check_ = true;
  saved_close_dialog_at_end_ = CloseDialogAtEnd;
  saved_keep_dictionaries_active_ = keep_dictionaries_active_;
  CloseDialogAtEnd = false;
  keep_dictionaries_active_ = true;
}

void TOrthexSpell3Base::EndMultiCheck() {
  if (!in_multi_check_) return;
  in_multi_check_ = false;
  CloseDialogAtEnd = true;
  ShowEndMessage();
  CloseDialog();
  CloseDialogAtEnd = saved_close_dialog_at_end_;
  SetKeepDictionariesActive(saved_keep_dictionaries_active_);
}

// ---- Word counts ------------------------------------------------------------------

int TOrthexSpell3Base::CountStringWords(const std::string& text) {
  std::string copy = text;
  TStringParser parser(copy);
  const bool saved_owns = OwnsParser;
  OwnsParser = false;
  const int count = CountParserWords(&parser, TCheckMode::cmAll);
  OwnsParser = saved_owns;
  return count;
}

int TOrthexSpell3Base::CountWinControlWords(TTextControl& control, TCheckMode mode) {
  return CountOwnParser(std::make_unique<TWinAPIControlParser>(control), mode);
}

int TOrthexSpell3Base::CountOwnParser(std::unique_ptr<TControlParser> parser, TCheckMode mode) {
  if (OwnsParser) return CountParserWords(parser.release(), mode);
  return CountParserWords(parser.get(), mode);
}

int TOrthexSpell3Base::CountParserWords(TControlParser* parser, TCheckMode mode) {
  if (parser == nullptr) return 0;
  int count = 0;
  if (mode == TCheckMode::cmSelection || mode == TCheckMode::cmAll) {
    configuration_->EnsureLoaded();
    const TTextPos caret = parser->GetCaret();
    TMainParsingEngine engine;
    BindEngineHooks(engine);
    engine.Init(parser, mode);
    const Clock::time_point entered = Clock::now();
    bool busy = false;
    int until_clock = kClockInterval;
    while (!engine.NextWord().empty()) {
      ++count;
      if (UseHourglassCursor && !busy && --until_clock <= 0) {
        until_clock = kClockInterval;
        if (Clock::now() - entered > kBusyCursorDelay) SetBusy(busy);
      }
    }
    RestoreBusy(busy);
    PlaceEndCaret(*parser, caret);
  }
  if (OwnsParser) delete parser;
  return count;
}

// ---- The spelling dialog's life cycle -----------------------------------------------

bool TOrthexSpell3Base::CreateSpellDialog() { return false; }

void TOrthexSpell3Base::ShowSpellDialog() {
  if (UIType == TSpellUI::suiSilent) return;
  if (!dialog_exists_) {
    if (OnCreateSpellDialog)
      OnCreateSpellDialog(*this, dialog_exists_, true);
    else
      dialog_exists_ = CreateSpellDialog();
    if (!dialog_exists_) return;
  }
  if (!dialog_shown_) {
    dialog_shown_ = true;
    if (OnSpellDialogShow) OnSpellDialogShow(*this);
    PlaceDialog();
    if (!DialogShowModal && ui_ != nullptr) ui_->ShowSpellDialog(false);
  }
  AvoidSelection();
  if (DialogShowModal && !modal_showing_ && ui_ != nullptr) {
    modal_showing_ = true;
    ui_->ShowSpellDialog(true);
    modal_showing_ = false;
  }
}

void TOrthexSpell3Base::DialogShowHook() {
  if (!DialogShowModal) return;
  if (DialogShowImmediate)
    ContinueCheck();
  else if (is_checking_)
    PromptWord();
}

void TOrthexSpell3Base::DialogDeactivated() {
  if (dialog_deactivated_) return;
  dialog_deactivated_ = true;
  if (OnDialogDeactivate) OnDialogDeactivate(*this);
}

void TOrthexSpell3Base::DialogActivated() {
  if (!dialog_deactivated_) return;
  dialog_deactivated_ = false;
  if (OnDialogActivate) OnDialogActivate(*this);
  ResumeCheck();
}

void TOrthexSpell3Base::HideSpellDialog() {
  if (!dialog_exists_) return;
  if (DialogInitialPos == TSpellDialogInitialPos::ipLastUserPos && ui_ != nullptr) {
    int x = -1, y = -1;
    if (ui_->SpellDialogPosition(x, y)) {
      configuration_->SetDialogX(x);
      configuration_->SetDialogY(y);
    }
  }
  if (!CloseDialogAtEnd && !DialogShowModal) return;
  if (ui_ != nullptr) ui_->HideSpellDialog();
  if (OnSpellDialogHide) OnSpellDialogHide(*this);
  bool exists = false;
  if (OnCreateSpellDialog) OnCreateSpellDialog(*this, exists, false);
  dialog_exists_ = false;
  dialog_deactivated_ = false;
}

void TOrthexSpell3Base::CloseDialog() {
  const bool saved = CloseDialogAtEnd;
  CloseDialogAtEnd = true;
  HideSpellDialog();
  CloseDialogAtEnd = saved;
}

void TOrthexSpell3Base::PlaceDialog() {
  if (ui_ == nullptr) return;
  TDialogPlace place;
  place.word = current_parser_ != nullptr ? current_parser_->SelectionRect() : TScreenRect{};
  switch (DialogInitialPos) {
    case TSpellDialogInitialPos::ipScreenCenter:
      place.how = TDialogPlacement::dpScreenCenter;
      break;
    case TSpellDialogInitialPos::ipUnderSelection:
      if (DialogShowImmediate) return;
      place.how = TDialogPlacement::dpOffWord;
      break;
    case TSpellDialogInitialPos::ipAvoidControl:
      PlaceDialogNearSelection();
      return;
    case TSpellDialogInitialPos::ipUserDefined:
      if (OnPositionDialog) OnPositionDialog(*this);
      return;
    case TSpellDialogInitialPos::ipLastUserPos: {
      const int x = configuration_->DialogXValue();
      const int y = configuration_->DialogYValue();
      if (x == -1 || y == -1) {
        PlaceDialogNearSelection();
        return;
      }
      place.how = TDialogPlacement::dpAt;
      place.x = x;
      place.y = y;
      break;
    }
    case TSpellDialogInitialPos::ipIgnore:
      place.how = TDialogPlacement::dpSystem;
      break;
  }
  ui_->PlaceSpellDialog(place);
}

void TOrthexSpell3Base::PlaceDialogNearSelection() {
  if (ui_ == nullptr) return;
  TDialogPlace place;
  place.how = TDialogPlacement::dpNearControl;
  if (current_parser_ != nullptr) {
    place.control = current_parser_->ControlRect();
    place.word = current_parser_->SelectionRect();
  }
  place.centre_on_control = DialogShowImmediate;
  ui_->PlaceSpellDialog(place);
}

void TOrthexSpell3Base::AvoidSelection() {
  if (ui_ == nullptr || DialogSelectionAvoid == TSpellDialogAvoidPos::saNone || current_parser_ == nullptr)
    return;
  ui_->AvoidSelection(DialogSelectionAvoid, current_parser_->SelectionRect());
}

}  // namespace tovuri
