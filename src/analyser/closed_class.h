#pragma once
// Pronouns, demonstratives, presentatives and the other closed classes that
// no lexicon entry generates; the word check runs these before its lexicon search.
#include <string>
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

bool IsPresentative(std::string_view word);
bool IsPronounWord(std::string_view word);
bool IsNumberedOrCopulaWord(std::string_view word);
bool IsDwaWord(std::string_view word);
bool IsPhiWord(std::string_view word);

// The five checks in their order; true at the first that accepts the word.
bool IsClosedClassWord(std::string_view word);

// The forms each check looks the word up among. Parts that a check builds only
// for some words (behind its cheap pre-test) are added when word qualifies.
void AddPresentativeForms(FormSink& forms);
void AddPronounForms(std::string_view word, FormSink& forms);
void AddNumberedOrCopulaForms(std::string_view word, FormSink& forms);
void AddDwaForms(FormSink& forms);
void AddPhiForms(FormSink& forms);

// The possessive and kinship phrases of one name ("wa", "umntana", ...) and one
// possessive stem ("mi", "ithu", ...).
void AddPossessivePhrases(std::string_view name, std::string_view stem, FormSink& forms);

// prefix + concord with the glide "w" before "a" or "u" and "y" before "i".
std::string JoinWithConcordGlide(std::string_view prefix, std::string_view concord);

}  // namespace tovuri
