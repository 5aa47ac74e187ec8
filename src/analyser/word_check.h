#pragma once
// The analyser's entry point: is a word a closed-class word, or an inflected
// form of a lexicon entry whose stem could lie inside it?
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analyser/form_sink.h"
#include "analyser/lexicon.h"

namespace tovuri {

// True when the analyser accepts the word; reads the process-wide lexicon.
// Tests each form as it is made and stops at the first match.
bool IsNdebeleWord(std::string_view word);

// The same verdict, reached by collecting each generator pass in a list and
// testing it with FindInForms; slower, kept to check the fast path against.
bool IsNdebeleWordReference(std::string_view word);

// The lexicon entries that could hold the word, in the order they are tried:
// stems of 20 characters first, down to 1; lexicon order within one length.
std::vector<size_t> CandidateEntries(std::string_view word, const Lexicon& lexicon);

// The arguments of one generator pass over a lexicon entry.
struct EntryPass {
  std::string tag, prefix, stem, final, attribute;
};

// The passes the word check runs for entry i, in order: one for most tags;
// four for a verb, which is also tried as an infinitive noun, a passive
// infinitive and a negative infinitive.
std::vector<EntryPass> PassesForEntry(const Lexicon& lexicon, size_t i);

// Appends the forms that the generator for tag makes of one entry ("verb" is
// the verb generator alone). False when no generator serves the tag.
bool GenerateFormsForTag(std::string_view tag, std::string_view prefix, std::string_view stem,
                         std::string_view final, std::string_view attribute, FormSink& forms);

}  // namespace tovuri
