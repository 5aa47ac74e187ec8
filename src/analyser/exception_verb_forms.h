#pragma once
// Forms of perfect-stem exception entries ("exc/..." tags) and of defective verbs.
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

void GenerateExceptionVerbForms(std::string_view tag, std::string_view prefix,
                                std::string_view stem, std::string_view final, FormSink& forms);
void GenerateDefectiveVerbForms(std::string_view prefix, std::string_view stem,
                                std::string_view final, FormSink& forms);

}  // namespace tovuri
