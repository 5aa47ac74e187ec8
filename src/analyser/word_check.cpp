#include "analyser/word_check.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <string>

#include "analyser/adjective_forms.h"
#include "analyser/adverb_forms.h"
#include "analyser/closed_class.h"
#include "analyser/exception_verb_forms.h"
#include "analyser/morpheme_ops.h"
#include "analyser/noun_forms.h"
#include "analyser/pattern_interpreter.h"
#include "analyser/text_case.h"
#include "analyser/verb_forms.h"

namespace tovuri {
namespace {

// Longer stems are never tried.
constexpr size_t kMaxStem = 20;

constexpr std::string_view kNounTags[] = {
    "isi/izi", "isi",      "izi", "in/izin", "u/o",     "u",      "um",    "um/aba", "um/ama",
    "umu",     "ili/ama",  "ili", "ama",     "in/ama",  "um/imi", "imi",   "ulu/izin", "ulu",
    "ubu",     "u/o/ama",  "person", "place", "in",     "im",     "uku",
};

bool IsNounTag(std::string_view tag) {
  return std::find(std::begin(kNounTags), std::end(kNounTags), tag) != std::end(kNounTags);
}

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

// A lower-cased copy of a short needle, kept on the stack.
class Needle {
 public:
  void Append(std::string_view s) {
    for (char c : s)
      if (size_ < text_.size()) text_[size_++] = FoldCase(c);
  }
  std::string_view view() const { return {text_.data(), size_}; }

 private:
  std::array<char, kMaxStem + 2> text_{};
  size_t size_ = 0;
};

// Occurring means being a substring anywhere; the empty string never occurs.
bool Occurs(std::string_view needle, std::string_view lowered_word) {
  return !needle.empty() && lowered_word.find(needle) != std::string_view::npos;
}

// What every candidate test needs to know about the word, worked out once.
struct Word {
  explicit Word(std::string_view word) : lowered(ToLower(word)) {
    for (char c : lowered) letters[static_cast<unsigned char>(c)] = true;
    locative = EndsWith(lowered, "eni") || EndsWith(lowered, "ini");
  }
  std::string lowered;
  std::array<bool, 256> letters{};  // the bytes that occur in the lowered word
  bool locative;                    // ends in "eni" or "ini"
};

// Entry i's stem is not empty: an empty stem never occurs in a word.
bool IsCandidate(const Lexicon& lexicon, size_t i, const Word& word) {
  const std::string_view stem = lexicon.LexStem[i];
  const std::string_view w = word.lowered;
  // The first three tests all look for the stem's first letter, lowered.
  if (word.letters[static_cast<unsigned char>(FoldCase(stem[0]))]) {
    Needle lowered;
    lowered.Append(stem);
    if (Occurs(lowered.view(), w)) return true;

    // An aspirated stem inside an unaspirated word: khul in inkulu.
    if (stem.size() > 1 && stem[1] == 'h') {
      Needle plain;
      plain.Append(stem.substr(0, 1));
      plain.Append(stem.substr(2));
      if (Occurs(plain.view(), w)) return true;
    }
    // An "in" noun's stem aspirated in the plural: kos in amakhosi.
    if (stem[0] == 'k' && lexicon.LexPrefix[i] == "in") {
      Needle aspirated;
      aspirated.Append(stem.substr(0, 1));
      aspirated.Append("h");
      aspirated.Append(stem.substr(1));
      if (Occurs(aspirated.view(), w)) return true;
    }
  }
  if (word.locative && Occurs(ToLower(LocativeBody(stem, lexicon.LexFinal[i])), w)) return true;
  // "bulewe" is the only form the loose test ever looked for; "bulawa" is
  // what the passive rows make of bulal (ngibulawa), so it is looked for too.
  if (stem == "bulal" && (Occurs("bulewe", w) || Occurs("bulawa", w))) return true;
  if (lexicon.LexClass[i] != "verb") return false;
  // A passive stem equal to the stem occurs in w only if the lowered stem
  // does, which the first test has already ruled out.
  if (lexicon.PassiveKeys.size() == lexicon.size()) return Occurs(lexicon.PassiveKeys[i], w);
  return Occurs(PassiveStem(stem, lexicon), w);
}

void AddSpecialForms(std::string_view prefix, std::string_view stem, std::string_view final,
                     FormSink& forms) {
  std::string word(prefix);
  word += stem;
  word += final;
  forms.Add(word);
  if (word == "umka") forms.Add("engumkabo");
  if (word == "oPhezukonke") {
    for (std::string_view head : {"y", "w", "b", "k"}) forms.Add({head, word});
  }
}

bool IsAllCapitals(std::string_view word) {
  return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

bool HasCapitals(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return FoldCase(c) != c; });
}

// Tests forms as FindInForms would, but lets a pattern table decide from the
// word itself when the table's values are all it has met in this pass.
class FastSink final : public TableSink {
 public:
  FastSink(std::string_view word, std::string_view folded, const WordCheckIndex& index)
      : folded_(folded),
        index_(index),
        as_given_(word),
        first_lowered_(LowerFirst(word)),
        all_capitals_(IsAllCapitals(word)),
        rest_lower_(!HasCapitals(word.substr(1))) {}

