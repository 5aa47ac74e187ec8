#include "spell/ox3CustomDictionary.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

using testing::TempDir;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

uint32_t LE32At(const std::string& bytes, std::size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

void PutLE32At(std::string& bytes, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
}

std::size_t Occurrences(const std::string& haystack, const std::string& needle) {
  std::size_t n = 0;
  for (auto at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++n;
  return n;
}

TEST(CustomDictionary, HashFollowsSigned32BitArithmetic) {
  // Values from an independent model of the arithmetic (arbitrary-precision
  // integers reduced to 32 bits after each product).
  struct Case {
    std::string word;
    int32_t size;
    int32_t hash;
  };
  const std::vector<Case> cases = {
      {"a", 251, 97},
      {"umuntu", 251, 131},
      {"umuntu", 509, 309},
      {"umuntu", 65521, 9525},
      {"umuntu", 2147483647, 1050249544},
      {"abantwana", 2147483647, 41158329},
      {"ukuhambisana", 251, 10},
      {"ukuhambisana", 65521, 64044},
      {"\xDC"
       "bung",
       509, 504},
      {"\xDC"
       "bung",
       2147483647, 992296326},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CustomDictionaryHash(c.word, c.size), c.hash) << c.word << " in " << c.size << " slots";
}

TEST(CustomDictionary, GrowsTableAtQuarterLoad) {
  TCustomDictionary dict;
  EXPECT_EQ(dict.TableSize(), 0u);
  struct Step {
    int entries;
    uint32_t slots;
  };
  const std::vector<Step> steps = {{1, 251}, {62, 251}, {63, 509}, {127, 509}, {128, 1021}, {256, 2039}};
  int added = 0;
  for (const Step& step : steps) {
    while (added < step.entries) ASSERT_TRUE(dict.AddWord("word" + std::to_string(added++)));
    EXPECT_EQ(dict.TableSize(), step.slots) << "after " << step.entries << " entries";
  }
  for (int i = 0; i < added; ++i) EXPECT_TRUE(dict.Contains("word" + std::to_string(i))) << i;
  EXPECT_EQ(dict.EntryCount(), 256u);
}

TEST(CustomDictionary, KeepsOneEntryPerWord) {
  TCustomDictionary dict;
  ASSERT_TRUE(dict.AddWord("indoda"));
  EXPECT_FALSE(dict.AddExcluded("indoda")) << "added, then excluded";
  EXPECT_FALSE(dict.AddAutoCorrect("indoda", "amadoda"));
  EXPECT_FALSE(dict.AddWord("indoda"));
  EXPECT_FALSE(dict.RemoveExcluded("indoda")) << "removal of the wrong kind";
  EXPECT_TRUE(dict.Contains("indoda"));
  ASSERT_TRUE(dict.RemoveWord("indoda"));
  EXPECT_TRUE(dict.AddExcluded("indoda")) << "removed, then excluded";
  EXPECT_TRUE(dict.IsExcluded("indoda"));
  EXPECT_FALSE(dict.Contains("indoda"));
  EXPECT_EQ(dict.AddedWordCount(), 0);
  EXPECT_EQ(dict.ExcludedWordCount(), 1);
}

TEST(CustomDictionary, LooksUpEachKindSeparately) {
  TCustomDictionary dict;
  ASSERT_TRUE(dict.AddWord("umuntu"));
  ASSERT_TRUE(dict.AddExcluded("umntu"));
  ASSERT_TRUE(dict.AddAutoCorrect("umnuntu", "umuntu"));
  struct Case {
    std::string word;
    bool added, excluded, autocorrect;
    std::string replacement;
  };
  const std::vector<Case> cases = {
      {"umuntu", true, false, false, ""},
      {"umntu", false, true, false, ""},
      {"umnuntu", false, false, true, "umuntu"},
      {"Umuntu", false, false, false, ""},  // exact bytes only
      {"abantu", false, false, false, ""},
      {"", false, false, false, ""},
  };
  for (const Case& c : cases) {
    std::string replacement = "unchanged";
    EXPECT_EQ(dict.Contains(c.word), c.added) << c.word;
    EXPECT_EQ(dict.IsExcluded(c.word), c.excluded) << c.word;
    EXPECT_EQ(dict.FindAutoCorrect(c.word, replacement), c.autocorrect) << c.word;
    if (c.autocorrect) {
      EXPECT_EQ(replacement, c.replacement);
    }
  }
}

TEST(CustomDictionary, RefusesEmptyOverlongAndZeroBytes) {
  TCustomDictionary dict;
  EXPECT_FALSE(dict.AddWord(""));
  EXPECT_FALSE(dict.AddWord(std::string(501, 'a')));
  EXPECT_TRUE(dict.AddWord(std::string(500, 'a')));
  EXPECT_FALSE(dict.AddAutoCorrect(std::string(250, 'b'), std::string(251, 'c')));
  EXPECT_TRUE(dict.AddAutoCorrect(std::string(250, 'b'), std::string(250, 'c')));
  EXPECT_FALSE(dict.AddWord(std::string("a\0b", 3)));
  EXPECT_EQ(dict.EntryCount(), 2u);
}

TEST(CustomDictionary, ListsEntriesInSlotOrder) {
  TCustomDictionary dict;
  const std::vector<std::string> words = {"umuntu", "abantu", "indoda", "inkomo", "ikhaya"};
  for (const auto& w : words) ASSERT_TRUE(dict.AddWord(w));
  ASSERT_TRUE(dict.AddAutoCorrect("teh", "the"));
  std::vector<std::pair<int32_t, std::string>> by_slot;
  for (const auto& w : words) by_slot.emplace_back(CustomDictionaryHash(w, 251), w);
  std::sort(by_slot.begin(), by_slot.end());
  for (std::size_t i = 1; i < by_slot.size(); ++i)
    ASSERT_NE(by_slot[i].first, by_slot[i - 1].first) << "the test needs words without collisions";
  ASSERT_EQ(dict.AddedWordCount(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(dict.AddedWordAt(i), by_slot[i].second) << "index " << i;
  EXPECT_EQ(dict.AddedWordAt(5), "");
  std::string word, replacement;
  ASSERT_TRUE(dict.AutoCorrectPairAt(0, word, replacement));
  EXPECT_EQ(word + ">" + replacement, "teh>the");
  EXPECT_FALSE(dict.AutoCorrectPairAt(1, word, replacement));
}

TEST(CustomDictionary, RemovalMarksNeverFillTheTable) {
  // Adding and removing many different words leaves the live count tiny;
  // searches must still end and the table must stay small.
  TCustomDictionary dict;
  for (int i = 0; i < 20000; ++i) {
    const std::string w = std::to_string(i) + "w";
    ASSERT_TRUE(dict.AddWord(w)) << w;
    ASSERT_TRUE(dict.RemoveWord(w)) << w;
  }
  EXPECT_FALSE(dict.Contains("missing"));
  EXPECT_EQ(dict.EntryCount(), 0u);
  EXPECT_EQ(dict.TableSize(), 251u);
}

TEST(CustomDictionary, WritesTheFileLayoutByteForByte) {
  TempDir dir;
  const std::string path = dir.File("one.oxu");
  {
    TCustomDictionary dict;
    ASSERT_TRUE(dict.Open(path));
    ASSERT_TRUE(dict.AddWord("a"));
    ASSERT_TRUE(dict.AddAutoCorrect("teh", "the"));
    ASSERT_TRUE(dict.Save());
  }
  const std::string bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 145u + 4 * 251 + 12) << "banner, counts, 251 slots, heap";
  EXPECT_EQ(bytes.substr(0, 119), kCustomDictionaryBanner);
  EXPECT_TRUE(bytes.starts_with("Orthex User Dictionary, Version 4.0\r\n"));
  EXPECT_EQ(bytes.substr(115, 4), "\r\n\r\n");
  EXPECT_EQ(bytes[119], '\0');
  EXPECT_EQ(bytes[120], '\x1A');
  EXPECT_EQ(LE32At(bytes, 121), 1u) << "added";
  EXPECT_EQ(LE32At(bytes, 125), 0u) << "excluded";
  EXPECT_EQ(LE32At(bytes, 129), 1u) << "auto-correct";
  EXPECT_EQ(LE32At(bytes, 133), 2u) << "entries";
  EXPECT_EQ(LE32At(bytes, 137), 251u) << "slots";
  EXPECT_EQ(LE32At(bytes, 141 + 4 * CustomDictionaryHash("a", 251)), 1u);
  EXPECT_EQ(LE32At(bytes, 141 + 4 * 251), 12u) << "heap length";
  EXPECT_EQ(bytes.substr(145 + 4 * 251), std::string("Ia\0Ateh\0the\0", 12));
}

TEST(CustomDictionary, KeepsDeadRecordAfterRemoveAndReAdd) {
  TempDir dir;
  const std::string path = dir.File("dead.oxu");
  {
    TCustomDictionary dict;
    ASSERT_TRUE(dict.Open(path));
    ASSERT_TRUE(dict.AddWord("isikolo"));
    ASSERT_TRUE(dict.RemoveWord("isikolo"));
    EXPECT_FALSE(dict.Contains("isikolo"));
    ASSERT_TRUE(dict.AddWord("isikolo"));
    EXPECT_TRUE(dict.Contains("isikolo"));
    ASSERT_TRUE(dict.Save());
  }
  const std::string bytes = ReadAll(path);
  EXPECT_EQ(Occurrences(bytes, std::string("Iisikolo\0", 9)), 2u) << "the dead record stays in the heap";
  TCustomDictionary reread;
  ASSERT_TRUE(reread.Open(path));
  EXPECT_TRUE(reread.Contains("isikolo"));
  EXPECT_EQ(reread.EntryCount(), 1u);
  EXPECT_EQ(reread.HeapUsed(), 18u);
}

TEST(CustomDictionary, OpensLazilyAndCreatesTheFileAtFirstSave) {
  TempDir dir;
  const std::string path = dir.File("new.oxu");
  TCustomDictionary dict;
  ASSERT_TRUE(dict.Open(path));
  EXPECT_FALSE(dict.Active());
  EXPECT_FALSE(fs::exists(path)) << "the test file that proves the place is writable is removed";
  EXPECT_FALSE(dict.Contains("umuntu"));
  EXPECT_TRUE(dict.Active()) << "a lookup loads the dictionary";
  EXPECT_TRUE(dict.Modified()) << "so that the first save creates the file";
  ASSERT_TRUE(dict.SetActive(false));
  EXPECT_TRUE(fs::exists(path));
  EXPECT_FALSE(dict.Modified());
}

TEST(CustomDictionary, RefusesPathInMissingFolder) {
  TempDir dir;
  TCustomDictionary dict;
  const std::string path = dir.File("no-such-folder/user.oxu");
  EXPECT_FALSE(TCustomDictionary::CanOpen(path));
  EXPECT_FALSE(dict.Open(path));
  EXPECT_EQ(dict.Filename(), "");
  EXPECT_TRUE(TCustomDictionary::CanOpen("")) << "an in-memory dictionary";
}

TEST(CustomDictionary, TwoObjectsOnOneFileKeepBothSets) {
  TempDir dir;
  const std::string path = dir.File("shared.oxu");
  {
    TCustomDictionary seed;
    ASSERT_TRUE(seed.Open(path));
    ASSERT_TRUE(seed.AddWord("umuntu"));
    ASSERT_TRUE(seed.Save());
  }
  TCustomDictionary first, second;
  ASSERT_TRUE(first.Open(path));
  ASSERT_TRUE(second.Open(path));
  ASSERT_TRUE(first.SetActive(true));
  ASSERT_TRUE(second.SetActive(true));
  ASSERT_TRUE(first.AddWord("abantu"));
  ASSERT_TRUE(first.AddAutoCorrect("umnutu", "umuntu"));
  ASSERT_TRUE(second.AddWord("indoda"));
  ASSERT_TRUE(second.AddExcluded("indodda"));
  ASSERT_TRUE(second.RemoveWord("umuntu"));
  // Both saves land within the same second; they must still merge.
  ASSERT_TRUE(first.Save());
  ASSERT_TRUE(second.Save());
  ASSERT_TRUE(first.AddWord("inkomo"));
  ASSERT_TRUE(first.Save()) << "a later save of the first object merges as well";

  TCustomDictionary result;
  ASSERT_TRUE(result.Open(path));
  std::string replacement;
  EXPECT_TRUE(result.Contains("abantu"));
  EXPECT_TRUE(result.Contains("indoda"));
  EXPECT_TRUE(result.Contains("inkomo"));
  EXPECT_TRUE(result.IsExcluded("indodda"));
  EXPECT_TRUE(result.FindAutoCorrect("umnutu", replacement));
  EXPECT_EQ(replacement, "umuntu");
  EXPECT_FALSE(result.Contains("umuntu")) << "the second object removed it";
  EXPECT_EQ(result.EntryCount(), 5u);
}

TEST(CustomDictionary, MergeReplaysChangesInTheOrderMade) {
  TempDir dir;
  const std::string path = dir.File("order.oxu");
  {
    TCustomDictionary seed;
    ASSERT_TRUE(seed.Open(path));
    ASSERT_TRUE(seed.AddWord("inja"));
    ASSERT_TRUE(seed.AddWord("imvu"));
    ASSERT_TRUE(seed.Save());
  }
  TCustomDictionary mine, other;
  ASSERT_TRUE(mine.Open(path));
  ASSERT_TRUE(other.Open(path));
  ASSERT_TRUE(mine.SetActive(true));
  ASSERT_TRUE(other.AddWord("imbuzi"));
  ASSERT_TRUE(other.Save());
  ASSERT_TRUE(mine.RemoveWord("inja"));
  ASSERT_TRUE(mine.AddExcluded("inja"));
  ASSERT_TRUE(mine.RemoveWord("imvu"));
  ASSERT_TRUE(mine.AddWord("imvu"));
  ASSERT_TRUE(mine.Save());

  TCustomDictionary result;
  ASSERT_TRUE(result.Open(path));
  EXPECT_TRUE(result.IsExcluded("inja")) << "removed, then excluded";
  EXPECT_TRUE(result.Contains("imvu")) << "removed, then added again";
  EXPECT_TRUE(result.Contains("imbuzi")) << "the other process's word";
}

TEST(CustomDictionary, SavesThroughATemporaryFile) {
  TempDir dir;
  const std::string path = dir.File("atomic.oxu");
  TCustomDictionary dict;
  ASSERT_TRUE(dict.Open(path));
  ASSERT_TRUE(dict.AddWord("ilanga"));
  ASSERT_TRUE(dict.Save());
  struct stat before;
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  ASSERT_TRUE(dict.AddWord("inyanga"));
  ASSERT_TRUE(dict.Save());
  struct stat after;
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_NE(before.st_ino, after.st_ino) << "a new file is renamed over the old one";
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.Path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"atomic.oxu", "atomic.oxu.lock"}))
      << "no temporary file is left behind";
}

