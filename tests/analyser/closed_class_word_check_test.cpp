#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "temp_dir.h"

namespace tovuri {
namespace {

// The closed classes need no lexicon at all.
class ClosedClassWordCheck : public ::testing::Test {
 protected:
  void SetUp() override { InstallLexicon(Lexicon{}); }
  void TearDown() override { InstallLexicon(Lexicon{}); }
};

TEST_F(ClosedClassWordCheck, EmptyLexiconAcceptsTheClosedClasses) {
  for (const char* word :
       {"nangu", "nanguya", "nanguyana", "nango", "mina", "lami", "ngami", "wonke", "kithi",
        "lowo", "kulowo", "nguwe", "yimi", "wethu", "ngo-12", "ka-31", "ilowo", "Yilabo",
        "ngedwa", "wedwa", "yedwa", "angingedwa", "kuphi", "baphi", "kukuphi", "ngakuphi",
        "kuwaphi", "Mina"}) {
    EXPECT_TRUE(IsNdebeleWord(word)) << word;
    EXPECT_TRUE(IsNdebeleWordReference(word)) << word;
  }
}

TEST_F(ClosedClassWordCheck, EmptyLexiconRejectsNearMisses) {
  for (const char* word : {"ngo-13", "ka-32", "ngaphi", "mInA", "nangi", "lowoo"}) {
    EXPECT_FALSE(IsNdebeleWord(word)) << word;
    EXPECT_FALSE(IsNdebeleWordReference(word)) << word;
  }
}

struct TagCase {
  const char *tag, *prefix, *stem, *final;
  std::vector<const char*> accepted;
  std::vector<const char*> rejected;
};

// Each generator of this unit, reached through the driver's dispatch by tag.
TEST_F(ClosedClassWordCheck, DriverDispatchesEachTagToItsGenerator) {
  const TagCase cases[] = {
      {"exc/ala", "uku", "lel", "e", {"ngilele", "besilele", "ngilelwe"}, {"ngilela"}},
      {"exc/thatha", "uku", "bulal", "e", {"ngibulawa", "ngibulale"}, {"ngisabulalwe"}},
      {"defverb", "uku", "z", "e", {"ngize", "ngizaze", "ngaze", "angikaze", "kangaze", "kaze"},
       {"kaaze"}},
      {"adj", "", "khulu", "", {"inkulu", "abakhulu", "Omkhulu"}, {"omukhulu"}},
      {"adv", "e", "khay", "a", {"ngisekhaya", "ekhaya"}, {"ngiekhaya"}},
      {"conj", "", "kodwa", "", {"ngikukodwa"}, {"angikodwa"}},
      {"rel", "", "bomvu", "", {"abangebomvu", "yibomvu"}, {"ngisbomvu"}},
  };
  for (const TagCase& c : cases) {
    Lexicon lexicon;
    lexicon.AddEntry(c.tag, c.prefix, c.stem, c.final, "");
    InstallLexicon(std::move(lexicon));
    for (const char* word : c.accepted) EXPECT_TRUE(IsNdebeleWord(word)) << c.tag << ": " << word;
    for (const char* word : c.rejected) EXPECT_FALSE(IsNdebeleWord(word)) << c.tag << ": " << word;
  }
}

// tovuri-check --forms serves every tag of this unit.
TEST(ClosedClassCheckTool, FormsServesEachTag) {
  const std::string tool = std::string(TOVURI_BIN_DIR) + "/tovuri-check";
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "tovuri-check is not built";
  testing::TempDir dir;
  dir.Write("dictionary.txt", "");
  dir.Write("passives.txt", "");
  struct Case {
    std::string args;
    size_t lines;
    std::string some;
  } const cases[] = {
      {"exc/ala uku lel e", 6510, "\nngilelwe\n"},
      {"exc uku bulal e", 6510 - 64 + 17, "\nngibulawa\n"},
      {"defverb uku z e", 129, "\nkangaze\n"},
      {"defverb uku qq e", 0, ""},
      {"adj '' khulu ''", 1187, "\ninkulu\n"},
      {"adv e khay a", 621, "\nngisekhaya\n"},
      {"conj '' kodwa ''", 19, "\nkukodwa\n"},
      {"rel '' bomvu ''", 308, "\nyibomvu\n"},
  };
  for (const Case& c : cases) {
    const std::string command =
        "'" + tool + "' --data '" + dir.path() + "' --forms " + c.args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out = "\n";
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.args << "\n" << out;
    EXPECT_EQ(static_cast<size_t>(std::count(out.begin(), out.end(), '\n')) - 1, c.lines)
        << c.args;
    EXPECT_NE(out.find(c.some), std::string::npos) << c.args;
  }
}

}  // namespace
}  // namespace tovuri
