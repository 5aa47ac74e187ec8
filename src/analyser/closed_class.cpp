#include "analyser/closed_class.h"

// Not built yet: appends nothing, so entries of these tags never match.
namespace tovuri {
bool IsPresentative(std::string_view) { return false; }
bool IsPronounWord(std::string_view) { return false; }
bool IsNumberedOrCopulaWord(std::string_view) { return false; }
bool IsDwaWord(std::string_view) { return false; }
bool IsPhiWord(std::string_view) { return false; }
bool IsClosedClassWord(std::string_view) { return false; }
}  // namespace tovuri
