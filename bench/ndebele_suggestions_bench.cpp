// The checker's suggestions for single-letter slips of real Ndebele words
// (bench/suggestion_words.txt, one slip each that the checker rejects), with
// the shipped data: thread CPU time per slip (mean and 99th percentile) with
// the analyser's words and with the main dictionaries' alone, and the memory
// the Ndebele suggestions add to the process.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "checker/ndebele_checker.h"
#include "checker/ndebele_spell_config.h"
#include "misspellings.h"

namespace {

using namespace tovuri;
namespace fs = std::filesystem;

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Resident memory of the process, in bytes.
double ResidentBytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// The data, a private home and the slips, made once for every benchmark.
struct Setup {
  fs::path home;
  std::unique_ptr<TNdebeleChecker> checker;
  std::vector<std::string> slips;
  double extension_bytes = 0;

  Setup() {
    std::string pattern = (fs::temp_directory_path() / "tovuri-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    home = pattern;
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    BuildLexicon(TOVURI_BIN_DIR, [](const LexiconWarning&) {});
    PrepareWordCheck();
    checker = std::make_unique<TNdebeleChecker>(TOVURI_BIN_DIR, TLearning::lnDoNotLearn);
    std::ifstream in(fs::path(TOVURI_BENCH_DIR) / "suggestion_words.txt");
    std::string word;
    while (std::getline(in, word)) {
      if (!checker->IsAccepted(word)) continue;
      const std::string slip = MakeMisspelling(word, 0);
      if (!slip.empty() && !checker->IsAccepted(slip)) slips.push_back(slip);
    }
    // What one more set of Ndebele suggestions (its letter model) holds.
    const double before = ResidentBytes();
    auto extension = NdebeleSuggestionsFor(TOVURI_BIN_DIR);
    extension_bytes = ResidentBytes() - before;
    benchmark::DoNotOptimize(extension.get());
  }
  ~Setup() {
    checker.reset();
    fs::remove_all(home);
  }
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

void BM_Suggestions(benchmark::State& state, bool dictionaries_only) {
  Setup& setup = Shared();
  if (setup.slips.empty()) {
    state.SkipWithError("no slips: is the data built?");
    return;
  }
  TOrthexSpell3Base& spell = setup.checker->Spell();
  if (dictionaries_only) spell.SetSuggestionExtension(nullptr);
  std::vector<double> cpu_ms;
  std::vector<std::string> out;
  size_t next = 0, suggestions = 0;
  for (auto _ : state) {
    const double start = ThreadCpuMs();
    spell.GetSuggestions(setup.slips[next++ % setup.slips.size()], out);
    cpu_ms.push_back(ThreadCpuMs() - start);
    suggestions += out.size();
  }
  if (dictionaries_only) spell.SetSuggestionExtension(NdebeleSuggestionsFor(TOVURI_BIN_DIR));
  double total = 0;
  for (double ms : cpu_ms) total += ms;
  std::sort(cpu_ms.begin(), cpu_ms.end());
  state.counters["cpu_mean_ms"] = total / static_cast<double>(cpu_ms.size());
  state.counters["cpu_p99_ms"] = cpu_ms[std::min(cpu_ms.size() - 1, cpu_ms.size() * 99 / 100)];
  state.counters["suggestions"] = static_cast<double>(suggestions) / static_cast<double>(cpu_ms.size());
  state.counters["slips"] = static_cast<double>(setup.slips.size());
  state.counters["added_MB"] = setup.extension_bytes / 1e6;
}

// Each slip once per run: a thousand iterations go through the list about twice.
BENCHMARK_CAPTURE(BM_Suggestions, with_analyser, false)->Iterations(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Suggestions, dictionaries_only, true)->Iterations(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
