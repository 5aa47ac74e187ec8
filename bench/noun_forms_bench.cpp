#include <benchmark/benchmark.h>

#include <cstdint>

#include "analyser/form_sink.h"
#include "analyser/lexicon.h"
#include "analyser/noun_forms.h"

namespace {

using tovuri::FormList;
using tovuri::FormMatcher;
using tovuri::GenerateNounForms;
using tovuri::Lexicon;

Lexicon HouseLexicon() {
  Lexicon lexicon;
  lexicon.LocativeWords = {"indlu"};
  lexicon.LocativeForms = {"endlini/endlwini"};
  return lexicon;
}

// Every form of one noun collected into a list.
void BM_NounFormsIntoList(benchmark::State& state) {
  const Lexicon lexicon = HouseLexicon();
  size_t forms = 0;
  for (auto _ : state) {
    FormList list;
    GenerateNounForms("in/izin", "in", "dl", "u", list, lexicon);
    forms = list.forms.size();
    benchmark::DoNotOptimize(list.forms.data());
  }
  state.counters["forms"] = static_cast<double>(forms);
}
BENCHMARK(BM_NounFormsIntoList);

// One word checked against one noun entry as the forms are made. The word is
// absent, so every form is generated and compared.
void BM_NounMatchAbsentWord(benchmark::State& state) {
  const Lexicon lexicon = HouseLexicon();
  int64_t hits = 0;
  for (auto _ : state) {
    FormMatcher matcher("ngisezindlwanini");
    GenerateNounForms("in/izin", "in", "dl", "u", matcher, lexicon);
    hits += matcher.Found() ? 1 : 0;
  }
  if (hits != 0) state.SkipWithError("an absent word was found");
}
BENCHMARK(BM_NounMatchAbsentWord);

// A word among the first shape's locative phrases: generation stops at it.
void BM_NounMatchPresentWord(benchmark::State& state) {
  const Lexicon lexicon = HouseLexicon();
  // Counted rather than passed to DoNotOptimize, which read back a wrong bool here.
  int64_t hits = 0;
  for (auto _ : state) {
    FormMatcher matcher("Ngisendlwini");
    GenerateNounForms("in/izin", "in", "dl", "u", matcher, lexicon);
    hits += matcher.Found() ? 1 : 0;
  }
  if (hits != state.iterations()) state.SkipWithError("the word was not found");
}
BENCHMARK(BM_NounMatchPresentWord);

}  // namespace

BENCHMARK_MAIN();