  using FormSink::Add;
  void Add(std::initializer_list<std::string_view> pieces) override {
    seen_ = true;
    current_->Add(pieces);
    done_ = current_->Found();
  }

  bool TakeTable(const PatternTable& table, const PatternValues& values) override {
    if (seen_ || done_) return false;
    switch (table.MatchFolded(values, folded_, index_.CacheFor(table))) {
      case TableMatch::kNone:
        return true;
      case TableMatch::kLowerCase:
        // Every form is lower case, so the form met equals the folded word:
        // the word matches as it is, or with its first letter lowered, which
        // then stays lowered.
        seen_ = true;
        done_ = all_capitals_ || rest_lower_;
        if (!all_capitals_) current_ = &first_lowered_;
        return true;
      case TableMatch::kMixedCase:
        return false;
    }
    return false;
  }

  // Starts a new generator pass.
  void Reset() {
    as_given_.Reset();
    first_lowered_.Reset();
    current_ = &as_given_;
    seen_ = false;
    done_ = false;
  }
  bool Found() const { return done_; }

 private:
  static std::string LowerFirst(std::string_view word) {
    std::string lowered(word);
    if (!lowered.empty()) lowered[0] = FoldCase(lowered[0]);
    return lowered;
  }

  std::string_view folded_;
  const WordCheckIndex& index_;
  FormMatcher as_given_;
  FormMatcher first_lowered_;
  FormMatcher* current_ = &as_given_;
  bool all_capitals_;
  bool rest_lower_;
  bool seen_ = false;
};

// Hands every table run to the index's caches instead of making forms.
class PreparingSink final : public TableSink {
 public:
  explicit PreparingSink(
      std::unordered_map<const PatternTable*, std::unique_ptr<PatternMatchCache>>& caches)
      : caches_(caches) {}
  using FormSink::Add;
  void Add(std::initializer_list<std::string_view>) override { done_ = true; }
  bool TakeTable(const PatternTable& table, const PatternValues& values) override {
    std::unique_ptr<PatternMatchCache>& cache = caches_[&table];
    if (!cache) cache = std::make_unique<PatternMatchCache>();
    table.PrepareMatch(values, *cache);
    return true;
  }

 private:
  std::unordered_map<const PatternTable*, std::unique_ptr<PatternMatchCache>>& caches_;
};

// Keeps every form, case-folded.
class FoldedSet final : public FormSink {
 public:
  explicit FoldedSet(FlatStringSet& set) : set_(set) {}
  using FormSink::Add;
  void Add(std::initializer_list<std::string_view> pieces) override {
    std::string form;
    for (std::string_view piece : pieces) form += piece;
    set_.Insert(ToLower(form));
  }

