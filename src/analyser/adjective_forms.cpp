#include "analyser/adjective_forms.h"

#include <string>

#include "analyser/concord_tables.h"
#include "analyser/morpheme_ops.h"

namespace tovuri {
namespace {

using List = std::initializer_list<std::string_view>;

char FirstOf(List pieces) {
  for (std::string_view piece : pieces)
    if (!piece.empty()) return piece[0];
  return '\0';
}

// AddKuForms for the word a + b + c + d, which it never joins into one string.
void KuForms(std::string_view a, std::string_view b, std::string_view c, std::string_view d,
             FormSink& forms) {
  const char first = FirstOf({a, b, c, d});
  const bool glide = first == 'a' || first == 'e';
  forms.Add({a, b, c, d});
  forms.Add({glide ? "kw" : "k", a, b, c, d});
  forms.Add({glide ? "okw" : "ok", a, b, c, d});
  forms.Add({glide ? "lakw" : "lak", a, b, c, d});
  forms.Add({glide ? "lokw" : "lok", a, b, c, d});
  forms.Add({glide ? "ngakw" : "ngak", a, b, c, d});  // ngakolunye (on the other hand)
}

// AddAKaForms for the word a + b + c.
void AKaForms(std::string_view a, std::string_view b, std::string_view c, FormSink& forms) {
  const char first = FirstOf({a, b, c});
  const std::string_view g = first == 'a' || first == 'u' ? "w" : first == 'i' ? "y" : "";
  forms.Add({a, b, c});
  forms.Add({"a", g, a, b, c});
  forms.Add({"ka", g, a, b, c});
}

// The adjective stem A with the shapes that the concords choose between.
class AdjectiveStem {
 public:
  AdjectiveStem(std::string_view a, FormSink& forms)
      : a_(a), one_vowel_(CountVowels(a) == 1), labial_(!a.empty() && (a[0] == 'b' || a[0] == 'f')),
        forms_(forms) {
    // N: a second-letter "h" goes (khulu, kulu), and then an initial "n" (ncane, cane).
    n_ = a;
    if (n_.size() > 1 && n_[1] == 'h') n_.erase(1, 1);
    if (!n_.empty() && n_[0] == 'n') n_.erase(0, 1);
  }

  std::string_view A() const { return a_; }
  std::string_view M() const { return one_vowel_ ? "mu" : "m"; }
  std::string_view U() const { return one_vowel_ ? "u" : ""; }
  bool Labial() const { return labial_; }
  // x for a one-vowel stem, y otherwise.
  std::string_view OneVowel(std::string_view x, std::string_view y) const {
    return one_vowel_ ? x : y;
  }

  // x + A for each x.
  void Each(List xs) const {
    for (std::string_view x : xs) forms_.Add({x, a_});
  }
  // x + A, then "k" + x + A, for each x.
  void EachWithK(List xs) const {
    for (std::string_view x : xs) {
      forms_.Add({x, a_});
      forms_.Add({"k", x, a_});
    }
  }
  // x + U + A for each x: the first and second person concords, which take
  // "mu" before a one-vowel stem.
  void EachU(List xs) const {
    for (std::string_view x : xs) forms_.Add({x, U(), a_});
  }
  // Pairs x + A, y + A in step through two equally long lists.
  void Pairs(List xs, List ys, std::string_view u = "") const {
    for (auto x = xs.begin(), y = ys.begin(); x != xs.end() && y != ys.end(); ++x, ++y) {
      forms_.Add({*x, u, a_});
      forms_.Add({*y, u, a_});
    }
  }

  // The nasal choice of a concord written with its "m" spelling: xm + A for a
  // labial stem, otherwise the same concord ending in "n" + N.
  void Nasal(std::string_view pre, std::string_view xm) const {
    if (labial_)
      forms_.Add({pre, xm, a_});
    else
      forms_.Add({pre, DropLastChars(xm, 1), "n", n_});
  }
  void NasalKu(std::string_view pre, std::string_view xm) const {
    if (labial_)
      KuForms(pre, xm, a_, "", forms_);
    else
      KuForms(pre, DropLastChars(xm, 1), "n", n_, forms_);
  }
  void NasalAKa(std::string_view xm) const {
    if (labial_) {
      AKaForms(xm, a_, "", forms_);
    } else {
      AKaForms(DropLastChars(xm, 1), "n", n_, forms_);
    }
  }
  void NasalEach(List xms) const {
    for (std::string_view xm : xms) Nasal("", xm);
  }

