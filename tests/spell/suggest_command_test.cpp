#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "spell/ox3CustomDictionary.h"
#include "spell/ox3DictionaryCompiler.h"
#include "spell_test_support.h"
#include "temp_folder.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

TEST(SuggestCommand, DictionariesOnlyPrintsTheMainDictionariesOwnRanking) {
  const fs::path tool = fs::path(TOVURI_BIN_DIR) / "tovuri-check";
  if (!fs::exists(tool)) GTEST_SKIP() << "tovuri-check is not built";
  const testing::TempDir folder;
  const fs::path& dir = folder.Path();
  std::ofstream(dir / "Ndebele.oxm", std::ios::binary)
      << CompileMainDictionary({"umuntu", "abantu", "umfana", "indoda"}, "Test", 0).bytes;

  int status = -1;
  const std::string out = testing::RunCommand(tool.string() + " --data " + dir.string() +
                                     " --suggest --dictionaries-only umntu abnatu qqqq \"umfan\xC3\xA1\"", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out,
            "umntu: umuntu\n"
            "abnatu: abantu\n"
            "qqqq: (no suggestions)\n"
            "umfan\xC3\xA1: umfana\n");

  // Without a main dictionary there is nothing to suggest from.
  fs::remove(dir / "Ndebele.oxm");
  testing::RunCommand(tool.string() + " --data " + dir.string() + " --dictionaries-only --suggest umntu 2>/dev/null", &status);
  EXPECT_NE(status, 0);
}

TEST(SuggestCommand, OffersTheWordsTheAnalyserAcceptsBesideTheDictionaries) {
  const fs::path bin = TOVURI_BIN_DIR;
  if (!fs::exists(bin / "tovuri-check") || !fs::exists(bin / "Ndebele.oxm"))
    GTEST_SKIP() << "tovuri-check or the shipped Ndebele.oxm is not built";
  const testing::TempDir home;
  const std::string run = "HOME=" + home.Path().string() + " XDG_CONFIG_HOME=" + home.File("config") +
                          " XDG_DATA_HOME=" + home.File("data") + " " + (bin / "tovuri-check").string();
  int status = -1;
  // "simbona" (we see him) is a form no word list holds; "ngiyabona" (I see) is listed.
  const std::string out = testing::RunCommand(run + " --suggest simbnoa ngiyabnoa", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out.rfind("simbnoa: simbona\nngiyabnoa: ngiyabona, ", 0), 0u) << out;
  EXPECT_EQ(testing::RunCommand(run + " --suggest --dictionaries-only simbnoa", &status), "simbnoa: (no suggestions)\n");
  TCustomDictionary custom;
  const fs::path learnt = home.Path() / "data/Tovuri/Ndebele.oxu";
  EXPECT_TRUE(!fs::exists(learnt) || (custom.Open(learnt.string()) && !custom.Contains("simbona")))
      << "suggesting learns nothing";
}

}  // namespace
}  // namespace tovuri
