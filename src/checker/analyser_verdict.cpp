#include "checker/analyser_verdict.h"

#include "analyser/name_prefixes.h"

namespace tovuri {

bool IsNdebeleWordOrName(TOrthexSpell3Base& spell, std::string_view word, const WordAnalyser& analyse) {
  if (analyse(word)) return true;
  return IsPrefixedName(word, [&](std::string_view name) {
    if (spell.IsExcludedWord(name)) return false;
    return spell.WordInDictionaries(name) || analyse(name);
  });
}

}  // namespace tovuri
