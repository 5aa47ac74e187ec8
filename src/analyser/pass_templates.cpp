#include "analyser/pass_templates.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "analyser/flat_string_set.h"
#include "analyser/lexicon.h"
#include "analyser/morpheme_ops.h"
#include "analyser/noun_forms.h"
#include "analyser/text_case.h"

namespace tovuri {
namespace {

// Bytes that no lexicon text holds: they stand for the middle of the stem.
constexpr std::string_view kCore = "\x01\x02";

// Stems that the noun generator gives forms of their own (or a locative of
// their own), which no other stem of their shape has.
constexpr std::string_view kSpecialStems[] = {"tambam", "mangoy", "khohl", "nen"};

using StringSet = FlatStringSet;

bool IsLower(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return FoldCase(c) == c; });
}

// How many letters of the stem the model stem keeps before and after the core.
struct Shape {
  size_t head = 0;
  size_t tail = 0;
};

std::string ModelStem(std::string_view stem, Shape shape) {
  std::string model(stem.substr(0, shape.head));
  model += kCore;
  model += stem.substr(stem.size() - shape.tail);
  return model;
}

std::string_view Middle(std::string_view stem, Shape shape) {
  return stem.substr(shape.head, stem.size() - shape.head - shape.tail);
}

// text with its core replaced by middle; text itself when it has none.
std::string Substitute(std::string_view text, std::string_view middle) {
  const size_t at = text.find(kCore);
  if (at == std::string_view::npos) return std::string(text);
  std::string out(text.substr(0, at));
  out += middle;
  out += text.substr(at + kCore.size());
  return out;
}

// Whether the noun generator's stem-dependent choices come out the same for
// the stem and the model stem: number shapes, and the locative bodies.
bool BehavesLikeModel(std::string_view tag, std::string_view prefix, std::string_view stem,
                      std::string_view final, std::string_view model, std::string_view middle) {
  if (std::find(std::begin(kSpecialStems), std::end(kSpecialStems), stem) !=
      std::end(kSpecialStems))
    return false;
  // The infinitive's negative locative reads whether the stem ends in "w".
  if ((stem.back() == 'w') != (model.back() == 'w')) return false;
  const NumberVariants real = NounNumberVariants(tag, prefix, stem);
  const NumberVariants modelled = NounNumberVariants(tag, prefix, model);
  if (real.count != modelled.count) return false;
  for (size_t j = 0; j < real.variants.size(); ++j) {
    const NumberVariant& a = real.variants[j];
    const NumberVariant& b = modelled.variants[j];
    if (a.prefix != b.prefix || a.near_demonstrative != b.near_demonstrative ||
        a.far_demonstrative != b.far_demonstrative)
      return false;
    if (a.stem != Substitute(b.stem, middle)) return false;
    for (std::string_view ending : {final, std::string_view("i")})
      if (LocativeBody(a.stem, ending) != Substitute(LocativeBody(b.stem, ending), middle))
        return false;
  }
  return true;
}

// Keeps every form whole.
class Collect final : public FormSink {
 public:
  using FormSink::Add;
  void Add(std::initializer_list<std::string_view> pieces) override {
    std::string form;
    for (std::string_view piece : pieces) form += piece;
    forms.push_back(std::move(form));
  }
  std::vector<std::string> forms;
};

// The distinct forms, folded (and with the core replaced by middle), as
// sorted 64-bit hashes: two lists of forms compare by these.
std::vector<size_t> DistinctFolded(const std::vector<std::string>& forms,
                                   std::string_view middle, bool substitute) {
  std::vector<size_t> out;
  out.reserve(forms.size());
  const std::hash<std::string> hash;
  const std::string folded_middle = ToLower(middle);
  for (const std::string& form : forms)
    out.push_back(hash(substitute ? Substitute(ToLower(form), folded_middle) : ToLower(form)));
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

}  // namespace

struct PassTemplates::Template {
  Shape shape;
  // Per right part, the left parts that stand before the stem's middle; case-folded.
  std::vector<std::pair<std::string, StringSet>> parts;
  StringSet whole;  // forms without the stem's middle
  bool lower = true;
  std::vector<std::string> forms;  // as made with the model stem, to check entries against
};

PassTemplates::PassTemplates() = default;
PassTemplates::~PassTemplates() = default;
PassTemplates::PassTemplates(PassTemplates&&) noexcept = default;
PassTemplates& PassTemplates::operator=(PassTemplates&&) noexcept = default;

