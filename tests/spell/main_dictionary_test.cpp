#include "spell/ox3MainDictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "temp_folder.h"

#include "spell/ox3DictionaryCompiler.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

using testing::TempDir;

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The file image as older compilers wrote it, without the checksum that
// would refuse any change the tests make on purpose.
std::string WithoutChecksum(std::string bytes) {
  std::fill_n(bytes.begin() + kMainChecksumOffset, kMainChecksumSize, '\0');
  return bytes;
}

uint32_t LE32At(const std::string& bytes, std::size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

// Offset of the end of the node area (D9) in a file image.
std::size_t NodeAreaEnd(const std::string& bytes) {
  const std::size_t n = static_cast<uint8_t>(bytes[1024]);
  std::size_t at = 1075 + 2 * n;
  for (int g = 0; g < 9; ++g) at += std::size_t{LE32At(bytes, 1039 + 2 * n + 4 * g)} * (4 + g);
  return at;
}

// The first bytes of every child index list that a node record with two to
// seven children points to: with the wide encoding, bit 7 set marks a
// 2-byte index and clear a 3-byte one.
std::vector<uint8_t> ListLeadBytes(const std::string& bytes) {
  const std::size_t n = static_cast<uint8_t>(bytes[1024]);
  std::size_t at = 1075 + 2 * n;
  const std::size_t linkage = NodeAreaEnd(bytes) + 4;
  std::vector<uint8_t> leads;
  for (int g = 0; g < 9; ++g) {
    const uint32_t count = LE32At(bytes, 1039 + 2 * n + 4 * g);
    for (uint32_t r = 0; r < count; ++r, at += 4 + g) {
      const uint32_t w = LE32At(bytes, at);
      const uint32_t children = (w >> 28) & 7;
      if (children >= 2) {
        const uint32_t link = (w >> 8) & 0xFFFFF;
        for (uint32_t k = 0, pos = link; k < children; ++k) {
          const auto lead = static_cast<uint8_t>(bytes[linkage + pos]);
          leads.push_back(lead);
          pos += (lead & 0x80) ? 2 : 3;
        }
      }
    }
  }
  return leads;
}

std::vector<std::string> AllWords(const TMainDictionary& dict, std::string_view prefix = "") {
  std::vector<std::string> words;
  dict.EnumeratePrefix(prefix, [&](std::string_view w) {
    words.emplace_back(w);
    return false;
  });
  return words;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string out;
  for (const auto& w : words) out += w + " ";
  return out;
}

// Deterministic pseudo-random words over a small alphabet.
std::vector<std::string> GeneratedWords(std::size_t count, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> length(3, 12);
  std::uniform_int_distribution<int> letter(0, 19);
  std::vector<std::string> words;
  while (words.size() < count) {
    std::string w;
    for (int n = length(rng); n > 0; --n) w.push_back(static_cast<char>('a' + letter(rng)));
    words.push_back(w);
  }
  return words;
}

class MainDictionaryFile : public ::testing::Test {
 protected:
  std::string Compile(const std::vector<std::string>& words, const std::string& name = "test.oxm") {
    const std::string path = dir_.File(name);
    WriteAll(path, CompileMainDictionary(words, "Test", 1033).bytes);
    return path;
  }
  TempDir dir_;
};

TEST_F(MainDictionaryFile, LooksUpExactBytes) {
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(Compile({"umuntu", "abantu", "hamba", "hambani", "Bulawayo", "ukuhambisana",
                                 "a", "i", "\xDC"
                                           "bung"})));
  struct Case {
    std::string word;
    bool found;
  };
  const std::vector<Case> cases = {
      {"umuntu", true},   {"abantu", true},   {"hamba", true},    {"hambani", true},
      {"ham", false},     {"hamb", false},    {"hamban", false},  {"hambanii", false},
      {"Umuntu", false},  {"UMUNTU", false},  {"Bulawayo", true}, {"bulawayo", false},
      {"ukuhambisana", true}, {"ukuhambisan", false}, {"ukuhambisanaa", false},
      {"ukuhambis", false}, {"a", true},      {"i", true},        {"u", false},
      {"", false},        {"\xDC" "bung", true}, {"\xFC" "bung", false}, {"zzz", false},
  };
  for (const Case& c : cases) EXPECT_EQ(dict.Lookup(c.word), c.found) << '"' << c.word << '"';
  EXPECT_EQ(dict.WordCount(), 9u);
  EXPECT_EQ(dict.Title(), "Test");
  EXPECT_EQ(dict.Language(), 1033);
}

