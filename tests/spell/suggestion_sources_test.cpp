#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "spell/ox3CustomDictionary.h"
#include "spell/ox3DictionaryCompiler.h"
#include "spell/ox3MainDictionary.h"
#include "spell/ox3PhoneticsMap.h"
#include "spell/ox3SuggestionSources.h"
#include "spell/ox3Suggestions.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

constexpr int kEnglishUS = 1033;

std::string Join(const std::vector<std::string>& words) {
  std::string out;
  for (const auto& w : words) out += (out.empty() ? "" : ", ") + w;
  return "[" + out + "]";
}

// Compiled main dictionaries in a temporary folder, removed afterwards.
class SuggestionSourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tovuri-suggest-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  TMainDictionary& AddMain(const std::vector<std::string>& words, int language) {
    const std::string path = (dir_ / ("main" + std::to_string(mains_.size()) + ".oxm")).string();
    const CompiledDictionary compiled = CompileMainDictionary(words, "Test", language);
    std::ofstream(path, std::ios::binary) << compiled.bytes;
    auto dictionary = std::make_unique<TMainDictionary>();
    EXPECT_TRUE(dictionary->Open(path)) << path;
    mains_.push_back(std::move(dictionary));
    sources_.MainDictionaries.push_back(mains_.back().get());
    return *mains_.back();
  }

  std::vector<std::string> Suggest(const std::string& word, int max = -1) {
    std::vector<std::string> out;
    BuildSuggestions(word, max, out, sources_, generator_, map_, settings_);
    return out;
  }

  fs::path dir_;
  std::vector<std::unique_ptr<TMainDictionary>> mains_;
  TDictionarySuggestionSources sources_;
  TSuggestionsGenerator generator_;
  TPhoneticsMap map_;
  TSuggestionSettings settings_;
};

TEST_F(SuggestionSourcesTest, SuggestsFromACompiledMainDictionary) {
  AddMain({"the", "then", "they", "ten", "tea", "other"}, 0);
  EXPECT_EQ(Join(Suggest("teh")), "[the, tea, ten]");
  EXPECT_EQ(Join(Suggest("thne")), "[then, the]");
}

TEST_F(SuggestionSourcesTest, FindsSoundAlikesUnderEnglishRules) {
  AddMain({"telephone", "telegraph", "television"}, kEnglishUS);
  // Two edits away, so only the phonetic search can find it.
  EXPECT_EQ(Join(Suggest("telefone")), "[telephone]");
}

TEST_F(SuggestionSourcesTest, CountsHitsInTheDictionaryThatHoldsTheWord) {
  TMainDictionary& first = AddMain({"alpha"}, 0);
  TMainDictionary& second = AddMain({"beta"}, 0);
  EXPECT_TRUE(sources_.WordInMainDictionaries("beta"));
  EXPECT_FALSE(sources_.WordInMainDictionaries("gamma"));
  EXPECT_EQ(first.HitCount(), 0u);
  EXPECT_EQ(second.HitCount(), 1u);
}

TEST_F(SuggestionSourcesTest, PrimaryOnlyIgnoresCustomWords) {
  AddMain({"house"}, 0);
  TCustomDictionary custom;
  ASSERT_TRUE(custom.Open(""));
  ASSERT_TRUE(custom.AddWord("umuzi"));
  sources_.CustomDictionaries.push_back(&custom);
  EXPECT_EQ(Join(Suggest("umuzii")), "[umuzi]");
  settings_.Options.Include(TSpellOption::soPrimaryOnly);
  EXPECT_EQ(Join(Suggest("umuzii")), "[]");
}

TEST_F(SuggestionSourcesTest, PossessivesCountOnlyWithAnEnglishDictionary) {
  AddMain({"john", "Mary"}, 0);
  EXPECT_FALSE(sources_.IsPossessiveOfKnownWord("John's") && sources_.HasEnglishMain());
  AddMain({"john", "Mary"}, kEnglishUS);
  ASSERT_TRUE(sources_.HasEnglishMain());
  struct Case {
    std::string word;
    bool possessive;
  };
  const std::vector<Case> cases = {
      {"John's", true}, {"JOHN'S", true}, {"Mary's", true}, {"mary's", false},
      {"Peter's", false}, {"John's's", false}, {"John'sx", false}, {"'s", false},
  };
  for (const auto& c : cases) EXPECT_EQ(sources_.IsPossessiveOfKnownWord(c.word), c.possessive) << c.word;
}

TEST_F(SuggestionSourcesTest, LearningDictionaryRemembersReplacements) {
  AddMain({"the", "tea", "ten"}, 0);
  TCustomDictionary learning;
  ASSERT_TRUE(learning.Open((dir_ / "user_sp.oxl").string()));
  sources_.LearningDictionary = &learning;
  sources_.LearnReplacement("teh", "ten");
  EXPECT_TRUE(sources_.IsLearntWord("ten"));
  std::string replacement;
  ASSERT_TRUE(sources_.FindLearntReplacement("teh", replacement));
  EXPECT_EQ(replacement, "ten");
  // "ten" moves forward by exchange with "the", which lands behind "tea".
  EXPECT_EQ(Join(Suggest("teh")), "[ten, tea, the]");
}

TEST_F(SuggestionSourcesTest, MappingDictionaryShortCut) {
  AddMain({"the"}, 0);
  TCustomDictionary mapping;
  ASSERT_TRUE(mapping.Open(""));
  ASSERT_TRUE(mapping.AddAutoCorrect("teh", "the"));
  sources_.MappingDictionary = &mapping;
  EXPECT_EQ(Join(Suggest("teh")), "[the]");
}

}  // namespace
}  // namespace tovuri
