#pragma once
// Every inflected form of one "verb" lexicon entry.
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

void GenerateVerbForms(std::string_view prefix, std::string_view stem, std::string_view final,
                       std::string_view attribute, FormSink& forms);

}  // namespace tovuri
