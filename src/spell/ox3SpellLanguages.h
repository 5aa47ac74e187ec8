#pragma once
// The interface texts of the dialogs and messages, by string number and language.
#include <string>

namespace tovuri {

enum class TSpellLanguageType : unsigned char {
  ltEnglish,
  ltSwedish,
  ltBrPort,
  ltAfrikaans,
  ltGerman,
  ltSpanish,
  ltRussian,
  ltCzech,
  ltDutch,
  ltDanish,
  ltPolish,
  ltNorwegianBok,
  ltFrench,
};

// A string number, 0 to kSpellLanguageStringCount - 1.
using TSpellLanguageString = int;
inline constexpr int kSpellLanguageStringCount = 67;

// String numbers the checker component itself uses.
inline constexpr TSpellLanguageString kStrSpellingCaption = 13;
inline constexpr TSpellLanguageString kStrCheckComplete = 57;
inline constexpr TSpellLanguageString kStrWordsChecked = 58;
inline constexpr TSpellLanguageString kStrCheckRemainder = 59;

// The text of a string in a language; empty for a number out of range.
// Only the English column is held so far, and every language reads it.
std::string SpellLanguageString(TSpellLanguageString index, TSpellLanguageType language);

}  // namespace tovuri