TEST_F(MainDictionaryFile, FindsOneLetterWordsThroughTheRootTable) {
  const std::string path = Compile({"a", "ab", "i", "ikhaya"});
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(path));
  EXPECT_TRUE(dict.Lookup("a"));
  EXPECT_TRUE(dict.Lookup("i"));
  EXPECT_FALSE(dict.Lookup("b"));
  dict.SetActive(false);

  // Clearing the word flag of "a" in the root table hides the word, while
  // the words below it stay: the root table alone answers for one letter.
  std::ifstream in(path, std::ios::binary);
  std::string bytes = WithoutChecksum(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
  in.close();
  const std::size_t end = NodeAreaEnd(bytes);
  const std::size_t root = end + 4 + LE32At(bytes, end);
  ASSERT_NE(bytes[root + 8 * 'a'], 0);
  bytes[root + 8 * 'a'] = 0;
  WriteAll(path, bytes);
  TMainDictionary patched;
  ASSERT_TRUE(patched.Open(path));
  EXPECT_FALSE(patched.Lookup("a"));
  EXPECT_TRUE(patched.Lookup("ab"));
  EXPECT_TRUE(patched.Lookup("i"));
}

TEST_F(MainDictionaryFile, RefusesAFileOfExactly1024Bytes) {
  std::string bytes(1024, '\0');
  std::copy(kMainDictionaryBanner.begin(), kMainDictionaryBanner.end(), bytes.begin());
  const std::string path = dir_.File("short.oxm");
  WriteAll(path, bytes);
  TMainDictionary dict;
  EXPECT_FALSE(dict.Open(path));
  EXPECT_EQ(dict.Filename(), "");
  EXPECT_FALSE(dict.Lookup("a"));
}

TEST_F(MainDictionaryFile, RefusesABannerThatDiffersInOneByte) {
  const std::string good_path = Compile({"umuntu", "abantu"});
  std::ifstream in(good_path, std::ios::binary);
  const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (std::size_t at : {0, 10, 40, 41, 100, 119, 122}) {
    std::string bad = good;
    bad[at] ^= 0x20;
    const std::string path = dir_.File("banner.oxm");
    WriteAll(path, bad);
    TMainDictionary dict;
    EXPECT_FALSE(dict.Open(path)) << "byte " << at;
    EXPECT_FALSE(dict.Lookup("umuntu")) << "byte " << at;
  }
  std::string tail_changed = WithoutChecksum(good);
  tail_changed[123] = 'x';  // without a checksum, the rest of the banner block is not read
  WriteAll(dir_.File("tail.oxm"), tail_changed);
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(dir_.File("tail.oxm")));
  EXPECT_TRUE(dict.Lookup("umuntu"));
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every byte of a compiled file is under its checksum: with a bit of any
// byte flipped (each bit of the checksum's own bytes) the file is refused as
// damaged (a flip in the banner text, as not a main dictionary at all), and
// nothing is looked up in it.
TEST_F(MainDictionaryFile, RefusesAFileWithABitOfAnyByteFlipped) {
  const std::string good = ReadAll(Compile({"umuntu", "abantu", "hamba", "hambani", "a"}));
  const std::string path = dir_.File("flipped.oxm");
  std::vector<std::size_t> bits;
  for (std::size_t at = 0; at < good.size(); ++at) {
    const bool record = at >= kMainChecksumOffset && at < kMainChecksumOffset + kMainChecksumSize;
    for (std::size_t bit = 0; bit < 8; ++bit)
      if (record || bit == at % 8) bits.push_back(8 * at + bit);
  }
  std::vector<std::size_t> used;  // flipped bits whose file was opened
  std::vector<std::size_t> unexplained;
  for (const std::size_t bit : bits) {
    std::string bad = good;
    bad[bit / 8] = static_cast<char>(bad[bit / 8] ^ (1 << (bit % 8)));
    WriteAll(path, bad);
    TMainDictionary dict;
    if (dict.Open(path)) used.push_back(bit);
    else if (bit / 8 >= kMainDictionaryBanner.size() && (!dict.Damaged() || dict.Problem().empty()))
      unexplained.push_back(bit);
  }
  EXPECT_TRUE(used.empty()) << used.size() << " flipped bits were not noticed, the first at bit " << used.front();
  EXPECT_TRUE(unexplained.empty()) << unexplained.size() << " refusals did not say the file is damaged";
}

