#pragma once
// Every form of one "adj" lexicon entry.
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

void GenerateAdjectiveForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                            std::string_view final, FormSink& forms);

}  // namespace tovuri
