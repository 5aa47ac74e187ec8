#include "analyser/noun_forms.h"

#include <algorithm>
#include <span>

#include "analyser/concord_tables.h"
#include "analyser/lexicon.h"
#include "analyser/morpheme_ops.h"
#include "analyser/noun_phrases.h"

namespace tovuri {
namespace {

bool StartsWith(std::string_view s, std::string_view head) {
  return s.substr(0, head.size()) == head;
}

bool OneOf(std::string_view s, std::initializer_list<std::string_view> choices) {
  return std::find(choices.begin(), choices.end(), s) != choices.end();
}

// s without its first letter (empty stays empty).
std::string_view WithoutFirst(std::string_view s) { return s.empty() ? s : s.substr(1); }

template <typename... Pieces>
std::string Join(const Pieces&... pieces) {
  std::string out;
  for (std::string_view piece : {std::string_view(pieces)...}) out += piece;
  return out;
}

// How a class derives the prefix of its second or third shape.
enum class PrefixRule {
  kKeep,              // the entry's own prefix
  kLiteral,           // the text given in the row
  kSecondLetterToZ,   // isi -> izi
  kIzBefore,          // in -> izin, im -> izim
  kAbBeforeVowel,     // "ab" before a vowel-initial stem, else "aba"
  kIzimBeforeLabial,  // "izim" before b f p v, else "izin"
  kSecondWithoutTwo,  // the second shape's prefix less its first two letters
};

enum class StemRule {
  kNone,
  kInAmaAspirate,  // plural of "in" nouns in k-: kom -> khom
  kUluIzin,        // plural drops a second-letter "h"; "n" of izin/in dropped before n-;
                   // "l" becomes "d" after the nasal
};

struct PrefixSpec {
  PrefixRule rule = PrefixRule::kKeep;
  std::string_view text;
};

struct Demonstratives {
  std::string_view near_form;
  std::string_view far_form;
};

struct ClassRow {
  std::string_view tag, other_tag;  // other_tag: a second tag sharing the row, or empty
  int count;
  PrefixSpec second, third;
  Demonstratives demonstratives[3];
  StemRule stem_rule = StemRule::kNone;
};

constexpr PrefixSpec Literal(std::string_view text) { return {PrefixRule::kLiteral, text}; }
constexpr PrefixSpec Rule(PrefixRule rule) { return {rule, {}}; }
constexpr PrefixSpec kKeep = Rule(PrefixRule::kKeep);

constexpr Demonstratives kLo{"lo", "lowo"}, kLaba{"laba", "labo"}, kLesi{"lesi", "leso"},
    kLezi{"lezi", "lezo"}, kLe{"le", "leyo"}, kLa{"la", "lawo"}, kLeli{"leli", "lelo"},
    kLolu{"lolu", "lolo"}, kLobu{"lobu", "lobo"}, kLokhu{"lokhu", "lokho"}, kNone{};

// The noun classes: how many shapes each has, their prefixes and demonstratives.
constexpr ClassRow kClassTable[] = {
    {"u/o", "person", 2, Literal("o"), kKeep, {kLo, kLaba, kNone}},
    {"u", "", 1, kKeep, kKeep, {kLo, kNone, kNone}},
    {"place", "", 1, kKeep, kKeep, {kNone, kNone, kNone}},
    {"isi/izi", "", 2, Rule(PrefixRule::kSecondLetterToZ), kKeep, {kLesi, kLezi, kNone}},
    {"isi", "", 1, kKeep, kKeep, {kLesi, kNone, kNone}},
    {"izi", "", 1, kKeep, kKeep, {kLezi, kNone, kNone}},
    {"in/izin", "", 3, Rule(PrefixRule::kIzBefore), kKeep, {kLe, kLezi, kLezi}},
    {"um", "", 1, kKeep, kKeep, {kLo, kNone, kNone}},
    {"um/aba", "", 2, Rule(PrefixRule::kAbBeforeVowel), kKeep, {kLo, kLaba, kNone}},
    {"um/ama", "", 2, Literal("ama"), kKeep, {kLo, kLa, kNone}},
    {"ili/ama", "", 2, Literal("ama"), kKeep, {kLeli, kLa, kNone}},
    {"ili", "", 1, kKeep, kKeep, {kLeli, kNone, kNone}},
    {"ama", "", 1, kKeep, kKeep, {kLa, kNone, kNone}},
    {"um/imi", "", 2, Literal("imi"), kKeep, {kLo, kLe, kNone}},
    {"imi", "", 1, kKeep, kKeep, {kLe, kNone, kNone}},
    {"umu", "", 1, kKeep, kKeep, {kLo, kNone, kNone}},
    {"in/ama", "", 2, Literal("ama"), kKeep, {kLe, kLa, kNone}, StemRule::kInAmaAspirate},
    {"ulu/izin", "", 3, Rule(PrefixRule::kIzimBeforeLabial), Rule(PrefixRule::kSecondWithoutTwo),
     {kLolu, kLezi, kLezi}, StemRule::kUluIzin},
    {"ulu", "", 1, kKeep, kKeep, {kLolu, kNone, kNone}},
    {"ubu", "", 1, kKeep, kKeep, {kLobu, kNone, kNone}},
    {"uku", "", 1, kKeep, kKeep, {kLokhu, kNone, kNone}},
    {"u/o/ama", "", 3, Literal("o"), Literal("ama"), {kLo, kLaba, kLa}},
    {"in", "", 1, kKeep, kKeep, {kLe, kNone, kNone}},
    {"im", "", 1, kKeep, kKeep, {kLe, kNone, kNone}},
};

bool IsLabial(char c) { return c == 'b' || c == 'f' || c == 'p' || c == 'v'; }

std::string ApplyPrefixRule(const PrefixSpec& how, std::string_view prefix, std::string_view stem,
                            const std::string& second_prefix) {
  switch (how.rule) {
    case PrefixRule::kKeep:
      return std::string(prefix);
    case PrefixRule::kLiteral:
      return std::string(how.text);
    case PrefixRule::kSecondLetterToZ: {
      std::string p(prefix);
      if (p.size() >= 2) p[1] = 'z';
      return p;
    }
    case PrefixRule::kIzBefore:
      return "iz" + std::string(prefix);
    case PrefixRule::kAbBeforeVowel:
      return !stem.empty() && IsVowel(stem[0]) ? "ab" : "aba";
    case PrefixRule::kIzimBeforeLabial:
      return !stem.empty() && IsLabial(stem[0]) ? "izim" : "izin";
    case PrefixRule::kSecondWithoutTwo:
      return second_prefix.size() > 2 ? second_prefix.substr(2) : std::string();
  }
  return std::string(prefix);
}

void ApplyStemRule(StemRule rule, std::string_view prefix, std::string_view stem,
                   NumberVariants& out) {
  auto& v = out.variants;
  switch (rule) {
    case StemRule::kNone:
      return;
    case StemRule::kInAmaAspirate:
      if (prefix == "in" && StartsWith(stem, "k")) v[1].stem = Join("k", "h", stem.substr(1));
      return;
    case StemRule::kUluIzin:
      if (stem.size() >= 2 && stem[1] == 'h') {
        v[1].stem.erase(1, 1);
        v[2].stem.erase(1, 1);
      }
      // After the nasal of izin a stem's initial "l" is said "d": ulimi, izindimi.
      if (StartsWith(stem, "l"))
        for (int j = 1; j < out.count; ++j)
          if (!v[j].prefix.empty() && v[j].prefix.back() == 'n' && StartsWith(v[j].stem, "l"))
            v[j].stem[0] = 'd';
      // A nasal prefix meets a stem's own initial "n": izin + nwele is izinwele.
      if (StartsWith(stem, "n"))
        for (int j = 0; j < out.count; ++j)
          if (!v[j].prefix.empty() && v[j].prefix.back() == 'n') v[j].prefix.pop_back();
      return;
  }
}

// The heads of the twelve demonstrative phrases (this/that, at this, like this...).
constexpr std::string_view kDemonstrativeHeads[] = {
    "", "ku", "la", "nga", "laku", "njenga", "njengaku", "kula", "langa", "lanjenga",
    "kungeku", "kwakunga"};

constexpr std::string_view kPersonLocativeTail[] = {"kowayengumka", "abaka", "labaka", "eyako",
                                                    "leyako"};
constexpr std::string_view kPlaceLocativeTail[] = {
    "kwele", "um", "lum", "ama", "lama", "leze", "esese", "ababese", "kwabase", "ngise",
    "olungase", "use", "labase"};

constexpr std::string_view kPersonHeadsA[] = {"lelika", "loka", "ongoka", "leka", "yabako",
                                              "kulobuka", "kulokuka", "ababeku", "abako",
                                              "kwabako"};
constexpr std::string_view kPersonHeadsB[] = {
    "kwaka", "njengokuka", "beku", "lo", "ngabako", "njengabako", "ayeku", "bangabako",
    "engoka", "njengaku", "okwakuku", "ongowoko", "wayeku"};

// Fixed whole words (directional nouns) keyed by the stem that brings them in.
constexpr std::string_view kLeftWords[] = {"ngakwesokhohlo", "abangakwesokhohlo",
                                           "langakwesokhohlo"};
constexpr std::string_view kRightWords[] = {"ngakwesokunene", "abangakwesokunene",
                                            "lakwesokunene", "ongakwesokunene"};
struct FixedWords {
  std::string_view stem;
  std::span<const std::string_view> words;
};
constexpr FixedWords kFixedWords[] = {{"khohl", kLeftWords}, {"nen", kRightWords}};

// The vowel that a formative's final "a" and a prefix's first letter make together.
struct CoalescedVowel {
  char initial;
  std::string_view vowel;
};
constexpr CoalescedVowel kCoalescedVowels[] = {{'u', "o"}, {'i', "e"}, {'a', "a"}, {'o', "abo"}};

// Nouns of people and kin, whose possessive is "ka" + the noun (kababa).
bool IsPersonal(std::string_view tag, std::string_view prefix) {
  return (prefix == "u" && tag == "u/o") || tag == "person" || tag == "u/o/ama";
}

// What every per-variant family needs: the variant's parts and the formatives
// already joined to its prefix, so each is built once per variant.
struct VariantParts {
  std::string_view tag;
  int index;  // 0-based number of the variant
  std::string_view p, pp, s, f;
  std::string_view near_less_last, far_form;
  std::string jla, jnga, jsila, jnjengela, jngenjenga, jnjenga, jkungenjenga, jnganga, jkowa;
  std::array<std::string, PossessiveConcords.size()> jpossessive;
  std::array<std::string, RelativePossessiveConcords.size()> jrelative_possessive;
};

// Appends head pieces followed by the variant's stem and final letter.
class VariantWriter {
 public:
  VariantWriter(const VariantParts& v, FormSink& forms) : v_(v), forms_(forms) {}
  template <typename... Pieces>
  void operator()(const Pieces&... head) {
    forms_.Add({std::string_view(head)..., v_.s, v_.f});
  }
  bool Done() const { return forms_.Done(); }

