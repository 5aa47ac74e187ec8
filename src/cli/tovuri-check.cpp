// tovuri-check: checks files and words with the whole spelling pipeline, and
// runs the Ndebele word analyser's parts from the command line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analyser/form_sink.h"
#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "checker/ndebele_checker.h"
#include "cli/query_command.h"
#include "cli/text_input.h"
#include "common/spelling_service_names.h"
#include "spell/ox3Encoding.h"
#include "spell/ox3MainDictionary.h"
#include "spell/ox3PhoneticsMap.h"
#include "spell/ox3SpellBase.h"
#include "spell/ox3SuggestionSources.h"
#include "spell/ox3Suggestions.h"

namespace {

using namespace tovuri;

constexpr std::string_view kUsage =
    "Usage: tovuri-check [--data DIR] [--no-learn] COMMAND ARGUMENTS...\n"
    "\n"
    "Commands:\n"
    "  -l [FILE...]                  list every word of the files (standard input\n"
    "                                when none is given, or \"-\") that neither the\n"
    "                                dictionaries nor the analyser accept, as\n"
    "                                FILE:LINE:COLUMN: word\n"
    "  --words WORD...               print each word, a tab, and yes or no: the\n"
    "                                verdict of the whole pipeline\n"
    "  --analyse WORD...             print each word, a tab, and yes or no: the\n"
    "                                analyser's verdict\n"
    "  --forms TAG PREFIX STEM FINAL [ATTRIBUTE]\n"
    "                                print every form the generator for TAG makes of\n"
    "                                one entry, in generation order (\"\" for empty)\n"
    "  --suggest WORD...             print \"WORD: s1, s2, ...\" for each word: the\n"
    "                                suggestions from the main dictionaries (*.oxm,\n"
    "                                Ndebele.oxm first) in the data directory\n"
    "  --query WORD...               print the running desktop program's answer\n"
    "                                for each word (\"Yes WORD\" or \"No WORD\"),\n"
    "                                asked over D-Bus; it learns the words that\n"
    "                                only its analyser accepts\n"
    "  --help                        show this text\n"
    "\n"
    "Options:\n"
    "  --data DIR                    read dictionary.txt, passives.txt and the main\n"
    "                                dictionaries from DIR\n"
    "  --reference                   reach verdicts by making and collecting every\n"
    "                                form (slow; to compare with the usual path)\n"
    "  --stats                       print to standard error the words analysed and\n"
    "                                the time spent on verdicts and on start-up\n"
    "  --no-learn                    do not add the words that only the analyser\n"
    "                                accepts to the custom dictionary\n"
    "  --service NAME                for --query: the bus name (org.tovuri.tovuri),\n"
    "                                or the name of the program to ask (tovuri)\n"
    "\n"
    "The custom dictionary and the settings are the desktop program's: Ndebele.oxu\n"
    "in $XDG_DATA_HOME/Tovuri, and $XDG_CONFIG_HOME/Tovuri/Ndebele.reg.\n"
    "Files are read as UTF-8 (as Windows-1252 when they are not valid UTF-8);\n"
    "words and forms are UTF-8 on the command line and on output.\n"
    "Exit status: 0 done (every word accepted), 1 a word was not accepted,\n"
    "2 bad usage or unreadable data; --query: 1 also when the program cannot\n"
    "be asked.\n";

constexpr int kExitRejected = 1;
constexpr int kExitUsage = 2;

struct Options {
  std::optional<std::string> data_dir;
  bool reference = false;  // verdicts from the generate-and-collect path
  bool stats = false;      // timings on standard error at the end
  bool learn = true;
  std::string service{kSpellingDefaultProgram};  // whom --query asks
};

// Where the time goes: start-up (loading, index building) and verdicts.
struct Timing {
  using Clock = std::chrono::steady_clock;
  Clock::time_point start = Clock::now();
  Clock::duration startup{};
  Clock::duration verdicts{};
  size_t words = 0;
};

Timing& TheTiming() {
  static Timing timing;
  return timing;
}

// The analyser's verdict on one Windows-1252 word, timed.
bool Verdict(const Options& options, std::string_view word) {
  Timing& timing = TheTiming();
  const auto start = Timing::Clock::now();
  // Whatever ran before the first verdict (loading, index building) is start-up.
  if (timing.words == 0 && timing.startup == Timing::Clock::duration{})
    timing.startup = start - timing.start;
  const bool accepted = options.reference ? IsNdebeleWordReference(word) : IsNdebeleWord(word);
  timing.verdicts += Timing::Clock::now() - start;
  ++timing.words;
  return accepted;
}

void PrintTiming() {
  const Timing& timing = TheTiming();
  const auto ms = [](Timing::Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
  };
  std::fprintf(stderr, "analysed %zu words in %.3f ms\nstart-up %.3f ms\n", timing.words,
               ms(timing.verdicts), ms(timing.startup));
}

// The checker's data folder: --data, else the program's own folder.
std::string AppDir(const Options& options) { return options.data_dir ? *options.data_dir : ProgramDir(); }

TLearning Learning(const Options& options) {
  return options.learn ? TLearning::lnLearn : TLearning::lnDoNotLearn;
}

// The analyser's verdict as the options ask for it, timed.
TNdebeleChecker::Analyse AnalyseFor(const Options& options) {
  return [&options](std::string_view word) { return Verdict(options, word); };
}

// Loads the lexicon, printing its warnings as "file:line: message".
bool LoadData(const Options& options) {
  const LexiconWarningHandler warn = [](const LexiconWarning& w) {
    std::cerr << Windows1252ToUtf8(w.file);
    if (w.line > 0) std::cerr << ':' << w.line;
    std::cerr << ": " << Windows1252ToUtf8(w.message) << '\n';
  };
  try {
    if (options.data_dir)
      BuildLexicon(*options.data_dir, warn);
    else
      BuildLexicon(warn);
  } catch (const LexiconError& error) {
    std::cerr << "tovuri-check: " << error.what() << '\n';
    return false;
  }
  return true;
}

// The word check index is otherwise built at the first word the analyser sees,
// so text the dictionaries know entirely never pays for it; timings want it
// built before the first verdict.
void PrepareForStats(const Options& options) {
  if (options.stats && !options.reference) PrepareWordCheck();
}

int Analyse(const Options& options, const std::vector<std::string>& words) {
  if (!LoadData(options)) return kExitUsage;
  PrepareForStats(options);
  TheTiming().startup = Timing::Clock::now() - TheTiming().start;
  bool all_accepted = true;
  for (const std::string& word : words) {
    // A word that Windows-1252 cannot hold cannot be Ndebele either.
    const std::optional<std::string> ansi = Utf8ToWindows1252(word);
    const bool accepted = ansi && Verdict(options, *ansi);
    all_accepted = all_accepted && accepted;
    std::cout << word << '\t' << (accepted ? "yes" : "no") << '\n';
  }
  return all_accepted ? 0 : kExitRejected;
}

// Prints each form as it is made, so a long list is never held in memory.
class PrintingSink final : public FormSink {
 public:
  using FormSink::Add;
  void Add(std::initializer_list<std::string_view> pieces) override {
    form_.clear();
    for (std::string_view piece : pieces) form_ += piece;
    std::cout << Windows1252ToUtf8(form_) << '\n';
  }