 private:
  FlatStringSet& set_;
};

// Pattern tables are matched as they run; other generators through templates.
int32_t AddTemplate(PassTemplates& templates, const EntryPass& pass, const Lexicon& lexicon) {
  if (IsNounTag(pass.tag)) {
    const auto generate = [&](std::string_view stem, const Lexicon& lex, FormSink& forms) {
      GenerateNounForms(pass.tag, pass.prefix, stem, pass.final, forms, lex);
    };
    return templates.Add(pass.tag, pass.prefix, pass.stem, pass.final, lexicon, generate,
                         PassTemplates::Check::kShape);
  }
  if (pass.tag == "adv" || pass.tag == "adj" || pass.tag == "conj" || pass.tag == "rel" ||
      pass.tag == "special") {
    const auto generate = [&](std::string_view stem, const Lexicon&, FormSink& forms) {
      GenerateFormsForTag(pass.tag, pass.prefix, stem, pass.final, pass.attribute, forms);
    };
    return templates.Add(pass.tag, pass.prefix, pass.stem, pass.final, lexicon, generate,
                         PassTemplates::Check::kEntry);
  }
  return -1;
}

bool IsTableTag(std::string_view tag) {
  return tag == "verb" || tag == "defverb" || tag.substr(0, 3) == "exc";
}

}  // namespace

std::vector<size_t> CandidateEntries(std::string_view word, const Lexicon& lexicon) {
  const Word w(word);
  std::array<std::vector<size_t>, kMaxStem + 1> by_length;
  for (size_t i = 0; i < lexicon.size(); ++i) {
    const size_t length = lexicon.LexStem[i].size();
    if (length == 0 || length > kMaxStem) continue;
    if (IsCandidate(lexicon, i, w)) by_length[length].push_back(i);
  }
  std::vector<size_t> ordered;
  for (size_t length = kMaxStem; length >= 1; --length)
    ordered.insert(ordered.end(), by_length[length].begin(), by_length[length].end());
  return ordered;
}

std::vector<EntryPass> PassesForEntry(const Lexicon& lexicon, size_t i) {
  const std::string& tag = lexicon.LexClass[i];
  const std::string& stem = lexicon.LexStem[i];
  const std::string& final = lexicon.LexFinal[i];
  std::vector<EntryPass> passes;
  passes.push_back({tag, lexicon.LexPrefix[i], stem, final, lexicon.LexInfo[i]});
  if (tag == "verb") {
    const std::string infinitive = InfinitivePrefix(stem);
    passes.push_back({"uku", infinitive, stem, final, ""});
    passes.push_back({"uku", infinitive, PassiveStem(stem, lexicon) + "w", final, ""});
    passes.push_back({"uku", infinitive, "nga" + stem, "i", ""});
  }
  return passes;
}

bool GenerateFormsForTag(std::string_view tag, std::string_view prefix, std::string_view stem,
                         std::string_view final, std::string_view attribute, FormSink& forms) {
  if (tag == "verb") {
    GenerateVerbForms(prefix, stem, final, attribute, forms);
  } else if (IsNounTag(tag)) {
    GenerateNounForms(tag, prefix, stem, final, forms);
  } else if (tag == "special") {
    AddSpecialForms(prefix, stem, final, forms);
  } else if (tag == "conj") {
    GenerateConjunctionForms(tag, prefix, stem, final, forms);
  } else if (tag == "adv") {
    GenerateAdverbForms(tag, prefix, stem, final, forms);
  } else if (tag == "rel") {
    GenerateRelativeForms(tag, prefix, stem, final, forms);
  } else if (tag == "adj") {
    GenerateAdjectiveForms(tag, prefix, stem, final, forms);
  } else if (tag == "defverb") {
    GenerateDefectiveVerbForms(prefix, stem, final, forms);
  } else if (tag.substr(0, 3) == "exc") {
    GenerateExceptionVerbForms(tag, prefix, stem, final, forms);
  } else {
    return false;
  }
  return true;
}

bool IsNdebeleWordReference(std::string_view word) {
  if (word.empty()) return true;
  if (IsClosedClassWord(word)) return true;
  const Lexicon& lexicon = TheLexicon();
  FormList list;
  for (size_t i : CandidateEntries(word, lexicon)) {
    for (const EntryPass& pass : PassesForEntry(lexicon, i)) {
      list.forms.clear();
      GenerateFormsForTag(pass.tag, pass.prefix, pass.stem, pass.final, pass.attribute, list);
      if (FindInForms(word, list.forms, true)) return true;
    }
  }
  return false;
}

}  // namespace tovuri

