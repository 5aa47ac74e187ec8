#pragma once
// Every inflected form of one "verb" lexicon entry.
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

void GenerateVerbForms(std::string_view prefix, std::string_view stem, std::string_view final,
                       std::string_view attribute, FormSink& forms);

// The place (1-based) in kVerbPatterns of the first pattern that makes word
// of this verb entry, or 0 when none does.
size_t VerbPatternRowOf(std::string_view prefix, std::string_view stem, std::string_view final,
                        std::string_view attribute, std::string_view word);

}  // namespace tovuri
