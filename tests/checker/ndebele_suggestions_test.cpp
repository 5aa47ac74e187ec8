#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "checker/ndebele_error_model.h"
#include "checker/ndebele_suggestions.h"

namespace tovuri {
namespace {

// Dictionaries that hold a fixed set of words and nothing else.
class WordSetSources final : public TSuggestionSources {
 public:
  explicit WordSetSources(std::set<std::string> words) : words_(std::move(words)) {}
  bool FindMapping(std::string_view, std::string&) override { return false; }
  bool WordInMainDictionaries(std::string_view word) override { return words_.contains(std::string(word)); }
  bool WordInDictionaries(std::string_view word) override { return WordInMainDictionaries(word); }
  bool HasEnglishMain() override { return false; }
  bool IsPossessiveOfKnownWord(std::string_view) override { return false; }
  bool HasMainDictionary() override { return true; }
  int PrimaryLanguage() override { return 0; }
  void EnumeratePhonetic(std::string_view, const TPhoneticsMap&, std::vector<std::string>&) override {}
  bool HasLearningDictionary() override { return false; }
  bool FindLearntReplacement(std::string_view, std::string&) override { return false; }
  bool IsLearntWord(std::string_view) override { return false; }
  void LearnReplacement(std::string_view, std::string_view) override {}

 private:
  std::set<std::string> words_;
};

struct Fixture {
  std::set<std::string> analysable;
  std::vector<std::string> asked;  // what the analyser was asked, in order
  // No time limit unless a test sets one, so a busy machine cannot change an answer.
  TNdebeleSuggestions::Budget budget{.max_time = std::chrono::hours(1)};

  std::vector<std::string> Suggest(std::string_view word, std::set<std::string> dictionary,
                                   std::vector<std::string> ranked = {}) {
    WordSetSources sources(std::move(dictionary));
    TNdebeleSuggestions suggestions(nullptr, [this](std::string_view w) {
      asked.emplace_back(w);
      return analysable.contains(std::string(w));
    }, budget);
    suggestions.Extend(word, sources, ranked);
    return ranked;
  }
};

TEST(NdebeleSuggestions, AddsWhatTheAnalyserAcceptsRankedBySlipAndVerdict) {
  Fixture f;
  f.analysable = {"abanatu", "abantwana", "abantu"};
  // abantu: two neighbours swapped, and a dictionary word; abanatu: a left
  // out letter, as likely a slip, but only the analyser knows it.
  const auto list = f.Suggest("abnatu", {"abantu", "abnat"}, {"abantu"});
  EXPECT_EQ(list, (std::vector<std::string>{"abantu", "abanatu", "abnat"}));
  EXPECT_EQ(std::count(f.asked.begin(), f.asked.end(), "abantu"), 0) << "dictionary words need no analysis";
  EXPECT_TRUE(f.asked.empty() || std::find(f.asked.begin(), f.asked.end(), "abanatu") != f.asked.end());
}

TEST(NdebeleSuggestions, EqualCostsAreOrderedByTheirBytes) {
  Fixture f;
  f.analysable = {"ukuba", "bukua", "ukuwa"};
  // ukuwa: a left out glide (1.5); bukua and ukuba: a left out letter each (2.0).
  EXPECT_EQ(f.Suggest("ukua", {}), (std::vector<std::string>{"ukuwa", "bukua", "ukuba"}));
}

TEST(NdebeleSuggestions, ASpentBudgetKeepsWhatWasFound) {
  Fixture f;
  f.analysable = {"ukuwa", "ukuba"};
  f.budget.max_analysed = 0;
  EXPECT_EQ(f.Suggest("ukua", {"ukuza"}, {"ukuze"}), (std::vector<std::string>{"ukuza", "ukuze"}));
  EXPECT_TRUE(f.asked.empty());
  f.budget.max_analysed = 1;
  EXPECT_EQ(f.Suggest("ukua", {}), std::vector<std::string>{"ukuwa"}) << "the likeliest is tried first";
  EXPECT_EQ(f.asked, std::vector<std::string>{"ukuwa"});
  f.asked.clear();
  f.budget.max_analysed = 100;
  f.budget.max_time = std::chrono::milliseconds(-1);
  EXPECT_EQ(f.Suggest("ukua", {"ukuza"}, {"ukuze"}), std::vector<std::string>{"ukuze"})
      << "out of time, the dictionaries' list is ranked as it is";
  EXPECT_TRUE(f.asked.empty());
}

TEST(NdebeleSuggestions, StopsLookingOnceEnoughLikelierWordsAreFound) {
  Fixture f;
  std::set<std::string> everything;
  ForEachSlipCorrection("ukua", [&](const std::string& w, double) { everything.insert(w); });
  f.analysable = everything;
  const auto list = f.Suggest("ukua", {});
  EXPECT_GE(list.size(), TNdebeleSuggestions::kWanted);
  // Many words are a left out letter away (2.0 + 1.5 as analysed words), so
  // none that needs an arbitrary wrong letter (5.0) is worth analysing.
  EXPECT_EQ(std::count(f.asked.begin(), f.asked.end(), "ukza"), 0);
  EXPECT_LT(f.asked.size(), everything.size());
}

TEST(NdebeleSuggestions, AWordTooLongForEditsKeepsTheDictionariesListAlone) {
  Fixture f;
  f.analysable = {"ukuwa"};
  const std::string word = std::string(TSuggestionsGenerator::kMaxWordLength - 3, 'a') + "ukua";
  EXPECT_EQ(f.Suggest(word, {}, {"ukuza"}), std::vector<std::string>{"ukuza"});
  EXPECT_TRUE(f.asked.empty());
  f.Suggest(word.substr(1), {});
  EXPECT_FALSE(f.asked.empty()) << "a word of the longest length still gets edits";
}


// Letter counts (as tools/letter_model.py writes them, order 2) of the one word "ukuba".
constexpr const char* kUkubaCounts =
    "# letter 2-grams\n"
    "$\t1\nu\t2\nk\t1\nb\t1\na\t1\n^u\t1\nuk\t1\nku\t1\nub\t1\nba\t1\na$\t1\n";

TEST(NdebeleSuggestions, TheLetterModelFileIsReadAtTheFirstRequestAndRanksAsALoadedModel) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tovuri-suggest-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path dir = pattern;
  const std::string path = (dir / "letter_model.tsv").string();
  const auto analyse = [](std::string_view w) { return w == "ukuba" || w == "bukua"; };
  const TNdebeleSuggestions::Budget budget{.max_time = std::chrono::hours(1)};
  const auto suggest = [&](TNdebeleSuggestions& suggestions) {
    WordSetSources sources({});
    std::vector<std::string> ranked;
    suggestions.Extend("ukua", sources, ranked);
    return ranked;
  };