namespace tovuri {

WordCheckIndex::WordCheckIndex(const Lexicon& lexicon) : lexicon_(lexicon) {
  needles_.emplace_back();  // the root
  pass_templates_.assign(lexicon.size(), {-1, -1, -1, -1});
  passes_.resize(lexicon.size());
  const bool passive_keys = lexicon.PassiveKeys.size() == lexicon.size();
  for (size_t i = 0; i < lexicon.size(); ++i) {
    const std::string& stem = lexicon.LexStem[i];
    if (stem.empty() || stem.size() > kMaxStem) continue;
    const Needle plain{static_cast<uint32_t>(i), static_cast<uint8_t>(stem.size()), false};
    AddNeedle(ToLower(stem), plain);
    if (stem.size() > 1 && stem[1] == 'h') AddNeedle(ToLower(stem.substr(0, 1) + stem.substr(2)), plain);
    if (lexicon.LexPrefix[i] == "in" && stem[0] == 'k')
      AddNeedle(ToLower(stem.substr(0, 1) + "h" + stem.substr(1)), plain);
    AddNeedle(ToLower(LocativeBody(stem, lexicon.LexFinal[i])), {plain.entry, plain.stem_length, true});
    if (stem == "bulal") {
      AddNeedle("bulewe", plain);
      AddNeedle("bulawa", plain);
    }
    if (lexicon.LexClass[i] == "verb")
      AddNeedle(passive_keys ? lexicon.PassiveKeys[i] : PassiveStem(stem, lexicon), plain);
    passes_[i] = PassesForEntry(lexicon, i);
    const std::vector<EntryPass>& passes = passes_[i];
    for (size_t k = 0; k < passes.size() && k < 4; ++k) {
      pass_templates_[i][k] = AddTemplate(templates_, passes[k], lexicon);
    }
    if (IsTableTag(lexicon.LexClass[i])) {
      PreparingSink prepare(caches_);
      GenerateFormsForTag(lexicon.LexClass[i], lexicon.LexPrefix[i], stem, lexicon.LexFinal[i],
                          lexicon.LexInfo[i], prepare);
    }
  }

  PackChildren();

  // Every form any closed-class check can build, whatever parts its word asks for.
  FoldedSet closed(closed_forms_);
  AddPresentativeForms(closed);
  for (std::string_view qualifying : {"nke", "-", "il", "yil"}) {
    AddPronounForms(qualifying, closed);
    AddNumberedOrCopulaForms(qualifying, closed);
  }
  AddDwaForms(closed);
  AddPhiForms(closed);
}

WordCheckIndex::~WordCheckIndex() = default;

void WordCheckIndex::AddNeedle(std::string_view text, Needle needle) {
  if (text.empty()) return;
  uint32_t node = 0;
  for (char c : text) {
    const uint64_t key = uint64_t{node} << 8 | static_cast<unsigned char>(c);
    const auto [it, added] =
        building_children_.try_emplace(key, static_cast<uint32_t>(needles_.size()));
    if (added) needles_.emplace_back();
    node = it->second;
  }
  needles_[node].push_back(needle);
}

void WordCheckIndex::PackChildren() {
  // Count each node's children, then place every edge in its node's range.
  child_begin_.assign(needles_.size() + 1, 0);
  for (const auto& [key, child] : building_children_) ++child_begin_[(key >> 8) + 1];
  for (size_t node = 0; node < needles_.size(); ++node) child_begin_[node + 1] += child_begin_[node];
  child_bytes_.resize(building_children_.size());
  child_nodes_.resize(building_children_.size());
  std::vector<uint32_t> next(child_begin_.begin(), child_begin_.end() - 1);
  for (const auto& [key, child] : building_children_) {
    const uint32_t at = next[key >> 8]++;
    child_bytes_[at] = static_cast<unsigned char>(key & 0xFF);
    child_nodes_[at] = child;
  }
  building_children_ = {};
}

uint32_t WordCheckIndex::Child(uint32_t node, unsigned char c) const {
  for (uint32_t k = child_begin_[node]; k < child_begin_[node + 1]; ++k)
    if (child_bytes_[k] == c) return child_nodes_[k];
  return 0;
}

std::vector<size_t> WordCheckIndex::Candidates(std::string_view word) const {
  const std::string w = ToLower(word);
  const bool locative = EndsWith(w, "eni") || EndsWith(w, "ini");
  // Each found entry as a number that sorts longest stems first and in
  // lexicon order within one length.
  std::vector<uint64_t> found;
  for (size_t start = 0; start < w.size(); ++start) {
    uint32_t node = 0;
    for (size_t at = start; at < w.size(); ++at) {
      node = Child(node, static_cast<unsigned char>(w[at]));
      if (node == 0) break;
      for (const Needle& needle : needles_[node])
        if (locative || !needle.locative)
          found.push_back(uint64_t{kMaxStem - needle.stem_length} << 32 | needle.entry);
    }
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  std::vector<size_t> ordered(found.size());
  for (size_t k = 0; k < found.size(); ++k) ordered[k] = static_cast<size_t>(found[k] & 0xFFFFFFFFu);
  return ordered;
}

const PatternMatchCache* WordCheckIndex::CacheFor(const PatternTable& table) const {
  const auto it = caches_.find(&table);
  return it == caches_.end() ? nullptr : it->second.get();
}

bool WordCheckIndex::IsClosedClass(std::string_view word, std::string_view folded) const {
  if (!closed_forms_.Contains(folded)) return false;
  return IsClosedClassWord(word);
}

bool WordCheckIndex::IsWord(std::string_view word) const {
  if (word.empty()) return true;
  const std::string folded = ToLower(word);
  if (IsClosedClass(word, folded)) return true;
  FastSink sink(word, folded, *this);
  const bool all_capitals = IsAllCapitals(word);
  const bool rest_lower = !HasCapitals(word.substr(1));
  for (size_t i : Candidates(folded)) {
    const std::vector<EntryPass>& passes = passes_[i];
    for (size_t k = 0; k < passes.size(); ++k) {
      const EntryPass& pass = passes[k];
      if (const int32_t id = k < 4 ? pass_templates_[i][k] : -1; id >= 0) {
        const TableMatch match = templates_.Match(id, pass.stem, folded);
        if (match == TableMatch::kNone) continue;
        // Every form is lower case: the word matches as it is or with its first letter lowered.
        if (match == TableMatch::kLowerCase) {
          if (all_capitals || rest_lower) return true;
          continue;
        }
      }
      sink.Reset();
      GenerateFormsForTag(pass.tag, pass.prefix, pass.stem, pass.final, pass.attribute, sink);
      if (sink.Found()) return true;
    }
  }
  return false;
}

WordCheckIndex::Sizes WordCheckIndex::GetSizes() const {
  Sizes sizes;
  sizes.trie_nodes = needles_.size();
  sizes.closed_forms = closed_forms_.size();
  sizes.bytes = needles_.capacity() * sizeof(needles_[0]) +
                child_begin_.capacity() * sizeof(uint32_t) + child_bytes_.capacity() +
                child_nodes_.capacity() * sizeof(uint32_t) +
                closed_forms_.ByteEstimate();
  for (const auto& list : needles_) {
    sizes.needles += list.size();
    sizes.bytes += list.capacity() * sizeof(Needle);
  }
  sizes.strings = closed_forms_.size() + templates_.StringCount();
  for (const auto& [table, cache] : caches_) {
    sizes.left_sets += cache->SetCount();
    sizes.strings += cache->StringCount();
    sizes.bytes += cache->ByteEstimate();
  }
  sizes.pass_templates = templates_.TemplateCount();
  sizes.bytes += templates_.ByteEstimate() + pass_templates_.capacity() * sizeof(pass_templates_[0]);
  return sizes;
}

namespace {

// The index of the process-wide lexicon, rebuilt when the lexicon changes.
std::shared_ptr<const WordCheckIndex> CurrentIndex() {
  static std::mutex mutex;
  static std::shared_ptr<const WordCheckIndex> index;
  static size_t generation = 0;
  const std::lock_guard<std::mutex> lock(mutex);
  if (!index || generation != LexiconGeneration()) {
    generation = LexiconGeneration();
    index.reset();
    index = std::make_shared<const WordCheckIndex>(TheLexicon());
  }
  return index;
}

}  // namespace

void PrepareWordCheck() { CurrentIndex(); }

bool IsNdebeleWord(std::string_view word) { return CurrentIndex()->IsWord(word); }

}  // namespace tovuri
