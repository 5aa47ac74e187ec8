#pragma once
// What the program does with a word the dictionaries lack: asks the Ndebele
// analyser, and learns the words it accepts so that they are never analysed
// again. Free of Qt, so the background checker and tests share it.
#include <functional>
#include <string>
#include <string_view>

#include "spell/ox3SpellBase.h"

namespace tovuri {

// Shows a Windows-1252 text in the status bar.
using TStatusSink = std::function<void(const std::string& text)>;
using TAnalyser = std::function<bool(std::string_view word)>;

// Adds the word to the active custom dictionary and reopens the dictionaries,
// which makes the live editor check its lines again. Without an active
// custom dictionary (after trying to open it again) the word is accepted for
// this run only.
void LearnWord(TOrthexSpell3Base& spell, const std::string& word);

// The component's word check handler: a misspelt word that the analyser
// accepts (or a prefix joined to a known name, or a known word before a
// closing curly quote) is learnt and accepted, with the status texts on the
// way.
void OrthexSpellWordCheck(TOrthexSpell3Base& spell, const std::string& word, TWordCheckType& check_type,
                          const TAnalyser& analyser, const TStatusSink& status);

}  // namespace tovuri
