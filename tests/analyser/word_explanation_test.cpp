#include "analyser/word_explanation.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "analyser/lexicon.h"
#include "analyser/verb_forms.h"
#include "analyser/verb_patterns.h"
#include "temp_dir.h"

namespace tovuri {
namespace {

class WordExplanationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("dictionary.txt", "; comment\n\nverb,uku-bona,,see\nin/izin,in-ja,,dog\n");
    dir_.Write("passives.txt", "");
    InstallLexicon(LoadLexicon(dir_.path(), nullptr));
  }
  void TearDown() override { InstallLexicon(Lexicon{}); }
  testing::TempDir dir_;
};

TEST_F(WordExplanationTest, EveryEntryKnowsItsLineDerivedEntriesTheirSourceLine) {
  const Lexicon& lexicon = TheLexicon();
  ASSERT_EQ(lexicon.LexLine.size(), lexicon.size());
  for (size_t i = 0; i < lexicon.size(); ++i) {
    const bool verb_line = lexicon.LexPrefix[i].rfind("uk", 0) == 0;
    EXPECT_EQ(lexicon.LexLine[i], verb_line ? 3 : 4) << lexicon.LexClass[i] << " " << lexicon.LexStem[i];
  }
}

TEST_F(WordExplanationTest, TellsTheEntryPassAndVerbPatternOrTheNearestEntries) {
  const WordExplanation seen = ExplainNdebeleWord("simbona");
  ASSERT_EQ(seen.kind, WordExplanation::Kind::kEntry);
  EXPECT_EQ(TheLexicon().LexStem[seen.entry], "bon");
  EXPECT_EQ(seen.pass, 0u);
  EXPECT_EQ(seen.verb_row, VerbPatternRowOf("uku", "bon", "a", "", "simbona"));
  EXPECT_EQ(DescribePass(seen), "verb forms, pattern " + std::string(kVerbPatterns[seen.verb_row - 1].pattern));

  const WordExplanation infinitive = ExplainNdebeleWord("ekuboneni");
  ASSERT_EQ(infinitive.kind, WordExplanation::Kind::kEntry);
  EXPECT_EQ(DescribePass(infinitive), "noun forms (infinitive)");

  const WordExplanation dog = ExplainNdebeleWord("izinja");
  ASSERT_EQ(dog.kind, WordExplanation::Kind::kEntry);
  EXPECT_EQ(DescribePass(dog), "noun forms");

  EXPECT_EQ(ExplainNdebeleWord("lokhu").kind, WordExplanation::Kind::kClosedClass);
  EXPECT_EQ(ExplainNdebeleWord("").kind, WordExplanation::Kind::kEmpty);

  const WordExplanation missed = ExplainNdebeleWord("bonaxq");
  ASSERT_EQ(missed.kind, WordExplanation::Kind::kNotFound);
  ASSERT_FALSE(missed.nearest.empty());
  EXPECT_EQ(TheLexicon().LexStem[missed.nearest.front()], "bon");
}

TEST(VerbPatternRow, IsTheFirstRowThatMakesTheWordAndZeroForNone) {
  const size_t row = VerbPatternRowOf("uku", "bon", "a", "", "ngiyabona");
  ASSERT_GT(row, 0u);
  EXPECT_EQ(VerbPatternRowOf("uku", "bon", "a", "", "NGIYABONA"), row) << "case does not matter";
  EXPECT_EQ(VerbPatternRowOf("uku", "bon", "a", "", "ngiyabonxa"), 0u);
}

}  // namespace
}  // namespace tovuri
