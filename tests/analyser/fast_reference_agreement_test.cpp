#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analyser/lexicon.h"
#include "analyser/word_check.h"

namespace tovuri {
namespace {

// Words to put to both paths: one form of each pass of about 12 entries spread
// over the shipped lexicon, in several spellings, and a near miss of it. (The
// reference path takes milliseconds a word, and more with a full lexicon, so
// the sample has a fixed size rather than growing with the lexicon.)
std::vector<std::string> SampleWords(const Lexicon& lexicon) {
  std::vector<std::string> words = {"", "xyz", "NGIYABONA", "ngiYabona", "Kodwa", "kODWA"};
  const size_t stride = std::max<size_t>(80, lexicon.size() / 12);
  for (size_t i = 0; i < lexicon.size(); i += stride) {
    for (const EntryPass& pass : PassesForEntry(lexicon, i)) {
      FormList list;
      GenerateFormsForTag(pass.tag, pass.prefix, pass.stem, pass.final, pass.attribute, list);
      if (list.forms.empty() || list.forms[list.forms.size() / 2].empty()) continue;
      const std::string form = list.forms[list.forms.size() / 2];
      std::string capital = form;
      capital[0] = static_cast<char>(capital[0] & ~0x20);
      std::string inner = form;
      inner.back() = static_cast<char>(inner.back() & ~0x20);
      words.insert(words.end(), {form, capital, inner, form + "q"});
    }
  }
  return words;
}

TEST(FastAndReferencePaths, GiveTheSameVerdictOnTheShippedLexicon) {
  BuildLexicon(TOVURI_SOURCE_DATA_DIR, nullptr);
  const std::vector<std::string> words = SampleWords(TheLexicon());
  ASSERT_GT(words.size(), 50u);
  std::vector<std::string> disagreements;
  int accepted = 0;
  for (const std::string& word : words) {
    const bool fast = IsNdebeleWord(word);
    accepted += fast;
    if (fast != IsNdebeleWordReference(word))
      disagreements.push_back(word + (fast ? " (fast accepts)" : " (reference accepts)"));
  }
  EXPECT_THAT(disagreements, ::testing::ElementsAre());
  EXPECT_GT(accepted, 0);
  EXPECT_LT(accepted, static_cast<int>(words.size()));
  InstallLexicon(Lexicon{});
}

}  // namespace
}  // namespace tovuri
