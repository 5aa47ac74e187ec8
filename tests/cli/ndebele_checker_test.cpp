#include "checker/ndebele_checker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "../spell/user_dirs.h"
#include "spell/ox3CustomDictionary.h"
#include "spell/ox3DictionaryCompiler.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;
using testing::ScopedUserDirs;
using Verdict = std::tuple<std::string, size_t, bool>;

// The checker over a small main dictionary, with an analyser that knows one
// word, in a temporary home.
class NdebeleChecker : public ::testing::Test {
 protected:
  NdebeleChecker() {
    std::ofstream(dirs_.Root() / "Ndebele.oxm", std::ios::binary)
        << CompileMainDictionary({"umuntu", "abantu", "inja", "inje"}, "Test", 0).bytes;
    checker_ = std::make_unique<TNdebeleChecker>(dirs_.Root().string(), TLearning::lnLearn,
                                                 [](std::string_view word) { return word == "simbona"; });
  }

  std::vector<Verdict> Verdicts(std::string text) {
    std::vector<Verdict> verdicts;
    checker_->CheckWords(text, [&](const std::string& word, size_t at, bool accepted) {
      verdicts.emplace_back(word, at, accepted);
    });
    return verdicts;
  }

  TCustomDictionary& Custom() { return *checker_->Spell().ActiveCustomDictionary(); }

  ScopedUserDirs dirs_;
  std::unique_ptr<TNdebeleChecker> checker_;
};

TEST_F(NdebeleChecker, ReportsEveryWordWithItsPlaceAndVerdict) {
  EXPECT_EQ(Verdicts("umuntu qwxz, simbona. \"inja\" abantu abantu"),
            (std::vector<Verdict>{{"umuntu", 0, true},
                                  {"qwxz", 7, false},
                                  {"simbona", 13, true},
                                  {"inja", 23, true},
                                  {"abantu", 29, true},
                                  {"abantu", 36, true}}));
  EXPECT_TRUE(Custom().Contains("simbona")) << "words only the analyser accepts are learnt";
}

TEST_F(NdebeleChecker, ExcludedWordsStayReportedEvenWhenTheAnalyserAcceptsThem) {
  ASSERT_TRUE(checker_->Exclude("simbona"));
  ASSERT_TRUE(checker_->Exclude("umuntu"));
  EXPECT_FALSE(checker_->IsAccepted("simbona"));
  EXPECT_FALSE(checker_->IsAccepted("umuntu"));
  ASSERT_TRUE(checker_->AddToPersonal("simbona"));
  EXPECT_TRUE(checker_->IsAccepted("simbona")) << "adding lifts the exclusion";
  EXPECT_TRUE(Custom().Contains("simbona"));
  EXPECT_TRUE(Custom().IsExcluded("umuntu"));
  ASSERT_TRUE(checker_->Exclude("simbona"));
  EXPECT_TRUE(Custom().IsExcluded("simbona")) << "excluding drops the added word";
  TCustomDictionary saved;
  ASSERT_TRUE(saved.Open((dirs_.Data() / "Tovuri/Ndebele.oxu").string()));
  EXPECT_TRUE(saved.IsExcluded("umuntu")) << "written at once";
}

TEST_F(NdebeleChecker, SessionWordsAreAcceptedButNotWritten) {
  EXPECT_FALSE(checker_->IsAccepted("qwxz"));
  checker_->AcceptForSession("qwxz");
  EXPECT_TRUE(checker_->IsAccepted("qwxz"));
  checker_->Close();
  EXPECT_FALSE(Custom().Contains("qwxz"));
}

TEST_F(NdebeleChecker, AStoredReplacementIsSuggestedFirst) {
  const std::vector<std::string> before = checker_->Suggestions("inji");
  ASSERT_GE(before.size(), 2u) << ::testing::PrintToString(before);
  checker_->StoreReplacement("inji", before.back());
  EXPECT_EQ(checker_->Suggestions("inji").front(), before.back());
}

}  // namespace
}  // namespace tovuri
