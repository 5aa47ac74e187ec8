#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "analyser/lexicon.h"
#include "analyser/word_check.h"

namespace {

using namespace tovuri;

void BM_BuildLexicon(benchmark::State& state) {
  for (auto _ : state) BuildLexicon(TOVURI_SOURCE_DATA_DIR, nullptr);
  state.counters["entries"] = static_cast<double>(TheLexicon().size());
}
BENCHMARK(BM_BuildLexicon)->Unit(benchmark::kMicrosecond);

void CheckWord(benchmark::State& state, const char* word) {
  BuildLexicon(TOVURI_SOURCE_DATA_DIR, nullptr);
  bool accepted = false;
  for (auto _ : state) {
    accepted = IsNdebeleWord(word);
    benchmark::DoNotOptimize(accepted);
  }
  state.SetLabel(std::string(word) + (accepted ? " accepted" : " rejected"));
}
BENCHMARK_CAPTURE(CheckWord, accepted, "koPhezukonke")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CheckWord, accepted_verb, "bayahamba")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CheckWord, rejected, "bayahambaza")->Unit(benchmark::kMicrosecond);

// The reference path collects every form of a pass before looking: the cost
// that the matching sink avoids.
void CheckWordByReference(benchmark::State& state, const char* word) {
  BuildLexicon(TOVURI_SOURCE_DATA_DIR, nullptr);
  bool accepted = false;
  for (auto _ : state) {
    accepted = IsNdebeleWordReference(word);
    benchmark::DoNotOptimize(accepted);
  }
  state.SetLabel(std::string(word) + (accepted ? " accepted" : " rejected"));
}
BENCHMARK_CAPTURE(CheckWordByReference, accepted_verb, "bayahamba")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CheckWordByReference, rejected, "bayahambaza")
    ->Unit(benchmark::kMillisecond);

// A lexicon of 5000 made-up verbs (about 130 000 entries with the derived
// ones), to show how the candidate scan grows with the lexicon.
void BM_IsNdebeleWordLargeLexicon(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "tovuri-bench-lexicon";
  std::filesystem::create_directories(dir);
  {
    std::ofstream out(dir / "dictionary.txt", std::ios::binary);
    const char* syllables[] = {"ba", "ka", "la", "ma", "na", "pha", "sa", "tha", "wa", "za"};
    for (int i = 0; i < 5000; ++i)
      out << "verb,uku-" << syllables[i % 10] << syllables[i / 10 % 10] << syllables[i / 100 % 10]
          << syllables[i / 1000 % 10] << "ka,,x\r\n";
    std::ofstream(dir / "passives.txt", std::ios::binary) << "ukubona\r\n";
  }
  BuildLexicon(dir.string(), nullptr);
  for (auto _ : state) benchmark::DoNotOptimize(IsNdebeleWord("bayahambaza"));
  state.counters["entries"] = static_cast<double>(TheLexicon().size());
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_IsNdebeleWordLargeLexicon)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
