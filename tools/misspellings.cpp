#include "misspellings.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace tovuri {

namespace {

// FNV-1a over the word and the attempt, then a mixing step: the slip depends
// on nothing but these two, so runs and machines agree.
class Draws {
 public:
  Draws(std::string_view word, uint32_t attempt) {
    for (unsigned char c : word) state_ = (state_ ^ c) * 1099511628211ULL;
    state_ = (state_ ^ attempt) * 1099511628211ULL;
  }
  uint32_t Next(uint32_t bound) {
    state_ ^= state_ >> 33;
    state_ *= 0xff51afd7ed558ccdULL;
    state_ ^= state_ >> 33;
    return static_cast<uint32_t>(state_ % bound);
  }

 private:
  uint64_t state_ = 14695981039346656037ULL;
};

}  // namespace

std::string MakeMisspelling(std::string_view word, uint32_t attempt) {
  if (word.size() < 2) return {};
  Draws draws(word, attempt);
  const bool capitals = std::all_of(word.begin(), word.end(), [](unsigned char c) { return !std::islower(c); });
  const char letter = static_cast<char>((capitals ? 'A' : 'a') + draws.Next(26));
  const auto size = static_cast<uint32_t>(word.size());
  std::string slip(word);
  switch (draws.Next(4)) {
    case 0: slip.insert(draws.Next(size + 1), 1, letter); break;
    case 1: slip.erase(draws.Next(size), 1); break;
    case 2: slip[draws.Next(size)] = letter; break;
    default: {
      const uint32_t at = draws.Next(size - 1);
      std::swap(slip[at], slip[at + 1]);
    }
  }
  return slip == word ? std::string() : slip;
}

}  // namespace tovuri
