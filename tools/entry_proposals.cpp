#include "entry_proposals.h"

#include <algorithm>
#include <bit>
#include <map>
#include <queue>
#include <set>
#include <tuple>
#include <unordered_set>

#include "analyser/concord_tables.h"
#include "analyser/form_sink.h"
#include "analyser/word_check.h"

namespace tovuri {
namespace {

// Stands for the stem in the generated forms: letters no Ndebele stem holds
// together, with a vowel so that the generators see two syllables.
constexpr std::string_view kMarker = "xqaxq";
// A stem may begin with a vowel that the prefix before it changes (uku-akha
// makes ukwakha), so each shape is also run with each vowel before the marker.
constexpr std::string_view kHeads[] = {"", "a", "e", "i", "o", "u"};

bool Proposable(std::string_view tag) {
  return tag == "verb" || (IsNounTag(tag) && tag != "person" && tag != "place");
}

std::string SplitKey(std::string_view left, std::string_view right) {
  std::string key(left);
  key += '\x01';
  key += right;
  return key;
}

bool IsVowel(char c) { return std::string_view("aeiou").find(c) != std::string_view::npos; }

// On equal evidence, a stem that starts with a consonant: a vowel before it
// is more often the class prefix's own (isi-phala rather than is-iphala).
auto Rank(const Proposal& p) {
  return std::make_tuple(p.words.size(), p.Samples(), p.accepted_forms, !IsVowel(p.entry.stem[0]),
                         p.entry.stem.size());
}

}  // namespace

std::string ProposedEntry::Line() const {
  if (tag == "verb") return tag + ",uku-" + stem + final + ",,";
  return tag + "," + prefix + "-" + stem + final + ",,";
}

size_t Proposal::Samples() const { return static_cast<size_t>(std::popcount(samples)); }

std::vector<EntryShape> LexiconShapes(const Lexicon& lexicon, size_t min_uses) {
  std::map<std::tuple<std::string, std::string, std::string>, size_t> uses;
  for (size_t i = 0; i < lexicon.size(); ++i) {
    if (!Proposable(lexicon.LexClass[i]) || lexicon.LexFinal[i].empty()) continue;
    // Every verb is written uku- + stem + a; the generator picks ukw- itself.
    const std::string prefix = lexicon.LexClass[i] == "verb" ? "uku" : lexicon.LexPrefix[i];
    ++uses[{lexicon.LexClass[i], prefix, lexicon.LexFinal[i]}];
  }
  std::vector<EntryShape> shapes;
  for (const auto& [shape, count] : uses)
    if (count >= min_uses) shapes.push_back({std::get<0>(shape), std::get<1>(shape), std::get<2>(shape)});
  return shapes;
}

EntryProposer::EntryProposer(std::vector<EntryShape> shapes, size_t min_stem)
    : shapes_(std::move(shapes)), min_stem_(min_stem) {
  FormList list;
  for (uint32_t s = 0; s < shapes_.size(); ++s) {
    const EntryShape& shape = shapes_[s];
    for (uint8_t h = 0; h < std::size(kHeads); ++h) {
      Lexicon one;
      one.AddEntry(shape.tag, shape.prefix, std::string(kHeads[h]) + std::string(kMarker), shape.final, "");
      std::unordered_set<std::string> seen;
      for (const EntryPass& pass : PassesForEntry(one, 0)) {
        list.forms.clear();
        GenerateFormsForTag(pass.tag, pass.prefix, pass.stem, pass.final, pass.attribute, list);
        for (const std::string& form : list.forms) {
          const size_t at = form.find(kMarker);
          if (at == std::string::npos) continue;  // the generator changed the stem itself
          const std::string_view left = std::string_view(form).substr(0, at);
          const std::string_view right = std::string_view(form).substr(at + kMarker.size());
          std::string key = SplitKey(left, right);
          if (!seen.insert(key).second) continue;
          longest_left_ = std::max(longest_left_, left.size());
          longest_right_ = std::max(longest_right_, right.size());
          splits_[std::move(key)].push_back({s, h});
        }
      }
    }
  }
}

std::vector<ProposedEntry> EntryProposer::EntriesFor(std::string_view word) const {
  std::vector<ProposedEntry> found;
  auto add = [&found](ProposedEntry entry) {
    if (std::find(found.begin(), found.end(), entry) == found.end()) found.push_back(std::move(entry));
  };
  const size_t n = word.size();
  for (size_t i = 0; i <= std::min(n, longest_left_); ++i) {
    for (size_t j = std::max(i + 1, n > longest_right_ ? n - longest_right_ : 0); j <= n; ++j) {
      const auto it = splits_.find(SplitKey(word.substr(0, i), word.substr(j)));
      if (it == splits_.end()) continue;
      for (const Use& use : it->second) {
        const EntryShape& shape = shapes_[use.shape];
        // The marker's letters stand for the stem; a vowel head sits in the left part.
        // A vowel head stands in the left part, as the prefix joined it (ukw-a).
        std::string stem(kHeads[use.head]);
        stem += word.substr(i, j - i);
        if (stem.size() < min_stem_) continue;
        add({shape.tag, shape.prefix, stem, shape.final});
        if (shape.tag != "verb") continue;
        // An extended verb is made from its root by the loader: the root explains it too.
        for (std::string_view extension : VerbExtensions) {
          const std::string_view tail = extension.substr(0, extension.size() - 1);
          if (stem.size() >= tail.size() + min_stem_ && std::string_view(stem).ends_with(tail))
            add({shape.tag, shape.prefix, stem.substr(0, stem.size() - tail.size()), shape.final});
        }
      }
    }
  }
  return found;
}

std::vector<Proposal> RankProposals(const EntryProposer& proposer, const std::vector<SampleWord>& rejected,
                                    const std::vector<std::string>& accepted) {
  std::map<std::string, Proposal> by_line;
  std::unordered_map<std::string, uint32_t> samples_of;
  for (const SampleWord& w : rejected) {
    samples_of[w.word] |= w.samples;
    for (ProposedEntry& entry : proposer.EntriesFor(w.word)) {
      Proposal& p = by_line[entry.Line()];
      if (p.words.empty()) p.entry = std::move(entry);
      p.words.push_back(w.word);
      p.samples |= w.samples;
    }
  }
  for (const std::string& word : accepted)
    for (const ProposedEntry& entry : proposer.EntriesFor(word))
      if (auto it = by_line.find(entry.Line()); it != by_line.end()) ++it->second.accepted_forms;

  // Greedy cover: the best proposal takes its words; the others are ranked
  // again on the words left to them when they come up.
  std::vector<Proposal> all;
  all.reserve(by_line.size());
  for (auto& [line, p] : by_line) all.push_back(std::move(p));
  auto worse = [&all](size_t a, size_t b) { return Rank(all[a]) < Rank(all[b]); };
  std::priority_queue<size_t, std::vector<size_t>, decltype(worse)> queue(worse);
  for (size_t i = 0; i < all.size(); ++i) queue.push(i);
  std::unordered_set<std::string> claimed;
  std::vector<Proposal> ranked;
  while (!queue.empty()) {
    const size_t i = queue.top();
    queue.pop();
    Proposal& p = all[i];
    std::vector<std::string> left;
    for (std::string& w : p.words) (claimed.count(w) ? p.also : left).push_back(std::move(w));
    const bool changed = left.size() != p.words.size();
    p.words = std::move(left);
    if (p.words.empty()) continue;
    if (changed) {
      p.samples = 0;
      for (const std::string& w : p.words) p.samples |= samples_of[w];
    }
    if (changed && !queue.empty() && Rank(p) < Rank(all[queue.top()])) {
      queue.push(i);
      continue;
    }
    for (const std::string& w : p.words) claimed.insert(w);
    ranked.push_back(std::move(p));
  }
  return ranked;
}

}  // namespace tovuri
