#include "analyser/closed_class.h"

#include <array>
#include <charconv>

#include "analyser/concord_tables.h"
#include "analyser/morpheme_ops.h"
#include "analyser/morpheme_views.h"
#include "analyser/text_case.h"

namespace tovuri {
namespace {

// The vocabulary of the closed classes, read top to bottom in the order the
// checks walk it.
constexpr std::array<std::string_view, 9> PresentativeStems = {
    "ngu", "mpa", "nku", "nsi", "nti", "nka", "nzi", "ntu", "mpu"};
constexpr std::array<std::string_view, 12> PronounStemsLi = {
    "mi", "we", "ye", "thi", "li", "bo", "wo", "yo", "so", "zo", "lo", "kho"};
constexpr std::array<std::string_view, 12> PronounStemsNi = {
    "mi", "we", "ye", "thi", "ni", "bo", "wo", "yo", "so", "zo", "lo", "kho"};
constexpr std::array<std::string_view, 7> QuantitativeStems = {
    "wo", "bo", "yo", "lo", "so", "zo", "ko"};
constexpr std::array<std::string_view, 19> KuPronouns = {
    "kubo", "kibo", "kuwo", "kiwo", "kuyo", "kiyo", "kulo", "kilo", "kuso", "kiso",
    "kuzo", "kizo", "kukho", "kikho", "kimi", "kuwe", "kuye", "kithi", "kini"};
constexpr std::array<std::string_view, 11> PossessiveStems = {
    "mi", "kho", "khe", "ithu", "inu", "bo", "wo", "yo", "lo", "so", "zo"};
constexpr std::array<std::string_view, 36> Demonstratives = {
    "lo", "lowu", "lowo", "lowayana", "lowana", "loyana", "laba", "labo", "labayana", "le",
    "leyi", "leyo", "leyana", "leli", "lelo", "leliyana", "la", "lawo", "lawayana", "lawana",
    "layana", "lesi", "leso", "lesiyana", "lezi", "lezo", "leziyana", "lolu", "lolo",
    "loluyana", "lobu", "lobo", "lobuyana", "lokhu", "lokho", "lokhuyana"};
constexpr std::array<std::string_view, 26> CopulaDemonstratives = {
    "leli", "lezo", "lo", "lawo", "le", "la", "kho", "so", "wo", "yo", "laba", "labo",
    "lelo", "lesi", "leso", "leyo", "lezi", "lobo", "lobu", "lokho", "lokhu", "lolo",
    "lolu", "lowo", "lowu", "leyi"};
constexpr std::array<std::string_view, 2> FixedClosedWords = {"esingesiso", "ngulowo"};
constexpr std::array<std::string_view, 10> FarDemonstratives = {
    "lowo", "labo", "leyo", "lelo", "lawo", "leso", "lezo", "lolo", "lobu", "lokho"};
constexpr std::array<std::string_view, 19> PhiCopulatives = {
    "yi", "nginguwu", "unguwu", "unguwu", "singaba", "lingaba", "yibaphi", "yiwu", "yiba", "yiyi",
    "yili", "yiwa", "yisi", "yizi", "yiyi", "yilu", "yibu", "yiku", "nguwu"};

// The kinship and possessor names that take the possessive stems.
constexpr std::array<std::string_view, 14> PossessorNames = {
    "umntana", "umfana", "umka", "kumka", "omka", "lomka", "udadewa", "odadewa", "umnewa",
    "abanewa", "umnawa", "abanawa", "umfowa", "abafowa"};
// Formatives put straight before a pronoun stem ("lami", "ngami", ...).
constexpr std::array<std::string_view, 8> PronounFormatives = {
    "la", "nga", "langa", "langala", "ala", "kala", "lakula", "abangela"};
// Formatives that take the glide of JoinWithConcordGlide before a subject concord.
constexpr std::array<std::string_view, 5> PhiFormatives = {"ku", "nga", "laku", "la", "kuku"};

// The two copulas of the emphatic pronouns: "ngu" before "we" and "ye", "yi"
// before every other stem, each with its own negative and past spellings.
struct Copula {
  std::string_view plain;                      // "ngu" + S
  std::string_view negative;                   // "kasu" + S
  std::string_view negative_infix;             // G + "su" + S
  std::array<std::string_view, 7> fixed;       // each + S; unused slots empty
  std::string_view past_negative;              // NGA / BE + "ngesu" + S, "kungesu" + S
  std::string_view relative;                   // R + "ngu" + S
  std::array<std::string_view, 2> after_relative;
  std::array<std::string_view, 2> closing;
};
constexpr Copula NguCopula = {
    "ngu", "kasu", "su",
    {"kakusu", "kayisu", "bekungu", "kwakungu", "ungu", "bekungesu", "kwakungesu"},
    "ngesu", "ngu", {"kungu", "ngingu"}, {"kakusengu", "akusengu"}};
constexpr Copula YiCopula = {
    "yi", "kasi", "si",
    {"kakusi", "kayisi", "bekuyi", "kwakuyi", "bekungesi", "kwakungesi", ""},
    "ngesi", "yi", {"kuyi", ""}, {"kakuseyi", "akuseyi"}};

// The "-dwa" (alone) vocabulary: one row per person or noun class.
struct DwaSlot {
  std::string_view stem, subject, be, participial, relative, nga, past, se, negative;
};
constexpr std::array<DwaSlot, 18> DwaSlots = {{
    {"nge", "ngi", "bengi", "ngi", "engi", "ngangi", "nga", "sengi", "angi"},
    {"we", "u", "ubu", "u", "o", "wawu", "wa", "usu", "awu"},
    {"ye", "u", "ube", "e", "o", "waye", "wa", "use", "a"},
    {"so", "si", "besi", "si", "esi", "sasi", "sa", "sesi", "asi"},
    {"lo", "li", "beli", "li", "eli", "lali", "la", "seli", "ali"},
    {"bo", "ba", "bebe", "be", "aba", "babe", "ba", "sebe", "aba"},
    {"wo", "u", "ubu", "u", "o", "wawu", "wa", "usu", "awu"},
    {"yo", "i", "ibi", "i", "e", "yayi", "ya", "isi", "ayi"},
    {"lo", "li", "beli", "li", "eli", "lali", "la", "seli", "ali"},
    {"wo", "a", "abe", "e", "a", "aye", "a", "ase", "awa"},
    {"so", "si", "besi", "si", "esi", "sasi", "sa", "sesi", "asi"},
    {"zo", "zi", "bezi", "zi", "ezi", "zazi", "za", "sezi", "azi"},
    {"yo", "i", "ibi", "i", "e", "yayi", "ya", "isi", "ayi"},
    {"zo", "zi", "bezi", "zi", "ezi", "zazi", "za", "sezi", "azi"},
    {"lo", "lu", "belu", "lu", "olu", "lwalu", "la", "selu", "alu"},
    {"zo", "zi", "bezi", "zi", "ezi", "zazi", "za", "sezi", "azi"},
    {"bo", "bu", "bebu", "bu", "obu", "babu", "lwa", "sebu", "abu"},
    {"ko", "ku", "beku", "ku", "oku", "kwaku", "kwa", "seku", "aku"},
}};

// The glide put between a formative and a concord that begins with a vowel.
std::string_view ConcordGlide(std::string_view concord) {
  if (concord.empty()) return "";
  if (concord[0] == 'a' || concord[0] == 'u') return "w";
  if (concord[0] == 'i') return "y";
  return "";
}

bool ContainsFolded(std::string_view word, std::string_view part) {
  if (part.size() > word.size()) return false;
  for (size_t at = 0; at + part.size() <= word.size(); ++at)
    if (EqualsIgnoringCase(word.substr(at, part.size()), part)) return true;
  return false;
}
bool StartsWithFolded(std::string_view word, std::string_view start) {
  return word.size() >= start.size() && EqualsIgnoringCase(word.substr(0, start.size()), start);
}
bool EndsWithFolded(std::string_view word, std::string_view end) {
  return word.size() >= end.size() &&
         EqualsIgnoringCase(word.substr(word.size() - end.size()), end);
}

// The possessive phrases of the name head + body with one possessive stem.
// Taking the name in two pieces lets callers pass "ng" + G without joining them.
void AddPossessive(std::string_view head, std::string_view body, std::string_view stem,
                   FormSink& forms) {
  // A stem in "i" merges with the name's last vowel: "wa" + "ithu" gives "wethu".
  std::string_view end;
  if (!stem.empty() && stem[0] == 'i') {
    body = DropLastChars(body, 1);
    end = "e";
    stem.remove_prefix(1);
  }
  const char first = !head.empty()   ? head[0]
                     : !body.empty() ? body[0]
                     : end.empty()   ? '\0'
                                     : end[0];
  const auto add = [&](std::string_view a, std::string_view b) {
    forms.Add({a, b, head, body, end, stem});
  };
  add("", "");
  for (std::string_view n : NgaConcords) {
    add(n, "ngenjenge");
    add(n, "ngengange");
  }
  if (first == 'o') {
    add("ng", "");
    add("okung", "");
    add("ong", "");
  }
  add("olukwe", "");
  if (IsVowel(first)) {
    for (std::string_view j : SubjectConcords) add(j, "l");
    add(KuBeforeVowelView(std::string_view(&first, 1)), "");
  } else {
    add("ungo", "");
    add("kungo", "");
    for (std::string_view a : PossessiveConcords) add(a, "");
    add("umkamfo", "");
    add("lomkamfo", "");
  }
}

void AddCopulaPronouns(const Copula& c, std::string_view s, FormSink& forms) {
  forms.Add({c.plain, s});
  forms.Add({c.negative, s});
  for (std::string_view g : NegativeSubjectConcords) {
    forms.Add({g, c.negative_infix, s});
    forms.Add({"k", g, c.negative_infix, s});
  }
  for (std::string_view f : c.fixed)
    if (!f.empty()) forms.Add({f, s});
  for (size_t j = 0; j < NgaConcords.size(); ++j) {
    forms.Add({NgaConcords[j], c.past_negative, s});
    forms.Add({BeConcords[j], c.past_negative, s});
  }
  forms.Add({"ku", c.past_negative, s});
  for (std::string_view r : RelativeConcords) {
    forms.Add({r, c.past_negative, s});
    forms.Add({r, c.relative, s});
  }
  for (std::string_view a : c.after_relative)
    if (!a.empty()) forms.Add({a, s});
  for (std::string_view j : SubjectConcords) forms.Add({j, c.relative, s});
  for (std::string_view f : c.closing) forms.Add({f, s});
}

// Every group of pronoun forms ends in one stem, so a check can pass over the
// groups whose stem does not end the word. A list built for its own sake keeps
// every group.
class Endings {
 public:
  static Endings All() { return Endings({}, false); }
  static Endings Of(std::string_view word) { return Endings(word, true); }
  bool Wanted(std::string_view ending) const { return !active_ || EndsWithFolded(word_, ending); }

