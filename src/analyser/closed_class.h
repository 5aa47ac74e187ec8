#pragma once
// Pronouns, demonstratives, presentatives and the other closed classes that
// no lexicon entry generates; the word check runs these before its lexicon search.
#include <string_view>

namespace tovuri {

bool IsPresentative(std::string_view word);
bool IsPronounWord(std::string_view word);
bool IsNumberedOrCopulaWord(std::string_view word);
bool IsDwaWord(std::string_view word);
bool IsPhiWord(std::string_view word);

// The five checks in their order; true at the first that accepts the word.
bool IsClosedClassWord(std::string_view word);

}  // namespace tovuri
