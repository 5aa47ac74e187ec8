#pragma once
// Forms of "adv", "conj" and "rel" lexicon entries.
#include <string>
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

void GenerateAdverbForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                         std::string_view final, FormSink& forms);
void GenerateConjunctionForms(std::string_view tag, std::string_view prefix,
                              std::string_view stem, std::string_view final, FormSink& forms);
void GenerateRelativeForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                           std::string_view final, FormSink& forms);

// x + word, with "s" between them when word begins with a vowel ("ngi", "ekhaya": "ngisekhaya").
std::string JoinWithS(std::string_view x, std::string_view word);
// A formative in "a" before a vowel-initial word: "a" + "i" becomes "e", "a"
// before another vowel is dropped ("la" + "izolo": "lezolo"; "la" + "apha": "lapha").
std::string JoinFormativeToWord(std::string_view formative, std::string_view word);

}  // namespace tovuri
