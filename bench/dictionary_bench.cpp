#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "spell/ox3CustomDictionary.h"
#include "spell/ox3DictionaryCompiler.h"
#include "spell/ox3MainDictionary.h"

namespace {

using namespace tovuri;
namespace fs = std::filesystem;

// 100,000 distinct words shaped like Ndebele: a class or infinitive prefix,
// two to five consonant-vowel syllables and a verb or noun ending, so the
// graph shares prefixes and suffixes as a real list would.
const std::vector<std::string>& Words() {
  static const std::vector<std::string> words = [] {
    const std::vector<std::string> prefixes = {"uku", "um", "aba", "ama", "izi", "isi", "in", "izin", "ili",
                                               "ulu", "ubu", "imi", "si", "ngi", "ba", "li", "zi", "ya"};
    const std::vector<std::string> onsets = {"b", "d", "f", "g", "h", "hl", "j", "k", "kh", "l", "m", "n",
                                             "ng", "ph", "s", "sh", "th", "ts", "tsh", "v", "w", "y", "z", "dl"};
    const std::vector<std::string> vowels = {"a", "e", "i", "o", "u"};
    const std::vector<std::string> endings = {"a", "ile", "ana", "isa", "ela", "wa", "eka", "ini", "o", "e"};
    std::mt19937 rng(2024);
    auto pick = [&](const std::vector<std::string>& from) { return from[rng() % from.size()]; };
    std::set<std::string> seen;
    std::vector<std::string> out;
    while (out.size() < 100000) {
      std::string w = pick(prefixes);
      for (int n = 2 + static_cast<int>(rng() % 4); n > 0; --n) w += pick(onsets) + pick(vowels);
      w += pick(onsets) + pick(endings);
      if (seen.insert(w).second) out.push_back(w);
    }
    return out;
  }();
  return words;
}

// Words of the same shape that are not in the list.
const std::vector<std::string>& Misses() {
  static const std::vector<std::string> misses = [] {
    const std::set<std::string> stored(Words().begin(), Words().end());
    std::vector<std::string> out;
    for (const std::string& w : Words()) {
      std::string m = w;
      m[m.size() / 2] = m[m.size() / 2] == 'q' ? 'x' : 'q';
      if (!stored.count(m)) out.push_back(m);
      if (out.size() == 100000) break;
    }
    return out;
  }();
  return misses;
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tovuri-bench-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() { fs::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

TempFolder& Folder() {
  static TempFolder folder;
  return folder;
}

const TMainDictionary& Dictionary() {
  static TMainDictionary* dict = [] {
    const std::string path = Folder().File("bench.oxm");
    std::ofstream(path, std::ios::binary) << CompileMainDictionary(Words(), "Bench", 0).bytes;
    auto* d = new TMainDictionary;
    if (!d->Open(path) || !d->SetActive(true)) std::abort();
    return d;
  }();
  return *dict;
}

// The first 30,000 words: a graph small enough for 2-byte child indexes.
const TMainDictionary& SmallDictionary() {
  static TMainDictionary* dict = [] {
    const std::string path = Folder().File("small.oxm");
    const std::vector<std::string> words(Words().begin(), Words().begin() + 30000);
    std::ofstream(path, std::ios::binary) << CompileMainDictionary(words, "Small", 0).bytes;
    auto* d = new TMainDictionary;
    if (!d->Open(path) || !d->SetActive(true) || d->NodeCount() >= kMainWideIndexNodes) std::abort();
    return d;
  }();
  return *dict;
}

void BM_MainLookupHitsNarrowIndexes(benchmark::State& state) {
  const TMainDictionary& dict = SmallDictionary();
  const auto& words = Words();
  std::size_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    found += dict.Lookup(words[i]);
    if (++i == 30000) i = 0;
  }
  if (found != state.iterations()) state.SkipWithError("a stored word was not found");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MainLookupHitsNarrowIndexes);

void BM_MainLookupHits(benchmark::State& state) {
  const TMainDictionary& dict = Dictionary();
  const auto& words = Words();
  std::size_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    found += dict.Lookup(words[i]);
    if (++i == words.size()) i = 0;
  }
  if (found != state.iterations()) state.SkipWithError("a stored word was not found");
  state.SetItemsProcessed(state.iterations());
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(dict.Filename()));
  state.counters["index_bytes"] = static_cast<double>(dict.LookupIndexBytes());
}
BENCHMARK(BM_MainLookupHits);

// The walk over the file's records that Lookup's index replaces, for comparison.
void BM_MainLookupHitsInFile(benchmark::State& state) {
  const TMainDictionary& dict = Dictionary();
  const auto& words = Words();
  std::size_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    found += dict.LookupInFile(words[i]);
    if (++i == words.size()) i = 0;
  }
  if (found != state.iterations()) state.SkipWithError("a stored word was not found");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MainLookupHitsInFile);

