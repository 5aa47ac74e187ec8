#include "analyser/pattern_interpreter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "analyser/concord_tables.h"
#include "analyser/flat_string_set.h"
#include "analyser/morpheme_ops.h"
#include "analyser/pattern_rows.h"
#include "analyser/text_case.h"

namespace tovuri {
namespace {

using namespace pattern_rows;

// Making the forms.

bool Holds(const Condition& c, const PatternValues& v) {
  switch (c.kind) {
    case Condition::Kind::kOneVowel: return v.one_vowel;
    case Condition::Kind::kVowelInitial: return v.vowel_initial && !v.one_vowel;
    case Condition::Kind::kReflexive: return v.reflexive;
    case Condition::Kind::kPassiveOnly: return v.passive_only;
    case Condition::Kind::kStem: return v.stem == c.word;
    case Condition::Kind::kStemFinal:
      return v.stem.size() + v.final.size() == c.word.size() && StartsWith(c.word, v.stem) &&
             c.word.substr(v.stem.size()) == v.final;
  }
  return false;
}

bool AnyHolds(const std::vector<Condition>& conditions, const PatternValues& v) {
  for (const Condition& c : conditions)
    if (Holds(c, v)) return true;
  return false;
}

// The patterns a row makes for these values, or none.
const Patterns* Chosen(const Row& row, const PatternValues& v) {
  if (row.skipped_when_passive_only && v.passive_only) return nullptr;
  if (row.block != 0 && !v.perfect_blocks[static_cast<size_t>(row.block - 1)].made)
    return nullptr;
  for (const Variant& variant : row.variants)
    if (AnyHolds(variant.when, v)) return &variant.patterns;
  if (!row.only_when.empty() && !AnyHolds(row.only_when, v)) return nullptr;
  if (AnyHolds(row.not_made_when, v)) return nullptr;
  return &row.patterns;
}

class FormMaker {
 public:
  FormMaker(const PatternValues& values, FormSink& forms) : v_(values), forms_(forms) {}

  void SetBlock(int block) {
    block_ = block == 0 ? nullptr : &v_.perfect_blocks[static_cast<size_t>(block - 1)];
  }

  // Walks every combination of the pattern's slots. Returns false once the
  // sink wants no more forms.
  bool Make(const Pattern& pattern) {
    return ForEachCombination(pattern, [&] {
      Emit(pattern.sequence);
      return !forms_.Done();
    });
  }

  // Sets the slots to every combination in turn and calls visit, which
  // returns false to stop. Returns false when stopped.
  template <typename Visit>
  bool ForEachCombination(const Pattern& pattern, Visit&& visit) {
    const size_t walks = pattern.walks.size();
    std::array<std::span<const size_t>, kMaxWalks> slots;
    std::array<Slots, kMaxWalks> arrays;
    for (size_t i = 0; i < walks; ++i) {
      const Walk& walk = pattern.walks[i];
      arrays[i] = walk.object_concords ? v_.object_concords : walk.array;
      if (walk.limited_to_object_count)
        arrays[i] = arrays[i].first(std::min(arrays[i].size(), v_.object_concords.size()));
      size_t count = walk.slots.size();
      // OC{a-b} and OCS{a-b} stop at the entry's last object-concord slot.
      while (count > 0 && walk.slots[count - 1] >= arrays[i].size()) --count;
      if (count == 0) return true;
      slots[i] = std::span<const size_t>(walk.slots.data(), count);
    }
    std::array<size_t, kMaxWalks> at{};
    for (;;) {
      for (size_t i = 0; i < walks; ++i) current_[i] = arrays[i][slots[i][at[i]]];
      if (!visit()) return false;
      size_t i = walks;
      while (i > 0 && ++at[i - 1] == slots[i - 1].size()) at[--i] = 0;
      if (i == 0) return true;
    }
  }

  // Appends what a sequence makes with the current slots.
  void Evaluate(const Sequence& sequence, std::string& out) { Append(sequence, out, 0); }

  // False when what the sequence makes cannot end folded_word: read from its
  // last term back, as long as the terms need no computing, and without
  // regard to case. Slots are not read, so it needs no combination set.
  bool MayEnd(const Sequence& sequence, std::string_view folded_word) const {
    size_t end = folded_word.size();
    for (auto node = sequence.rbegin(); node != sequence.rend(); ++node) {
      std::string_view term;
      if (node->kind == Node::Kind::kSlot || !Simple(*node, term)) return true;
      if (term.size() > end) return false;
      end -= term.size();
      for (size_t i = 0; i < term.size(); ++i)
        if (FoldCase(term[i]) != folded_word[end + i]) return false;
    }
    return true;
  }

  std::string_view ValueOf(Value value) const {
    switch (value) {
      case Value::kPrefix: return v_.prefix;
      case Value::kPrefixTail: return v_.prefix.empty() ? v_.prefix : v_.prefix.substr(1);
      case Value::kStem: return v_.stem;
      case Value::kFinal: return v_.final;
      case Value::kPassiveStem: return v_.passive_stem;
      case Value::kGlide: return v_.glide;
      case Value::kEmpty: return {};
    }
    return {};
  }

