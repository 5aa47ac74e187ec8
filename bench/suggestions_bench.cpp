// Suggestions for misspelt words of 4, 8 and 14 letters against a compiled
// main dictionary of 100,000 generated words. Reports the mean and the 99th
// percentile time per word in milliseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <ctime>
#include <string>
#include <vector>

#include "spell/ox3DictionaryCompiler.h"
#include "spell/ox3MainDictionary.h"
#include "spell/ox3PhoneticsMap.h"
#include "spell/ox3SuggestionSources.h"
#include "spell/ox3Suggestions.h"

namespace {

using namespace tovuri;
namespace fs = std::filesystem;

constexpr size_t kDictionaryWords = 100000;
constexpr size_t kWordsPerLength = 300;
constexpr int kEnglishUS = 1033;

// A fixed linear congruential generator, so every platform builds the same words.
class Sequence {
 public:
  explicit Sequence(uint64_t seed) : state_(seed) {}
  uint32_t Next(uint32_t bound) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(state_ >> 33) % bound;
  }

 private:
  uint64_t state_;
};

// Words built from Bantu-like syllables, 2 to 16 letters long.
std::vector<std::string> GenerateWords() {
  static const char* const kOnsets[] = {"b", "bh", "d", "dl", "f", "g", "h", "hl", "j", "k",
                                        "kh", "l", "m", "mb", "n", "nd", "ng", "nk", "nt", "ny",
                                        "p", "ph", "s", "sh", "t", "th", "tsh", "v", "w", "y",
                                        "z", "zw", "c", "q", "x", "gc", "nq"};
  static const char* const kVowels[] = {"a", "e", "i", "o", "u"};
  Sequence random(20261207);
  std::set<std::string> words;
  while (words.size() < kDictionaryWords) {
    const size_t target = 2 + random.Next(15);
    std::string word;
    if (random.Next(3) == 0) word += kVowels[random.Next(5)];
    while (word.size() < target) {
      word += kOnsets[random.Next(std::size(kOnsets))];
      word += kVowels[random.Next(5)];
    }
    word.resize(target);
    words.insert(word);
  }
  return {words.begin(), words.end()};
}

// The dictionary file and the misspellings, built once for all benchmarks.
struct Corpus {
  fs::path dir;
  std::vector<std::string> words;
  std::string path_default, path_english;

  Corpus() {
    std::string pattern = (fs::temp_directory_path() / "tovuri-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir = pattern;
    words = GenerateWords();
    path_default = Write("ndebele.oxm", 0);
    path_english = Write("english.oxm", kEnglishUS);
  }
  ~Corpus() { fs::remove_all(dir); }

  std::string Write(const std::string& name, int language) const {
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << CompileMainDictionary(words, "Bench", language).bytes;
    return path;
  }

  // Stored words of this length, each changed by one edit into a non-word.
  std::vector<std::string> Misspellings(size_t length, const TMainDictionary& dictionary) const {
    Sequence random(length);
    std::vector<std::string> out;
    for (const std::string& word : words) {
      if (word.size() != length || random.Next(4) != 0) continue;
      std::string bad = word;
      const size_t at = 1 + random.Next(static_cast<uint32_t>(length - 1));
      switch (out.size() % 4) {
        case 0: bad[at] = static_cast<char>('a' + random.Next(26)); break;
        case 1: std::swap(bad[at - 1], bad[at]); break;
        case 2: bad.erase(at, 1); break;
        default: bad.insert(at, 1, static_cast<char>('a' + random.Next(26))); break;
      }
      if (dictionary.Lookup(bad)) continue;
      out.push_back(bad);
      if (out.size() == kWordsPerLength) break;
    }
    return out;
  }
};

const Corpus& SharedCorpus() {
  static const Corpus corpus;
  return corpus;
}

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Mean(const std::vector<double>& values) {
  double total = 0;
  for (double v : values) total += v;
  return total / static_cast<double>(values.size());
}

double Percentile99(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, values.size() * 99 / 100)];
}

void BM_Suggestions(benchmark::State& state, bool english) {
  const Corpus& corpus = SharedCorpus();
  TMainDictionary dictionary;
  if (!dictionary.Open(english ? corpus.path_english : corpus.path_default)) {
    state.SkipWithError("cannot open the dictionary");
    return;
  }
  TDictionarySuggestionSources sources;
  sources.MainDictionaries.push_back(&dictionary);
  TSuggestionsGenerator generator;
  generator.SetLanguage(dictionary.Language());
  TPhoneticsMap map;
  TSuggestionSettings settings;

  const std::vector<std::string> words = corpus.Misspellings(static_cast<size_t>(state.range(0)), dictionary);
  std::vector<double> ms, cpu_ms;
  std::vector<std::string> out;
  size_t next = 0;
  size_t suggestions = 0;
  for (auto _ : state) {
    const std::string& word = words[next++ % words.size()];
    const double cpu_start = ThreadCpuMs();
    const auto start = std::chrono::steady_clock::now();
    BuildSuggestions(word, -1, out, sources, generator, map, settings);
    const auto stop = std::chrono::steady_clock::now();
    cpu_ms.push_back(ThreadCpuMs() - cpu_start);
    ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    suggestions += out.size();
    benchmark::DoNotOptimize(out.data());
  }
  if (ms.empty()) return;
  state.counters["mean_ms"] = Mean(ms);
  state.counters["p99_ms"] = Percentile99(ms);
  // The same on this thread's CPU clock, which waiting for a shared core does not inflate.
  state.counters["cpu_mean_ms"] = Mean(cpu_ms);
  state.counters["cpu_p99_ms"] = Percentile99(cpu_ms);
  state.counters["suggestions"] = static_cast<double>(suggestions) / static_cast<double>(ms.size());
}

BENCHMARK_CAPTURE(BM_Suggestions, default_rules, false)->Arg(4)->Arg(8)->Arg(14)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Suggestions, english_rules, true)->Arg(4)->Arg(8)->Arg(14)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
