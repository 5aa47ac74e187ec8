#include "app/shell/background_checker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../spell/spell_test_support.h"
#include "spell/ox3MemoryTextControl.h"

namespace tovuri {
namespace {

using enum TCheckState;

// A checker over an editor in memory, a component that knows a few words,
// and an engine whose analyser accepts a fixed set and counts its calls.
class BackgroundCheckerTest : public ::testing::Test {
 protected:
  BackgroundCheckerTest() {
    const testing::fs::path folder = home_.Folder("dicts");
    testing::WriteMainDictionary(folder / "Test.oxm", {"abantu", "bayahamba", "njalo"});
    testing::Configure(spell_, folder, {});
    checker_ = std::make_unique<TBackgroundChecker>(
        ndebele_, editor_, engine_, [this](const std::string& text) { status_.push_back(text); },
        [this](int ms) { interval_ = ms; });
  }

  // Ticks until the state is reached, letting the worker run; false after
  // half a minute, however loaded the machine (the worker runs at the lowest
  // priority when tests run in parallel).
  bool TickUntil(TCheckState state) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (checker_->CheckState() != state) {
      if (std::chrono::steady_clock::now() > give_up) return false;
      checker_->Tick();
      if (checker_->CheckState() == csWaitForWorker || checker_->CheckState() == csNextWord)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return true;
  }

  // The states a pass goes through from state 3 up to the next idle.
  std::vector<TCheckState> PassStates() {
    std::vector<TCheckState> states{checker_->CheckState()};
    for (int i = 0; i < 10'000 && checker_->CheckState() != csIdle; ++i) {
      checker_->Tick();
      if (states.back() != checker_->CheckState()) states.push_back(checker_->CheckState());
    }
    return states;
  }

  testing::TempHome home_;
  TOrthexSpell3Base spell_;
  TNdebeleChecker ndebele_{spell_, TLearning::lnLearnAndReopen};
  TMemoryTextControl editor_;
  std::set<std::string> accepted_{"ngiyabonga", "abafana"};
  std::atomic<int> analysed_ = 0;
  std::atomic<bool> gate_open_ = true;
  TNdebeleEngine engine_{TEnginePriority::epNormal, [this](std::string_view word) {
                           while (!gate_open_) std::this_thread::yield();
                           ++analysed_;
                           if (word == "kuyaphuka") throw std::bad_alloc();
                           return accepted_.contains(std::string(word));
                         }};
  std::vector<std::string> status_;
  int interval_ = 0;
  std::unique_ptr<TBackgroundChecker> checker_;
};

TEST_F(BackgroundCheckerTest, AnEmptyEditorsPassGoesThreeFourZeroAndSaysItIsReady) {
  checker_->SetCheckState(csStartPass);
  EXPECT_EQ(PassStates(), (std::vector<TCheckState>{csStartPass, csNextWord, csIdle}));
  EXPECT_EQ(status_.back(), "Background checking ready");
  EXPECT_EQ(checker_->WordsHandedOver(), 0);
}

TEST_F(BackgroundCheckerTest, APrefixJoinedToANameTheDictionariesHoldIsLearntWithoutTheEngine) {
  ASSERT_NE(spell_.ActiveCustomDictionary(), nullptr);
  spell_.ActiveCustomDictionary()->AddWord("Studio");
  editor_.SetText("weStudio leStudio weXyzzy");
  checker_->SetCheckState(csStartPass);
  ASSERT_TRUE(TickUntil(csIdle));
  EXPECT_EQ(checker_->WordsHandedOver(), 1);  // weXyzzy alone
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->Contains("weStudio"));
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->Contains("leStudio"));
  EXPECT_FALSE(spell_.ActiveCustomDictionary()->Contains("weXyzzy"));
}

TEST_F(BackgroundCheckerTest, AWordBeforeAClosingQuoteIsLearntWithoutTheQuote) {
  // \x91 and \x92 are Windows-1252's curly single quotes.
  editor_.SetText("\x91ngiyabonga\x92 \x91njalo\x92 \x91xyzzy\x92");
  checker_->SetCheckState(csStartPass);
  ASSERT_TRUE(TickUntil(csIdle));
  EXPECT_EQ(checker_->WordsHandedOver(), 2) << "njalo is known, quote or none";
  ASSERT_NE(spell_.ActiveCustomDictionary(), nullptr);
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->Contains("ngiyabonga"));
  EXPECT_EQ(spell_.ActiveCustomDictionary()->AddedWordCount(), 1) << "nothing learnt with its quote";
  EXPECT_TRUE(spell_.IsWordAcceptable("ngiyabonga\x92")) << "so the editor no longer underlines it";
  EXPECT_TRUE(checker_->IsRejected("xyzzy"));
}

