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
#include "common/ansi_case.h"
#include "spell/ox3DictionaryCompiler.h"
#include "spell/ox3Suggestions.h"

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

TEST_F(NdebeleChecker, AWordQueryIsAnsweredBeforeLearningAndExclusionsWin) {
  std::vector<std::string> steps;
  const auto ask = [&](std::string_view word) {
    return checker_->Query(word, [&](bool yes) {
      steps.push_back(std::string(yes ? "yes " : "no ") + std::string(word) +
                      (Custom().Contains("simbona") ? " (learnt)" : ""));
    });
  };
  EXPECT_TRUE(ask("simbona"));
  EXPECT_TRUE(Custom().Contains("simbona")) << "learnt after the answer";
  ASSERT_TRUE(checker_->Exclude("umuntu"));
  ASSERT_TRUE(checker_->Exclude("simbona"));
  EXPECT_FALSE(ask("umuntu"));
  EXPECT_FALSE(ask("simbona"));
  EXPECT_FALSE(ask(""));
  EXPECT_FALSE(ask("inja\x8D")) << "a letter Windows-1252 lacks";
  EXPECT_EQ(steps, (std::vector<std::string>{"yes simbona", "no umuntu", "no simbona", "no ", "no inja\x8D"}));
}

TEST_F(NdebeleChecker, SuggestionsNeverOfferAnExcludedWordAndFollowTheWordsCase) {
  EXPECT_EQ(checker_->Suggestions("inji").front(), "inje");
  EXPECT_EQ(checker_->Suggestions("Inji").front(), "Inje");
  EXPECT_EQ(checker_->Suggestions("INJI").front(), "INJE");
  ASSERT_TRUE(checker_->Exclude("inje"));
  for (const std::string word : {"inji", "Inji", "INJI"}) {
    const std::vector<std::string> suggestions = checker_->Suggestions(word);
    EXPECT_FALSE(suggestions.empty()) << word;
    for (const std::string& suggestion : suggestions)
      EXPECT_NE(AnsiLowerCase(suggestion), "inje") << word << " offers the excluded word";
  }
}

TEST(AnalyserFailure, IsSaidAndTheWordIsNotAcceptedNorRemembered) {
  ScopedUserDirs dirs;
  std::ofstream(dirs.Root() / "Ndebele.oxm", std::ios::binary) << CompileMainDictionary({"umuntu"}, "Test", 0).bytes;
  std::vector<std::string> said;
  bool out_of_memory = true;
  TNdebeleChecker checker(
      dirs.Root().string(), TLearning::lnDoNotLearn,
      [&](std::string_view) -> bool {
        if (out_of_memory) throw std::bad_alloc();
        return true;
      },
      [&](const std::string& message) { said.push_back(message); });
  EXPECT_FALSE(checker.IsAccepted("simbona"));
  ASSERT_EQ(said.size(), 1u);
  EXPECT_EQ(said[0].rfind("cannot check simbona: ", 0), 0u) << said[0];
  out_of_memory = false;
  EXPECT_TRUE(checker.IsAccepted("simbona")) << "the failure was not remembered as a verdict";
}

// The checker with an English dictionary beside the Ndebele one.
class EnglishInNdebele : public ::testing::Test {
 protected:
  EnglishInNdebele() {
    std::ofstream(dirs_.Root() / "Ndebele.oxm", std::ios::binary)
        << CompileMainDictionary({"umuntu"}, "Test", 0).bytes;
    std::ofstream(dirs_.Root() / TNdebeleChecker::kEnglishDictionaryFile, std::ios::binary)
        << CompileMainDictionary({"south", "Studio", "MDC", "press"}, "English", 2057).bytes;
    checker_ = std::make_unique<TNdebeleChecker>(dirs_.Root().string(), TLearning::lnLearn,
                                                 [](std::string_view) { return false; });
  }

  ScopedUserDirs dirs_;
  std::unique_ptr<TNdebeleChecker> checker_;
};

