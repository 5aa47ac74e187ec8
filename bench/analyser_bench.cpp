// Verdict times of the fast word check and of the generate-and-collect
// reference on the real lexicon: accepted words, rejected words and
// misspellings of real words. Each run times every word of a fixed list once
// and reports the median and the 99th percentile in milliseconds of the
// thread's CPU time (steady on a shared machine), and the 99th percentile of
// wall time.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "check_tool.h"
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
    return MakeLists(200);
  }();
  return lists;
}

enum class Kind { kAccepted, kRejected, kMisspelt };

void Verdicts(benchmark::State& state, bool (*check)(std::string_view), Kind kind) {
  const WordLists& lists = Lists();
  const std::vector<std::string>& words = kind == Kind::kAccepted   ? lists.accepted
                                          : kind == Kind::kRejected ? lists.rejected
                                                                    : lists.misspelt;
  std::vector<double> cpu_ms;
  std::vector<double> wall_ms;
  const auto cpu_now = [] {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
  };
  for (auto _ : state) {
    for (const std::string& word : words) {
      const auto start = std::chrono::steady_clock::now();
      const double cpu_start = cpu_now();
      benchmark::DoNotOptimize(check(word));
      cpu_ms.push_back(cpu_now() - cpu_start);
      wall_ms.push_back(std::chrono::duration<double, std::milli>(
                            std::chrono::steady_clock::now() - start).count());
    }
  }
  const auto percentile = [](std::vector<double>& v, size_t p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, v.size() * p / 100)];
  };
  state.counters["words"] = static_cast<double>(cpu_ms.size());
  state.counters["median_ms"] = percentile(cpu_ms, 50);
  state.counters["p99_ms"] = percentile(cpu_ms, 99);
  state.counters["max_ms"] = cpu_ms.back();
  state.counters["wall_p99_ms"] = percentile(wall_ms, 99);
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

// "tovuri-check --list" on a text where one word in ten is a misspelling that
// no dictionary holds, so the analyser judges it; the whole program is timed.
namespace fs = std::filesystem;

constexpr int kTextWords = 5000;

fs::path WriteMixedText(const fs::path& dir) {
  std::ifstream in(std::string(TOVURI_SOURCE_DATA_DIR) + "/wordlist.txt");
  std::vector<std::string> words;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line.front() != ';') words.push_back(line);
  if (words.empty()) throw std::runtime_error("no words in wordlist.txt");
  const std::set<std::string> known(words.begin(), words.end());
  std::mt19937 random(20261207);
  std::uniform_int_distribution<size_t> pick(0, words.size() - 1);
  const fs::path path = dir / "mixed.txt";
  std::ofstream out(path, std::ios::binary);
  for (int i = 1; i <= kTextWords; ++i) {
    std::string word = words[pick(random)];
    if (i % 10 == 0) {
      // Two neighbouring letters swapped, or a "q" let in.
      const size_t at = std::uniform_int_distribution<size_t>(0, word.size() - 1)(random);
      if (at + 1 < word.size() && word[at] != word[at + 1])
        std::swap(word[at], word[at + 1]);
      else
        word.insert(at, 1, 'q');
      if (known.count(word)) word += "qx";
    }
    out << word << (i % 12 == 0 ? ".\n" : " ");
  }
  return path;
}

void ListUnknown(benchmark::State& state, const char* path_option) {
  std::string pattern = (fs::temp_directory_path() / "tovuri-analyser-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("mkdtemp failed");
    return;
  }
  const fs::path root = pattern;
  const fs::path text = WriteMixedText(root);
  for (auto _ : state) {
    const double seconds =
        bench::TimeListUnknown(root, text, std::string("--no-learn ") + path_option);
    if (seconds < 0) {
      state.SkipWithError("tovuri-check failed");
      break;
    }
    state.SetIterationTime(seconds);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kTextWords);
  std::error_code error;
  fs::remove_all(root, error);
}

BENCHMARK_CAPTURE(ListUnknown, Fast, "")
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ListUnknown, Reference, "--reference")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tovuri

BENCHMARK_MAIN();
