#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace tovuri {

class TNdebeleChecker;

// Prints, for each word (UTF-8), why the checker accepts or rejects it: the
// dictionary that holds it, the lexicon entry and generator that make it, a
// prefix joined to a known name, or the entries nearest to it. Returns 0 when
// every word is accepted, 1 otherwise. The lexicon must be loaded.
int ExplainWords(TNdebeleChecker& checker, const std::vector<std::string>& words, std::ostream& out);

}  // namespace tovuri