  // Made before the file exists: a model read at once would be empty.
  TNdebeleSuggestions lazy(TNdebeleSuggestions::LetterModelFile{path}, analyse, budget);
  std::ofstream(path) << kUkubaCounts;
  auto loaded = std::make_shared<TLetterModel>();
  ASSERT_TRUE(loaded->Load(path));
  TNdebeleSuggestions eager(loaded, analyse, budget);
  TNdebeleSuggestions none(nullptr, analyse, budget);

  // Equal slips (a left out letter each): without a model the bytes decide.
  EXPECT_EQ(suggest(none), (std::vector<std::string>{"bukua", "ukuba"}));
  const std::vector<std::string> ranked = suggest(lazy);
  ASSERT_FALSE(ranked.empty());
  EXPECT_EQ(ranked.front(), "ukuba") << "the model knows the shape of ukuba";
  EXPECT_EQ(ranked, suggest(eager));
  std::filesystem::remove_all(dir);
}

// A letter model that fails its check is not used, and the file and line
// are said once, when it is read.
TEST(NdebeleSuggestions, ALetterModelThatFailsItsCheckIsSaidAndNotUsed) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tovuri-suggest-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path dir = pattern;
  const std::string path = (dir / "letter_model.tsv").string();
  std::string damaged = kUkubaCounts;
  damaged.replace(damaged.find("uk\t1"), 4, "uk\t\x31\x31");  // 1 became 11
  std::ofstream(path) << damaged;
  const auto analyse = [](std::string_view w) { return w == "ukuba" || w == "bukua"; };
  TNdebeleSuggestions suggestions(TNdebeleSuggestions::LetterModelFile{path}, analyse, {.max_time = std::chrono::hours(1)});
  std::vector<std::string> said;
  suggestions.SetReport([&](const std::string& file, const std::string& problem) { said.push_back(file + ": " + problem); });
  for (int request = 0; request < 2; ++request) {
    WordSetSources sources({});
    std::vector<std::string> ranked;
    suggestions.Extend("ukua", sources, ranked);
    EXPECT_EQ(ranked, (std::vector<std::string>{"bukua", "ukuba"})) << "ranked as without a model";
  }
  EXPECT_EQ(said, (std::vector<std::string>{
                      path + ": line 8: counted 11 times, more than the n-gram it holds at line 4 (1 times), which no "
                             "counting of words gives; the letter model is not used, and suggestions are ranked without it"}));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tovuri
