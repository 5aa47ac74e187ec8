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
  // Enough additions to grow the table at least once; a word the file
  // already holds (of any kind) is refused.
  bool added_last = false;
  for (int i = 0; i < 300; ++i) added_last = dictionary.AddWord("w" + std::to_string(i));
  dictionary.AddExcluded("excluded");
  dictionary.AddAutoCorrect("teh", "the");
  if (added > 0) dictionary.RemoveWord(dictionary.AddedWordAt(0));
  const bool removed = dictionary.RemoveWord("w7");
  if (!dictionary.Save()) abort();
  // What was saved must load again and hold the changes.
  TCustomDictionary reloaded;
  if (!reloaded.Open(path) || !reloaded.SetActive(true)) abort();
  if ((added_last && !reloaded.Contains("w299")) || (removed && reloaded.Contains("w7"))) abort();
  return 0;
}
