#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "temp_dir.h"

namespace tovuri {
namespace {

using testing::TempDir;

struct Result {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs tovuri-check from the build tree with the given arguments (already quoted).
Result RunCheck(const std::string& args) {
  TempDir scratch;
  const std::string err_file = scratch.path() + "stderr";
  Result result;
  const std::string command =
      std::string("'") + TOVURI_BIN_DIR + "/tovuri-check' " + args + " 2>'" + err_file + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(err_file, std::ios::binary);
  result.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
  return result;
}

class CheckTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(std::string(TOVURI_BIN_DIR) + "/tovuri-check"))
      GTEST_SKIP() << "tovuri-check is not built";
    dir_.Write("dictionary.txt",
               "special,kodwa,,but\r\nspecial,oPhezukonke,,the Most High\r\n"
               "Verb,uku-hamba,,walk\r\n");
    dir_.Write("passives.txt", "ukubona\r\n");
  }
  std::string Data() const { return "--data '" + dir_.path() + "' "; }
  TempDir dir_;
};

TEST_F(CheckTool, AnalyseAcceptsSpecialWordsByTheCaseRules) {
  const Result r = RunCheck(Data() + "--analyse kodwa Kodwa KODWA koPhezukonke OPHEZUKONKE");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, std::string("kodwa\tyes\nKodwa\tyes\nKODWA\tyes\n"
                                          "koPhezukonke\tyes\nOPHEZUKONKE\tyes\n"));
}

TEST_F(CheckTool, AnalyseRejectsOtherWordsWithStatusOne) {
  const Result r = RunCheck(Data() + "--analyse kodwa koDwa ophezukonke hamba '\xC3\xA9'");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out, std::string("kodwa\tyes\nkoDwa\tno\nophezukonke\tno\n"
                                          "hamba\tno\n\xC3\xA9\tno\n"));
}

TEST_F(CheckTool, PrintsLexiconWarningsWithFileAndLine) {
  const Result r = RunCheck(Data() + "--analyse kodwa");
  EXPECT_EQ(r.out, "kodwa\tyes\n");
  EXPECT_THAT(r.err, ::testing::HasSubstr(dir_.path() + "dictionary.txt:3: Invalid entry found "
                                          "in dictionary " + dir_.path() + "dictionary.txt - Verb\n"));
}

TEST_F(CheckTool, FormsPrintsOneFormPerLineInGenerationOrder) {
  const Result r = RunCheck(Data() + "--forms special '' oPhezukonke ''");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "oPhezukonke\nyoPhezukonke\nwoPhezukonke\nboPhezukonke\nkoPhezukonke\n");
}

TEST_F(CheckTool, BadUsageExitsWithStatusTwo) {
  for (std::string args : {"", "--analyse", "--forms verb a b", "--forms verb a b c d e",
                           "--frobnicate", "--data", "--help --analyse x",
                           "--forms Verb uku hamb a"}) {
    const Result r = RunCheck(Data() + args);
    EXPECT_EQ(r.status, 2) << args << "\n" << r.out << r.err;
  }
  EXPECT_EQ(RunCheck("--data '" + dir_.path() + "no/such/dir' --analyse x").status, 2);
  const Result help = RunCheck("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out, ::testing::HasSubstr("--analyse WORD..."));
}

TEST(ShippedData, LoadsWithoutWarningsAndAcceptsItsSpecialWords) {
  std::vector<std::string> warnings;
  BuildLexicon(TOVURI_SOURCE_DATA_DIR, [&](const LexiconWarning& w) {
    warnings.push_back(w.file + ":" + std::to_string(w.line) + ": " + w.message);
  });
  EXPECT_THAT(warnings, ::testing::ElementsAre());
  EXPECT_GT(TheLexicon().size(), 50u);
  EXPECT_FALSE(TheLexicon().PassiveStems.empty());
  for (std::string word : {"kodwa", "Njalo", "NGOBA", "engumkabo", "koPhezukonke"})
    EXPECT_TRUE(IsNdebeleWord(word)) << word;
  for (std::string word : {"kodwaa", "ophezukonke", "nGoba"})
    EXPECT_FALSE(IsNdebeleWord(word)) << word;
  InstallLexicon(Lexicon{});
}

}  // namespace
}  // namespace tovuri