 private:
  std::string form_;
};

int Forms(const Options& options, const std::vector<std::string>& args) {
  std::vector<std::string> fields;
  for (const std::string& arg : args) {
    std::optional<std::string> ansi = Utf8ToWindows1252(arg);
    if (!ansi) {
      std::cerr << "tovuri-check: not Windows-1252 text: " << arg << '\n';
      return kExitUsage;
    }
    fields.push_back(std::move(*ansi));
  }
  fields.resize(5);  // the attribute is optional
  if (!LoadData(options)) return kExitUsage;
  PrintingSink sink;
  if (!GenerateFormsForTag(fields[0], fields[1], fields[2], fields[3], fields[4], sink)) {
    std::cerr << "tovuri-check: no generator for the tag " << args[0] << '\n';
    return kExitUsage;
  }
  return 0;
}

// Ranked suggestions from the program's main dictionaries, as the spelling
// dialog would offer them.
int Suggest(const Options& options, const std::vector<std::string>& words) {
  namespace fs = std::filesystem;
  const fs::path dir = options.data_dir ? fs::path(*options.data_dir) : fs::path(ProgramDir());
  std::vector<fs::path> paths;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir, error))
    if (entry.path().extension() == ".oxm") paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end(), [](const fs::path& a, const fs::path& b) {
    return std::pair(a.filename() != "Ndebele.oxm", a) < std::pair(b.filename() != "Ndebele.oxm", b);
  });
  std::vector<std::unique_ptr<TMainDictionary>> mains;
  TDictionarySuggestionSources sources;
  for (const fs::path& path : paths) {
    auto dictionary = std::make_unique<TMainDictionary>();
    if (!dictionary->Open(path.string())) continue;
    sources.MainDictionaries.push_back(dictionary.get());
    mains.push_back(std::move(dictionary));
  }
  if (mains.empty()) {
    std::cerr << "tovuri-check: no main dictionary (*.oxm) in " << dir.string() << '\n';
    return kExitUsage;
  }
  TSuggestionsGenerator generator;
  generator.SetLanguage(mains.front()->Language());
  TPhoneticsMap map;
  std::vector<std::string> suggestions;
  for (const std::string& word : words) {
    suggestions.clear();
    if (const std::optional<std::string> ansi = Utf8ToWindows1252(word))
      BuildSuggestions(*ansi, -1, suggestions, sources, generator, map, TSuggestionSettings{});
    std::cout << word << ':';
    if (suggestions.empty()) std::cout << " (no suggestions)";
    for (size_t i = 0; i < suggestions.size(); ++i)
      std::cout << (i == 0 ? " " : ", ") << Windows1252ToUtf8(suggestions[i]);
    std::cout << '\n';
  }
  return 0;
}

