// Whole verdicts with a lexicon loaded from arbitrary dictionary.txt and
// passives.txt (the input split at its first NUL byte): the word check index
// is built for each input's lexicon and asked for a few words, and one of them
// is also checked by regenerating every form of its candidates. Building an
// index costs milliseconds even for one entry, so inputs are kept to a few
// lines.
#include <iterator>

#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "fuzz_support.h"

using namespace tovuri;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kMaxInput = 512;
  if (size > kMaxInput) return -1;  // not worth keeping in the corpus
  InstallLexicon(LoadLexicon(fuzz::WriteLexiconFiles(data, size), nullptr));
  const auto& words = fuzz::kLexiconProbeWords;
  for (const char* word : words) IsNdebeleWord(word);
  IsNdebeleWordReference(words[size % std::size(words)]);
  return 0;
}