// Older files and other compilers' files have no checksum: they are read as
// they always were, whatever their banner block holds after the banner.
TEST_F(MainDictionaryFile, ReadsFilesWithoutAChecksumAsBefore) {
  const std::string good = ReadAll(Compile({"umuntu", "abantu"}));
  std::string spaces = good;
  std::fill_n(spaces.begin() + kMainChecksumOffset, kMainChecksumSize, ' ');
  std::string other_mark = good;
  other_mark.replace(kMainChecksumOffset, 8, "checksum");
  for (const auto& [what, bytes] : {std::pair{"zeros", WithoutChecksum(good)}, std::pair{"spaces", spaces},
                                    std::pair{"another tool's mark", other_mark}}) {
    const std::string path = dir_.File("older.oxm");
    WriteAll(path, bytes);
    TMainDictionary dict;
    ASSERT_TRUE(dict.Open(path)) << what << ": " << dict.Problem();
    EXPECT_TRUE(dict.Lookup("umuntu")) << what;
    EXPECT_FALSE(dict.Lookup("umunt")) << what;
    EXPECT_EQ(dict.Problem(), "") << what;
  }
}

TEST_F(MainDictionaryFile, RefusesAFileWithAChecksumCutShortOrLengthened) {
  const std::string good = ReadAll(Compile({"umuntu", "abantu"}));
  struct Case {
    std::string bytes;
    std::string said;
  };
  const std::vector<Case> cases = {
      {good.substr(0, good.size() - 1), "it is cut short: " + std::to_string(good.size() - 1) + " of its " +
                                            std::to_string(good.size()) + " bytes are left"},
      {good.substr(0, 2000), "it is cut short: 2000 of its"},
      {good + '\n', " bytes where " + std::to_string(good.size()) + " were written"},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File("cut.oxm");
    WriteAll(path, c.bytes);
    TMainDictionary dict;
    EXPECT_FALSE(dict.Open(path)) << c.said;
    EXPECT_TRUE(dict.Damaged()) << c.said;
    EXPECT_NE(dict.Problem().find(c.said), std::string::npos) << dict.Problem();
    EXPECT_EQ(dict.Filename(), "");
  }
}

// A file is read whole once when opened; mapping it again reads it again
// only when it changed, and a damaged replacement is then refused.
TEST_F(MainDictionaryFile, ChecksAFileReplacedSinceItWasOpened) {
  const std::string path = Compile({"umuntu", "abantu"});
  std::string bad = ReadAll(path);
  bad[bad.size() - 2000] ^= 0x10;
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(path));
  ASSERT_TRUE(dict.SetActive(true));
  dict.SetActive(false);
  WriteAll(dir_.File("replacement.oxm"), bad);
  fs::rename(dir_.File("replacement.oxm"), path);
  EXPECT_FALSE(dict.SetActive(true));
  EXPECT_FALSE(dict.Lookup("umuntu"));
  EXPECT_TRUE(dict.Damaged());
  EXPECT_EQ(dict.Problem(), "its checksum does not match its contents");
}

