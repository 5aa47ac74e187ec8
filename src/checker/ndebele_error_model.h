#pragma once
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tovuri {

// Where a confusion may happen in the typed word.
enum class TSlipPlace : unsigned char { spAnywhere, spWordEnd };

// A slip typical of Ndebele writing: where the writer meant `intended`, the
// word has `typed`. Cost in nats: -ln of how likely the slip is.
struct TConfusion {
  std::string_view typed;
  std::string_view intended;
  double cost;
  TSlipPlace place;
};

// The costs of the slips anyone makes at a keyboard, in nats.
struct TEditCosts {
  double omitted;           // a letter left out
  double swapped;           // two neighbours typed in the wrong order
  double doubled;           // a letter typed twice
  double extra_neighbour;   // an extra letter from a key beside its neighbour's
  double extra;             // any other extra letter
  double wrong_neighbour;   // a letter replaced by one from a neighbouring key
  double wrong_vowel;       // a vowel replaced by another vowel
  double wrong;             // any other wrong letter
  double per_further_edit;  // each edit beyond the first, for the dictionaries' far suggestions
};

extern const TEditCosts kEditCosts;

// The Ndebele confusions, in the order of the table.
std::span<const TConfusion> Confusions();

// Calls add with every word one slip away from typed (the single edits over
// a to z and the confusions) and the cost of that slip; a word reached in
// several ways comes once per way. A word in capitals, or with only its
// first letter a capital, keeps that shape.
void ForEachSlipCorrection(std::string_view typed, const std::function<void(const std::string&, double)>& add);

}  // namespace tovuri
