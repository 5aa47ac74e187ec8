#include "checker/ndebele_suggestions.h"

#include <algorithm>
#include <queue>
#include <cstdio>
#include <unordered_map>
#include <utility>

#include "checker/ndebele_error_model.h"
#include "common/ansi_case.h"

namespace tovuri {

namespace {

struct Candidate {
  std::string word;
  double cost;  // slip plus prior, before the verdict's share
};

bool ByCostThenWord(const Candidate& a, const Candidate& b) {
  return a.cost != b.cost ? a.cost < b.cost : a.word < b.word;
}

bool InDictionaries(const std::string& word, TSuggestionSources& sources) {
  if (sources.WordInDictionaries(word)) return true;
  const std::string lower = AnsiLowerCase(word);
  return lower != word && sources.WordInDictionaries(lower);
}

// The cost of the kWanted-th best word found so far.
class BestCosts {
 public:
  void Add(double cost) {
    heap_.push(cost);
    best_ = std::min(best_, cost);
    if (heap_.size() > TNdebeleSuggestions::kWanted) heap_.pop();
  }
  bool Full() const { return heap_.size() == TNdebeleSuggestions::kWanted; }
  // Whether cost could still make a list worth reading: not kMargin behind the best found.
  bool Hopeless(double cost) const { return (Full() && cost >= heap_.top()) || cost > best_ + TNdebeleSuggestions::kHopeless; }
  double Worst() const { return heap_.top(); }

 private:
  std::priority_queue<double> heap_;
  double best_ = 1e300;
};

}  // namespace

TNdebeleSuggestions::TNdebeleSuggestions(std::shared_ptr<const TLetterModel> letters, TWordAnalyser analyse,
                                         Budget budget)
    : letters_(std::move(letters)), analyse_(std::move(analyse)), budget_(budget) {}

TNdebeleSuggestions::TNdebeleSuggestions(LetterModelFile letters, TWordAnalyser analyse, Budget budget)
    : letter_model_path_(std::move(letters.path)), analyse_(std::move(analyse)), budget_(budget) {}

const TLetterModel* TNdebeleSuggestions::Letters() {
  std::call_once(letters_read_, [this] {
    if (letter_model_path_.empty()) return;
    auto letters = std::make_shared<TLetterModel>();
    // Without the file the ranking rests on the slips and the verdicts alone;
    // a file that fails its check is not used, and that is said.
    if (letters->Load(letter_model_path_))
      letters_ = std::move(letters);
    else if (!letters->Problem().empty() && report_)
      report_(letter_model_path_, letters->Problem() +
                                      "; the letter model is not used, and suggestions are ranked without it");
  });
  return letters_.get();
}

void TNdebeleSuggestions::Extend(std::string_view word, TSuggestionSources& sources,
                                 std::vector<std::string>& ranked) {
  // Read before the clock starts: reading the model is not the search's time.
  const TLetterModel* letters = Letters();
  const auto deadline = std::chrono::steady_clock::now() + budget_.max_time;
  std::unordered_map<std::string, double> slips;
  // As in the framework, a word too long for edits gets none: its candidates
  // alone would take hundreds of times its length.
  if (word.size() <= TSuggestionsGenerator::kMaxWordLength) {
    ForEachSlipCorrection(word, [&](const std::string& candidate, double cost) {
      if (candidate.size() < 2) return;
      auto [at, added] = slips.try_emplace(candidate, cost);
      if (!added) at->second = std::min(at->second, cost);
    });
  }
  const std::vector<double> word_costs = letters ? letters->LetterCosts(word) : std::vector<double>();
  auto prior = [&](const std::string& candidate) {
    return letters ? kLetterWeight * letters->CostNear(candidate, word, word_costs) : 0.0;
  };

  // The dictionaries' suggestions are words already; the farther ones cost
  // one arbitrary slip plus a further edit for each edit beyond the first.
  std::vector<Candidate> found;
  BestCosts best;
  for (std::string& suggestion : ranked) {
    const auto slip = slips.find(suggestion);
    const int distance = SuggestionDistance(word, suggestion);
    double cost = slip != slips.end()
                      ? slip->second
                      : kEditCosts.wrong + kEditCosts.per_further_edit * std::max(0, distance - 1);
    cost += prior(suggestion);
    if (slip != slips.end()) slips.erase(slip);
    best.Add(cost);
    found.push_back({std::move(suggestion), cost});
  }

  std::vector<Candidate> queue;
  queue.reserve(slips.size());
  for (auto& [candidate, cost] : slips) queue.push_back({candidate, cost + prior(candidate)});
  std::sort(queue.begin(), queue.end(), ByCostThenWord);

  // Cheapest first, so that a spent budget leaves out the least likely. A
  // candidate that could not make the list even as a dictionary word ends
  // the search: the wanted number are found and cheaper, or the best found
  // is far ahead.
  size_t analysed = 0;
  for (Candidate& candidate : queue) {
    if (best.Hopeless(candidate.cost)) break;
    if (candidate.word == word) continue;
    if (std::chrono::steady_clock::now() > deadline) break;
    if (!InDictionaries(candidate.word, sources)) {
      // Past the analyser's share, the dictionaries may still answer.
      if (analysed == budget_.max_analysed) continue;
      ++analysed;
      if (!analyse_ || !analyse_(candidate.word)) continue;
      candidate.cost += kAnalysedOnly;
    }
    best.Add(candidate.cost);
    found.push_back(std::move(candidate));
  }

  std::sort(found.begin(), found.end(), ByCostThenWord);
  ranked.clear();
  for (Candidate& candidate : found) ranked.push_back(std::move(candidate.word));
}

}  // namespace tovuri
