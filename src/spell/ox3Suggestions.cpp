#include "spell/ox3Suggestions.h"

#include <algorithm>
#include <array>
#include <utility>

#include "common/ansi_case.h"
#include "spell/ox3PhoneticsMap.h"

namespace tovuri {

namespace {

constexpr std::array<char, 67> MakeLowerCaseSet() {
  std::array<char, 67> set{};
  size_t n = 0;
  set[n++] = '\'';
  for (int c = 'a'; c <= 'z'; ++c) set[n++] = static_cast<char>(c);
  for (int c : {0xD7, 0xDE, 0xDF}) set[n++] = static_cast<char>(c);
  for (int c = 0xE0; c <= 0xFF; ++c) set[n++] = static_cast<char>(c);
  for (int c : {0xB8, 0xA8, 0xB9, 0xB3, 0xBF}) set[n++] = static_cast<char>(c);
  return set;
}

constexpr std::array<char, 122> MakeFullSet() {
  std::array<char, 122> set{};
  size_t n = 0;
  set[n++] = '\'';
  for (int c = 'a'; c <= 'z'; ++c) set[n++] = static_cast<char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) set[n++] = static_cast<char>(c);
  for (int c = 0xC0; c <= 0xFF; ++c) set[n++] = static_cast<char>(c);
  for (int c : {0xB8, 0xA8, 0xB9, 0xB3, 0xBF}) set[n++] = static_cast<char>(c);
  return set;
}

constexpr std::array<char, 67> kLowerCaseSet = MakeLowerCaseSet();
constexpr std::array<char, 122> kFullSet = MakeFullSet();

// Letters outside the fixed sets that a language's words may start with.
constexpr std::string_view kCzechLetters =
    "\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3\xF8\x9A\x9D\xFA\xF9\xFD\x9E"
    "\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D\xDA\xD9\xDD\x8E";
constexpr std::string_view kFrenchLetters = "\x9C";
constexpr std::string_view kRussianLetters = "\xB2\xA2\xB1\xA1\xBC\xAC\xB6\xA6";

constexpr int kCzech = 1029;
constexpr int kFrench = 1036;
constexpr int kRussian = 1049;
constexpr int kSwedish = 1053;

constexpr int kEnglishLowByte = 9;
// Fewer suggestions than this under the English map try the default rules too.
constexpr size_t kFallbackBelow = 20;
// Longer words are scored by length alone.
constexpr size_t kMaxScoredLength = 254;

bool IsAllLower(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return AnsiLowerChar(c) == c; });
}

bool IsAllUpper(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return AnsiUpperChar(c) == c; });
}

bool Contains(const std::vector<std::string>& list, std::string_view s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}

// One Generate pass over one word; each Try answers True once the list is full.
class GenerationRun {
 public:
  GenerationRun(std::string_view word, size_t max, std::string_view start_set,
                const TWordExistsCallback& exists, std::vector<std::string>& list)
      : word_(word),
        max_(max),
        start_set_(start_set),
        // A word with capitals may well need capitals elsewhere too.
        usage_set_(IsAllLower(word) ? std::string_view(kLowerCaseSet.data(), kLowerCaseSet.size())
                                    : std::string_view(kFullSet.data(), kFullSet.size())),
        word_lower_(IsAllLower(word)),
        exists_(exists),
        list_(list) {}

  bool TrySwap(size_t distance) {
    if (word_.size() <= distance + 1) return false;
    for (size_t i = word_.size() - distance; i-- > 0;) {
      candidate_.assign(word_);
      std::swap(candidate_[i], candidate_[i + distance]);
      if (Consider()) return true;
    }
    return false;
  }

  bool TryInsert() {
    for (size_t p = word_.size(); p >= 1; --p) {
      for (char c : usage_set_) {
        candidate_.assign(word_.substr(0, p));
        candidate_ += c;
        candidate_.append(word_.substr(p));
        if (Consider()) return true;
      }
    }
    for (char c : start_set_) {
      candidate_.assign(1, c);
      candidate_.append(word_);
      if (Consider()) return true;
    }
    return false;
  }

  bool TryDelete() {
    for (size_t i = word_.size(); i-- > 0;) {
      candidate_.assign(word_.substr(0, i));
      candidate_.append(word_.substr(i + 1));
      if (Consider()) return true;
    }
    return false;
  }

  bool TryReplace() {
    candidate_.assign(word_);
    for (size_t i = word_.size(); i-- > 1;) {
      for (char c : usage_set_) {
        candidate_[i] = c;
        if (Consider()) return true;
      }
      candidate_[i] = word_[i];
    }
    if (word_.empty()) return false;
    for (char c : start_set_) {
      candidate_[0] = c;
      if (Consider()) return true;
    }
    return false;
  }

