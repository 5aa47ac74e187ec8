#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>

#include "checker/letter_model.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

class LetterModelFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tovuri-letters-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Write(const std::string& text) {
    const std::string path = (dir_ / "letters.tsv").string();
    std::ofstream(path) << text;
    return path;
  }
  fs::path dir_;
};

// The counts tools/letter_model.py writes for "aba" and "abe" at order 2.
constexpr const char* kCounts =
    "# letter 2-grams\n"
    "$\t2\n^a\t2\na\t3\na$\t1\nab\t2\nb\t2\nba\t1\nbe\t1\ne\t1\ne$\t1\n";

TEST_F(LetterModelFile, SeenShapesCostLessAndEachContextMixesInTheShorterOne) {
  TLetterModel model;
  ASSERT_TRUE(model.Load(Write(kCounts)));
  EXPECT_EQ(model.Order(), 2);
  EXPECT_LT(model.Cost("aba"), model.Cost("abz"));
  EXPECT_LT(model.Cost("abe"), model.Cost("eba"));
  EXPECT_DOUBLE_EQ(model.Cost("ABA"), model.Cost("aba")) << "case is ignored";
  // Witten-Bell by hand for "a": each context mixes its counts with the
  // shorter context's estimate, weighted by how many letters follow it.
  const double uniform = 1.0 / 29;
  const double a = (3 + 4 * uniform) / (8 + 4), end = (2 + 4 * uniform) / (8 + 4);
  const double a_after_start = (2 + 1 * a) / (2 + 1), end_after_a = (1 + 2 * end) / (3 + 2);
  EXPECT_NEAR(model.Cost("a"), -std::log(a_after_start) - std::log(end_after_a), 1e-12);
}

TEST_F(LetterModelFile, CostNearAgreesWithCost) {
  TLetterModel model;
  ASSERT_TRUE(model.Load(Write(kCounts)));
  const std::string word = "abeba";
  const std::vector<double> costs = model.LetterCosts(word);
  EXPECT_NEAR(std::accumulate(costs.begin(), costs.end(), 0.0), model.Cost(word), 1e-9);
  for (const char* candidate : {"abeb", "abebaa", "xabeba", "abexa", "baeba", "a", "abeba", "ebeba", "zz"})
    EXPECT_NEAR(model.CostNear(candidate, word, costs), model.Cost(candidate), 1e-9) << candidate;
}

TEST_F(LetterModelFile, AFileThatFailsItsCheckSaysWhichLineAndLeavesTheModelEmpty) {
  struct Case {
    std::string text;
    std::string problem;
  } const cases[] = {
      {"# counts\nab\tx\n", "line 2: the count x is not a whole number from 1 to 1000000000"},
      {"ab\t3x\n", "line 1: the count 3x is not a whole number from 1 to 1000000000"},
      {"ab\t-3\n", "line 1: the count -3 is not a whole number from 1 to 1000000000"},
      {"ab\t0\n", "line 1: the count 0 is not a whole number from 1 to 1000000000"},
      {"abcdefgh\t3\n", "line 1: an n-gram of 8 symbols, more than 6"},
      {"\t3\n", "line 1: no n-gram before the tab"},
      {"ab 3\n", "line 1: no tab between the n-gram and its count"},
      {"a\x01\t3\n", "line 1: the n-gram a\x01 holds '\x01' where no n-gram can"},
      {"a^b\t3\n", "line 1: the n-gram a^b holds '^' where no n-gram can"},
      {"a\t3\nb\t2\na\t1\n", "line 3: the n-gram a is listed again (first at line 1)"},
      {std::string(kCounts).replace(std::string(kCounts).find("ab\t2"), 4, "ab\t7"),
       "line 6: counted 7 times, more than the n-gram it holds at line 7 (2 times), which no counting of words gives"},
      {"ab\t1000000000\nac\t1000000000\nad\t1000000000\nae\t1000000000\naf\t1000000000\n",
       "line 5: counts beyond any real list"},
  };
  for (const Case& c : cases) {
    TLetterModel model;
    EXPECT_FALSE(model.Load(Write(c.text))) << c.text;
    EXPECT_EQ(model.Problem(), c.problem) << c.text;
    EXPECT_TRUE(model.Empty());
    EXPECT_EQ(model.Cost("aba"), 0);
  }
  TLetterModel model;
  EXPECT_FALSE(model.Load((dir_ / "missing.tsv").string()));
  EXPECT_TRUE(model.Empty());
  EXPECT_EQ(model.Problem(), "") << "a model is not required";
}

TEST_F(LetterModelFile, TheShippedModelPassesItsCheck) {
  TLetterModel model;
  EXPECT_TRUE(model.Load(std::string(TOVURI_SOURCE_DATA_DIR) + "/letter_model.tsv")) << model.Problem();
  EXPECT_EQ(model.Problem(), "");
  EXPECT_EQ(model.Order(), 5);
}

}  // namespace
}  // namespace tovuri