TEST_F(EnglishInNdebele, AcceptsCapitalisedEnglishAloneAndAfterANdebelePrefix) {
  const struct {
    const char* word;
    bool accepted;
  } cases[] = {
      {"South", true},       {"SOUTH", true},      {"Studio", true},     {"MDC", true},
      {"kweleSouth", true},  {"weStudio", true},   {"leMDC", true},      {"south", false},
      {"press", false},      {"studio", false},    {"xyzSouth", false},  {"kweleSouthe", false},
      {"kwelesouth", false}, {"Mdc", false},
  };
  for (const auto& c : cases) EXPECT_EQ(checker_->IsAccepted(c.word), c.accepted) << c.word;
  EXPECT_FALSE(checker_->Spell().ActiveCustomDictionary()->Contains("kweleSouth"))
      << "English words are not learnt: the user may turn them off";
}

TEST_F(EnglishInNdebele, TurnsOffForTheRunOrByTheUsersSetting) {
  checker_->SetEnglishWords(false);
  EXPECT_FALSE(checker_->IsAccepted("South"));
  EXPECT_FALSE(checker_->IsAccepted("kweleSouth"));

  auto fresh = std::make_unique<TNdebeleChecker>(dirs_.Root().string(), TLearning::lnDoNotLearn,
                                                 [](std::string_view) { return false; });
  EXPECT_TRUE(fresh->EnglishWords()) << "on by default";
  TSpellOptions options = fresh->Spell().Configuration().SpellOptionsValue();
  options.Exclude(TNdebeleChecker::kEnglishWordsOption);
  fresh->Spell().Configuration().SetSpellOptions(options);
  EXPECT_FALSE(fresh->EnglishWords());
  EXPECT_FALSE(fresh->IsAccepted("weStudio"));
  options.Include(TNdebeleChecker::kEnglishWordsOption);
  fresh->Spell().Configuration().SetSpellOptions(options);
  EXPECT_TRUE(fresh->IsAccepted("weStudio"));
}

TEST(SuggestionCase, FollowsTheShapeOfTheWordReplaced) {
  const struct {
    std::string word;
    std::vector<std::string> suggestions;
    std::vector<std::string> shaped;
  } cases[] = {
      {"N\xE9", {"NA", "na", "Na"}, {"Na"}},                     // first capital, not all capitals
      {"NX", {"na", "nxa", "NA"}, {"NA", "NXA"}},
      {"nx", {"NA", "na", "Bulawayo"}, {"NA", "na", "Bulawayo"}},  // small letters: the dictionary's case
      {"Bulawyo", {"Bulawayo", "bulawayo"}, {"Bulawayo"}},
      {"Mdc", {"MDC", "McDonald"}, {"Mdc", "McDonald"}},
      {"A", {"a", "e"}, {"A", "E"}},
      {"\x91Nx", {"na"}, {"Na"}},                                 // the first letter counts
  };
  for (const auto& c : cases) {
    std::vector<std::string> list = c.suggestions;
    ShapeSuggestionsLike(c.word, list);
    EXPECT_EQ(list, c.shaped) << c.word;
  }
}

TEST(VerdictMemory, KeepsAtMostItsBoundOfWordsTheLeastRecentlyUsedGoingFirst) {
  ScopedUserDirs dirs;
  std::ofstream(dirs.Root() / "Ndebele.oxm", std::ios::binary)
      << CompileMainDictionary({"umuntu"}, "Test", 0).bytes;
  int analysed = 0;
  TNdebeleChecker checker(dirs.Root().string(), TLearning::lnDoNotLearn, [&](std::string_view word) {
    ++analysed;
    return word.starts_with("ok");
  });
  const size_t bound = TNdebeleChecker::kRememberedVerdicts;
  for (size_t i = 0; i < bound + 500; ++i) checker.IsAccepted((i % 2 ? "ok" : "no") + std::to_string(i) + "x");
  EXPECT_EQ(checker.RememberedVerdicts(), bound);
  analysed = 0;
  EXPECT_TRUE(checker.IsAccepted("ok" + std::to_string(bound + 499) + "x"));
  EXPECT_EQ(analysed, 0) << "a recent verdict is remembered";
  EXPECT_FALSE(checker.IsAccepted("no0x"));
  EXPECT_EQ(analysed, 1) << "the oldest verdict was let go";
  checker.Close();
  const fs::path file = dirs.Data() / "Tovuri/Ndebele.oxu";
  TCustomDictionary custom;
  EXPECT_TRUE(!fs::exists(file) || (custom.Open(file.string()) && custom.AddedWordCount() == 0))
      << "words only the analyser accepts are never written unasked";
}

}  // namespace
}  // namespace tovuri
