#pragma once
#include <string>
#include <vector>

namespace tovuri {

class TNdebeleChecker;

// Prints "WORD: s1, s2, ..." (or "WORD: (no suggestions)") for each UTF-8
// word: the checker's suggestions, as every front end offers them.
void PrintSuggestions(TNdebeleChecker& checker, const std::vector<std::string>& words);

// The same with the suggestions of the main dictionaries (*.oxm in dir,
// Ndebele.oxm first) alone, exactly as the framework ranks them. False, with
// a message, when dir holds no usable main dictionary; each file that cannot
// be used is named on standard error.
bool PrintDictionarySuggestions(const std::string& dir, const std::vector<std::string>& words);

}  // namespace tovuri
