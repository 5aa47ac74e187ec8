#include "analyser/adverb_forms.h"

#include <string>

#include "analyser/concord_tables.h"
#include "analyser/morpheme_ops.h"
#include "analyser/morpheme_views.h"
#include "analyser/noun_phrases.h"

namespace tovuri {
namespace {

bool BeginsWithVowel(std::string_view s) { return !s.empty() && IsVowel(s[0]); }

std::string_view WithoutFirst(std::string_view s) { return s.empty() ? s : s.substr(1); }

// The "s" that JoinWithS puts before a vowel-initial word.
std::string_view SBefore(std::string_view word) { return BeginsWithVowel(word) ? "s" : ""; }

// The forms of one adverb W = L + M + K.
class AdverbForms {
 public:
  AdverbForms(std::string_view l, std::string_view m, std::string_view k, FormSink& forms)
      : l_(l), m_(m), k_(k), w_(std::string(l) + std::string(m) + std::string(k)),
        s_(SBefore(l.empty() ? m : l)), forms_(forms) {
    // LA = JoinFormativeToWord("la", L) + M + K.
    if (BeginsWithVowel(l)) {
      la_ = l[0] == 'i' ? "le" : "l";
      la_rest_ = l[0] == 'i' ? l.substr(1) : l;
    } else {
      la_ = "la";
      la_rest_ = l;
    }
  }

  void Generate() {
    if (w_ != "kho") Plain();
    if (forms_.Done()) return;
    if (w_ != "khona") Negative();
    if (forms_.Done()) return;
    Nga();
    Particular();
  }

 private:
  // S(a + b + c): JoinWithS(a + b + c, L + M) + K.
  void S(std::string_view a, std::string_view b = "", std::string_view c = "") {
    forms_.Add({a, b, c, s_, w_});
  }
  void La(std::string_view a = "", std::string_view b = "") {
    forms_.Add({a, b, la_, la_rest_, m_, k_});
  }
  void Before(std::string_view a, std::string_view b = "", std::string_view c = "") {
    forms_.Add({a, b, c, w_});
  }

  void Plain() {
    forms_.Add(w_);
    for (std::string_view sc : SubjectConcords) S(sc);
    for (std::string_view r : RelativeConcords) {
      S(r);
      if (r[0] == 'a')
        for (std::string_view q : PossessiveConcords) {
          S(q, WithoutFirst(r));
          S("o", q, WithoutFirst(r));
        }
      La(r);
      S("l", r);
      S(KuBeforeVowelView(r), r);
      S("ng", r);  // "nga" before the relative: ngokukhona
    }
    for (std::string_view pc : ParticipialConcords) S(pc);
    for (std::string_view sc : SubjectConcords) {
      S(sc, "se");
      S(sc, "sese");
    }
    for (std::string_view s : SeConcords) S(s);
    for (size_t k = 0; k < BeConcords.size(); ++k) {
      S(BeConcords[k]);
      S(NgaConcords[k]);
      S(BeSeConcords[k]);
      S(RelativeBeSeConcords[k]);
      S(NgaSeConcords[k]);
      S(RelativeNgaSeConcords[k]);
      const std::string_view rg = RelativeNgaConcords[k];
      S(rg);
      Before(rg, "nga");
      S(KuBeforeVowelView(rg), rg);
      Before(NgaConcords[k], "ng");
    }
    for (std::string_view x : PastSubjectConcords) {
      Before(x, "nga");
      // Here only the prefix decides the "s".
      forms_.Add({x, SBefore(l_), l_, m_, k_});
    }
    La();
    Before("kakukabi");
    for (std::string_view n : NegativeSubjectConcords) {
      La(n);
      La("k", n);
    }
    if (BeginsWithVowel(l_)) {
      for (std::string_view x : {"b", "s", "l", "kw", "z"}) Before(x);
    } else {
      for (std::string_view x : {"kweli", "okunga", "engula", "njengonga", "eyababe"}) Before(x);
    }
  }

  void Negative() {
    for (std::string_view n : NegativeSubjectConcords) {
      S(n);
      S("k", n);
    }
    for (std::string_view r : RelativeConcords) {
      S(r, "nge");
      S(r, "ngase");
      S(r, "ngela");
      S("ng", r, "nge");  // ngokungekho (illegally, with emthethweni)
    }
    for (std::string_view pc : ParticipialConcords) {
      S(pc, "nge");
      S(pc, "ngase");
    }
    for (std::string_view n : NegativeSubjectConcords) {
      S(n, "se");
      S("k", n, "se");
    }
    for (size_t k = 0; k < BeConcords.size(); ++k) {
      S(BeConcords[k], "nge");
      S(NgaConcords[k], "ngasela");
    }
    for (std::string_view g : NgaConcords) {
      S(g, "nge");
      S(g, "ngase");
    }
  }

  // G = S("nga") after a few formatives and every concord.
  void Nga() {
    S("nga");
    S("la", "nga");
    S("le", "nga");
    for (std::string_view sc : SubjectConcords) S(sc, "nga");
    for (std::string_view r : RelativeConcords) {
      S(r, "nga");
      S("l", r, "nga");
    }
    for (std::string_view g : NgaConcords) S(g, "nga");
  }

