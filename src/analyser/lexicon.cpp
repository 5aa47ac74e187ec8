#include "analyser/lexicon.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <utility>

#include "analyser/morpheme_ops.h"
#include "analyser/text_case.h"

namespace tovuri {
namespace {

std::atomic<size_t> generation{0};

Lexicon& Instance() {
  static Lexicon lexicon;
  return lexicon;
}

// Index of key in a list sorted without regard to case, or npos.
size_t FindSorted(const std::vector<std::string>& list, std::string_view key) {
  const auto it = std::lower_bound(list.begin(), list.end(), key,
                                   [](const std::string& item, std::string_view k) {
                                     return CompareIgnoringCase(item, k) < 0;
                                   });
  if (it == list.end() || CompareIgnoringCase(*it, key) != 0) return std::string::npos;
  return static_cast<size_t>(it - list.begin());
}

}  // namespace

bool Lexicon::IsShortLocative(std::string_view word) const {
  return FindSorted(ShortLocativeWords, word) != std::string::npos;
}

const std::string* Lexicon::FindLocativeForms(std::string_view word) const {
  for (size_t i = 0; i < LocativeWords.size() && i < LocativeForms.size(); ++i)
    if (EqualsIgnoringCase(LocativeWords[i], word)) return &LocativeForms[i];
  return nullptr;
}

const std::string* Lexicon::FindPassiveForm(std::string_view stem) const {
  const size_t i = FindSorted(PassiveStems, stem);
  if (i == std::string::npos || i >= PassiveForms.size()) return nullptr;
  return &PassiveForms[i];
}

void Lexicon::AddEntry(std::string_view tag, std::string_view prefix, std::string_view stem,
                       std::string_view final, std::string_view info) {
  LexClass.emplace_back(tag);
  LexPrefix.emplace_back(prefix);
  LexStem.emplace_back(stem);
  LexFinal.emplace_back(final);
  LexInfo.emplace_back(info);
}

void Lexicon::PrepareLookups() {
  PassiveKeys.assign(size(), std::string());
  for (size_t i = 0; i < size(); ++i) {
    if (LexClass[i] != "verb") continue;
    std::string passive = PassiveStem(LexStem[i], *this);
    if (passive != LexStem[i]) PassiveKeys[i] = std::move(passive);
  }
}

// The executable's own folder in a build tree, where the build copies the
// data files; else share/tovuri beside the executable's bin/ folder, so an
// install under any prefix works and can be moved; else the configured
// data folder.
std::string ProgramDir() {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    const fs::path dir = exe.parent_path();
    for (const fs::path& candidate : {dir, dir.parent_path() / "share" / "tovuri"})
      if (fs::exists(candidate / "dictionary.txt", error)) return candidate.string() + "/";
  }
  return TOVURI_INSTALL_DATADIR "/";
}

void BuildLexicon(const LexiconWarningHandler& warn) { BuildLexicon(ProgramDir(), warn); }

void BuildLexicon(const std::string& dir, const LexiconWarningHandler& warn) {
  Instance() = LoadLexicon(dir, warn);
  ++generation;
}

void InstallLexicon(Lexicon lexicon) {
  lexicon.PrepareLookups();
  Instance() = std::move(lexicon);
  ++generation;
}

const Lexicon& TheLexicon() { return Instance(); }

size_t LexiconGeneration() { return generation.load(); }

}  // namespace tovuri
