#include "richtext/text_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <fstream>
#include <sstream>

#include "../spell/temp_folder.h"

namespace tovuri {
namespace {

TEST(TextFile, DecodesUtf8Utf16AndOtherBytesAsWindows1252) {
  struct Case {
    std::string bytes;
    std::string text;
    TTextEncoding encoding;
    bool crlf;
    bool same_back;  // written back byte for byte (mixed line ends are not)
  };
  using enum TTextEncoding;
  const Case cases[] = {
      {"abc", "abc", teUtf8, false, true},
      {"\xEF\xBB\xBF" "caf\xC3\xA9", "caf\xC3\xA9", teUtf8WithMark, false, true},
      {"caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC", teWindows1252, false, true},
      {"a\r\nb\rc\nd\r", "a\nb\nc\nd\n", teUtf8, true, false},
      {"a\r\nb\r\n", "a\nb\n", teUtf8, true, true},
      {"a\nb\r\n", "a\nb\n", teUtf8, false, false},
      {"", "", teUtf8, false, true},
      // UTF-16 either way round, with a character beyond the first plane.
      {std::string("\xFF\xFEU\0m\0\x4B\x01\r\0\n\0\x3D\xD8\x00\xDE", 16), "Um\xC5\x8B\n\xF0\x9F\x98\x80",
       teUtf16LE, true, true},
      {std::string("\xFE\xFF\0U\0m", 6), "Um", teUtf16BE, false, true},
  };
  for (const Case& c : cases) {
    const TTextFile file = DecodeTextFile(c.bytes);
    EXPECT_EQ(file.text, c.text) << c.bytes;
    EXPECT_EQ(file.encoding, c.encoding) << c.bytes;
    EXPECT_EQ(file.crlf, c.crlf) << c.bytes;
    if (c.same_back) {
      EXPECT_EQ(EncodeTextFile(file.text, file), c.bytes) << "written back: " << c.bytes;
    }
  }
}

TEST(TextFile, AWindows1252FileCannotTakeACharacterItLacks) {
  TTextFile file = DecodeTextFile("caf\xE9");
  EXPECT_EQ(EncodeTextFile("caf\xC3\xA9 \xE2\x82\xAC", file), "caf\xE9 \x80");
  EXPECT_EQ(EncodeTextFile("\xC5\x81\xC3\xB3""d\xC5\xBA", file), std::nullopt) << "Lodz with its Polish letters";
  file.encoding = TTextEncoding::teUtf8;
  EXPECT_EQ(EncodeTextFile("\xC5\x81\xC3\xB3""d\xC5\xBA", file), "\xC5\x81\xC3\xB3""d\xC5\xBA");
}

TEST(TextFile, ReadsAFileWholeOrSaysWhyNot) {
  testing::TempDir dir;
  const std::string file = dir.Write("a.txt", std::string("x\0y", 3));
  std::string error;
  EXPECT_EQ(ReadWholeFile(file, error), std::string("x\0y", 3));
  EXPECT_FALSE(ReadWholeFile(dir.File("missing.txt"), error).has_value());
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(ReadWholeFile(dir.Path().string(), error).has_value());
  EXPECT_EQ(error, "Is a directory");
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(TextFile, ReplacesAFileOrLeavesTheOldOneIntact) {
  testing::TempDir dir;
  const std::string file = dir.Write("doc.txt", "old text");
  std::string error;
  ASSERT_TRUE(ReplaceFile(file, "new text", error)) << error;
  EXPECT_EQ(Contents(file), "new text");

  // A size limit makes the write fail however privileged the test runs.
  const std::string large(64 * 1024, 'x');
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto old_handler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool replaced = ReplaceFile(file, large, error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(replaced);
  EXPECT_EQ(error, "File too large");
  EXPECT_EQ(Contents(file), "new text");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "temporary file left";

  EXPECT_FALSE(ReplaceFile(dir.File("no/such/folder.txt"), "x", error));
  EXPECT_EQ(error, "No such file or directory");
}

}  // namespace
}  // namespace tovuri
