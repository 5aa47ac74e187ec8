#include "spell/ox3SuggestionSources.h"

#include "common/ansi_case.h"
#include "spell/ox3CustomDictionary.h"
#include "spell/ox3MainDictionary.h"
#include "spell/ox3PhoneticsMap.h"

namespace tovuri {

namespace {

bool IsEnglish(const TMainDictionary& dictionary) { return (dictionary.Language() & 0xFF) == 9; }

}  // namespace

bool TDictionarySuggestionSources::FindMapping(std::string_view word, std::string& replacement) {
  return MappingDictionary != nullptr && MappingDictionary->FindAutoCorrect(word, replacement);
}

bool TDictionarySuggestionSources::WordInMainDictionaries(std::string_view word) {
  for (TMainDictionary* dictionary : MainDictionaries) {
    if (dictionary->Lookup(word)) {
      dictionary->CountHit();
      return true;
    }
  }
  return false;
}

bool TDictionarySuggestionSources::WordInDictionaries(std::string_view word) {
  if (WordInMainDictionaries(word)) return true;
  for (TCustomDictionary* dictionary : CustomDictionaries)
    if (dictionary->Contains(word)) return true;
  return false;
}

bool TDictionarySuggestionSources::HasEnglishMain() {
  for (TMainDictionary* dictionary : MainDictionaries)
    if (IsEnglish(*dictionary)) return true;
  return false;
}

bool TDictionarySuggestionSources::IsPossessiveOfKnownWord(std::string_view word) {
  size_t at = word.find("'s");
  if (at == std::string_view::npos) at = word.find("'S");
  if (at == std::string_view::npos || at + 2 != word.size()) return false;
  const std::string_view stem = word.substr(0, at);
  const std::string lower = AnsiLowerCase(stem);
  for (TMainDictionary* dictionary : MainDictionaries)
    if (IsEnglish(*dictionary) && (dictionary->Lookup(lower) || dictionary->Lookup(stem)))
      return true;
  return false;
}

bool TDictionarySuggestionSources::HasMainDictionary() { return !MainDictionaries.empty(); }

int TDictionarySuggestionSources::PrimaryLanguage() {
  return MainDictionaries.empty() ? 0 : MainDictionaries.front()->Language();
}

void TDictionarySuggestionSources::EnumeratePhonetic(std::string_view word, const TPhoneticsMap& map,
                                                     std::vector<std::string>& list) {
  if (!MainDictionaries.empty()) MainDictionaries.front()->EnumeratePhonetic(word, map, list);
}

bool TDictionarySuggestionSources::HasLearningDictionary() { return LearningDictionary != nullptr; }

bool TDictionarySuggestionSources::FindLearntReplacement(std::string_view word, std::string& replacement) {
  return LearningDictionary != nullptr && LearningDictionary->FindAutoCorrect(word, replacement);
}

bool TDictionarySuggestionSources::IsLearntWord(std::string_view word) {
  return LearningDictionary != nullptr && LearningDictionary->Contains(word);
}

void TDictionarySuggestionSources::LearnReplacement(std::string_view old_word, std::string_view new_word) {
  if (LearningDictionary == nullptr) return;
  LearningDictionary->AddAutoCorrect(old_word, new_word);
  LearningDictionary->AddWord(new_word);
}

}  // namespace tovuri
