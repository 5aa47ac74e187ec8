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

  // Sends input to tovuri-check -a (with more arguments) and returns its
  // output, standard error into err or (merged) into the output; a hang fails.
  std::string Run(const std::string& input, const std::string& arguments = "", std::string* err = nullptr,
                  bool merged = false) {
    const fs::path in = dirs_.Root() / "in.txt";
    const fs::path out = dirs_.Root() / "out.txt";
    const fs::path err_file = dirs_.Root() / "err.txt";
    std::ofstream(in, std::ios::binary) << input;
    const std::string command = "timeout 120 " + tool_.string() + " -a " + arguments + " < " + in.string() +
                                " > " + out.string() + (merged ? " 2>&1" : " 2> " + err_file.string());
    status_ = std::system(command.c_str());
    if (err != nullptr) *err = ReadFile(err_file);
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

TEST_F(PipeMode, AddedWordsReachTheCustomDictionaryAndAnalysedWordsNever) {
  // "simbona" (we see him) is known only to the analyser: an editor checks
  // a buffer over and over, and nothing the user did not choose is written.
  for (const char* learning : {"", "--no-learn"}) {
    const std::string out = Run("*qwxz\n^simbona\n^simbona\n", learning);
    EXPECT_EQ(out, std::string(kBanner) + "*\n\n*\n\n") << learning;
    EXPECT_EQ(WEXITSTATUS(status_), 0);
    EXPECT_TRUE(InCustomDictionary("qwxz")) << learning;
    EXPECT_FALSE(InCustomDictionary("simbona")) << learning;
  }
}

TEST_F(PipeMode, AWordThatCannotBeKeptIsSaidAndTheExitStatusSaysSo) {
  // Standard error apart from standard output: the problem is said there.
  std::string err;
  std::string out = Run("*\xC5\x81\xC3\xB3""d\xC5\xBA\n^umuntu\n", "", &err);
  EXPECT_EQ(out, std::string(kBanner) + "*\n\n");
  EXPECT_EQ(WEXITSTATUS(status_), 2);
  EXPECT_NE(err.find("cannot keep \xC5\x81\xC3\xB3""d\xC5\xBA"), std::string::npos) << err;

  // A custom dictionary that cannot be written: a file where its folder goes.
  fs::remove_all(dirs_.Data() / "Tovuri");
  fs::create_directories(dirs_.Data());
  std::ofstream(dirs_.Data() / "Tovuri") << "not a folder";
  out = Run("*qwxz\n#\n^qwxz\n", "", &err);
  EXPECT_EQ(WEXITSTATUS(status_), 2) << err;
  EXPECT_NE(err.find("cannot keep qwxz"), std::string::npos) << err;
}

TEST_F(PipeMode, NoticesStayOffAStandardErrorMergedIntoTheProtocol) {
  // Emacs reads the program's standard error with its output: a lexicon
  // warning there would be read where the banner belongs.
  const fs::path data = dirs_.Root() / "data";
  fs::create_directories(data);
  for (const char* file : {"Ndebele.oxm", "passives.txt", "letter_model.tsv"})
    fs::copy_file(fs::path(TOVURI_BIN_DIR) / file, data / file);
  std::ofstream(data / "dictionary.txt") << "noun,umu-ntu,1\nnonsense line\n";
  std::string err;
  const std::string apart = Run("^umuntu\n", "--data " + data.string(), &err);
  EXPECT_FALSE(err.empty()) << "the warning is said when standard error is apart";
  EXPECT_TRUE(apart.starts_with(kBanner)) << apart;
  const std::string merged = Run("^umuntu\n", "--data " + data.string(), nullptr, true);
  EXPECT_EQ(merged, std::string(kBanner) + "*\n\n");
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
