#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analyser/lexicon.h"
#include "analyser/noun_forms.h"
#include "analyser/word_check.h"
#include "temp_dir.h"

namespace tovuri {
namespace {

// Installs a lexicon for one test and leaves an empty one behind.
class NounWordCheck : public ::testing::Test {
 protected:
  void TearDown() override { InstallLexicon(Lexicon{}); }

  static void InstallVerbs(const std::vector<std::string>& stems) {
    Lexicon lexicon;
    for (const std::string& stem : stems) lexicon.AddEntry("verb", "uku", stem, "a", "");
    InstallLexicon(std::move(lexicon));
  }

  // The forms of the verb generator alone for a verb entry.
  static std::vector<std::string> VerbOwnForms(const std::string& stem) {
    FormList list;
    GenerateFormsForTag("verb", "uku", stem, "a", "", list);
    return list.forms;
  }

  static void ExpectVerdict(const std::string& word, bool expected) {
    EXPECT_EQ(IsNdebeleWord(word), expected) << word;
    EXPECT_EQ(IsNdebeleWordReference(word), expected) << word;
  }
};

TEST_F(NounWordCheck, VerbIsAlsoTriedAsItsInfinitiveNouns) {
  InstallVerbs({"hamb", "os"});
  // Some nominal forms are also among the verb's own forms; the rest are
  // accepted only through the infinitive-noun passes.
  struct Case {
    std::string stem, word, pass;
    bool verb_form;
  } const cases[] = {
      {"hamb", "ekuhambeni", "infinitive locative", false},
      {"hamb", "Ngisekuhambeni", "infinitive locative phrase", false},
      {"hamb", "lokuhamba", "infinitive associative", true},
      {"hamb", "ekuhanjweni", "passive infinitive locative", false},
      {"hamb", "ngokuhanjwa", "passive infinitive instrumental", true},
      {"hamb", "ngokungahambi", "negative infinitive instrumental", true},
      {"hamb", "lokungahambi", "negative infinitive associative", true},
      // The negative pass keeps the prefix of the plain stem ("uk" before "o").
      {"os", "ukngaosi", "negative infinitive of an o-stem", false},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> own = VerbOwnForms(c.stem);
    EXPECT_EQ(std::find(own.begin(), own.end(), c.word) != own.end(), c.verb_form)
        << c.word << " (" << c.pass << "): among the verb's own forms";
    ExpectVerdict(c.word, true);
  }
  for (std::string word : {"ukungaosi", "ekuhambini", "ekuhambweni", "ekungahambeni"})
    ExpectVerdict(word, false);
}

TEST_F(NounWordCheck, NounEntriesFromTheLoaderKeepTheirLocatives) {
  testing::TempDir dir;
  dir.Write("dictionary.txt",
            "in/izin,in-dlu,Locative:endlini/endlwini,house\n"
            "um/aba,umu-ntu,,person\n");
  dir.Write("passives.txt", "");
  std::vector<std::string> warnings;
  BuildLexicon(dir.path(), [&](const LexiconWarning& w) { warnings.push_back(w.message); });
  EXPECT_THAT(warnings, ::testing::ElementsAre());
  const std::vector<std::pair<std::string, bool>> cases = {
      {"endlini", true},   {"Endlwini", true},   {"ngisendlini", true}, {"wendlwini", true},
      {"endlininye", true}, {"ezindlwini", false}, {"umuntu", true},      {"abantu", true},
      {"lomuntu", true},   {"labantu", true},    {"lumuntu", true},     {"ngumuntu", true},
      {"emuntwini", true}, {"umuNtu", false},    {"abantwini", false},
  };
  for (const auto& [word, expected] : cases) ExpectVerdict(word, expected);
}

}  // namespace
}  // namespace tovuri