  std::string_view EndingOf(Ending ending) const {
    switch (ending) {
      case Ending::kIle: return block_->ile;
      case Ending::kIwe: return block_->iwe;
      case Ending::kIleyo: return block_->ileyo;
    }
    return {};
  }

  // A term that needs no computing, as a view; false for computed terms.
  bool Simple(const Node& node, std::string_view& out) const {
    switch (node.kind) {
      case Node::Kind::kLiteral: out = node.literal; return true;
      case Node::Kind::kSlot: out = current_[node.var]; return true;
      case Node::Kind::kValue: out = ValueOf(node.value); return true;
      case Node::Kind::kEnding: out = EndingOf(node.ending); return true;
      default: return false;
    }
  }

  void Append(const Sequence& sequence, std::string& out, size_t depth) {
    for (const Node& node : sequence) Append(node, out, depth);
  }

  // Computed terms build their arguments in scratch strings kept for the
  // whole run, two per nesting level, so that forms cost no allocations.
  void Append(const Node& node, std::string& out, size_t depth) {
    std::string_view simple;
    if (Simple(node, simple)) {
      out += simple;
      return;
    }
    std::string& a = scratch_[2 * depth];
    a.clear();
    Append(node.args[0], a, depth + 1);
    switch (node.kind) {
      case Node::Kind::kJoin: {
        std::string& b = scratch_[2 * depth + 1];
        b.clear();
        Append(node.args[1], b, depth + 1);
        out += JoinWithGlide(a, b);
        break;
      }
      case Node::Kind::kChop: out += DropLastChars(a, 1); break;
      case Node::Kind::kFirst2: out += std::string_view(a).substr(0, 2); break;
      case Node::Kind::kTail: out += std::string_view(a).substr(a.empty() ? 0 : 1); break;
      case Node::Kind::kKw: out += KuBeforeVowel(a); break;
      case Node::Kind::kGlide: out += GlideVowel(a); break;
      default: break;
    }
  }

 private:
  // Hands the form to the sink as its pieces, computing only what must be.
  void Emit(const Sequence& sequence) {
    constexpr size_t kMaxPieces = 8;
    std::string_view pieces[kMaxPieces];
    const size_t count = sequence.size();
    if (count > kMaxPieces) {
      std::string form;
      Append(sequence, form, 0);
      forms_.Add(form);
      return;
    }
    if (computed_.size() < count) computed_.resize(count);
    for (size_t i = 0; i < count; ++i) {
      if (Simple(sequence[i], pieces[i])) continue;
      computed_[i].clear();
      Append(sequence[i], computed_[i], 0);
      pieces[i] = computed_[i];
    }
    const auto& p = pieces;
    switch (count) {
      case 1: forms_.Add({p[0]}); break;
      case 2: forms_.Add({p[0], p[1]}); break;
      case 3: forms_.Add({p[0], p[1], p[2]}); break;
      case 4: forms_.Add({p[0], p[1], p[2], p[3]}); break;
      case 5: forms_.Add({p[0], p[1], p[2], p[3], p[4]}); break;
      case 6: forms_.Add({p[0], p[1], p[2], p[3], p[4], p[5]}); break;
      case 7: forms_.Add({p[0], p[1], p[2], p[3], p[4], p[5], p[6]}); break;
      case 8: forms_.Add({p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]}); break;
      default: break;
    }
  }

