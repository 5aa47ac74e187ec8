// Throughput of "tovuri-check --list" on a file of 1,000,000 words, run as the
// built program: reading, converting, checking and listing, in words per
// CPU second (the manual time is the tool's CPU time).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "check_tool.h"
namespace {

namespace fs = std::filesystem;

constexpr int kWords = 1'000'000;
constexpr int kWordsPerLine = 12;

std::vector<std::string> DictionaryWords() {
  std::ifstream in(std::string(TOVURI_SOURCE_DATA_DIR) + "/wordlist.txt");
  std::vector<std::string> words;
  std::string line;
  while (std::getline(in, line))
    if (!line.empty() && line.front() != ';') words.push_back(line);
  if (words.empty()) throw std::runtime_error("no words in wordlist.txt");
  return words;
}

// A misspelling the dictionaries do not hold: two neighbouring letters
// swapped, or a letter doubled when that changes nothing.
std::string Misspell(const std::string& word, std::mt19937& random, const std::set<std::string>& known) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    std::string wrong = word;
    const size_t at = std::uniform_int_distribution<size_t>(0, wrong.size() - 1)(random);
    if (at + 1 < wrong.size() && wrong[at] != wrong[at + 1])
      std::swap(wrong[at], wrong[at + 1]);
    else
      wrong.insert(at, 1, 'q');
    if (!known.count(wrong)) return wrong;
  }
  return word + "qx";
}

// Writes a text of kWords words; every unknown_every-th word is misspelt (0: none).
fs::path WriteText(const fs::path& dir, const std::string& name, int unknown_every) {
  const std::vector<std::string> words = DictionaryWords();
  const std::set<std::string> known(words.begin(), words.end());
  std::mt19937 random(20261207);
  std::uniform_int_distribution<size_t> pick(0, words.size() - 1);
  const fs::path path = dir / name;
  std::ofstream out(path, std::ios::binary);
  for (int i = 1; i <= kWords; ++i) {
    std::string word = words[pick(random)];
    if (unknown_every > 0 && i % unknown_every == 0) word = Misspell(word, random, known);
    // A sentence starts with a capital; a word already carrying capitals (loMaMoyo)
    // is left as listed, since its capitalised spelling is a different word.
    const bool lower = std::none_of(word.begin(), word.end(),
                                    [](unsigned char c) { return std::isupper(c); });
    if (i % kWordsPerLine == 1 && lower)
      word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    out << word << (i % kWordsPerLine == 0 ? ".\n" : " ");
  }
  return path;
}

struct Fixture {
  fs::path root;
  fs::path known_text;
  fs::path mixed_text;
  Fixture() {
    std::string pattern = (fs::temp_directory_path() / "tovuri-check-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root = pattern;
    known_text = WriteText(root, "known.txt", 0);
    mixed_text = WriteText(root, "mixed.txt", 10);
  }
  ~Fixture() {
    std::error_code error;
    fs::remove_all(root, error);
  }
};

const Fixture& Texts() {
  static const Fixture fixture;
  return fixture;
}

// Each run gets a fresh home, so it starts with an empty custom dictionary
// and does the same work as the first run on a new installation.
void CheckFile(benchmark::State& state, const fs::path& text) {
  int run = 0;
  for (auto _ : state) {
    const fs::path home = Texts().root / ("home" + std::to_string(run++));
    fs::create_directories(home);
    // CPU time: the machine these run on is shared, and wall time there
    // measures the other users as much as the tool.
    const double seconds = tovuri::bench::TimeListUnknown(home, text, "", true);
    if (seconds < 0) {
      state.SkipWithError("tovuri-check failed");
      break;
    }
    state.SetIterationTime(seconds);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kWords);
}

void BM_CheckKnownWords(benchmark::State& state) { CheckFile(state, Texts().known_text); }
void BM_CheckOneInTenUnknown(benchmark::State& state) { CheckFile(state, Texts().mixed_text); }

BENCHMARK(BM_CheckKnownWords)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CheckOneInTenUnknown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