 private:
  const VariantParts& v_;
  FormSink& forms_;
};

void AddAssociatives(const VariantParts& v, VariantWriter& h) {
  const std::string& jla = v.jla;
  h(v.p);
  h(jla);
  h("la", v.pp);
  h("kubela", v.pp);
  h("baba", jla);
  h("babange", jla);
  for (std::string_view sc : SubjectConcords) {
    h(sc, jla);
    h("a", sc, "la", v.pp);
    h("ka", sc, "la", v.pp);
    h(sc, "se", jla);
    h("a", sc, "sela", v.pp);
    h("ka", sc, "sela", v.pp);
    h("akungabila", v.pp);
    h("kakungabila", v.pp);
    h(sc, "se", jla);
    h(sc, "sese", jla);
    h(sc, "ngasela", v.pp);
  }
  h("waba", jla);
  h("wasesiba", jla);
  h("yasisiba", jla);
  if (h.Done()) return;
  for (size_t k = 0; k < RelativeNgaConcords.size(); ++k) {
    const std::string_view g = RelativeNgaConcords[k];
    h(g, jla);
    h("l", g, jla);
    h(g, "ngela", v.pp);
    h(RelativeBeConcords[k], jla);
  }
  for (std::string_view n : NegativeSubjectConcords) {
    h(n, "la", v.pp);
    h("k", n, "la", v.pp);
    h(n, v.jsila);
    h("k", n, v.jsila);
  }
  for (std::string_view s : SeConcords) h(s, jla);
}

void AddPastAssociatives(const VariantParts& v, VariantWriter& h) {
  const std::string& jla = v.jla;
  for (size_t k = 0; k < BeConcords.size(); ++k) {
    const std::string_view b = BeConcords[k];
    const std::string_view g = NgaConcords[k];
    h(b, jla);
    h(b, "ngela", v.pp);
    h(g, jla);
    h(g, "ngela", v.pp);
    h(b, jla);
    h(g, jla);
    h(b, "nge", jla);
    h(g, "nge", jla);
    h(BeSeConcords[k], jla);
    h(NgaSeConcords[k], v.pp);
  }
  for (std::string_view pc : ParticipialConcords) h(pc, "ngela", v.pp);
  for (std::string_view f : FixedVerbPrefixes) h(f, jla);
  for (std::string_view r : RelativeSeConcords) h(r, jla);
  for (std::string_view r : RelativeConcords) {
    h(r, jla);
    h(KuBeforeVowel(r), r, jla);
    h(r, v.jnjengela);
  }
  h("njengongela", v.pp);
  h("njengabangela", v.pp);
}

void AddInstrumentals(const VariantParts& v, VariantWriter& h) {
  const std::string& jnga = v.jnga;
  h(jnga);
  h("la", jnga);
  for (std::string_view n : NegativeSubjectConcords) {
    h(n, jnga);
    h("k", n, jnga);
  }
  h("nga", v.pp);
  h("kunge", jnga);
  h("kunga", v.pp);
  h("lanje", jnga);
  for (std::string_view r : RelativeConcords) {
    h(r, jnga);
    h(r, v.jngenjenga);
  }
  for (std::string_view sc : SubjectConcords) h(sc, jnga);
}

void AddKuLocatives(const VariantParts& v, VariantWriter& h) {
  if (v.tag == "u/o" || v.tag == "u/o/ama") {
    // The plural takes "kub": kubobaba; the other shapes "ku" + prefix less its vowel.
    const std::string_view ku = v.index == 1 ? "kub" : "ku";
    const std::string_view rest = v.index == 1 ? v.p : v.pp;
    h(ku, rest);
    h("la", ku, rest);
  } else if (v.tag == "person") {
    h("ko");
    for (std::string_view q : PossessiveConcords) h(q, "ko");
    h("ku");
    h("laku");
    for (size_t slot = 3; slot <= 5; ++slot) h(SubjectConcords[slot], "ngabaka");
    for (std::string_view r : RelativeConcords) h(r, "ku");
    for (std::string_view head : kPersonLocativeTail) h(head);
  } else if (v.tag == "place") {
    h("e");
    for (std::string_view q : PossessiveConcords) h(q, "se");
    for (std::string_view r : RelativeConcords) h(r, "se");
    for (std::string_view head : kPlaceLocativeTail) h(head);
  } else {
    h("ku", v.pp);
    h("laku", v.pp);
    h("seku", v.pp);
    for (std::string_view sc : SubjectConcords) h(sc, "ku", v.pp);
    // Those at the place or with the body: abakuhulumende (those in government).
    for (std::string_view r : RelativeConcords) h(r, "ku", v.pp);
    h("okungoko", v.pp);
  }
}

// How the entry forms its own locative, decided once per entry.
struct EntryLocative {
  const std::string* explicit_forms = nullptr;  // "a" or "a/b" from the lexicon
  bool short_locative = false;
};

void AddEntryLocatives(const VariantParts& v, const EntryLocative& entry, std::string_view stem,
                       VariantWriter& h, FormSink& forms) {
  if (entry.explicit_forms) {
    std::string_view rest = *entry.explicit_forms;
    if (const size_t slash = rest.find('/'); slash != std::string_view::npos) {
      AddLocativePhrases(rest.substr(0, slash), forms);
      rest = rest.substr(slash + 1);
    }
    AddLocativePhrases(rest, forms);
  } else if (entry.short_locative) {
    if (stem != "tambam") {
      AddLocativePhrases(Join("e", v.pp, v.s, v.f), forms);
    } else {
      h(v.pp);
      for (std::string_view q : PossessiveConcords) h(q, v.pp);
    }
  } else if (!OneOf(v.tag, {"u/o", "person", "place"})) {
    AddLocativePhrases(Join("e", v.pp, LocativeBody(v.s, v.f)), forms);
  }
  if (v.tag == "uku") {
    // The negative infinitive's locative: "at not doing".
    const bool ends_in_w = !v.s.empty() && v.s.back() == 'w';
    AddLocativePhrases(Join("e", v.pp, "nga", LocativeBody(v.s, ends_in_w ? v.f : "i")), forms);
  }
}

void AddPossessives(const VariantParts& v, VariantWriter& h) {
  for (size_t i = 0; i < PossessiveConcords.size(); ++i) {
    const std::string_view q = PossessiveConcords[i];
    const std::string& jq = v.jpossessive[i];
    h(jq);
    h(StartsWith(q, "k") ? "kulo" : "kule", jq);
    h("kwe", jq);
    h("la", jq);
    for (std::string_view sc : SubjectConcords) h(sc, "njenga", jq);
    for (std::string_view r : RelativeConcords) h(r, "njenge", jq);
  }
}

void AddDemonstratives(const VariantParts& v, VariantWriter& h) {
  const std::string_view near = v.near_less_last;
  const std::string_view far = v.far_form;
  for (std::string_view x : kDemonstrativeHeads) {
    h(x, near, v.p);
    h(x, far, v.pp);
  }
  for (std::string_view q : PossessiveConcords) {
    h(q, near, v.p);
    h(q, far, v.pp);
  }
  for (std::string_view sc : SubjectConcords) {
    h(sc, "ku", near, v.p);
    h(sc, "ku", far, v.pp);
    h(sc, "la", near, v.p);
    h(sc, "la", far, v.pp);
  }
  h("kulaku", near, v.p);
  h("kulaku", far, v.pp);
  for (std::string_view rp : RelativePossessiveConcords) {
    h(rp, near, v.p);
    h(rp, far, v.pp);
  }
  for (std::string_view g : NgaSeConcords) {
    h(g, "ku", near, v.p);
    h(g, "ku", far, v.pp);
  }
}

void AddRelativeAssociatives(const VariantParts& v, VariantWriter& h) {
  const std::string& jla = v.jla;
  for (std::string_view r : RelativeConcords) {
    h(r, jla);
    h("l", r, jla);
    h(r, "ngela", v.pp);
    h("l", r, "ngela", v.pp);
    h("z", r, "ngela", v.pp);
    if (r == "aba") {
      h("liseng", r, "ngela", v.pp);
      h("kw", r, jla);
      h("ling", r, "ngela", v.pp);
    }
    h(r, "ngala", v.pp);
    h("njeng", r, jla);
  }
  for (std::string_view pc : ParticipialConcords) h(pc, jla);
  for (std::string_view pc : ParticipialConcords) {
    h(pc, "la", v.pp);
    h(pc, "ngelala", v.pp);
  }
}

// The copulative ("it is ...") of the variant, chosen by the first rule that fits.
void AddCopulatives(const VariantParts& v, FormSink& forms) {
  const std::string_view p = v.p;
  std::string word;
  const auto copulative = [&](std::initializer_list<std::string_view> head) {
    word.clear();
    for (std::string_view piece : head) word.append(piece);
    word.append(v.s).append(v.f);
    AddCopulativePhrases(word, forms);
  };
  const bool vowel_a_o_u = StartsWith(p, "a") || StartsWith(p, "o") || StartsWith(p, "u");
  if (OneOf(v.tag, {"ili/ama", "ili"}) && p == "i") {
    copulative({"l", p});
  } else if (OneOf(v.tag, {"ulu/izin", "ulu", "u/o/ama"}) && p == "u") {
    copulative({"l", p});
  } else if (v.tag == "ubu" && p == "u") {
    copulative({"b", p});
    copulative({"ng", p});
  } else if (OneOf(v.tag, {"in/izin", "in", "im", "ulu/izin"}) && OneOf(p, {"in", "im"}) &&
             v.index == 2) {
    copulative({"z", p});
  } else if (vowel_a_o_u && !OneOf(p, {"ulu", "ubu", "uku", "ukw"})) {
    copulative({"ng", p});
  } else if (vowel_a_o_u) {
    copulative({"yi", v.pp});
  } else if (StartsWith(p, "i")) {
    copulative({"y", p});
    copulative({"yi", v.near_less_last, p});
    copulative({"yi", v.far_form, v.pp});
  }
}

void AddRelativePossessives(const VariantParts& v, VariantWriter& h) {
  for (size_t i = 0; i < RelativePossessiveConcords.size(); ++i) {
    const std::string_view rp = RelativePossessiveConcords[i];
    const std::string& jrp = v.jrelative_possessive[i];
    h(jrp);
    h("la", KuBeforeVowel(rp), jrp);
    h("njeng", jrp);
    h("ng", jrp);
    h("lang", jrp);
    for (std::string_view sc : SubjectConcords) h(sc, "ng", jrp);
    h("l", jrp);
    if (StartsWith(rp, "a"))
      for (std::string_view q : PossessiveConcords) h(q, WithoutFirst(jrp));
    // Class 10's names a field (ezemfundo: education) and takes possessives
    // itself, its vowel swallowing theirs: wezemfundo, bezemfundo, lwezemfundo.
    if (rp == "eza")
      for (std::string_view q : PossessiveConcords) h(q.substr(0, q.size() - 1), jrp);
    h("wayeng", jrp);
    h("y", jrp);
    h("abang", jrp);
    h("liseng", jrp);
  }
}

void AddComparatives(const VariantParts& v, VariantWriter& h) {
  h(v.jnjenga);
  h(v.jkungenjenga);
  for (std::string_view sc : SubjectConcords) h(sc, v.jnjenga);
  for (std::string_view n : NegativeSubjectConcords) {
    h(n, v.jnjenga);
    h("k", n, v.jnjenga);
    h(n, v.jnganga);
    h("k", n, v.jnganga);
  }
  for (std::string_view g : NgaConcords) {
    h(g, v.jnjenga);
    h(g, v.jnganga);
  }
  for (std::string_view r : RelativeConcords) h(r, v.jnjenga);
}

void AddClosingHeads(const VariantParts& v, std::string_view prefix, VariantWriter& h) {
  if (v.index == 0) h(JoinFormative(IsPersonal(v.tag, prefix) ? "okuka" : "okwa", v.p));
  if (OneOf(v.tag, {"isi/izi", "isi", "izi"})) {
    h("ka", v.pp);
  } else if (v.tag == "ili/ama") {
    if (v.index == 0) h("kal", v.p);
    if (v.index == 1) h("ka", v.pp);
  }
  if (v.tag != "uku") h(v.pp.substr(0, 10));
  h(v.jkowa);
  h("kunge", v.pp);
  h("aba", v.pp);
  if (v.p == "isi" || v.p == "is") h("kayisiso", v.pp);
}

void AddVariantForms(const VariantParts& v, const EntryLocative& entry, std::string_view prefix,
                     std::string_view stem, FormSink& forms) {
  VariantWriter h(v, forms);
  AddAssociatives(v, h);
  if (forms.Done()) return;
  AddPastAssociatives(v, h);
  if (forms.Done()) return;
  AddInstrumentals(v, h);
  AddKuLocatives(v, h);
  if (forms.Done()) return;
  AddEntryLocatives(v, entry, stem, h, forms);
  if (forms.Done()) return;
  AddPossessives(v, h);
  AddDemonstratives(v, h);
  if (forms.Done()) return;
  AddRelativeAssociatives(v, h);
  AddCopulatives(v, forms);
  if (forms.Done()) return;
  AddRelativePossessives(v, h);
  AddComparatives(v, h);
  AddClosingHeads(v, prefix, h);
}

// Appends head pieces followed by the entry's own stem and final letter (and a suffix).
class EntryWriter {
 public:
  EntryWriter(std::string_view stem, std::string_view final, FormSink& forms)
      : stem_(stem), final_(final), forms_(forms) {}
  template <typename... Pieces>
  void operator()(const Pieces&... head) {
    forms_.Add({std::string_view(head)..., stem_, final_});
  }
  template <typename... Pieces>
  void WithNye(const Pieces&... head) {
    forms_.Add({std::string_view(head)..., stem_, final_, "nye"});
  }

