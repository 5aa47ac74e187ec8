#pragma once
// Form pattern tables and the interpreter that walks them. A table is a list
// of rows written in the grammar's own notation, for example
//   J(SC + "ya" + OC, T) + E
// and each row yields one form for every combination of the table slots it
// names. The notation:
//   "..."           a literal morpheme
//   P, P', T, E     prefix, prefix without its first letter, stem, final letter
//   Tp, W           passive base and passive glide; empty: the empty string
//   SC, RC, ...     a concord array walked slot by slot; SC{1-2,4-17} walks
//                   only the listed slots (1-based); OC is the entry's working
//                   object-concord list, and OC{2-16} or OCS{2-16} means
//                   slots 2 to N
//   a + b           concatenation; "a ; b" in one row: two patterns
//   J(a, b)         JoinWithGlide(a, b)
//   chop, first2, tail, KW, G
//                   last letter dropped, first two letters, first letter
//                   dropped, KuBeforeVowel, GlideVowel
// An array named twice in one pattern takes the same slot in both places.
// Array names: SC PSC POS NSC OCS RC RPC PC SE SEP RSE BE RBE NGA RNGA RPOS
// BESE RBESE NGASE RNGASE FVP SU, the concord tables in that order from
// SubjectConcords to FixedVerbPrefixes, and SuPrefixes.
//
// A row's notes switch it: "Not made when C or D.", "Only when C.",
// "Only when C (but not when D or E).", "When C, D: <pattern>." (a variant
// that replaces the pattern and takes precedence over a "Not made" note),
// "Perfect block 1." / "Perfect block 2.". Conditions: one-vowel,
// vowel-initial (and not one-vowel), Reflexive, PassiveOnly, T="x", T+E="x".
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "analyser/form_sink.h"
#include "analyser/index_format.h"

namespace tovuri {

// Whether a row is made for an entry whose attribute is "PassiveOnly".
enum class PassiveOnly { kMade, kSkipped };

// One row as written in a table.
struct PatternRow {
  std::string_view pattern;
  PassiveOnly passive_only = PassiveOnly::kMade;
  std::string_view notes = {};
};

// The endings that the literals "ile", "iwe" and "ileyo" stand for inside the
// rows of one perfect block, and whether the block is made at all.
struct PerfectBlock {
  bool made = true;
  std::string_view ile = "ile";
  std::string_view iwe = "iwe";
  std::string_view ileyo = "ileyo";
};

// What the symbols of a pattern mean for one lexicon entry.
struct PatternValues {
  std::string_view prefix;        // P
  std::string_view stem;          // T
  std::string_view final;         // E
  std::string_view passive_stem;  // Tp
  std::string_view glide;         // W
  std::span<const std::string_view> object_concords;  // OC, slots 1 to N
  bool one_vowel = false;
  bool vowel_initial = false;  // the raw test; the condition also needs !one_vowel
  bool reflexive = false;
  bool passive_only = false;
  std::array<PerfectBlock, 2> perfect_blocks;
};

class PatternTable;

// What a table's forms hold of a word, compared without regard to case.
enum class TableMatch {
  kNone,       // no form equals the word
  kLowerCase,  // a form equals it, and every form these values make is lower case
  kMixedCase,  // a form equals it, but forms may carry capitals: make them to decide
};

// The left parts of a table's forms (what stands before the part that the
// entry fixes), gathered per entry shape so that a match is a look-up.
// Filled before use; read-only, and so safe to share, afterwards.
class PatternMatchCache {
 public:
  PatternMatchCache();
  ~PatternMatchCache();
  PatternMatchCache(PatternMatchCache&&) noexcept;
  PatternMatchCache& operator=(PatternMatchCache&&) noexcept;
  size_t SetCount() const;
  size_t StringCount() const;  // left parts held in all sets
  size_t ByteEstimate() const;
  // Lays the cache out for a PatternMatchView; returns where its record is.
  uint32_t Write(IndexWriter& writer) const;

 private:
  friend class PatternTable;
  struct Data;
  std::unique_ptr<Data> data_;
};

// A PatternMatchCache as laid out by Write, read in place.
class PatternMatchView {
 public:
  PatternMatchView() = default;
  PatternMatchView(const IndexBytes& bytes, uint32_t record);
  // The left parts prepared under a key (the shape and value ids of a left
  // part), before the second part or before its tail; nothing when not prepared.
  std::optional<StringSetView> Lefts(std::span<const uint32_t> key, bool before_tail) const;
  size_t size() const { return keys_.count; }

 private:
  friend class PatternTable;
  IndexBytes bytes_;
  StringSetView names_;
  std::span<const uint32_t> key_slots_;
  IndexRef keys_;
};

// A sink that may take a whole table at once instead of its forms.
class TableSink : public FormSink {
 public:
  // True when the sink has dealt with the table; false to have its forms made.
  virtual bool TakeTable(const PatternTable& table, const PatternValues& values) = 0;
};

// A table of rows, checked and compiled once. The constructor throws
// std::invalid_argument naming the row when a pattern or note is malformed.
class PatternTable {
 public:
  explicit PatternTable(std::span<const PatternRow> rows);
  ~PatternTable();
  PatternTable(const PatternTable&) = delete;
  PatternTable& operator=(const PatternTable&) = delete;

  size_t size() const;
  // Appends the forms of every row in order; stops early once forms.Done().
  void Run(const PatternValues& values, FormSink& forms) const;
  // Appends the forms of one row (0-based index).
  void RunRow(size_t row, const PatternValues& values, FormSink& forms) const;

  // Adds to cache the left parts that matching these values needs.
  void PrepareMatch(const PatternValues& values, PatternMatchCache& cache) const;
  // Whether a form of these values equals folded_word (already case-folded)
  // without regard to case, decided by taking the word apart: its end must be
  // a pattern's fixed part, and what stands before it one of the pattern's left
  // parts. cache may be null or lack these values' shapes; those are then made.
  TableMatch MatchFolded(const PatternValues& values, std::string_view folded_word,
                         const PatternMatchView* cache) const;
  // Identifies the table by its rows, so that a laid-out cache finds its table.
  uint64_t Fingerprint() const { return fingerprint_; }

 private:
  struct Compiled;
  std::unique_ptr<const Compiled> compiled_;
  uint64_t fingerprint_ = 0;
};

inline void RunPatterns(const PatternTable& table, const PatternValues& values,
                        FormSink& forms) {
  table.Run(values, forms);
}

}  // namespace tovuri
