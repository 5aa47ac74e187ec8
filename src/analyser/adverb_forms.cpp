#include "analyser/adverb_forms.h"

// Not built yet: appends nothing, so entries of these tags never match.
namespace tovuri {
void GenerateAdverbForms(std::string_view, std::string_view, std::string_view,
                         std::string_view, FormSink&) {}
void GenerateConjunctionForms(std::string_view, std::string_view, std::string_view,
                              std::string_view, FormSink&) {}
void GenerateRelativeForms(std::string_view, std::string_view, std::string_view,
                           std::string_view, FormSink&) {}
}  // namespace tovuri