// Mapping the file, the first 2,000 lookups that walk it, and building the
// lookup index: paid again by each mapping that serves more lookups.
void BM_MainActivateAndIndex(benchmark::State& state) {
  TMainDictionary dict;
  if (!dict.Open(Dictionary().Filename())) std::abort();
  const auto& words = Words();
  for (auto _ : state) {
    dict.SetActive(true);
    for (std::size_t i = 0; dict.LookupIndexBytes() == 0 && i < words.size(); ++i)
      benchmark::DoNotOptimize(dict.Lookup(words[i]));
    dict.SetActive(false);
  }
}
BENCHMARK(BM_MainActivateAndIndex)->Unit(benchmark::kMillisecond);

// Opening a main dictionary and mapping it for its first lookup, as each
// start of a tool does: the 100,000-word file of these benchmarks, and the
// shipped Ndebele.oxm when it is built.
void OpenAndLookUp(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    TMainDictionary dict;
    if (!dict.Open(path) || !dict.SetActive(true)) {
      state.SkipWithError(("cannot open " + path).c_str());
      return;
    }
    benchmark::DoNotOptimize(dict.Lookup("umuntu"));
  }
  state.counters["file_bytes"] = static_cast<double>(fs::file_size(path));
}

void BM_MainOpen100k(benchmark::State& state) { OpenAndLookUp(state, Dictionary().Filename()); }
BENCHMARK(BM_MainOpen100k)->Unit(benchmark::kMicrosecond);

void BM_MainOpenShipped(benchmark::State& state) {
  const std::string path = std::string(TOVURI_BIN_DIR) + "/Ndebele.oxm";
  if (!fs::exists(path)) {
    state.SkipWithError("Ndebele.oxm is not built");
    return;
  }
  OpenAndLookUp(state, path);
}
BENCHMARK(BM_MainOpenShipped)->Unit(benchmark::kMicrosecond);

// Queries drawn with Zipf-like frequencies, as words recur in running text.
void BM_MainLookupRunningText(benchmark::State& state) {
  const TMainDictionary& dict = Dictionary();
  const auto& words = Words();
  std::vector<const std::string*> queries;
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  for (int i = 0; i < 1 << 16; ++i) {
    // Rank r has probability about 1/r over the first 100,000 ranks.
    const auto rank = static_cast<std::size_t>(std::exp(u(rng) * std::log(100000.0))) - 1;
    queries.push_back(&words[std::min(rank, words.size() - 1)]);
  }
  std::size_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    found += dict.Lookup(*queries[i]);
    i = (i + 1) & 0xFFFF;
  }
  if (found != state.iterations()) state.SkipWithError("a stored word was not found");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MainLookupRunningText);

// One word over and over: the cost of the walk itself, with the file's
// bytes in the fastest cache and every branch learnt.
void BM_MainLookupSameWord(benchmark::State& state) {
  const TMainDictionary& dict = Dictionary();
  const std::string& word = Words()[12345];
  int64_t found = 0;
  for (auto _ : state) found += dict.Lookup(word);
  if (found != state.iterations()) state.SkipWithError("the word was not found");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MainLookupSameWord);

void BM_MainLookupMisses(benchmark::State& state) {
  const TMainDictionary& dict = Dictionary();
  const auto& words = Misses();
  std::size_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    found += dict.Lookup(words[i]);
    if (++i == words.size()) i = 0;
  }
  if (found != 0) state.SkipWithError("a missing word was found");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MainLookupMisses);

void BM_Compile100k(benchmark::State& state) {
  const auto& words = Words();
  std::size_t bytes = 0;
  uint32_t nodes = 0;
  for (auto _ : state) {
    const CompiledDictionary dict = CompileMainDictionary(words, "Bench", 0);
    bytes = dict.bytes.size();
    nodes = dict.node_count;
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["file_bytes"] = static_cast<double>(bytes);
  state.counters["nodes"] = nodes;
  state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(BM_Compile100k)->Unit(benchmark::kMillisecond);

void BM_CustomAdd(benchmark::State& state) {
  const auto& words = Words();
  const std::size_t count = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    TCustomDictionary dict;
    for (std::size_t i = 0; i < count; ++i) dict.AddWord(words[i]);
    benchmark::DoNotOptimize(dict.EntryCount());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(count));
}
BENCHMARK(BM_CustomAdd)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_CustomLookup(benchmark::State& state) {
  const auto& words = Words();
  TCustomDictionary dict;
  for (std::size_t i = 0; i < 10000; ++i) dict.AddWord(words[i]);
  std::size_t i = 0;
  int64_t found = 0;
  for (auto _ : state) {
    // Half hits, half misses.
    found += dict.Contains(words[i]);
    if (++i == 20000) i = 0;
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CustomLookup);

}  // namespace

BENCHMARK_MAIN();
