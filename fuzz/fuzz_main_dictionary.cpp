// A main dictionary mapped from arbitrary bytes: lookups, prefix walks and
// the phonetic search behind suggestions.
#include <vector>

#include "fuzz_support.h"
#include "spell/ox3MainDictionary.h"
#include "spell/ox3PhoneticsMap.h"

using namespace tovuri;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("main.oxm", fuzz::AsText(data, size));
  TMainDictionary dictionary;
  if (!dictionary.Open(path) || !dictionary.SetActive(true)) return 0;
  // Every listing is cut short: a sound graph of a few records can hold
  // billions of words, and listing them all takes as long as it must.
  const auto cut_after = [](size_t limit) {
    return [limit, seen = size_t{0}](std::string_view) mutable { return ++seen > limit; };
  };
  std::vector<std::string> listed;
  size_t visited = 0;
  dictionary.EnumeratePrefix("", [&](std::string_view word) {
    // A sound file never lists a word that holds a NUL byte.
    if (word.find('\0') != std::string_view::npos) abort();
    if (listed.size() < 50) listed.emplace_back(word);
    return ++visited > 2'000;
  });
  for (size_t i = 0; i < listed.size(); ++i) {
    dictionary.Lookup(listed[i]);
    if (i % 5 == 0) dictionary.EnumeratePrefix(listed[i].substr(0, 2), cut_after(200));
  }
  for (const char* word : {"a", "umuntu", "abantu", "ngiyabonga", "zzzz"}) dictionary.Lookup(word);
  TPhoneticsMap map;
  std::vector<std::string> results;
  for (size_t i = 0; i < listed.size() && i < 4; ++i) dictionary.EnumeratePhonetic(listed[i], map, results);
  dictionary.EnumeratePhonetic("umuntu", map, results);
  return 0;
}
