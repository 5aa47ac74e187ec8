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

class CheckCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    tool_ = fs::path(TOVURI_BIN_DIR) / "tovuri-check";
    if (!fs::exists(tool_) || !fs::exists(fs::path(TOVURI_BIN_DIR) / "Ndebele.oxm"))
      GTEST_SKIP() << "tovuri-check or the shipped Ndebele.oxm is not built";
  }
  bool Learnt(const std::string& word) {
    TCustomDictionary custom;
    const fs::path file = home_.UserDictionary();
    return fs::exists(file) && custom.Open(file.string()) && custom.Contains(word);
  }
  TempHome home_;
  fs::path tool_;
};

TEST_F(CheckCommand, ListsUnknownWordsWithTheirPlaces) {
  const fs::path file = home_.Root() / "text.txt";
  // "simbona" (we see him) is known only to the analyser: the word list holds no forms with
  // an object concord; "p\xC3\xA9qa" holds a character beyond ASCII.
  std::ofstream(file) << "Umuntu qwxz inja.\n  ekuseni simbona p\xC3\xA9qa zzzq\n";
  int status = -1;
  const std::string out = RunCommand(tool_.string() + " --list " + file.string(), &status);
  const std::string name = file.string();
  EXPECT_EQ(out, name + ":1:8: qwxz\n" + name + ":2:19: p\xC3\xA9qa\n" + name + ":2:24: zzzq\n");
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_TRUE(Learnt("simbona")) << "words only the analyser accepts join the custom dictionary";
  EXPECT_TRUE(fs::exists(home_.Root() / "home/.config/Tovuri/Ndebele.reg"));
}

TEST_F(CheckCommand, ReadsStandardInputAndWindows1252AndLearnsNothingWhenAsked) {
  int status = -1;
  // "\xE9" alone is not UTF-8, so the text is read as Windows-1252.
  const std::string out =
      RunCommand("printf 'umuntu simbona p\\351qa\\n' | " + tool_.string() + " --no-learn --list", &status);
  EXPECT_EQ(out, "-:1:16: p\xC3\xA9qa\n");
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_FALSE(Learnt("simbona"));
}

TEST_F(CheckCommand, WordsWithAutoCorrectPairsAreListedWhereTheyStand) {
  {
    TCustomDictionary custom;
    ASSERT_TRUE(custom.Open(home_.UserDictionary().string()));
    ASSERT_TRUE(custom.AddAutoCorrect("umntu", "umuntu"));
    ASSERT_TRUE(custom.Save());
  }
  const fs::path file = home_.Root() / "text.txt";
  std::ofstream(file) << "umntu abantu qwxz\numntu\n";
  int status = -1;
  const std::string out = RunCommand(tool_.string() + " --list " + file.string(), &status);
  const std::string name = file.string();
  EXPECT_EQ(out, name + ":1:1: umntu\n" + name + ":1:14: qwxz\n" + name + ":2:1: umntu\n");
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST_F(CheckCommand, CleanTextExitsZeroAndWordsGiveVerdicts) {
  const fs::path file = home_.Root() / "clean.txt";
  std::ofstream(file) << "Umuntu ekuseni.\n";
  int status = -1;
  EXPECT_EQ(RunCommand(tool_.string() + " --list " + file.string(), &status), "");
  EXPECT_EQ(WEXITSTATUS(status), 0);

  const std::string out = RunCommand(tool_.string() + " --words umuntu endlini qwxz", &status);
  EXPECT_EQ(out, "umuntu\tyes\nendlini\tyes\nqwxz\tno\n");
  EXPECT_EQ(WEXITSTATUS(status), 1);

  RunCommand(tool_.string() + " --list " + (home_.Root() / "missing.txt").string() + " 2>/dev/null", &status);
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

TEST_F(CheckCommand, AddingANameOnceAcceptsItAfterEveryPrefix) {
  {
    TCustomDictionary custom;
    ASSERT_TRUE(custom.Open(home_.UserDictionary().string()));
    ASSERT_TRUE(custom.AddWord("Qwertyville"));
    ASSERT_TRUE(custom.Save());
  }
  int status = -1;
  const std::string out = RunCommand(
      tool_.string() + " --no-learn --words weQwertyville koQwertyville nguQwertyville "
                       "kweleQwertyville wxQwertyville weqwertyville weQwertyvill",
      &status);
  EXPECT_EQ(out,
            "weQwertyville\tyes\nkoQwertyville\tyes\nnguQwertyville\tyes\nkweleQwertyville\tyes\n"
            "wxQwertyville\tno\nweqwertyville\tno\nweQwertyvill\tno\n");
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace tovuri
