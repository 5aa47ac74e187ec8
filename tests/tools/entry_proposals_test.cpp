#include "entry_proposals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analyser/lexicon.h"

namespace tovuri {
namespace {

std::vector<std::string> Lines(const std::vector<ProposedEntry>& entries) {
  std::vector<std::string> lines;
  for (const ProposedEntry& e : entries) lines.push_back(e.Line());
  return lines;
}

bool Holds(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class EntryProposals : public ::testing::Test {
 protected:
  void SetUp() override { InstallLexicon(Lexicon{}); }
  const EntryProposer proposer_{{{"verb", "uku", "a"}, {"in/izin", "in", "o"}, {"isi/izi", "isi", "a"}}};
};

TEST_F(EntryProposals, FindEntriesThroughTheGeneratorsOwnAffixes) {
  const struct {
    std::string word, line;
  } cases[] = {
      {"bayadinga", "verb,uku-dinga,,"},
      {"ukwakha", "verb,uku-akha,,"},        // the infinitive's ukw- before a vowel stem
      {"izindleko", "in/izin,in-dleko,,"},   // the plural's prefix
      {"esikhumbeni", "isi/izi,isi-khumba,,"},  // the locative's ending
      {"ukudingisa", "verb,uku-dinga,,"},    // an extended verb's root
  };
  for (const auto& c : cases) {
    const std::vector<std::string> lines = Lines(proposer_.EntriesFor(c.word));
    EXPECT_TRUE(Holds(lines, c.line)) << c.word << ": " << ::testing::PrintToString(lines);
  }
}

TEST_F(EntryProposals, ProposeNothingForAWordNoShapeMakes) {
  EXPECT_TRUE(proposer_.EntriesFor("xyz").empty());
}

TEST_F(EntryProposals, RankTheEntryExplainingMostFormsFirstAndGiveEachWordOnce) {
  const std::vector<SampleWord> rejected = {
      {"indleko", 1}, {"izindleko", 2}, {"ngendleko", 2}, {"bayadinga", 1}};
  const std::vector<Proposal> ranked = RankProposals(proposer_, rejected, {});
  ASSERT_FALSE(ranked.empty());
  EXPECT_EQ(ranked[0].entry.Line(), "in/izin,in-dleko,,");
  EXPECT_EQ(ranked[0].words.size(), 3u) << ::testing::PrintToString(ranked[0].words);
  EXPECT_EQ(ranked[0].Samples(), 2u);
  size_t given = 0;
  for (const Proposal& p : ranked) given += p.words.size();
  EXPECT_EQ(given, rejected.size());
}

TEST_F(EntryProposals, CountTheAcceptedWordsAProposalWouldAlsoMake) {
  const std::vector<Proposal> ranked = RankProposals(proposer_, {{"bayadinga", 1}}, {"ukudinga", "dinga"});
  const auto it = std::find_if(ranked.begin(), ranked.end(),
                               [](const Proposal& p) { return p.entry.Line() == "verb,uku-dinga,,"; });
  ASSERT_NE(it, ranked.end());
  EXPECT_EQ(it->accepted_forms, 2u);
}

}  // namespace
}  // namespace tovuri
