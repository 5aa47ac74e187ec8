// The fast word check against the generate-and-collect reference, on the real
// lexicon. TOVURI_DIFFERENTIAL_SCALE (default 1) multiplies every sample size;
// the full comparison is the same tests run with a large scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "analyser/form_sink.h"
#include "analyser/index_format.h"
#include "analyser/lexicon.h"
#include "analyser/noun_forms.h"
#include "analyser/pass_templates.h"
#include "analyser/text_case.h"
#include "analyser/word_check.h"

namespace tovuri {
namespace {

size_t Scale() {
  const char* scale = std::getenv("TOVURI_DIFFERENTIAL_SCALE");
  const long n = scale ? std::strtol(scale, nullptr, 10) : 1;
  return n > 0 ? static_cast<size_t>(n) : 1;
}

class FastWordCheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The build's copy of the lexicon, beside which it writes the index
    // file: the comparisons run on the mapped index the programs use.
    std::vector<std::string> warnings;
    BuildLexicon(TOVURI_BIN_DIR, [&](const LexiconWarning& w) { warnings.push_back(w.message); });
    ASSERT_GT(TheLexicon().size(), 1000u) << "the real lexicon did not load";
    ASSERT_TRUE(WordCheckIndexIsMapped()) << "the build's index file was not used";
  }
  static void TearDownTestSuite() { InstallLexicon(Lexicon{}); }

  // Runs both paths on every word; lists each word where they differ.
  static void ExpectSameVerdicts(const std::vector<std::string>& words) {
    size_t accepted = 0;
    std::vector<std::string> differences;
    for (const std::string& word : words) {
      const bool fast = IsNdebeleWord(word);
      const bool reference = IsNdebeleWordReference(word);
      accepted += reference;
      if (fast != reference)
        differences.push_back(word + (reference ? " (reference yes)" : " (reference no)"));
    }
    std::cout << "compared " << words.size() << " words, " << accepted << " accepted\n";
    EXPECT_TRUE(differences.empty()) << differences.size() << " differences, first: "
                                     << differences.front();
  }
};

std::string Capitalised(std::string s) {
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 32);
  return s;
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return s;
}

std::string SecondCapital(std::string s) {
  if (s.size() > 1 && s[1] >= 'a' && s[1] <= 'z') s[1] = static_cast<char>(s[1] - 32);
  return s;
}

// Forms of entries of every tag, spread over the lexicon, spread over each
// entry's forms; per_tag entries and per_entry forms each.
std::vector<std::string> SampledForms(size_t per_tag, size_t per_entry) {
  const Lexicon& lexicon = TheLexicon();
  std::map<std::string, std::vector<size_t>> by_tag;
  for (size_t i = 0; i < lexicon.size(); ++i) by_tag[lexicon.LexClass[i]].push_back(i);
  std::vector<std::string> out;
  for (const auto& [tag, entries] : by_tag) {
    const size_t take = std::min(per_tag, entries.size());
    for (size_t k = 0; k < take; ++k) {
      const size_t i = entries[k * entries.size() / take];
      FormList list;
      if (!GenerateFormsForTag(tag, lexicon.LexPrefix[i], lexicon.LexStem[i],
                               lexicon.LexFinal[i], lexicon.LexInfo[i], list))
        continue;
      std::vector<std::string> forms = list.forms;
      std::sort(forms.begin(), forms.end());
      forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
      const size_t n = std::min(per_entry, forms.size());
      for (size_t f = 0; f < n; ++f) out.push_back(forms[f * forms.size() / n]);
    }
  }
  return out;
}

std::vector<std::string> WithCaseVariants(const std::vector<std::string>& forms) {
  std::vector<std::string> out;
  for (const std::string& form : forms) {
    out.push_back(form);
    out.push_back(Capitalised(form));
    out.push_back(Upper(form));
    out.push_back(SecondCapital(form));
  }
  return out;
}