// The shipped dictionary: sixty bits flipped one at a time, each refused.
TEST(ShippedMainDictionary, RefusesEachOfSixtyFlippedBits) {
  const std::string shipped = std::string(TOVURI_BIN_DIR) + "/Ndebele.oxm";
  if (!fs::exists(shipped)) GTEST_SKIP() << "Ndebele.oxm is not built";
  const std::string good = ReadAll(shipped);
  TempDir dir;
  const std::string path = dir.File("Ndebele.oxm");
  std::mt19937 rng(60);
  for (int i = 0; i < 60; ++i) {
    const std::size_t bit = rng() % (good.size() * 8);
    std::string bad = good;
    bad[bit / 8] = static_cast<char>(bad[bit / 8] ^ (1 << (bit % 8)));
    WriteAll(path, bad);
    TMainDictionary dict;
    EXPECT_FALSE(dict.Open(path) && dict.SetActive(true)) << "bit " << bit;
  }
  TMainDictionary sound;
  EXPECT_TRUE(sound.Open(shipped) && sound.SetActive(true)) << sound.Problem();
}

TEST_F(MainDictionaryFile, CannotActivateATruncatedFile) {
  const std::string good_path = Compile({"umuntu", "abantu", "abantwana", "x"});
  std::ifstream in(good_path, std::ios::binary);
  const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t end = NodeAreaEnd(good);
  struct Case {
    const char* what;
    std::size_t size;
  };
  const std::vector<Case> cases = {
      {"cut after the node area", end},
      {"cut inside the linkage size", end + 2},
      {"cut after the linkage size", end + 4},
      {"cut inside the root table", end + 4 + LE32At(good, end) + 100},
      {"one byte short of the trailer", good.size() - 1},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File("cut.oxm");
    WriteAll(path, good.substr(0, c.size));
    TMainDictionary dict;
    dict.Open(path);
    EXPECT_FALSE(dict.SetActive(true)) << c.what;
    EXPECT_FALSE(dict.Active()) << c.what;
    EXPECT_FALSE(dict.Lookup("umuntu")) << c.what;
    EXPECT_FALSE(dict.Lookup("x")) << c.what;
    EXPECT_TRUE(AllWords(dict).empty()) << c.what;
  }
}

