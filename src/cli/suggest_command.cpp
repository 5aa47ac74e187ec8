#include "cli/suggest_command.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <utility>

#include "checker/ndebele_checker.h"
#include "spell/ox3Encoding.h"
#include "spell/ox3MainDictionary.h"
#include "spell/ox3PhoneticsMap.h"
#include "spell/ox3SpellBase.h"
#include "spell/ox3SuggestionSources.h"
#include "spell/ox3Suggestions.h"

namespace tovuri {

namespace {

using Suggest = std::function<void(const std::string& word, std::vector<std::string>& suggestions)>;

void PrintEach(const std::vector<std::string>& words, const Suggest& suggest) {
  std::vector<std::string> suggestions;
  for (const std::string& word : words) {
    suggestions.clear();
    suggest(Utf8ToFrameworkText(word), suggestions);
    std::cout << word << ':';
    if (suggestions.empty()) std::cout << " (no suggestions)";
    for (size_t i = 0; i < suggestions.size(); ++i)
      std::cout << (i == 0 ? " " : ", ") << Windows1252ToUtf8(suggestions[i]);
    std::cout << '\n';
  }
}

}  // namespace

void PrintSuggestions(TNdebeleChecker& checker, const std::vector<std::string>& words) {
  PrintEach(words, [&](const std::string& word, std::vector<std::string>& suggestions) {
    suggestions = checker.Suggestions(word);
  });
}

bool PrintDictionarySuggestions(const std::string& dir, const std::vector<std::string>& words) {
  namespace fs = std::filesystem;
  std::vector<fs::path> paths;
  std::error_code error;
  // English.oxm is no main dictionary: the checker reads it for capitalised words only.
  for (const auto& entry : fs::directory_iterator(dir, error))
    if (entry.path().extension() == ".oxm" && entry.path().filename() != TNdebeleChecker::kEnglishDictionaryFile)
      paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end(), [](const fs::path& a, const fs::path& b) {
    return std::pair(a.filename() != "Ndebele.oxm", a) < std::pair(b.filename() != "Ndebele.oxm", b);
  });
  std::vector<std::unique_ptr<TMainDictionary>> mains;
  TDictionarySuggestionSources sources;
  for (const fs::path& path : paths) {
    auto dictionary = std::make_unique<TMainDictionary>();
    if (!dictionary->Open(path.string()) || !dictionary->SetActive(true)) {
      std::cerr << "tovuri-check: " << path.string() << ": " << dictionary->Problem()
                << "; it is not used, and its words are not suggested\n";
      continue;
    }
    sources.MainDictionaries.push_back(dictionary.get());
    mains.push_back(std::move(dictionary));
  }
  if (mains.empty()) {
    std::cerr << "tovuri-check: no main dictionary (*.oxm) in " << dir << '\n';
    return false;
  }
  TSuggestionsGenerator generator;
  generator.SetLanguage(mains.front()->Language());
  TPhoneticsMap map;
  PrintEach(words, [&](const std::string& word, std::vector<std::string>& suggestions) {
    BuildSuggestions(word, -1, suggestions, sources, generator, map, TSuggestionSettings{});
  });
  return true;
}

}  // namespace tovuri
