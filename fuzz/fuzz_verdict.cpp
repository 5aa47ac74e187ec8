// The analyser's full verdict on arbitrary bytes, with the shipped lexicon.
// (The fast path's agreement with the generate-and-collect reference is the
// differential tests' job: the reference is too slow to fuzz.)
#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "fuzz_support.h"

using namespace tovuri;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  BuildLexicon(TOVURI_FUZZ_DATA_DIR, nullptr);
  PrepareWordCheck();  // once, rather than inside the first input's time limit
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Longer inputs only cost time: no Ndebele word is this long.
  if (size > 64) return 0;
  const std::string_view word = fuzz::AsText(data, size);
  IsNdebeleWord(word);
  return 0;
}
