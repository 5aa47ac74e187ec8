#include "spell/ox3DictionaryCompiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "spell/ox3Encoding.h"
#include "spell/ox3MainDictionary.h"
#include "temp_folder.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

class CompilerFiles : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    return folder_.Write(name, bytes);
  }
  testing::TempDir folder_;
  const fs::path& dir_ = folder_.Path();
};

std::vector<std::string> Dump(const std::string& path) {
  TMainDictionary dict;
  std::vector<std::string> words;
  if (!dict.Open(path)) return words;
  dict.EnumeratePrefix("", [&](std::string_view w) {
    words.emplace_back(w);
    return false;
  });
  return words;
}

TEST_F(CompilerFiles, CompileThenDumpGivesTheSortedUniqueInput) {
  const std::string list = "umuntu\r\nabantu\n\n  indoda \nabantu\numuntu\nAbantu\n\xC3\x9C" "bung\nb\n";
  const WordList read = ReadWordList(Write("words.txt", list));
  EXPECT_TRUE(read.warnings.empty());
  const CompiledDictionary dict = CompileMainDictionary(read.words, "Ndebele", 0);
  const std::string path = Write("out.oxm", dict.bytes);
  const std::vector<std::string> expected = {"Abantu", "abantu", "b", "indoda", "umuntu", "\xDC" "bung"};
  EXPECT_EQ(Dump(path), expected);
  EXPECT_EQ(dict.word_count, expected.size());
}

TEST_F(CompilerFiles, ReadsWindows1252WhenTheFileIsNotUtf8) {
  const WordList read = ReadWordList(Write("cp1252.txt", "caf\xE9\nna\xEFve\n"));
  EXPECT_EQ(read.words, (std::vector<std::string>{"caf\xE9", "na\xEFve"}));
  const WordList utf8 = ReadWordList(Write("utf8.txt", "\xEF\xBB\xBF" "caf\xC3\xA9\n\xE2\x82\xAC\n"));
  EXPECT_EQ(utf8.words, (std::vector<std::string>{"caf\xE9", "\x80"}));
}

TEST_F(CompilerFiles, WarnsAboutWordsItCannotStore) {
  const std::string list = "umuntu\n\xE4\xB8\xAD\n" + std::string(513, 'a') + "\n" + std::string(512, 'b') + "\n";
  const WordList read = ReadWordList(Write("bad.txt", list));
  EXPECT_EQ(read.words.size(), 2u);
  ASSERT_EQ(read.warnings.size(), 2u);
  EXPECT_NE(read.warnings[0].find(":2: "), std::string::npos) << read.warnings[0];
  EXPECT_NE(read.warnings[1].find(":3: "), std::string::npos) << read.warnings[1];
  EXPECT_THROW(ReadWordList((dir_ / "missing.txt").string()), DictionaryCompileError);
}

TEST_F(CompilerFiles, GivesTheSameBytesForTheSameWords) {
  std::vector<std::string> words;
  std::mt19937 rng(1);
  for (int i = 0; i < 3000; ++i) {
    std::string w;
    for (int n = 3 + static_cast<int>(rng() % 8); n > 0; --n) w.push_back(static_cast<char>('a' + rng() % 12));
    words.push_back(w);
  }
  const std::string first = CompileMainDictionary(words, "T", 0).bytes;
  std::shuffle(words.begin(), words.end(), rng);
  words.push_back(words.front());
  EXPECT_EQ(CompileMainDictionary(words, "T", 0).bytes, first);
}

TEST_F(CompilerFiles, SharesEqualSubtreesAndPacksChains) {
  struct Case {
    std::vector<std::string> words;
    uint32_t nodes;
    const char* why;
  };
  const std::vector<Case> cases = {
      // root, a, b+8, k+8, t+5, z: the final letter needs its own node.
      {{"abcdefghijklmnopqrstuvwxyz"}, 6, "chains packed in groups of up to 8"},
      {{"hamba", "lamba"}, 5, "root, h, l, then a+\"mb\" and a shared by both"},
      {{"ab", "cb", "db"}, 5, "root, a, c, d, shared b"},
  };
  for (const Case& c : cases) {
    const std::string path = Write("shape.oxm", CompileMainDictionary(c.words, "", 0).bytes);
    TMainDictionary dict;
    ASSERT_TRUE(dict.Open(path));
    EXPECT_EQ(dict.NodeCount(), c.nodes) << c.why;
    for (const auto& w : c.words) EXPECT_TRUE(dict.Lookup(w)) << w;
  }
}

TEST_F(CompilerFiles, WritesTheHeaderFields) {
  const std::string bytes = CompileMainDictionary({"umuntu", "abantu"}, "Ndebele \x80", 1234).bytes;
  EXPECT_EQ(bytes.substr(0, 123), kMainDictionaryBanner);
  EXPECT_TRUE(bytes.starts_with("Orthex Dictionary Compiler, Version 4.0\r\n"));
  EXPECT_EQ(bytes.substr(119, 4), "\r\n\r\n");
  EXPECT_EQ(bytes[1024], 9) << "title length in UTF-16 units";
  EXPECT_EQ(bytes.substr(1025, 4), std::string("N\0d\0", 4));
  EXPECT_EQ(bytes.substr(1041, 4), std::string("\xAC\x20\0\0", 4)) << "the euro sign, then the zero unit";
  TMainDictionary dict;
  const std::string path = Write("header.oxm", bytes);
  ASSERT_TRUE(dict.Open(path));
  EXPECT_EQ(dict.Title(), "Ndebele \x80");
  EXPECT_EQ(dict.Language(), 1234);
  EXPECT_EQ(dict.WordCount(), 2u);
}

TEST(Encoding, RoundTripsEveryWindows1252Byte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::string utf8 = Windows1252ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToWindows1252(utf8), all);
  EXPECT_EQ(Utf16ToWindows1252(Windows1252ToUtf16(all)), all);
  struct Case {
    std::string utf8;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"abc", true},         {"\xC3\xA9", true},       {"\xC3", false},      {"\xC0\x80", false},
      {"\xED\xA0\x80", false}, {"\xF0\x9F\x98\x80", true}, {"\xE2\x82", false}, {"\x80", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.utf8), c.valid) << ::testing::PrintToString(c.utf8);
  EXPECT_FALSE(Utf8ToWindows1252("\xE4\xB8\xAD").has_value()) << "beyond the code page";
}

}  // namespace
}  // namespace tovuri
