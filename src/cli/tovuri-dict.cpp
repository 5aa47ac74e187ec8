// Builds main dictionaries from word lists and manages custom dictionaries
// from a shell. Text on the command line and in the output is UTF-8; the
// files hold Windows-1252.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/index_command.h"
#include "spell/ox3CustomDictionary.h"
#include "spell/ox3DictionaryCompiler.h"
#include "spell/ox3Encoding.h"
#include "spell/ox3FileIO.h"
#include "spell/ox3MainDictionary.h"
#include "common/version.h"

namespace {

using namespace tovuri;

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

constexpr std::string_view kUsage =
    "Usage: tovuri-dict compile WORDS OUT.oxm [--title TEXT] [--language N]\n"
    "       tovuri-dict dump FILE\n"
    "       tovuri-dict add|exclude|remove FILE.oxu WORD...\n"
    "       tovuri-dict autocorrect FILE.oxu WORD REPLACEMENT\n"
    "       tovuri-dict index DIR\n"
    "       tovuri-dict -h|--help|--version\n"
    "\n"
    "compile      compiles a word list (one word a line, UTF-8 or Windows-1252)\n"
    "             into a main dictionary\n"
    "dump         lists a main dictionary's words, or a custom dictionary's\n"
    "             entries (I added, E excluded, A auto-correct pairs)\n"
    "add, exclude, remove, autocorrect\n"
    "             edit a custom dictionary, creating it (and its folder) when\n"
    "             it does not exist\n"
    "index        writes the word check index of the lexicon in DIR\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read or written or a word was\n"
    "refused, 2 bad usage.\n";

// One line naming the mistake.
int UsageError(std::string_view problem) {
  std::cerr << "tovuri-dict: " << problem << "; try --help\n";
  return kUsageError;
}

// Command-line text in the files' code page; bytes that are not UTF-8 are
// taken as they are.
std::string FromArgument(std::string_view arg) {
  if (auto converted = Utf8ToWindows1252(arg)) return *converted;
  return std::string(arg);
}

int Compile(const std::vector<std::string_view>& args) {
  if (args.size() < 2) return UsageError("compile needs a word list and an output file");
  std::string title;
  int32_t language = 0;
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--title" && i + 1 < args.size()) {
      title = FromArgument(args[++i]);
    } else if (args[i] == "--language" && i + 1 < args.size()) {
      const std::string value(args[++i]);
      char* end = nullptr;
      const long n = std::strtol(value.c_str(), &end, 0);
      if (value.empty() || *end != '\0') {
        std::cerr << "tovuri-dict: --language needs a number, not \"" << value << "\"\n";
        return kUsageError;
      }
      language = static_cast<int32_t>(n);
    } else {
      return UsageError("unknown compile option " + std::string(args[i]));
    }
  }
  const std::string words_path(args[0]);
  const std::string out_path(args[1]);
  WordList list;
  try {
    list = ReadWordList(words_path);
  } catch (const DictionaryCompileError& e) {
    std::cerr << e.what() << '\n';
    return kFailed;
  }
  try {
    for (const std::string& warning : list.warnings) std::cerr << warning << '\n';
    const CompiledDictionary dict = CompileMainDictionary(std::move(list.words), title, language);
    std::error_code error;
    if (std::filesystem::is_directory(out_path, error)) {
      std::cerr << out_path << ": is a folder; name the dictionary file to write\n";
      return kFailed;
    }
    if (!WriteFileAtomically(out_path, dict.bytes)) {
      std::cerr << out_path << ": cannot be written\n";
      return kFailed;
    }
    std::cout << out_path << ": " << dict.word_count << " words, " << dict.node_count
              << " nodes, " << dict.bytes.size() << " bytes\n";
  } catch (const DictionaryCompileError& e) {
    std::cerr << words_path << ": " << e.what() << '\n';
    return kFailed;
  }
  return 0;
}

bool StartsWith(const std::string& path, std::string_view banner) {
  std::ifstream in(path, std::ios::binary);
  std::string head(banner.size(), '\0');
  return in.read(head.data(), static_cast<std::streamsize>(head.size())) && head == banner;
}

