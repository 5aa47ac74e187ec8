#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "analyser/lexicon.h"
#include "checker/ndebele_checker.h"
#include "checker/ndebele_spell_config.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

// The shipped data with a home folder of its own, as every front end sets the component up.
class ConfiguredSuggestions : public ::testing::Test {
 protected:
  void SetUp() override {
    bin_ = TOVURI_BIN_DIR;
    if (!fs::exists(bin_ / "Ndebele.oxm") || !fs::exists(bin_ / kLetterModelFile))
      GTEST_SKIP() << "the shipped data is not built";
    std::string pattern = (fs::temp_directory_path() / "tovuri-checker-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    home_ = pattern;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
      const char* old = std::getenv(name);
      saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
      setenv(name, (home_ / name).c_str(), 1);
    }
    BuildLexicon(bin_.string(), [](const LexiconWarning&) {});
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
    if (!home_.empty()) fs::remove_all(home_);
  }
  fs::path bin_, home_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(ConfiguredSuggestions, TheComponentOffersWordsOnlyTheAnalyserKnowsAndMaxSuggestionsCapsThem) {
  TNdebeleChecker checker(bin_.string(), TLearning::lnDoNotLearn);
  TOrthexSpell3Base& spell = checker.Spell();
  ASSERT_NE(spell.SuggestionExtension(), nullptr);
  struct Case {
    std::string slip, first;
  };
  // simbona (we see him) and kuyahlekisa (it is funny) are forms no word list holds.
  const Case cases[] = {{"simbnoa", "simbona"}, {"kuyahelkisa", "kuyahlekisa"}, {"Ngiyabnoa", "Ngiyabona"}};
  std::vector<std::string> list;
  for (const Case& c : cases) {
    spell.GetSuggestions(c.slip, list);
    ASSERT_FALSE(list.empty()) << c.slip;
    EXPECT_EQ(list.front(), c.first) << c.slip;
  }
  spell.MaxSuggestions = 2;
  spell.GetSuggestions("ngiyabnoa", list);
  EXPECT_EQ(list.size(), 2u);
  EXPECT_FALSE(checker.IsAccepted("simbnoa"));
  checker.Close();
}

// English names are an option of the options dialog, on until the user turns it off.
TEST_F(ConfiguredSuggestions, EnglishNamesAreAnOptionOfTheOptionsDialog) {
  TNdebeleChecker checker(bin_.string(), TLearning::lnDoNotLearn);
  TOrthexSpell3Base& spell = checker.Spell();
  EXPECT_TRUE(spell.ConfigAvailableOptions.Has(TNdebeleChecker::kEnglishWordsOption));
  EXPECT_EQ(spell.ConfigUserOption1, "Accept English names (South, MDC, kweleSouth)");
  EXPECT_TRUE(checker.IsAccepted("Zimbabwe"));
  EXPECT_TRUE(checker.IsAccepted("kweleSouth"));
  TSpellOptions options = spell.Configuration().SpellOptionsValue();
  options.Exclude(TNdebeleChecker::kEnglishWordsOption);
  spell.Configuration().SetSpellOptions(options);
  EXPECT_FALSE(checker.IsAccepted("kweleSouth"));
}

}  // namespace
}  // namespace tovuri
