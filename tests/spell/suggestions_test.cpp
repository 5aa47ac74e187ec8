#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "spell/ox3PhoneticsMap.h"
#include "spell/ox3Suggestions.h"

namespace tovuri {
namespace {

constexpr int kEnglishUS = 1033;
constexpr int kSwedish = 1053;

std::string Join(const std::vector<std::string>& words) {
  std::string out;
  for (const auto& w : words) out += (out.empty() ? "" : ", ") + w;
  return "[" + out + "]";
}

bool Has(const std::vector<std::string>& list, const std::string& word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

// Dictionaries held in plain sets; the primary main dictionary's phonetic
// search runs over main_words with the real map.
class FakeSources : public TSuggestionSources {
 public:
  std::set<std::string> main_words;
  std::set<std::string> custom_words;
  std::map<std::string, std::string> mapping;
  bool has_main = true;
  int language = 0;
  bool has_learning = false;
  std::map<std::string, std::string> learnt_pairs;
  std::set<std::string> learnt_words;
  // When set, the phonetic search adds exactly these, whatever the map says.
  std::vector<std::string> phonetic_override;
  bool use_override = false;

  int lookups = 0;
  std::vector<int> phonetic_languages;  // the map's language at each search

  bool FindMapping(std::string_view word, std::string& replacement) override {
    auto it = mapping.find(std::string(word));
    if (it == mapping.end()) return false;
    replacement = it->second;
    return true;
  }
  bool WordInMainDictionaries(std::string_view word) override {
    ++lookups;
    return main_words.count(std::string(word)) > 0;
  }
  bool WordInDictionaries(std::string_view word) override {
    return WordInMainDictionaries(word) || custom_words.count(std::string(word)) > 0;
  }
  bool HasEnglishMain() override { return has_main && (language & 0xFF) == 9; }
  bool IsPossessiveOfKnownWord(std::string_view word) override {
    if (word.size() < 3 || word.substr(word.size() - 2) != "'s") return false;
    return main_words.count(std::string(word.substr(0, word.size() - 2))) > 0;
  }
  bool HasMainDictionary() override { return has_main; }
  int PrimaryLanguage() override { return language; }
  void EnumeratePhonetic(std::string_view word, const TPhoneticsMap& map,
                         std::vector<std::string>& list) override {
    phonetic_languages.push_back(map.Language());
    if (use_override) {
      for (const auto& w : phonetic_override)
        if (!Has(list, w)) list.push_back(w);
      return;
    }
    const std::string code = map.Encode(word);
    if (code.size() <= 1) return;
    const std::string prefix(word.substr(0, static_cast<size_t>(map.StartDepth())));
    for (const auto& w : main_words)
      if (w.compare(0, prefix.size(), prefix) == 0 && map.Encode(w) == code && !Has(list, w))
        list.push_back(w);
  }
  bool HasLearningDictionary() override { return has_learning; }
  bool FindLearntReplacement(std::string_view word, std::string& replacement) override {
    auto it = learnt_pairs.find(std::string(word));
    if (it == learnt_pairs.end()) return false;
    replacement = it->second;
    return true;
  }
  bool IsLearntWord(std::string_view word) override { return learnt_words.count(std::string(word)) > 0; }
  void LearnReplacement(std::string_view old_word, std::string_view new_word) override {
    learnt_pairs.emplace(std::string(old_word), std::string(new_word));
    learnt_words.emplace(new_word);
  }
};

struct Fixture {
  FakeSources sources;
  TSuggestionsGenerator generator;
  TPhoneticsMap map;
  TSuggestionSettings settings;

  std::vector<std::string> Suggest(const std::string& word, int max = -1) {
    std::vector<std::string> out;
    BuildSuggestions(word, max, out, sources, generator, map, settings);
    return out;
  }
  // The edit candidates alone, in the order they were found.
  std::vector<std::string> Edits(const std::string& word, int max = -1) {
    std::vector<std::string> out;
    generator.GenerateWithCase(word, max, [this](const std::string& w) {
      return WordExistsForSuggestions(w, sources, settings.Options);
    }, out);
    return out;
  }
};

TEST(SuggestionCharSets, HaveTheFixedBytesInOrder) {
  const std::string_view lower = LowerCaseCharSet();
  const std::string_view full = FullCharSet();
  ASSERT_EQ(lower.size(), 67u);
  ASSERT_EQ(full.size(), 122u);
  EXPECT_EQ(lower.substr(0, 27), "'abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(lower.substr(27, 3), "\xD7\xDE\xDF");
  EXPECT_EQ(lower.substr(62), "\xB8\xA8\xB9\xB3\xBF");
  EXPECT_EQ(full.substr(0, 53), "'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(static_cast<unsigned char>(full[53]), 0xC0);
  EXPECT_EQ(static_cast<unsigned char>(full[116]), 0xFF);
  EXPECT_EQ(full.substr(117), "\xB8\xA8\xB9\xB3\xBF");
  for (std::string_view set : {lower, full}) {
    std::set<char> distinct(set.begin(), set.end());
    EXPECT_EQ(distinct.size(), set.size()) << "a letter is tried twice";
  }
}

TEST(SuggestionsGenerator, LanguageChoosesDefaultsAndExtraFirstLetters) {
  TSuggestionsGenerator g;
  EXPECT_EQ(g.SuggestionTypes(), 31u);
  EXPECT_EQ(g.StartCharSet(), FullCharSet());
  struct Case {
    int language;
    unsigned types;
    std::string extra;
  };
  const std::vector<Case> cases = {
      {1029, 31, "\x9A\x9D\x9E\x8A\x8D\x8E"},  // Czech letters not yet in the full set
      {1036, 31, "\x9C"},
      {1049, 31, "\xB2\xA2\xB1\xA1\xBC\xAC\xB6\xA6"},
      {kSwedish, 15, ""},
      {kEnglishUS, 31, ""},
  };
  for (const auto& c : cases) {
    g.SetLanguage(c.language);
    EXPECT_EQ(g.SuggestionTypes(), c.types) << "language " << c.language;
    EXPECT_EQ(g.StartCharSet(), std::string(FullCharSet()) + c.extra) << "language " << c.language;
  }
  g.SetTypes(4);
  EXPECT_FALSE(g.UseDefaultTypes());
  g.SetLanguage(kSwedish);
  EXPECT_EQ(g.SuggestionTypes(), 4u) << "explicit types must survive a language change";
  g.UseDefaults();
  EXPECT_EQ(g.SuggestionTypes(), 15u);
}

TEST(SuggestionsGenerator, FindsEditsInStepOrder) {
  Fixture f;
  // swap, insert inside, delete, replace inside, replace first
  f.sources.main_words = {"the", "hate", "he", "hue", "ate"};
  EXPECT_EQ(Join(f.Edits("hte")), "[the, hate, he, hue, ate]");
  // distance-2 swap comes after every one-letter edit, the split last
  f.sources.main_words = {"abdc", "cbad", "ab", "cd", "abcde"};
  EXPECT_EQ(Join(f.Edits("abcd")), "[abdc, abcde, cbad, ab cd]");
}

TEST(SuggestionsGenerator, TwoLetterWordGetsNoSwaps) {
  Fixture f;
  f.sources.main_words = {"ab", "bac"};
  const auto edits = f.Edits("ba");
  EXPECT_FALSE(Has(edits, "ab")) << Join(edits);
  EXPECT_TRUE(Has(edits, "bac")) << Join(edits);
}

TEST(SuggestionsGenerator, ThreeLetterWordGetsNoDistanceTwoSwaps) {
  Fixture f;
  f.sources.main_words = {"bac", "cba", "acb", "cbad"};
  const auto three = f.Edits("abc");
  EXPECT_TRUE(Has(three, "bac")) << Join(three);
  EXPECT_TRUE(Has(three, "acb")) << Join(three);
  EXPECT_FALSE(Has(three, "cba")) << Join(three);
  const auto four = f.Edits("abcd");
  EXPECT_TRUE(Has(four, "cbad")) << Join(four);
}

TEST(SuggestionsGenerator, SwedishGetsNoSplits) {
  Fixture f;
  f.sources.main_words = {"house", "boat"};
  EXPECT_EQ(Join(f.Edits("houseboat")), "[house boat]");
  f.generator.SetLanguage(kSwedish);
  EXPECT_EQ(Join(f.Edits("houseboat")), "[]");
}

TEST(SuggestionsGenerator, NeverOffersCapitalsOfAKnownSmallLetterWord) {
  Fixture f;
  f.sources.main_words = {"london"};
  const auto both = f.Suggest("ondon");
  EXPECT_EQ(Join(both), "[london]");
  // Known only with its capital, the capitalised word is the right answer.
  f.sources.main_words = {"London"};
  EXPECT_EQ(Join(f.Suggest("ondon")), "[London]");
}

TEST(SuggestionsGenerator, DropsCandidatesWithCapitalsInsideMixedCase) {
  Fixture f;
  f.sources.main_words = {"McDonald", "NASA", "Nasa"};
  EXPECT_EQ(Join(f.Edits("McDonaldx")), "[]");
  EXPECT_EQ(Join(f.Edits("NASAX")), "[NASA]");
}

TEST(SuggestionsGenerator, SplitsASentenceGluedAtAPeriod) {
  Fixture f;
  f.sources.main_words = {"end", "the"};
  EXPECT_TRUE(Has(f.Edits("end.The"), "end.  The")) << Join(f.Edits("end.The"));
  EXPECT_FALSE(Has(f.Edits("end.the"), "end.  the")) << Join(f.Edits("end.the"));
  EXPECT_EQ(Join(f.Edits("end.The.")), "[]") << "two periods";
  EXPECT_EQ(Join(f.Edits("end.Thx")), "[]") << "the second part must exist";
}

TEST(SuggestionsGenerator, MixedCaseWordIsAlsoTriedInItsPlainForms) {
  Fixture f;
  f.sources.main_words = {"hello", "there"};
  // "hEllo" becomes "hello", which is known as it stands.
  EXPECT_TRUE(Has(f.Edits("hEllo"), "hello")) << Join(f.Edits("hEllo"));
  // "THere" becomes "There": the replace pass keeps its letters, and "There"
  // exists through its small-letter form.
  EXPECT_TRUE(Has(f.Edits("THere"), "There")) << Join(f.Edits("THere"));
}

TEST(SuggestionsGenerator, HonoursItsLimits) {
  Fixture f;
  f.sources.main_words = {"aab", "abb", "bab", "cab", "dab", "eab"};
  // The list may hold one more than max: fullness is tested before adding.
  EXPECT_EQ(f.Edits("ab", 2).size(), 3u) << Join(f.Edits("ab", 2));
  EXPECT_EQ(f.Edits("ab", 0).size(), 0u);
  EXPECT_EQ(f.Edits("ab", -1).size(), 6u) << Join(f.Edits("ab", -1));
  EXPECT_EQ(f.Edits("ab", -7).size(), 6u) << "any negative max is no limit";

  f.sources.main_words = {std::string(249, 'a'), std::string(250, 'a')};
  EXPECT_FALSE(f.Edits(std::string(250, 'a')).empty()) << "250 letters may be edited";
  EXPECT_TRUE(f.Edits(std::string(251, 'a')).empty()) << "longer words are not";

  std::vector<std::string> list;
  f.generator.Generate("ab", -1, nullptr, list);
  EXPECT_TRUE(list.empty());
}

TEST(SuggestionDistance, CountsSwappedNeighboursAsOneEdit) {
  struct Case {
    std::string a, b;
    int distance;
  };
  const std::vector<Case> cases = {
      {"abc", "abc", 0},   {"kitten", "sitting", 3}, {"abc", "", 3},
      {"ab", "ba", 1},     {"form", "from", 1},      {"teh", "the", 1},
      {"acress", "caress", 1},
      {"aa", "aa", 0},     // equal neighbours are no swap
      {"abcd", "badc", 1},  // two swaps, each taking one edit off the three
      {"aba", "bab", 1},    // after a swap the next position is skipped
      {"abc", "bca", 2},    // a rotation is not a swap
  };
  for (const auto& c : cases)
    EXPECT_EQ(SuggestionDistance(c.a, c.b), c.distance) << c.a << " / " << c.b;
  EXPECT_EQ(SuggestionDistance(std::string(255, 'a'), "a"), 255) << "long words score by length";
  EXPECT_EQ(SuggestionDistance("a", std::string(300, 'b')), 300);
  EXPECT_EQ(SuggestionDistance(std::string(254, 'a'), std::string(254, 'a')), 0);
}

TEST(BuildSuggestions, MappingDictionaryAnswersAlone) {
  Fixture f;
  f.sources.main_words = {"teh", "the", "ten"};
  f.sources.mapping["teh"] = "the";
  std::vector<std::string> out = {"stale"};
  BuildSuggestions("teh", -1, out, f.sources, f.generator, f.map, f.settings);
  EXPECT_EQ(Join(out), "[the]");
  EXPECT_EQ(f.sources.lookups, 0);
}

TEST(BuildSuggestions, RanksByDistanceWithTheExchangeSortsOrder) {
  Fixture f;
  f.generator.SetTypes(0);
  f.sources.use_override = true;
  // Distances 2, 2, 1: the exchange sort brings the third forward by swapping
  // it with the first, so the two ties end up reversed.
  f.sources.phonetic_override = {"abcdefXY", "abcdefZZ", "abcdefgZ"};
  EXPECT_EQ(Join(f.Suggest("abcdefgh")), "[abcdefgZ, abcdefZZ, abcdefXY]");
}

TEST(BuildSuggestions, MaxSuggestionsKeepsTheBestInSortOrder) {
  Fixture f;
  f.sources.main_words = {"cart", "card", "care", "cairo", "cars", "carts", "cat"};
  const auto all = f.Suggest("carr");
  ASSERT_GT(all.size(), 3u) << Join(all);
  EXPECT_EQ(Join(f.Suggest("carr", 3)), Join({all[0], all[1], all[2]}));
  EXPECT_EQ(Join(f.Suggest("carr", 0)), "[]");

  // Sound-alikes found in no particular order: the cut comes after sorting.
  f.generator.SetTypes(0);
  f.sources.use_override = true;
  f.sources.phonetic_override = {"abcdefXY", "abcdefZZ", "abcdefgZ", "abcdXYZW", "abcdefgY"};
  EXPECT_EQ(Join(f.Suggest("abcdefgh")), "[abcdefgZ, abcdefgY, abcdefXY, abcdefZZ, abcdXYZW]");
  EXPECT_EQ(Join(f.Suggest("abcdefgh", 3)), "[abcdefgZ, abcdefgY, abcdefXY]");
}

TEST(BuildSuggestions, DropsSoundAlikesThatAreTooFarAway) {
  Fixture f;
  f.generator.SetTypes(0);
  f.sources.use_override = true;
  f.sources.phonetic_override = {"abcdXY", "abcdXYZ", "abXYZW"};  // distances 2, 3, 4
  EXPECT_EQ(Join(f.Suggest("abcd")), "[abcdXY]");  // 4 div 2
  // Edit candidates stay whatever their distance.
  f.generator.SetTypes(16);
  f.sources.use_override = false;
  f.sources.main_words = {"ab", "cd"};
  EXPECT_EQ(Join(f.Suggest("abcd")), "[ab cd]");
}

TEST(BuildSuggestions, FallsBackToDefaultRulesWhenEnglishFindsTooLittle) {
  Fixture f;
  f.sources.language = kEnglishUS;
  f.sources.main_words = {"graph"};
  f.Suggest("graf");
  EXPECT_EQ(f.sources.phonetic_languages, (std::vector<int>{kEnglishUS, 0}));
  // The next request reloads the language's own rules.
  f.sources.phonetic_languages.clear();
  f.Suggest("graf");
  EXPECT_EQ(f.sources.phonetic_languages, (std::vector<int>{kEnglishUS, 0}));
  f.settings.FallbackToDefaultMap = false;
  f.sources.phonetic_languages.clear();
  EXPECT_EQ(Join(f.Suggest("graf")), "[graph]");
  EXPECT_EQ(f.sources.phonetic_languages, (std::vector<int>{kEnglishUS}));
}

TEST(BuildSuggestions, AdjustHookRunsAfterEachRuleChange) {
  Fixture f;
  int adjusted = 0;
  f.settings.OnAdjustPhoneticsMap = [&](TPhoneticsMap& map) {
    ++adjusted;
    map.SetStartDepth(1);
  };
  f.sources.main_words = {"iqhude"};
  f.Suggest("iqude");
  f.Suggest("iqude");
  EXPECT_EQ(adjusted, 1);
  EXPECT_EQ(f.map.StartDepth(), 1);
  f.settings.PhoneticSuggestions = false;
  f.sources.phonetic_languages.clear();
  f.Suggest("iqude");
  EXPECT_TRUE(f.sources.phonetic_languages.empty());
}

TEST(BuildSuggestions, LearntReplacementComesFirst) {
  Fixture f;
  f.sources.main_words = {"the", "ten", "tea", "tech", "teg"};
  f.sources.has_learning = true;
  const auto before = f.Suggest("teh");
  ASSERT_FALSE(before.empty());

  // Not among the candidates: inserted at the top.
  f.sources.LearnReplacement("teh", "Tehran");
  auto after = f.Suggest("teh");
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after.front(), "Tehran") << Join(after);
  EXPECT_EQ(after.size(), before.size() + 1) << Join(after);

  // Among the candidates: that entry moves to the top.
  f.sources.learnt_pairs.clear();
  f.sources.LearnReplacement("teh", "tech");
  after = f.Suggest("teh");
  EXPECT_EQ(after.front(), "tech") << Join(after);
  EXPECT_EQ(std::count(after.begin(), after.end(), "tech"), 1) << Join(after);
}

TEST(BuildSuggestions, LearntReplacementDifferingInCaseIsAnotherEntry) {
  Fixture f;
  f.sources.main_words = {"the"};
  f.sources.has_learning = true;
  f.sources.LearnReplacement("teh", "The");
  EXPECT_EQ(Join(f.Suggest("teh")), "[The, the]");
}

TEST(BuildSuggestions, LearntWordsWinTies) {
  Fixture f;
  f.generator.SetTypes(0);
  f.sources.use_override = true;
  f.sources.phonetic_override = {"abcdefXY", "abcdefZZ"};
  f.sources.has_learning = true;
  EXPECT_EQ(Join(f.Suggest("abcdefgh")), "[abcdefXY, abcdefZZ]");
  f.sources.learnt_words = {"abcdefZZ"};
  EXPECT_EQ(Join(f.Suggest("abcdefgh")), "[abcdefZZ, abcdefXY]");
}

TEST(WordExistsForSuggestions, TriesSmallLettersAndPossessives) {
  FakeSources s;
  s.main_words = {"paris", "John"};
  s.custom_words = {"ubaba"};
  struct Case {
    std::string word;
    bool primary_only;
    bool english;
    bool exists;
  };
  const std::vector<Case> cases = {
      {"paris", false, false, true},   {"Paris", false, false, true},
      {"PARIS", false, false, true},   {"john", false, false, false},
      {"ubaba", false, false, true},   {"ubaba", true, false, false},
      {"UBABA", false, false, true},   {"John's", false, false, false},
      {"John's", false, true, true},   {"Mary's", false, true, false},
  };
  for (const auto& c : cases) {
    s.language = c.english ? kEnglishUS : 0;
    TSpellOptions options;
    options.Set(TSpellOption::soPrimaryOnly, c.primary_only);
    EXPECT_EQ(WordExistsForSuggestions(c.word, s, options), c.exists)
        << c.word << (c.primary_only ? " (primary only)" : "") << (c.english ? " (English)" : "");
  }
}

}  // namespace
}  // namespace tovuri
