// Words per second through the parsing engine with the program's default
// ignore rules, over a generated 10 MB text.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "spell/ox3Ignore.h"
#include "spell/ox3MemoryTextControl.h"
#include "spell/ox3ParseEngine.h"
#include "spell/ox3StringParser.h"
#include "spell/ox3WinAPIParser.h"

namespace {

using namespace tovuri;

constexpr size_t kTextBytes = 10u << 20;

// Ndebele running text with punctuation, numbers, abbreviations and the odd
// address, from a fixed pseudo-random sequence.
std::string MakeText() {
  static constexpr std::array<std::string_view, 24> kWords = {
      "ngiyabonga", "umuntu", "abantu", "esikolweni", "bayahamba", "lokhu", "kodwa",
      "inkosi", "amanzi", "ukudla", "sihlala", "eBulawayo", "emakhaya", "kakhulu",
      "izinyoni", "ngoba", "uMlimu", "ngangisithi", "abafundi", "ilanga", "ekuseni",
      "isikhathi", "don't", "rock'n'roll"};
  static constexpr std::array<std::string_view, 8> kExtras = {
      "3.5", "e.g.", "U.S.A.", "http://example.org/page", "info@example.org", "'quoted'",
      "AT&T", "www.example.org/x"};
  std::uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  std::string text;
  text.reserve(kTextBytes + 64);
  int in_line = 0;
  while (text.size() < kTextBytes) {
    const std::uint32_t r = next();
    text += r % 40 == 0 ? kExtras[(r / 40) % kExtras.size()] : kWords[(r / 7) % kWords.size()];
    const std::uint32_t p = next() % 16;
    if (p == 0) text += '.';
    if (p == 1) text += ',';
    if (++in_line == 12) {
      text += '\n';
      in_line = 0;
    } else {
      text += ' ';
    }
  }
  return text;
}

const std::string& Text() {
  static const std::string text = MakeText();
  return text;
}

// The rules of the program's default options (soInternet, soAbbreviations),
// bound to the engine's hooks as the checker binds them.
struct DefaultRules {
  TURLIgnore url;
  TAbbreviationsIgnore abbreviations;
  std::array<const TParserIgnore*, 1> hooked{&url};
  std::array<const TParserIgnore*, 2> all{&url, &abbreviations};

  void Bind(TMainParsingEngine& engine) const {
    engine.CharHook = [this](char c, TControlParser& parser) {
      for (const TParserIgnore* rule : hooked)
        if (rule->CharHook(c, parser)) return true;
      return false;
    };
    engine.WordHook = [this](const std::string& word, TControlParser& parser) {
      for (const TParserIgnore* rule : hooked)
        if (rule->WordHook(word, parser)) return true;
      return false;
    };
  }
  bool Ignored(std::string_view word, TControlParser* parser) const {
    for (const TParserIgnore* rule : all)
      if (rule->IgnoreWord(word, parser)) return true;
    return false;
  }
};

void Run(benchmark::State& state, TControlParser& parser, bool ask_rules) {
  const DefaultRules rules;
  TMainParsingEngine engine;
  rules.Bind(engine);
  std::int64_t words = 0;
  for (auto _ : state) {
    engine.Init(&parser, TCheckMode::cmAll);
    for (std::string word = engine.NextWord(); !word.empty(); word = engine.NextWord()) {
      if (ask_rules) benchmark::DoNotOptimize(rules.Ignored(word, &parser));
      ++words;
    }
  }
  state.counters["words/s"] = benchmark::Counter(static_cast<double>(words), benchmark::Counter::kIsRate);
  state.counters["words/pass"] = static_cast<double>(words) / static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(Text().size()));
}

void BM_StringParser(benchmark::State& state) {
  std::string text = Text();
  TStringParser parser(text);
  Run(state, parser, false);
}

void BM_StringParserWithIgnoreWord(benchmark::State& state) {
  std::string text = Text();
  TStringParser parser(text);
  Run(state, parser, true);
}

void BM_WindowParser(benchmark::State& state) {
  TMemoryTextControl control(Text());
  TWinAPIControlParser parser(control);
  Run(state, parser, false);
}

BENCHMARK(BM_StringParser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringParserWithIgnoreWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowParser)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