int32_t PassTemplates::Add(std::string_view tag, std::string_view prefix, std::string_view stem,
                           std::string_view final, const Lexicon& lexicon,
                           const Generator& generate, Check check) {
  if (stem.empty() || stem.find(kCore) != std::string_view::npos) return -1;
  const std::string word = std::string(prefix) + std::string(stem) + std::string(final);
  const std::string* explicit_locative = lexicon.FindLocativeForms(word);
  const bool short_locative = !explicit_locative && lexicon.IsShortLocative(word);

  // First a model stem that keeps what generators most often read (a first
  // vowel; a last "w"); then one that keeps two letters at either end; then,
  // for short stems, one that keeps the end (which locatives change) whole.
  const size_t n = stem.size();
  const size_t first_vowel = IsVowel(stem.front()) ? 1 : 0;
  const Shape narrow{first_vowel, stem.back() == 'w' && first_vowel < n ? size_t{1} : 0};
  const Shape wide{std::min<size_t>(2, n), std::min<size_t>(2, n - std::min<size_t>(2, n))};
  const Shape end{0, std::min<size_t>(3, n)};
  for (const Shape shape : {narrow, wide, end}) {
    const std::string model = ModelStem(stem, shape);
    const std::string_view middle = Middle(stem, shape);
    if (check == Check::kShape && !BehavesLikeModel(tag, prefix, stem, final, model, middle))
      continue;
    std::string key(tag);
    const std::string ends = std::string(stem.substr(0, shape.head)) + "|" +
                             std::string(stem.substr(n - shape.tail));
    const std::string locative =
        explicit_locative ? "=" + *explicit_locative : short_locative ? "s" : "-";
    for (std::string_view part : {prefix, final, std::string_view(ends),
                                  std::string_view(locative)}) {
      key += '\0';
      key += part;
    }
    int32_t id = -1;
    bool created = false;
    if (const auto it = by_key_.find(key); it != by_key_.end()) {
      id = it->second;
      if (id < 0) continue;
      if (check == Check::kShape) return id;
    } else {
      id = MakeTemplate(shape.head, shape.tail, model, prefix, final, explicit_locative, short_locative,
                        generate);
      by_key_.emplace(key, id);
      if (id < 0) continue;
      created = true;
    }
    Template& t = templates_[static_cast<size_t>(id)];
    const bool reproduces = Reproduces(t, stem, lexicon, generate);
    // A shape's template answers for all its stems once it gave back the first.
    if (check == Check::kShape) t.forms = {};
    if (reproduces) return id;
    if (check == Check::kShape && created) by_key_[key] = -1;
  }
  if (check == Check::kShape) return -1;

  // A small generator's forms kept whole for this entry alone.
  Collect real;
  generate(stem, lexicon, real);
  Template t;
  for (const std::string& form : real.forms) {
    t.lower = t.lower && IsLower(form);
    t.whole.Insert(ToLower(form));
  }
  templates_.push_back(std::move(t));
  return static_cast<int32_t>(templates_.size() - 1);
}

int32_t PassTemplates::MakeTemplate(size_t head, size_t tail, std::string_view model,
                                    std::string_view prefix,
                                    std::string_view final,
                                    const std::string* explicit_locative, bool short_locative,
                                    const Generator& generate) {
  // A noun's own locative comes from the lexicon lists, looked up by the
  // whole word: the model lexicon gives the model word the same.
  const std::string model_word = std::string(prefix) + std::string(model) + std::string(final);
  Lexicon model_lexicon;
  if (explicit_locative) {
    model_lexicon.LocativeWords.push_back(model_word);
    model_lexicon.LocativeForms.push_back(*explicit_locative);
  } else if (short_locative) {
    model_lexicon.ShortLocativeWords.push_back(model_word);
  }
  Collect made;
  generate(model, model_lexicon, made);
  Template t;
  t.shape = {head, tail};
  std::unordered_map<std::string, size_t> right_index;
  for (const std::string& form : made.forms) {
    const std::string folded = ToLower(form);
    t.lower = t.lower && folded == form;
    const size_t at = folded.find(kCore);
    if (at == std::string::npos) {
      t.whole.Insert(folded);
      continue;
    }
    if (folded.find(kCore, at + 1) != std::string::npos) return -1;
    std::string right = folded.substr(at + kCore.size());
    const auto [slot, added] = right_index.try_emplace(right, t.parts.size());
    if (added) t.parts.emplace_back(std::move(right), StringSet{});
    t.parts[slot->second].second.Insert(folded.substr(0, at));
  }
  t.forms = std::move(made.forms);
  templates_.push_back(std::move(t));
  return static_cast<int32_t>(templates_.size() - 1);
}

