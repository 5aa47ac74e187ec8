#include "analyser/verb_forms.h"

#include <algorithm>
#include <array>
#include <string>

#include "analyser/concord_tables.h"
#include "analyser/morpheme_ops.h"
#include "analyser/pattern_interpreter.h"
#include "analyser/verb_patterns.h"

namespace tovuri {
namespace {

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

bool IsOneOf(std::string_view s, std::initializer_list<std::string_view> words) {
  return std::find(words.begin(), words.end(), s) != words.end();
}

// Verbs whose perfect stem is irregular get their perfect forms from their
// "exc" entries instead of from the perfect blocks.
bool HasIrregularPerfect(std::string_view verb, std::string_view stem) {
  const int vowels = CountVowels(verb);
  if (IsOneOf(verb, {"thatha", "phatha", "thathana", "embatha", "hlala"})) return true;
  if (EndsWith(verb, "ala") &&
      (vowels >= 3 || IsOneOf(verb, {"gcwala", "lala", "sala", "thwala", "zala"})))
    return true;
  if (EndsWith(verb, "ana") && vowels >= 3) return true;
  return EndsWith(verb, "ama") && stem != "vam";
}

const PatternTable& VerbPatternTable() {
  static const PatternTable table(kVerbPatterns);
  return table;
}

// What the pattern rows read for one verb entry, with the strings and the
// object-concord list that the values point into.
struct VerbValues {
  std::string passive_stem;
  std::array<std::string_view, ObjectConcords.size()> object_concords = ObjectConcords;
  PatternValues values;
};

void FillVerbValues(std::string_view prefix, std::string_view stem, std::string_view final,
                    std::string_view attribute, VerbValues& out) {
  const std::string verb = std::string(stem) + std::string(final);
  const int vowels = CountVowels(verb);

  PatternValues& values = out.values;
  values.prefix = prefix;
  values.stem = stem;
  values.final = final;
  values.one_vowel = vowels == 1;
  values.vowel_initial = !stem.empty() && IsVowel(stem.front());

  // One-vowel consonant-initial verbs take "mu" for the class 1 object ("ngimudla").
  if (values.one_vowel && !values.vowel_initial) out.object_concords[3] = "mu";

  values.passive_only = attribute == "PassiveOnly";
  out.passive_stem = PassiveStem(stem);
  values.passive_stem = out.passive_stem;
  values.glide = values.one_vowel || (values.vowel_initial && vowels == 2) ? "iw" : "w";
  values.reflexive = attribute == "Reflexive";
  values.object_concords = std::span<const std::string_view>(out.object_concords)
                               .first(values.reflexive ? 1 : out.object_concords.size());

  PerfectBlock& block1 = values.perfect_blocks[0];
  PerfectBlock& block2 = values.perfect_blocks[1];
  if (vowels >= 3 && EndsWith(verb, "ela")) {
    block1.ile = block2.ile = "e";
    block1.iwe = "we";
    block2.ileyo = "eyo";
  } else if (verb == "tsho") {
    block1.ile = "ilo";
  }
  const bool irregular = HasIrregularPerfect(verb, stem);
  block1.made = !irregular && verb != "thi";
  block2.made = !irregular && !values.passive_only;
}

}  // namespace

void GenerateVerbForms(std::string_view prefix, std::string_view stem, std::string_view final,
                       std::string_view attribute, FormSink& forms) {
  VerbValues values;
  FillVerbValues(prefix, stem, final, attribute, values);
  VerbPatternTable().Run(values.values, forms);
}

size_t VerbPatternRowOf(std::string_view prefix, std::string_view stem, std::string_view final,
                        std::string_view attribute, std::string_view word) {
  VerbValues values;
  FillVerbValues(prefix, stem, final, attribute, values);
  const PatternTable& table = VerbPatternTable();
  for (size_t row = 0; row < table.size(); ++row) {
    FormMatcher matcher(word);
    table.RunRow(row, values.values, matcher);
    if (matcher.Found()) return row + 1;
  }
  return 0;
}

}  // namespace tovuri
