#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

#include "analyser/closed_class.h"
#include "analyser/flat_string_set.h"
#include "analyser/morpheme_ops.h"
#include "analyser/noun_forms.h"
#include "analyser/text_case.h"
#include "analyser/word_check.h"
#include "analyser/word_check_index.h"

namespace tovuri {
namespace {

// Longer stems are never tried.
constexpr size_t kMaxStem = 20;

using TableCaches = std::unordered_map<const PatternTable*, std::unique_ptr<PatternMatchCache>>;

// Hands every table run to the index's caches instead of making forms.
class PreparingSink final : public TableSink {
 public:
  explicit PreparingSink(TableCaches& caches) : caches_(caches) {}
  using FormSink::Add;
  void Add(std::initializer_list<std::string_view>) override { done_ = true; }
  bool TakeTable(const PatternTable& table, const PatternValues& values) override {
    std::unique_ptr<PatternMatchCache>& cache = caches_[&table];
    if (!cache) cache = std::make_unique<PatternMatchCache>();
    table.PrepareMatch(values, *cache);
    return true;
  }

 private:
  TableCaches& caches_;
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

// Every form any closed-class check can build, whatever parts its word asks
// for, case-folded and sorted. They do not depend on the lexicon, so they are
// made once however many indexes the process builds.
const std::vector<std::string_view>& ClosedClassForms() {
  static const FlatStringSet forms = [] {
    FlatStringSet set;
    FoldedSet closed(set);
    AddPresentativeForms(closed);
    for (std::string_view qualifying : {"nke", "-", "il", "yil"}) {
      AddPronounForms(qualifying, closed);
      AddNumberedOrCopulaForms(qualifying, closed);
    }
    AddDwaForms(closed);
    AddPhiForms(closed);
    return set;
  }();
  static const std::vector<std::string_view> sorted = [] {
    std::vector<std::string_view> views;
    forms.ForEach([&](std::string_view s) { views.push_back(s); });
    std::sort(views.begin(), views.end());
    return views;
  }();
  return sorted;
}

bool IsTableTag(std::string_view tag) {
  return tag == "verb" || tag == "defverb" || tag.substr(0, 3) == "exc";
}

// Gathers what the index holds, then lays it out.
class Builder {
 public:
  explicit Builder(const Lexicon& lexicon) : lexicon_(lexicon) {
    needles_.emplace_back();  // the root
    passes_.resize(lexicon.size());
    pass_templates_.resize(lexicon.size());
    const bool passive_keys = lexicon.PassiveKeys.size() == lexicon.size();
    for (size_t i = 0; i < lexicon.size(); ++i) {
      const std::string& stem = lexicon.LexStem[i];
      if (stem.empty() || stem.size() > kMaxStem) continue;
      const NeedleRecord plain{static_cast<uint32_t>(i), static_cast<uint8_t>(stem.size()), 0, 0};
      AddNeedle(ToLower(stem), plain);
      if (stem.size() > 1 && stem[1] == 'h')
        AddNeedle(ToLower(stem.substr(0, 1) + stem.substr(2)), plain);
      if (lexicon.LexPrefix[i] == "in" && stem[0] == 'k')
        AddNeedle(ToLower(stem.substr(0, 1) + "h" + stem.substr(1)), plain);
      AddNeedle(ToLower(LocativeBody(stem, lexicon.LexFinal[i])),
                {plain.entry, plain.stem_length, 1, 0});
      if (stem == "bulal") {
        AddNeedle("bulewe", plain);
        AddNeedle("bulawa", plain);
      }
      if (lexicon.LexClass[i] == "verb")
        AddNeedle(passive_keys ? lexicon.PassiveKeys[i] : PassiveStem(stem, lexicon), plain);
      passes_[i] = PassesForEntry(lexicon, i);
      for (const EntryPass& pass : passes_[i])
        pass_templates_[i].push_back(AddTemplate(templates_, pass, lexicon));
      if (IsTableTag(lexicon.LexClass[i])) {
        PreparingSink prepare(caches_);
        GenerateFormsForTag(lexicon.LexClass[i], lexicon.LexPrefix[i], stem, lexicon.LexFinal[i],
                            lexicon.LexInfo[i], prepare);
      }
    }
  }

  std::string LayOut(uint32_t& root_offset) const {
    IndexWriter writer;
    RootRecord root;
    root.entries = static_cast<uint32_t>(lexicon_.size());
    LayOutTrie(writer, root);

    root.closed_forms = WriteStringSet(writer, ClosedClassForms());

    // Caches in the order of their tables' fingerprints, so the same lexicon
    // always gives the same bytes.
    std::vector<std::pair<uint64_t, const PatternMatchCache*>> caches;
    for (const auto& [table, cache] : caches_) caches.emplace_back(table->Fingerprint(), cache.get());
    std::sort(caches.begin(), caches.end());
    std::vector<TableCacheRecord> cache_records;
    for (const auto& [fingerprint, cache] : caches)
      cache_records.push_back({fingerprint, cache->Write(writer), 0});
    root.table_caches = writer.Array(std::span<const TableCacheRecord>(cache_records));
    root.templates = templates_.Write(writer);
    LayOutPasses(writer, root);
    root_offset = writer.Record(root);
    if (!writer.fits()) return {};
    return writer.Take();
  }

