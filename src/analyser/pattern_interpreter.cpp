#include "analyser/pattern_interpreter.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "analyser/concord_tables.h"
#include "analyser/morpheme_ops.h"

namespace tovuri {
namespace {

using Slots = std::span<const std::string_view>;

struct NamedArray {
  std::string_view name;
  Slots slots;
};

constexpr NamedArray kArrays[] = {
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
constexpr size_t kMaxWalks = 4;

// No pattern nests functions deeper than this.
constexpr size_t kMaxDepth = 4;

// The object-concord list belongs to the entry, so its slots are only known
// when a row runs; it is never longer than the shared table.
constexpr size_t kObjectSlots = ObjectConcords.size();

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

// Reading the notation.

class PatternParser {
 public:
  PatternParser(std::string_view text, int block) : text_(text), block_(block) {}

  Patterns ParseAll() {
    Patterns patterns;
    do {
      walks_.clear();
      Pattern pattern;
      pattern.sequence = ParseSequence();
      pattern.walks = std::move(walks_);
      patterns.push_back(std::move(pattern));
    } while (Accept(';'));
    SkipSpace();
    if (at_ != text_.size()) Fail("unexpected text");
    return patterns;
  }

 private:
  [[noreturn]] void Fail(std::string_view what) const {
    throw std::invalid_argument(std::string(what) + " at " + std::to_string(at_ + 1) + " in '" +
                                std::string(text_) + "'");
  }

  void SkipSpace() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
  }

  bool Accept(char c) {
    SkipSpace();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }

  void Expect(char c) {
    if (!Accept(c)) Fail(std::string("expected '") + c + "'");
  }

  Sequence ParseSequence() {
    Sequence sequence;
    do sequence.push_back(ParseTerm());
    while (Accept('+'));
    return sequence;
  }

  // The arguments of a function, one level deeper.
  Sequence ParseArgument() {
    if (++depth_ > kMaxDepth) Fail("functions nested too deeply");
    Sequence sequence = ParseSequence();
    --depth_;
    return sequence;
  }

  std::string_view Name() {
    SkipSpace();
    const size_t start = at_;
    while (at_ < text_.size() && std::isalnum(static_cast<unsigned char>(text_[at_]))) ++at_;
    if (at_ < text_.size() && text_[at_] == '\'' && text_.substr(start, at_ - start) == "P")
      ++at_;
    if (at_ == start) Fail("expected a term");
    return text_.substr(start, at_ - start);
  }

  Node ParseTerm() {
    SkipSpace();
    if (Accept('"')) {
      const size_t end = text_.find('"', at_);
      if (end == std::string_view::npos) Fail("unclosed literal");
      std::string literal(text_.substr(at_, end - at_));
      at_ = end + 1;
      return Literal(std::move(literal));
    }
    const std::string_view name = Name();
    if (name == "J") {
      Node node(Node::Kind::kJoin);
      Expect('(');
      node.args.push_back(ParseArgument());
      Expect(',');
      node.args.push_back(ParseArgument());
      Expect(')');
      return node;
    }
    static constexpr std::pair<std::string_view, Node::Kind> kFunctions[] = {
        {"chop", Node::Kind::kChop}, {"first2", Node::Kind::kFirst2},
        {"tail", Node::Kind::kTail}, {"KW", Node::Kind::kKw},
        {"G", Node::Kind::kGlide}};
    for (const auto& [function, kind] : kFunctions) {
      if (name != function) continue;
      Node node(kind);
      Expect('(');
      node.args.push_back(ParseArgument());
      Expect(')');
      return node;
    }
    static constexpr std::pair<std::string_view, Value> kValues[] = {
        {"P", Value::kPrefix},       {"P'", Value::kPrefixTail}, {"T", Value::kStem},
        {"E", Value::kFinal},        {"Tp", Value::kPassiveStem}, {"W", Value::kGlide},
        {"empty", Value::kEmpty}};
    for (const auto& [symbol, value] : kValues) {
      if (name != symbol) continue;
      Node node(Node::Kind::kValue);
      node.value = value;
      return node;
    }
    return ArrayWalk(name);
  }

  Node Literal(std::string literal) {
    static constexpr std::pair<std::string_view, Ending> kEndings[] = {
        {"ile", Ending::kIle}, {"iwe", Ending::kIwe}, {"ileyo", Ending::kIleyo}};
    if (block_ != 0) {
      for (const auto& [text, ending] : kEndings) {
        if (literal != text) continue;
        Node node(Node::Kind::kEnding);
        node.ending = ending;
        return node;
      }
    }
    Node node(Node::Kind::kLiteral);
    node.literal = std::move(literal);
    return node;
  }

  Node ArrayWalk(std::string_view name) {
    Walk walk;
    size_t size = 0;
    if (name == "OC") {
      walk.object_concords = true;
      size = kObjectSlots;
    } else {
      for (const NamedArray& array : kArrays)
        if (array.name == name) walk.array = array.slots;
      if (walk.array.empty()) Fail("unknown name '" + std::string(name) + "'");
      size = walk.array.size();
      walk.limited_to_object_count = name == "OCS";
    }
    const size_t subset_start = at_;
    if (at_ < text_.size() && text_[at_] == '{') {
      ++at_;
      do {
        const size_t first = Number();
        size_t last = first;
        if (Accept('-')) last = Number();
        if (first < 1 || last < first || last > size) Fail("slot out of range");
        for (size_t slot = first; slot <= last; ++slot) walk.slots.push_back(slot - 1);
      } while (Accept(','));
      Expect('}');
    } else {
      for (size_t slot = 0; slot < size; ++slot) walk.slots.push_back(slot);
    }
    walk.key = std::string(name) + std::string(text_.substr(subset_start, at_ - subset_start));
    Node node(Node::Kind::kSlot);
    for (node.var = 0; node.var < walks_.size(); ++node.var)
      if (walks_[node.var].key == walk.key) return node;
    if (walks_.size() == kMaxWalks) Fail("too many arrays in one pattern");
    walks_.push_back(std::move(walk));
    return node;
  }

  size_t Number() {
    SkipSpace();
    size_t n = 0;
    const size_t start = at_;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
      n = n * 10 + static_cast<size_t>(text_[at_++] - '0');
    if (at_ == start) Fail("expected a slot number");
    return n;
  }

  std::string_view text_;
  int block_;
  size_t at_ = 0;
  size_t depth_ = 0;
  std::vector<Walk> walks_;
};

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Splits "C or D, E" into its conditions.
std::vector<Condition> ParseConditions(std::string_view text) {
  std::vector<Condition> conditions;
  while (!text.empty()) {
    size_t end = text.size();
    size_t next = end;
    for (std::string_view separator : {std::string_view(" or "), std::string_view(", ")}) {
      const size_t found = text.find(separator);
      if (found < end) {
        end = found;
        next = found + separator.size();
      }
    }
    const std::string_view item = Trim(text.substr(0, end));
    text = next < text.size() ? text.substr(next) : std::string_view();
    const auto quoted = [&](std::string_view head) {
      if (!StartsWith(item, head) || item.size() < head.size() + 2 || item.back() != '"' ||
          item[head.size()] != '"')
        return false;
      return true;
    };
    Condition condition{};
    if (item == "one-vowel") {
      condition.kind = Condition::Kind::kOneVowel;
    } else if (item == "vowel-initial") {
      condition.kind = Condition::Kind::kVowelInitial;
    } else if (item == "Reflexive") {
      condition.kind = Condition::Kind::kReflexive;
    } else if (item == "PassiveOnly") {
      condition.kind = Condition::Kind::kPassiveOnly;
    } else if (quoted("T+E=")) {
      condition.kind = Condition::Kind::kStemFinal;
      condition.word = item.substr(5, item.size() - 6);
    } else if (quoted("T=")) {
      condition.kind = Condition::Kind::kStem;
      condition.word = item.substr(3, item.size() - 4);
    } else {
      throw std::invalid_argument("unknown condition '" + std::string(item) + "'");
    }
    conditions.push_back(std::move(condition));
  }
  return conditions;
}

// Reads the notes of a row, one sentence at a time. Patterns hold no '.', so a
// sentence ends at the first '.'.
void ParseNotes(std::string_view notes, Row& row) {
  std::vector<std::string_view> sentences;
  while (!(notes = Trim(notes)).empty()) {
    const size_t end = notes.find('.');
    if (end == std::string_view::npos) throw std::invalid_argument("note without '.'");
    sentences.push_back(notes.substr(0, end));
    notes.remove_prefix(end + 1);
  }
  // The block is known first: its rows read "ile", "iwe", "ileyo" as endings.
  for (std::string_view sentence : sentences) {
    if (sentence == "Perfect block 1") row.block = 1;
    if (sentence == "Perfect block 2") row.block = 2;
  }
  for (std::string_view sentence : sentences) {
    if (StartsWith(sentence, "Perfect block ")) continue;
    if (StartsWith(sentence, "Not made when ")) {
      for (Condition& c : ParseConditions(sentence.substr(14)))
        row.not_made_when.push_back(std::move(c));
    } else if (StartsWith(sentence, "Only when ")) {
      std::string_view rest = sentence.substr(10);
      const size_t but = rest.find(" (but not when ");
      if (but != std::string_view::npos) {
        if (rest.back() != ')') throw std::invalid_argument("unclosed '(but not when'");
        for (Condition& c : ParseConditions(rest.substr(but + 15, rest.size() - but - 16)))
          row.not_made_when.push_back(std::move(c));
        rest = rest.substr(0, but);
      }
      for (Condition& c : ParseConditions(rest)) row.only_when.push_back(std::move(c));
    } else if (StartsWith(sentence, "When ")) {
      const size_t colon = sentence.find(':');
      if (colon == std::string_view::npos) throw std::invalid_argument("variant without ':'");
      Variant variant;
      variant.when = ParseConditions(sentence.substr(5, colon - 5));
      variant.patterns = PatternParser(sentence.substr(colon + 1), row.block).ParseAll();
      row.variants.push_back(std::move(variant));
    } else {
      throw std::invalid_argument("unknown note '" + std::string(sentence) + "'");
    }
  }
}

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
      Emit(pattern.sequence);
      if (forms_.Done()) return false;
      size_t i = walks;
      while (i > 0 && ++at[i - 1] == slots[i - 1].size()) at[--i] = 0;
      if (i == 0) return true;
    }
  }

 private:
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

}  // namespace

struct PatternTable::Compiled {
  std::vector<Row> rows;
};

PatternTable::PatternTable(std::span<const PatternRow> rows) {
  auto compiled = std::make_unique<Compiled>();
  compiled->rows.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    try {
      Row row;
      row.skipped_when_passive_only = rows[i].passive_only == PassiveOnly::kSkipped;
      ParseNotes(rows[i].notes, row);
      row.patterns = PatternParser(rows[i].pattern, row.block).ParseAll();
      compiled->rows.push_back(std::move(row));
    } catch (const std::invalid_argument& error) {
      throw std::invalid_argument("pattern row " + std::to_string(i + 1) + ": " + error.what());
    }
  }
  compiled_ = std::move(compiled);
}

PatternTable::~PatternTable() = default;

size_t PatternTable::size() const { return compiled_->rows.size(); }

void PatternTable::RunRow(size_t index, const PatternValues& values, FormSink& forms) const {
  FormMaker maker(values, forms);
  MakeRow(compiled_->rows.at(index), values, maker);
}

void PatternTable::Run(const PatternValues& values, FormSink& forms) const {
  FormMaker maker(values, forms);
  for (const Row& row : compiled_->rows)
    if (!MakeRow(row, values, maker)) return;
}

}  // namespace tovuri
