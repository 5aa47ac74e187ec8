#pragma once
// The fast word check's index: what it derives from a lexicon once, laid out
// flat so that it can be written to a file beside the lexicon and used in
// place from a read-only mapping of that file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analyser/index_format.h"
#include "analyser/lexicon.h"
#include "analyser/pass_templates.h"
#include "analyser/pattern_interpreter.h"
#include "analyser/word_check_layout.h"

namespace tovuri {

// The index file's name in the lexicon's folder.
inline constexpr std::string_view kWordCheckIndexFile = "Ndebele.idx";

// A trie of every string whose presence in a word makes an entry a
// candidate, the left parts of the pattern tables' forms for the lexicon's
// verbs, the templates of the other generators' passes, and the closed-class
// forms. Read-only, so any number of threads may share it; it refers to the
// lexicon, which must outlive it unchanged.
class WordCheckIndex {
 public:
  // Builds the index in memory.
  explicit WordCheckIndex(const Lexicon& lexicon);
  WordCheckIndex(const WordCheckIndex&) = delete;
  WordCheckIndex& operator=(const WordCheckIndex&) = delete;

  // Maps the index file at path for this lexicon; null, with the reason in
  // problem, when it is missing, was built from other lexicon files or by
  // other generators, or is truncated or damaged.
  static std::unique_ptr<WordCheckIndex> Open(const std::string& path, const Lexicon& lexicon,
                                              std::string& problem);

  // The verdict of IsNdebeleWordReference, reached without making most forms.
  bool IsWord(std::string_view word) const;
  // CandidateEntries(word, lexicon), found in one walk over the word.
  std::vector<size_t> Candidates(std::string_view word) const;
  // The left parts gathered for a table, or null.
  const PatternMatchView* CacheFor(const PatternTable& table) const;

  struct Sizes {
    size_t trie_nodes = 0;
    size_t needles = 0;
    size_t closed_forms = 0;
    size_t pass_templates = 0;
    size_t bytes = 0;  // laid out
  };
  Sizes GetSizes() const;

 private:
  WordCheckIndex(const Lexicon& lexicon, std::shared_ptr<const void> storage, IndexBytes bytes,
                 uint32_t root);
  // Reads the root record; false when its arrays do not fit the bytes or disagree.
  bool Attach(uint32_t root);
  // The child of node along byte c, or 0 (the root is nobody's child).
  uint32_t Child(uint32_t node, unsigned char c) const;
  bool IsClosedClass(std::string_view word, std::string_view folded) const;
  std::string_view Text(IndexRef ref) const { return bytes_.Bytes(ref); }

  const Lexicon& lexicon_;
  std::shared_ptr<const void> storage_;  // what bytes_ lies in: a buffer or a mapping
  IndexBytes bytes_;
  std::span<const uint32_t> child_begin_;
  std::span<const unsigned char> child_bytes_;
  std::span<const uint32_t> child_nodes_;
  std::span<const uint32_t> needle_begin_;
  std::span<const NeedleRecord> needles_;
  StringSetView closed_forms_;
  std::vector<std::pair<uint64_t, PatternMatchView>> caches_;  // by table fingerprint
  PassTemplatesView templates_;
  std::span<const uint32_t> pass_begin_;
  std::span<const PassRecord> passes_;
};

// Lays the index of the lexicon out, as its file holds it after the header;
// root receives the offset of the root record.
std::string LayOutWordCheckIndex(const Lexicon& lexicon, uint32_t& root);

// Writes the index file for a lexicon read by LoadLexicon (through a temporary
// file renamed over path); false with the reason in problem when it cannot.
bool WriteWordCheckIndex(const Lexicon& lexicon, const std::string& path, std::string& problem);

// The checksum an index file's header holds of its laid-out bytes and root.
uint64_t IndexPayloadChecksum(std::string_view payload, uint64_t root);

// What identifies the generators an index was made by: the pattern tables'
// rows and the layout's version.
uint64_t WordCheckCodeFingerprint();

}  // namespace tovuri
