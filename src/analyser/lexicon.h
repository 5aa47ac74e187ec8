#pragma once
// The analyser's lexicon: tagged stems from dictionary.txt, their derived
// entries, and the irregular passives of passives.txt. Read-only once built.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tovuri {

struct Lexicon {
  // Parallel lists: index i of each describes lexicon entry i.
  std::vector<std::string> LexClass, LexPrefix, LexStem, LexFinal, LexInfo;
  std::vector<std::string> ShortLocativeWords;  // sorted, unique without regard to case
  std::vector<std::string> LocativeWords;       // searched linearly
  std::vector<std::string> LocativeForms;       // paired with LocativeWords by index
  std::vector<std::string> PassiveStems;        // sorted, unique without regard to case
  std::vector<std::string> PassiveForms;        // paired with PassiveStems by index

  // Per entry, the passive stem of a verb where it differs from the stem, else
  // empty; spares the word check a passive-stem look-up per verb and word.
  // Filled by PrepareLookups; the word check computes it itself when absent.
  std::vector<std::string> PassiveKeys;

  // The folder the lexicon was read from, with a closing separator, and a
  // checksum of its two files' bytes; empty and 0 for a lexicon built by hand.
  std::string SourceDir;
  uint64_t SourceChecksum = 0;

  // Per entry, the line of dictionary.txt it comes from (derived entries share
  // their line's); empty for a lexicon built by hand.
  std::vector<int> LexLine;

  // Lines of dictionary.txt that no sound file holds (control characters,
  // entries that can never match, a last line cut short), each said while
  // loading: with any, a word check index made from the sound file is not
  // stale, the lexicon is damaged.
  int DamagedLines = 0;

  size_t size() const { return LexClass.size(); }
  // Fills PassiveKeys from the entries and passive lists as they are now.
  void PrepareLookups();
  // Appends one entry to the five parallel lists.
  void AddEntry(std::string_view tag, std::string_view prefix, std::string_view stem,
                std::string_view final, std::string_view info);
  bool IsShortLocative(std::string_view word) const;
  // The explicit locative form(s) of a word ("a" or "a/b"), or null.
  const std::string* FindLocativeForms(std::string_view word) const;
  // The irregular passive paired with a stem (maybe empty), or null when the stem is not listed.
  const std::string* FindPassiveForm(std::string_view stem) const;
};

struct LexiconWarning {
  std::string file;
  int line = 0;         // 0 when the warning concerns the whole file
  std::string message;  // the text shown to the user
};
using LexiconWarningHandler = std::function<void(const LexiconWarning&)>;

// Raised only when dictionary.txt is missing and cannot be created.
class LexiconError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The directory holding the program's data files, with a closing separator.
std::string ProgramDir();

// Reads dictionary.txt and passives.txt from dir (with or without a closing separator).
Lexicon LoadLexicon(const std::string& dir, const LexiconWarningHandler& warn);

// Fills the process-wide lexicon; call before any word is checked.
void BuildLexicon(const LexiconWarningHandler& warn);
void BuildLexicon(const std::string& dir, const LexiconWarningHandler& warn);
// Replaces the process-wide lexicon with one built by hand (tests, tools).
void InstallLexicon(Lexicon lexicon);
const Lexicon& TheLexicon();
// Changes each time the process-wide lexicon is built or replaced, so that
// what is derived from it knows when to be derived again.
size_t LexiconGeneration();

}  // namespace tovuri
