#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "spell/ox3CustomDictionary.h"
#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;

// tovuri-check --explain over a lexicon of three entries (no main dictionary)
// and a custom dictionary holding one name.
class ExplainCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    tool_ = fs::path(TOVURI_BIN_DIR) / "tovuri-check";
    if (!fs::exists(tool_)) GTEST_SKIP() << "tovuri-check is not built";
    data_ = home_.Root() / "data";
    fs::create_directories(data_);
    std::ofstream(data_ / "dictionary.txt") << "; three entries\n"
                                               "verb,uku-bona,,see\n"
                                               "in/izin,in-ja,,dog\n"
                                               "place,i-Bulawayo,,Bulawayo\n";
    std::ofstream(data_ / "passives.txt") << "";
    TCustomDictionary custom;
    ASSERT_TRUE(custom.Open(home_.UserDictionary().string()));
    ASSERT_TRUE(custom.AddWord("Qwertyville"));
    ASSERT_TRUE(custom.Save());
  }
  std::string Explain(const std::string& words, int* status) {
    return RunCommand(tool_.string() + " --data " + data_.string() + " --explain " + words, status);
  }
  TempHome home_;
  fs::path tool_;
  fs::path data_;
};

TEST_F(ExplainCommand, NamesTheEntryLineGeneratorAndVerbPatternOfAnAcceptedWord) {
  int status = -1;
  const std::string out = Explain("simbona ukubonisa ekuboneni izinja weBulawayo lokhu", &status);
  EXPECT_EQ(out,
            "simbona: lexicon entry verb,uku-bona from line 2: verb forms, pattern J(SC + OC, T) + E\n"
            // An extended verb is an entry of its own, made from the verb's line.
            "ukubonisa: lexicon entry verb,uku-bonisa from line 2: verb forms, pattern J(P + OC, T) + E\n"
            "ekuboneni: lexicon entry verb,uku-bona from line 2: noun forms (infinitive)\n"
            "izinja: lexicon entry in/izin,in-ja from line 3: noun forms\n"
            "weBulawayo: lexicon entry place,i-Bulawayo from line 4: noun forms\n"
            "lokhu: a closed-class word of the analyser\n");
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(ExplainCommand, NamesTheDictionaryOrThePrefixAndName) {
  int status = -1;
  const std::string out = Explain("Qwertyville koQwertyville", &status);
  EXPECT_EQ(out,
            "Qwertyville: in the custom dictionary Ndebele.oxu\n"
            "koQwertyville: the prefix ko joined to the name Qwertyville\n");
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(ExplainCommand, NamesTheNearestEntriesOfARejectedWord) {
  int status = -1;
  const std::string out = Explain("bonaxq qqq wxQwertyville", &status);
  EXPECT_EQ(out,
            "bonaxq: not found; nearest entries: verb,uku-bona (line 2)\n"
            "qqq: not found; nearest entries: none\n"
            "wxQwertyville: not found; nearest entries: none\n");
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace tovuri
