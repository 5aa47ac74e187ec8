#pragma once
// Every form of one "adj" lexicon entry.
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

void GenerateAdjectiveForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                            std::string_view final, FormSink& forms);

// x, then x after the infinitive and locative formatives "k"/"kw", "ok", "lak", "lok".
void AddKuForms(std::string_view x, FormSink& forms);
// x, then x after "a" and "ka" with the glide that x's first vowel asks for.
void AddAKaForms(std::string_view x, FormSink& forms);

}  // namespace tovuri