  const PatternValues& v_;
  FormSink& forms_;
  const PerfectBlock* block_ = nullptr;
  std::array<std::string_view, kMaxWalks> current_;
  std::vector<std::string> computed_;
  std::array<std::string, 2 * kMaxDepth> scratch_;
};

// Returns false once the sink wants no more forms.
bool MakeRow(const Row& row, const PatternValues& values, FormMaker& maker) {
  const Patterns* patterns = Chosen(row, values);
  if (patterns == nullptr) return true;
  maker.SetBlock(row.block);
  for (const Pattern& pattern : *patterns)
    if (!maker.Make(pattern)) return false;
  return true;
}


// Matching a word against a table without making its forms.
//
// Every slot of a pattern stands before its stem, so a form is a left part,
// made from the slots and a few of the entry's values, followed by a right
// part that the entry fixes alone. Where the last slot sits inside J(a, b)
// with a slot-free b, JoinWithGlide leaves b whole at the end and changes only
// the end of a, by rules that read no more of b than JoinStandIn keeps; so the
// left part is J(a, stand-in) less the stand-in, and b begins the right part.

// A string that JoinWithGlide treats as it treats second.
std::string_view JoinStandIn(std::string_view second) {
  if (second.empty()) return {};
  if (second == "m" || second == "mb" || second == "z" || second == "zw" || second == "zwakal")
    return second;
  if (IsVowel(second[0])) return second.substr(0, 1);
  return "q";
}

bool HasSlot(const Node& node) {
  if (node.kind == Node::Kind::kSlot) return true;
  for (const Sequence& arg : node.args)
    for (const Node& n : arg)
      if (HasSlot(n)) return true;
  return false;
}

bool HasSlot(const Sequence& sequence) {
  return std::any_of(sequence.begin(), sequence.end(),
                     [](const Node& n) { return HasSlot(n); });
}

// The entry values a left part may read, one bit each.
enum Dep : uint32_t {
  kDepPrefix, kDepPrefixTail, kDepStem, kDepFinal, kDepPassiveStem, kDepGlide,
  kDepIle, kDepIwe, kDepIleyo, kDepObjectConcords, kDepStandIn, kDepCount
};

void Describe(const Node& node, const Pattern& pattern, std::string& out, uint32_t& deps);

void Describe(const Sequence& sequence, const Pattern& pattern, std::string& out,
              uint32_t& deps) {
  out += '(';
  for (const Node& node : sequence) Describe(node, pattern, out, deps);
  out += ')';
}

// Text that two nodes share exactly when they make the same strings from the
// same values and slots; also notes the values the node reads.
void Describe(const Node& node, const Pattern& pattern, std::string& out, uint32_t& deps) {
  out += static_cast<char>('A' + static_cast<int>(node.kind));
  switch (node.kind) {
    case Node::Kind::kLiteral: out += '"'; out += node.literal; out += '"'; break;
    case Node::Kind::kSlot: {
      const Walk& walk = pattern.walks[node.var];
      out += walk.key;
      out += ';';
      if (walk.object_concords || walk.limited_to_object_count) deps |= 1u << kDepObjectConcords;
      break;
    }
    case Node::Kind::kValue:
      out += static_cast<char>('0' + static_cast<int>(node.value));
      switch (node.value) {
        case Value::kPrefix: deps |= 1u << kDepPrefix; break;
        case Value::kPrefixTail: deps |= 1u << kDepPrefixTail; break;
        case Value::kStem: deps |= 1u << kDepStem; break;
        case Value::kFinal: deps |= 1u << kDepFinal; break;
        case Value::kPassiveStem: deps |= 1u << kDepPassiveStem; break;
        case Value::kGlide: deps |= 1u << kDepGlide; break;
        case Value::kEmpty: break;
      }
      break;
    case Node::Kind::kEnding:
      out += static_cast<char>('0' + static_cast<int>(node.ending));
      deps |= 1u << (kDepIle + static_cast<uint32_t>(node.ending));
      break;
    default:
      for (const Sequence& arg : node.args) Describe(arg, pattern, out, deps);
      break;
  }
}

// A left part that reads these is made afresh for each entry, never kept.
constexpr uint32_t kPerEntry = 1u << kDepStem | 1u << kDepPassiveStem;

// How one pattern is taken apart.
struct Plan {
  const Row* row = nullptr;
  const Patterns* patterns = nullptr;  // the list that Chosen returns for the pattern
  const Pattern* pattern = nullptr;
  Sequence left;                        // the slot-bearing nodes
  const Sequence* join_first = nullptr;  // a of a J(a, b) split between the parts
  bool tail = false;  // the split J stands in tail(J(a, b)): its first letter is dropped
  uint32_t deps = 0;
  uint32_t left_id = 0;  // patterns with the same left part share it
  size_t right_id = 0;
};

// A right part: b of a split J, the nodes after the last slot, and the
// perfect block that gives the endings their values.
struct RightPart {
  const Sequence* join_second = nullptr;
  Sequence rest;
  int block = 0;
  std::vector<size_t> plans;
  // Right parts share their pieces: one evaluation of each serves all.
  size_t second_id = 0;
  size_t rest_id = 0;
};

struct MatchPlans {
  size_t second_count = 0;  // distinct join seconds (with their blocks)
  size_t rest_count = 0;    // distinct rests (with their blocks)
  std::vector<Plan> plans;
  std::vector<size_t> tail_plans;  // plans whose split J stands in a tail()
  std::vector<RightPart> rights;
  // The rights whose rest ends in a literal, by that literal's last letter
  // (case-folded), and all others: a word need only be tried against those
  // of its own last letter and the others.
  std::array<std::vector<uint32_t>, 256> rights_by_last_letter;
  std::vector<uint32_t> rights_of_any_end;
  bool literals_lower = true;  // every literal and walked array is lower case
  uint32_t deps = 0;           // every value some left part reads
};

bool IsLower(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return FoldCase(c) == c; });
}

bool LiteralsLower(const Sequence& sequence, const Pattern& pattern) {
  for (const Node& node : sequence) {
    if (node.kind == Node::Kind::kLiteral && !IsLower(node.literal)) return false;
    if (node.kind == Node::Kind::kSlot) {
      for (std::string_view slot : pattern.walks[node.var].array)
        if (!IsLower(slot)) return false;
    }
    for (const Sequence& arg : node.args)
      if (!LiteralsLower(arg, pattern)) return false;
  }
  return true;
}