 private:
  std::string_view stem_, final_;
  FormSink& forms_;
};


void AddPersonForms(std::string_view prefix, std::string_view stem, std::string_view final,
                    EntryWriter& e, FormSink& forms) {
  e("e");
  e("Ma");
  e("uMa");
  AddKinshipForms(Join("kaMa", stem, final), forms);
  for (std::string_view sc : SubjectConcords)
    if (sc.size() == 2) e(sc, "kaMa");
  for (size_t slot = 0; slot < 2; ++slot) e(RelativeConcords[slot], "ng", prefix);
  for (std::string_view head : kPersonHeadsA) e(head);
  for (std::string_view sc : SubjectConcords) e(sc, "ku");
  for (std::string_view head : kPersonHeadsB) e(head);
}

void AddKinshipPossessives(std::string_view stem, std::string_view final, EntryWriter& e,
                           FormSink& forms) {
  AddKinshipForms(Join("ka", stem, final), forms);
  for (std::string_view sc : SubjectConcords)
    if (sc.size() == 2) e(sc, "ka");
  e("kuka");
  for (std::string_view r : RelativeConcords) {
    e(r, "ka");
    e("ng", r, "ka");
    for (std::string_view sc : SubjectConcords) e(sc, "ng", r, "ka");
  }
}

void AddNyeForms(std::string_view prefix, EntryWriter& e) {
  const std::string_view rest = WithoutFirst(prefix);
  e.WithNye(prefix);
  for (std::string_view s : SeConcords) e.WithNye(s, rest);
  e.WithNye(rest);
  for (std::string_view pc : ParticipialConcords) e.WithNye(pc, rest);
  e.WithNye("nge", rest);
  for (std::string_view sc : SubjectConcords) e.WithNye(sc, rest);
}

void AddFixedForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                   EntryWriter& e, FormSink& forms) {
  const std::string_view rest = WithoutFirst(prefix);
  if (stem == "mangoy") e("oku");
  for (const FixedWords& fixed : kFixedWords)
    if (stem == fixed.stem)
      for (std::string_view word : fixed.words) forms.Add(word);
  if (StartsWith(prefix, "i")) e("o", rest);
  if (tag == "uku") {
    e("onjengowo", rest);
    for (std::string_view g : NgaConcords) e(g, "ngelaku", rest);
  }
  e("engesi", rest);
}

void FillParts(const NumberVariant& variant, VariantParts& v) {
  v.p = variant.prefix;
  v.pp = WithoutFirst(variant.prefix);
  v.s = variant.stem;
  v.near_less_last = DropLastChars(variant.near_demonstrative, 1);
  v.far_form = variant.far_demonstrative;
  const std::string_view p = v.p;
  v.jla = JoinFormative("la", p);
  v.jnga = JoinFormative("nga", p);
  v.jsila = JoinFormative("sila", p);
  v.jnjengela = JoinFormative("njengela", p);
  v.jngenjenga = JoinFormative("ngenjenga", p);
  v.jnjenga = JoinFormative("njenga", p);
  v.jkungenjenga = JoinFormative("kungenjenga", p);
  v.jnganga = JoinFormative("nganga", p);
  v.jkowa = JoinFormative("kowa", p);
  for (size_t i = 0; i < PossessiveConcords.size(); ++i)
    v.jpossessive[i] = JoinFormative(PossessiveConcords[i], p);
  for (size_t i = 0; i < RelativePossessiveConcords.size(); ++i)
    v.jrelative_possessive[i] = JoinFormative(RelativePossessiveConcords[i], p);
}

}  // namespace

