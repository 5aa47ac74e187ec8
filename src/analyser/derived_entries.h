#pragma once
// The entries the loader derives from one dictionary line: perfect-stem
// exceptions and extended verbs for a verb, a diminutive for most classes.
#include <string_view>

#include "analyser/lexicon.h"

namespace tovuri {

// The "exc/..." entries, then the twenty extended verbs with their own exceptions.
void AddDerivedVerbEntries(Lexicon& lexicon, std::string_view prefix, std::string_view stem,
                           std::string_view final, std::string_view info);

bool TakesDiminutive(std::string_view tag);
void AddDiminutiveEntry(Lexicon& lexicon, std::string_view tag, std::string_view prefix,
                        std::string_view stem, std::string_view final, std::string_view info);

}  // namespace tovuri
