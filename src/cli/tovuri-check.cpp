// tovuri-check: checks files and words with the whole spelling pipeline, and
// runs the Ndebele word analyser's parts from the command line.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analyser/form_sink.h"
#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "checker/ndebele_checker.h"
#include "cli/explain_command.h"
#include "cli/pipe_mode.h"
#include "cli/query_command.h"
#include "cli/suggest_command.h"
#include "cli/text_input.h"
#include "common/spelling_service_names.h"
#include "spell/ox3Encoding.h"
#include "spell/ox3SpellBase.h"
#include "common/version.h"

namespace {

using namespace tovuri;

constexpr std::string_view kUsage =
    "Usage: tovuri-check [--data DIR] [--no-learn] [--no-english] COMMAND ARGUMENTS...\n"
    "       tovuri-check -a [-p FILE] [-d DICT] [-i ENCODING]\n"
    "\n"
    "Commands:\n"
    "  -l [FILE...]                  list every word of the files (standard input\n"
    "                                when none is given, or \"-\") that neither the\n"
    "                                dictionaries nor the analyser accept, one a\n"
    "                                line, as ispell -l does for editors (Emacs)\n"
    "  --list [FILE...]              the same as FILE:LINE:COLUMN: word, for\n"
    "                                scripts: exit status 1 when a word is listed\n"
    "  --words WORD...               print each word, a tab, and yes or no: the\n"
    "                                verdict of the whole pipeline\n"
    "  --explain WORD...             print why each word is accepted or rejected:\n"
    "                                the dictionary or lexicon entry (line, generator,\n"
    "                                verb pattern row), or the nearest entries\n"
    "  --analyse WORD...             print each word, a tab, and yes or no: the\n"
    "                                analyser's verdict\n"
    "  --forms TAG PREFIX STEM FINAL [ATTRIBUTE]\n"
    "                                print every form the generator for TAG makes of\n"
    "                                one entry, in generation order (\"\" for empty)\n"
    "  --suggest WORD...             print \"WORD: s1, s2, ...\" for each word: the\n"
    "                                ranked suggestions, with the words the analyser\n"
    "                                accepts among them\n"
    "  --query WORD...               print the running desktop program's answer\n"
    "                                for each word (\"Yes WORD\" or \"No WORD\"),\n"
    "                                asked over D-Bus; it learns the words that\n"
    "                                only its analyser accepts\n"
    "  -a                            answer the ispell pipe protocol on standard\n"
    "                                input and output (UTF-8), for editors\n"
    "  -vv                           print the ispell-style version line\n"
    "  -h, --help                    show this text\n"
    "  --version                     show the version\n"
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
    "  --no-english                  accept no English words (by default a word of\n"
    "                                English.oxm is accepted when capitalised, alone\n"
    "                                or after a Ndebele prefix: South, kweleSouth;\n"
    "                                the option \"Accept English names\" turns it off too)\n"
    "  --dictionaries-only           --suggest: the suggestions of the main\n"
    "                                dictionaries (*.oxm, Ndebele.oxm first) in the\n"
    "                                data directory alone, as the framework ranks them\n"
    "  -p FILE                       with -a or -l: also accept the words of FILE, a\n"
    "                                UTF-8 word list, one a line\n"
    "  -i ENCODING, --encoding=ENCODING\n"
    "                                with -a: the encoding; only UTF-8 is spoken\n"
    "  -d DICT, -m, -B, -C, -S       with -a: accepted for editors and ignored\n"
    "                                (the one dictionary is Ndebele)\n"
    "  --service NAME                for --query: the bus name (org.tovuri.tovuri),\n"
    "                                or the name of the program to ask (tovuri)\n"
    "\n"
    "Words that only the analyser accepts are learnt (by -l, --list and --words)\n"
    "into the custom dictionary Ndebele.oxu in $XDG_DATA_HOME/Tovuri\n"
    "(~/.local/share/Tovuri); -a learns nothing unasked. The settings\n"
    "are read from $XDG_CONFIG_HOME/Tovuri/Ndebele.reg (~/.config/Tovuri).\n"
    "The data files are found beside the program, else in ../share/tovuri\n"
    "beside its folder, else in " TOVURI_INSTALL_DATADIR ".\n"
    "Files are read as UTF-8, or UTF-16 with a byte-order mark (a byte that is\n"
    "not UTF-8 as Windows-1252); a word with a letter Windows-1252 lacks is\n"
    "never accepted;\n"
    "words and forms are UTF-8 on the command line and on output.\n"
    "Exit status: 0 done (every word accepted; -l and -a: done), 1 a word was\n"
    "not accepted, 2 bad usage, unreadable data or files, or a word that could\n"
    "not be saved; --query: 1 also when the program cannot be asked.\n";

constexpr int kExitRejected = 1;
constexpr int kExitUsage = 2;

struct Options {
  std::optional<std::string> data_dir;
  bool reference = false;  // verdicts from the generate-and-collect path
  bool stats = false;      // timings on standard error at the end
  bool learn = true;
  bool dictionaries_only = false;  // --suggest: the main dictionaries' suggestions alone
  bool english = true;  // false: no English words, whatever the user's setting says
  std::vector<std::string> word_lists;  // -p: words accepted for the session
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

// Editors read -a and -l output with standard error merged into it (Emacs
// does): a notice there would be read as the protocol, so it is withheld.
bool& NoticesWithheld() {
  static bool withheld = false;
  return withheld;
}

bool StderrSharesStdout() {
  struct stat out {}, err {};
  if (::fstat(STDOUT_FILENO, &out) != 0 || ::fstat(STDERR_FILENO, &err) != 0) return false;
  return out.st_dev == err.st_dev && out.st_ino == err.st_ino && !::isatty(STDERR_FILENO);
}

// Problems with the data and the user's files, said on standard error as
// they happen.
void ReportProblem(const std::string& message) {
  if (!NoticesWithheld()) std::cerr << "tovuri-check: " << message << '\n';
}

TLearning Learning(const Options& options) {
  return options.learn ? TLearning::lnLearn : TLearning::lnDoNotLearn;
}

// The analyser's verdict as the options ask for it, timed.
TWordAnalyser AnalyseFor(const Options& options) {
  return [&options](std::string_view word) { return Verdict(options, word); };
}

// Loads the lexicon, printing its warnings as "file:line: message".
bool LoadData(const Options& options) {
  const LexiconWarningHandler warn = [](const LexiconWarning& w) {
    if (NoticesWithheld()) return;
    std::cerr << Windows1252ToUtf8(w.file);
    if (w.line > 0) std::cerr << ':' << w.line;
    std::cerr << ": " << Windows1252ToUtf8(w.message) << '\n';
  };
  SetWordCheckIndexNotice(ReportProblem);
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
    const std::string ansi = Utf8ToFrameworkText(word);
    const bool accepted = !HasForeignChar(ansi) && Verdict(options, ansi);
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

// The suggestions every front end offers (the analyser's words among them),
// or with --dictionaries-only the main dictionaries' alone.
int Suggest(const Options& options, const std::vector<std::string>& words) {
  if (options.dictionaries_only) return PrintDictionarySuggestions(AppDir(options), words) ? 0 : kExitUsage;
  if (!LoadData(options)) return kExitUsage;
  TNdebeleChecker checker(AppDir(options), TLearning::lnDoNotLearn, AnalyseFor(options), ReportProblem);
  if (!options.english) checker.SetEnglishWords(false);
  PrintSuggestions(checker, words);
  checker.Close();
  return 0;
}

// How -l and --list show a word that is not accepted.
enum class TListing { lsBareWords, lsPositions };

// Accepts for the session the words of the -p word lists; false (said) when
// one cannot be read.
bool AcceptWordLists(const Options& options, TNdebeleChecker& checker) {
  for (const std::string& file : options.word_lists) {
    if (!AcceptWordList(checker, file)) {
      std::cerr << "tovuri-check: cannot read " << file << '\n';
      return false;
    }
  }
  return true;
}

// Checks the files line by line, as the ignore rules expect (a quoted line is
// one that starts with a quote character), reading a bounded piece at a time.
int ListUnknown(const Options& options, const std::vector<std::string>& files, TListing listing) {
  if (!LoadData(options)) return kExitUsage;
  PrepareForStats(options);
  TNdebeleChecker checker(AppDir(options), Learning(options), AnalyseFor(options), ReportProblem);
  if (!options.english) checker.SetEnglishWords(false);
  if (!AcceptWordLists(options, checker)) return kExitUsage;
  const std::vector<std::string> names = files.empty() ? std::vector<std::string>{"-"} : files;
  bool listed = false;
  bool failed = false;
  try {
    std::string piece;
    std::u32string characters;
    size_t line = 0;
    size_t column = 0;
    for (const std::string& name : names) {
      TextLineReader reader;
      std::string problem;
      switch (reader.Open(name, problem)) {
        case TextLineReader::Opened::kFailed:
          std::cerr << "tovuri-check: cannot read " << name << ": " << problem << '\n';
          failed = true;
          continue;
        case TextLineReader::Opened::kBinary:
          std::cerr << "tovuri-check: cannot read " << name << " as text: it " << problem << '\n';
          failed = true;
          continue;
        case TextLineReader::Opened::kText:
          break;
      }
      while (reader.Next(piece, characters, line, column)) {
        checker.Check(piece, [&](const std::string& word, TTextPos position) {
          // The word is shown as written, whatever characters it holds.
          const auto start = static_cast<size_t>(position.x);
          if (listing == TListing::lsPositions) std::cout << name << ':' << line << ':' << column + start + 1 << ": ";
          std::cout << ToUtf8(std::u32string_view(characters).substr(start, word.size())) << '\n';
          listed = true;
        });
      }
      if (reader.Failed()) {
        std::cerr << "tovuri-check: cannot read " << name << " to its end\n";
        failed = true;
      }
    }
  } catch (const std::bad_alloc&) {
    // Never "every word accepted" for a text that was not checked whole.
    std::cout.flush();
    std::cerr << "tovuri-check: out of memory\n";
    return kExitUsage;
  }
  const bool saved = checker.Close();
  std::cout.flush();
  if (failed || !saved) return kExitUsage;
  // ispell -l, as editors call it, lists and is done.
  return listed && listing == TListing::lsPositions ? kExitRejected : 0;
}

int ListBareWords(const Options& options, const std::vector<std::string>& files) {
  return ListUnknown(options, files, TListing::lsBareWords);
}

int ListPositions(const Options& options, const std::vector<std::string>& files) {
  return ListUnknown(options, files, TListing::lsPositions);
}

int Words(const Options& options, const std::vector<std::string>& words) {
  if (!LoadData(options)) return kExitUsage;
  PrepareForStats(options);
  TNdebeleChecker checker(AppDir(options), Learning(options), AnalyseFor(options), ReportProblem);
  if (!options.english) checker.SetEnglishWords(false);
  bool all_accepted = true;
  for (const std::string& word : words) {
    const bool accepted = checker.IsAccepted(Utf8ToFrameworkText(word));
    all_accepted = all_accepted && accepted;
    std::cout << word << '\t' << (accepted ? "yes" : "no") << '\n';
  }
  std::cout.flush();
  if (!checker.Close()) return kExitUsage;
  return all_accepted ? 0 : kExitRejected;
}

int Explain(const Options& options, const std::vector<std::string>& words) {
  if (!LoadData(options)) return kExitUsage;
  TNdebeleChecker checker(AppDir(options), TLearning::lnDoNotLearn, AnalyseFor(options), ReportProblem);
  if (!options.english) checker.SetEnglishWords(false);
  const int status = ExplainWords(checker, words, std::cout);
  checker.Close();
  return status == 0 ? 0 : kExitRejected;
}

// The ispell pipe protocol for editors. An editor's buffer is checked over
// and over: the words only the analyser accepts are remembered for the run,
// never written into the user's files unasked.
int Pipe(const Options& options, const std::vector<std::string>&) {
  if (!LoadData(options)) return kExitUsage;
  TNdebeleChecker checker(AppDir(options), TLearning::lnDoNotLearn, AnalyseFor(options), ReportProblem);
  if (!options.english) checker.SetEnglishWords(false);
  if (!AcceptWordLists(options, checker)) return kExitUsage;
  const bool kept = RunPipeMode(checker, std::cin, std::cout, ReportProblem);
  checker.Close();
  return kept ? 0 : kExitUsage;
}

int IspellVersion(const Options&, const std::vector<std::string>&) {
  std::cout << kIspellBanner << '\n';
  return 0;
}

int Query(const Options& options, const std::vector<std::string>& words) {
  return QueryWords(options.service, words);
}

int Help(const Options&, const std::vector<std::string>&) {
  std::cout << kUsage;
  return 0;
}

int Version(const Options&, const std::vector<std::string>&) {
  std::cout << "tovuri-check " TOVURI_VERSION "\n";
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
    {"-l", 0, kAny, ListBareWords},
    {"--list", 0, kAny, ListPositions},
    {"--words", 1, kAny, Words},
    {"--explain", 1, kAny, Explain},
    {"--analyse", 1, kAny, Analyse},
    {"--forms", 4, 5, Forms},
    {"--suggest", 1, kAny, Suggest},
    {"-a", 0, 0, Pipe},
    {"-vv", 0, 0, IspellVersion},
    {"--query", 1, kAny, Query},
    {"--help", 0, 0, Help},
    {"-h", 0, 0, Help},
    {"--version", 0, 0, Version},
};

int UsageError(std::string_view problem) {
  std::cerr << "tovuri-check: " << problem << "; try --help\n";
  return kExitUsage;
}

bool IsOption(std::string_view arg) { return arg.size() > 1 && arg[0] == '-'; }

// Editors name the pipe's encoding; only UTF-8 is spoken.
bool IsUtf8Name(std::string_view name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return lower == "utf-8" || lower == "utf8";
}

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
    } else if (arg == "--dictionaries-only") {
      options.dictionaries_only = true;
    } else if (arg == "--no-english") {
      options.english = false;
    } else if (arg == "--data") {
      if (++i == argc) return UsageError("--data needs a directory");
      options.data_dir = argv[i];
    } else if (arg == "-m" || arg == "-B" || arg == "-C" || arg == "-S") {
      // ispell's options for the words it runs together; nothing to do here.
    } else if (arg == "-d" || arg == "-p" || arg == "-i") {
      if (++i == argc) return UsageError(std::string(arg) + " needs a value");
      if (arg == "-p") options.word_lists.emplace_back(argv[i]);
      if (arg == "-i" && !IsUtf8Name(argv[i])) return UsageError("only UTF-8 is spoken, not " + std::string(argv[i]));
    } else if (arg.starts_with("--encoding=")) {
      if (!IsUtf8Name(arg.substr(11))) return UsageError("only UTF-8 is spoken, not " + std::string(arg.substr(11)));
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
  std::error_code error;
  const bool reads_data = command->run != Help && command->run != Version;
  if (reads_data && options.data_dir && !std::filesystem::is_directory(*options.data_dir, error)) {
    std::cerr << "tovuri-check: no such data folder: " << *options.data_dir << '\n';
    return kExitUsage;
  }
  if (command->run == Pipe || command->run == ListBareWords) NoticesWithheld() = StderrSharesStdout();
  const int status = command->run(options, args);
  if (options.stats) PrintTiming();
  return status;
}