std::string JoinFormative(std::string_view formative, std::string_view prefix) {
  std::string out;
  if (!formative.empty() && formative.back() == 'a') {
    // The formative's "a" and the prefix's first vowel merge into one sound.
    std::string_view vowel;
    for (const auto& [initial, merged] : kCoalescedVowels)
      if (!prefix.empty() && prefix[0] == initial) vowel = merged;
    out = Join(formative.substr(0, formative.size() - 1), vowel, WithoutFirst(prefix));
  } else {
    out = Join(formative, prefix);
  }
  // No glide is written before "o": lwa + umu is lomu, kwa + umu is komu.
  if (const size_t at = out.find("lwo"); at != std::string::npos) {
    out.erase(at + 1, 1);
  } else if (const size_t at_k = out.find("kwo"); at_k != std::string::npos) {
    out.erase(at_k + 1, 1);
  }
  return out;
}

NumberVariants NounNumberVariants(std::string_view tag, std::string_view prefix,
                                  std::string_view stem) {
  NumberVariants out;
  for (NumberVariant& v : out.variants) {
    v.prefix = prefix;
    v.stem = stem;
  }
  const auto matches = [&](const ClassRow& r) {
    return tag == r.tag || (!r.other_tag.empty() && tag == r.other_tag);
  };
  const auto row = std::find_if(std::begin(kClassTable), std::end(kClassTable), matches);
  if (row == std::end(kClassTable)) return out;
  out.count = row->count;
  if (row->stem_rule == StemRule::kUluIzin && prefix == "ulu") out.count = 2;
  auto& v = out.variants;
  v[1].prefix = ApplyPrefixRule(row->second, prefix, stem, v[1].prefix);
  v[2].prefix = ApplyPrefixRule(row->third, prefix, stem, v[1].prefix);
  for (size_t j = 0; j < v.size(); ++j) {
    v[j].near_demonstrative = row->demonstratives[j].near_form;
    v[j].far_demonstrative = row->demonstratives[j].far_form;
  }
  ApplyStemRule(row->stem_rule, prefix, stem, out);
  return out;
}

void GenerateNounForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                       std::string_view final, FormSink& forms) {
  GenerateNounForms(tag, prefix, stem, final, forms, TheLexicon());
}

void GenerateNounForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                       std::string_view final, FormSink& forms, const Lexicon& lexicon) {
  if (forms.Done()) return;
  const NumberVariants shapes = NounNumberVariants(tag, prefix, stem);
  const std::string word = Join(prefix, stem, final);
  EntryLocative entry;
  entry.explicit_forms = lexicon.FindLocativeForms(word);
  entry.short_locative = !entry.explicit_forms && lexicon.IsShortLocative(word);

  VariantParts parts;
  parts.tag = tag;
  parts.f = final;
  for (int j = 0; j < shapes.count; ++j) {
    parts.index = j;
    FillParts(shapes.variants[j], parts);
    AddVariantForms(parts, entry, prefix, stem, forms);
    if (forms.Done()) return;
  }

  EntryWriter e(stem, final, forms);
  if (tag == "person") AddPersonForms(prefix, stem, final, e, forms);
  if (IsPersonal(tag, prefix)) AddKinshipPossessives(stem, final, e, forms);
  if (OneOf(tag, {"in/izin", "in", "im", "in/ama"})) AddNyeForms(prefix, e);
  if (forms.Done()) return;
  AddFixedForms(tag, prefix, stem, e, forms);
}

}  // namespace tovuri
