#include "analyser/morpheme_ops.h"

#include <algorithm>

#include "analyser/concord_tables.h"
#include "analyser/lexicon.h"
#include "analyser/text_case.h"

namespace tovuri {
namespace {

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

// The stem's end palatalised before the locative endings of "o" and "u":
// the letters replaced, and what replaces them. First match wins.
struct LocativePalatal {
  std::string_view ending;
  std::string_view replacement;
};
constexpr LocativePalatal kLocativePalatals[] = {
    {"mb", "nj"}, {"ph", "tsh"}, {"bh", "j"}, {"b", "tsh"}, {"p", "tsh"}, {"m", "ny"},
};

}  // namespace

bool IsVowel(char c) {
  switch (c) {
    case 'a': case 'e': case 'i': case 'o': case 'u':
    case 'A': case 'E': case 'I': case 'O': case 'U':
      return true;
    default:
      return false;
  }
}

std::string_view LastChars(std::string_view s, size_t n) {
  return n >= s.size() ? s : s.substr(s.size() - n);
}

std::string_view DropLastChars(std::string_view s, size_t n) {
  return n > s.size() ? s : s.substr(0, s.size() - n);
}

// Each search resumes after the previous match, so overlapping matches are
// not seen: "aa" in "aaa" is at 1, not 2.
size_t LastPos(std::string_view sub, std::string_view s) {
  if (sub.empty()) return 0;
  size_t last = std::string_view::npos;
  for (size_t at = s.find(sub); at != std::string_view::npos; at = s.find(sub, at + sub.size()))
    last = at;
  return last == std::string_view::npos ? 0 : last + 1;
}

int CountVowels(std::string_view s) {
  return static_cast<int>(std::count_if(s.begin(), s.end(), IsVowel));
}

std::string KuBeforeVowel(std::string_view s) {
  if (s.empty()) return "";
  const char first = FoldCase(s[0]);
  if (first == 'a' || first == 'e') return "kw";
  if (first == 'o') return "k";
  return "";
}

std::string GlideVowel(std::string_view v) {
  if (v == "u") return "wu";
  if (v == "i") return "yi";
  if (v == "a") return "wa";
  return std::string(v);
}

// An empty second is joined like one that starts with a consonant: the vowel
// rules need its first letter, so first comes back as it is (bar a doubled "w").
std::string JoinWithGlide(std::string_view first, std::string_view second) {
  std::string r(first);
  if (!second.empty() && IsVowel(second[0])) {
    if (first == "u") {
      r.assign(1, 'w');
    } else if (EndsWith(first, "u")) {
      r.back() = 'w';
      if (EndsWith(r, "bw")) r.pop_back();
      if (second[0] == 'o' && EndsWith(r, "w")) r.pop_back();
    } else if (first == "i") {
      r.assign(1, 'y');
    } else if (!first.empty() && IsVowel(first.back())) {
      r.pop_back();
    }
  }
  if (EndsWith(r, "ww")) r.pop_back();
  const bool raises_a = second == "m" || second == "mb" || second == "z" || second == "zw" ||
                        second == "zwakal";
  if (raises_a && EndsWith(r, "a")) r.back() = 'e';
  r += second;
  return r;
}

// An empty stem has no first sound to adapt to and gets the plain "uku".
std::string InfinitivePrefix(std::string_view stem) {
  if (stem.empty() || !IsVowel(stem[0])) return "uku";
  return stem[0] == 'o' ? "uk" : "ukw";
}

std::string PassiveStem(std::string_view stem) { return PassiveStem(stem, TheLexicon()); }

std::string PassiveStem(std::string_view stem, const Lexicon& lexicon) {
  std::string result(stem);
  const int vowels = CountVowels(stem);
  bool palatalisable = vowels >= 2 || (vowels >= 1 && !IsVowel(stem[0]));
  if (const std::string* form = lexicon.FindPassiveForm(stem)) {
    palatalisable = false;
    if (!form->empty()) result = *form;
  }
  if (!palatalisable) return result;

  // p is the first vowel from the second letter on, but never past the
  // next-to-last letter.
  size_t p = 1;
  while (p + 1 < stem.size() - 1 && !IsVowel(stem[p])) ++p;
  const std::string_view tail = stem.substr(std::min(p, stem.size()));
  if (tail.find_first_of("bmp") == std::string_view::npos) return result;

  // A later table entry wins over an earlier one, whatever their positions.
  size_t chosen = PalatalSources.size();
  size_t chosen_pos = 0;
  for (size_t i = 0; i < PalatalSources.size(); ++i) {
    if (const size_t pos = LastPos(PalatalSources[i], stem)) {
      chosen = i;
      chosen_pos = pos;
    }
  }
  if (chosen == PalatalSources.size()) return result;
  result.replace(chosen_pos - 1, PalatalSources[chosen].size(), PalatalReplacements[chosen]);
  return result;
}

std::string LocativeBody(std::string_view stem, std::string_view final) {
  std::string suffix;
  if (final == "a" || final == "e") suffix = "eni";
  else if (final == "i") suffix = "ini";
  else if (final == "o") suffix = "weni";
  else if (final == "u") suffix = "wini";

  std::string body(stem);
  if (final == "o" || final == "u") {
    for (const LocativePalatal& rule : kLocativePalatals) {
      if (EndsWith(body, rule.ending)) {
        body.resize(body.size() - rule.ending.size());
        suffix = std::string(rule.replacement) + suffix;
        break;
      }
    }
  }
  body += suffix;
  if (const size_t ww = body.find("ww"); ww != std::string::npos) body.erase(ww, 1);
  return body;
}

}  // namespace tovuri
