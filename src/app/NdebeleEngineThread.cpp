#include "app/NdebeleEngineThread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "analyser/word_check.h"

namespace tovuri {
namespace {

// The weakest nice value, one step above the scheduler's idle class, so
// analysis takes little from the user's programs yet is never starved.
void LowerThisThreadsPriority() { setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19); }

}  // namespace

TNdebeleEngine::TNdebeleEngine(TEnginePriority priority, TAnalyser analyser, std::function<void()> startup)
    : analyser_(analyser ? std::move(analyser) : TAnalyser([](std::string_view w) { return IsNdebeleWord(w); })),
      thread_([this, priority, startup = std::move(startup)] { Run(priority, startup); }) {}

TNdebeleEngine::~TNdebeleEngine() {
  {
    const std::lock_guard lock(mutex_);
    terminate_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

bool TNdebeleEngine::Suspended() const {
  const std::lock_guard lock(mutex_);
  return suspended_;
}

bool TNdebeleEngine::Started() const {
  const std::lock_guard lock(mutex_);
  return started_;
}

bool TNdebeleEngine::Resume(std::string word) {
  {
    const std::lock_guard lock(mutex_);
    if (!suspended_) return false;
    word_ = std::move(word);
    has_word_ = true;
    suspended_ = false;
  }
  wake_.notify_one();
  return true;
}

TEngineAnswer TNdebeleEngine::Answer() const {
  const std::lock_guard lock(mutex_);
  return answer_;
}

void TNdebeleEngine::Run(TEnginePriority priority, const std::function<void()>& startup) {
  // Start-up runs at the program's own priority: the user-interface thread
  // may be waiting for what it builds.
  if (startup) startup();
  if (priority == TEnginePriority::epLowest) LowerThisThreadsPriority();
  std::unique_lock lock(mutex_);
  started_ = true;
  for (;;) {
    // Waiting on the condition itself means a word handed over before the
    // worker got here is never missed.
    wake_.wait(lock, [this] { return has_word_ || terminate_; });
    if (terminate_) return;
    std::string word = std::move(word_);
    has_word_ = false;
    lock.unlock();
    const bool accepted = analyser_(word);
    lock.lock();
    answer_ = TEngineAnswer{std::move(word), accepted};
    suspended_ = true;
  }
}

}  // namespace tovuri
