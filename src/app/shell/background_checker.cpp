#include "app/shell/background_checker.h"

#include <algorithm>
#include <utility>

#include "analyser/name_prefixes.h"
#include "common/ansi_case.h"

namespace tovuri {

TBackgroundChecker::TBackgroundChecker(TNdebeleChecker& checker, TTextControl& editor, TNdebeleEngine& engine,
                                       TNotice status, std::function<void(int)> set_interval)
    : checker_(checker),
      spell_(checker.Spell()),
      editor_(editor),
      engine_(engine),
      status_(std::move(status)),
      set_interval_(std::move(set_interval)) {}

void TBackgroundChecker::Tick() {
  if (in_timer_tick_) return;
  in_timer_tick_ = true;
  Step();
  in_timer_tick_ = false;
}

void TBackgroundChecker::Step() {
  using enum TCheckState;
  if (const std::string failure = engine_.TakePreparationFailure(); !failure.empty())
    status_("The word analyser could not prepare: " + failure);
  if (check_state_ <= csWait) set_interval_(kIdleInterval);
  if (check_state_ == csStartPass) set_interval_(kPassInterval);
  if (check_state_ == csIdle) return;
  if (check_state_ == csTextChanged) {
    check_state_ = csWait;
    return;
  }
  // A check with the user is running: wait for quiet again, and start over.
  if (spell_.IsChecking()) {
    check_state_ = csTextChanged;
    return;
  }
  switch (check_state_) {
    case csWait: check_state_ = csStartPass; return;
    case csStartPass:
      word_held_ = false;
      background_parser_.Init(editor_);
      spell_.ParsingEngine().Init(&background_parser_, TCheckMode::cmAll);
      check_state_ = csNextWord;
      return;
    case csNextWord: NextWord(); return;
    case csWaitForWorker:
      if (engine_.Suspended()) check_state_ = csTakeResult;
      return;
    case csTakeResult: TakeResult(); return;
    default: return;
  }
}

void TBackgroundChecker::NextWord() {
  // The engine is the component's; something else that read with it (an
  // interactive check, say) took it over, so the pass starts again.
  if (spell_.ParsingEngine().Parser() != &background_parser_) {
    check_state_ = TCheckState::csStartPass;
    return;
  }
  status_("Background checking ...");
  if (!word_held_) {
    background_word_ = spell_.ParsingEngine().NextWord();
    if (background_word_.empty()) {
      check_state_ = TCheckState::csIdle;
      status_("Background checking ready");
      return;
    }
    if (spell_.IsWordAcceptable(background_word_)) return;
    // A word the user excluded is never learnt, whatever the analyser says.
    if (spell_.UseExcludeWords && spell_.IsExcludedWord(background_word_)) return;
    // A closing quote the tokenizer kept with an unknown word closes a
    // quotation: the word before it is the one to learn.
    if (const std::string_view bare = WithoutClosingQuotes(background_word_);
        !bare.empty() && !spell_.IsExcludedWord(bare))
      background_word_ = std::string(bare);
    if (IsRejected(background_word_)) return;
    // A prefix joined to a name the dictionaries hold (one the user added,
    // say) needs no analyser.
    if (IsPrefixedName(background_word_, [this](std::string_view name) {
          return !spell_.IsExcludedWord(name) && spell_.WordInDictionaries(name);
        })) {
      checker_.Learn(background_word_);
      return;
    }
  }
  // The worker may still be busy with a word that a restart dropped, or with
  // its preparation: the word waits, so no answer is taken for another word.
  word_held_ = !engine_.Suspended();
  if (word_held_) return;
  status_("Looking for new word " + background_word_);
  engine_.Resume(background_word_);
  ++words_handed_over_;
  check_state_ = TCheckState::csWaitForWorker;
}

void TBackgroundChecker::TakeResult() {
  const TEngineAnswer answer = engine_.Answer();
  if (answer.Word == background_word_) {
    if (!answer.Failure.empty()) {
      // Not accepted, and not handed over again in this run.
      rejected_words_.Remember(AnsiLowerCase(background_word_), false);
      status_("Cannot check " + background_word_ + ": " + answer.Failure);
    } else if (answer.Accepted)
      checker_.Learn(background_word_);
    else
      rejected_words_.Remember(AnsiLowerCase(background_word_), false);
  }
  check_state_ = TCheckState::csNextWord;
}

}  // namespace tovuri
