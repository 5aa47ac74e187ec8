#include "analyser/derived_entries.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "analyser/concord_tables.h"
#include "analyser/morpheme_ops.h"

namespace tovuri {
namespace {

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

bool IsOneOf(std::string_view s, std::initializer_list<std::string_view> set) {
  return std::find(set.begin(), set.end(), s) != set.end();
}

std::string Cat(std::string_view a, std::string_view b) {
  std::string s(a);
  s += b;
  return s;
}

// The perfect-stem exceptions below use the same tests by which the verb
// generator leaves out its regular perfect forms; word is stem + final.
// The verbs of taking, holding and wearing in -atha make their perfect in -ethe
// (uphethe, uqukethe, ufumbethe); others in -atha keep -athile (uthakathile).
void AddThathaException(Lexicon& lexicon, std::string_view prefix, std::string_view stem,
                        std::string_view word, std::string_view info) {
  if (!IsOneOf(word, {"thatha", "phatha", "thathana", "embatha", "qukatha", "fumbatha",
                      "mumatha", "singatha"}))
    return;
  std::string perfect(stem);
  if (const size_t a = perfect.rfind('a'); a != std::string::npos) perfect[a] = 'e';
  lexicon.AddEntry("exc/thatha", prefix, perfect, "e", info);
}

void AddAnaException(Lexicon& lexicon, std::string_view prefix, std::string_view word,
                     std::string_view info) {
  if (EndsWith(word, "ana") && CountVowels(word) > 2)
    lexicon.AddEntry("exc/ana", prefix, Cat(DropLastChars(word, 3), "en"), "e", info);
}

void AddAlaException(Lexicon& lexicon, std::string_view prefix, std::string_view word,
                     std::string_view info) {
  if (!EndsWith(word, "ala")) return;
  if (CountVowels(word) > 2 || IsOneOf(word, {"gcwala", "lala", "sala", "thwala", "zala"}))
    lexicon.AddEntry("exc/ala", prefix, Cat(DropLastChars(word, 3), "el"), "e", info);
}

// How a diminutive changes the stem's last consonants; the first match wins.
struct StemChange {
  std::string_view ending;
  std::string_view replacement;
};
constexpr StemChange kDiminutiveChanges[] = {
    {"ph", "tsh"}, {"bh", "j"},  {"mb", "nj"}, {"nd", "nj"}, {"th", "tsh"}, {"dl", "dlw"},
    {"b", "tsh"},  {"m", "ny"},  {"n", "ny"},  {"d", "j"},   {"l", "dl"},
};

}  // namespace

void AddDerivedVerbEntries(Lexicon& lexicon, std::string_view prefix, std::string_view stem,
                           std::string_view final, std::string_view info) {
  const std::string word = Cat(stem, final);
  AddThathaException(lexicon, prefix, stem, word, info);
  AddAnaException(lexicon, prefix, word, info);
  AddAlaException(lexicon, prefix, word, info);
  if (word == "hlala") {
    lexicon.AddEntry("exc/hlezi", prefix, "hlez", "i", info);
    lexicon.AddEntry("exc/hlezi", prefix, "suth", "i", info);
  }
  if (EndsWith(word, "ama") && stem != "vam")
    lexicon.AddEntry("exc/ama", prefix, Cat(DropLastChars(word, 3), "em"), "e", info);

  // Extended verbs keep the line's final letter for their own exception tests.
  for (std::string_view extension : VerbExtensions) {
    const std::string extended(DropLastChars(Cat(stem, extension), 1));
    lexicon.AddEntry("verb", prefix, extended, "a", info);
    const std::string extended_word = Cat(extended, final);
    AddThathaException(lexicon, prefix, extended, extended_word, info);
    AddAlaException(lexicon, prefix, extended_word, info);
    AddAnaException(lexicon, prefix, extended_word, info);
  }
}

bool TakesDiminutive(std::string_view tag) {
  return IsOneOf(tag, {"verb", "in/izin", "isi/izi", "isi", "izi", "u/o", "u", "um", "um/aba",
                       "um/ama", "umu", "um/imi", "imi", "ili/ama", "ili", "ama", "in/ama",
                       "ulu/izin", "ulu", "u/o/ama", "adj", "rel", "in", "im"});
}

void AddDiminutiveEntry(Lexicon& lexicon, std::string_view tag, std::string_view prefix,
                        std::string_view stem, std::string_view final, std::string_view info) {
  std::string s(stem);
  std::string f(final);
  if (f.empty() && !s.empty()) {  // whole-word entries carry the final letter in the stem
    f = s.back();
    s.pop_back();
  }
  if (s.empty()) return;  // a diminutive built from the ending alone would match anything
  // A qualifier that is itself a diminutive (lutshwana) has its -ane form too.
  if ((tag == "adj" || tag == "rel") && EndsWith(Cat(s, f), "ana") && s.size() > 3)
    lexicon.AddEntry(tag, prefix, Cat(s, "e"), "", info);

  std::string ending = "ana";
  if ((f == "o" || f == "u") && std::string_view("wvbm").find(s.back()) == std::string::npos &&
      !EndsWith(s, "bh"))
    ending = "wana";

  std::string changed = s;
  if (s == "mnyam") {
    changed = "mnyam";
  } else if (s == "fitshan") {
    changed = "fitshaz";
  } else if (s == "dod") {
    changed = "dojel";
  } else {
    for (const StemChange& change : kDiminutiveChanges) {
      if (EndsWith(s, change.ending)) {
        changed = Cat(DropLastChars(s, change.ending.size()), change.replacement);
        break;
      }
    }
    if (s == "puph") ending = "ana";
  }

  // "dl" becomes "dlw" before the glide of "wana" too; one "w" is enough.
  if (EndsWith(changed, "w") && ending == "wana") ending = "ana";
  const std::string joined = changed + ending;
  const std::string_view dim_stem = DropLastChars(joined, 1);
  const std::string_view dim_final = LastChars(joined, 1);
  // Zimbabwean writers also end a noun's or qualifier's diminutive in -ane
  // (izibholane, balutshwane); the -ana entry stays the line's last.
  if (tag == "adj" || tag == "rel")
    lexicon.AddEntry(tag, prefix, Cat(dim_stem, "e"), "", info);
  else if (tag != "verb")
    lexicon.AddEntry(tag, prefix, dim_stem, "e", info);
  if (tag == "verb")
    lexicon.AddEntry("uku", InfinitivePrefix(stem), dim_stem, dim_final, info);
  else if (tag == "adj" || tag == "rel")
    lexicon.AddEntry(tag, prefix, joined, "", info);
  else
    lexicon.AddEntry(tag, prefix, dim_stem, dim_final, info);
}

}  // namespace tovuri