int ListUnknown(const Options& options, const std::vector<std::string>& files) {
  if (!LoadData(options)) return kExitUsage;
  PrepareForStats(options);
  TNdebeleChecker checker(AppDir(options), Learning(options), AnalyseFor(options));
  const std::vector<std::string> names = files.empty() ? std::vector<std::string>{"-"} : files;
  bool listed = false;
  bool unreadable = false;
  std::string bytes;
  for (const std::string& name : names) {
    if (!ReadInput(name, bytes)) {
      std::cerr << "tovuri-check: cannot read " << name << '\n';
      unreadable = true;
      continue;
    }
    std::string text = ToWindows1252(bytes);
    std::vector<size_t> line_starts{0};
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n') line_starts.push_back(i + 1);
    checker.Check(text, [&](const std::string& word, TTextPos position) {
      const size_t at = static_cast<size_t>(position.x);
      const auto line = std::upper_bound(line_starts.begin(), line_starts.end(), at) - line_starts.begin();
      const size_t column = at - line_starts[static_cast<size_t>(line) - 1] + 1;
      std::cout << name << ':' << line << ':' << column << ": " << Windows1252ToUtf8(word) << '\n';
      listed = true;
    });
  }
  checker.Close();
  std::cout.flush();
  if (unreadable) return kExitUsage;
  return listed ? kExitRejected : 0;
}

int Words(const Options& options, const std::vector<std::string>& words) {
  if (!LoadData(options)) return kExitUsage;
  PrepareForStats(options);
  TNdebeleChecker checker(AppDir(options), Learning(options), AnalyseFor(options));
  bool all_accepted = true;
  for (const std::string& word : words) {
    const bool accepted = checker.IsAccepted(ToWindows1252(word));
    all_accepted = all_accepted && accepted;
    std::cout << word << '\t' << (accepted ? "yes" : "no") << '\n';
  }
  checker.Close();
  return all_accepted ? 0 : kExitRejected;
}

int Query(const Options& options, const std::vector<std::string>& words) {
  return QueryWords(options.service, words);
}

int Help(const Options&, const std::vector<std::string>&) {
  std::cout << kUsage;
  return 0;
}

using Run = int (*)(const Options&, const std::vector<std::string>&);
struct Command {
  std::string_view name;
  size_t min_args;
  size_t max_args;
  Run run;
};

constexpr size_t kAny = std::numeric_limits<size_t>::max();
constexpr Command kCommands[] = {
    {"-l", 0, kAny, ListUnknown},
    {"--words", 1, kAny, Words},
    {"--analyse", 1, kAny, Analyse},
    {"--forms", 4, 5, Forms},
    {"--suggest", 1, kAny, Suggest},
    {"--query", 1, kAny, Query},
    {"--help", 0, 0, Help},
};

int UsageError(std::string_view problem) {
  std::cerr << "tovuri-check: " << problem << "\n\n" << kUsage;
  return kExitUsage;
}

bool IsOption(std::string_view arg) { return arg.size() > 1 && arg[0] == '-'; }

}  // namespace

int main(int argc, char** argv) {
  TheTiming();  // start-up is timed from here
  std::ios::sync_with_stdio(false);
  Options options;
  const Command* command = nullptr;
  std::vector<std::string> args;
  bool options_ended = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (options_ended || !IsOption(arg)) {
      args.emplace_back(arg);
    } else if (arg == "--") {
      options_ended = true;
    } else if (arg == "--reference") {
      options.reference = true;
    } else if (arg == "--stats") {
      options.stats = true;
    } else if (arg == "--no-learn") {
      options.learn = false;
    } else if (arg == "--data") {
      if (++i == argc) return UsageError("--data needs a directory");
      options.data_dir = argv[i];
    } else if (arg == "--service") {
      if (++i == argc) return UsageError("--service needs a name");
      options.service = argv[i];
    } else {
      const Command* found = nullptr;
      for (const Command& c : kCommands)
        if (c.name == arg) found = &c;
      if (!found) return UsageError("unknown option " + std::string(arg));
      if (command) return UsageError("give only one command");
      command = found;
    }
  }
  if (!command) return UsageError("no command given");
  if (args.size() < command->min_args || args.size() > command->max_args)
    return UsageError("wrong number of arguments for " + std::string(command->name));
  const int status = command->run(options, args);
  if (options.stats) PrintTiming();
  return status;
}