MatchPlans MakePlans(const std::vector<Row>& rows) {
  MatchPlans out;
  std::vector<std::string> left_texts;
  std::vector<std::string> right_texts;
  std::vector<std::string> second_texts;
  std::vector<std::string> rest_texts;
  const auto intern = [](std::vector<std::string>& texts, const std::string& text) {
    const auto it = std::find(texts.begin(), texts.end(), text);
    if (it != texts.end()) return static_cast<size_t>(it - texts.begin());
    texts.push_back(text);
    return texts.size() - 1;
  };
  const auto add = [&](const Row& row, const Patterns& patterns) {
    for (const Pattern& pattern : patterns) {
      out.literals_lower = out.literals_lower && LiteralsLower(pattern.sequence, pattern);
      const Sequence& seq = pattern.sequence;
      size_t split = 0;  // one past the last slot-bearing node
      for (size_t i = 0; i < seq.size(); ++i)
        if (HasSlot(seq[i])) split = i + 1;
      Plan plan;
      plan.row = &row;
      plan.patterns = &patterns;
      plan.pattern = &pattern;
      RightPart right;
      right.block = row.block;
      // tail(J(a, b)) is tail(a') + b while a' (what J leaves of a) is not
      // empty, and b less its first letter when it is.
      const Node* join = nullptr;
      if (split > 0) {
        const Node& last = seq[split - 1];
        if (last.kind == Node::Kind::kJoin) {
          join = &last;
        } else if (last.kind == Node::Kind::kTail && last.args[0].size() == 1 &&
                   last.args[0][0].kind == Node::Kind::kJoin) {
          join = &last.args[0][0];
          plan.tail = true;
        }
        if (join && HasSlot(join->args[1])) {
          join = nullptr;
          plan.tail = false;
        }
      }
      if (join) {
        plan.left.assign(seq.begin(), seq.begin() + static_cast<std::ptrdiff_t>(split - 1));
        plan.join_first = &join->args[0];
        right.join_second = &join->args[1];
        plan.deps |= 1u << kDepStandIn;
      } else {
        plan.left.assign(seq.begin(), seq.begin() + static_cast<std::ptrdiff_t>(split));
      }
      right.rest.assign(seq.begin() + static_cast<std::ptrdiff_t>(split), seq.end());

      std::string left_text = std::to_string(row.block) + ":";
      for (const Walk& walk : pattern.walks) left_text += walk.key + ",";
      Describe(plan.left, pattern, left_text, plan.deps);
      left_text += plan.tail ? "|tail" : "|";
      if (plan.join_first) Describe(*plan.join_first, pattern, left_text, plan.deps);
      plan.left_id = static_cast<uint32_t>(intern(left_texts, left_text));

      uint32_t unused = 0;
      std::string second_text = std::to_string(row.block) + ":";
      if (right.join_second) Describe(*right.join_second, pattern, second_text, unused);
      std::string rest_text = std::to_string(row.block) + ":";
      Describe(right.rest, pattern, rest_text, unused);
      right.second_id = intern(second_texts, second_text);
      right.rest_id = intern(rest_texts, rest_text);
      out.second_count = second_texts.size();
      out.rest_count = rest_texts.size();
      plan.right_id = intern(right_texts, second_text + "|" + rest_text);
      if (plan.right_id == out.rights.size()) out.rights.push_back(std::move(right));
      out.rights[plan.right_id].plans.push_back(out.plans.size());
      if (plan.tail) out.tail_plans.push_back(out.plans.size());
      if (!(plan.deps & kPerEntry)) out.deps |= plan.deps;
      out.plans.push_back(std::move(plan));
    }
  };
  for (const Row& row : rows) {
    add(row, row.patterns);
    for (const Variant& variant : row.variants) add(row, variant.patterns);
  }
  for (uint32_t r = 0; r < out.rights.size(); ++r) {
    const Sequence& rest = out.rights[r].rest;
    if (!rest.empty() && rest.back().kind == Node::Kind::kLiteral && !rest.back().literal.empty()) {
      const auto last = static_cast<unsigned char>(FoldCase(rest.back().literal.back()));
      out.rights_by_last_letter[last].push_back(r);
    } else {
      out.rights_of_any_end.push_back(r);
    }
  }
  return out;
}

// A left part's look-up key: its shape and the ids of the values it reads.
struct LeftKey {
  std::array<uint32_t, kDepCount + 1> ids{};
  bool operator==(const LeftKey&) const = default;
};

struct LeftKeyHash {
  size_t operator()(const LeftKey& key) const {
    uint64_t h = 1469598103934665603ull;
    for (uint32_t id : key.ids) h = (h ^ id) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};

constexpr uint32_t kUnknownId = 0xFFFFFFFFu;

struct StringHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

using LeftSet = FlatStringSet;

// The left parts of one pattern: before b (the split J's second argument),
// and, for tail(J(a, b)) where J leaves nothing of a, before b less its
// first letter.
struct Lefts {
  LeftSet before_second;
  LeftSet before_tail_of_second;
};

// The ids of the values one run reads, found on first use.
class ValueIds {
 public:
  ValueIds(const PatternValues& values, const StringSetView* names,
           std::unordered_map<std::string, uint32_t, StringHash, std::equal_to<>>* adding)
      : v_(values), names_(names), adding_(adding) {
    known_.fill(false);
  }

