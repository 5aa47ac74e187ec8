#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spell/ox3PhoneticsMap.h"

namespace tovuri {
namespace {

constexpr int kEnglishUS = 1033;
constexpr int kRussian = 1049;
constexpr int kNdebele = 0;

// A map with one language's rules loaded.
class MapFor : public TPhoneticsMap {
 public:
  explicit MapFor(int language) { UseLanguageRules(language); }
};

struct Codes {
  std::string word;
  std::string code;
};

TEST(PhoneticsMap, EncodesEnglishWordsByTheirSounds) {
  TPhoneticsMap map;
  map.UseLanguageRules(kEnglishUS);
  const std::vector<Codes> cases = {
      {"telephone", "telfn"},  // "ph" sounds as "f"; the start depth keeps "te"
      {"telefone", "telfn"},
      {"graph", "grf"},
      {"graf", "grf"},
      {"Knight", "knt"},       // lower-cased; "gh" says nothing
      {"cheese", "chs"},
      {"phase", "phs"},        // the first two bytes stay as typed
      {"bathtub", "ba0tb"},    // "th" is the digit zero
      {"ox", "ox"},
      {"a", "a"},
      {"", ""},
      {"bridge", "brj"},       // "dge" gives "j" and consumes only "dg"
      {"taxi", "taks"},         // "x" gives two bytes
  };
  for (const auto& c : cases) EXPECT_EQ(map.Encode(c.word), c.code) << "word: " << c.word;
}

TEST(PhoneticsMap, EnglishRulesMatchWithTheirConsumeCounts) {
  const MapFor map(kEnglishUS);
  struct Case {
    std::string text;
    std::string destination;
    int consume;
  };
  const std::vector<Case> cases = {
      {"tch", "x", 3}, {"thin", "0", 2}, {"ghost", "k", 2}, {"gh", "", 2}, {"gnat", "n", 2},
      {"dgy", "j", 2}, {"sion", "x", 1}, {"yy", "y", 2}, {"yes", "y", 1}, {"x", "ks", 1},
      {"ahu", "h", 2}, {"ah", "", 2}, {"cia", "x", 1}, {"cy", "s", 1}, {"ck", "k", 2},
      {"wy", "w", 1}, {"q", "k", 1}, {"v", "f", 1}, {"z", "s", 1}, {"h", "h", 1},
  };
  for (const auto& c : cases) {
    std::string_view destination;
    int consume = 0;
    ASSERT_TRUE(map.Match(c.text, 0, destination, consume)) << c.text;
    EXPECT_EQ(destination, c.destination) << c.text;
    EXPECT_EQ(consume, c.consume) << c.text;
  }
  std::string_view destination;
  int consume = 0;
  for (std::string_view vowel : {"a", "e", "i", "o", "u", "w", "y"})
    EXPECT_FALSE(map.Match(vowel, 0, destination, consume)) << vowel << " alone says nothing";
}

TEST(PhoneticsMap, PhAndFEncodeAlikeUnderEnglishRules) {
  const MapFor map(kEnglishUS);
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"telephone", "telefone"}, {"graph", "graf"}, {"alphabet", "alfabet"}, {"sulphur", "sulfur"}};
  for (const auto& [ph, f] : pairs) EXPECT_EQ(map.Encode(ph), map.Encode(f)) << ph << " / " << f;
}

TEST(PhoneticsMap, DefaultRulesKeepOnlyConsonantClasses) {
  const MapFor map(kNdebele);
  const std::vector<Codes> cases = {
      {"umfana", "umbm"},       // f -> b, n -> m, vowels vanish
      {"izinkomo", "izmkm"},   // n and m share a class
      {"abantwana", "abmdm"},   // t -> d, w says nothing
      {"ukudla", "ukdl"},
      {"sivhu", "sib"},
  };
  for (const auto& c : cases) EXPECT_EQ(map.Encode(c.word), c.code) << "word: " << c.word;
}

TEST(PhoneticsMap, RussianRulesUseWindows1251Letters) {
  const MapFor map(kRussian);
  // "xx" + з + о + л: з -> с, о -> а and л -> ль.
  EXPECT_EQ(map.Encode("xx\xE7\xEE\xEB"), "xx\xF1\xE0\xEB\xFC");
  // "оро" after the start becomes "ора", consuming all three letters.
  EXPECT_EQ(map.Encode("xx\xEE\xF0\xEE"), "xx\xEE\xF0\xE0");
  // сш -> ш consumes only с, so ш itself follows.
  EXPECT_EQ(map.Encode("xx\xF1\xF8"), "xx\xF8");
}

