#pragma once
// Expanders that take one finished word (a locative, a copulative or a kinship
// "ka" form) and append it with every concord-prefixed phrase built on it.
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

// Appends the locative and the subject, relative, possessive and other phrases on it.
void AddLocativePhrases(std::string_view locative, FormSink& forms);

// Appends the copulative and its phrases; negatives put "nge" and the negative
// infix ("su" after "ngu", "si" after "yi" or "nga") before the copulative's base.
void AddCopulativePhrases(std::string_view copulative, FormSink& forms);

// Appends the kinship word and its eight prefixed forms.
void AddKinshipForms(std::string_view word, FormSink& forms);

}  // namespace tovuri