TEST_F(MainDictionaryFile, SurvivesLinksThatPointOutsideTheFile) {
  // Every child index and linkage offset in the node area is replaced by
  // garbage; lookups and walks must neither crash nor run away.
  const auto words = GeneratedWords(300, 7);
  const std::string good_path = Compile(words);
  std::ifstream in(good_path, std::ios::binary);
  const std::string good = WithoutChecksum(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
  const std::size_t start = 1075 + 2 * static_cast<uint8_t>(good[1024]);
  const std::size_t end = NodeAreaEnd(good);
  std::mt19937 rng(3);
  for (int round = 0; round < 20; ++round) {
    std::string bad = good;
    for (std::size_t at = start; at < end + 4 + LE32At(good, end); ++at)
      if (rng() % 4 == 0) bad[at] = static_cast<char>(rng());
    const std::string path = dir_.File("garbage.oxm");
    WriteAll(path, bad);
    TMainDictionary dict;
    ASSERT_TRUE(dict.Open(path));
    for (const auto& w : words) dict.Lookup(w);
    std::size_t visited = 0;
    dict.EnumeratePrefix("", [&](std::string_view) { return ++visited > 100000; });
  }
}

TEST_F(MainDictionaryFile, UsesBothIndexWidthsInLargeGraphs) {
  const auto words = GeneratedWords(100000, 11);
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(Compile(words)));
  ASSERT_GE(dict.NodeCount(), 65535u) << "the graph must need the wide child indexes";
  {
    std::ifstream in(dict.Filename(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto leads = ListLeadBytes(bytes);
    const auto two = std::count_if(leads.begin(), leads.end(), [](uint8_t b) { return b & 0x80; });
    EXPECT_GT(two, 0) << "indexes below 32768 take 2 bytes";
    EXPECT_GT(static_cast<long>(leads.size()) - two, 0) << "larger indexes take 3 bytes";
  }
  std::size_t missing = 0;
  for (const auto& w : words) missing += !dict.Lookup(w);
  EXPECT_EQ(missing, 0u);
  const std::set<std::string> stored(words.begin(), words.end());
  std::size_t false_hits = 0;
  for (const auto& w : GeneratedWords(20000, 12)) false_hits += !stored.count(w) && dict.Lookup(w);
  EXPECT_EQ(false_hits, 0u);
  EXPECT_EQ(AllWords(dict), std::vector<std::string>(stored.begin(), stored.end()));

  // A small graph uses the 2-byte little-endian form and reads the same.
  TMainDictionary small;
  ASSERT_TRUE(small.Open(Compile({words.begin(), words.begin() + 500}, "small.oxm")));
  ASSERT_LT(small.NodeCount(), 65535u);
  for (std::size_t i = 0; i < 500; ++i) EXPECT_TRUE(small.Lookup(words[i])) << words[i];
}

TEST_F(MainDictionaryFile, EnumeratesPrefixesWithSkips) {
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(Compile({"aba", "abab", "ababa", "abac", "abd", "abdomen", "b", "ukuhambisana",
                                 "ukuhambisa"})));
  struct Case {
    std::string prefix;
    std::string skip_at;  // the visitor answers true for this word
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"", "", "aba abab ababa abac abd abdomen b ukuhambisa ukuhambisana "},
      {"ab", "", "aba abab ababa abac abd abdomen "},
      {"ab", "aba", "aba abd abdomen "},
      {"ab", "abab", "aba abab abac abd abdomen "},
      {"aba", "", "aba abab ababa abac "},
      {"abd", "abd", "abd "},
      {"b", "", "b "},
      {"c", "", ""},
      {"abx", "", ""},
      {"ukuh", "", "ukuhambisa ukuhambisana "},  // ends inside a packed chain
      {"ukuhamb", "", "ukuhambisa ukuhambisana "},
      {"ukuhambisan", "", "ukuhambisana "},
      {"ukuhx", "", ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> seen;
    dict.EnumeratePrefix(c.prefix, [&](std::string_view w) {
      seen.emplace_back(w);
      return w == c.skip_at;
    });
    EXPECT_EQ(Joined(seen), c.expected) << "prefix \"" << c.prefix << "\" skipping at " << c.skip_at;
  }
}

// Codes words by their consonants after the first two letters.
class ConsonantCode : public PhoneticEncoder {
 public:
  std::string Encode(std::string_view word) const override {
    std::string code(word.substr(0, 2));
    for (char c : word.substr(std::min<std::size_t>(2, word.size())))
      if (std::string_view("aeiou").find(c) == std::string_view::npos) code.push_back(c);
    return code;
  }
  int PhoneticDepth() const override { return 2; }
};

TEST_F(MainDictionaryFile, FindsWordsThatSoundAlike) {
  std::vector<std::string> words = {"hamba", "hambo", "hombe", "hmb", "hambani", "hamb", "hambe"};
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(Compile(words)));
  const ConsonantCode code;
  std::vector<std::string> results = {"hambe"};
  dict.EnumeratePhonetic("hamba", code, results);
  EXPECT_EQ(Joined(results), "hambe hamb hamba hambo ") << "held words are not added twice";

  std::vector<std::string> none;
  dict.EnumeratePhonetic("h", code, none);
  EXPECT_TRUE(none.empty()) << "a one-character code starts no search";
}

TEST_F(MainDictionaryFile, StopsThePhoneticListAtAbout500Words) {
  std::vector<std::string> words;
  for (int i = 0; i < 2000; ++i) {
    std::string w = "ka";
    for (int n = i; n > 0; n /= 5) w.push_back("aeiou"[n % 5]);
    words.push_back(w + "t");
  }
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(Compile(words)));
  const ConsonantCode code;
  std::vector<std::string> results;
  dict.EnumeratePhonetic("kat", code, results);
  EXPECT_EQ(results.size(), 501u);
}