  uint32_t Of(Dep dep, int block, std::string_view stand_in) {
    if (dep == kDepStandIn) return Id(stand_in);
    // Block 2 has endings of its own, kept past the other values.
    const size_t at =
        dep >= kDepIle && dep <= kDepIleyo && block == 2 ? kDepCount + (dep - kDepIle) : dep;
    if (!known_[at]) {
      ids_[at] = Id(Text(dep, block));
      known_[at] = true;
    }
    return ids_[at];
  }

 private:
  std::string Text(Dep dep, int block) const {
    const PerfectBlock* b = block == 0 ? nullptr : &v_.perfect_blocks[static_cast<size_t>(block - 1)];
    switch (dep) {
      case kDepPrefix: return std::string(v_.prefix);
      case kDepPrefixTail: return std::string(v_.prefix.empty() ? v_.prefix : v_.prefix.substr(1));
      case kDepStem: return std::string(v_.stem);
      case kDepFinal: return std::string(v_.final);
      case kDepPassiveStem: return std::string(v_.passive_stem);
      case kDepGlide: return std::string(v_.glide);
      case kDepIle: return b ? std::string(b->ile) : std::string();
      case kDepIwe: return b ? std::string(b->iwe) : std::string();
      case kDepIleyo: return b ? std::string(b->ileyo) : std::string();
      case kDepObjectConcords: {
        std::string all;
        for (std::string_view oc : v_.object_concords) {
          all += oc;
          all += '\0';
        }
        return all;
      }
      default: return {};
    }
  }

  uint32_t Id(std::string_view text) {
    if (adding_) {
      const auto [it, added] =
          adding_->try_emplace(std::string(text), static_cast<uint32_t>(adding_->size()));
      return it->second;
    }
    if (!names_) return kUnknownId;
    return names_->Find(text).value_or(kUnknownId);
  }

  const PatternValues& v_;
  const StringSetView* names_;
  std::unordered_map<std::string, uint32_t, StringHash, std::equal_to<>>* adding_;
  std::array<uint32_t, kDepCount + 3> ids_{};
  std::array<bool, kDepCount + 3> known_{};
};

LeftKey KeyOf(const Plan& plan, ValueIds& ids, std::string_view stand_in) {
  LeftKey key;
  key.ids[0] = plan.left_id;
  for (uint32_t dep = 0; dep < kDepCount; ++dep)
    key.ids[dep + 1] = (plan.deps >> dep & 1u)
                           ? ids.Of(static_cast<Dep>(dep), plan.row->block, stand_in)
                           : kUnknownId - 1;
  return key;
}

// Calls take(left, before_tail) with every left part of one pattern for these
// values, case-folded, until take returns false; before_tail is set when the
// left part stands before b less its first letter.
template <typename Take>
void ForEachLeft(const Plan& plan, FormMaker& maker, std::string_view stand_in, Take&& take) {
  std::string left;
  std::string first;
  maker.SetBlock(plan.row->block);
  maker.ForEachCombination(*plan.pattern, [&] {
    left.clear();
    maker.Evaluate(plan.left, left);
    bool before_tail = false;
    if (plan.join_first) {
      first.clear();
      maker.Evaluate(*plan.join_first, first);
      const std::string joined = JoinWithGlide(first, stand_in);
      const std::string_view kept =
          std::string_view(joined).substr(0, joined.size() - stand_in.size());
      if (!plan.tail) {
        left += kept;
      } else if (kept.empty()) {
        before_tail = true;
      } else {
        left += kept.substr(1);
      }
    }
    for (char& c : left) c = FoldCase(c);
    return take(left, before_tail);
  });
}

Lefts MakeLefts(const Plan& plan, FormMaker& maker, std::string_view stand_in) {
  Lefts lefts;
  ForEachLeft(plan, maker, stand_in, [&](const std::string& left, bool before_tail) {
    (before_tail ? lefts.before_tail_of_second : lefts.before_second).Insert(left);
    return true;
  });
  return lefts;
}

// A sink for makers that only evaluate.
class NoForms final : public FormSink {
 public:
  using FormSink::Add;
  void Add(std::initializer_list<std::string_view>) override {}
};

bool ValuesLower(const PatternValues& v) {
  if (!IsLower(v.prefix) || !IsLower(v.stem) || !IsLower(v.final) || !IsLower(v.passive_stem) ||
      !IsLower(v.glide))
    return false;
  for (std::string_view oc : v.object_concords)
    if (!IsLower(oc)) return false;
  for (const PerfectBlock& b : v.perfect_blocks)
    if (!IsLower(b.ile) || !IsLower(b.iwe) || !IsLower(b.ileyo)) return false;
  return true;
}

}  // namespace

struct PatternTable::Compiled {
  std::vector<Row> rows;
  MatchPlans match;
};