 private:
  void AddNeedle(std::string_view text, NeedleRecord needle) {
    if (text.empty()) return;
    uint32_t node = 0;
    for (char c : text) {
      const uint64_t key = uint64_t{node} << 8 | static_cast<unsigned char>(c);
      const auto [it, added] = children_.try_emplace(key, static_cast<uint32_t>(needles_.size()));
      if (added) needles_.emplace_back();
      node = it->second;
    }
    needles_[node].push_back(needle);
  }

  // Each node's children in one range, placed by counting.
  void LayOutTrie(IndexWriter& writer, RootRecord& root) const {
    const size_t nodes = needles_.size();
    std::vector<uint32_t> child_begin(nodes + 1, 0);
    for (const auto& [key, child] : children_) ++child_begin[(key >> 8) + 1];
    for (size_t node = 0; node < nodes; ++node) child_begin[node + 1] += child_begin[node];
    std::vector<unsigned char> child_bytes(children_.size());
    std::vector<uint32_t> child_nodes(children_.size());
    std::vector<uint32_t> next(child_begin.begin(), child_begin.end() - 1);
    // In byte order within a node, so the same lexicon always gives the same bytes.
    std::vector<std::pair<uint64_t, uint32_t>> edges(children_.begin(), children_.end());
    std::sort(edges.begin(), edges.end());
    for (const auto& [key, child] : edges) {
      const uint32_t at = next[key >> 8]++;
      child_bytes[at] = static_cast<unsigned char>(key & 0xFF);
      child_nodes[at] = child;
    }
    std::vector<uint32_t> needle_begin(nodes + 1, 0);
    std::vector<NeedleRecord> needles;
    for (size_t node = 0; node < nodes; ++node) {
      needles.insert(needles.end(), needles_[node].begin(), needles_[node].end());
      needle_begin[node + 1] = static_cast<uint32_t>(needles.size());
    }
    root.child_begin = writer.Array(std::span<const uint32_t>(child_begin));
    root.child_bytes = writer.Array(std::span<const unsigned char>(child_bytes));
    root.child_nodes = writer.Array(std::span<const uint32_t>(child_nodes));
    root.needle_begin = writer.Array(std::span<const uint32_t>(needle_begin));
    root.needles = writer.Array(std::span<const NeedleRecord>(needles));
  }

  // Every pass's strings in one block, then the pass records pointing into it.
  void LayOutPasses(IndexWriter& writer, RootRecord& root) const {
    std::string text;
    std::vector<std::array<std::pair<uint32_t, uint32_t>, 5>> places;
    for (const std::vector<EntryPass>& passes : passes_) {
      for (const EntryPass& pass : passes) {
        std::array<std::pair<uint32_t, uint32_t>, 5> place;
        size_t k = 0;
        for (const std::string* field :
             {&pass.tag, &pass.prefix, &pass.stem, &pass.final, &pass.attribute}) {
          place[k++] = {static_cast<uint32_t>(text.size()), static_cast<uint32_t>(field->size())};
          text += *field;
        }
        places.push_back(place);
      }
    }
    const uint32_t base = writer.Bytes(text).offset;
    std::vector<uint32_t> pass_begin(passes_.size() + 1, 0);
    std::vector<PassRecord> records;
    for (size_t i = 0; i < passes_.size(); ++i) {
      for (size_t k = 0; k < passes_[i].size(); ++k) {
        const auto& place = places[records.size()];
        const auto ref = [&](size_t field) {
          return IndexRef{base + place[field].first, place[field].second};
        };
        PassRecord record;
        record.tag = ref(0);
        record.prefix = ref(1);
        record.stem = ref(2);
        record.final = ref(3);
        record.attribute = ref(4);
        record.template_id = pass_templates_[i][k];
        records.push_back(record);
      }
      pass_begin[i + 1] = static_cast<uint32_t>(records.size());
    }
    root.pass_begin = writer.Array(std::span<const uint32_t>(pass_begin));
    root.passes = writer.Array(std::span<const PassRecord>(records));
  }

  const Lexicon& lexicon_;
  std::vector<std::vector<NeedleRecord>> needles_;      // per trie node
  std::unordered_map<uint64_t, uint32_t> children_;    // node << 8 | byte -> node
  TableCaches caches_;
  PassTemplates templates_;
  std::vector<std::vector<EntryPass>> passes_;         // per entry
  std::vector<std::vector<int32_t>> pass_templates_;  // per entry and pass
};

}  // namespace

std::string LayOutWordCheckIndex(const Lexicon& lexicon, uint32_t& root) {
  return Builder(lexicon).LayOut(root);
}

}  // namespace tovuri
