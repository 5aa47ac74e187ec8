#include "checker/letter_model.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>

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

bool TLetterModel::Fail() {
  Clear();
  return false;
}

void TLetterModel::Add(const uint8_t* symbols, int length, uint32_t count) {
  counts_[Key(symbols, length)] += count;
  ContextStats& context = contexts_[Key(symbols, length - 1)];
  context.total += count;
  ++context.distinct;
}

void TLetterModel::Clear() {
  order_ = 0;
  counts_.clear();
  contexts_.clear();
}

bool TLetterModel::Load(const std::string& path) {
  Clear();
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  int order = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    if (tab == 0 || tab == std::string::npos || tab > static_cast<size_t>(kMaxOrder)) return Fail();
    uint8_t symbols[kMaxOrder];
    for (size_t i = 0; i < tab; ++i) symbols[i] = Symbol(line[i]);
    char* end = nullptr;
    const unsigned long count = std::strtoul(line.c_str() + tab + 1, &end, 10);
    if (*end != '\0' || count == 0 || count > 1'000'000'000UL) return Fail();
    // Each n-gram is listed once, so its context learns one more follower.
    Add(symbols, static_cast<int>(tab), static_cast<uint32_t>(count));
    order = std::max(order, static_cast<int>(tab));
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
    const auto found = contexts_.find(Key(h, k));
    if (found == contexts_.end()) break;
    for (int i = 0; i < k; ++i) gram[i] = h[i];
    gram[k] = symbol;
    const auto seen = counts_.find(Key(gram, k + 1));
    const double c = seen == counts_.end() ? 0 : seen->second;
    const double t = found->second.total, d = found->second.distinct;
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
