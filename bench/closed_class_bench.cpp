#include <benchmark/benchmark.h>

#include <string_view>

#include "analyser/adjective_forms.h"
#include "analyser/closed_class.h"

namespace {

// Each word contains "na" and "-", begins with "yil" and ends in one of "nke",
// "dwa" and "phi", so every check it can reach builds its whole list, and none
// of them accepts it.
// The last two end like the commonest pronoun stems, so the pronoun check
// cannot pass over their groups.
constexpr std::string_view kRejected[] = {"yilna-nke", "yilna-dwa", "yilna-phi", "yilna-lowo",
                                          "yilna-mi"};

void BM_ClosedClassRejectsWordPassingPreTests(benchmark::State& state) {
  const std::string_view word = kRejected[state.range(0)];
  state.SetLabel(std::string(word));
  for (auto _ : state) benchmark::DoNotOptimize(tovuri::IsClosedClassWord(word));
}
BENCHMARK(BM_ClosedClassRejectsWordPassingPreTests)
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMicrosecond);

// An adjective entry checked through the matcher, for a word it does not make
// (every form is tested) and for one it makes early.
void BM_AdjectiveEntryThroughMatcher(benchmark::State& state) {
  const std::string_view word = state.range(0) == 0 ? "ngingomkhulu" : "kwabakhulu";
  state.SetLabel(std::string(word));
  for (auto _ : state) {
    tovuri::FormMatcher matcher(word);
    tovuri::GenerateAdjectiveForms("adj", "", "khulu", "", matcher);
    benchmark::DoNotOptimize(matcher.Found());
  }
}
BENCHMARK(BM_AdjectiveEntryThroughMatcher)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

void BM_AdjectiveEntryIntoList(benchmark::State& state) {
  for (auto _ : state) {
    tovuri::FormList list;
    tovuri::GenerateAdjectiveForms("adj", "", "khulu", "", list);
    benchmark::DoNotOptimize(list.forms.data());
  }
}
BENCHMARK(BM_AdjectiveEntryIntoList)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