TEST_F(BackgroundCheckerTest, WaitsTwoQuietTicksAfterAChangeAndSetsTheIntervals) {
  checker_->SetCheckState(csTextChanged);
  checker_->Tick();
  EXPECT_EQ(checker_->CheckState(), csWait);
  EXPECT_EQ(interval_, TBackgroundChecker::kIdleInterval);
  checker_->Tick();
  EXPECT_EQ(checker_->CheckState(), csStartPass);
  checker_->Tick();
  EXPECT_EQ(checker_->CheckState(), csNextWord);
  EXPECT_EQ(interval_, TBackgroundChecker::kPassInterval);
  checker_->Tick();
  EXPECT_EQ(checker_->CheckState(), csIdle);
  checker_->Tick();
  EXPECT_EQ(interval_, TBackgroundChecker::kIdleInterval);
}

TEST_F(BackgroundCheckerTest, LearnsAnAcceptedWordAndRemembersARejectedOne) {
  editor_.SetText("abantu ngiyabonga xyzzy\nnjalo Xyzzy");
  checker_->SetCheckState(csStartPass);
  ASSERT_TRUE(TickUntil(csIdle));
  EXPECT_EQ(checker_->WordsHandedOver(), 2);
  EXPECT_EQ(analysed_, 2);
  ASSERT_NE(spell_.ActiveCustomDictionary(), nullptr);
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->Contains("ngiyabonga"));
  EXPECT_TRUE(checker_->IsRejected("XYZZY"));  // without regard to case
  EXPECT_NE(std::find(status_.begin(), status_.end(), "Looking for new word ngiyabonga"), status_.end());
  EXPECT_EQ(status_.back(), "Background checking ready");

  // The next pass finds both known: the learnt word through the dictionary,
  // the rejected one through the list.
  checker_->SetCheckState(csStartPass);
  ASSERT_TRUE(TickUntil(csIdle));
  EXPECT_EQ(checker_->WordsHandedOver(), 2);
  EXPECT_EQ(analysed_, 2);
}

TEST_F(BackgroundCheckerTest, AWordWhoseAnalysisFailsIsSaidNotAcceptedAndNotHandedOverAgain) {
  editor_.SetText("kuyaphuka ngiyabonga");
  checker_->SetCheckState(csStartPass);
  ASSERT_TRUE(TickUntil(csIdle));
  EXPECT_NE(std::find(status_.begin(), status_.end(), "Cannot check kuyaphuka: not enough memory"), status_.end());
  EXPECT_TRUE(checker_->IsRejected("kuyaphuka"));
  EXPECT_FALSE(spell_.ActiveCustomDictionary()->Contains("kuyaphuka"));
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->Contains("ngiyabonga"));  // the pass went on
  checker_->SetCheckState(csStartPass);
  ASSERT_TRUE(TickUntil(csIdle));
  EXPECT_EQ(analysed_, 2);
}

TEST_F(BackgroundCheckerTest, APassOfRejectedWordsEndsWithoutWakingTheWorker) {
  editor_.SetText("xyzzy plugh");
  checker_->SetCheckState(csStartPass);
  ASSERT_TRUE(TickUntil(csIdle));
  const int handed = checker_->WordsHandedOver();
  EXPECT_EQ(handed, 2);
  checker_->SetCheckState(csStartPass);
  EXPECT_EQ(PassStates(), (std::vector<TCheckState>{csStartPass, csNextWord, csIdle}));
  EXPECT_EQ(checker_->WordsHandedOver(), handed);
}

TEST_F(BackgroundCheckerTest, TypingWhileTheWorkerAnalysesDropsItsAnswerAndWaitsForItBeforeTheNextWord) {
  editor_.SetText("ngiyabonga abafana");
  gate_open_ = false;
  checker_->SetCheckState(csStartPass);
  ASSERT_TRUE(TickUntil(csWaitForWorker));
  EXPECT_EQ(checker_->BackgroundWord(), "ngiyabonga");

  checker_->SetCheckState(csTextChanged);  // the user typed
  editor_.SetText("abafana");
  ASSERT_TRUE(TickUntil(csNextWord));
  for (int i = 0; i < 50; ++i) checker_->Tick();
  // The worker still holds the dropped word, so nothing else was handed over.
  EXPECT_EQ(checker_->CheckState(), csNextWord);
  EXPECT_EQ(checker_->WordsHandedOver(), 1);

  gate_open_ = true;
  ASSERT_TRUE(TickUntil(csIdle));
  EXPECT_EQ(checker_->WordsHandedOver(), 2);
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->Contains("abafana"));
  // The dropped word's answer was never applied.
  EXPECT_FALSE(spell_.ActiveCustomDictionary()->Contains("ngiyabonga"));
}

