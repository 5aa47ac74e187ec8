// A custom dictionary opened from arbitrary bytes, then edited and saved.
#include <cstdio>

#include "fuzz_support.h"
#include "spell/ox3CustomDictionary.h"

using namespace tovuri;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("user.oxu", fuzz::AsText(data, size));
  TCustomDictionary dictionary;
  if (!dictionary.Open(path) || !dictionary.SetActive(true)) return 0;
  const int added = dictionary.AddedWordCount();
  for (int i = 0; i < added && i < 64; ++i) dictionary.Contains(dictionary.AddedWordAt(i));
  std::string word, replacement;
  for (int i = 0; dictionary.AutoCorrectPairAt(i, word, replacement) && i < 64; ++i)
    dictionary.FindAutoCorrect(word, replacement);
  // Enough additions to grow the table at least once.
  for (int i = 0; i < 300; ++i) dictionary.AddWord("w" + std::to_string(i));
  dictionary.AddExcluded("excluded");
  dictionary.AddAutoCorrect("teh", "the");
  if (added > 0) dictionary.RemoveWord(dictionary.AddedWordAt(0));
  dictionary.RemoveWord("w7");
  if (!dictionary.Save()) abort();
  // What was saved must load again and hold the words.
  TCustomDictionary reloaded;
  if (!reloaded.Open(path) || !reloaded.Contains("w299") || reloaded.Contains("w7")) abort();
  return 0;
}
