#include "analyser/name_prefixes.h"

#include <algorithm>
#include <set>

#include "analyser/lexicon.h"
#include "analyser/noun_forms.h"
#include "common/ansi_case.h"

namespace tovuri {
namespace {

// A model name that no head can contain: what stands before it in a
// generated form is a head.
constexpr std::string_view kModelStem = "Qq";
constexpr std::string_view kModelFinal = "q";
// Names are shorter than this only as initials, which a prefix does not take.
constexpr size_t kMinNameLength = 2;

bool IsLowerCaseHead(std::string_view head) {
  return !head.empty() &&
         std::all_of(head.begin(), head.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// Every head before the model name in the forms of one entry.
void CollectHeads(std::string_view tag, std::string_view prefix, std::set<std::string>& heads) {
  FormList forms;
  const Lexicon none;  // no entry's own locatives: the model name has none
  GenerateNounForms(tag, prefix, kModelStem, kModelFinal, forms, none);
  const std::string name = std::string(kModelStem) + std::string(kModelFinal);
  for (const std::string& form : forms.forms) {
    if (form.size() <= name.size() || form.compare(form.size() - name.size(), name.size(), name) != 0)
      continue;
    const std::string_view head(form.data(), form.size() - name.size());
    if (IsLowerCaseHead(head)) heads.emplace(head);
  }
}

std::vector<std::string> BuildNamePrefixes() {
  std::set<std::string> heads;
  // Names of persons take the class 1a prefix u-, names of places i-.
  CollectHeads("person", "u", heads);
  CollectHeads("place", "i", heads);
  std::vector<std::string> prefixes(heads.begin(), heads.end());
  std::stable_sort(prefixes.begin(), prefixes.end(),
                   [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  return prefixes;
}

bool IsCapital(char c) { return AnsiLowerChar(c) != c; }

}  // namespace

const std::vector<std::string>& NamePrefixes() {
  static const std::vector<std::string> prefixes = BuildNamePrefixes();
  return prefixes;
}

bool IsPrefixedName(std::string_view word, const std::function<bool(std::string_view)>& name_accepted) {
  // Heads are lower case, so the only head that can stand before a name ends
  // at the word's first capital: one look-up instead of a test of every head,
  // which every word the analyser rejects would otherwise pay.
  const size_t head = static_cast<size_t>(std::find_if(word.begin(), word.end(), IsCapital) - word.begin());
  if (head == 0 || word.size() < head + kMinNameLength) return false;
  const std::string_view prefix = word.substr(0, head);
  const std::vector<std::string>& prefixes = NamePrefixes();
  if (std::find(prefixes.begin(), prefixes.end(), prefix) == prefixes.end()) return false;
  return name_accepted(word.substr(head));
}

}  // namespace tovuri
