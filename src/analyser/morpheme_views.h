#pragma once
// View-returning forms of morpheme operations, for generators that stream
// their forms in pieces and so must not build a string per form.
#include <string_view>

#include "analyser/text_case.h"

namespace tovuri {

// KuBeforeVowel as a view of a literal: "kw" before "a" or "e", "k" before "o".
constexpr std::string_view KuBeforeVowelView(std::string_view s) {
  if (s.empty()) return "";
  switch (FoldCase(s[0])) {
    case 'a':
    case 'e':
      return "kw";
    case 'o':
      return "k";
    default:
      return "";
  }
}

}  // namespace tovuri
