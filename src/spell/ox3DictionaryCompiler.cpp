#include "spell/ox3DictionaryCompiler.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <unordered_map>
#include <utility>

#include "spell/ox3Encoding.h"
#include "spell/ox3MainDictionary.h"

namespace tovuri {
namespace {

constexpr std::size_t kMaxExtraBytes = kMainGroupCount - 1;
constexpr uint32_t kMaxLink = kMainNoChildren - 1;

// A state of the minimal automaton: its outgoing transitions in byte order.
struct State {
  bool final = false;
  std::vector<std::pair<uint8_t, uint32_t>> out;
};

// Builds the minimal acyclic automaton of sorted, unique words
// incrementally: once a word is done with a state, the state is merged with
// an equal registered one, so memory follows the minimal size.
class AutomatonBuilder {
 public:
  AutomatonBuilder() { states_.emplace_back(); }

  void Add(std::string_view word) {
    std::size_t common = 0;
    while (common < word.size() && common < previous_.size() && word[common] == previous_[common])
      ++common;
    Minimize(common);
    path_.resize(common + 1);
    for (std::size_t k = common; k < word.size(); ++k) {
      const uint32_t next = NewState();
      states_[path_[k]].out.emplace_back(static_cast<uint8_t>(word[k]), next);
      path_.push_back(next);
    }
    states_[path_[word.size()]].final = true;
    previous_.assign(word);
  }

  std::vector<State> Finish() {
    Minimize(0);
    return std::move(states_);
  }

 private:
  uint32_t NewState() {
    if (!free_.empty()) {
      const uint32_t id = free_.back();
      free_.pop_back();
      return id;
    }
    states_.emplace_back();
    return static_cast<uint32_t>(states_.size() - 1);
  }

  // Registers or merges the states of the previous word below depth.
  void Minimize(std::size_t depth) {
    if (path_.empty()) path_.push_back(0);
    for (std::size_t k = path_.size() - 1; k > depth; --k) {
      const uint32_t id = path_[k];
      std::string key = Key(states_[id]);
      auto [it, inserted] = register_.try_emplace(std::move(key), id);
      if (!inserted) {
        states_[path_[k - 1]].out.back().second = it->second;
        states_[id] = State{};
        free_.push_back(id);
      }
    }
    path_.resize(depth + 1);
  }

  static std::string Key(const State& s) {
    std::string key(1, s.final ? '\1' : '\0');
    for (const auto& [ch, target] : s.out) {
      key.push_back(static_cast<char>(ch));
      for (int shift = 0; shift < 32; shift += 8) key.push_back(static_cast<char>(target >> shift));
    }
    return key;
  }

  std::vector<State> states_;
  std::vector<uint32_t> free_;
  std::vector<uint32_t> path_;
  std::string previous_;
  std::unordered_map<std::string, uint32_t> register_;
};

// One node record of the file: a character, the chain of characters packed
// after it, and the children that follow the chain.
struct Record {
  uint8_t ch = 0;
  bool end = false;
  std::string extra;
  uint32_t children_state = 0;  // the automaton state whose transitions are the children
  std::vector<uint32_t> children;  // record ids, later file indexes
  uint32_t index = 0;
};

void PutLE32(std::string& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(v >> shift));
}

void PutIndex(std::string& out, uint32_t index, bool wide) {
  if (!wide) {
    out.push_back(static_cast<char>(index & 0xFF));
    out.push_back(static_cast<char>(index >> 8));
  } else if (index < 0x8000) {
    out.push_back(static_cast<char>(0x80 | (index >> 8)));
    out.push_back(static_cast<char>(index & 0xFF));
  } else {
    out.push_back(static_cast<char>(index >> 16));
    out.push_back(static_cast<char>((index >> 8) & 0xFF));
    out.push_back(static_cast<char>(index & 0xFF));
  }
}

class GraphWriter {
 public:
  explicit GraphWriter(std::vector<State> states) : states_(std::move(states)) {}

