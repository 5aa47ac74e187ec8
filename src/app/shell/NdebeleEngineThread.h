#pragma once
// The worker thread that analyses the background checker's words, one at a
// time: the shell hands a word over and polls for the answer, so the
// user-interface thread never waits for the analyser.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include "analyser/word_check.h"

namespace tovuri {

enum class TEnginePriority : unsigned char { epLowest, epNormal };

// A word and the analyser's verdict on it. An analysis that failed (memory
// ran out, say) leaves the word not accepted and says why in Failure.
struct TEngineAnswer {
  std::string Word;
  bool Accepted = false;
  std::string Failure;
};

class TNdebeleEngine {
 public:

  // Starts the worker suspended. The analyser defaults to IsNdebeleWord, with
  // names after a prefix.
  explicit TNdebeleEngine(TEnginePriority priority = TEnginePriority::epLowest, TWordAnalyser analyser = {});
  // Stops the worker, waiting for the word it is analysing.
  ~TNdebeleEngine();
  TNdebeleEngine(const TNdebeleEngine&) = delete;
  TNdebeleEngine& operator=(const TNdebeleEngine&) = delete;

  // True while the worker holds no word: it answered the last one (or had
  // none) and waits. Only then may a word be handed over.
  bool Suspended() const;
  // Hands a word to a suspended worker; false (and nothing handed over) when
  // it is still busy with the previous one.
  bool Resume(std::string word);
  // The last word answered and its verdict; meaningful once Suspended().
  TEngineAnswer Answer() const;
  // Has a suspended worker run a job (building what the analyser needs, say)
  // as it would analyse a word; false when it is busy. Jobs before the first
  // word run at the program's own priority: the user-interface thread may be
  // waiting for what they build.
  bool Prepare(std::function<void()> job);
  // Why the last preparation job failed; empty when it did not. Reading it
  // clears it, so each failure is told once.
  std::string TakePreparationFailure();
  // Stops the worker and waits for it; no word is handed over afterwards.
  void Stop();

 private:
  void Run();

  TWordAnalyser analyser_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  TEnginePriority priority_;
  std::string word_;  // handed over, not yet taken by the worker
  bool has_word_ = false;
  std::function<void()> job_;  // handed over, not yet taken by the worker
  bool suspended_ = true;
  bool terminate_ = false;
  TEngineAnswer answer_;
  std::string preparation_failure_;
  std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace tovuri