struct SignatureHash {
  size_t operator()(const std::vector<uint32_t>& ids) const {
    uint64_t h = 1469598103934665603ull;
    for (uint32_t id : ids) h = (h ^ id) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};

struct PatternMatchCache::Data {
  std::unordered_map<std::string, uint32_t, StringHash, std::equal_to<>> names;
  // Values already prepared, by everything their left parts and choices read.
  std::unordered_set<std::vector<uint32_t>, SignatureHash> prepared;
  std::unordered_map<LeftKey, Lefts, LeftKeyHash> sets;
};

PatternMatchCache::PatternMatchCache() : data_(std::make_unique<Data>()) {}
PatternMatchCache::~PatternMatchCache() = default;
PatternMatchCache::PatternMatchCache(PatternMatchCache&&) noexcept = default;
PatternMatchCache& PatternMatchCache::operator=(PatternMatchCache&&) noexcept = default;

namespace {

// A left part's key as laid out, with the two sets of its Lefts.
struct KeyRecord {
  std::array<uint32_t, kDepCount + 1> ids{};
  StringSetRecord before_second;
  StringSetRecord before_tail_of_second;
};

// A cache as laid out: the value names, then the key slots and key records.
struct CacheRecord {
  StringSetRecord names;
  IndexRef key_slots;
  IndexRef keys;
};

size_t KeySlot(const std::array<uint32_t, kDepCount + 1>& ids, size_t mask) {
  return LeftKeyHash{}(LeftKey{ids}) & mask;
}

StringSetRecord WriteLeftSet(IndexWriter& writer, const LeftSet& set) {
  std::vector<std::string_view> strings;
  set.ForEach([&](std::string_view s) { strings.push_back(s); });
  std::sort(strings.begin(), strings.end());  // the same bytes from the same cache
  return WriteStringSet(writer, strings);
}

}  // namespace

uint32_t PatternMatchCache::Write(IndexWriter& writer) const {
  std::vector<std::pair<std::string_view, uint32_t>> names(data_->names.begin(),
                                                           data_->names.end());
  std::sort(names.begin(), names.end());
  std::vector<std::string_view> name_texts;
  std::vector<uint32_t> ids;
  for (const auto& [name, id] : names) {
    name_texts.push_back(name);
    ids.push_back(id);
  }
  CacheRecord record;
  record.names = WriteStringSet(writer, name_texts, &ids);

  std::vector<std::pair<const LeftKey*, const Lefts*>> sets;
  for (const auto& [key, lefts] : data_->sets) sets.emplace_back(&key, &lefts);
  std::sort(sets.begin(), sets.end(),
            [](const auto& a, const auto& b) { return a.first->ids < b.first->ids; });
  std::vector<KeyRecord> keys;
  for (const auto& [key, lefts] : sets) {
    KeyRecord k;
    k.ids = key->ids;
    k.before_second = WriteLeftSet(writer, lefts->before_second);
    k.before_tail_of_second = WriteLeftSet(writer, lefts->before_tail_of_second);
    keys.push_back(k);
  }
  const size_t slot_count = std::bit_ceil(keys.size() * 2 + 1);
  std::vector<uint32_t> slots(slot_count, 0);
  for (size_t k = 0; k < keys.size(); ++k) {
    size_t i = KeySlot(keys[k].ids, slot_count - 1);
    while (slots[i] != 0) i = (i + 1) & (slot_count - 1);
    slots[i] = static_cast<uint32_t>(k + 1);
  }
  record.key_slots = writer.Array(std::span<const uint32_t>(slots));
  record.keys = writer.Array(std::span<const KeyRecord>(keys));
  return writer.Record(record);
}

PatternMatchView::PatternMatchView(const IndexBytes& bytes, uint32_t offset) : bytes_(bytes) {
  const CacheRecord* record = bytes.Record<CacheRecord>(offset);
  if (!record) return;
  names_ = StringSetView(bytes, record->names);
  key_slots_ = bytes.Array<uint32_t>(record->key_slots);
  if (!std::has_single_bit(key_slots_.size())) key_slots_ = {};
  keys_ = record->keys;
}

size_t PatternMatchCache::SetCount() const { return data_->sets.size(); }

size_t PatternMatchCache::StringCount() const {
  size_t count = 0;
  for (const auto& [key, lefts] : data_->sets)
    count += lefts.before_second.size() + lefts.before_tail_of_second.size();
  return count;
}

size_t PatternMatchCache::ByteEstimate() const {
  // Nodes, buckets and string heads; short strings live inside their heads.
  constexpr size_t kNode = sizeof(void*) + sizeof(size_t);
  size_t bytes = data_->names.bucket_count() * sizeof(void*);
  for (const auto& [name, id] : data_->names)
    bytes += kNode + sizeof(std::string) + sizeof(id) + (name.size() > 15 ? name.size() + 1 : 0);
  bytes += data_->sets.bucket_count() * sizeof(void*);
  for (const auto& [key, lefts] : data_->sets) {
    bytes += kNode + sizeof(key) + sizeof(lefts);
    for (const LeftSet* set : {&lefts.before_second, &lefts.before_tail_of_second})
      bytes += set->ByteEstimate();
  }
  return bytes;
}

PatternTable::PatternTable(std::span<const PatternRow> rows) {
  auto compiled = std::make_unique<Compiled>();
  compiled->rows.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    try {
      Row row;
      row.skipped_when_passive_only = rows[i].passive_only == PassiveOnly::kSkipped;
      ParseNotes(rows[i].notes, row);
      row.patterns = ParsePatterns(rows[i].pattern, row.block);
      compiled->rows.push_back(std::move(row));
    } catch (const std::invalid_argument& error) {
      throw std::invalid_argument("pattern row " + std::to_string(i + 1) + ": " + error.what());
    }
  }
  compiled->match = MakePlans(compiled->rows);
  compiled_ = std::move(compiled);
  for (const PatternRow& row : rows) {
    const char passive = row.passive_only == PassiveOnly::kSkipped ? 's' : 'm';
    fingerprint_ = HashBytes(row.pattern, HashBytes(row.notes, HashBytes({&passive, 1}, fingerprint_)));
  }
}