bool PassTemplates::Reproduces(const Template& t, std::string_view stem, const Lexicon& lexicon,
                               const Generator& generate) const {
  Collect real;
  generate(stem, lexicon, real);
  return DistinctFolded(real.forms, {}, false) ==
         DistinctFolded(t.forms, Middle(stem, t.shape), true);
}

namespace {

struct PartRecord {
  IndexRef right;
  StringSetRecord lefts;
};

struct TemplateRecord {
  uint8_t head = 0;
  uint8_t tail = 0;
  uint8_t lower = 0;
  uint8_t unused[5] = {};
  IndexRef parts;
  StringSetRecord whole;
};

StringSetRecord WriteSet(IndexWriter& writer, const StringSet& set) {
  std::vector<std::string_view> strings;
  set.ForEach([&](std::string_view s) { strings.push_back(s); });
  std::sort(strings.begin(), strings.end());
  return WriteStringSet(writer, strings);
}

}  // namespace

IndexRef PassTemplates::Write(IndexWriter& writer) const {
  std::vector<TemplateRecord> records;
  for (const Template& t : templates_) {
    std::vector<PartRecord> parts;
    for (const auto& [right, lefts] : t.parts) parts.push_back({writer.Bytes(right), WriteSet(writer, lefts)});
    TemplateRecord record;
    record.head = static_cast<uint8_t>(t.shape.head);
    record.tail = static_cast<uint8_t>(t.shape.tail);
    record.lower = t.lower;
    record.parts = writer.Array(std::span<const PartRecord>(parts));
    record.whole = WriteSet(writer, t.whole);
    records.push_back(record);
  }
  return writer.Array(std::span<const TemplateRecord>(records));
}

PassTemplatesView::PassTemplatesView(const IndexBytes& bytes, IndexRef templates)
    : bytes_(bytes), templates_(templates) {}

size_t PassTemplatesView::size() const { return bytes_.Array<TemplateRecord>(templates_).size(); }

TableMatch PassTemplatesView::Match(int32_t id, std::string_view stem,
                                    std::string_view word) const {
  const std::span<const TemplateRecord> templates = bytes_.Array<TemplateRecord>(templates_);
  if (id < 0 || static_cast<size_t>(id) >= templates.size()) return TableMatch::kNone;
  const TemplateRecord& t = templates[static_cast<size_t>(id)];
  if (size_t{t.head} + t.tail > stem.size()) return TableMatch::kNone;
  const std::string_view middle = Middle(stem, {t.head, t.tail});
  bool found = StringSetView(bytes_, t.whole).Contains(word);
  const std::span<const PartRecord> parts = bytes_.Array<PartRecord>(t.parts);
  for (size_t k = 0; !found && k < parts.size(); ++k) {
    const std::string_view right = bytes_.Bytes(parts[k].right);
    if (word.size() < right.size() + middle.size()) continue;
    const size_t middle_at = word.size() - right.size() - middle.size();
    if (word.substr(middle_at + middle.size()) != right) continue;
    bool middle_there = true;
    for (size_t i = 0; middle_there && i < middle.size(); ++i)
      middle_there = FoldCase(middle[i]) == word[middle_at + i];
    if (!middle_there) continue;
    found = StringSetView(bytes_, parts[k].lefts).Contains(word.substr(0, middle_at));
  }
  if (!found) return TableMatch::kNone;
  return t.lower && IsLower(stem) ? TableMatch::kLowerCase : TableMatch::kMixedCase;
}

size_t PassTemplates::TemplateCount() const { return templates_.size(); }

size_t PassTemplates::StringCount() const {
  size_t count = 0;
  for (const Template& t : templates_) {
    count += t.whole.size() + t.forms.size();
    for (const auto& [right, lefts] : t.parts) count += lefts.size();
  }
  return count;
}
size_t PassTemplates::KeyCount() const { return by_key_.size(); }

size_t PassTemplates::ByteEstimate() const {
  constexpr size_t kNode = 2 * sizeof(void*) + sizeof(std::string);
  const auto set_bytes = [](const StringSet& set) { return set.ByteEstimate(); };
  size_t bytes = by_key_.size() * (kNode + 64);
  for (const Template& t : templates_) {
    bytes += sizeof(Template) + set_bytes(t.whole);
    for (const auto& [right, lefts] : t.parts) bytes += sizeof(right) + set_bytes(lefts);
    for (const std::string& form : t.forms)
      bytes += sizeof(std::string) + (form.size() > 15 ? form.size() + 1 : 0);
  }
  return bytes;
}

}  // namespace tovuri
