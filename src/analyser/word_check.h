#pragma once
// The analyser's entry point: is a word a closed-class word, or an inflected
// form of a lexicon entry whose stem could lie inside it?
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "analyser/flat_string_set.h"
#include "analyser/form_sink.h"
#include "analyser/lexicon.h"
#include "analyser/pass_templates.h"
#include "analyser/word_check_index.h"
#include "common/notice.h"

namespace tovuri {

// A verdict on one Windows-1252 word: IsNdebeleWord, or what stands in for it
// (a timed or counting wrapper, a test's few words).
using TWordAnalyser = std::function<bool(std::string_view word)>;

// The arguments of one generator pass over a lexicon entry.
struct EntryPass {
  std::string tag, prefix, stem, final, attribute;
};

// Makes the index for the process-wide lexicon ready now rather than at the
// first word (it is made again after each BuildLexicon or InstallLexicon):
// mapped from the index file beside a lexicon that was read from a folder
// when that file is sound, else built in memory.
void PrepareWordCheck();

// Receives, once per lexicon, why the index file could not be used (the index
// is then built in memory); nobody is told by default.
void SetWordCheckIndexNotice(TNotice notice);

// Whether the process-wide index in use is mapped from its file.
bool WordCheckIndexIsMapped();

// Whether a tag names one of the noun generator's classes.
bool IsNounTag(std::string_view tag);

// True when the analyser accepts the word; reads the process-wide lexicon.
// Decides through the WordCheckIndex of that lexicon.
bool IsNdebeleWord(std::string_view word);

// The same verdict, reached by collecting each generator pass in a list and
// testing it with FindInForms; slower, kept to check the fast path against.
bool IsNdebeleWordReference(std::string_view word);

// The lexicon entries that could hold the word, in the order they are tried:
// stems of 20 characters first, down to 1; lexicon order within one length.
std::vector<size_t> CandidateEntries(std::string_view word, const Lexicon& lexicon);

// The passes the word check runs for entry i, in order: one for most tags;
// four for a verb, which is also tried as an infinitive noun, a passive
// infinitive and a negative infinitive.
std::vector<EntryPass> PassesForEntry(const Lexicon& lexicon, size_t i);

// Appends the forms that the generator for tag makes of one entry ("verb" is
// the verb generator alone). False when no generator serves the tag.
bool GenerateFormsForTag(std::string_view tag, std::string_view prefix, std::string_view stem,
                         std::string_view final, std::string_view attribute, FormSink& forms);

}  // namespace tovuri
