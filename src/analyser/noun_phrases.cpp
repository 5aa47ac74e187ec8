#include "analyser/noun_phrases.h"

#include "analyser/concord_tables.h"

namespace tovuri {
namespace {

bool StartsWith(std::string_view s, std::string_view head) {
  return s.substr(0, head.size()) == head;
}

// A copulative split where its negative puts "nge" + infix: base is what follows
// the copulative marker, infix the negative marker that replaces it.
struct CopulativeSplit {
  std::string_view base;
  std::string_view infix;
};

CopulativeSplit SplitCopulative(std::string_view v) {
  if (StartsWith(v, "ngu")) return {v.substr(3), "su"};
  if (StartsWith(v, "yi")) return {v.substr(2), "si"};
  if (StartsWith(v, "nga")) return {v.substr(3), "si"};
  return {v, ""};
}

}  // namespace

void AddLocativePhrases(std::string_view l, FormSink& forms) {
  if (forms.Done()) return;
  forms.Add(l);
  for (std::string_view sc : SubjectConcords) {
    forms.Add({sc, "s", l});
    forms.Add({sc, "ngas", l});
  }
  forms.Add({"ngas", l});
  forms.Add({"l", l});
  forms.Add({"las", l});
  for (std::string_view q : PossessiveConcords) forms.Add({q, "s", l});
  for (std::string_view r : RelativeConcords) {
    forms.Add({r, "s", l});
    forms.Add({"l", r, "s", l});
    forms.Add({r, "ngas", l});
    forms.Add({"l", r, "ngas", l});
  }
  if (forms.Done()) return;
  for (std::string_view pc : ParticipialConcords) forms.Add({pc, "s", l});
  for (std::string_view sc : SubjectConcords) forms.Add({sc, "ses", l});
  for (std::string_view s : SeConcords) forms.Add({s, "s", l});
  for (size_t k = 0; k < BeConcords.size(); ++k) {
    forms.Add({BeConcords[k], "s", l});
    forms.Add({NgaConcords[k], "s", l});
    forms.Add({RelativeNgaConcords[k], "s", l});
    forms.Add({NgaSeConcords[k], "s", l});
  }
  for (std::string_view f : FixedVerbPrefixes) forms.Add({f, "s", l});
  forms.Add({"s", l});
  forms.Add({"bangabas", l});
  if (forms.Done()) return;
  for (std::string_view rp : RelativePossessiveConcords) {
    forms.Add({rp, "s", l});
    forms.Add({"ng", rp, "s", l});
  }
  // The possessive joined straight to a vowel-initial locative loses its "a".
  for (std::string_view q : PossessiveConcords) forms.Add({q.substr(0, q.size() - 1), l});
  forms.Add({"lingabis", l});
  forms.Add({"ow", l});
  forms.Add({"ungow", l});
  forms.Add({"ngangingow", l});
  forms.Add({"njeng", l});
  forms.Add({"el", l});
  forms.Add({l, "nye"});
  forms.Add({"ab", l});
  forms.Add({"lab", l});
  for (std::string_view n : NegativeSubjectConcords) {
    forms.Add({n, "s", l});
    forms.Add({"k", n, "s", l});
  }
  forms.Add({"kung", l});
  forms.Add({"kwabas", l});
  forms.Add({"njengas", l});
  forms.Add({"ley", l});
  forms.Add({"elab", l});
  forms.Add({"elingel", l});
  forms.Add({"esingab", l});
  forms.Add({"ngez", l});
  // "nga" before a relative of the locative: ngokusemthethweni (legally),
  // ngabasekhaya (by those at home).
  for (std::string_view r : RelativeConcords) forms.Add({"ng", r, "s", l});
}

void AddCopulativePhrases(std::string_view v, FormSink& forms) {
  if (forms.Done()) return;
  const auto [base, infix] = SplitCopulative(v);
  forms.Add(v);
  for (std::string_view sc : SubjectConcords) {
    forms.Add({sc, v});
    forms.Add({sc, "se", v});
  }
  for (std::string_view n : NegativeSubjectConcords) {
    forms.Add({n, "se", v});
    forms.Add({"k", n, "se", v});
  }
  for (size_t k = 0; k < BeConcords.size(); ++k) {
    const std::string_view b = BeConcords[k];
    const std::string_view g = NgaConcords[k];
    const std::string_view rg = RelativeNgaConcords[k];
    forms.Add({b, v});
    forms.Add({g, v});
    forms.Add({g, "nge", infix, base});
    forms.Add({b, "nge", infix, base});
    forms.Add({rg, v});
    forms.Add({"l", rg, v});
    forms.Add({RelativeBeConcords[k], v});
  }
  forms.Add({"beku", v});
  forms.Add({"kwaku", v});
  forms.Add({"bekunge", infix, base});
  forms.Add({"kwakunge", infix, base});
  forms.Add({"seku", v});
  forms.Add({"oku", v});
  if (forms.Done()) return;
  for (std::string_view r : RelativeConcords) {
    forms.Add({r, v});
    forms.Add({"k", r, v});
    forms.Add({"l", r, v});
    forms.Add({r, "se", v});
    if (StartsWith(r, "a")) {
      const std::string_view rest = r.substr(1);
      for (std::string_view q : PossessiveConcords) {
        forms.Add({q, rest, v});
        forms.Add({"la", q, rest, v});
      }
    }
  }
  for (std::string_view pc : ParticipialConcords) forms.Add({pc, v});
  if (forms.Done()) return;
  for (std::string_view f : FixedVerbPrefixes)
    for (std::string_view o : ObjectConcords) forms.Add({f, o, v});
  forms.Add({"kunga", v});
  forms.Add({"lokunga", v});
  forms.Add({"njengaba", v});
  for (std::string_view s : SeConcords) forms.Add({s, v});
  forms.Add({"esebe", v});
}

void AddKinshipForms(std::string_view k, FormSink& forms) {
  if (forms.Done()) return;
  for (std::string_view head : {"", "umnta", "mnta", "una", "na", "use", "se", "um", "om"})
    forms.Add({head, k});
}

}  // namespace tovuri
