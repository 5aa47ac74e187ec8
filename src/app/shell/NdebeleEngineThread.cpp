#include "app/shell/NdebeleEngineThread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <exception>
#include <new>
#include <utility>

#include "analyser/name_prefixes.h"
#include "analyser/word_check.h"

namespace tovuri {
namespace {

// The weakest nice value, one step above the scheduler's idle class, so
// analysis takes little from the user's programs yet is never starved.
void LowerThisThreadsPriority() { setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19); }

// The worker cannot reach the dictionaries, so a name after a prefix
// (koBulawayo) is judged by the analyser alone here.
bool IsNdebeleWordOrAnalysedName(std::string_view word) {
  return IsNdebeleWord(word) || IsPrefixedName(word, [](std::string_view name) { return IsNdebeleWord(name); });
}

// What the worker tells of an exception that ended its work: the program and
// the user's text live on, the word is simply not accepted.
std::string FailureText(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::bad_alloc&) {
    return "not enough memory";
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "an unknown error";
  }
}

}  // namespace

TNdebeleEngine::TNdebeleEngine(TEnginePriority priority, TWordAnalyser analyser)
    : analyser_(analyser ? std::move(analyser) : TWordAnalyser(IsNdebeleWordOrAnalysedName)),
      priority_(priority),
      thread_([this] { Run(); }) {}

TNdebeleEngine::~TNdebeleEngine() { Stop(); }

void TNdebeleEngine::Stop() {
  {
    const std::lock_guard lock(mutex_);
    terminate_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

bool TNdebeleEngine::Suspended() const {
  const std::lock_guard lock(mutex_);
  return suspended_;
}

bool TNdebeleEngine::Resume(std::string word) {
  {
    const std::lock_guard lock(mutex_);
    if (!suspended_ || terminate_) return false;
    word_ = std::move(word);
    has_word_ = true;
    suspended_ = false;
  }
  wake_.notify_one();
  return true;
}

bool TNdebeleEngine::Prepare(std::function<void()> job) {
  {
    const std::lock_guard lock(mutex_);
    if (!suspended_ || terminate_ || !job) return false;
    job_ = std::move(job);
    suspended_ = false;
  }
  wake_.notify_one();
  return true;
}

TEngineAnswer TNdebeleEngine::Answer() const {
  const std::lock_guard lock(mutex_);
  return answer_;
}

std::string TNdebeleEngine::TakePreparationFailure() {
  const std::lock_guard lock(mutex_);
  return std::exchange(preparation_failure_, {});
}

void TNdebeleEngine::Run() {
  bool lowered = false;
  std::unique_lock lock(mutex_);
  for (;;) {
    // Waiting on the condition itself means a hand-over made before the
    // worker got here is never missed.
    wake_.wait(lock, [this] { return has_word_ || job_ || terminate_; });
    if (terminate_) return;
    if (job_) {
      const std::function<void()> job = std::move(job_);
      job_ = nullptr;
      lock.unlock();
      std::string failure;
      try {
        job();
      } catch (...) {
        failure = FailureText(std::current_exception());
      }
      lock.lock();
      if (!failure.empty()) preparation_failure_ = std::move(failure);
      suspended_ = true;
      continue;
    }
    std::string word = std::move(word_);
    has_word_ = false;
    lock.unlock();
    if (!lowered && priority_ == TEnginePriority::epLowest) LowerThisThreadsPriority();
    lowered = true;
    bool accepted = false;
    std::string failure;
    try {
      accepted = analyser_(word);
    } catch (...) {
      failure = FailureText(std::current_exception());
    }
    lock.lock();
    answer_ = TEngineAnswer{std::move(word), accepted, std::move(failure)};
    suspended_ = true;
  }
}

}  // namespace tovuri
