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
  for (const std::string& prefix : NamePrefixes()) {
    if (word.size() < prefix.size() + kMinNameLength || word.substr(0, prefix.size()) != prefix)
      continue;
    const std::string_view name = word.substr(prefix.size());
    if (IsCapital(name[0]) && name_accepted(name)) return true;
  }
  return false;
}

}  // namespace tovuri
