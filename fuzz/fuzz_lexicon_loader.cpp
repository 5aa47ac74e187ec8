// The lexicon loader on arbitrary dictionary.txt and passives.txt (the input
// split at its first NUL byte), then a few verdicts with what it loaded.
#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "fuzz_support.h"

using namespace tovuri;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto [dictionary, passives] = fuzz::SplitAtNul(fuzz::AsText(data, size));
  fuzz::WriteScratch("dictionary.txt", dictionary);
  fuzz::WriteScratch("passives.txt", passives);
  InstallLexicon(LoadLexicon(fuzz::ScratchDir(), nullptr));
  for (const char* word : {"umuntu", "abantu", "ngiyahamba", "kodwa", "esikolweni", "ukuhamba"}) {
    IsNdebeleWord(word);
    IsNdebeleWordReference(word);
  }
  return 0;
}
