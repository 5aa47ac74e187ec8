#pragma once
#include <string>

namespace tovuri {

// tovuri-dict index DIR: writes the word check index file for the lexicon in
// DIR beside it; prints the outcome and returns the exit status.
int WriteIndexForLexicon(const std::string& dir);

}  // namespace tovuri
