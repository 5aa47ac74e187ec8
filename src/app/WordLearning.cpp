#include "app/WordLearning.h"

#include "checker/analyser_verdict.h"

namespace tovuri {

void LearnWord(TOrthexSpell3Base& spell, const std::string& word) {
  // A custom dictionary that could not be opened may be usable again (its
  // folder restored): try once before settling for this run only.
  if (spell.ActiveCustomDictionary() == nullptr) spell.ApplyConfiguration(true);
  if (TCustomDictionary* custom = spell.ActiveCustomDictionary()) {
    custom->AddWord(word);
    spell.ApplyConfiguration(true);
    if (spell.IsWordAcceptable(word)) return;
    // The save failed and the dictionary could not be opened again: the
    // word waits in memory for the next save, and is accepted meanwhile.
  }
  spell.InternalDictionary().AddWord(word);
  spell.ApplyConfiguration(true);
}

void OrthexSpellWordCheck(TOrthexSpell3Base& spell, const std::string& word, TWordCheckType& check_type,
                          const TAnalyser& analyser, const TStatusSink& status) {
  if (check_type != TWordCheckType::wctMisspelled) return;
  status("Looking up " + word + "     ");
  std::string learnt = word;
  bool accepted = IsNdebeleWordOrName(spell, word, analyser);
  // A closing curly quote kept with a word that is no elision closes a
  // quotation: the word before it is judged.
  const std::string_view bare = WithoutClosingQuotes(word);
  if (!accepted && !bare.empty() && !(spell.UseExcludeWords && spell.IsExcludedWord(bare))) {
    if (spell.IsWordAcceptable(bare)) {
      check_type = TWordCheckType::wctAccepted;
      status(std::string(bare) + " found");
      return;
    }
    learnt = bare;
    accepted = IsNdebeleWordOrName(spell, bare, analyser);
  }
  if (accepted) {
    LearnWord(spell, learnt);
    check_type = TWordCheckType::wctAccepted;
    status(learnt + " added to dictionary");
  } else {
    status(word + " not found in Ndebele engine");
  }
}

}  // namespace tovuri
