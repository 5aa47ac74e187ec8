#include "richtext/text_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <fstream>
#include <sstream>

#include "../spell/temp_folder.h"

namespace tovuri {
namespace {

TEST(TextFile, DecodesUtf8AsItIsAndOtherBytesAsWindows1252) {
  struct Case {
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"abc", "abc"},
      {"\xEF\xBB\xBF" "caf\xC3\xA9", "caf\xC3\xA9"},
      {"caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},
      {"a\r\nb\rc\nd\r", "a\nb\nc\nd\n"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeTextFile(c.bytes), c.text) << c.bytes;
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
