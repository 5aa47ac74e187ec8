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
  std::vector<std::string> listed;
  size_t visited = 0;
  dictionary.EnumeratePrefix("", [&](std::string_view word) {
    // A sound file never lists a word that holds a NUL byte.
    if (word.find('\0') != std::string_view::npos) abort();
    if (listed.size() < 200) listed.emplace_back(word);
    // A sound graph of a few records can hold billions of words: listing
    // them all takes as long as it must, so the listing is cut short here.
    return ++visited > 10'000;
  });
  for (const std::string& word : listed) {
    dictionary.Lookup(word);
    dictionary.EnumeratePrefix(word.substr(0, 2), [](std::string_view) { return false; });
  }
  for (const char* word : {"a", "umuntu", "abantu", "ngiyabonga", "zzzz"}) dictionary.Lookup(word);
  TPhoneticsMap map;
  std::vector<std::string> results;
  for (size_t i = 0; i < listed.size() && i < 8; ++i) dictionary.EnumeratePhonetic(listed[i], map, results);
  dictionary.EnumeratePhonetic("umuntu", map, results);
  return 0;
}