  bool TrySplit() {
    const size_t n = word_.size();
    if (n < 4) return false;
    for (size_t a = 2; a <= n - 2; ++a) {
      first_.assign(word_.substr(0, a));
      rest_.assign(word_.substr(a));
      if (exists_(first_) && exists_(rest_)) {
        if (IsFull()) return true;
        list_.push_back(first_ + ' ' + rest_);
      }
    }
    // "end.The": a sentence glued to the next one.
    const size_t period = word_.find('.');
    if (period == std::string_view::npos || period + 1 >= n ||
        word_.find('.', period + 1) != std::string_view::npos ||
        AnsiUpperChar(word_[period + 1]) != word_[period + 1]) {
      return false;
    }
    first_.assign(word_.substr(0, period));
    rest_.assign(word_.substr(period + 1));
    if (exists_(first_) && exists_(rest_)) {
      if (IsFull()) return true;
      std::string joined(word_.substr(0, period + 1));
      joined += "  ";
      joined.append(rest_);
      list_.push_back(std::move(joined));
    }
    return false;
  }

 private:
  bool IsFull() const { return list_.size() > max_; }

  // Decides on candidate_; True when the list is already full.
  bool Consider() {
    if (candidate_.size() < 2 || !exists_(candidate_)) return false;
    if (IsFull()) return true;
    if (!IsAllLower(candidate_)) {
      // The typed word had no capitals: a capitalised variant of a known
      // small-letter word is no correction.
      if (word_lower_ && exists_(AnsiLowerCase(candidate_))) return false;
      const std::string_view tail = std::string_view(candidate_).substr(1);
      if (!IsAllLower(tail) && !IsAllUpper(tail)) return false;
    }
    if (!Contains(list_, candidate_)) list_.push_back(candidate_);
    return false;
  }

  std::string_view word_;
  size_t max_;
  std::string_view start_set_;
  std::string_view usage_set_;
  bool word_lower_;
  const TWordExistsCallback& exists_;
  std::vector<std::string>& list_;
  std::string candidate_, first_, rest_;
};

struct ScoredWord {
  std::string word;
  int score;
};

}  // namespace

std::string_view LowerCaseCharSet() { return {kLowerCaseSet.data(), kLowerCaseSet.size()}; }
std::string_view FullCharSet() { return {kFullSet.data(), kFullSet.size()}; }

TSuggestionsGenerator::TSuggestionsGenerator() : StartCharSet_(FullCharSet()) {}

void TSuggestionsGenerator::SetLanguage(int language) {
  if (language == Language_) return;
  Language_ = language;
  if (UseDefaultTypes_) UseDefaults();
  // Built afresh, so that a language's letters leave with it; letters the
  // full set already has would only repeat look-ups.
  StartCharSet_.assign(FullCharSet());
  std::string_view extra;
  if (language == kCzech) extra = kCzechLetters;
  if (language == kFrench) extra = kFrenchLetters;
  if (language == kRussian) extra = kRussianLetters;
  for (char c : extra)
    if (StartCharSet_.find(c) == std::string::npos) StartCharSet_ += c;
}

void TSuggestionsGenerator::UseDefaults() {
  UseDefaultTypes_ = true;
  SuggestionTypes_ = Language_ == kSwedish ? kAllTypes & ~static_cast<unsigned>(TSuggestionType::stSplit)
                                           : kAllTypes;
}

void TSuggestionsGenerator::SetTypes(TSuggestionTypes types) {
  UseDefaultTypes_ = false;
  SuggestionTypes_ = types & kAllTypes;
}

void TSuggestionsGenerator::Generate(std::string_view word, int max,
                                     const TWordExistsCallback& exists,
                                     std::vector<std::string>& list) const {
  // Any negative max means no limit, as it does for MaxSuggestions.
  if (max < 0) max = kNoLimit;
  if (!exists || word.empty() || max <= 0 || word.size() > kMaxWordLength) return;
  GenerationRun run(word, static_cast<size_t>(max), StartCharSet_, exists, list);
  const TSuggestionTypes types = SuggestionTypes_;
  using enum TSuggestionType;
  if (HasType(types, stSwap) && run.TrySwap(1)) return;
  if (HasType(types, stInsert) && run.TryInsert()) return;
  if (HasType(types, stDelete) && run.TryDelete()) return;
  if (HasType(types, stReplace) && run.TryReplace()) return;
  if (HasType(types, stSwap) && run.TrySwap(2)) return;
  if (HasType(types, stSplit)) run.TrySplit();
}

void TSuggestionsGenerator::GenerateWithCase(std::string_view word, int max,
                                             const TWordExistsCallback& exists,
                                             std::vector<std::string>& list) const {
  Generate(word, max, exists, list);
  if (IsAllUpper(word) || IsAllLower(word)) return;
  const char first = word.front();
  if (AnsiUpperChar(first) != first) {
    Generate(AnsiLowerCase(word), max, exists, list);
  } else {
    std::string capitalised(1, first);
    capitalised += AnsiLowerCase(word.substr(1));
    Generate(capitalised, max, exists, list);
  }
}

bool WordExistsForSuggestions(std::string_view candidate, TSuggestionSources& sources,
                              TSpellOptions options) {
  const bool primary_only = options.Has(TSpellOption::soPrimaryOnly);
  auto in_dictionaries = [&](std::string_view w) {
    return primary_only ? sources.WordInMainDictionaries(w) : sources.WordInDictionaries(w);
  };
  if (in_dictionaries(candidate)) return true;
  // Most candidates have no capitals; they need no second look-up.
  if (!IsAllLower(candidate) && in_dictionaries(AnsiLowerCase(candidate))) return true;
  return sources.HasEnglishMain() && sources.IsPossessiveOfKnownWord(candidate);
}

