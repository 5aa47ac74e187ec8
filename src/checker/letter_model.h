#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tovuri {

// How likely a string of letters is as a word of the language: a letter
// n-gram model (Witten-Bell interpolation) over counts read from a file, so
// that common shapes of words cost less than rare ones. Read-only once loaded.
class TLetterModel {
 public:
  static constexpr int kMaxOrder = 6;

  // Reads "ngram<TAB>count" lines ("^" starts a word, "$" ends it, "_" is any
  // letter outside a to z; "#" starts a comment). False, with the model left
  // empty, when the file cannot be read or a line is malformed.
  bool Load(const std::string& path);
  bool Empty() const { return order_ == 0; }
  int Order() const { return order_; }

  // -ln P(word), in nats, case ignored; 0 for every word when empty.
  double Cost(std::string_view word) const;

  // The cost of each letter of word and of its end, in order: Cost(word) is their sum.
  std::vector<double> LetterCosts(std::string_view word) const;
  // Cost(candidate) for a candidate that shares most letters with word: the
  // letters whose n-gram word has too are not looked up again.
  double CostNear(std::string_view candidate, std::string_view word, const std::vector<double>& word_costs) const;

 private:
  struct ContextStats {
    uint32_t total = 0;     // n-grams counted after this context
    uint32_t distinct = 0;  // different letters seen after it
  };
  // The cost of symbol i of a word's symbols ("^", its letters, "$"), i >= 1.
  double SymbolCost(const std::vector<uint8_t>& symbols, size_t i) const;
  // One letter's probability after the symbols of context (oldest first).
  double Probability(const uint8_t* context, int length, uint8_t symbol) const;
  void Add(const uint8_t* symbols, int length, uint32_t count);
  void Clear();
  bool Fail();  // clears the model and answers false

  int order_ = 0;
  std::unordered_map<uint64_t, uint32_t> counts_;         // n-gram -> count
  std::unordered_map<uint64_t, ContextStats> contexts_;  // context -> what follows it
};

}  // namespace tovuri