// Random single-letter edits: a letter dropped, replaced, added, or two swapped.
std::vector<std::string> Edits(const std::vector<std::string>& forms, size_t per_form,
                               unsigned seed) {
  static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz";
  std::mt19937 random(seed);
  const auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  std::vector<std::string> out;
  for (const std::string& form : forms) {
    if (form.size() < 2) continue;
    for (size_t e = 0; e < per_form; ++e) {
      std::string edited = form;
      const size_t at = pick(form.size());
      switch (pick(4)) {
        case 0: edited.erase(at, 1); break;
        case 1: edited[at] = kLetters[pick(kLetters.size())]; break;
        case 2: edited.insert(at, 1, kLetters[pick(kLetters.size())]); break;
        default:
          if (at + 1 < edited.size()) std::swap(edited[at], edited[at + 1]);
          break;
      }
      out.push_back(edited);
    }
  }
  return out;
}

// Strings of consonant clusters and vowels, as Ndebele words are spelt.
std::vector<std::string> RandomWords(size_t count, unsigned seed) {
  static const std::vector<std::string> kOnsets = {
      "",   "b",  "bh", "d",  "dl", "f",  "g",  "gc", "h",  "hl", "j",  "k",  "kh", "l",
      "m",  "mb", "n",  "nd", "ng", "nk", "ny", "p",  "ph", "s",  "sh", "t",  "th", "tsh",
      "v",  "w",  "y",  "z",  "zw", "c",  "q",  "x",  "bw", "kw", "lw", "ngw"};
  static constexpr std::string_view kVowels = "aeiou";
  std::mt19937 random(seed);
  const auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  std::vector<std::string> out;
  for (size_t i = 0; i < count; ++i) {
    std::string word;
    const size_t syllables = 2 + pick(5);
    for (size_t s = 0; s < syllables; ++s) {
      word += kOnsets[pick(kOnsets.size())];
      word += kVowels[pick(kVowels.size())];
    }
    out.push_back(word);
  }
  return out;
}

TEST_F(FastWordCheck, SameVerdictsOnGeneratedFormsInEveryCase) {
  ExpectSameVerdicts(WithCaseVariants(SampledForms(2 * Scale(), 2 * Scale())));
}

TEST_F(FastWordCheck, SameVerdictsOnSingleLetterEdits) {
  ExpectSameVerdicts(Edits(SampledForms(2 * Scale(), 2 * Scale()), 2 * Scale(), 7));
}

TEST_F(FastWordCheck, SameVerdictsOnRandomWords) {
  ExpectSameVerdicts(RandomWords(150 * Scale(), 11));
}

TEST_F(FastWordCheck, CandidatesMatchTheLexiconScan) {
  const Lexicon& lexicon = TheLexicon();
  const WordCheckIndex index(lexicon);
  std::vector<std::string> words = RandomWords(3000, 13);
  for (const std::string& w : SampledForms(3, 4)) words.push_back(Upper(w));
  words.push_back("amakhosini");
  words.push_back("sengibulewe");
  for (const std::string& word : words)
    ASSERT_EQ(index.Candidates(word), CandidateEntries(word, lexicon)) << word;
}

TEST_F(FastWordCheck, TwoThreadsReachTheVerdictsOfOne) {
  std::vector<std::string> words = RandomWords(300, 17);
  for (const std::string& w : SampledForms(1, 2)) words.push_back(w);
  std::vector<bool> alone;
  for (const std::string& word : words) alone.push_back(IsNdebeleWord(word));
  std::vector<bool> first(words.size());
  std::vector<bool> second(words.size());
  std::thread a([&] {
    for (size_t i = 0; i < words.size(); ++i) first[i] = IsNdebeleWord(words[i]);
  });
  std::thread b([&] {
    for (size_t i = words.size(); i-- > 0;) second[i] = IsNdebeleWord(words[i]);
  });
  a.join();
  b.join();
  EXPECT_EQ(first, alone);
  EXPECT_EQ(second, alone);
  EXPECT_GT(std::count(alone.begin(), alone.end(), true), 0);
}

