#include "checker/letter_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_map>

namespace tovuri {

namespace {

constexpr uint8_t kWordStart = 27;
constexpr uint8_t kWordEnd = 28;
constexpr uint8_t kOtherLetter = 29;
constexpr double kSymbols = 29;  // what the empty context spreads its mass over
constexpr int kBitsPerSymbol = 5;

uint8_t Symbol(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 'a' + 1);
  if (c >= 'A' && c <= 'Z') return static_cast<uint8_t>(c - 'A' + 1);
  if (c == '^') return kWordStart;
  if (c == '$') return kWordEnd;
  return kOtherLetter;
}

// Up to kMaxOrder symbols and their number in one key; distinct for every
// sequence, the empty one included.
uint64_t Key(const uint8_t* symbols, int length) {
  uint64_t key = 0;
  for (int i = 0; i < length; ++i) key = key << kBitsPerSymbol | symbols[i];
  return key << 3 | static_cast<uint64_t>(length);
}

constexpr uint64_t kNoKey = ~uint64_t{0};  // Key never makes it

size_t Slot(uint64_t key, size_t mask) {
  key ^= key >> 29;
  key *= 0xbf58476d1ce4e5b9ULL;
  key ^= key >> 32;
  return static_cast<size_t>(key) & mask;
}

// "^", the word's letters, "$".
std::vector<uint8_t> Symbols(std::string_view word) {
  std::vector<uint8_t> symbols;
  symbols.reserve(word.size() + 2);
  symbols.push_back(kWordStart);
  for (char c : word) symbols.push_back(c == '^' || c == '$' ? kOtherLetter : Symbol(c));
  symbols.push_back(kWordEnd);
  return symbols;
}

}  // namespace

bool TLetterModel::Fail(std::string problem) {
  Clear();
  problem_ = std::move(problem);
  return false;
}

void TLetterModel::Clear() {
  order_ = 0;
  table_.clear();
}

const TLetterModel::Entry* TLetterModel::Find(uint64_t key) const {
  if (table_.empty()) return nullptr;
  const size_t mask = table_.size() - 1;
  for (size_t i = Slot(key, mask);; i = (i + 1) & mask) {
    if (table_[i].key == key) return &table_[i];
    if (table_[i].key == kNoKey) return nullptr;
  }
}

bool TLetterModel::Load(const std::string& path) {
  Clear();
  problem_.clear();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return false;
  std::ifstream in(path);
  if (!in) return Fail("the file cannot be read");
  std::string line;
  int order = 0;
  std::unordered_map<uint64_t, Entry> entries;
  // Each listed n-gram in file order, for the check of the counts; an
  // n-gram is listed when its entry has a count.
  struct Listed {
    uint64_t key;
    int line;
    int length;
    std::array<uint8_t, kMaxOrder> symbols;
  };
  std::vector<Listed> listed;
  const auto line_of = [&listed](uint64_t key) {
    return std::find_if(listed.begin(), listed.end(), [key](const Listed& l) { return l.key == key; })->line;
  };
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    const auto at = [number](const std::string& what) { return "line " + std::to_string(number) + ": " + what; };
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) return Fail(at("no tab between the n-gram and its count"));
    if (tab == 0) return Fail(at("no n-gram before the tab"));
    if (tab > static_cast<size_t>(kMaxOrder))
      return Fail(at("an n-gram of " + std::to_string(tab) + " symbols, more than " + std::to_string(kMaxOrder)));
    Listed gram{0, number, static_cast<int>(tab), {}};
    for (size_t i = 0; i < tab; ++i) {
      const char c = line[i];
      const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
      if (!letter && !(c == '^' && i == 0) && !(c == '$' && i + 1 == tab))
        return Fail(at("the n-gram " + line.substr(0, tab) + " holds '" + c + "' where no n-gram can"));
      gram.symbols[i] = Symbol(c);
    }
    char* end = nullptr;
    const unsigned long count = std::strtoul(line.c_str() + tab + 1, &end, 10);
    if (*end != '\0' || count == 0 || count > 1'000'000'000UL || line[tab + 1] < '0' || line[tab + 1] > '9')
      return Fail(at("the count " + line.substr(tab + 1) + " is not a whole number from 1 to 1000000000"));
    gram.key = Key(gram.symbols.data(), gram.length);
    Entry& entry = entries[gram.key];
    if (entry.count != 0)
      return Fail(at("the n-gram " + line.substr(0, tab) + " is listed again (first at line " +
                     std::to_string(line_of(gram.key)) + ")"));
    entry.count = static_cast<uint32_t>(count);
    // Each n-gram is listed once, so its context learns one more follower.
    Entry& context = entries[Key(gram.symbols.data(), gram.length - 1)];
    if (context.total > UINT32_MAX - count) return Fail(at("counts beyond any real list"));
    context.total += static_cast<uint32_t>(count);
    ++context.distinct;
    order = std::max(order, gram.length);
    listed.push_back(gram);
  }
  if (in.bad()) return Fail("the file cannot be read to its end");
  size_t size = 2;
  while (size * 3 < entries.size() * 4) size *= 2;
  table_.assign(size, Entry{kNoKey});
  for (auto& [key, entry] : entries) {
    size_t i = Slot(key, size - 1);
    while (table_[i].key != kNoKey) i = (i + 1) & (size - 1);
    table_[i] = entry;
    table_[i].key = key;
  }
  // Every place an n-gram is counted at, the n-grams inside it that end there
  // (its last symbols) or one earlier (its first symbols) are counted too;
  // a lone "^" is never counted. Checked in the table, where look-ups are
  // quickest.
  for (const Listed& gram : listed) {
    if (gram.length < 2) continue;
    const uint32_t count = Find(gram.key)->count;
    const uint64_t last = Key(gram.symbols.data() + 1, gram.length - 1);
    const uint64_t first = Key(gram.symbols.data(), gram.length - 1);
    for (const uint64_t inner : {last, first}) {
      if (inner == first && gram.length == 2 && gram.symbols[0] == kWordStart) continue;
      const Entry* found = Find(inner);
      const uint32_t inner_count = found == nullptr ? 0 : found->count;
      if (inner_count == 0 || inner_count >= count) continue;  // not listed, or as it should be
      return Fail("line " + std::to_string(gram.line) + ": counted " + std::to_string(count) +
                  " times, more than the n-gram it holds at line " + std::to_string(line_of(inner)) + " (" +
                  std::to_string(inner_count) + " times), which no counting of words gives");
    }
  }
  order_ = order;
  return true;
}