PatternTable::~PatternTable() = default;

size_t PatternTable::size() const { return compiled_->rows.size(); }

void PatternTable::RunRow(size_t index, const PatternValues& values, FormSink& forms) const {
  FormMaker maker(values, forms);
  MakeRow(compiled_->rows.at(index), values, maker);
}

void PatternTable::Run(const PatternValues& values, FormSink& forms) const {
  if (auto* taker = dynamic_cast<TableSink*>(&forms); taker && taker->TakeTable(*this, values))
    return;
  FormMaker maker(values, forms);
  for (const Row& row : compiled_->rows)
    if (!MakeRow(row, values, maker)) return;
}

}  // namespace tovuri

namespace tovuri {
namespace {

// Whether left is one of the plan's left parts (before b, or before_tail: before
// b less its first letter) for these values: looked up when prepared, else made.
bool InLefts(const Plan& plan, const PatternValues& values, const PatternMatchView* view,
             ValueIds& ids, std::string_view stand_in, FormMaker& maker, std::string_view left,
             bool before_tail) {
  if (Chosen(*plan.row, values) != plan.patterns) return false;
  if (view && !(plan.deps & kPerEntry)) {
    const std::optional<StringSetView> set = view->Lefts(KeyOf(plan, ids, stand_in).ids, before_tail);
    if (set) return set->Contains(left);
  }
  bool found = false;
  ForEachLeft(plan, maker, stand_in, [&](const std::string& made, bool made_before_tail) {
    found = made_before_tail == before_tail && made == left;
    return !found;
  });
  return found;
}

}  // namespace

std::optional<StringSetView> PatternMatchView::Lefts(std::span<const uint32_t> key,
                                                     bool before_tail) const {
  if (key_slots_.empty() || key.size() != kDepCount + 1) return std::nullopt;
  std::array<uint32_t, kDepCount + 1> ids;
  std::copy(key.begin(), key.end(), ids.begin());
  const std::span<const KeyRecord> keys = bytes_.Array<KeyRecord>(keys_);
  const size_t mask = key_slots_.size() - 1;
  size_t i = KeySlot(ids, mask);
  for (size_t probes = 0; probes < key_slots_.size(); ++probes, i = (i + 1) & mask) {
    const uint32_t slot = key_slots_[i];
    if (slot == 0 || slot > keys.size()) return std::nullopt;
    const KeyRecord& record = keys[slot - 1];
    if (record.ids == ids)
      return StringSetView(bytes_, before_tail ? record.before_tail_of_second : record.before_second);
  }
  return std::nullopt;
}

void PatternTable::PrepareMatch(const PatternValues& values, PatternMatchCache& cache) const {
  PatternMatchCache::Data& data = *cache.data_;
  const MatchPlans& match = compiled_->match;
  NoForms none;
  FormMaker maker(values, none);
  ValueIds ids(values, nullptr, &data.names);
  std::vector<std::string> seconds(match.rights.size());
  std::vector<bool> evaluated(match.rights.size());

  // Entries that choose the same variants and read the same values share
  // every left part: prepare each such shape once.
  std::vector<uint32_t> signature;
  for (const Row& row : compiled_->rows) {
    const Patterns* chosen = Chosen(row, values);
    uint32_t choice = chosen == nullptr ? 0 : chosen == &row.patterns ? 1 : 2;
    for (size_t i = 0; choice == 2 && i < row.variants.size(); ++i)
      if (chosen == &row.variants[i].patterns) choice = static_cast<uint32_t>(2 + i);
    signature.push_back(choice);
  }
  for (int block = 0; block <= 2; ++block)
    for (uint32_t dep = 0; dep < kDepStandIn; ++dep)
      if (match.deps >> dep & 1u) signature.push_back(ids.Of(static_cast<Dep>(dep), block, {}));
  for (size_t r = 0; r < match.rights.size(); ++r) {
    const RightPart& right = match.rights[r];
    if (!right.join_second) continue;
    maker.SetBlock(right.block);
    maker.Evaluate(*right.join_second, seconds[r]);
    evaluated[r] = true;
    signature.push_back(ids.Of(kDepStandIn, 0, JoinStandIn(seconds[r])));
  }
  if (!data.prepared.insert(std::move(signature)).second) return;

  for (const Plan& plan : match.plans) {
    if (Chosen(*plan.row, values) != plan.patterns) continue;
    std::string_view stand_in;
    if (const RightPart& right = match.rights[plan.right_id]; right.join_second) {
      if (!evaluated[plan.right_id]) {
        maker.SetBlock(right.block);
        maker.Evaluate(*right.join_second, seconds[plan.right_id]);
        evaluated[plan.right_id] = true;
      }
      stand_in = JoinStandIn(seconds[plan.right_id]);
    }
    if (plan.deps & kPerEntry) continue;
    const LeftKey key = KeyOf(plan, ids, stand_in);
    if (data.sets.contains(key)) continue;
    data.sets.emplace(key, MakeLefts(plan, maker, stand_in));
  }
}

TableMatch PatternTable::MatchFolded(const PatternValues& values, std::string_view word,
                                     const PatternMatchView* cache) const {
  const MatchPlans& match = compiled_->match;
  NoForms none;
  FormMaker maker(values, none);
  ValueIds ids(values, cache ? &cache->names_ : nullptr, nullptr);
  const auto found = [&] {
    return match.literals_lower && ValuesLower(values) ? TableMatch::kLowerCase
                                                       : TableMatch::kMixedCase;
  };
  // Each distinct piece evaluated at most once for these values.
  std::vector<std::string> seconds(match.second_count);
  std::vector<std::string> rests(match.rest_count);
  std::vector<bool> have_second(match.second_count);
  std::vector<bool> have_rest(match.rest_count);
  // Whether a rest could end the word, checked without evaluating it where
  // its last terms allow: most rests fail on their final letters.
  std::vector<char> rest_checked(match.rest_count);  // 0 not yet, 1 may end, 2 cannot
  const auto rest_may_end = [&](const RightPart& part) {
    char& checked = rest_checked[part.rest_id];
    if (checked == 0) {
      maker.SetBlock(part.block);
      checked = maker.MayEnd(part.rest, word) ? 1 : 2;
    }
    return checked == 1;
  };
  const auto piece = [&](const RightPart& part, bool of_second) -> const std::string& {
    std::vector<std::string>& values_of = of_second ? seconds : rests;
    std::vector<bool>& have = of_second ? have_second : have_rest;
    const size_t id = of_second ? part.second_id : part.rest_id;
    if (!have[id]) {
      maker.SetBlock(part.block);
      if (!of_second)
        maker.Evaluate(part.rest, values_of[id]);
      else if (part.join_second)
        maker.Evaluate(*part.join_second, values_of[id]);
      have[id] = true;
    }
    return values_of[id];
  };
  const auto ends_with = [&](std::string_view end, size_t before) {
    if (end.size() + before > word.size()) return false;
    const size_t cut = word.size() - before - end.size();
    for (size_t i = 0; i < end.size(); ++i)
      if (FoldCase(end[i]) != word[cut + i]) return false;
    return true;
  };
  const auto try_right = [&](const RightPart& part) {
    // The nodes after the last slot first: most words fail there.
    if (!rest_may_end(part)) return false;
    const std::string& rest = piece(part, false);
    if (!ends_with(rest, 0)) return false;
    const std::string& second = piece(part, true);
    if (!ends_with(second, rest.size())) return false;
    const size_t cut = word.size() - rest.size() - second.size();
    const std::string_view left = word.substr(0, cut);
    const std::string_view stand_in = part.join_second ? JoinStandIn(second) : std::string_view();
    for (size_t index : part.plans) {
      if (InLefts(match.plans[index], values, cache, ids, stand_in, maker, left, false))
        return true;
    }
    return false;
  };
  for (uint32_t r : match.rights_of_any_end)
    if (try_right(match.rights[r])) return found();
  if (!word.empty()) {
    for (uint32_t r : match.rights_by_last_letter[static_cast<unsigned char>(word.back())])
      if (try_right(match.rights[r])) return found();
  }
  // tail(J(a, b)) where J leaves nothing of a: the word ends in b less its first letter.
  for (size_t index : match.tail_plans) {
    const Plan& plan = match.plans[index];
    const RightPart& part = match.rights[plan.right_id];
    if (!rest_may_end(part)) continue;
    const std::string& rest = piece(part, false);
    const std::string& second = piece(part, true);
    if (second.empty() || !ends_with(rest, 0) ||
        !ends_with(std::string_view(second).substr(1), rest.size()))
      continue;
    const std::string_view left = word.substr(0, word.size() - rest.size() - second.size() + 1);
    if (InLefts(plan, values, cache, ids, JoinStandIn(second), maker, left, true))
      return found();
  }
  return TableMatch::kNone;
}

}  // namespace tovuri
