// Verdict times of the fast word check and of the generate-and-collect
// reference on the real lexicon: accepted words, rejected words and
// misspellings of real words. Each run times every word of a fixed list once
// and reports the median and the 99th percentile in milliseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "analyser/form_sink.h"
#include "analyser/lexicon.h"
#include "analyser/word_check.h"

namespace tovuri {
namespace {

struct WordLists {
  std::vector<std::string> accepted, rejected, misspelt;
};

// Forms of entries of every tag; random words shaped like Ndebele that the
// analyser rejects; one-letter edits of forms that the analyser rejects.
WordLists MakeLists(size_t count) {
  const Lexicon& lexicon = TheLexicon();
  std::mt19937 random(5);
  const auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  std::map<std::string, std::vector<size_t>> by_tag;
  for (size_t i = 0; i < lexicon.size(); ++i) by_tag[lexicon.LexClass[i]].push_back(i);
  std::vector<std::string> forms;
  while (forms.size() < 4 * count) {
    for (const auto& [tag, entries] : by_tag) {
      const size_t i = entries[pick(entries.size())];
      FormList list;
      GenerateFormsForTag(tag, lexicon.LexPrefix[i], lexicon.LexStem[i], lexicon.LexFinal[i],
                          lexicon.LexInfo[i], list);
      if (!list.forms.empty()) forms.push_back(list.forms[pick(list.forms.size())]);
    }
  }
  WordLists lists;
  for (const std::string& form : forms)
    if (lists.accepted.size() < count && IsNdebeleWord(form)) lists.accepted.push_back(form);
  static const std::vector<std::string> kOnsets = {"b", "bh", "d", "dl", "g", "hl", "k", "kh",
                                                   "l", "m", "mb", "n", "nd", "ng", "ny", "ph",
                                                   "s", "th", "tsh", "y", "z", "w"};
  static constexpr std::string_view kVowels = "aeiou";
  static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz";
  while (lists.rejected.size() < count) {
    std::string word;
    for (size_t s = 2 + pick(4); s > 0; --s) {
      word += kOnsets[pick(kOnsets.size())];
      word += kVowels[pick(kVowels.size())];
    }
    if (!IsNdebeleWord(word)) lists.rejected.push_back(word);
  }
  for (size_t k = 0; lists.misspelt.size() < count; ++k) {
    std::string word = lists.accepted[k % lists.accepted.size()];
    word[pick(word.size())] = kLetters[pick(kLetters.size())];
    if (!IsNdebeleWord(word)) lists.misspelt.push_back(word);
  }
  return lists;
}

const WordLists& Lists() {
  static const WordLists lists = [] {
    BuildLexicon(TOVURI_SOURCE_DATA_DIR, [](const LexiconWarning&) {});
    PrepareWordCheck();
    return MakeLists(40);
  }();
  return lists;
}

enum class Kind { kAccepted, kRejected, kMisspelt };

void Verdicts(benchmark::State& state, bool (*check)(std::string_view), Kind kind) {
  const WordLists& lists = Lists();
  const std::vector<std::string>& words = kind == Kind::kAccepted   ? lists.accepted
                                          : kind == Kind::kRejected ? lists.rejected
                                                                    : lists.misspelt;
  std::vector<double> ms;
  for (auto _ : state) {
    for (const std::string& word : words) {
      const auto start = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(check(word));
      ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                             start).count());
    }
  }
  std::sort(ms.begin(), ms.end());
  state.counters["words"] = static_cast<double>(ms.size());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
  state.counters["max_ms"] = ms.back();
}

bool Fast(std::string_view word) { return IsNdebeleWord(word); }
bool Reference(std::string_view word) { return IsNdebeleWordReference(word); }

void FastPath(benchmark::State& state, Kind kind) { Verdicts(state, Fast, kind); }
void ReferencePath(benchmark::State& state, Kind kind) { Verdicts(state, Reference, kind); }

BENCHMARK_CAPTURE(FastPath, Accepted, Kind::kAccepted)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FastPath, Rejected, Kind::kRejected)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FastPath, Misspelt, Kind::kMisspelt)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReferencePath, Accepted, Kind::kAccepted)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReferencePath, Rejected, Kind::kRejected)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReferencePath, Misspelt, Kind::kMisspelt)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovuri

BENCHMARK_MAIN();