  const std::string& N() const { return n_; }

 private:
  std::string_view a_;
  std::string n_;
  bool one_vowel_;
  bool labial_;
  FormSink& forms_;
};

void VowelConcords(const AdjectiveStem& s, FormSink& forms) {
  const std::string_view a = s.A();
  for (std::string_view x : {"aba", "emi", "eli", "ama", "esi", "olu", "obu", "oku"}) {
    if (forms.Done()) return;
    KuForms(x, a, "", "", forms);
    forms.Add({"ng", x, a});
    forms.Add({"lang", x, a});
    forms.Add({"l", x, a});
    forms.Add({"njeng", x, a});
    for (std::string_view sc : SubjectConcords) {
      forms.Add({sc, "l", x, a});
      forms.Add({sc, "njeng", x, a});
    }
    for (std::string_view n : NegativeSubjectConcords) {
      forms.Add({n, "njeng", x, a});
      forms.Add({"k", n, "njeng", x, a});
    }
    for (std::string_view r : RelativeConcords) forms.Add({r, "l", x, a});
    if (x == "aba")
      for (std::string_view q : PossessiveConcords) forms.Add({q, "ba", a});
    for (std::string_view b : BeConcords) forms.Add({b, "l", x, a});
    if (x == "oku")
      for (std::string_view g : {"b", "y", "w", "z", "s"}) forms.Add({g, x, a});
  }
}

void OmConcord(const AdjectiveStem& s, FormSink& forms) {
  const std::string_view a = s.A();
  const std::string_view o = s.OneVowel("omu", "om");
  KuForms(o, a, "", "", forms);
  if (o == "omu") {
    for (std::string_view x : {"ng", "l", "y", "njeng", "nging", "ung", "b", "k", "lang"})
      forms.Add({x, o, a});
    for (std::string_view g : RelativeNgaConcords) forms.Add({g, "k", o, a});
    for (std::string_view pc : ParticipialConcords) {
      forms.Add({pc, "k", o, a});
      forms.Add({pc, "sek", o, a});
    }
    forms.Add({"kok", o, a});
    forms.Add({"kwakungela", "mu", a});
    KuForms("kul", o, a, "", forms);
  } else {
    forms.Add({"ng", o, a});
    forms.Add({"l", o, a});
    for (std::string_view g : RelativeNgaConcords) forms.Add({g, "k", o, a});
    KuForms("njeng", o, a, "", forms);
    KuForms("kul", o, a, "", forms);
  }
  if (o != "omu") return;
  // A one-vowel stem's "omu" (omunye) also takes the copulative ng- after a
  // participial, relative or past concord (engomunye, ongomunye,
  // wayengomunye), and the possessives of class 1 and 7 to 10 (womunye).
  for (std::string_view c : ParticipialConcords) forms.Add({c, "ng", o, a});
  for (std::string_view c : RelativeConcords) forms.Add({c, "ng", o, a});
  for (size_t k = 0; k < BeConcords.size(); ++k) {
    forms.Add({BeConcords[k], "ng", o, a});
    forms.Add({NgaConcords[k], "ng", o, a});
  }
  for (std::string_view g : {"w", "z", "s"}) forms.Add({g, o, a});
}

}  // namespace

void AddKuForms(std::string_view x, FormSink& forms) { KuForms(x, "", "", "", forms); }
void AddAKaForms(std::string_view x, FormSink& forms) { AKaForms(x, "", "", forms); }

void GenerateAdjectiveForms(std::string_view, std::string_view, std::string_view stem,
                            std::string_view, FormSink& forms) {
  const AdjectiveStem s(stem, forms);
  const std::string_view a = s.A();

  VowelConcords(s, forms);
  if (forms.Done()) return;
  OmConcord(s, forms);

  // The nasal vowel-initial concords "ezim"/"ezin" and "em"/"en".
  s.NasalKu("", "ezim");
  s.NasalKu("", "em");
  s.NasalKu("l", "ezim");
  s.NasalKu("l", "em");
  s.Nasal("ng", "ezim");
  s.Nasal("ng", "em");
  // As the other vowel concords take them: like (njengezinye) and of
  // (yezinye, zenye).
  for (std::string_view x : {"njeng", "b", "y", "w", "z", "s"}) {
    s.Nasal(x, "ezim");
    s.Nasal(x, "em");
  }

  for (std::string_view x : {"ba", "mi", "li", "ma", "si", "lu", "bu", "ku"}) {
    forms.Add({x, a});
    forms.Add({"la", x, a});
  }

  forms.Add({s.M(), a});
  forms.Add({"la", s.M(), a});

  if (s.Labial()) {
    s.Each({"zim", "im"});
  } else {
    const std::string& n = s.N();
    forms.Add({"zin", n});
    forms.Add({"in", n});
    forms.Add({"y", "in", n});
    // These three keep the whole stem after their "n".
    s.Each({"izakuban", "ingabin", "ziben"});
  }

  s.EachU({"ngim", "um", "m"});
  s.Each({"siba", "liba", "ba"});

  // Negatives.
  for (std::string_view x : {"angim", "awum"}) {
    forms.Add({x, s.U(), a});
    forms.Add({"k", x, s.U(), a});
  }
  s.EachWithK({"asiba", "aliba"});
  s.EachWithK({"ababa", "abubu", "akuku", "alili", "alulu", "asisi", "awama", "ayimi"});
  s.EachWithK({s.OneVowel("amu", "am")});
  s.EachWithK({s.OneVowel("awumu", "awum")});
  s.Nasal("", "ayim");
  s.Nasal("k", "ayim");
  s.Nasal("", "azim");
  s.Nasal("k", "azim");

  if (forms.Done()) return;
  // Relative concords.
  forms.Add({RelativeConcords[0], s.M(), a});
  forms.Add({RelativeConcords[1], s.M(), a});
  forms.Add({RelativeConcords[2], "ba", a});
  forms.Add({RelativeConcords[3], "ba", a});
  forms.Add({"aba", a});

  s.Each({"abangeba", "engemi", "elingeli", "angema", "esingesi", "olungelu", "obungebu",
          "okungeku"});
  s.Each({s.OneVowel("ongemu", "ongem")});
  s.NasalEach({"ezingem", "engem"});
  for (size_t r = 0; r < 2; ++r) forms.Add({RelativeConcords[r], "nge", s.M(), a});
  for (size_t r = 2; r < 5; ++r) forms.Add({RelativeConcords[r], "ngeba", a});

  for (std::string_view pc : ParticipialConcords) forms.Add({pc, s.M(), a});

  // Forms with "nge".
  s.EachU({"ngingem", "ungem", "engem"});
  s.Each({"singeba", "lingeba", "bengaba"});
  s.Each({"ingemi", "lingeli", "engema", "singesi", "lungelu", "bungebu", "kungeku"});
  s.Each({s.OneVowel("ungemu", "ungem")});
  s.NasalEach({"zingem", "ingem"});

  if (forms.Done()) return;
  // Forms with "se", each first with its "a"/"ka" variants.
  const auto se_pairs = [&](List xs, List ys, std::string_view u) {
    for (auto x = xs.begin(), y = ys.begin(); x != xs.end() && y != ys.end(); ++x, ++y) {
      AKaForms(*x, u, a, forms);
      forms.Add({*y, u, a});
    }
  };
  se_pairs({"ngisem", "usem", "usem"}, {"ngisesem", "usesem", "usesem"}, s.U());
  se_pairs({"siseba", "liseba", "baseba"}, {"siseseba", "liseseba", "baseseba"}, "");
  se_pairs({"baseba", "isemi", "liseli", "asema", "sisesi", "luselu", "busebu", "kuseku"},
           {"baseseba", "isesemi", "liseseli", "asesema", "sisesesi", "luseselu", "busesebu",
            "kuseseku"},
           "");
  se_pairs({s.OneVowel("usemu", "usem")}, {s.OneVowel("usesemu", "usesem")}, "");
  s.NasalAKa("zisezim");
  s.Nasal("", "zisesezim");
  s.NasalAKa("isem");
  s.Nasal("", "isesem");
  s.NasalAKa("zisem");
  s.Nasal("", "zisesem");

  // Forms with "su".
  s.EachU({"sengim", "usum", "usem"});
  s.Each({"sesiba", "seliba", "sebeba"});
  s.Each({"isimi", "selili", "asema", "sesisi", "selulu", "sebubu", "sekuku"});
  s.Each({s.OneVowel("usumu", "usum")});
  s.NasalEach({"isim", "sezim"});

  if (forms.Done()) return;
  // Forms with "be".
  s.Pairs({"bengim", "ubum", "ubem"}, {"bengingem", "ubungem", "ubengem"}, s.U());
  s.Pairs({"besiba", "beliba", "bebeba"}, {"besingeba", "belingeba", "bebengeba"});
  s.Pairs({"ibimi", "belili", "abema", "besisi", "belulu", "bebubu", "bekuku"},
          {"ibingemi", "belingeli", "abengema", "besingesi", "belungelu", "bebungebu",
           "bekungeku"});
  s.Each({s.OneVowel("ubumu", "ubum"), s.OneVowel("ubungemu", "ubungem")});
  s.NasalEach({"ibim", "bezim", "ibingem", "bezingem"});

  // Forms with "nga".
  s.Pairs({"ngangim", "wawum", "wayem"}, {"ngangingem", "wawungem", "wayengem"}, s.U());
  s.Pairs({"sasiba", "laliba", "babeba"}, {"sasingeba", "lalingeba", "babengeba"});
  s.Pairs({"yayimi", "lalili", "ayema", "sasisi", "lwalulu", "babubu", "kwakuku"},
          {"yayingemi", "lalingeli", "ayengema", "sasingesi", "lwalungelu", "babungebu",
           "kwakungeku"});
  s.Each({s.OneVowel("wawumu", "wawum"), s.OneVowel("wawungemu", "wawungem")});
  s.NasalEach({"yayim", "zazim", "yayingem", "zazingem"});

  s.Nasal("", "lam");
  forms.Add({"ka", a});

  // Quantitatives of the numerals ("both", "all three"): the quantitative
  // head of a class or of "we" and "you" (so-, lo-), then the numeral with its
  // concord (bobabili, sobathathu); class 10's nasal meets the numeral as the
  // adjective's does (zombili, zontathu).
  if (a == "bili" || a == "thathu" || a == "ne" || a == "hlanu") {
    for (std::string_view x : {"boba", "soba", "loba", "yomi", "woma", "bobu", "koku"})
      forms.Add({x, a});
    if (a == "bili" || a == "thathu") s.Nasal("", "zom");
  }

  if (forms.Done()) return;
  // Forms with "be" and "se".
  s.EachU({"besengim", "ubusum", "ubesem"});
  s.Each({"besesiba", "beseliba", "besebeba"});
  s.Each({"ibisimi", "beselili", "abesema", "besesesi", "beselulu", "besebubu", "besekuku"});
  s.Each({s.OneVowel("ubusumu", "ubusum")});
  s.NasalEach({"ibisim", "besezim"});

  // Forms with "nga" and "se".
  s.EachU({"ngasengim", "wawusum", "wayesem"});
  s.Each({"sasesiba", "laseliba", "basebeba"});
  s.Each({"yayisimi", "laselili", "ayesema", "sasesisi", "lwaselulu", "basebubu",
          "kwasekuku"});
  s.Each({s.OneVowel("wawusumu", "wawusum")});
  s.NasalEach({"yayisim", "zasezim"});

  if (a.empty() || !IsVowel(a[0]))
    s.Each({"bekungaku", "ema", "ezi", "lili", "walababa", "lulu", "abangaba", "beba", "imi"});

  if (s.Labial()) KuForms("ibem", a, "", "", forms);
}

}  // namespace tovuri
