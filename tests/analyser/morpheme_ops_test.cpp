#include "analyser/morpheme_ops.h"

#include <gtest/gtest.h>

#include <string>

#include "analyser/lexicon.h"

namespace tovuri {
namespace {

struct Case2 {
  std::string a, b, expected;
};

TEST(MorphemeOps, LastCharsAndDropLastCharsKeepShortStrings) {
  EXPECT_EQ(LastChars("ab", 3), "ab");
  EXPECT_EQ(LastChars("hamba", 2), "ba");
  EXPECT_EQ(LastChars("", 1), "");
  EXPECT_EQ(LastChars("ab", 0), "");
  EXPECT_EQ(DropLastChars("ab", 3), "ab");
  EXPECT_EQ(DropLastChars("ab", 2), "");
  EXPECT_EQ(DropLastChars("hamba", 1), "hamb");
  EXPECT_EQ(DropLastChars("", 0), "");
}

TEST(MorphemeOps, LastPosFindsLastMatchWithoutOverlap) {
  const Case2 cases[] = {
      {"an", "anana", "3"}, {"aa", "aaa", "1"}, {"", "abc", "0"}, {"x", "abc", "0"},
      {"m", "memez", "3"},  {"mb", "bamb", "3"}, {"abc", "ab", "0"}, {"b", "b", "1"},
  };
  for (const Case2& c : cases)
    EXPECT_EQ(std::to_string(LastPos(c.a, c.b)), c.expected) << c.a << " in " << c.b;
}

TEST(MorphemeOps, CountVowelsCountsBothCasesButNotGlides) {
  EXPECT_EQ(CountVowels("Ubaba"), 3);
  EXPECT_EQ(CountVowels("AEIOUaeiou"), 10);
  EXPECT_EQ(CountVowels("ywngh"), 0);
  EXPECT_EQ(CountVowels(""), 0);
}

TEST(MorphemeOps, KuBeforeVowelLooksAtTheLoweredFirstLetter) {
  const Case2 cases[] = {
      {"ekhaya", "", "kw"}, {"Ekhaya", "", "kw"}, {"akhe", "", "kw"}, {"onke", "", "k"},
      {"Onke", "", "k"},    {"lapha", "", ""},     {"", "", ""},       {"ubaba", "", ""},
  };
  for (const Case2& c : cases) EXPECT_EQ(KuBeforeVowel(c.a), c.expected) << c.a;
}

TEST(MorphemeOps, GlideVowelChangesOnlyUIA) {
  const Case2 cases[] = {
      {"u", "", "wu"}, {"i", "", "yi"}, {"a", "", "wa"}, {"e", "", "e"},
      {"o", "", "o"},  {"", "", ""},    {"ua", "", "ua"},
  };
  for (const Case2& c : cases) EXPECT_EQ(GlideVowel(c.a), c.expected) << c.a;
}

TEST(MorphemeOps, JoinWithGlideAppliesVowelAndGlideRules) {
  const Case2 cases[] = {
      {"u", "akha", "wakha"},   {"lu", "akha", "lwakha"}, {"bu", "akha", "bakha"},
      {"lu", "osa", "losa"},    {"ba", "enza", "benza"},  {"si", "akha", "sakha"},
      {"ngi", "bona", "ngibona"}, {"ba", "m", "bem"},     {"u", "osa", "wosa"},
      {"i", "akha", "yakha"},   {"ba", "zwakal", "bezwakal"}, {"ba", "mba", "bamba"},
      {"ww", "ba", "wba"},      {"kuw", "uma", "kuwuma"},  {"", "akha", "akha"},
      {"ku", "Osa", "kwOsa"},   {"bu", "osa", "bosa"},    {"zi", "", "zi"},
      {"lu", "", "lu"},         {"ba", "", "ba"},         {"", "", ""},
  };
  for (const Case2& c : cases)
    EXPECT_EQ(JoinWithGlide(c.a, c.b), c.expected) << c.a << " + " << c.b;
}

TEST(MorphemeOps, InfinitivePrefixFollowsTheStemsFirstSound) {
  const Case2 cases[] = {
      {"hamb", "", "uku"}, {"akh", "", "ukw"}, {"enz", "", "ukw"}, {"os", "", "uk"},
      {"Osa", "", "ukw"},  {"i", "", "ukw"},   {"", "", "uku"},
  };
  for (const Case2& c : cases) EXPECT_EQ(InfinitivePrefix(c.a), c.expected) << c.a;
}

TEST(MorphemeOps, PassiveStemPalatalisesTheLastLabial) {
  const Lexicon empty;
  const Case2 cases[] = {
      {"bon", "", "bon"},     {"bamb", "", "banj"},   {"hlab", "", "hlatsh"},
      {"thum", "", "thuny"},  {"memez", "", "menyez"}, {"dl", "", "dl"},
      {"ab", "", "ab"},       {"aba", "", "atsha"},    {"ba", "", "ba"},
      {"gubh", "", "guj"},    {"bhuq", "", "bhuq"},    {"", "", ""},
      {"phaph", "", "phatsh"}, {"a", "", "a"},
  };
  for (const Case2& c : cases) EXPECT_EQ(PassiveStem(c.a, empty), c.expected) << c.a;
}

TEST(MorphemeOps, PassiveStemHonoursListedExceptions) {
  Lexicon lexicon;
  lexicon.PassiveStems = {"ab", "bamb"};
  lexicon.PassiveForms = {"abi", ""};
  EXPECT_EQ(PassiveStem("bamb", lexicon), "bamb");
  EXPECT_EQ(PassiveStem("BAMB", lexicon), "BAMB");
  EXPECT_EQ(PassiveStem("ab", lexicon), "abi");
  EXPECT_EQ(PassiveStem("hlab", lexicon), "hlatsh");
}

TEST(MorphemeOps, LocativeBodyPalatalisesOnlyBeforeOAndU) {
  struct Case {
    std::string stem, final, expected;
  } const cases[] = {
      {"ndl", "u", "ndlwini"},     {"sitsh", "a", "sitsheni"}, {"hlamb", "o", "hlanjweni"},
      {"kom", "o", "konyweni"},    {"sigubh", "u", "sigujwini"}, {"hlamb", "a", "hlambeni"},
      {"kolo", "i", "koloini"},    {"ndaw", "o", "ndaweni"},    {"ntab", "e", "ntabeni"},
      {"lup", "u", "lutshwini"},   {"ph", "o", "tshweni"},      {"x", "y", "x"},
      {"", "", ""},                {"", "o", "weni"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LocativeBody(c.stem, c.final), c.expected) << c.stem << " + " << c.final;
}

}  // namespace
}  // namespace tovuri
