#pragma once
#include <cstdint>
#include <string>
#include <string_view>
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
  // empty, when the file cannot be read or fails its check: a malformed
  // line, an n-gram listed twice, or one counted more often than an n-gram
  // it holds (no counting of words gives that).
  bool Load(const std::string& path);
  // Why the last Load failed, as "line N: what" (or what kept the file from
  // being read); empty after a success and for a file that does not exist.
  const std::string& Problem() const { return problem_; }
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
  // What the model knows of one sequence of symbols: how often it was seen
  // as an n-gram, and as a context how many n-grams and different letters
  // followed it.
  struct Entry {
    uint64_t key;
    uint32_t count = 0;
    uint32_t total = 0;
    uint32_t distinct = 0;
  };
  const Entry* Find(uint64_t key) const;
  // The cost of symbol i of a word's symbols ("^", its letters, "$"), i >= 1.
  double SymbolCost(const std::vector<uint8_t>& symbols, size_t i) const;
  // One letter's probability after the symbols of context (oldest first).
  double Probability(const uint8_t* context, int length, uint8_t symbol) const;
  void Clear();
  bool Fail(std::string problem);  // clears the model, keeps the problem and answers false

  int order_ = 0;
  // Open addressing, a power of two in size and at most three quarters
  // full: a few probes in one array per look-up.
  std::vector<Entry> table_;
  std::string problem_;
};

}  // namespace tovuri
