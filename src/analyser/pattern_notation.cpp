#include <cctype>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analyser/pattern_rows.h"

namespace tovuri::pattern_rows {
namespace {

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

}  // namespace

Patterns ParsePatterns(std::string_view text, int block) {
  return PatternParser(text, block).ParseAll();
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


}  // namespace tovuri::pattern_rows
