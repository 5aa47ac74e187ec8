// tovuri-check --list on the inputs a user meets: quoted lines, long lines,
// directories and binary files, UTF-16, stray bytes in UTF-8, curly quotes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;

struct Outcome {
  std::string out;
  std::string err;
  int status = -1;
};

class ListCommandInput : public ::testing::Test {
 protected:
  void SetUp() override {
    tool_ = fs::path(TOVURI_BIN_DIR) / "tovuri-check";
    if (!fs::exists(tool_) || !fs::exists(fs::path(TOVURI_BIN_DIR) / "Ndebele.oxm"))
      GTEST_SKIP() << "tovuri-check or the shipped Ndebele.oxm is not built";
  }

  fs::path Write(const std::string& name, const std::string& bytes) {
    const fs::path file = home_.Root() / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

  // tovuri-check --no-learn --list with the arguments; what it printed on each stream.
  Outcome List(const std::string& arguments) {
    const fs::path err = home_.Root() / "stderr.txt";
    Outcome run;
    const std::string command =
        tool_.string() + " --no-learn --list " + arguments + " 2>" + err.string();
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    run.status = WEXITSTATUS(pclose(pipe));
    std::ifstream in(err);
    run.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return run;
  }

  TempHome home_;
  fs::path tool_;
};

TEST_F(ListCommandInput, QuotedLinesAreIgnoredOneByOneWhenTheOptionIsOn) {
  const fs::path text = Write("mail.txt", "> qwxz zzzq\numuntu qwxz\n>> zzzq\n zzzq\n");
  const std::string name = text.string();
  // The default settings leave quoted lines in.
  Outcome run = List(name);
  EXPECT_EQ(run.out, name + ":1:3: qwxz\n" + name + ":1:8: zzzq\n" + name + ":2:8: qwxz\n" +
                         name + ":3:4: zzzq\n" + name + ":4:2: zzzq\n");
  // The first run wrote the settings: turn the quoted-line option on.
  const fs::path settings = home_.Root() / "home/.config/Tovuri/Ndebele.reg";
  std::ifstream in(settings);
  std::string stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t at = stored.find("_soQuoted=-");
  ASSERT_NE(at, std::string::npos) << stored;
  stored.replace(at, 11, "_soQuoted=+");
  std::ofstream(settings, std::ios::trunc) << stored;
  run = List(name);
  EXPECT_EQ(run.out, name + ":2:8: qwxz\n" + name + ":4:2: zzzq\n");
  EXPECT_EQ(run.status, 1);
}

TEST_F(ListCommandInput, VeryLongLinesKeepTheirWordsAndColumns) {
  // 300,000 characters on one line, far beyond one piece, then a second line.
  std::string line;
  while (line.size() < 300000) line += "umuntu ";
  const size_t first = line.size() + 1;
  line += "qwxz ";
  while (line.size() < 600000) line += "inja ";
  const size_t second = line.size() + 1;
  line += "zzzq";
  const fs::path text = Write("long.txt", line + "\nqwxz\n");
  const std::string name = text.string();
  const Outcome run = List(name);
  EXPECT_EQ(run.out, name + ":1:" + std::to_string(first) + ": qwxz\n" + name + ":1:" +
                         std::to_string(second) + ": zzzq\n" + name + ":2:1: qwxz\n");
}

TEST_F(ListCommandInput, DirectoriesAndMissingFilesAreErrorsAndBinaryFilesAreSkipped) {
  const fs::path folder = home_.Folder("folder");
  Outcome run = List(folder.string());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find(folder.string()), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");

  run = List((home_.Root() / "missing.txt").string());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("missing.txt"), std::string::npos) << run.err;

  const fs::path binary = Write("program.bin", std::string("qwxz\0\x01\x02zzzq abcdefg\n", 20));
  const fs::path clean = Write("clean.txt", "umuntu\n");
  run = List(binary.string() + " " + clean.string());
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "tovuri-check: cannot read " + binary.string() +
                         " as text: it holds bytes that are no text (a NUL byte)\n");
  EXPECT_EQ(run.status, 2) << "a file that was not checked is never \"every word accepted\"";
}

TEST_F(ListCommandInput, ReadsUtf16WithoutAByteOrderMarkAndLinesEndingInACarriageReturn) {
  std::string little;
  for (unsigned char c : std::string("umuntu qwxz\np\xE9qa\n")) {
    little += static_cast<char>(c);
    little += '\0';
  }
  const std::string utf16 = Write("unmarked.txt", little).string();
  EXPECT_EQ(List(utf16).out, utf16 + ":1:8: qwxz\n" + utf16 + ":2:1: p\xC3\xA9qa\n");

  const std::string mac = Write("mac.txt", "umuntu qwxz\rzzzq\r\r\nabntu\n").string();
  EXPECT_EQ(List(mac).out, mac + ":1:8: qwxz\n" + mac + ":2:1: zzzq\n" + mac + ":4:1: abntu\n");
}

TEST_F(ListCommandInput, AWordWithALetterWindows1252LacksIsListedWholeAsWritten) {
  // The emoji parts words; the letters do not, and their words come back as written.
  const std::string name = Write("letters.txt", "umuntu\xC5\x8B abantu Dvo\xC5\x99\xC3\xA1k \xF0\x9F\x98\x80" "abantu qwxz\n").string();
  EXPECT_EQ(List(name).out,
            name + ":1:1: umuntu\xC5\x8B\n" + name + ":1:16: Dvo\xC5\x99\xC3\xA1k\n" + name + ":1:31: qwxz\n");
}

TEST_F(ListCommandInput, ReadsUtf16WithAByteOrderMarkEitherWayRound) {
  std::string little = "\xFF\xFE";
  std::string big = "\xFE\xFF";
  for (unsigned char c : std::string("umuntu qwxz\np\xE9qa\n")) {
    little += static_cast<char>(c);
    little += '\0';
    big += '\0';
    big += static_cast<char>(c);
  }
  for (const auto& [file, bytes] : {std::pair{"little.txt", little}, std::pair{"big.txt", big}}) {
    const std::string name = Write(file, bytes).string();
    const Outcome run = List(name);
    EXPECT_EQ(run.out, name + ":1:8: qwxz\n" + name + ":2:1: p\xC3\xA9qa\n") << file;
  }
}

TEST_F(ListCommandInput, AStrayByteLeavesTheRestOfAUtf8FileUtf8) {
  // "\xE9" alone is Windows-1252; "p\xC3\xA9qa" stays UTF-8.
  const std::string name = Write("mixed.txt", "p\xC3\xA9qa \xE9zzq\n").string();
  EXPECT_EQ(List(name).out, name + ":1:1: p\xC3\xA9qa\n" + name + ":1:6: \xC3\xA9zzq\n");
}

TEST_F(ListCommandInput, AClosingCurlyQuoteEndsAQuotationUnlessItMarksAnElision) {
  // kakhulu is a word; "qwxz" is not, with or without the quote.
  const std::string name =
      Write("quotes.txt", "\xE2\x80\x98kakhulu\xE2\x80\x99 qwxz\xE2\x80\x99\n").string();
  EXPECT_EQ(List(name).out, name + ":1:11: qwxz\xE2\x80\x99\n");
}

}  // namespace
}  // namespace tovuri
