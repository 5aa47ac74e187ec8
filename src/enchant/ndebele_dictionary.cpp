#include "enchant/ndebele_dictionary.h"

#include <optional>

#include "enchant/provider_data.h"
#include "spell/ox3Encoding.h"

namespace tovuri {

std::unique_ptr<TNdebeleDictionary> TNdebeleDictionary::Open(const std::string& data_dir) {
  if (!AcquireNdebeleData(data_dir)) return nullptr;
  try {
    return std::unique_ptr<TNdebeleDictionary>(new TNdebeleDictionary(data_dir));
  } catch (...) {
    ReleaseNdebeleData();
    throw;
  }
}

TNdebeleDictionary::TNdebeleDictionary(const std::string& data_dir)
    : checker_(data_dir, TLearning::lnLearn) {}

TNdebeleDictionary::~TNdebeleDictionary() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    checker_.Close();
  }
  ReleaseNdebeleData();
}

bool TNdebeleDictionary::Check(std::string_view word) {
  // A word that Windows-1252 cannot hold cannot be Ndebele either.
  const std::optional<std::string> ansi = Utf8ToWindows1252(word);
  if (!ansi) return false;
  const std::lock_guard<std::mutex> lock(mutex_);
  return checker_.IsAccepted(*ansi);
}

std::vector<std::string> TNdebeleDictionary::Suggest(std::string_view word) {
  const std::optional<std::string> ansi = Utf8ToWindows1252(word);
  if (!ansi) return {};
  std::vector<std::string> suggestions;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    suggestions = checker_.Suggestions(*ansi);
  }
  for (std::string& suggestion : suggestions) suggestion = Windows1252ToUtf8(suggestion);
  return suggestions;
}

void TNdebeleDictionary::AddToPersonal(std::string_view word) {
  if (const std::optional<std::string> ansi = Utf8ToWindows1252(word)) {
    const std::lock_guard<std::mutex> lock(mutex_);
    checker_.AddToPersonal(*ansi);
  }
}

void TNdebeleDictionary::AddToSession(std::string_view word) {
  if (const std::optional<std::string> ansi = Utf8ToWindows1252(word)) {
    const std::lock_guard<std::mutex> lock(mutex_);
    checker_.AcceptForSession(*ansi);
  }
}

void TNdebeleDictionary::AddToExclude(std::string_view word) {
  if (const std::optional<std::string> ansi = Utf8ToWindows1252(word)) {
    const std::lock_guard<std::mutex> lock(mutex_);
    checker_.Exclude(*ansi);
  }
}

void TNdebeleDictionary::StoreReplacement(std::string_view misspelt, std::string_view replacement) {
  const std::optional<std::string> old_word = Utf8ToWindows1252(misspelt);
  const std::optional<std::string> new_word = Utf8ToWindows1252(replacement);
  if (!old_word || !new_word) return;
  const std::lock_guard<std::mutex> lock(mutex_);
  checker_.StoreReplacement(*old_word, *new_word);
}

}  // namespace tovuri
