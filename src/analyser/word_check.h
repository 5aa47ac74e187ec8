#pragma once
// The analyser's entry point: is a word a closed-class word, or an inflected
// form of a lexicon entry whose stem could lie inside it?
#include <array>
#include <cstddef>
#include <cstdint>
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

namespace tovuri {

// The arguments of one generator pass over a lexicon entry.
struct EntryPass {
  std::string tag, prefix, stem, final, attribute;
};

class PatternTable;
class PatternMatchCache;

// What the fast word check derives from a lexicon once: a trie of every
// string whose presence in a word makes an entry a candidate, the left parts
// of the pattern tables' forms for the lexicon's verbs, and the closed-class
// forms. Read-only once built, so any number of threads may share it; it
// refers to the lexicon, which must outlive it unchanged.
class WordCheckIndex {
 public:
  explicit WordCheckIndex(const Lexicon& lexicon);
  ~WordCheckIndex();
  WordCheckIndex(const WordCheckIndex&) = delete;
  WordCheckIndex& operator=(const WordCheckIndex&) = delete;

  // The verdict of IsNdebeleWordReference, reached without making most forms.
  bool IsWord(std::string_view word) const;
  // CandidateEntries(word, lexicon), found in one walk over the word.
  std::vector<size_t> Candidates(std::string_view word) const;
  // The left parts gathered for a table, or null.
  const PatternMatchCache* CacheFor(const PatternTable& table) const;

  struct Sizes {
    size_t trie_nodes = 0;
    size_t needles = 0;
    size_t closed_forms = 0;
    size_t left_sets = 0;
    size_t pass_templates = 0;
    size_t strings = 0;  // left parts, template parts and closed-class forms held
    size_t bytes = 0;  // an estimate of the heap the index holds
  };
  Sizes GetSizes() const;

 private:
  struct Needle {
    uint32_t entry;
    uint8_t stem_length;  // of the entry, which orders the candidates
    bool locative;        // counts only in words ending in "eni" or "ini"
  };
  void AddNeedle(std::string_view text, Needle needle);
  // Lays out the children that AddNeedle gathered in building_children_.
  void PackChildren();
  // The child of node along byte c, or 0 (the root is nobody's child).
  uint32_t Child(uint32_t node, unsigned char c) const;
  bool IsClosedClass(std::string_view word, std::string_view folded) const;

  const Lexicon& lexicon_;
  std::vector<std::vector<Needle>> needles_;  // per trie node
  // node << 8 | byte -> node, while the trie is built.
  std::unordered_map<uint64_t, uint32_t> building_children_;
  // Node n's children are at [child_begin_[n], child_begin_[n + 1]) of
  // child_bytes_ and child_nodes_: a few bytes to scan for most nodes.
  std::vector<uint32_t> child_begin_;
  std::vector<unsigned char> child_bytes_;
  std::vector<uint32_t> child_nodes_;
  FlatStringSet closed_forms_;  // case-folded
  std::unordered_map<const PatternTable*, std::unique_ptr<PatternMatchCache>> caches_;
  PassTemplates templates_;
  // Per entry, its generator passes and the template of each, or -1.
  std::vector<std::vector<EntryPass>> passes_;
  std::vector<std::array<int32_t, 4>> pass_templates_;
};

// Builds the index for the process-wide lexicon now rather than at the first
// word (it is rebuilt after each BuildLexicon or InstallLexicon).
void PrepareWordCheck();

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
