#include "app/shell/NdebeleEngineThread.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <new>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>

namespace tovuri {
namespace {

// The verdict the stress test's analyser gives: a function of the word alone.
bool Verdict(std::string_view word) { return word.size() % 3 == 0 || word.back() == '7'; }

void WaitUntilSuspended(const TNdebeleEngine& engine) {
  while (!engine.Suspended()) std::this_thread::yield();
}

TEST(NdebeleEngine, AnswersEachWordWithTheAnalysersVerdict) {
  TNdebeleEngine engine(TEnginePriority::epNormal, Verdict);
  EXPECT_TRUE(engine.Suspended());
  for (const std::string word : {"ab", "abc", "x7", "abcd", "abcdef"}) {
    ASSERT_TRUE(engine.Resume(word));
    WaitUntilSuspended(engine);
    const TEngineAnswer answer = engine.Answer();
    EXPECT_EQ(answer.Word, word);
    EXPECT_EQ(answer.Accepted, Verdict(word)) << word;
  }
}

TEST(NdebeleEngine, RefusesAHandOverWhileItIsAnalysing) {
  std::atomic<bool> release = false;
  TNdebeleEngine engine(TEnginePriority::epNormal, [&](std::string_view) {
    while (!release) std::this_thread::yield();
    return true;
  });
  ASSERT_TRUE(engine.Resume("first"));
  EXPECT_FALSE(engine.Suspended());
  EXPECT_FALSE(engine.Resume("second"));
  release = true;
  WaitUntilSuspended(engine);
  EXPECT_EQ(engine.Answer().Word, "first");
}

TEST(NdebeleEngine, RunsAPreparationJobAsItWouldAWordAndWaitsForItBeforeTheNextWord) {
  std::atomic<bool> release = false;
  std::atomic<bool> prepared = false;
  TNdebeleEngine engine(TEnginePriority::epNormal, [&](std::string_view) { return prepared.load(); });
  ASSERT_TRUE(engine.Prepare([&] {
    while (!release) std::this_thread::yield();
    prepared = true;
  }));
  EXPECT_FALSE(engine.Suspended());
  EXPECT_FALSE(engine.Resume("word"));  // a word must not overtake the preparation
  release = true;
  WaitUntilSuspended(engine);
  ASSERT_TRUE(engine.Resume("word"));
  WaitUntilSuspended(engine);
  EXPECT_EQ(engine.Answer().Word, "word");
  EXPECT_TRUE(engine.Answer().Accepted);
}

TEST(NdebeleEngine, AnExceptionWhileAnalysingIsAnsweredAsAFailureAndTheWorkerGoesOn) {
  TNdebeleEngine engine(TEnginePriority::epNormal, [](std::string_view word) {
    if (word == "huge") throw std::bad_alloc();
    if (word == "odd") throw std::runtime_error("a broken lexicon entry");
    return true;
  });
  ASSERT_TRUE(engine.Prepare([] { throw std::bad_alloc(); }));
  WaitUntilSuspended(engine);
  EXPECT_EQ(engine.TakePreparationFailure(), "not enough memory");
  EXPECT_EQ(engine.TakePreparationFailure(), "");  // told once
  for (const auto& [word, failure] : {std::pair<std::string, std::string>{"huge", "not enough memory"},
                                      {"odd", "a broken lexicon entry"},
                                      {"fine", ""}}) {
    ASSERT_TRUE(engine.Resume(word));
    WaitUntilSuspended(engine);
    const TEngineAnswer answer = engine.Answer();
    EXPECT_EQ(answer.Word, word);
    EXPECT_EQ(answer.Failure, failure) << word;
    EXPECT_EQ(answer.Accepted, failure.empty()) << word;
  }
}

TEST(NdebeleEngine, TakesNoWordOnceStopped) {
  TNdebeleEngine engine(TEnginePriority::epNormal, Verdict);
  engine.Stop();
  EXPECT_FALSE(engine.Resume("word"));
  EXPECT_FALSE(engine.Prepare([] {}));
  engine.Stop();  // a second stop does nothing
}

TEST(NdebeleEngine, PreparesAtTheProgramsPriorityAndAnalysesAtTheWeakestNiceValue) {
  const auto nice_now = [] { return getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid))); };
  const int program_nice = nice_now();
  std::atomic<int> job_nice = -100;
  std::atomic<int> nice_value = -100;
  TNdebeleEngine engine(TEnginePriority::epLowest, [&](std::string_view) {
    nice_value = nice_now();
    return true;
  });
  ASSERT_TRUE(engine.Prepare([&] { job_nice = nice_now(); }));
  WaitUntilSuspended(engine);
  ASSERT_TRUE(engine.Resume("word"));
  WaitUntilSuspended(engine);
  EXPECT_EQ(job_nice, program_nice);
  EXPECT_EQ(nice_value, 19);
}

TEST(NdebeleEngine, StopsWhileAWordIsInFlight) {
  auto engine = std::make_unique<TNdebeleEngine>(TEnginePriority::epNormal, [](std::string_view) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return true;
  });
  ASSERT_TRUE(engine->Resume("word"));
  engine.reset();  // joins; a crash or hang here fails the test
  SUCCEED();
}

// The shell's side of the hand-over, as the timer runs it, with restarts at
// random points that drop the word in flight. Every answer taken must belong
// to the word handed over last, and no hand-over may be lost or refused once
// the worker is seen suspended.
TEST(NdebeleEngine, HandOverSurvivesAHundredThousandRoundsWithRandomRestarts) {
  constexpr int kRounds = 100'000;
  std::atomic<int> analysed = 0;
  TNdebeleEngine engine(TEnginePriority::epNormal, [&](std::string_view word) {
    ++analysed;
    return Verdict(word);
  });
  std::mt19937 random(17);
  int handed_over = 0;
  int taken = 0;
  int dropped = 0;
  std::string in_flight;
  bool waiting = false;
  while (handed_over < kRounds) {
    if (waiting && random() % 16 == 0) {  // the user typed: the answer will be dropped
      waiting = false;
      ++dropped;
      continue;
    }
    if (!engine.Suspended()) {
      std::this_thread::yield();
      continue;
    }
    if (waiting) {
      const TEngineAnswer answer = engine.Answer();
      ASSERT_EQ(answer.Word, in_flight);
      ASSERT_EQ(answer.Accepted, Verdict(in_flight));
      ++taken;
      waiting = false;
    }
    in_flight = std::to_string(handed_over) + "w";
    ASSERT_TRUE(engine.Resume(in_flight));
    ++handed_over;
    waiting = true;
  }
  WaitUntilSuspended(engine);
  EXPECT_EQ(analysed, kRounds);
  EXPECT_EQ(taken + dropped + (waiting ? 1 : 0), kRounds);
  EXPECT_GT(dropped, 0);
}

}  // namespace
}  // namespace tovuri
