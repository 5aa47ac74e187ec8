// lexicon_candidates: proposes lexicon entries from the words of frequency
// lists (word<TAB>count) that the checker rejects. For each rejected word in
// lower case it finds the verb and noun entries whose generated forms would
// hold it, groups the words each entry explains and prints the entries best
// evidence first. It never changes the lexicon: an engineer reads the
// proposals and adds those a speaker's grammar backs.
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "checker/ndebele_checker.h"
#include "entry_proposals.h"
#include "spell/ox3Encoding.h"
#include "private_home.h"

namespace {

using namespace tovuri;
namespace fs = std::filesystem;

constexpr std::string_view kUsage =
    "Usage: lexicon_candidates [--data DIR] [--top N] [--min-forms N] [--min-uses N] FREQ.tsv...\n"
    "  --data DIR       data files (dictionary.txt, Ndebele.oxm) from DIR\n"
    "  --top N          print the N best proposals (default 300; 0: all)\n"
    "  --min-forms N    print only proposals explaining N distinct words or more (default 1)\n"
    "  --min-uses N     propose only shapes (tag, prefix, final) that N lexicon entries have (default 3)\n"
    "  --min-stem N     propose only stems of N letters or more, final letter aside (default 3)\n"
    "Each proposal: the dictionary line, the distinct rejected words it explains, the samples\n"
    "they occur in, the accepted words of the samples it would also make, then its words\n"
    "(and, after '+', words a better proposal took).\n";

struct Options {
  std::string data_dir = ProgramDir();
  size_t top = 300;
  size_t min_forms = 1;
  size_t min_uses = 3;
  size_t min_stem = 3;
  std::vector<std::string> files;
};

bool IsLowerWord(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::islower(c); });
}


std::string Utf8(const std::string& s) { return Windows1252ToUtf8(s); }

int Run(const Options& options) {
  const PrivateHome home("tovuri-candidates");
  BuildLexicon(options.data_dir, [](const LexiconWarning&) {});
  PrepareWordCheck();
  TNdebeleChecker checker(options.data_dir, TLearning::lnDoNotLearn);

  // Distinct lower-case words of letters, with the samples that hold them.
  std::map<std::string, uint32_t> samples;
  for (size_t f = 0; f < options.files.size(); ++f) {
    std::ifstream in(options.files[f]);
    if (!in) {
      std::cerr << "lexicon_candidates: cannot read " << options.files[f] << '\n';
      return 2;
    }
    std::string line;
    while (std::getline(in, line)) {
      const std::optional<std::string> word = Utf8ToWindows1252(line.substr(0, line.find('\t')));
      if (word && IsLowerWord(*word)) samples[*word] |= 1u << std::min<size_t>(f, 31);
    }
  }
  std::vector<SampleWord> rejected;
  std::vector<std::string> accepted;
  for (const auto& [word, in] : samples) {
    if (checker.IsAccepted(word))
      accepted.push_back(word);
    else
      rejected.push_back({word, in});
  }

  const EntryProposer proposer(LexiconShapes(TheLexicon(), options.min_uses), options.min_stem);
  const std::vector<Proposal> ranked = RankProposals(proposer, rejected, accepted);
  std::cout << "rejected lower-case words: " << rejected.size() << " of " << samples.size()
            << "; proposals: " << ranked.size() << '\n';
  size_t shown = 0, explained = 0;
  for (const Proposal& p : ranked) {
    if (p.words.size() < options.min_forms) continue;
    if (options.top != 0 && shown == options.top) break;
    ++shown;
    explained += p.words.size();
    std::cout << Utf8(p.entry.Line()) << "\tforms " << p.words.size() << "\tsamples " << p.Samples()
              << "\taccepted " << p.accepted_forms << "\t";
    for (const std::string& w : p.words) std::cout << ' ' << Utf8(w);
    if (!p.also.empty()) {
      std::cout << " +";
      for (const std::string& w : p.also) std::cout << ' ' << Utf8(w);
    }
    std::cout << '\n';
  }
  std::cout << "shown: " << shown << " proposals explaining " << explained << " rejected words\n";
  checker.Close();
  return 0;
}

std::optional<size_t> Number(const char* text) {
  char* end = nullptr;
  const unsigned long long n = std::strtoull(text, &end, 10);
  if (end == text || *end != '\0') return std::nullopt;
  return static_cast<size_t>(n);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto number = [&](size_t& out) {
      std::optional<size_t> n = i + 1 < argc ? Number(argv[++i]) : std::nullopt;
      if (!n) {
        std::cerr << "lexicon_candidates: " << arg << " needs a number\n";
        std::exit(2);
      }
      out = *n;
    };
    if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--data" && i + 1 < argc) {
      options.data_dir = argv[++i];
      if (!options.data_dir.empty() && options.data_dir.back() != '/') options.data_dir += '/';
    } else if (arg == "--top") {
      number(options.top);
    } else if (arg == "--min-forms") {
      number(options.min_forms);
    } else if (arg == "--min-stem") {
      number(options.min_stem);
    } else if (arg == "--min-uses") {
      number(options.min_uses);
    } else if (!arg.empty() && arg[0] == '-') {
      std::cerr << "lexicon_candidates: unknown option " << arg << "; try --help\n";
      return 2;
    } else {
      options.files.push_back(arg);
    }
  }
  if (options.files.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  return Run(options);
}