  CompiledDictionary Write(std::string_view title, int32_t language, uint32_t word_count) {
    CollectRecords();
    Number();
    const uint32_t node_count = static_cast<uint32_t>(records_.size());
    if (node_count > kMaxLink)
      throw DictionaryCompileError("the word graph has too many nodes for the file format");
    const bool wide = node_count >= kMainWideIndexNodes;

    // Child lists in the linkage area; equal lists are stored once.
    std::string linkage;
    std::map<std::string, uint32_t> list_offsets;
    std::vector<uint32_t> words(records_.size());
    std::vector<std::pair<uint32_t, uint32_t>> fields(records_.size());  // (c, link) per record id
    for (uint32_t id : order_) {
      const Record& r = records_[id];
      const std::size_t k = r.children.size();
      if (k == 0) {
        fields[id] = {0, kMainNoChildren};
      } else if (k == 1) {
        fields[id] = {1, records_[r.children[0]].index};
      } else {
        std::string list;
        if (k >= 8) list.push_back(static_cast<char>(k));
        for (uint32_t child : r.children) PutIndex(list, records_[child].index, wide);
        auto [it, inserted] = list_offsets.try_emplace(list, static_cast<uint32_t>(linkage.size()));
        if (inserted) linkage += list;
        if (it->second > kMaxLink)
          throw DictionaryCompileError("the child lists are too large for the file format");
        fields[id] = {k >= 8 ? 0u : static_cast<uint32_t>(k), it->second};
      }
    }

    std::array<uint32_t, kMainGroupCount> group_counts{};
    for (const Record& r : records_) ++group_counts[r.extra.size()];

    std::string out(kMainBannerBlockSize, '\0');
    std::copy(kMainDictionaryBanner.begin(), kMainDictionaryBanner.end(), out.begin());
    std::u16string title16 = Windows1252ToUtf16(title);
    if (title16.size() > 255) title16.resize(255);
    out.push_back(static_cast<char>(title16.size()));
    for (char16_t u : title16) {
      out.push_back(static_cast<char>(u & 0xFF));
      out.push_back(static_cast<char>(u >> 8));
    }
    out.append(2, '\0');
    PutLE32(out, static_cast<uint32_t>(language));
    PutLE32(out, word_count);
    PutLE32(out, node_count);
    for (uint32_t n : group_counts) PutLE32(out, n);

    for (uint32_t id : order_) {
      const Record& r = records_[id];
      const auto [c, link] = fields[id];
      PutLE32(out, uint32_t{r.ch} | link << 8 | c << 28 | (r.end ? 1u << 31 : 0u));
      out += r.extra;
    }
    PutLE32(out, static_cast<uint32_t>(linkage.size()));
    out += linkage;

    // The root table answers for a word's first byte without a node visit:
    // the first-character node's end flag, its child count and its children.
    std::string root(kMainRootTableSize, '\0');
    for (uint32_t child : records_[0].children) {
      const Record& r = records_[child];
      char* e = &root[std::size_t{r.ch} * 8];
      e[0] = r.end ? 1 : 0;
      e[1] = static_cast<char>(r.children.size());
      uint32_t link = 0;
      if (r.children.size() == 1) link = records_[r.children[0]].index;
      else if (r.children.size() >= 2) link = fields[child].second + (r.children.size() >= 8 ? 1 : 0);
      for (int b = 0; b < 4; ++b) e[4 + b] = static_cast<char>(link >> (8 * b));
    }
    out += root;
    out.append(kMainTrailerSize, '\0');
    SealMainDictionary(out);
    return {std::move(out), word_count, node_count};
  }

 private:
  // One record per distinct (character, target state) pair reachable from
  // the root; in a minimal automaton equal pairs are equal subtrees. Records
  // are made breadth first, so the children of a node mostly lie side by side
  // in the file and a lookup scanning them touches few cache lines.
  void CollectRecords() {
    records_.emplace_back();
    records_[0].children_state = 0;
    std::unordered_map<uint64_t, uint32_t> ids;
    for (uint32_t id = 0; id < records_.size(); ++id) {
      const uint32_t state = records_[id].children_state;
      std::vector<uint32_t> children;
      children.reserve(states_[state].out.size());
      for (const auto& [ch, target] : states_[state].out) {
        const uint64_t key = uint64_t{target} << 8 | ch;
        auto [it, inserted] = ids.try_emplace(key, static_cast<uint32_t>(records_.size()));
        if (inserted) records_.push_back(MakeRecord(ch, target, id == 0));
        children.push_back(it->second);
      }
      records_[id].children = std::move(children);
      visit_order_.push_back(id);
    }
  }

