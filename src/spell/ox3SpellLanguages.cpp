#include "spell/ox3SpellLanguages.h"

#include <array>
#include <string_view>

namespace tovuri {

namespace {

constexpr std::array<std::string_view, kSpellLanguageStringCount> kEnglish = {
    "Check spelling as you type",
    "Correct spelling errors as you type",
    "Ignore words in &UPPERCASE",
    "Ignore words containing numbers",
    "Ignore markup languages (&HTML, XML, etc)",
    "Ignore Internet addresses",
    "Ignore quoted lines",
    "Ignore abbreviations",
    "Suggest from main dictionaries only",
    "Prompt on repeated word",
    "Confirmation:",
    "Delete this custom dictionary?",
    "(Ignore All / Change All)",
    "Spelling",
    "Spelling Options",
    "Dictionaries",
    "Words added with Ignore All / Change All",
    "New Custom Dictionary",
    "Not Found:",
    "Repeated Word:",
    "&Replace With:",
    "&Suggestions:",
    "&Undo",
    "&Options...",
    "&Ignore All",
    "I&gnore",
    "&Change All",
    "C&hange",
    "&Add",
    "Au&to-Correct",
    "&Help",
    "Cancel",
    "Reset Defaults",
    " O&ptions: ",
    " D&ictionaries: ",
    "Name",
    "Filename",
    "&Custom Dictionary:",
    "&Dictionaries ...",
    "Locate Dictionaries...",
    "Choose Folder Containing Dictionaries",
    " Custom Dictionaries: ",
    "&Edit",
    "&Delete",
    "&New",
    "&OK",
    "&Enter the new custom dictionary name:",
    "Add&ed Words",
    "These words will be considered correct during a spell check operation.",
    "&Ignore this word:",
    "A&uto-Correct Pairs",
    "These words will automatically be corrected when encountered during a spelling check.",
    "&Replace:",
    "&With:",
    "&Excluded Words",
    "These words will always be considered incorrect during a spell check operation.",
    "E&xclude this word:",
    "The spelling check is complete.",
    "Words checked:",
    "The selection has been checked.  Would you like to check the remainder of the document?",
    "(no suggestions)",
    "I&gnore",
    "&Ignore All",
    "&Add",
    "&Change All",
    "A&uto Correct",
    "&Spelling ...",
};

}  // namespace

std::string SpellLanguageString(TSpellLanguageString index, TSpellLanguageType /*language*/) {
  if (index < 0 || index >= kSpellLanguageStringCount) return {};
  return std::string(kEnglish[static_cast<size_t>(index)]);
}

}  // namespace tovuri
