// suggestion_quality: how often the checker's suggestions hold the word a
// writer meant. Reads frequency lists (word<TAB>count), keeps the distinct
// words made of letters that the checker accepts, makes one reproducible
// single-letter slip of each that the checker rejects, and prints the share
// of intended words ranked first, in the first five and anywhere, with the
// thread CPU time GetSuggestions took per slip.
#include <time.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "checker/ndebele_checker.h"
#include "misspellings.h"
#include "spell/ox3Encoding.h"
#include "private_home.h"

namespace {

using namespace tovuri;
namespace fs = std::filesystem;

constexpr std::string_view kUsage =
    "Usage: suggestion_quality [--data DIR] [--every N] [--show N] [--dictionaries-only] FREQ.tsv...\n"
    "  --data DIR           data files (dictionary.txt, Ndebele.oxm) from DIR\n"
    "  --every N            use every Nth accepted word only (default 1)\n"
    "  --show N             print N slips whose word was not ranked first\n"
    "  --dictionaries-only  the main dictionaries' suggestions alone\n";

constexpr uint32_t kAttempts = 8;  // slips tried per word before giving up on it

struct Options {
  std::string data_dir = ProgramDir();
  size_t every = 1;
  size_t show = 0;
  bool dictionaries_only = false;
  std::vector<std::string> files;
};

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

bool IsLetters(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isalpha(c); });
}

// Distinct words of the lists in Windows-1252, first appearance first.
std::vector<std::string> ReadWords(const std::vector<std::string>& files) {
  std::vector<std::string> words;
  std::unordered_set<std::string> seen;
  for (const std::string& file : files) {
    std::ifstream in(file);
    if (!in) {
      std::cerr << "suggestion_quality: cannot read " << file << '\n';
      std::exit(2);
    }
    std::string line;
    while (std::getline(in, line)) {
      const std::optional<std::string> word = Utf8ToWindows1252(line.substr(0, line.find('\t')));
      if (word && IsLetters(*word) && seen.insert(*word).second) words.push_back(*word);
    }
  }
  return words;
}


double Percent(size_t part, size_t whole) { return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole); }

struct Tally {
  size_t slips = 0, first = 0, top_five = 0, anywhere = 0;
  void Add(size_t rank) {  // rank 0: not suggested
    ++slips;
    first += rank == 1;
    top_five += rank >= 1 && rank <= 5;
    anywhere += rank >= 1;
  }
  void Print(const char* what) const {
    std::printf("%-28s %6zu slips  first %5.1f%%  top five %5.1f%%  anywhere %5.1f%%\n", what, slips,
                Percent(first, slips), Percent(top_five, slips), Percent(anywhere, slips));
  }
};

int Run(const Options& options) {
  const PrivateHome home("tovuri-quality");
  BuildLexicon(options.data_dir, [](const LexiconWarning&) {});
  PrepareWordCheck();
  TNdebeleChecker checker(options.data_dir, TLearning::lnDoNotLearn);
  if (options.dictionaries_only) checker.Spell().SetSuggestionExtension(nullptr);
  const std::vector<std::string> words = ReadWords(options.files);

  Tally all, listed, analysed;
  std::vector<double> cpu_ms;
  size_t shown = 0, accepted = 0;
  std::vector<std::string> suggestions;
  for (const std::string& word : words) {
    if (!checker.IsAccepted(word) || accepted++ % options.every != 0) continue;
    std::string slip;
    for (uint32_t attempt = 0; attempt < kAttempts && slip.empty(); ++attempt) {
      slip = MakeMisspelling(word, attempt);
      if (!slip.empty() && checker.IsAccepted(slip)) slip.clear();
    }
    if (slip.empty()) continue;
    const double start = ThreadCpuMs();
    checker.Spell().GetSuggestions(slip, suggestions);
    cpu_ms.push_back(ThreadCpuMs() - start);
    const auto found = std::find(suggestions.begin(), suggestions.end(), word);
    const size_t rank = found == suggestions.end() ? 0 : static_cast<size_t>(found - suggestions.begin()) + 1;
    all.Add(rank);
    (checker.Spell().WordInMainDictionaries(word) ? listed : analysed).Add(rank);
    if (rank != 1 && shown < options.show) {
      ++shown;
      std::cout << Windows1252ToUtf8(slip) << " -> " << Windows1252ToUtf8(word) << " (rank " << rank << "):";
      for (size_t i = 0; i < suggestions.size() && i < 5; ++i) std::cout << ' ' << Windows1252ToUtf8(suggestions[i]);
      std::cout << '\n';
    }
  }
  all.Print("all");
  listed.Print("intended word in word list");
  analysed.Print("intended word analysed only");
  if (!cpu_ms.empty()) {
    double total = 0;
    for (double ms : cpu_ms) total += ms;
    std::sort(cpu_ms.begin(), cpu_ms.end());
    std::printf("thread CPU per slip: mean %.2f ms, p99 %.2f ms, max %.2f ms\n", total / static_cast<double>(cpu_ms.size()),
                cpu_ms[std::min(cpu_ms.size() - 1, cpu_ms.size() * 99 / 100)], cpu_ms.back());
  }
  checker.Close();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--data" && has_value) {
      options.data_dir = argv[++i];
    } else if (arg == "--every" && has_value) {
      options.every = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--show" && has_value) {
      options.show = static_cast<size_t>(std::max(0, std::atoi(argv[++i])));
    } else if (arg == "--dictionaries-only") {
      options.dictionaries_only = true;
    } else if (arg.starts_with("-")) {
      std::cerr << kUsage;
      return 2;
    } else {
      options.files.emplace_back(arg);
    }
  }
  if (options.files.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  return Run(options);
}
