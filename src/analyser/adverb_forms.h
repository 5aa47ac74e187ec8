#pragma once
// Forms of "adv", "conj" and "rel" lexicon entries.
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

void GenerateAdverbForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                         std::string_view final, FormSink& forms);
void GenerateConjunctionForms(std::string_view tag, std::string_view prefix,
                              std::string_view stem, std::string_view final, FormSink& forms);
void GenerateRelativeForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                           std::string_view final, FormSink& forms);

}  // namespace tovuri
