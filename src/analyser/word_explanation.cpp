#include "analyser/word_explanation.h"

#include "analyser/closed_class.h"
#include "analyser/form_sink.h"
#include "analyser/lexicon.h"
#include "analyser/verb_forms.h"
#include "analyser/verb_patterns.h"

namespace tovuri {
namespace {

struct GeneratorName {
  std::string_view tag;
  std::string_view name;
};

constexpr GeneratorName kGenerators[] = {
    {"verb", "verb forms"},        {"special", "the word as written"},
    {"conj", "conjunction forms"}, {"adv", "adverb forms"},
    {"rel", "relative forms"},     {"adj", "adjective forms"},
    {"defverb", "defective verb forms"},
};

// A verb's passes after its own: the infinitive used as a noun, plain,
// passive and negative.
constexpr std::string_view kInfinitivePasses[] = {"infinitive", "passive infinitive",
                                                  "negative infinitive"};

}  // namespace

WordExplanation ExplainNdebeleWord(std::string_view word) {
  WordExplanation explanation;
  if (word.empty()) {
    explanation.kind = WordExplanation::Kind::kEmpty;
    return explanation;
  }
  if (IsClosedClassWord(word)) {
    explanation.kind = WordExplanation::Kind::kClosedClass;
    return explanation;
  }
  const Lexicon& lexicon = TheLexicon();
  const std::vector<size_t> candidates = CandidateEntries(word, lexicon);
  for (size_t i : candidates) {
    const std::vector<EntryPass> passes = PassesForEntry(lexicon, i);
    for (size_t k = 0; k < passes.size(); ++k) {
      const EntryPass& pass = passes[k];
      FormMatcher matcher(word);
      GenerateFormsForTag(pass.tag, pass.prefix, pass.stem, pass.final, pass.attribute, matcher);
      if (!matcher.Found()) continue;
      explanation.kind = WordExplanation::Kind::kEntry;
      explanation.entry = i;
      explanation.pass = k;
      explanation.made_by = pass;
      if (pass.tag == "verb")
        explanation.verb_row = VerbPatternRowOf(pass.prefix, pass.stem, pass.final, pass.attribute, word);
      return explanation;
    }
  }
  explanation.nearest = candidates;
  return explanation;
}

std::string DescribePass(const WordExplanation& explanation) {
  const std::string& tag = explanation.made_by.tag;
  const std::string& entry_tag = TheLexicon().LexClass[explanation.entry];
  if (entry_tag == "verb" && explanation.pass > 0 && explanation.pass <= std::size(kInfinitivePasses))
    return "noun forms (" + std::string(kInfinitivePasses[explanation.pass - 1]) + ")";
  std::string name;
  for (const GeneratorName& g : kGenerators)
    if (g.tag == tag) name = g.name;
  if (name.empty()) name = tag.rfind("exc", 0) == 0 ? "exception verb forms" : "noun forms";
  // The pattern that makes the word, as the verb pattern table writes it.
  if (explanation.verb_row > 0 && explanation.verb_row <= kVerbPatterns.size())
    name += ", pattern " + std::string(kVerbPatterns[explanation.verb_row - 1].pattern);
  return name;
}

}  // namespace tovuri
