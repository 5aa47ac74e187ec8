#include <benchmark/benchmark.h>

#include "analyser/form_sink.h"
#include "analyser/verb_forms.h"

namespace {

using tovuri::FormList;
using tovuri::FormMatcher;
using tovuri::GenerateVerbForms;

void AllFormsIntoList(benchmark::State& state) {
  size_t forms = 0;
  for (auto _ : state) {
    FormList list;
    GenerateVerbForms("uku", "hamb", "a", "", list);
    forms = list.forms.size();
    benchmark::DoNotOptimize(list.forms.data());
  }
  state.counters["forms"] = static_cast<double>(forms);
}
BENCHMARK(AllFormsIntoList)->Unit(benchmark::kMillisecond);

// One word checked against the entry "uku" hamb a, as the word check does.
void MatchWord(benchmark::State& state, const char* word, bool expected) {
  for (auto _ : state) {
    FormMatcher matcher(word);
    GenerateVerbForms("uku", "hamb", "a", "", matcher);
    if (matcher.Found() != expected) state.SkipWithError("unexpected verdict");
    benchmark::DoNotOptimize(matcher);
  }
}
BENCHMARK_CAPTURE(MatchWord, found_early, "ukuhamba", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MatchWord, found_late, "kasihambeni", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MatchWord, absent, "ngihambisa", false)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