 private:
  Endings(std::string_view word, bool active) : word_(word), active_(active) {}
  std::string_view word_;
  bool active_;
};

// The possessive stem as it ends a phrase: a stem in "i" loses that vowel.
std::string_view PhraseEnding(std::string_view stem) {
  return !stem.empty() && stem[0] == 'i' ? stem.substr(1) : stem;
}

void PronounForms(std::string_view word, const Endings& endings, FormSink& forms);

// Runs a check: builds its forms into a matcher that stops at the first match.
template <typename Build>
bool Matches(std::string_view word, Build&& build) {
  FormMatcher matcher(word);
  build(matcher);
  return matcher.Found();
}

}  // namespace

std::string JoinWithConcordGlide(std::string_view prefix, std::string_view concord) {
  std::string joined(prefix);
  joined += ConcordGlide(concord);
  joined += concord;
  return joined;
}

void AddPossessivePhrases(std::string_view name, std::string_view stem, FormSink& forms) {
  AddPossessive("", name, stem, forms);
}

void AddPresentativeForms(FormSink& forms) {
  for (std::string_view p : PresentativeStems) {
    forms.Add({"na", p});
    forms.Add({"na", p, "ya"});
    forms.Add({"na", p, "yana"});
    forms.Add({"na", p.substr(0, 2), "o", p.substr(3)});
  }
}

void AddPronounForms(std::string_view word, FormSink& forms) {
  PronounForms(word, Endings::All(), forms);
}

namespace {

void PronounForms(std::string_view word, const Endings& endings, FormSink& forms) {
  for (std::string_view s : PronounStemsLi) forms.Add({s, "na"});

  if (EndsWithFolded(word, "nke")) {
    for (std::string_view q : QuantitativeStems) forms.Add({q, "nke"});
    for (std::string_view w : {"sisonke", "lilonke", "babonke"}) forms.Add(w);
  }

  for (std::string_view s : PronounStemsNi) {
    if (forms.Done()) return;
    if (!endings.Wanted(s)) continue;
    for (std::string_view f : PronounFormatives) forms.Add({f, s});
    for (std::string_view j : SubjectConcords) {
      forms.Add({j, "la", s});
      forms.Add({"a", j, "la", s});
      forms.Add({"ka", j, "la", s});
      forms.Add({j, "sesela", s});
    }
    for (size_t i = 0; i < RelativeNgaConcords.size(); ++i) {
      forms.Add({RelativeNgaConcords[i], "la", s});
      forms.Add({"l", RelativeNgaConcords[i], "la", s});
      forms.Add({BeConcords[i], "la", s});
      forms.Add({NgaConcords[i], "ngela", s});
      forms.Add({RelativeBeConcords[i], "la", s});
    }
    for (std::string_view r : RelativeConcords) {
      forms.Add({r, "la", s});
      forms.Add({r, "nga", s});
    }
    for (std::string_view e : SeConcords) forms.Add({e, "la", s});
    for (std::string_view p : ParticipialConcords) {
      forms.Add({p, "sela", s});
      forms.Add({p, "ngela", s});
    }
  }

  for (std::string_view k : KuPronouns) {
    if (forms.Done()) return;
    if (!endings.Wanted(k)) continue;
    forms.Add(k);
    forms.Add({"nga", k});
    for (std::string_view r : RelativeConcords) {
      forms.Add({r, k});
      forms.Add({"l", r, k});
      if (r[0] == 'a') forms.Add({"kw", r, k});
    }
    for (std::string_view n : NgaConcords) forms.Add({n, "ngaba", k});
    forms.Add({"la", k});
    for (std::string_view j : SubjectConcords) forms.Add({j, k});
    forms.Add({"kula", k});
    forms.Add({"yela", k});
    forms.Add({"ngowa", k});
    for (std::string_view n : RelativeNgaConcords) forms.Add({n, k});
  }

  for (std::string_view t : PossessiveStems) {
    if (forms.Done()) return;
    if (!endings.Wanted(PhraseEnding(t))) continue;
    for (std::string_view a : PossessiveConcords) AddPossessive("", a, t, forms);
    for (std::string_view name : PossessorNames) AddPossessive("", name, t, forms);
  }

  for (std::string_view a : PossessiveConcords) {
    forms.Add({a, "kithi"});
    forms.Add({a, "kini"});
    forms.Add({a, "kibo"});
  }

  for (std::string_view d : Demonstratives) {
    if (forms.Done()) return;
    if (!endings.Wanted(d)) continue;
    forms.Add(d);
    forms.Add({"ku", d});
    forms.Add({"la", d});
    forms.Add({"nga", d});
    for (std::string_view a : PossessiveConcords) {
      forms.Add({a, d});
      forms.Add({"kungo", a, d});
      forms.Add({a, "ku", d});  // of a place: abantu bakuleli (of this country)
    }
    forms.Add({"laku", d});
  }

  for (size_t i = 0; i < PronounStemsNi.size(); ++i) {
    if (forms.Done()) return;
    if (!endings.Wanted(PronounStemsNi[i])) continue;
    // "we" and "ye" (second and third person singular) take "ngu".
    AddCopulaPronouns(i == 1 || i == 2 ? NguCopula : YiCopula, PronounStemsNi[i], forms);
  }

  for (std::string_view g : RelativePossessiveConcords) {
    if (forms.Done()) return;
    forms.Add({g, "ni"});
    forms.Add({"ng", g, "ni"});
    for (std::string_view t : PossessiveStems) {
      if (!endings.Wanted(PhraseEnding(t))) continue;
      AddPossessive("", g, t, forms);
      AddPossessive("ng", g, t, forms);
      AddPossessive("l", g, t, forms);
    }
  }

  for (std::string_view s : PronounStemsLi) {
    if (forms.Done()) return;
    if (!endings.Wanted(s)) continue;
    forms.Add({"njenga", s});
    for (std::string_view j : SubjectConcords) {
      forms.Add({j, "njenga", s});
      forms.Add({j, "nganga", s});
    }
    for (std::string_view r : RelativeConcords) {
      forms.Add({r, "njenga", s});
      forms.Add({r, "nganga", s});
    }
  }

  for (std::string_view d : CopulaDemonstratives) {
    if (forms.Done()) return;
    if (!endings.Wanted(d)) continue;
    forms.Add({"yi", d});
    forms.Add({"kasi", d});
    forms.Add({"kaseyi", d});
    for (std::string_view g : NegativeSubjectConcords) {
      forms.Add({g, "seyi", d});
      forms.Add({"k", g, "seyi", d});
    }
    for (size_t p = 0; p < 6; ++p) forms.Add({ParticipialConcords[p], "ngaseyi", d});
    for (std::string_view j : SubjectConcords) forms.Add({j, "yi", d});
    forms.Add({"kula", d});
    forms.Add({"ongowa", d});
  }

  for (std::string_view s : PronounStemsLi) forms.Add({"kungesi", s});
  for (std::string_view w : FixedClosedWords) forms.Add(w);
}

}  // namespace

void AddNumberedOrCopulaForms(std::string_view word, FormSink& forms) {
  if (word.find('-') != std::string_view::npos) {
    char digits[4];
    const auto add_numbered = [&](std::string_view head, int last) {
      for (int n = 1; n <= last; ++n) {
        const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
        forms.Add({head, std::string_view(digits, static_cast<size_t>(end - digits))});
      }
    };
    add_numbered("ngo-", 12);
    add_numbered("u-", 12);
    add_numbered("ka-", 31);
  }
  if (StartsWithFolded(word, "il"))
    for (std::string_view f : FarDemonstratives) forms.Add({"i", f});
  if (StartsWithFolded(word, "yil"))
    for (std::string_view f : FarDemonstratives) forms.Add({"yi", f});
}

void AddDwaForms(FormSink& forms) {
  for (const DwaSlot& slot : DwaSlots) {
    if (forms.Done()) return;
    const std::string_view d = slot.stem;  // every form below ends in d + "dwa"
    const std::string_view rel_ku = KuBeforeVowelView(slot.relative);
    forms.Add({d, "dwa"});
    forms.Add({"la", d, "dwa"});
    forms.Add({slot.subject, d, "dwa"});
    forms.Add({slot.be, d, "dwa"});
    forms.Add({slot.participial, d, "dwa"});
    forms.Add({slot.participial, "se", d, "dwa"});
    forms.Add({slot.relative, d, "dwa"});
    forms.Add({rel_ku, slot.relative, d, "dwa"});
    forms.Add({"l", slot.relative, d, "dwa"});
    forms.Add({"la", rel_ku, slot.relative, d, "dwa"});
    forms.Add({slot.nga, d, "dwa"});
    forms.Add({slot.past, "ba", d, "dwa"});
    forms.Add({slot.se, d, "dwa"});
    forms.Add({slot.participial, "nga", d, "dwa"});
    forms.Add({slot.relative, "nge", d, "dwa"});
    forms.Add({slot.negative, d, "dwa"});
    forms.Add({"k", slot.negative, d, "dwa"});
    forms.Add({slot.negative, "njengoyedwa"});
    forms.Add({"k", slot.negative, "njengoyedwa"});
  }
}

void AddPhiForms(FormSink& forms) {
  for (std::string_view j : SubjectConcords) {
    forms.Add({j, "phi"});
    for (std::string_view f : PhiFormatives) forms.Add({f, ConcordGlide(j), j, "phi"});
  }
  for (std::string_view x : PhiCopulatives) forms.Add({x, "phi"});
}

bool IsPresentative(std::string_view word) {
  if (!ContainsFolded(word, "na")) return false;
  return Matches(word, [](FormSink& forms) { AddPresentativeForms(forms); });
}

bool IsPronounWord(std::string_view word) {
  return Matches(word, [word](FormSink& forms) { PronounForms(word, Endings::Of(word), forms); });
}

bool IsNumberedOrCopulaWord(std::string_view word) {
  return Matches(word, [word](FormSink& forms) { AddNumberedOrCopulaForms(word, forms); });
}

bool IsDwaWord(std::string_view word) {
  if (!EndsWithFolded(word, "dwa")) return false;
  return Matches(word, [](FormSink& forms) { AddDwaForms(forms); });
}

bool IsPhiWord(std::string_view word) {
  if (!EndsWithFolded(word, "phi")) return false;
  return Matches(word, [](FormSink& forms) { AddPhiForms(forms); });
}

bool IsClosedClassWord(std::string_view word) {
  return IsPresentative(word) || IsPronounWord(word) || IsNumberedOrCopulaWord(word) ||
         IsDwaWord(word) || IsPhiWord(word);
}

}  // namespace tovuri