// Every form of a templated noun pass is found through its template, and its
// one-letter edits are found exactly when the pass makes them too.
TEST_F(FastWordCheck, NounTemplatesFindExactlyTheFormsOfTheirPasses) {
  const Lexicon& lexicon = TheLexicon();
  PassTemplates templates;
  struct Checked {
    EntryPass pass;
    int32_t id;
  };
  std::vector<Checked> checked;
  // Every 13th noun and every 97th verb; every entry from a scale of 97 on.
  const size_t noun_step = std::max<size_t>(1, 13 / Scale());
  const size_t verb_step = std::max<size_t>(1, 97 / Scale());
  for (size_t i = 0; i < lexicon.size(); i += lexicon.LexClass[i] == "verb" ? verb_step : noun_step) {
    const std::vector<EntryPass> passes = PassesForEntry(lexicon, i);
    for (const EntryPass& pass : passes) {
      if (pass.tag == "verb" || pass.tag == "special" || pass.tag == "adv" || pass.tag == "adj" ||
          pass.tag == "conj" || pass.tag == "rel" || pass.tag == "defverb" ||
          pass.tag.substr(0, 3) == "exc")
        continue;
      const auto generate = [&](std::string_view stem, const Lexicon& lex, FormSink& forms) {
        GenerateNounForms(pass.tag, pass.prefix, stem, pass.final, forms, lex);
      };
      const int32_t id = templates.Add(pass.tag, pass.prefix, pass.stem, pass.final, lexicon,
                                       generate, PassTemplates::Check::kShape);
      if (id >= 0) checked.push_back({pass, id});
    }
  }
  // Matched as laid out, the way the word check reads them.
  IndexWriter writer;
  const IndexRef laid_out = templates.Write(writer);
  const std::string bytes = writer.Take();
  const PassTemplatesView view(IndexBytes(bytes.data(), bytes.size()), laid_out);
  size_t forms_checked = 0;
  for (const auto& [pass, id] : checked) {
    {
      FormList list;
      GenerateNounForms(pass.tag, pass.prefix, pass.stem, pass.final, list, lexicon);
      std::set<std::string> made;
      for (const std::string& form : list.forms) made.insert(ToLower(form));
      size_t k = 0;
      for (const std::string& form : made) {
        ASSERT_NE(view.Match(id, pass.stem, form), TableMatch::kNone)
            << pass.tag << " " << pass.prefix << "-" << pass.stem << pass.final << ": " << form;
        ++forms_checked;
        if (++k % 50 != 0) continue;
        for (const std::string& edit : Edits({form}, 3, static_cast<unsigned>(k))) {
          const std::string folded = ToLower(edit);
          EXPECT_EQ(view.Match(id, pass.stem, folded) != TableMatch::kNone,
                    made.count(folded) == 1)
              << pass.tag << " " << pass.prefix << "-" << pass.stem << pass.final << ": " << edit;
        }
      }
    }
  }
  std::cout << checked.size() << " passes, " << forms_checked << " forms\n";
  EXPECT_GT(checked.size(), 100u);
}

TEST_F(FastWordCheck, IndexStaysWellUnderItsMemoryBudget) {
  const WordCheckIndex index(TheLexicon());
  const WordCheckIndex::Sizes sizes = index.GetSizes();
  std::cout << "trie nodes " << sizes.trie_nodes << ", needles " << sizes.needles
            << ", closed forms " << sizes.closed_forms << ", pass templates "
            << sizes.pass_templates << ", " << sizes.bytes / (1024 * 1024) << " MiB laid out\n";
  EXPECT_GT(sizes.needles, sizes.trie_nodes / 4);
  EXPECT_LT(sizes.bytes, size_t{200} * 1024 * 1024);
}

}  // namespace
}  // namespace tovuri
