#include "app/WordLearning.h"

namespace tovuri {

void LearnWord(TOrthexSpell3Base& spell, const std::string& word) {
  if (TCustomDictionary* custom = spell.ActiveCustomDictionary())
    custom->AddWord(word);
  else
    spell.InternalDictionary().AddWord(word);
  spell.ApplyConfiguration(true);
}

void OrthexSpellWordCheck(TOrthexSpell3Base& spell, const std::string& word, TWordCheckType& check_type,
                          const TAnalyser& analyser, const TStatusSink& status) {
  if (check_type != TWordCheckType::wctMisspelled) return;
  status("Looking up " + word + "     ");
  if (analyser(word)) {
    LearnWord(spell, word);
    check_type = TWordCheckType::wctAccepted;
    status(word + " added to dictionary");
  } else {
    status(word + " not found in Ndebele engine");
  }
}

}  // namespace tovuri