int SuggestionDistance(std::string_view a, std::string_view b) {
  if (a.size() > kMaxScoredLength || b.size() > kMaxScoredLength)
    return static_cast<int>(std::max(a.size(), b.size()));
  std::array<int, kMaxScoredLength + 1> row{};
  for (size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
  for (size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (size_t j = 1; j <= b.size(); ++j) {
      const int above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  int distance = row[b.size()];
  const size_t shorter = std::min(a.size(), b.size());
  for (size_t c = 1; c < shorter; ++c) {
    if (a[c] == b[c - 1] && a[c - 1] == b[c] && a[c] != a[c - 1] && distance > 0) {
      --distance;
      ++c;
    }
  }
  return distance;
}

void BuildSuggestions(std::string_view word, int max, std::vector<std::string>& target,
                      TSuggestionSources& sources, const TSuggestionsGenerator& generator,
                      TPhoneticsMap& map, const TSuggestionSettings& settings) {
  std::string replacement;
  if (sources.FindMapping(word, replacement)) {
    target.assign(1, replacement);
    return;
  }

  std::vector<std::string> list;
  const TWordExistsCallback exists = [&](const std::string& candidate) {
    return WordExistsForSuggestions(candidate, sources, settings.Options);
  };
  generator.GenerateWithCase(word, max, exists, list);
  const size_t edit_count = list.size();

  if (settings.PhoneticSuggestions && sources.HasMainDictionary()) {
    auto load_rules = [&](int language) {
      map.UseLanguageRules(language);
      if (settings.OnAdjustPhoneticsMap) settings.OnAdjustPhoneticsMap(map);
    };
    if (sources.PrimaryLanguage() != map.Language()) load_rules(sources.PrimaryLanguage());
    sources.EnumeratePhonetic(word, map, list);
    if ((map.Language() & 0xFF) == kEnglishLowByte && list.size() < kFallbackBelow &&
        settings.FallbackToDefaultMap) {
      load_rules(0);
      sources.EnumeratePhonetic(word, map, list);
    }
  }

  std::vector<ScoredWord> scored;
  scored.reserve(list.size() + 1);
  for (size_t i = 0; i < list.size(); ++i) {
    const int score = SuggestionDistance(word, list[i]);
    // Sound-alikes that are too far from what was typed are noise.
    if (i >= edit_count && !map.IsCloseEnough(word, score)) continue;
    scored.push_back({std::move(list[i]), score});
  }

  if (sources.HasLearningDictionary()) {
    if (sources.FindLearntReplacement(word, replacement)) {
      auto known = std::find_if(scored.begin(), scored.end(),
                                [&](const ScoredWord& s) { return s.word == replacement; });
      if (known != scored.end())
        known->score = 0;
      else
        scored.insert(scored.begin(), {replacement, 0});
    }
    for (ScoredWord& s : scored) s.score = sources.IsLearntWord(s.word) ? 2 * s.score - 1 : 2 * s.score;
  }

  // This exchange sort is not stable; the order it leaves among equal scores
  // is part of the ranking users see.
  for (size_t j = 0; j + 1 < scored.size(); ++j)
    for (size_t c = j + 1; c < scored.size(); ++c)
      if (scored[c].score < scored[j].score) std::swap(scored[c], scored[j]);

  if (max >= 0 && scored.size() > static_cast<size_t>(max)) scored.resize(static_cast<size_t>(max));

  target.clear();
  target.reserve(scored.size());
  for (ScoredWord& s : scored) target.push_back(std::move(s.word));
}

namespace {

bool IsLetter(char c) { return AnsiUpperChar(c) != AnsiLowerChar(c); }

size_t CountLetters(std::string_view s) { return static_cast<size_t>(std::count_if(s.begin(), s.end(), IsLetter)); }

bool IsCapital(char c) { return IsLetter(c) && AnsiUpperChar(c) == c; }

}  // namespace

void ShapeSuggestionsLike(std::string_view word, std::vector<std::string>& list) {
  const auto first_letter = std::find_if(word.begin(), word.end(), IsLetter);
  if (first_letter == word.end() || !IsCapital(*first_letter)) return;
  const bool all_capitals = CountLetters(word) >= 2 && IsAllUpper(word);
  std::vector<std::string> shaped;
  shaped.reserve(list.size());
  for (std::string& suggestion : list) {
    if (all_capitals) {
      suggestion = AnsiUpperCase(suggestion);
    } else if (IsAllLower(suggestion) || (CountLetters(suggestion) >= 2 && IsAllUpper(suggestion))) {
      suggestion = AnsiLowerCase(suggestion);
      const auto first = std::find_if(suggestion.begin(), suggestion.end(), IsLetter);
      if (first != suggestion.end()) *first = AnsiUpperChar(*first);
    }
    if (!Contains(shaped, suggestion)) shaped.push_back(std::move(suggestion));
  }
  list = std::move(shaped);
}

}  // namespace tovuri
