#pragma once
// The compiled form of the pattern rows that the interpreter walks: each
// pattern a tree of nodes over the concord arrays and the entry's values,
// each row with its conditions, variants and perfect block.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analyser/concord_tables.h"

namespace tovuri::pattern_rows {

using Slots = std::span<const std::string_view>;

struct NamedArray {
  std::string_view name;
  Slots slots;
};

inline constexpr NamedArray kArrays[] = {
    {"SC", SubjectConcords},         {"PSC", PastSubjectConcords},
    {"POS", PossessiveConcords},     {"NSC", NegativeSubjectConcords},
    {"OCS", ObjectConcordsShort},    {"RC", RelativeConcords},
    {"RPC", RelativePastConcords},   {"PC", ParticipialConcords},
    {"SE", SeConcords},              {"SEP", SePastConcords},
    {"RSE", RelativeSeConcords},     {"BE", BeConcords},
    {"RBE", RelativeBeConcords},     {"NGA", NgaConcords},
    {"RNGA", RelativeNgaConcords},   {"RPOS", RelativePossessiveConcords},
    {"BESE", BeSeConcords},          {"RBESE", RelativeBeSeConcords},
    {"NGASE", NgaSeConcords},        {"RNGASE", RelativeNgaSeConcords},
    {"FVP", FixedVerbPrefixes},      {"SU", SuPrefixes},
};

// No pattern walks more arrays than this at once.
inline constexpr size_t kMaxWalks = 4;

// No pattern nests functions deeper than this.
inline constexpr size_t kMaxDepth = 4;

// The object-concord list belongs to the entry, so its slots are only known
// when a row runs; it is never longer than the shared table.
inline constexpr size_t kObjectSlots = ObjectConcords.size();

enum class Value { kPrefix, kPrefixTail, kStem, kFinal, kPassiveStem, kGlide, kEmpty };
enum class Ending { kIle, kIwe, kIleyo };

struct Node;
using Sequence = std::vector<Node>;

struct Node {
  enum class Kind { kLiteral, kSlot, kValue, kEnding, kJoin, kChop, kFirst2, kTail, kKw, kGlide };
  explicit Node(Kind k) : kind(k) {}
  Kind kind;
  std::string literal;
  size_t var = 0;
  Value value = Value::kEmpty;
  Ending ending = Ending::kIle;
  std::vector<Sequence> args;
};

// One array walk of a pattern: the array (none for OC) and its slots, 0-based.
struct Walk {
  std::string key;
  Slots array;
  bool object_concords = false;
  bool limited_to_object_count = false;  // OCS stops at the entry's N, as OC does
  std::vector<size_t> slots;
};

struct Pattern {
  std::vector<Walk> walks;
  Sequence sequence;
};

using Patterns = std::vector<Pattern>;

struct Condition {
  enum class Kind { kOneVowel, kVowelInitial, kReflexive, kPassiveOnly, kStem, kStemFinal };
  Kind kind;
  std::string word;
};

struct Variant {
  std::vector<Condition> when;
  Patterns patterns;
};

struct Row {
  Patterns patterns;
  bool skipped_when_passive_only = false;
  int block = 0;
  std::vector<Condition> only_when;
  std::vector<Condition> not_made_when;
  std::vector<Variant> variants;
};

// Reads a row's pattern text: one or more patterns separated by ";".
Patterns ParsePatterns(std::string_view text, int block);
// Reads a row's notes into its conditions, variants and perfect block.
void ParseNotes(std::string_view notes, Row& row);

inline bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

}  // namespace tovuri::pattern_rows
