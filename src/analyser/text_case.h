#pragma once
// Case rules for 8-bit Windows-1252 text, shared by the analyser's comparisons.
#include <string>
#include <string_view>

#include "common/ansi_case.h"

namespace tovuri {

// Comparisons without regard to case fold both sides to lower case.
constexpr char FoldCase(char c) { return AnsiLowerChar(c); }

inline std::string ToLower(std::string_view s) { return AnsiLowerCase(s); }

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

// Three-way comparison without regard to case, for the sorted lexicon lists.
inline int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(FoldCase(a[i]));
    const auto y = static_cast<unsigned char>(FoldCase(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace tovuri
