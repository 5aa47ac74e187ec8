#include "spell/ox3PhoneticsMap.h"

#include <algorithm>

#include "common/ansi_case.h"

namespace tovuri {

namespace {

struct PhoneticRule {
  std::string_view source;
  std::string_view destination;
  int consume;
};

// Applied in this order; a later rule with the same source would win.
constexpr PhoneticRule kEnglishRules[] = {
    {"b", "b", 1},   {"cia", "x", 1}, {"ch", "x", 2},  {"ci", "s", 1},  {"ce", "s", 1},
    {"cy", "s", 1},  {"c", "k", 1},   {"dge", "j", 2}, {"dgy", "j", 2}, {"dgi", "j", 2},
    {"d", "t", 1},   {"f", "f", 1},
    {"gha", "k", 2}, {"ghe", "k", 2}, {"ghi", "k", 2}, {"gho", "k", 2}, {"ghu", "k", 2},
    {"ghy", "k", 2}, {"gh", "", 2},   {"gn", "n", 2},  {"gi", "j", 1},  {"ge", "j", 1},
    {"gy", "j", 1},  {"g", "k", 1},
    {"h", "h", 1},
    {"aha", "h", 2}, {"ahe", "h", 2}, {"ahi", "h", 2}, {"aho", "h", 2}, {"ahu", "h", 2},
    {"eha", "h", 2}, {"ehe", "h", 2}, {"ehi", "h", 2}, {"eho", "h", 2}, {"ehu", "h", 2},
    {"iha", "h", 2}, {"ihe", "h", 2}, {"ihi", "h", 2}, {"iho", "h", 2}, {"ihu", "h", 2},
    {"oha", "h", 2}, {"ohe", "h", 2}, {"ohi", "h", 2}, {"oho", "h", 2}, {"ohu", "h", 2},
    {"uha", "h", 2}, {"uhe", "h", 2}, {"uhi", "h", 2}, {"uho", "h", 2}, {"uhu", "h", 2},
    {"ah", "", 2},   {"eh", "", 2},   {"ih", "", 2},   {"oh", "", 2},   {"uh", "", 2},
    {"j", "j", 1},   {"ck", "k", 2},  {"k", "k", 1},   {"l", "l", 1},   {"m", "m", 1},
    {"n", "n", 1},   {"ph", "f", 2},  {"p", "p", 1},   {"q", "k", 1},   {"r", "r", 1},
    {"sh", "x", 2},  {"sio", "x", 1}, {"sia", "x", 1}, {"s", "s", 1},   {"tia", "x", 1},
    {"tio", "x", 1}, {"th", "0", 2},  {"tch", "x", 3}, {"t", "t", 1},   {"v", "f", 1},
    {"wa", "w", 1},  {"we", "w", 1},  {"wi", "w", 1},  {"wo", "w", 1},  {"wu", "w", 1},
    {"wy", "w", 1},  {"x", "ks", 1},  {"ya", "y", 1},  {"ye", "y", 1},  {"yi", "y", 1},
    {"yo", "y", 1},  {"yu", "y", 1},  {"yy", "y", 2},  {"z", "s", 1},
};

// Windows-1251 bytes. Softened consonants carry the soft sign (0xFC); voiced
// consonants fall together with their voiceless partners.
constexpr PhoneticRule kRussianRules[] = {
    {"\xE1", "\xE1\xFC", 1},      // б
    {"\xE2", "\xE2\xFC", 1},      // в
    {"\xE3", "\xE3\xFC", 1},      // г
    {"\xEB", "\xEB\xFC", 1},      // л
    {"\xEC", "\xEC\xFC", 1},      // м
    {"\xED", "\xED\xFC", 1},      // н
    {"\xEF", "\xEF\xFC", 1},      // п
    {"\xF0", "\xF0\xFC", 1},      // р
    {"\xF1", "\xF1\xFC", 1},      // с
    {"\xF2", "\xF2\xFC", 1},      // т
    {"\xE4", "\xF2", 1},          // д -> т
    {"\xE7", "\xF1", 1},          // з -> с
    {"\xEA", "\xE3", 1},          // к -> г
    {"\xE6", "\xF8", 1},          // ж -> ш
    {"\xEE", "\xE0", 1},          // о -> а
    {"\xF9", "\xF8\xFC", 1},      // щ -> шь
    {"\xEE\xF0\xEE", "\xEE\xF0\xE0", 3},  // оро -> ора
    {"\xEE\xEB\xEE", "\xEE\xEB\xE0", 3},  // оло -> ола
    {"\xED\xED", "\xED", 2},      // нн -> н
    {"\xF1\xF1", "\xF1", 2},      // сс -> с
    {"\xE5\xE5", "\xE5", 2},      // ее -> е
    {"\xE6\xE8", "\xE6\xFB", 2},  // жи -> жы
    {"\xF8\xE8", "\xF8\xFB", 2},  // ши -> шы
    {"\xF9\xF3", "\xF8\xFE", 2},  // щу -> шю
    {"\xF1\xF7", "\xF9", 2},      // сч -> щ
    {"\xF1\xF8", "\xF8", 1},      // сш -> ш
};

// Consonant classes only; vowels and h, w, y produce nothing.
constexpr PhoneticRule kDefaultRules[] = {
    {"b", "b", 1}, {"f", "b", 1}, {"p", "b", 1}, {"v", "b", 1},
    {"c", "k", 1}, {"g", "k", 1}, {"j", "k", 1}, {"k", "k", 1},
    {"q", "k", 1}, {"s", "k", 1}, {"x", "k", 1}, {"z", "k", 1},
    {"d", "d", 1}, {"t", "d", 1}, {"l", "l", 1}, {"m", "m", 1},
    {"n", "m", 1}, {"r", "r", 1},
};

constexpr int kEnglishLanguage = 9;
constexpr int kRussianLanguage = 25;

}  // namespace

bool TReplaceNode::Match(std::string_view text, size_t pos, std::string_view& destination,
                         int& consume) const {
  bool found = false;
  const TReplaceNode* node = this;
  for (size_t i = pos; i < text.size() && node->HasChildren_; ++i) {
    node = node->Children_[static_cast<unsigned char>(text[i])].get();
    if (node == nullptr) break;
    if (node->IsDestination_) {
      destination = node->Destination_;
      consume = node->Consume_;
      found = true;
    }
  }
  return found;
}

void TReplaceNode::ClearRules() {
  for (auto& child : Children_) child.reset();
  HasChildren_ = false;
  IsDestination_ = false;
  Destination_.clear();
  Consume_ = 0;
}

void TReplaceNode::AddRule(std::string_view source, std::string_view destination, int consume) {
  // A rule without a source would match everywhere without consuming anything.
  if (source.empty()) return;
  TReplaceNode* node = this;
  for (char c : source) {
    auto& child = node->Children_[static_cast<unsigned char>(c)];
    if (!child) child = std::make_unique<TReplaceNode>();
    node->HasChildren_ = true;
    node = child.get();
  }
  node->IsDestination_ = true;
  node->Destination_ = destination;
  // Encoding must always move forward.
  node->Consume_ = consume < 1 ? 1 : consume;
}

void TPhoneticsMap::UseLanguageRules(int language) {
  if (language == Language_) return;
  ClearRules();
  Language_ = language;
  auto add = [this](const auto& rules) {
    for (const PhoneticRule& rule : rules) AddRule(rule.source, rule.destination, rule.consume);
  };
  switch (language & 0xFF) {
    case kEnglishLanguage:
      add(kEnglishRules);
      break;
    case kRussianLanguage:
      add(kRussianRules);
      break;
    default:
      add(kDefaultRules);
      break;
  }
}

void TPhoneticsMap::SetStartDepth(int depth) {
  if (depth > 0) StartDepth_ = depth;
}

std::string TPhoneticsMap::Encode(std::string_view word) const {
  const std::string text = AnsiLowerCase(word);
  const size_t start = std::min(text.size(), static_cast<size_t>(StartDepth_));
  std::string code = text.substr(0, start);
  int budget = Limit;
  size_t pos = start;
  while (pos < text.size()) {
    std::string_view destination;
    int consume = 0;
    if (!Match(text, pos, destination, consume)) {
      ++pos;
      continue;
    }
    const bool repeats = RemoveDupes && consume == 1 && !code.empty() && !destination.empty() &&
                         code.back() == destination.front();
    if (!repeats) {
      code += destination;
      budget -= static_cast<int>(destination.size());
      if (budget <= 0) break;
    }
    pos += static_cast<size_t>(consume);
  }
  return code;
}

bool TPhoneticsMap::IsCloseEnough(std::string_view word, int distance) const {
  // A divisor below 1 (a configuration value) would divide by zero; it counts as 1.
  const int divisor = DistanceDivisor < 1 ? 1 : DistanceDivisor;
  return distance <= static_cast<int>(word.size()) / divisor && distance <= DistanceMax;
}

}  // namespace tovuri