TEST(CustomDictionary, RefusesForeignBannerByOneByte) {
  TempDir dir;
  const std::string path = dir.File("banner.oxu");
  {
    TCustomDictionary dict;
    ASSERT_TRUE(dict.Open(path));
    ASSERT_TRUE(dict.AddWord("umfula"));
    ASSERT_TRUE(dict.Save());
  }
  const std::string good = ReadAll(path);
  for (std::size_t at : {0, 7, 36, 60, 118, 119}) {
    std::string bad = good;
    bad[at] ^= 0x01;
    WriteAll(path, bad);
    TCustomDictionary dict;
    EXPECT_FALSE(TCustomDictionary::CanOpen(path)) << "byte " << at;
    EXPECT_FALSE(dict.Open(path)) << "byte " << at;
    EXPECT_EQ(ReadAll(path), bad) << "byte " << at;
  }
  std::string marker = good;
  marker[120] = 'x';
  WriteAll(path, marker);
  TCustomDictionary dict;
  ASSERT_TRUE(dict.Open(path)) << "the byte after the banner is not checked";
  EXPECT_TRUE(dict.Contains("umfula"));
}

TEST(CustomDictionary, RefusesCorruptFilesAndNeverOverwritesThem) {
  TempDir dir;
  const std::string path = dir.File("corrupt.oxu");
  {
    TCustomDictionary dict;
    ASSERT_TRUE(dict.Open(path));
    ASSERT_TRUE(dict.AddWord("umfula"));
    ASSERT_TRUE(dict.AddAutoCorrect("umflua", "umfula"));
    ASSERT_TRUE(dict.Save());
  }
  const std::string good = ReadAll(path);
  const std::size_t slots_at = 141;
  const std::size_t used_at = 141 + 4 * 251;
  const uint32_t slot = static_cast<uint32_t>(CustomDictionaryHash("umfula", 251));
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::vector<Case> cases;
  auto with = [&](std::size_t at, uint32_t v) {
    std::string b = good;
    PutLE32At(b, at, v);
    return b;
  };
  cases.push_back({"table size not a table size", with(137, 250)});
  cases.push_back({"table size beyond the file", with(137, 2147483647)});
  cases.push_back({"entry count too large", with(133, 0xFFFFFFF0u)});
  cases.push_back({"added count wrong", with(121, 7)});
  cases.push_back({"heap length beyond the file", with(used_at, 0x7FFFFFF0u)});
  cases.push_back({"slot beyond the heap", with(slots_at + 4 * slot, 5000)});
  cases.push_back({"slot at a negative position", with(slots_at + 4 * slot, 0x80000000u)});
  cases.push_back({"slot not at a record", with(slots_at + 4 * slot, 3)});
  cases.push_back({"cut inside the slots", good.substr(0, 300)});
  cases.push_back({"cut inside the heap", good.substr(0, good.size() - 3)});
  cases.push_back({"cut after the banner", good.substr(0, 121)});
  {
    std::string b = good;
    b[used_at + 4] = 'X';  // the kind byte of the first record
    cases.push_back({"unknown kind", b});
  }
  {
    std::string b = good;
    b.back() = 'x';  // the replacement loses its zero byte
    cases.push_back({"unterminated text", b});
  }
  for (const Case& c : cases) {
    WriteAll(path, c.bytes);
    {
      TCustomDictionary dict;
      dict.Open(path);
      EXPECT_FALSE(dict.SetActive(true)) << c.what;
      EXPECT_FALSE(dict.Contains("umfula")) << c.what;
      EXPECT_FALSE(dict.AddWord("umuntu")) << c.what;
      EXPECT_FALSE(dict.Modified()) << c.what;
      dict.Save();
    }
    EXPECT_EQ(ReadAll(path), c.bytes) << c.what << ": the file must stay as it was";
  }
}

