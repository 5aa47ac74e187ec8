// The lexicon loader on arbitrary dictionary.txt and passives.txt (the input
// split at its first NUL byte). What it loads must hold together: parallel
// lists of one length, every listed locative and passive found again by its
// look-up. Then the first stage of a verdict, the candidate entries of two
// words and their passes, reads every field of what was loaded. The whole
// verdict on an arbitrary lexicon is fuzz_lexicon_verdicts' job: it builds an
// index per input, a thousand times slower. Inputs are kept to a kilobyte
// (thirty-odd lines): a longer file only repeats what its lines do alone.
#include <cstdlib>
#include <iterator>

#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "fuzz_support.h"

using namespace tovuri;

namespace {

void Require(bool holds) {
  if (!holds) abort();
}

void CheckLoaded(Lexicon& lexicon) {
  const size_t n = lexicon.size();
  Require(lexicon.LexPrefix.size() == n && lexicon.LexStem.size() == n && lexicon.LexFinal.size() == n &&
          lexicon.LexInfo.size() == n && lexicon.LexLine.size() == n);
  Require(lexicon.LocativeWords.size() == lexicon.LocativeForms.size());
  Require(lexicon.PassiveStems.size() == lexicon.PassiveForms.size());
  for (const std::string& word : lexicon.ShortLocativeWords) Require(lexicon.IsShortLocative(word));
  for (const std::string& word : lexicon.LocativeWords) Require(lexicon.FindLocativeForms(word) != nullptr);
  for (const std::string& stem : lexicon.PassiveStems) Require(lexicon.FindPassiveForm(stem) != nullptr);
  lexicon.PrepareLookups();
  Require(lexicon.PassiveKeys.size() == n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kMaxInput = 1024;
  if (size > kMaxInput) return -1;  // not worth keeping in the corpus
  Lexicon lexicon = LoadLexicon(fuzz::WriteLexiconFiles(data, size),
                                [](const LexiconWarning& warning) { Require(!warning.message.empty()); });
  CheckLoaded(lexicon);
  const auto& words = fuzz::kLexiconProbeWords;
  constexpr size_t kCount = std::size(words);
  for (const char* word : {words[size % kCount], words[size / kCount % kCount]}) {
    for (size_t i : CandidateEntries(word, lexicon)) {
      Require(i < lexicon.size());
      Require(!PassesForEntry(lexicon, i).empty());
    }
  }
  return 0;
}