TEST(PhoneticsMap, LimitBoundsTheRuleOutput) {
  MapFor map(kNdebele);
  EXPECT_EQ(map.Encode("xxbdbdbdbdbd"), "xxbdbdbd");
  map.Limit = 3;
  EXPECT_EQ(map.Encode("xxbdbdbdbdbd"), "xxbdb");
  // A destination that crosses the limit is still written whole.
  MapFor english(kEnglishUS);
  english.Limit = 1;
  EXPECT_EQ(english.Encode("abxbb"), "abks");
}

TEST(PhoneticsMap, RemoveDupesOnlySkipsOneByteRules) {
  MapFor map(kEnglishUS);
  EXPECT_EQ(map.Encode("aabbbcc"), "aabk");
  EXPECT_EQ(map.Encode("aackck"), "aakk");  // "ck" consumes two bytes, so repeats stay
  map.RemoveDupes = false;
  EXPECT_EQ(map.Encode("aabbbcc"), "aabbbkk");
}

TEST(PhoneticsMap, StartDepthKeepsLeadingBytesAndIgnoresNonPositiveValues) {
  MapFor map(kEnglishUS);
  map.SetStartDepth(0);
  EXPECT_EQ(map.StartDepth(), 2);
  map.SetStartDepth(-3);
  EXPECT_EQ(map.StartDepth(), 2);
  map.SetStartDepth(4);
  EXPECT_EQ(map.StartDepth(), 4);
  EXPECT_EQ(map.Encode("Phosphate"), "phosft");
  map.SetStartDepth(1);
  EXPECT_EQ(map.Encode("phosphate"), "phsft");  // "h" after the start is a sound of its own
}

TEST(ReplaceNode, LongestMatchWinsAndContextIsNotConsumed) {
  TReplaceNode root;
  root.AddRule("a", "1", 1);
  root.AddRule("abc", "3", 2);
  std::string_view destination;
  int consume = 0;
  ASSERT_TRUE(root.Match("abcd", 0, destination, consume));
  EXPECT_EQ(destination, "3");
  EXPECT_EQ(consume, 2);
  // "ab" is on the way to "abc" but carries no rule: the shorter "a" applies.
  ASSERT_TRUE(root.Match("abx", 0, destination, consume));
  EXPECT_EQ(destination, "1");
  EXPECT_EQ(consume, 1);
  ASSERT_TRUE(root.Match("xxabc", 2, destination, consume));
  EXPECT_EQ(destination, "3");
  EXPECT_FALSE(root.Match("bc", 0, destination, consume));
  EXPECT_FALSE(root.Match("a", 1, destination, consume));
}

TEST(ReplaceNode, LaterRuleWithTheSameSourceReplacesTheEarlier) {
  TReplaceNode root;
  root.AddRule("ph", "p", 1);
  root.AddRule("ph", "f", 2);
  std::string_view destination;
  int consume = 0;
  ASSERT_TRUE(root.Match("ph", 0, destination, consume));
  EXPECT_EQ(destination, "f");
  EXPECT_EQ(consume, 2);
  root.ClearRules();
  EXPECT_FALSE(root.Match("ph", 0, destination, consume));
}

TEST(ReplaceNode, RulesThatCouldNotAdvanceAreMadeSafe) {
  TPhoneticsMap map;
  map.UseLanguageRules(kNdebele);
  map.AddRule("", "z", 1);    // would match everywhere
  map.AddRule("q", "q", 0);   // would never move on
  EXPECT_EQ(map.Encode("xxqaq"), "xxq");
}

TEST(PhoneticsMap, UseLanguageRulesRebuildsOnlyOnChange) {
  TPhoneticsMap map;
  EXPECT_EQ(map.Language(), -1);
  map.UseLanguageRules(kEnglishUS);
  map.AddRule("z", "Z", 1);
  map.UseLanguageRules(kEnglishUS);
  EXPECT_EQ(map.Encode("aaz"), "aaZ") << "same language must keep the adjusted rules";
  map.UseLanguageRules(2057);  // English (United Kingdom): same rules, new identifier
  EXPECT_EQ(map.Language(), 2057);
  EXPECT_EQ(map.Encode("aaz"), "aas");
}

TEST(PhoneticsMap, IsCloseEnoughBoundsByLengthAndMaximum) {
  TPhoneticsMap map;
  struct Case {
    std::string word;
    int distance;
    bool close;
  };
  const std::vector<Case> cases = {
      {"abcd", 2, true},       {"abcd", 3, false},  // 4 div 2
      {"abcde", 2, true},      {"abcde", 3, false},
      {"abcdefghijkl", 4, true}, {"abcdefghijkl", 5, false},  // DistanceMax
      {"a", 0, true},          {"a", 1, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(map.IsCloseEnough(c.word, c.distance), c.close) << c.word << " at " << c.distance;
  map.DistanceDivisor = 0;
  EXPECT_TRUE(map.IsCloseEnough("abc", 3));
  EXPECT_FALSE(map.IsCloseEnough("abc", 4));
}

}  // namespace
}  // namespace tovuri
