#include "checker/analyser_verdict.h"

#include "analyser/name_prefixes.h"

namespace tovuri {
namespace {

// Windows-1252's right single quotation mark.
constexpr char kClosingQuote = '\x92';

}  // namespace

bool IsNdebeleWordOrName(TOrthexSpell3Base& spell, std::string_view word, const WordAnalyser& analyse) {
  if (analyse(word)) return true;
  return IsPrefixedName(word, [&](std::string_view name) {
    if (spell.IsExcludedWord(name)) return false;
    return spell.WordInDictionaries(name) || analyse(name);
  });
}

std::string_view WithoutClosingQuotes(std::string_view word) {
  std::string_view bare = word;
  while (!bare.empty() && bare.back() == kClosingQuote) bare.remove_suffix(1);
  return bare.size() == word.size() ? std::string_view() : bare;
}

}  // namespace tovuri
