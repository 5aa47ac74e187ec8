#pragma once
// While the user is idle, walks the editor's text a word per timer tick and
// hands every word the checker component does not accept to the engine
// thread; words the analyser accepts are learnt, rejected ones remembered for
// the run. Free of Qt: the window drives Tick from its timer.
#include <functional>
#include <string>

#include "app/shell/NdebeleEngineThread.h"
#include "checker/lru_memo.h"
#include "checker/ndebele_checker.h"
#include "common/ansi_case.h"
#include "spell/ox3SpellBase.h"
#include "spell/ox3TextControl.h"
#include "spell/ox3WinAPIParser.h"
#include "common/notice.h"

namespace tovuri {

// The steps of a pass; the numbers are the states' traditional values.
enum class TCheckState : int {
  csIdle = 0,
  csTextChanged = 1,
  csWait = 2,
  csStartPass = 3,
  csNextWord = 4,
  csWaitForWorker = 5,
  csTakeResult = 6,
};

class TBackgroundChecker {
 public:
  static constexpr int kIdleInterval = 1000;  // ms between ticks while waiting
  static constexpr int kPassInterval = 10;    // ms between ticks during a pass

  // Learns through the checker, which decides for the component it wraps;
  // set_interval changes the driving timer's interval in milliseconds.
  TBackgroundChecker(TNdebeleChecker& checker, TTextControl& editor, TNdebeleEngine& engine,
                     TNotice status, std::function<void(int)> set_interval);

  // One step of the state machine; a tick inside a tick returns at once.
  void Tick();

  TCheckState CheckState() const { return check_state_; }
  void SetCheckState(TCheckState state) { check_state_ = state; }
  bool InTimerTick() const { return in_timer_tick_; }
  const std::string& BackgroundWord() const { return background_word_; }
  // Rejected words remembered (without regard to case), the least recently
  // met going first past kRememberedRejects, so a long session stays small.
  static constexpr size_t kRememberedRejects = 50000;
  bool IsRejected(const std::string& word) { return rejected_words_.Find(AnsiLowerCase(word)) != nullptr; }
  size_t RejectedWordCount() const { return rejected_words_.Size(); }
  // How many words were handed to the engine thread.
  int WordsHandedOver() const { return words_handed_over_; }

 private:
  void Step();
  void NextWord();
  void TakeResult();

  TNdebeleChecker& checker_;
  TOrthexSpell3Base& spell_;
  TTextControl& editor_;
  TNdebeleEngine& engine_;
  TNotice status_;
  std::function<void(int)> set_interval_;

  TCheckState check_state_ = TCheckState::csIdle;
  bool in_timer_tick_ = false;
  std::string background_word_;
  bool word_held_ = false;  // background_word_ waits for the worker to be free
  TLruMemo<bool> rejected_words_{kRememberedRejects};  // by the word in small letters
  TWinAPIControlParser background_parser_;
  int words_handed_over_ = 0;
};

}  // namespace tovuri
