#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "spell/ox3CustomDictionary.h"
#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;

// Records what it was given and puts its own words first, then the given ones reversed.
class RecordingExtension final : public TSuggestionExtension {
 public:
  RecordingExtension(std::vector<std::string> own, std::vector<std::string>* seen) : own_(std::move(own)), seen_(seen) {}
  void Extend(std::string_view word, TSuggestionSources& sources, std::vector<std::string>& ranked) override {
    *seen_ = ranked;
    seen_->insert(seen_->begin(), std::string(word) + (sources.WordInDictionaries("house") ? " +sources" : ""));
    std::vector<std::string> merged = own_;
    merged.insert(merged.end(), ranked.rbegin(), ranked.rend());
    ranked = merged;
  }

 private:
  std::vector<std::string> own_;
  std::vector<std::string>* seen_;
};

class SuggestionExtension : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = home_.Folder("dicts");
    WriteMainDictionary(folder_ / "Test.oxm", {"house", "horse", "hose", "mouse"});
    Configure(spell_, folder_, {});
    spell_.SetSuggestionExtension(std::make_unique<RecordingExtension>(
        std::vector<std::string>{"houses", "housed"}, &seen_));
  }
  TempHome home_;
  fs::path folder_;
  TOrthexSpell3Base spell_;
  std::vector<std::string> seen_;
};

TEST_F(SuggestionExtension, MergesWithTheDictionariesSuggestionsAndMaxSuggestionsCapsTheResult) {
  std::vector<std::string> framework;
  {
    TOrthexSpell3Base plain;
    Configure(plain, folder_, {});
    plain.GetSuggestions("hoase", framework);
  }
  ASSERT_GE(framework.size(), 2u);
  std::vector<std::string> list;
  spell_.GetSuggestions("hoase", list);
  std::vector<std::string> expected_seen = {"hoase +sources"};
  expected_seen.insert(expected_seen.end(), framework.begin(), framework.end());
  EXPECT_EQ(seen_, expected_seen) << "the extension sees the framework's own ranking";
  std::vector<std::string> expected = {"houses", "housed"};
  expected.insert(expected.end(), framework.rbegin(), framework.rend());
  EXPECT_EQ(list, expected);

  spell_.MaxSuggestions = 3;
  spell_.GetSuggestions("hoase", list);
  EXPECT_EQ(list, std::vector<std::string>(expected.begin(), expected.begin() + 3));
  spell_.MaxSuggestions = 0;
  spell_.GetSuggestions("hoase", list);
  EXPECT_TRUE(list.empty());
}

TEST_F(SuggestionExtension, AMandatoryReplacementStandsAloneAndALearntOneStaysFirst) {
  TCustomDictionary map;
  ASSERT_TRUE(map.Open((folder_ / "Map.oxu").string()));
  ASSERT_TRUE(map.AddAutoCorrect("hoase", "mouse"));
  ASSERT_TRUE(map.Save());
  spell_.SetMappingDictionaryName("Map.oxu");
  std::vector<std::string> list;
  seen_.clear();
  spell_.GetSuggestions("hoase", list);
  EXPECT_EQ(list, std::vector<std::string>{"mouse"});
  EXPECT_TRUE(seen_.empty()) << "the extension is not asked";

  spell_.SetMappingDictionaryName("");
  spell_.SetSuggestionsLearningDict((folder_ / "learn.oxl").string());
  spell_.SetSuggestionsLearning(true);
  spell_.IsWordAcceptable("house");  // opens the dictionaries
  spell_.LearnReplacement("hoase", "hose");
  spell_.GetSuggestions("hoase", list);
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.front(), "hose");
  EXPECT_EQ(std::count(list.begin(), list.end(), "hose"), 1);
  EXPECT_EQ(list[1], "houses");

  spell_.LearnReplacement("hoose", "hoarse");
  spell_.GetSuggestions("hoose", list);
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.front(), "hoarse") << "a learnt word no source offers is still put first";
}

}  // namespace
}  // namespace tovuri