  // The forms of single adverbs.
  void Particular() {
    if (w_ == "bani") {
      AddKinshipForms("ka" + w_, forms_);
      for (std::string_view r : RelativeConcords) {
        Before(r, "ka");
        Before("ng", r, "ka");
      }
      for (std::string_view sc : SubjectConcords)
        if (sc.size() == 2) Before(sc, "ka");
      Before("ngu");
      Before("ngo");
      // "si", "li" and "ba" (slots 4 to 6) take "ngo".
      for (size_t slot = 0; slot < SubjectConcords.size(); ++slot)
        Before(SubjectConcords[slot], slot >= 3 && slot <= 5 ? "ngo" : "ngu");
      Before("ngumka");
    }
    if (w_ == "yini") {
      Before("beku");
      Before("kwaku");
    }
    if (l_ == "e") {
      Before("ng");
      Before("y");
    }
    if (w_ == "khona") Existential();
    if (w_ == "njani") Before("ngo");
    if (w_ == "obala") {
      Before("s");
      for (std::string_view r : RelativeConcords) {
        Before(r, "s");
        Before("ng", r, "s");
      }
      for (std::string_view sc : SubjectConcords) Before(sc, "s");
    }
    if (!BeginsWithVowel(l_)) {
      Before("lanjenga");
      Before("kakunga");
      Before("kokunga");
    }
  }

  // "Be present" is written as one word of a form of ukuba and khona
  // (ukubakhona, engabakhona, eyabakhona), and "still" takes sa as well as se
  // (lisakhona, basasekhona); the relative past "obe" (obekhona).
  void Existential() {
    for (std::string_view x : {"ukuba", "lokuba", "ngokuba", "kokuba", "wokuba", "yokuba"}) Before(x);
    for (std::string_view c : ParticipialConcords) {
      Before(c, "ba");
      Before(c, "ngaba");
      Before(c, "sa");
      Before(c, "sase");
    }
    for (std::string_view c : SubjectConcords) {
      Before(c, "ngaba");
      Before(c, "sa");
      Before(c, "sase");
    }
    for (std::string_view c : RelativeConcords) {
      Before(c, "ba");
      Before(c, "ngaba");
      Before(c, "sa");
      Before(c, "sase");
      Before(c, "se");
    }
    for (std::string_view c : RelativePastConcords) Before(c, "ba");
    for (std::string_view c : RelativeBeConcords) Before(c);
  }

  std::string_view l_, m_, k_;
  std::string w_;
  std::string_view s_;
  std::string_view la_, la_rest_;
  FormSink& forms_;
};

}  // namespace

std::string JoinWithS(std::string_view x, std::string_view word) {
  std::string joined(x);
  joined += SBefore(word);
  joined += word;
  return joined;
}

std::string JoinFormativeToWord(std::string_view formative, std::string_view word) {
  if (formative.empty() || formative.back() != 'a' || !BeginsWithVowel(word))
    return std::string(formative) + std::string(word);
  std::string joined(DropLastChars(formative, 1));
  if (word[0] == 'i') {
    joined += 'e';
    joined += word.substr(1);
  } else {
    joined += word;
  }
  return joined;
}

void GenerateAdverbForms(std::string_view, std::string_view prefix, std::string_view stem,
                         std::string_view final, FormSink& forms) {
  AdverbForms(prefix, stem, final, forms).Generate();
}

void GenerateConjunctionForms(std::string_view, std::string_view prefix,
                              std::string_view stem, std::string_view final, FormSink& forms) {
  forms.Add({prefix, stem, final});
  if (BeginsWithVowel(stem)) return;
  forms.Add({"ku", prefix, stem, final});
  for (std::string_view sc : SubjectConcords) forms.Add({sc, "ku", prefix, stem, final});
}

void GenerateRelativeForms(std::string_view, std::string_view, std::string_view stem,
                           std::string_view final, FormSink& forms) {
  const std::string_view s = SBefore(stem);
  // S(a + b + c) = JoinWithS(a + b + c, M) + K.
  const auto S = [&](std::string_view a, std::string_view b = "", std::string_view c = "") {
    forms.Add({a, b, c, s, stem, final});
  };
  const auto T = [&](std::string_view a, std::string_view b = "") {
    forms.Add({a, b, stem, final});
  };

  for (std::string_view sc : SubjectConcords) {
    S(sc);
    T(sc, "ngowaba");
    T(sc, "sese");
  }
  for (std::string_view n : NegativeSubjectConcords) {
    S(n);
    S("k", n);
  }
  for (std::string_view r : RelativeConcords) {
    S(r);
    S(r, "nge");
    S(r, "nga");
    S("ng", r);
    S("l", r);
    if (r == "aba")
      for (std::string_view q : PossessiveConcords) {
        S(DropLastChars(q, 1), r);
        S("la", KuBeforeVowelView(r), r);
      }
  }
  if (forms.Done()) return;
  for (std::string_view pc : ParticipialConcords) S(pc);
  for (std::string_view pc : ParticipialConcords) S(pc, "nge");
  for (std::string_view sc : SubjectConcords) S(sc, "se");
  for (std::string_view n : NegativeSubjectConcords) {
    S(n, "se");
    S("k", n, "se");
  }
  for (std::string_view e : SeConcords) S(e);
  for (size_t k = 0; k < BeConcords.size(); ++k) {
    S(BeConcords[k]);
    S(BeConcords[k], "nge");
    S(NgaConcords[k]);
    S(NgaConcords[k], "nge");
  }
  T("");
  T("oyi");
  T("yi");
}

}  // namespace tovuri
