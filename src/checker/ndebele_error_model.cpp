#include "checker/ndebele_error_model.h"

#include <algorithm>
#include <array>

#include "common/ansi_case.h"

namespace tovuri {

// A slip that any typist makes; the Ndebele confusions below are cheaper
// where they name the same change. Costs are -ln of the slip's share: a left
// out letter or two swapped neighbours need no letter chosen from the
// alphabet, so they are the likeliest single slips.
const TEditCosts kEditCosts{
    .omitted = 2.0,
    .swapped = 2.0,
    .doubled = 3.0,
    .extra_neighbour = 3.5,
    .extra = 5.0,
    .wrong_neighbour = 3.5,
    .wrong_vowel = 4.0,
    .wrong = 5.0,
    .per_further_edit = 4.0,
};

namespace {

using enum TSlipPlace;

// typed, intended, cost, place: where the writer meant the second, the word has the first.
constexpr TConfusion kConfusions[] = {
    // A missing or extra "h" in the aspirated consonants and the digraphs.
    {"t", "th", 1.8, spAnywhere},   {"th", "t", 2.0, spAnywhere},
    {"k", "kh", 1.8, spAnywhere},   {"kh", "k", 2.0, spAnywhere},
    {"p", "ph", 1.8, spAnywhere},   {"ph", "p", 2.0, spAnywhere},
    {"b", "bh", 1.8, spAnywhere},   {"bh", "b", 2.0, spAnywhere},
    {"s", "sh", 1.8, spAnywhere},   {"sh", "s", 2.0, spAnywhere},
    {"l", "hl", 1.8, spAnywhere},   {"hl", "l", 2.0, spAnywhere},
    {"c", "ch", 2.0, spAnywhere},   {"ch", "c", 2.0, spAnywhere},
    {"q", "qh", 2.0, spAnywhere},   {"qh", "q", 2.0, spAnywhere},
    {"x", "xh", 2.0, spAnywhere},   {"xh", "x", 2.0, spAnywhere},
    // "tsh", "sh" and "ch" for the same sounds.
    {"sh", "tsh", 1.8, spAnywhere}, {"tsh", "sh", 2.0, spAnywhere},
    {"ch", "tsh", 2.2, spAnywhere}, {"tsh", "ch", 2.2, spAnywhere},
    {"ch", "sh", 2.5, spAnywhere},  {"sh", "ch", 2.5, spAnywhere},
    // The lateral fricatives.
    {"dl", "hl", 2.0, spAnywhere},  {"hl", "dl", 2.0, spAnywhere},
    // The clicks and their voiced and nasal forms.
    {"c", "q", 2.5, spAnywhere},    {"q", "c", 2.5, spAnywhere},
    {"c", "x", 2.5, spAnywhere},    {"x", "c", 2.5, spAnywhere},
    {"q", "x", 2.5, spAnywhere},    {"x", "q", 2.5, spAnywhere},
    {"gc", "c", 2.5, spAnywhere},   {"gq", "q", 2.5, spAnywhere},
    {"gx", "x", 2.5, spAnywhere},   {"nc", "c", 3.0, spAnywhere},
    {"nq", "q", 3.0, spAnywhere},   {"nx", "x", 3.0, spAnywhere},
    // Doubled vowels.
    {"aa", "a", 1.5, spAnywhere},   {"ee", "e", 1.5, spAnywhere},
    {"ii", "i", 1.5, spAnywhere},   {"oo", "o", 1.5, spAnywhere},
    {"uu", "u", 1.5, spAnywhere},
    // The glides w and y that join vowels: left out, added, or mixed up.
    {"ua", "uwa", 1.5, spAnywhere}, {"uwa", "ua", 2.0, spAnywhere},
    {"oa", "owa", 1.5, spAnywhere}, {"owa", "oa", 2.0, spAnywhere},
    {"ue", "uwe", 1.5, spAnywhere}, {"uwe", "ue", 2.0, spAnywhere},
    {"uo", "uwo", 1.5, spAnywhere}, {"uwo", "uo", 2.0, spAnywhere},
    {"ia", "iya", 1.5, spAnywhere}, {"iya", "ia", 2.0, spAnywhere},
    {"ea", "eya", 1.5, spAnywhere}, {"eya", "ea", 2.0, spAnywhere},
    {"ie", "iye", 1.5, spAnywhere}, {"iye", "ie", 2.0, spAnywhere},
    {"io", "iyo", 1.5, spAnywhere}, {"iyo", "io", 2.0, spAnywhere},
    {"eo", "eyo", 1.5, spAnywhere}, {"eyo", "eo", 2.0, spAnywhere},
    {"iwa", "iya", 2.5, spAnywhere}, {"uya", "uwa", 2.5, spAnywhere},
    // l after a nasal becomes d.
    {"nl", "nd", 2.5, spAnywhere},  {"nd", "nl", 3.0, spAnywhere},
    // The final vowels and the relative suffix.
    {"a", "e", 3.0, spWordEnd},     {"e", "a", 3.0, spWordEnd},
    {"a", "o", 3.0, spWordEnd},     {"o", "a", 3.0, spWordEnd},
    {"e", "i", 3.0, spWordEnd},     {"i", "e", 3.0, spWordEnd},
    {"o", "u", 3.0, spWordEnd},     {"u", "o", 3.0, spWordEnd},
    {"i", "a", 3.5, spWordEnd},     {"a", "i", 3.5, spWordEnd},
    {"a", "ayo", 3.0, spWordEnd},   {"ayo", "a", 3.0, spWordEnd},
    {"e", "eyo", 3.0, spWordEnd},   {"eyo", "e", 3.0, spWordEnd},
};

// The letter keys around each key of a QWERTY keyboard.
constexpr std::array<std::string_view, 26> kKeyNeighbours = {
    "qwsz",   "vghn",  "xdfv",   "serfcx", "wsdr",  "drtgvc", "ftyhbv", "gyujnb", "ujko",
    "huikmn", "jiolm", "kop",    "njk",    "bhjm",  "iklp",   "ol",     "wa",     "edft",
    "awedxz", "rfgy",  "yhji",   "cfgb",   "qase",  "zsdc",   "tghu",   "asx"};

bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

bool AreKeyNeighbours(char a, char b) {
  if (a < 'a' || a > 'z' || b < 'a' || b > 'z') return false;
  return kKeyNeighbours[static_cast<size_t>(a - 'a')].find(b) != std::string_view::npos;
}

// What an extra letter at i of w probably was.
double ExtraLetterCost(std::string_view w, size_t i) {
  const char c = w[i];
  const char before = i > 0 ? w[i - 1] : '\0';
  const char after = i + 1 < w.size() ? w[i + 1] : '\0';
  if (c == before || c == after) return kEditCosts.doubled;
  if (AreKeyNeighbours(c, before) || AreKeyNeighbours(c, after)) return kEditCosts.extra_neighbour;
  return kEditCosts.extra;
}

double WrongLetterCost(char typed, char intended) {
  if (AreKeyNeighbours(typed, intended)) return kEditCosts.wrong_neighbour;
  if (IsVowel(typed) && IsVowel(intended)) return kEditCosts.wrong_vowel;
  return kEditCosts.wrong;
}

// The word's case shape, so that corrections are made in small letters and
// given the same shape back.
enum class TShape : unsigned char { shAsTyped, shCapitalised, shCapitals };

TShape ShapeOf(std::string_view word) {
  const bool capitals = std::all_of(word.begin(), word.end(), [](char c) { return AnsiUpperChar(c) == c; });
  if (capitals && word.size() > 1) return TShape::shCapitals;
  const bool rest_lower =
      std::all_of(word.begin() + 1, word.end(), [](char c) { return AnsiLowerChar(c) == c; });
  if (AnsiLowerChar(word.front()) != word.front() && rest_lower) return TShape::shCapitalised;
  return TShape::shAsTyped;
}

}  // namespace

std::span<const TConfusion> Confusions() { return kConfusions; }

void ForEachSlipCorrection(std::string_view typed, const std::function<void(const std::string&, double)>& add) {
  if (typed.empty()) return;
  const TShape shape = ShapeOf(typed);
  const std::string w = shape == TShape::shAsTyped ? std::string(typed) : AnsiLowerCase(typed);
  std::string candidate;
  auto emit = [&](double cost) {
    if (shape == TShape::shCapitals) {
      candidate = AnsiUpperCase(candidate);
    } else if (shape == TShape::shCapitalised && !candidate.empty()) {
      candidate[0] = AnsiUpperChar(candidate[0]);
    }
    add(candidate, cost);
  };
  const size_t n = w.size();
  for (size_t p = 0; p <= n; ++p) {
    for (char c = 'a'; c <= 'z'; ++c) {
      candidate.assign(w, 0, p);
      candidate += c;
      candidate.append(w, p);
      emit(kEditCosts.omitted);
    }
  }
  for (size_t i = 0; i < n; ++i) {
    candidate.assign(w, 0, i);
    candidate.append(w, i + 1);
    emit(ExtraLetterCost(w, i));
  }
  for (size_t i = 0; i < n; ++i) {
    for (char c = 'a'; c <= 'z'; ++c) {
      if (c == w[i]) continue;
      candidate.assign(w);
      candidate[i] = c;
      emit(WrongLetterCost(w[i], c));
    }
  }
  for (size_t i = 0; i + 1 < n; ++i) {
    if (w[i] == w[i + 1]) continue;
    candidate.assign(w);
    std::swap(candidate[i], candidate[i + 1]);
    emit(kEditCosts.swapped);
  }
  for (const TConfusion& confusion : kConfusions) {
    const std::string_view from = confusion.typed;
    if (confusion.place == spWordEnd) {
      if (!std::string_view(w).ends_with(from)) continue;
      candidate.assign(w, 0, n - from.size());
      candidate.append(confusion.intended);
      emit(confusion.cost);
      continue;
    }
    for (size_t at = w.find(from); at != std::string::npos; at = w.find(from, at + 1)) {
      candidate.assign(w, 0, at);
      candidate.append(confusion.intended);
      candidate.append(w, at + from.size());
      emit(confusion.cost);
    }
  }
}

}  // namespace tovuri
