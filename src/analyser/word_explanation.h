#pragma once
// Why the analyser accepts a word, or which entries it could have come from:
// for lexicon maintainers, not for the word check (it makes forms to find out).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analyser/word_check.h"

namespace tovuri {

struct WordExplanation {
  enum class Kind { kEmpty, kClosedClass, kEntry, kNotFound };
  Kind kind = Kind::kNotFound;
  // For kEntry: the lexicon entry, which of its passes made the word (0 is
  // the entry's own generator; a verb's 1 to 3 are its infinitive nouns),
  // that pass's arguments, and for a verb's own forms the place of its pattern.
  size_t entry = 0;
  size_t pass = 0;
  EntryPass made_by;
  size_t verb_row = 0;
  // For kNotFound: the entries whose stems lie in the word, in the order the
  // word check tries them.
  std::vector<size_t> nearest;
};

// Explains the analyser's verdict on word over the process-wide lexicon.
WordExplanation ExplainNdebeleWord(std::string_view word);

// What made the word, in words: "verb forms", "noun forms (passive infinitive)", ...
std::string DescribePass(const WordExplanation& explanation);

}  // namespace tovuri
