#include "cli/explain_command.h"

#include <filesystem>
#include <set>

#include "analyser/lexicon.h"
#include "analyser/name_prefixes.h"
#include "analyser/word_check.h"
#include "analyser/word_explanation.h"
#include "checker/ndebele_checker.h"
#include "spell/ox3Encoding.h"
#include "common/ansi_case.h"
#include "spell/ox3Encoding.h"

namespace tovuri {
namespace {

// How many of the entries whose stems lie in a rejected word are named.
constexpr size_t kNearestShown = 5;

std::string BaseName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// An entry as its line would write it: "verb,uku-hamba", "adj,khulu".
std::string EntryText(const Lexicon& lexicon, size_t i) {
  std::string text = lexicon.LexClass[i] + ",";
  if (lexicon.LexPrefix[i].empty() && lexicon.LexFinal[i].empty())
    text += lexicon.LexStem[i];
  else
    text += lexicon.LexPrefix[i] + "-" + lexicon.LexStem[i] + lexicon.LexFinal[i];
  if (!lexicon.LexInfo[i].empty()) text += "," + lexicon.LexInfo[i];
  return text;
}

std::string LineOf(const Lexicon& lexicon, size_t i) {
  return i < lexicon.LexLine.size() ? "line " + std::to_string(lexicon.LexLine[i]) : "no line";
}

// The first letter lowered, as the dictionaries accept a capitalised word.
std::string LowerFirst(std::string word) {
  if (!word.empty()) word[0] = AnsiLowerChar(word[0]);
  return word;
}

// Which dictionary of the checker holds the word, or empty.
std::string HoldingDictionary(TOrthexSpell3Base& spell, const std::string& word) {
  const std::string lower = LowerFirst(word);
  for (const auto& main : spell.MainDictionaries())
    if (main->Lookup(word) || main->Lookup(lower)) return "the main dictionary " + BaseName(main->Filename());
  std::vector<TCustomDictionary*> customs;
  if (spell.ActiveCustomDictionary() != nullptr) customs.push_back(spell.ActiveCustomDictionary());
  for (const auto& custom : spell.OtherCustomDictionaries()) customs.push_back(custom.get());
  for (TCustomDictionary* custom : customs)
    if (custom->Contains(word) || custom->Contains(lower))
      return "the custom dictionary " + BaseName(custom->Filename());
  return "";
}

std::string ExplainAnalysed(const WordExplanation& explanation) {
  const Lexicon& lexicon = TheLexicon();
  switch (explanation.kind) {
    case WordExplanation::Kind::kEmpty:
      return "the empty word";
    case WordExplanation::Kind::kClosedClass:
      return "a closed-class word of the analyser";
    case WordExplanation::Kind::kEntry:
      return "lexicon entry " + EntryText(lexicon, explanation.entry) + " from " +
             LineOf(lexicon, explanation.entry) + ": " + DescribePass(explanation);
    case WordExplanation::Kind::kNotFound:
      break;
  }
  return "";
}

std::string Nearest(const std::vector<size_t>& entries) {
  const Lexicon& lexicon = TheLexicon();
  std::string text;
  std::set<std::string> shown;
  for (size_t i : entries) {
    if (shown.size() == kNearestShown) break;
    const std::string item = EntryText(lexicon, i) + " (" + LineOf(lexicon, i) + ")";
    if (!shown.insert(item).second) continue;
    text += (shown.size() == 1 ? "" : "; ") + item;
  }
  return text.empty() ? "none" : text;
}

std::string Explain(TNdebeleChecker& checker, const std::string& word, bool& accepted) {
  accepted = checker.IsAccepted(word);
  TOrthexSpell3Base& spell = checker.Spell();
  if (accepted) {
    if (const std::string dictionary = HoldingDictionary(spell, word); !dictionary.empty())
      return "in " + dictionary;
  }
  const WordExplanation explanation = ExplainNdebeleWord(word);
  if (accepted) {
    if (explanation.kind != WordExplanation::Kind::kNotFound) return ExplainAnalysed(explanation);
    std::string name;
    if (IsPrefixedName(word, [&](std::string_view n) {
          name = n;
          return IsNdebeleWord(n) || !HoldingDictionary(spell, name).empty();
        }))
      return "the prefix " + word.substr(0, word.size() - name.size()) + " joined to the name " + name;
    return "accepted by the checker's rules (a number, a single letter or an ignored kind of word)";
  }
  std::string why = "not found";
  if (spell.IsExcludedWord(word)) why = "excluded by a custom dictionary";
  return why + "; nearest entries: " + Nearest(explanation.nearest);
}

}  // namespace

int ExplainWords(TNdebeleChecker& checker, const std::vector<std::string>& words, std::ostream& out) {
  bool all_accepted = true;
  for (const std::string& word : words) {
    bool accepted = false;
    const std::string text = Explain(checker, Utf8ToFrameworkText(word), accepted);
    all_accepted = all_accepted && accepted;
    out << word << ": " << Windows1252ToUtf8(text) << '\n';
  }
  return all_accepted ? 0 : 1;
}

}  // namespace tovuri