TEST(CustomDictionary, ClearEmptiesWithoutMarkingModified) {
  TCustomDictionary dict;
  ASSERT_TRUE(dict.AddWord("amanzi"));
  ASSERT_TRUE(dict.AddExcluded("amanzzi"));
  dict.Clear();
  EXPECT_EQ(dict.EntryCount(), 0u);
  EXPECT_EQ(dict.TableSize(), 0u);
  EXPECT_EQ(dict.HeapUsed(), 0u);
  EXPECT_FALSE(dict.Contains("amanzi"));
  EXPECT_EQ(dict.AddedWordCount() + dict.ExcludedWordCount(), 0);
  EXPECT_TRUE(dict.AddWord("amanzi")) << "usable again";

  TempDir dir;
  TCustomDictionary saved;
  ASSERT_TRUE(saved.Open(dir.File("clear.oxu")));
  ASSERT_TRUE(saved.AddWord("amanzi"));
  ASSERT_TRUE(saved.Save());
  saved.Clear();
  EXPECT_FALSE(saved.Modified());
}

TEST(CustomDictionary, SaveAsWritesACopy) {
  TempDir dir;
  TCustomDictionary dict;
  ASSERT_TRUE(dict.AddWord("umlilo"));
  ASSERT_TRUE(dict.SaveAs(dir.File("copy.oxu")));
  TCustomDictionary copy;
  ASSERT_TRUE(copy.Open(dir.File("copy.oxu")));
  EXPECT_TRUE(copy.Contains("umlilo"));
  EXPECT_FALSE(dict.SaveAs(dir.File("missing/copy.oxu")));
}

}  // namespace
}  // namespace tovuri