// Every word, every prefix of it and every edit of one letter (deleted,
// replaced, inserted, case changed) of the first `sampled` words.
std::vector<std::string> WordsAndNeighbours(const std::vector<std::string>& words, std::size_t sampled) {
  const std::string letters = "abcdefghijklmnopqrstuvA\xE9";
  std::vector<std::string> out(words.begin(), words.end());
  for (std::size_t n = 0; n < std::min(sampled, words.size()); ++n) {
    const std::string& w = words[n];
    for (std::size_t i = 0; i <= w.size(); ++i) {
      out.push_back(w.substr(0, i));
      if (i < w.size()) out.push_back(w.substr(0, i) + w.substr(i + 1));
      for (char c : letters) {
        out.push_back(w.substr(0, i) + c + w.substr(i));
        if (i < w.size()) out.push_back(w.substr(0, i) + c + w.substr(i + 1));
      }
    }
  }
  return out;
}

// Lookup answers from an index built at activation; it must answer exactly
// as the walk over the file's records, and as the word list itself.
TEST_F(MainDictionaryFile, IndexedLookupAgreesWithTheFileWalk) {
  struct Case {
    std::size_t words;
    uint32_t seed;
    bool wide;  // the graph needs the 2- or 3-byte child indexes
    std::size_t sampled;
  };
  const std::vector<Case> cases = {{40, 21, false, 40}, {3000, 22, false, 600}, {100000, 23, true, 300}};
  for (const Case& c : cases) {
    auto words = GeneratedWords(c.words, c.seed);
    // Words longer than the index's padded copy take another path; put some first.
    for (std::size_t n = 0; n < 20; ++n) words.insert(words.begin(), words[n] + std::string(40 + 3 * n, 'a' + n % 7) + words[n + 1]);
    const std::set<std::string> stored(words.begin(), words.end());
    TMainDictionary dict;
    ASSERT_TRUE(dict.Open(Compile(words, "agree.oxm")));
    EXPECT_EQ(dict.NodeCount() >= kMainWideIndexNodes, c.wide) << c.words << " words";
    const auto queries = WordsAndNeighbours(words, c.sampled);
    // The first few thousand lookups walk the file and then build the index.
    for (int pass = 0; pass < 2; ++pass) {
      std::vector<std::string> wrong;
      for (const std::string& q : queries) {
        const bool expected = stored.count(q) != 0;
        if (dict.Lookup(q) != expected || dict.LookupInFile(q) != expected) wrong.push_back(q);
      }
      wrong.resize(std::min<std::size_t>(wrong.size(), 10));
      EXPECT_TRUE(wrong.empty()) << c.words << " words, pass " << pass << ", answered wrongly: " << Joined(wrong);
      EXPECT_GT(dict.LookupIndexBytes(), 0u) << c.words << " words";
    }
    // A list that shares little is looked up in a word table, which may take
    // the file's size plus twice the records' (about 1.1 times the file).
    EXPECT_LE(dict.LookupIndexBytes(), 4 * fs::file_size(dict.Filename()) + 4096) << c.words << " words";
  }
}

