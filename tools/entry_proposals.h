#pragma once
// Lexicon entries proposed from evidence: the entries whose generated forms
// would hold words the checker rejects, found through the generators' own
// affixes and ranked by how much of a text each would explain.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analyser/lexicon.h"

namespace tovuri {

// A kind of entry as the lexicon writes it: tag, prefix and final letter.
struct EntryShape {
  std::string tag, prefix, final;
};

// One proposed entry; Line() is how dictionary.txt would write it.
struct ProposedEntry {
  std::string tag, prefix, stem, final;
  std::string Line() const;
  bool operator==(const ProposedEntry&) const = default;
};

// The verb and noun-class shapes that at least min_uses entries of the
// lexicon have: the entries the lexicon already trusts the generators with.
std::vector<EntryShape> LexiconShapes(const Lexicon& lexicon, size_t min_uses);

// Runs each shape's generator passes once with a marker for the stem and keeps
// the left and right parts of every form, so that a word can be split into
// left part + stem + right part of one shape.
class EntryProposer {
 public:
  // min_stem: the fewest letters of a proposed stem, its final letter aside;
  // a shorter stem fits too many words by chance.
  explicit EntryProposer(std::vector<EntryShape> shapes, size_t min_stem = 3);

  // The entries one of whose forms is word (Windows-1252, lower case), each
  // once.
  std::vector<ProposedEntry> EntriesFor(std::string_view word) const;

  size_t TemplateCount() const { return splits_.size(); }

 private:
  struct Use {
    uint32_t shape;
    uint8_t head;  // index into kHeads: the stem's first letter, when a vowel
  };
  std::vector<EntryShape> shapes_;
  size_t min_stem_;
  std::unordered_map<std::string, std::vector<Use>> splits_;  // "left\x01right"
  size_t longest_left_ = 0, longest_right_ = 0;
};

// A word of the samples: which of them (bit i for sample i) hold it.
struct SampleWord {
  std::string word;
  uint32_t samples = 0;
};

struct Proposal {
  ProposedEntry entry;
  std::vector<std::string> words;  // rejected words it explains, not claimed by a better one
  std::vector<std::string> also;   // rejected words it explains that a better proposal took
  uint32_t samples = 0;            // samples holding its words
  size_t accepted_forms = 0;       // accepted words of the samples that it would make too
  size_t Samples() const;
};

// Proposals for the rejected words, best evidence first: each word goes to
// the proposal that explains most distinct words, then occurs in most
// samples, then makes most already accepted words (its stem is known), then
// has a stem that starts with a consonant, then the longest stem; proposals left with no word are dropped.
std::vector<Proposal> RankProposals(const EntryProposer& proposer,
                                    const std::vector<SampleWord>& rejected,
                                    const std::vector<std::string>& accepted);

}  // namespace tovuri
