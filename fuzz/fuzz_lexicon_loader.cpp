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
  Lexicon lexicon = LoadLexicon(fuzz::ScratchDir(), nullptr);
  // The fast path first builds an index of the whole lexicon: worth its time
  // only for small ones.
  const bool small = lexicon.size() <= 100;
  InstallLexicon(std::move(lexicon));
  for (const char* word : {"umuntu", "abantu", "ngiyahamba", "kodwa", "esikolweni", "ukuhamba"}) {
    IsNdebeleWordReference(word);
    if (small) IsNdebeleWord(word);
  }
  return 0;
}