double TLetterModel::Probability(const uint8_t* context, int length, uint8_t symbol) const {
  double p = 1 / kSymbols;
  uint8_t gram[kMaxOrder];
  // From the empty context to the longest: each mixes what it saw with the
  // shorter context's estimate, trusting it more the fewer letters follow it.
  for (int k = 0; k <= length; ++k) {
    const uint8_t* h = context + (length - k);
    const Entry* seen_context = Find(Key(h, k));
    if (seen_context == nullptr || seen_context->total == 0) break;
    for (int i = 0; i < k; ++i) gram[i] = h[i];
    gram[k] = symbol;
    const Entry* seen = Find(Key(gram, k + 1));
    const double c = seen == nullptr ? 0 : seen->count;
    const double t = seen_context->total, d = seen_context->distinct;
    p = (c + d * p) / (t + d);
  }
  return p;
}

double TLetterModel::SymbolCost(const std::vector<uint8_t>& symbols, size_t i) const {
  const size_t length = std::min(i, static_cast<size_t>(order_ - 1));
  return -std::log(Probability(symbols.data() + i - length, static_cast<int>(length), symbols[i]));
}

double TLetterModel::Cost(std::string_view word) const {
  double cost = 0;
  for (double letter : LetterCosts(word)) cost += letter;
  return cost;
}

std::vector<double> TLetterModel::LetterCosts(std::string_view word) const {
  if (Empty()) return std::vector<double>(word.size() + 1, 0.0);
  const std::vector<uint8_t> symbols = Symbols(word);
  std::vector<double> costs;
  costs.reserve(symbols.size() - 1);
  for (size_t i = 1; i < symbols.size(); ++i) costs.push_back(SymbolCost(symbols, i));
  return costs;
}

double TLetterModel::CostNear(std::string_view candidate, std::string_view word,
                              const std::vector<double>& word_costs) const {
  if (Empty()) return 0;
  const std::vector<uint8_t> c = Symbols(candidate);
  const std::vector<uint8_t> w = Symbols(word);
  if (word_costs.size() + 1 != w.size()) return Cost(candidate);
  const size_t shorter = std::min(c.size(), w.size());
  size_t prefix = 0;
  while (prefix < shorter && c[prefix] == w[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix + prefix < shorter && c[c.size() - 1 - suffix] == w[w.size() - 1 - suffix]) ++suffix;
  const size_t context = static_cast<size_t>(order_ - 1);
  double cost = 0;
  for (size_t i = 1; i < c.size(); ++i) {
    if (i < prefix) {
      cost += word_costs[i - 1];  // the same letters before it: the same cost
    } else if (i >= context && i - context >= c.size() - suffix) {
      cost += word_costs[i + w.size() - c.size() - 1];  // so too in the shared end
    } else {
      cost += SymbolCost(c, i);
    }
  }
  return cost;
}

}  // namespace tovuri