// Lists that share much keep the graph's records for lookups, and a word
// longer than the word table holds keeps them too: every shape answers as
// the walk over the file and as the list itself.
TEST_F(MainDictionaryFile, LookupAgreesWithTheFileWalkWhateverTheListShares) {
  std::vector<std::string> shared;
  for (const char* head : {"uku", "aba", "ama", "isi", "izi", "ngi", "si", "ba", "li", "zi"})
    for (const std::string& stem : GeneratedWords(400, 51))
      for (const char* end : {"a", "ile", "ana", "isa", "ela", "wa", "eka", "ini"})
        shared.push_back(head + stem + end);
  std::vector<std::string> with_long = GeneratedWords(5000, 52);
  with_long.push_back(std::string(300, 'k') + "a");
  with_long.push_back(std::string(256, 'b'));
  with_long.push_back(std::string(255, 'c'));
  for (const auto* words : {&shared, &with_long}) {
    const std::set<std::string> stored(words->begin(), words->end());
    TMainDictionary dict;
    ASSERT_TRUE(dict.Open(Compile(*words, "shapes.oxm")));
    std::vector<std::string> queries = WordsAndNeighbours(*words, 400);
    queries.insert(queries.end(), words->end() - 3, words->end());
    queries.push_back(std::string(255, 'b'));
    queries.push_back(std::string(257, 'b'));
    for (int pass = 0; pass < 2; ++pass) {
      std::vector<std::string> wrong;
      for (const std::string& q : queries) {
        const bool expected = stored.count(q) != 0;
        if (dict.Lookup(q) != expected || dict.LookupInFile(q) != expected) wrong.push_back(q.substr(0, 40));
      }
      wrong.resize(std::min<std::size_t>(wrong.size(), 10));
      EXPECT_TRUE(wrong.empty()) << words->size() << " words, pass " << pass << ", answered wrongly: " << Joined(wrong);
    }
    EXPECT_GT(dict.LookupIndexBytes(), 0u);
  }
}

// A damaged file's graph has lists with repeated characters, indexes past
// the last node and links into the middle of lists; the index must keep
// the walk's answers (the first matching child wins) and its memory bound.
TEST_F(MainDictionaryFile, IndexedLookupAgreesOnDamagedFiles) {
  for (const bool large : {false, true}) {
    const auto words = GeneratedWords(large ? 70000 : 300, 31);
    const std::string good_path = Compile(words, "good.oxm");
    std::ifstream in(good_path, std::ios::binary);
    const std::string good = WithoutChecksum(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    const std::size_t start = 1075 + 2 * static_cast<uint8_t>(good[1024]);
    const std::size_t end = NodeAreaEnd(good);
    const std::size_t linkage_end = end + 4 + LE32At(good, end);
    std::mt19937 rng(large ? 41 : 42);
    const int rounds = large ? 3 : 30;
    for (int round = 0; round < rounds; ++round) {
      std::string bad = good;
      // Few changes keep most of the graph reachable, so the answers vary.
      for (int changes = large ? 2000 : 8; changes > 0; --changes) {
        const std::size_t at = start + rng() % (linkage_end - start);
        bad[at] = static_cast<char>(rng());
      }
      const std::string path = dir_.File("damaged.oxm");
      WriteAll(path, bad);
      TMainDictionary dict;
      ASSERT_TRUE(dict.Open(path));
      const auto queries = WordsAndNeighbours(words, large ? 200 : 300);
      for (const std::string& q : queries) dict.Lookup(q);  // builds the index
      EXPECT_LE(dict.LookupIndexBytes(), 4 * bad.size() + (1u << 20) + 4096);
      std::size_t differ = 0, found = 0;
      std::string example;
      for (const std::string& q : queries) {
        const bool indexed = dict.Lookup(q);
        found += indexed;
        if (indexed != dict.LookupInFile(q) && differ++ == 0) example = q;
      }
      EXPECT_EQ(differ, 0u) << "round " << round << ", e.g. \"" << example << '"';
      // Most damage is caught when the file is mapped, and then nothing is found.
      EXPECT_TRUE(found > 0 || !dict.Active()) << "round " << round;
    }
  }
}

// Zeroing any one byte of the node records leaves a file that is either
// refused whole or lists no word with a NUL byte in it (a word that no
// lookup can find).
TEST_F(MainDictionaryFile, DamagedFileNeverListsWordsWithNulBytes) {
  const auto words = GeneratedWords(200, 17);
  const std::string good_path = Compile(words, "good.oxm");
  std::ifstream in(good_path, std::ios::binary);
  const std::string good = WithoutChecksum(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
  const std::size_t start = 1075 + 2 * static_cast<uint8_t>(good[1024]);
  const std::size_t end = NodeAreaEnd(good);
  int refused = 0;
  for (std::size_t at = start; at < end; ++at) {
    if (good[at] == 0) continue;
    std::string bad = good;
    bad[at] = 0;
    const std::string path = dir_.File("damaged.oxm");
    WriteAll(path, bad);
    TMainDictionary dict;
    ASSERT_TRUE(dict.Open(path));
    if (!dict.SetActive(true)) {
      ++refused;
      continue;
    }
    dict.EnumeratePrefix("", [&](std::string_view word) {
      EXPECT_EQ(word.find('\0'), std::string_view::npos) << "byte " << at;
      return false;
    });
  }
  EXPECT_GT(refused, 0);
}

// A file found by fuzzing: 66 records whose links loop, under a header that
// counts four billion words. Listing its words ran for hours; no sound graph
// loops, so it lists nothing, and a sound one lists every word.
TEST_F(MainDictionaryFile, AGraphWhoseLinksLoopListsNothing) {
  TMainDictionary looping;
  ASSERT_TRUE(looping.Open(TOVURI_TEST_DATA_DIR "/fuzz/looping_word_graph.oxm"));
  int listed = 0;
  looping.EnumeratePrefix("", [&](std::string_view) { return ++listed, false; });
  looping.EnumeratePrefix("a", [&](std::string_view) { return ++listed, false; });
  EXPECT_EQ(listed, 0);

  const auto words = GeneratedWords(3000, 7);
  TMainDictionary sound;
  ASSERT_TRUE(sound.Open(Compile(words)));
  std::set<std::string> seen;
  sound.EnumeratePrefix("", [&](std::string_view word) { return seen.emplace(word), false; });
  EXPECT_EQ(seen, std::set<std::string>(words.begin(), words.end()));
}

TEST_F(MainDictionaryFile, ThreadsWalkingAtOnceShareTheFirstWalksCount) {
  const auto words = GeneratedWords(2000, 9);
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(Compile(words)));
  std::vector<std::thread> threads;
  std::vector<std::size_t> listed(4, 0);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] { dict.EnumeratePrefix("", [&](std::string_view) { return ++listed[t], false; }); });
  for (auto& th : threads) th.join();
  const std::size_t distinct = std::set<std::string>(words.begin(), words.end()).size();
  for (std::size_t count : listed) EXPECT_EQ(count, distinct);
}

