#include "analyser/form_sink.h"

#include <algorithm>

#include "analyser/text_case.h"

namespace tovuri {
namespace {

bool IsAllCapitals(std::string_view word) {
  return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Compares the concatenation of pieces with text, byte for byte or folded.
template <typename Equal>
bool PiecesEqual(std::initializer_list<std::string_view> pieces, std::string_view text,
                 Equal equal) {
  size_t at = 0;
  for (std::string_view piece : pieces) {
    if (piece.size() > text.size() - at) return false;
    for (char c : piece)
      if (!equal(c, text[at++])) return false;
  }
  return at == text.size();
}

// The rules applied to one form equal to the word without regard to case.
bool Accepts(std::string& word, bool all_capitals, auto&& equals_exactly) {
  if (all_capitals) return true;
  if (equals_exactly(word)) return true;
  word[0] = FoldCase(word[0]);
  return equals_exactly(word);
}

}  // namespace

void FormList::Add(std::initializer_list<std::string_view> pieces) {
  size_t size = 0;
  for (std::string_view piece : pieces) size += piece.size();
  std::string form;
  form.reserve(size);
  for (std::string_view piece : pieces) form += piece;
  forms.push_back(std::move(form));
}

FormMatcher::FormMatcher(std::string_view word)
    : word_(word), original_(word), all_capitals_(IsAllCapitals(word)) {}

void FormMatcher::Reset() {
  word_ = original_;
  done_ = false;
}

void FormMatcher::Add(std::initializer_list<std::string_view> pieces) {
  if (done_) return;
  const auto folded = [](char a, char b) { return FoldCase(a) == FoldCase(b); };
  if (!PiecesEqual(pieces, word_, folded)) return;
  const auto exact = [&](const std::string& w) {
    return PiecesEqual(pieces, w, [](char a, char b) { return a == b; });
  };
  done_ = Accepts(word_, all_capitals_, exact);
}

bool FindInForms(std::string_view word_in, std::vector<std::string>& forms, bool consume) {
  std::string word(word_in);
  const bool all_capitals = IsAllCapitals(word);
  bool found = false;
  auto it = std::find_if(forms.begin(), forms.end(),
                         [&](const std::string& f) { return EqualsIgnoringCase(f, word); });
  while (it != forms.end()) {
    const std::string form = *it;
    if (consume) it = forms.erase(it);
    if (Accepts(word, all_capitals, [&](const std::string& w) { return w == form; }))
      found = true;
    if (!consume) break;
    it = std::find_if(it, forms.end(),
                      [&](const std::string& f) { return EqualsIgnoringCase(f, word); });
  }
  return found;
}

}  // namespace tovuri
