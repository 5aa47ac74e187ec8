#include "analyser/noun_match.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "analyser/lexicon.h"
#include "analyser/morpheme_ops.h"
#include "analyser/noun_forms.h"
#include "analyser/text_case.h"

namespace tovuri {
namespace {

// Bytes that no lexicon text holds.
constexpr std::string_view kMarker = "\x01\x02";

// Stems that the noun generator gives forms of their own (or a locative of
// their own), which no other stem of their shape has.
constexpr std::string_view kSpecialStems[] = {"tambam", "mangoy", "khohl", "nen"};

struct StringHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using StringSet = std::unordered_set<std::string, StringHash, std::equal_to<>>;

uint64_t Hash(std::string_view s) {
  uint64_t h = 1469598103934665603ull;
  for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return h;
}

bool IsLower(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return FoldCase(c) == c; });
}

// text with its one marker replaced by stem; text itself when it has none.
std::string Substitute(std::string_view text, std::string_view marker, std::string_view stem) {
  const size_t at = text.find(marker);
  if (at == std::string_view::npos) return std::string(text);
  std::string out(text.substr(0, at));
  out += stem;
  out += text.substr(at + marker.size());
  return out;
}

// Whether the generator's stem-dependent choices come out the same for the
// stem and the marker: number shapes, and the locative bodies it builds.
bool BehavesLikeMarker(std::string_view tag, std::string_view prefix, std::string_view stem,
                       std::string_view final, std::string_view marker) {
  if (std::find(std::begin(kSpecialStems), std::end(kSpecialStems), stem) !=
      std::end(kSpecialStems))
    return false;
  const NumberVariants real = NounNumberVariants(tag, prefix, stem);
  const NumberVariants model = NounNumberVariants(tag, prefix, marker);
  if (real.count != model.count) return false;
  for (size_t j = 0; j < real.variants.size(); ++j) {
    const NumberVariant& a = real.variants[j];
    const NumberVariant& b = model.variants[j];
    if (a.prefix != b.prefix || a.near_demonstrative != b.near_demonstrative ||
        a.far_demonstrative != b.far_demonstrative)
      return false;
    if (a.stem != Substitute(b.stem, marker, stem)) return false;
    for (std::string_view ending : {final, std::string_view("i")})
      if (LocativeBody(a.stem, ending) !=
          Substitute(LocativeBody(b.stem, ending), marker, stem))
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

}  // namespace

struct NounPassIndex::Template {
  std::string marker;
  // Per right part, the left parts that stand before the stem; case-folded.
  std::vector<std::pair<std::string, StringSet>> parts;
  StringSet whole;  // forms without the stem
  bool lower = true;
};

NounPassIndex::NounPassIndex() = default;
NounPassIndex::~NounPassIndex() = default;
NounPassIndex::NounPassIndex(NounPassIndex&&) noexcept = default;
NounPassIndex& NounPassIndex::operator=(NounPassIndex&&) noexcept = default;

int32_t NounPassIndex::Add(std::string_view tag, std::string_view prefix, std::string_view stem,
                           std::string_view final, const Lexicon& lexicon) {
  if (stem.empty() || stem.find(kMarker) != std::string_view::npos) return -1;
  // The infinitive's negative locative reads whether the stem ends in "w".
  std::string marker(kMarker);
  if (stem.back() == 'w') marker += 'w';
  const std::string word = std::string(prefix) + std::string(stem) + std::string(final);
  if (lexicon.FindLocativeForms(word) || lexicon.IsShortLocative(word)) return -1;
  if (!BehavesLikeMarker(tag, prefix, stem, final, marker)) return -1;

  std::string key(tag);
  for (std::string_view part : {prefix, final, std::string_view(marker)}) {
    key += '\0';
    key += part;
  }
  if (const auto it = by_key_.find(key); it != by_key_.end()) return it->second;

  Collect model;
  GenerateNounForms(tag, prefix, marker, final, model, lexicon);
  Template t;
  t.marker = marker;
  bool usable = true;
  std::unordered_map<std::string, size_t> right_index;
  for (const std::string& form : model.forms) {
    const std::string folded = ToLower(form);
    t.lower = t.lower && folded == form;
    const size_t at = folded.find(marker);
    if (at == std::string::npos) {
      t.whole.insert(folded);
      continue;
    }
    if (folded.find(marker, at + 1) != std::string::npos) usable = false;
    std::string right = folded.substr(at + marker.size());
    const auto [it, added] = right_index.try_emplace(right, t.parts.size());
    if (added) t.parts.emplace_back(std::move(right), StringSet{});
    t.parts[it->second].second.insert(folded.substr(0, at));
  }
  // The template must give back this entry's own forms exactly (compared by
  // 64-bit hashes of the distinct folded forms).
  if (usable) {
    Collect real;
    GenerateNounForms(tag, prefix, stem, final, real, lexicon);
    const auto distinct = [](std::vector<uint64_t> hashes) {
      std::sort(hashes.begin(), hashes.end());
      hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
      return hashes;
    };
    std::vector<uint64_t> made;
    for (const std::string& form : real.forms) made.push_back(Hash(ToLower(form)));
    std::vector<uint64_t> expected;
    const std::string folded_stem = ToLower(stem);
    for (const std::string& form : model.forms)
      expected.push_back(Hash(Substitute(ToLower(form), marker, folded_stem)));
    usable = distinct(std::move(made)) == distinct(std::move(expected));
  }
  const int32_t id = usable ? static_cast<int32_t>(templates_.size()) : -1;
  if (usable) templates_.push_back(std::move(t));
  by_key_.emplace(std::move(key), id);
  return id;
}

TableMatch NounPassIndex::Match(int32_t id, std::string_view stem,
                                std::string_view word) const {
  const Template& t = templates_[static_cast<size_t>(id)];
  bool found = t.whole.find(word) != t.whole.end();
  for (size_t k = 0; !found && k < t.parts.size(); ++k) {
    const auto& [right, lefts] = t.parts[k];
    if (word.size() < right.size() + stem.size()) continue;
    const size_t stem_at = word.size() - right.size() - stem.size();
    if (word.substr(stem_at + stem.size()) != right) continue;
    bool stem_there = true;
    for (size_t i = 0; stem_there && i < stem.size(); ++i)
      stem_there = FoldCase(stem[i]) == word[stem_at + i];
    if (!stem_there) continue;
    found = lefts.find(word.substr(0, stem_at)) != lefts.end();
  }
  if (!found) return TableMatch::kNone;
  return t.lower && IsLower(stem) ? TableMatch::kLowerCase : TableMatch::kMixedCase;
}

size_t NounPassIndex::TemplateCount() const { return templates_.size(); }
size_t NounPassIndex::KeyCount() const { return by_key_.size(); }

size_t NounPassIndex::ByteEstimate() const {
  constexpr size_t kNode = 2 * sizeof(void*) + sizeof(std::string);
  const auto set_bytes = [&](const StringSet& set) {
    size_t bytes = set.bucket_count() * sizeof(void*);
    for (const std::string& s : set) bytes += kNode + (s.size() > 15 ? s.size() + 1 : 0);
    return bytes;
  };
  size_t bytes = by_key_.size() * (kNode + 64);
  for (const Template& t : templates_) {
    bytes += sizeof(Template) + set_bytes(t.whole);
    for (const auto& [right, lefts] : t.parts) bytes += sizeof(right) + set_bytes(lefts);
  }
  return bytes;
}

}  // namespace tovuri