  // Packs the branch-free chain after the character into the record. The
  // root's children stay unpacked, because the root table that stands for
  // them has no room for a chain; a record is shared by all its parents, so
  // that holds wherever it appears.
  Record MakeRecord(uint8_t ch, uint32_t target, bool root_child) {
    Record r;
    r.ch = ch;
    r.end = states_[target].final;
    uint32_t s = target;
    const bool is_root_child =
        root_child || std::any_of(states_[0].out.begin(), states_[0].out.end(),
                                  [&](const auto& t) { return t.first == ch && t.second == target; });
    if (!is_root_child) {
      while (r.extra.size() < kMaxExtraBytes && states_[s].out.size() == 1 &&
             !states_[states_[s].out[0].second].final) {
        r.extra.push_back(static_cast<char>(states_[s].out[0].first));
        s = states_[s].out[0].second;
      }
    }
    r.children_state = s;
    return r;
  }

  // Group by chain length, keeping the walk order within each group; the
  // root comes first, as node 0.
  void Number() {
    std::array<uint32_t, kMainGroupCount> next{};
    for (uint32_t id : visit_order_) ++next[records_[id].extra.size()];
    uint32_t start = 0;
    for (uint32_t& n : next) {
      const uint32_t count = n;
      n = start;
      start += count;
    }
    order_.assign(records_.size(), 0);
    for (uint32_t id : visit_order_) {
      const uint32_t index = next[records_[id].extra.size()]++;
      records_[id].index = index;
      order_[index] = id;
    }
  }

  std::vector<State> states_;
  std::vector<Record> records_;
  std::vector<uint32_t> visit_order_;
  std::vector<uint32_t> order_;  // record id by file index
};

}  // namespace

WordList ReadWordList(const std::string& path) {
  // A folder opens as a stream on Linux and fails only at the first read.
  std::error_code error;
  if (std::filesystem::is_directory(path, error))
    throw DictionaryCompileError(path + ": is a folder, not a word list");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DictionaryCompileError(path + ": cannot be read: " + std::strerror(errno));
  std::string text;
  try {
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    in.setstate(std::ios::badbit);
  }
  if (in.bad()) throw DictionaryCompileError(path + ": cannot be read to its end");
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  const bool utf8 = IsValidUtf8(text);

  WordList list;
  std::size_t line_no = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    ++line_no;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
      line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty()) continue;
    auto warn = [&](const char* reason) {
      list.warnings.push_back(path + ":" + std::to_string(line_no) + ": " + reason);
    };
    std::string word;
    if (utf8) {
      auto converted = Utf8ToWindows1252(line);
      if (!converted) {
        warn("has a character that Windows-1252 cannot store; skipped");
        continue;
      }
      word = std::move(*converted);
    } else {
      word.assign(line);
    }
    if (word.find('\0') != std::string::npos) {
      warn("has a zero byte; skipped");
      continue;
    }
    if (word.size() > kMainMaxWordBytes) {
      warn("is longer than 512 bytes; skipped");
      continue;
    }
    list.words.push_back(std::move(word));
  }
  return list;
}

CompiledDictionary CompileMainDictionary(std::vector<std::string> words, std::string_view title,
                                         int32_t language) {
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  AutomatonBuilder builder;
  uint32_t count = 0;
  for (const std::string& w : words) {
    if (w.empty()) continue;
    if (w.size() > kMainMaxWordBytes || w.find('\0') != std::string::npos)
      throw DictionaryCompileError("a word is longer than 512 bytes or holds a zero byte");
    builder.Add(w);
    ++count;
  }
  GraphWriter writer(builder.Finish());
  return writer.Write(title, language, count);
}

}  // namespace tovuri
