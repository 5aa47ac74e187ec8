#pragma once
// How every front end asks the analyser about a word the dictionaries lack,
// so that the command line, the editors' pipe, the Enchant provider and the
// desktop program reach the same verdicts.
#include <functional>
#include <string_view>

#include "spell/ox3SpellBase.h"

namespace tovuri {

using WordAnalyser = std::function<bool(std::string_view word)>;

// The analyser accepts the word, or the word is a lower-case prefix joined
// to a name (weStudio, nguMnu) that the dictionaries or the analyser accept
// and the user has not excluded: a name added once is accepted after every
// prefix.
bool IsNdebeleWordOrName(TOrthexSpell3Base& spell, std::string_view word, const WordAnalyser& analyse);

}  // namespace tovuri
