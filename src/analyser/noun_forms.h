#pragma once
// Every inflected form of one noun lexicon entry (all noun tags, "uku" included).
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

void GenerateNounForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                       std::string_view final, FormSink& forms);

}  // namespace tovuri