int Dump(const std::vector<std::string_view>& args) {
  if (args.size() != 1) return UsageError("dump needs one file");
  const std::string path(args[0]);
  if (StartsWith(path, kMainDictionaryBanner)) {
    TMainDictionary dict;
    if (!dict.Open(path) || !dict.SetActive(true)) {
      std::cerr << path << ": damaged main dictionary (" << dict.Problem() << ")\n";
      return kFailed;
    }
    dict.EnumeratePrefix("", [](std::string_view word) {
      std::cout << Windows1252ToUtf8(word) << '\n';
      return false;
    });
    return 0;
  }
  if (StartsWith(path, kCustomDictionaryBanner)) {
    TCustomDictionary dict;
    if (!dict.Open(path) || !dict.SetActive(true)) {
      std::cerr << path << ": damaged custom dictionary\n";
      return kFailed;
    }
    for (int i = 0; i < dict.AddedWordCount(); ++i)
      std::cout << "I " << Windows1252ToUtf8(dict.AddedWordAt(i)) << '\n';
    for (int i = 0; i < dict.ExcludedWordCount(); ++i)
      std::cout << "E " << Windows1252ToUtf8(dict.ExcludedWordAt(i)) << '\n';
    std::string word, replacement;
    for (int i = 0; dict.AutoCorrectPairAt(i, word, replacement); ++i)
      std::cout << "A " << Windows1252ToUtf8(word) << '\t' << Windows1252ToUtf8(replacement) << '\n';
    return 0;
  }
  std::cerr << path << ": not a dictionary file (or cannot be read)\n";
  return kFailed;
}

// Opens a custom dictionary for editing, creating it when it does not exist.
bool OpenForEdit(TCustomDictionary& dict, const std::string& path) {
  // A new dictionary may be the first file of its folder.
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code error;
  if (!folder.empty() && !std::filesystem::exists(folder, error) &&
      !std::filesystem::create_directories(folder, error)) {
    std::cerr << path << ": its folder cannot be created: " << error.message() << '\n';
    return false;
  }
  if (!dict.Open(path)) {
    std::cerr << path << ": not a custom dictionary, or no file can be created there\n";
    return false;
  }
  if (!dict.SetActive(true)) {
    std::cerr << path << ": damaged custom dictionary; left unchanged\n";
    return false;
  }
  return true;
}

int Edit(std::string_view command, const std::vector<std::string_view>& args) {
  if (command == "autocorrect" && args.size() != 3)
    return UsageError("autocorrect needs a dictionary, a word and its replacement");
  if (args.size() < 2) return UsageError(std::string(command) + " needs a dictionary and a word");
  const std::string path(args[0]);
  TCustomDictionary dict;
  if (!OpenForEdit(dict, path)) return kFailed;

  int status = 0;
  if (command == "autocorrect") {
    if (!dict.AddAutoCorrect(FromArgument(args[1]), FromArgument(args[2]))) {
      std::cerr << args[1] << ": already in the dictionary, empty, or too long\n";
      status = kFailed;
    }
  } else {
    for (std::size_t i = 1; i < args.size(); ++i) {
      const std::string word = FromArgument(args[i]);
      bool done;
      if (command == "add") done = dict.AddWord(word);
      else if (command == "exclude") done = dict.AddExcluded(word);
      else done = dict.RemoveWord(word) || dict.RemoveExcluded(word) || dict.RemoveAutoCorrect(word);
      if (!done) {
        std::cerr << args[i]
                  << (command == "remove" ? ": not in the dictionary\n"
                                          : ": already in the dictionary, empty, or too long\n");
        status = kFailed;
      }
    }
  }
  if (!dict.Save()) {
    std::cerr << path << ": cannot be saved: " << dict.SaveError() << '\n';
    return kFailed;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return UsageError("no command given");
  const std::string_view command = argv[1];
  if (command == "-h" || command == "--help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "--version") {
    std::cout << "tovuri-dict " TOVURI_VERSION "\n";
    return 0;
  }
  const std::vector<std::string_view> args(argv + 2, argv + argc);
  try {
    if (command == "compile") return Compile(args);
    if (command == "dump") return Dump(args);
    if (command == "index") return args.size() == 1 ? WriteIndexForLexicon(std::string(args[0])) : UsageError("index needs one folder");
    if (command == "add" || command == "exclude" || command == "remove" || command == "autocorrect")
      return Edit(command, args);
  } catch (const std::exception& e) {
    std::cerr << "tovuri-dict: " << e.what() << '\n';
    return kFailed;
  }
  return UsageError("unknown command " + std::string(command));
}
