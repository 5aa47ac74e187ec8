#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../spell/user_dirs.h"
#include "spell/ox3CustomDictionary.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;
using testing::ScopedUserDirs;

constexpr std::string_view kBanner = "@(#) International Ispell Version 3.2.06 (but really Tovuri 1.0)\n";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Replaces each \xHH by its byte.
std::string Unescape(std::string_view text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 2) == "\\x" && i + 3 < text.size() && std::isxdigit(text[i + 2]) &&
        std::isxdigit(text[i + 3])) {
      bytes += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
      i += 3;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

// What a recorded session sends and the answer it expects after the banner.
struct Session {
  std::string input;
  std::string expected;
};

Session ReadSession(const fs::path& file) {
  Session session;
  std::istringstream lines(ReadFile(file));
  std::string line;
  while (std::getline(lines, line)) {
    if (line == ">" || line.starts_with("> "))
      session.input += Unescape(line.substr(std::min<size_t>(2, line.size()))) + '\n';
    if (line == "<" || line.starts_with("< "))
      session.expected += line.substr(std::min<size_t>(2, line.size())) + '\n';
  }
  return session;
}

class PipeMode : public ::testing::Test {
 protected:
  void SetUp() override {
    tool_ = fs::path(TOVURI_BIN_DIR) / "tovuri-check";
    if (!fs::exists(tool_) || !fs::exists(fs::path(TOVURI_BIN_DIR) / "Ndebele.oxm"))
      GTEST_SKIP() << "tovuri-check or the shipped Ndebele.oxm is not built";
  }

  // Sends input to tovuri-check -a (with more arguments) and returns its output; a hang fails.
  std::string Run(const std::string& input, const std::string& arguments = "") {
    const fs::path in = dirs_.Root() / "in.txt";
    const fs::path out = dirs_.Root() / "out.txt";
    std::ofstream(in, std::ios::binary) << input;
    const std::string command = "timeout 120 " + tool_.string() + " -a " + arguments + " < " + in.string() +
                                " > " + out.string() + " 2> " + (dirs_.Root() / "err.txt").string();
    status_ = std::system(command.c_str());
    return ReadFile(out);
  }

  bool InCustomDictionary(const std::string& word) {
    TCustomDictionary custom;
    const fs::path file = dirs_.Data() / "Tovuri/Ndebele.oxu";
    return fs::exists(file) && custom.Open(file.string()) && custom.Contains(word);
  }

  ScopedUserDirs dirs_;
  fs::path tool_;
  int status_ = -1;
};

class RecordedSession : public PipeMode, public ::testing::WithParamInterface<std::string> {};

TEST_P(RecordedSession, AnswersAsRecorded) {
  const Session session =
      ReadSession(fs::path(TOVURI_TEST_DATA_DIR) / "pipe_sessions" / (GetParam() + ".session"));
  ASSERT_FALSE(session.expected.empty());
  const std::string out = Run(session.input);
  EXPECT_EQ(WEXITSTATUS(status_), 0);
  ASSERT_TRUE(out.starts_with(kBanner)) << out;
  EXPECT_EQ(out.substr(kBanner.size()), session.expected);
}

std::vector<std::string> SessionNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::path(TOVURI_TEST_DATA_DIR) / "pipe_sessions"))
    if (entry.path().extension() == ".session") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(PipeSessions, RecordedSession, ::testing::ValuesIn(SessionNames()),
                         [](const auto& info) { return info.param; });

TEST_F(PipeMode, VersionLineIsTheBanner) {
  const std::string command = tool_.string() + " -vv > " + (dirs_.Root() / "out.txt").string();
  const int status = std::system(command.c_str());
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(dirs_.Root() / "out.txt"), kBanner);
}

TEST_F(PipeMode, ALineOfAHundredThousandCharactersIsAnsweredWordByWord) {
  std::string line = "^";
  while (line.size() < 100'000 - 6) line += "umuntu ";
  const size_t offset = line.size();
  line += "abntu";
  const std::string out = Run(line + "\n" + "^inja\n");
  std::string expected(kBanner);
  for (size_t words = (offset - 1) / 7; words > 0; --words) expected += "*\n";
  expected += "& abntu 2 " + std::to_string(offset) + ": abantu, bantu\n\n*\n\n";
  EXPECT_EQ(out, expected);
}

TEST_F(PipeMode, AWordOfAHundredThousandLettersIsReportedWithoutAHang) {
  const std::string out = Run("^" + std::string(100'000, 'a') + "\n^inja\n");
  EXPECT_EQ(WEXITSTATUS(status_), 0);
  EXPECT_TRUE(out.starts_with(std::string(kBanner) + "# aaaa")) << out.substr(0, 200);
  EXPECT_TRUE(out.ends_with(" 1\n\n*\n\n")) << out.substr(out.size() - std::min<size_t>(out.size(), 200));
}

TEST_F(PipeMode, AddedWordsAndLearntWordsReachTheCustomDictionary) {
  // "simbona" (we see him) is known only to the analyser.
  const std::string out = Run("*qwxz\n^simbona\n");
  EXPECT_EQ(out, std::string(kBanner) + "*\n\n");
  EXPECT_TRUE(InCustomDictionary("qwxz"));
  EXPECT_TRUE(InCustomDictionary("simbona")) << "words only the analyser accepts are learnt";
}

TEST_F(PipeMode, NoLearnKeepsAnalysedWordsOutOfTheCustomDictionary) {
  EXPECT_EQ(Run("^simbona\n", "--no-learn"), std::string(kBanner) + "*\n\n");
  EXPECT_FALSE(InCustomDictionary("simbona"));
}

TEST_F(PipeMode, PersonalWordListIsAcceptedAndTheEditorsOptionsAreTaken) {
  const fs::path list = dirs_.Root() / "words.txt";
  std::ofstream(list) << "qwxz\nn\xC3\xA9qa\n";
  const std::string out =
      Run("^qwxz n\xC3\xA9qa zzzq\n", "-m -B -C -S -d nd -i utf-8 --encoding=UTF-8 -p " + list.string());
  EXPECT_EQ(WEXITSTATUS(status_), 0);
  EXPECT_EQ(out, std::string(kBanner) + "*\n*\n# zzzq 11\n\n");
}

TEST_F(PipeMode, AnEncodingOtherThanUtf8IsRefused) {
  EXPECT_EQ(Run("^umuntu\n", "-i latin1"), "");
  EXPECT_EQ(WEXITSTATUS(status_), 2);
}

}  // namespace
}  // namespace tovuri
