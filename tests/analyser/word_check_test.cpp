#include "analyser/word_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "analyser/lexicon.h"

namespace tovuri {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct E {
  std::string tag, prefix, stem, final;
};

Lexicon MakeLexicon(const std::vector<E>& entries) {
  Lexicon lexicon;
  for (const E& e : entries) lexicon.AddEntry(e.tag, e.prefix, e.stem, e.final, "");
  return lexicon;
}

// Installs a hand-made lexicon for one test and leaves an empty one behind.
class WordCheck : public ::testing::Test {
 protected:
  void Install(const std::vector<E>& entries) { InstallLexicon(MakeLexicon(entries)); }
  void TearDown() override { InstallLexicon(Lexicon{}); }
};

TEST(CandidateEntries, UsesEachOfTheSixTests) {
  Lexicon lexicon = MakeLexicon({
      {"verb", "uku", "hamb", "a"},       // 0: plain substring
      {"adj", "", "khulu", ""},           // 1: without its "h"
      {"in/ama", "in", "kos", "i"},       // 2: an "in" stem with "h" added
      {"isi/izi", "isi", "sigubh", "u"},  // 3: locative body sigujwini
      {"verb", "uku", "bulal", "a"},      // 4: bulewe / bulawa
      {"verb", "uku", "bamb", "a"},       // 5: passive stem banj
      {"in/izin", "in", "bamb", "a"},     // 6: not a verb: no passive test
      {"special", "", "", ""},            // 7: an empty stem never occurs
      {"um/aba", "um", "kos", "i"},       // 8: not an "in" noun
      {"verb", "uku", "BAMB", "a"},       // 9: the passive stem is not lowered
      {"verb", "uku", "qq", "a"},         // 10: listed with the passive zzi
  });
  lexicon.PassiveStems = {"qq"};
  lexicon.PassiveForms = {"zzi"};
  struct Case {
    std::string word;
    std::vector<size_t> expected;
  } const cases[] = {
      {"uyahamba", {0}},         {"UYAHAMBA", {0}},
      {"inkulu", {1}},           {"amakhosi", {2}},
      {"esigujwini", {3}},       {"esigujwin", {}},
      {"wabulewe", {4}},         {"ngibulawa", {4}},
      {"ibanjwa", {5}},          {"IBANJWA", {5}},
      {"ibambile", {5, 6, 9}},   {"xyz", {}},
      {"", {}},                  {"inkosi", {2, 8}},
      {"kuzziwa", {10}},         {"zz", {}},
  };
  Lexicon prepared = lexicon;
  prepared.PrepareLookups();
  for (const Case& c : cases) {
    EXPECT_THAT(CandidateEntries(c.word, lexicon), ElementsAreArray(c.expected)) << c.word;
    EXPECT_THAT(CandidateEntries(c.word, prepared), ElementsAreArray(c.expected))
        << c.word << " with prepared look-ups";
  }
}

TEST(CandidateEntries, TriesLongerStemsFirstAndDropsStemsOverTwentyCharacters) {
  const std::string twenty(20, 'a');
  const Lexicon lexicon = MakeLexicon({
      {"special", "", "aaa", ""},          // 0
      {"special", "", "aaaaa", ""},        // 1
      {"special", "", twenty + "a", ""},   // 2: 21 characters
      {"special", "", "a", ""},            // 3
      {"special", "", twenty, ""},         // 4
      {"special", "", "aaa", ""},          // 5
  });
  EXPECT_THAT(CandidateEntries(std::string(30, 'a'), lexicon), ElementsAre(4, 1, 0, 5, 3));
  EXPECT_THAT(CandidateEntries("aaaa", lexicon), ElementsAre(0, 5, 3));
}

TEST_F(WordCheck, AcceptsTheEmptyWordAndRejectsWordsWithNoCandidate) {
  Install({{"special", "", "kodwa", ""}});
  EXPECT_TRUE(IsNdebeleWord(""));
  EXPECT_FALSE(IsNdebeleWord("qqq"));
  EXPECT_FALSE(IsNdebeleWordReference("qqq"));
}

TEST_F(WordCheck, SpecialEntriesFollowTheCaseRules) {
  Install({{"special", "", "oPhezukonke", ""}, {"special", "", "umka", ""},
           {"special", "", "kodwa", ""}, {"bogus", "", "njalo", ""}});
  struct Case {
    std::string word;
    bool expected;
  } const cases[] = {
      {"oPhezukonke", true},  {"OPhezukonke", true},  {"OPHEZUKONKE", true},
      {"yoPhezukonke", true}, {"woPhezukonke", true}, {"boPhezukonke", true},
      {"koPhezukonke", true}, {"ophezukonke", false}, {"loPhezukonke", false},
      {"umka", true},         {"Umka", true},         {"engumkabo", true},
      {"kodwa", true},        {"Kodwa", true},        {"KODWA", true},
      {"koDwa", false},       {"kodw", false},        {"kodwana", false},
      {"njalo", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsNdebeleWord(c.word), c.expected) << c.word;
    EXPECT_EQ(IsNdebeleWordReference(c.word), c.expected) << c.word;
  }
}

TEST_F(WordCheck, EachCandidatePassStartsWithTheWordAsGiven) {
  // "aB" lowers the first letter of "Ab" within its own pass only; the next
  // candidate sees "Ab" again and matches it exactly.
  Install({{"special", "", "aB", ""}, {"special", "", "Ab", ""}});
  EXPECT_TRUE(IsNdebeleWord("Ab"));
  EXPECT_TRUE(IsNdebeleWordReference("Ab"));
  EXPECT_FALSE(IsNdebeleWord("ab"));
  EXPECT_FALSE(IsNdebeleWordReference("ab"));
}

TEST(PassesForEntry, TriesAVerbAlsoAsThreeInfinitiveNouns) {
  Lexicon lexicon = MakeLexicon({{"verb", "uku", "bamb", "a"},
                                 {"verb", "uku", "osa", "a"},
                                 {"verb", "uku", "ab", "a"},
                                 {"in/izin", "in", "ja", "a"}});
  lexicon.LexInfo[0] = "Reflexive";
  lexicon.PassiveStems = {"ab"};
  lexicon.PassiveForms = {"abi"};
  auto describe = [&](size_t i) {
    std::vector<std::string> out;
    for (const EntryPass& p : PassesForEntry(lexicon, i))
      out.push_back(p.tag + "|" + p.prefix + "|" + p.stem + "|" + p.final + "|" + p.attribute);
    return out;
  };
  EXPECT_THAT(describe(0), ElementsAre("verb|uku|bamb|a|Reflexive", "uku|uku|bamb|a|",
                                       "uku|uku|banjw|a|", "uku|uku|ngabamb|i|"));
  EXPECT_THAT(describe(1), ElementsAre("verb|uku|osa|a|", "uku|uk|osa|a|", "uku|uk|osaw|a|",
                                       "uku|uk|ngaosa|i|"));
  EXPECT_THAT(describe(2), ElementsAre("verb|uku|ab|a|", "uku|ukw|ab|a|", "uku|ukw|abiw|a|",
                                       "uku|ukw|ngaab|i|"));
  EXPECT_THAT(describe(3), ElementsAre("in/izin|in|ja|a|"));
}

TEST(GenerateFormsForTag, BuildsSpecialFormsAndRefusesUnknownTags) {
  struct Case {
    std::string tag, word;
    bool served;
    std::vector<std::string> forms;
  } const cases[] = {
      {"special", "kodwa", true, {"kodwa"}},
      {"special", "umka", true, {"umka", "engumkabo"}},
      {"special", "oPhezukonke", true,
       {"oPhezukonke", "yoPhezukonke", "woPhezukonke", "boPhezukonke", "koPhezukonke"}},
      {"Verb", "hamba", false, {}},
      {"", "hamba", false, {}},
      {"ex", "hamba", false, {}},
  };
  for (const Case& c : cases) {
    FormList list;
    EXPECT_EQ(GenerateFormsForTag(c.tag, "", c.word, "", "", list), c.served) << c.tag;
    EXPECT_THAT(list.forms, ElementsAreArray(c.forms)) << c.tag << " " << c.word;
  }
}

TEST(GenerateFormsForTag, ServesEveryGeneratorTag) {
  for (std::string tag :
       {"verb", "in/izin", "isi/izi", "isi", "izi", "u/o", "u", "um", "um/aba", "um/ama", "umu",
        "um/imi", "imi", "ili/ama", "ili", "ama", "in/ama", "ulu/izin", "ulu", "ubu", "u/o/ama",
        "adv", "adj", "conj", "rel", "person", "place", "in", "im", "uku", "defverb",
        "exc/thatha", "exc/ana", "exc/ala", "exc/hlezi", "exc/ama", "exc"}) {
    FormList list;
    EXPECT_TRUE(GenerateFormsForTag(tag, "uku", "hamb", "a", "", list)) << tag;
  }
}

TEST_F(WordCheck, TwoThreadsCheckWordsAtOnce) {
  Install({{"special", "", "oPhezukonke", ""}, {"special", "", "kodwa", ""},
           {"verb", "uku", "hamb", "a"}, {"in/izin", "in", "dl", "u"}});
  const std::vector<std::pair<std::string, bool>> words = {
      {"kodwa", true}, {"KODWA", true}, {"koPhezukonke", true}, {"ophezukonke", false},
      {"xyz", false},  {"", true},      {"endlini", false},     {"uyahamba", true},
      {"uyahambaa", false},
  };
  auto check = [&](std::vector<std::string>& failures) {
    for (int round = 0; round < 200; ++round)
      for (const auto& [word, expected] : words)
        if (IsNdebeleWord(word) != expected) failures.push_back(word);
  };
  std::vector<std::string> first, second;
  std::thread a(check, std::ref(first));
  std::thread b(check, std::ref(second));
  a.join();
  b.join();
  EXPECT_THAT(first, ElementsAre());
  EXPECT_THAT(second, ElementsAre());
}

}  // namespace
}  // namespace tovuri