TEST_F(BackgroundCheckerTest, StandsBackWhileACheckWithTheUserRuns) {
  editor_.SetText("xyzzy");
  testing::ScriptedDialog dialog(spell_);
  spell_.SynchronousCheck = false;
  std::string text = "plugh";
  spell_.CheckString(text);
  ASSERT_TRUE(spell_.IsChecking());
  for (TCheckState state : {csWait, csStartPass, csNextWord, csWaitForWorker, csTakeResult}) {
    checker_->SetCheckState(state);
    checker_->Tick();
    EXPECT_EQ(checker_->CheckState(), csTextChanged) << static_cast<int>(state);
  }
  spell_.CmdCancel();
  EXPECT_EQ(checker_->WordsHandedOver(), 0);
}

TEST_F(BackgroundCheckerTest, StartsThePassAgainWhenSomethingElseReadWithTheEngine) {
  editor_.SetText("abantu njalo");
  checker_->SetCheckState(csStartPass);
  checker_->Tick();
  ASSERT_EQ(checker_->CheckState(), csNextWord);
  // A check with the user reads with the component's engine; it ends before the next tick.
  testing::ScriptedDialog dialog(spell_);
  spell_.SynchronousCheck = false;
  std::string text = "plugh";
  spell_.CheckString(text);
  spell_.CmdCancel();
  ASSERT_FALSE(spell_.IsChecking());
  checker_->Tick();
  EXPECT_EQ(checker_->CheckState(), csStartPass);
  ASSERT_TRUE(TickUntil(csIdle));
}

TEST(WordCheckHandler, LearnsWhatTheAnalyserAcceptsAndSaysWhy) {
  testing::TempHome home;
  const testing::fs::path folder = home.Folder("dicts");
  testing::WriteMainDictionary(folder / "Test.oxm", {"abantu"});
  TOrthexSpell3Base spell;
  testing::Configure(spell, folder, {});
  TNdebeleChecker ndebele(spell, TLearning::lnLearnAndReopen,
                          [](std::string_view word) { return word == "ngiyabonga" || word == "Bulawayo"; });

  TWordCheckType type = TWordCheckType::wctMisspelled;
  TUnknownWordVerdict verdict = ndebele.WordCheck("ngiyabonga", type);
  EXPECT_EQ(type, TWordCheckType::wctAccepted);
  EXPECT_EQ(verdict.judgement, TJudgement::jdAnalysed);
  EXPECT_TRUE(spell.IsWordAcceptable("ngiyabonga")) << "the learnt word reaches the dictionaries";

  type = TWordCheckType::wctMisspelled;
  verdict = ndebele.WordCheck("xyzzy", type);
  EXPECT_EQ(type, TWordCheckType::wctMisspelled);
  EXPECT_EQ(verdict.judgement, TJudgement::jdRejected);

  // A prefix joined to a name the analyser knows, and known words before a
  // closing curly quote, are accepted; a quote after an unknown word is not.
  for (const std::string accepted : {"koBulawayo", "abantu\x92", "ngiyabonga\x92\x92"}) {
    type = TWordCheckType::wctMisspelled;
    ndebele.WordCheck(accepted, type);
    EXPECT_EQ(type, TWordCheckType::wctAccepted) << accepted;
  }
  type = TWordCheckType::wctMisspelled;
  verdict = ndebele.WordCheck("abantu\x92", type);
  EXPECT_EQ(verdict.judgement, TJudgement::jdKnown);
  EXPECT_EQ(verdict.word, "abantu");
  EXPECT_TRUE(spell.IsWordAcceptable("koBulawayo"));
  for (const std::string rejected : {"koxyzzy", "xyzzy\x92", "\x92", "kobulawayo", "ngiyabonga\x8D"}) {
    type = TWordCheckType::wctMisspelled;
    ndebele.WordCheck(rejected, type);
    EXPECT_EQ(type, TWordCheckType::wctMisspelled) << rejected;
  }

  // The desktop's component auto-corrects, so its type stands.
  type = TWordCheckType::wctExcluded;
  ndebele.WordCheck("ngiyabonga", type);
  EXPECT_EQ(type, TWordCheckType::wctExcluded);
}

TEST_F(BackgroundCheckerTest, NeverLearnsAWordTheUserExcluded) {
  spell_.ApplyConfiguration(true);
  ASSERT_NE(spell_.ActiveCustomDictionary(), nullptr);
  spell_.ActiveCustomDictionary()->AddExcluded("ngiyabonga");
  editor_.SetText("ngiyabonga abafana");
  checker_->SetCheckState(csStartPass);
  ASSERT_TRUE(TickUntil(csIdle));
  EXPECT_FALSE(spell_.ActiveCustomDictionary()->Contains("ngiyabonga"));
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->Contains("abafana"));
  EXPECT_FALSE(spell_.IsWordAcceptable("ngiyabonga"));
}

}  // namespace
}  // namespace tovuri