TEST_F(MainDictionaryFile, AnswersFromSeveralThreadsWhileActivating) {
  const auto words = GeneratedWords(2000, 5);
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(Compile(words)));
  std::vector<std::thread> threads;
  std::vector<int> misses(4, 0);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (const auto& w : words) misses[t] += !dict.Lookup(w);
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(misses, std::vector<int>(4, 0));
  EXPECT_GT(dict.LookupIndexBytes(), 0u) << "one of the threads builds the lookup index meanwhile";
}

TEST_F(MainDictionaryFile, OpenResetsHitsAndKeepsTheActiveState) {
  TMainDictionary dict;
  ASSERT_TRUE(dict.Open(Compile({"umuntu"})));
  ASSERT_TRUE(dict.SetActive(true));
  dict.CountHit();
  dict.CountHit();
  EXPECT_EQ(dict.HitCount(), 2u);
  const std::string other = Compile({"abantu"}, "other.oxm");
  ASSERT_TRUE(dict.Open(other));
  EXPECT_EQ(dict.HitCount(), 0u);
  EXPECT_TRUE(dict.Active());
  EXPECT_TRUE(dict.Lookup("abantu"));
  EXPECT_FALSE(dict.Lookup("umuntu"));
  EXPECT_EQ(dict.Filename(), other);

  EXPECT_FALSE(dict.Open(dir_.File("missing.oxm")));
  EXPECT_EQ(dict.Filename(), other) << "a failed open changes nothing";
  EXPECT_TRUE(dict.Lookup("abantu"));
}

}  // namespace
}  // namespace tovuri
