#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analyser/lexicon.h"
#include "analyser/noun_forms.h"
#include "analyser/noun_phrases.h"

namespace tovuri {
namespace {

using ::testing::Contains;
using ::testing::Not;

struct Entry {
  std::string tag, prefix, stem, final;
};

std::vector<std::string> FormsOf(const Entry& e, const Lexicon& lexicon = Lexicon()) {
  FormList list;
  GenerateNounForms(e.tag, e.prefix, e.stem, e.final, list, lexicon);
  return list.forms;
}

size_t CountOf(const std::vector<std::string>& forms, std::string_view form) {
  return static_cast<size_t>(std::count(forms.begin(), forms.end(), form));
}

// Position of the first occurrence, or the size when absent.
size_t IndexOf(const std::vector<std::string>& forms, std::string_view form) {
  return static_cast<size_t>(std::find(forms.begin(), forms.end(), form) - forms.begin());
}

struct Expectation {
  Entry entry;
  std::vector<std::string> present;
  std::vector<std::string> absent;
};

void CheckAll(const std::vector<Expectation>& cases, const Lexicon& lexicon = Lexicon()) {
  for (const Expectation& c : cases) {
    const auto forms = FormsOf(c.entry, lexicon);
    const std::string entry =
        c.entry.tag + " " + c.entry.prefix + "-" + c.entry.stem + c.entry.final;
    for (const std::string& word : c.present) EXPECT_THAT(forms, Contains(word)) << entry;
    for (const std::string& word : c.absent) EXPECT_THAT(forms, Not(Contains(word))) << entry;
  }
}

Lexicon DlwLexicon() {
  Lexicon lexicon;
  lexicon.LocativeWords = {"indlu", "inkomo"};
  lexicon.LocativeForms = {"endlini/endlwini", "enkomeni/enkonyweni/ekhaya"};
  lexicon.ShortLocativeWords = {"isigaba", "utambamo"};
  return lexicon;
}

const Entry kPerson{"um/aba", "umu", "nt", "u"};
const Entry kHouse{"in/izin", "in", "dl", "u"};
const Entry kFather{"u/o", "u", "bab", "a"};
const Entry kNdlovu{"person", "", "Ndlov", "u"};
const Entry kWalking{"uku", "uku", "hamb", "a"};

TEST(NounForms, PlainNounsAndAssociativesOfEachShape) {
  const auto forms = FormsOf(kPerson);
  ASSERT_FALSE(forms.empty());
  EXPECT_EQ(forms[0], "umuntu");
  EXPECT_EQ(forms[1], "lomuntu");
  for (std::string_view word : {"abantu", "labantu", "kubelamuntu", "babalomuntu",
                                "babangelabantu", "ngilomuntu", "wabalomuntu"})
    EXPECT_THAT(forms, Contains(std::string(word)));
  // The plural shape comes after every form of the singular.
  EXPECT_LT(IndexOf(forms, "lomuntu"), IndexOf(forms, "abantu"));
}

TEST(NounForms, AssociativeFamiliesRepeatListedHeads) {
  // The subject concord loop appends sc + "se" + J("la") twice per slot.
  const auto forms = FormsOf(kPerson);
  EXPECT_GE(CountOf(forms, "ngiselomuntu"), 2u);
  CheckAll({{kPerson,
             {"angilamuntu", "kangilamuntu", "angisilomuntu", "engangilomuntu",
              "lengangilomuntu", "engangingelamuntu", "ebengilomuntu", "sengilomuntu",
              "bengingelamuntu", "ngasengimuntu", "besengilomuntu", "ngingelamuntu",
              "beselomuntu", "esengilomuntu", "kwalomuntu", "onjengelomuntu",
              "njengongelamuntu", "njengabangelamuntu"},
             {}}});
}

TEST(NounForms, InstrumentalsAndComparatives) {
  CheckAll({{kPerson,
             {"ngomuntu", "langomuntu", "angingomuntu", "kangingomuntu", "ngamuntu",
              "kungengomuntu", "lanjengomuntu", "engingomuntu", "engingenjengomuntu",
              "ngingomuntu", "njengomuntu", "kungenjengomuntu", "angingangabantu",
              "nganginjengomuntu"},
             {}}});
}

TEST(NounForms, KuLocativesByKindOfNoun) {
  CheckAll({
      {kFather, {"kubaba", "lakubaba", "kubobaba", "lakubobaba"}, {"sekubaba"}},
      {{"u/o/ama", "u", "bab", "a"}, {"kubaba", "kubobaba", "kumababa", "lakumababa"}, {}},
      {kNdlovu,
       {"koNdlovu", "wakoNdlovu", "kwakoNdlovu", "kuNdlovu", "lakuNdlovu", "singabakaNdlovu",
        "bangabakaNdlovu", "okuNdlovu", "kowayengumkaNdlovu", "leyakoNdlovu"},
       {}},
      {{"place", "", "Bulaway", "o"},
       {"eBulawayo", "waseBulawayo", "eseBulawayo", "kweleBulawayo", "labaseBulawayo"},
       {"eBulawayweni"}},
      {kPerson, {"kumuntu", "lakumuntu", "sekumuntu", "ngikumuntu", "okungokomuntu",
                 "kubantu", "bakubantu"}, {}},
      {{"ili/ama", "i", "bandl", "a"},
       {"kubandla", "abakubandla", "okukubandla", "esikumabandla", "abakumabandla"},
       {"abakuibandla", "abakubandlani", "abakwabandla"}},
  });
}

TEST(NounForms, ExplicitLocativesComeFromTheLexicon) {
  const Lexicon lexicon = DlwLexicon();
  const auto forms = FormsOf(kHouse, lexicon);
  for (std::string_view word : {"endlini", "endlwini", "sendlini", "ngisendlwini",
                                "wendlini", "lendlwini", "endlininye"})
    EXPECT_THAT(forms, Contains(std::string(word)));
  // The default locative is not built when the lexicon names one.
  EXPECT_THAT(forms, Not(Contains("ezindlwini")));
  // Each of the three shapes expands both alternatives.
  EXPECT_EQ(CountOf(forms, "sendlini"), 3u * 2u);  // "s" + L and "sa" less its vowel
}

TEST(NounForms, ExplicitLocativeSplitsOnlyAtTheFirstSlash) {
  const Lexicon lexicon = DlwLexicon();
  CheckAll({{{"in/izin", "in", "kom", "o"},
             {"enkomeni", "senkomeni", "enkonyweni/ekhaya", "senkonyweni/ekhaya"},
             {"ekhaya", "enkonyweni"}}},
           lexicon);
}

TEST(NounForms, ShortAndDefaultLocatives) {
  const Lexicon lexicon = DlwLexicon();
  CheckAll(
      {
          {{"isi/izi", "isi", "gab", "a"}, {"esigaba", "ngisesigaba", "ezigaba"}, {"esigabeni"}},
          {kPerson, {"emuntwini", "ebantwini", "ngisemuntwini"}, {}},
          {kFather, {}, {"ebabeni", "ebabini", "ebaba"}},
          {kNdlovu, {}, {"eNdlovwini"}},
      },
      lexicon);
  // Locatives come from the class prefix: only the listed word is short.
  CheckAll({{{"isi/izi", "isi", "gab", "a"}, {"esigabeni"}, {"ngisesigaba"}},
            {kHouse, {"endlwini", "ezindlwini", "sezindlwini"}, {"endlini"}}});
}

TEST(NounForms, TambamGetsHeadsInsteadOfPhrases) {
  Lexicon lexicon;
  lexicon.ShortLocativeWords = {"utambamo"};
  const auto forms = FormsOf({"u", "u", "tambam", "o"}, lexicon);
  for (std::string_view word : {"tambamo", "watambamo", "kwatambamo"})
    EXPECT_THAT(forms, Contains(std::string(word)));
  EXPECT_THAT(forms, Not(Contains("etambamo")));
  EXPECT_THAT(forms, Not(Contains("etambanyweni")));
}

TEST(NounForms, InfinitiveGetsItsNegativeLocative) {
  CheckAll({
      {kWalking, {"ekuhambeni", "ekungahambini", "ngisekungahambini"}, {}},
      {{"uku", "uku", "bonw", "a"}, {"ekungabonweni"}, {"ekungabonwini"}},
      {kPerson, {}, {"emungantwini"}},
  });
}

TEST(NounForms, PossessivesAndDemonstratives) {
  CheckAll({
      {kPerson,
       {"womuntu", "bomuntu", "komuntu", "kulokomuntu", "kulewomuntu", "kwewomuntu",
        "lawomuntu", "nginjengawomuntu", "enginjengewomuntu", "lumuntu", "lowomuntu",
        "kulumuntu", "kulowomuntu", "kwakungalowomuntu", "walumuntu", "ngikulumuntu",
        "ngilalowomuntu", "kulakulumuntu", "owalumuntu", "ngasengikulowomuntu", "lababantu",
        "labobantu", "kulabobantu"},
       {}},
      // No demonstratives for places: the heads stand before the plain word.
      {{"place", "", "Bulaway", "o"}, {"kuBulawayo", "njengakuBulawayo"}, {}},
  });
}

TEST(NounForms, RelativeAndParticipialAssociatives) {
  CheckAll({{kPerson,
             {"engilomuntu", "lengilomuntu", "engingelamuntu", "lengingelamuntu",
              "zengingelamuntu", "lisengabangelamuntu", "kwabalomuntu", "lingabangelamuntu",
              "engingalamuntu", "njengengilomuntu", "elomuntu", "elamuntu", "engelalamuntu"},
             {"lisengengingelamuntu"}}});
}

TEST(NounForms, ClassElevenPluralSaysLAsDAfterTheNasal) {
  CheckAll({{{"ulu/izin", "u", "lim", "i"},
             {"ulimi", "izindimi", "ezindimini", "ngezindimi", "zindimi"},
             {"izinlimi", "izilimi"}}});
}

TEST(NounForms, CopulativeRuleByClassAndShape) {
  CheckAll({
      {{"ili/ama", "i", "zw", "e"}, {"lizwe", "ngamazwe", "ngilizwe", "bengingelizwe"}, {}},
      {{"ulu/izin", "u", "t", "i"}, {"luti", "yizinti", "zinti", "ngizinti"}, {"nguti"}},
      {{"ubu", "ubu", "khos", "i"}, {"yibukhosi", "ngiyibukhosi", "bengingesibukhosi"}, {}},
      {{"ubu", "u", "khos", "i"}, {"bukhosi", "ngukhosi", "bengingesukhosi"}, {}},
      {kHouse, {"yindlu", "yizindlu", "zindlu", "yilezizindlu", "yilezozindlu",
                "yileyondlu", "yilindlu", "bengingesindlu", "ngizindlu"}, {}},
      {kPerson, {"ngumuntu", "ngabantu", "bengingesumuntu", "bengingesibantu"}, {}},
      {kWalking, {"yikuhamba", "ngiyikuhamba", "ayikuhamba", "wayikuhamba",
                  "lawayikuhamba"}, {"ngukuhamba"}},
      {{"isi/izi", "isi", "tsh", "a"}, {"yisitsha", "yilesisitsha", "yilesositsha"}, {}},
  });
  // An empty prefix takes no copulative.
  const auto forms = FormsOf({"person", "", "Ndlov", "u"});
  EXPECT_THAT(forms, Not(Contains("yiNdlovu")));
  EXPECT_THAT(forms, Contains("ngoNdlovu"));  // the "o" plural is copulative with "ng"
}

TEST(NounForms, RelativePossessives) {
  CheckAll({{kPerson,
             {"owomuntu", "lakowomuntu", "lakwabomuntu", "njengowomuntu", "ngowomuntu",
              "langowomuntu", "ngingowomuntu", "lowomuntu", "wabomuntu", "kwawomuntu",
              "wayengowomuntu", "yowomuntu", "abangowomuntu", "lisengowomuntu"},
             {}}});
}

TEST(NounForms, TheFieldOfANounTakesPossessives) {
  CheckAll({{{"im", "im", "fund", "o"},
             {"ezemfundo", "wezemfundo", "bezemfundo", "lwezemfundo", "sezemfundo",
              "zezemfundo", "lezemfundo", "yezemfundo", "kwezemfundo"},
             {"wazemfundo", "wezimfundo", "weyemfundo", "wesemfundo", "wolwemfundo"}},
            {kPerson, {"wezomuntu", "bezabantu"}, {"wezamuntu", "bezebantu"}}});
}

TEST(NounForms, NgaJoinsTheRelativeOfALocative) {
  CheckAll({{{"um/imi", "um", "thoth", "o"},
             {"ngokusemthothweni", "ngabasemthothweni", "ngesisemthothweni",
              "ngosemthothweni", "okusemthothweni"},
             {"ngakusemthothweni", "ngokusmthothweni", "ngokusemthothwini"}}});
}

TEST(NounForms, ClosingHeadsOfEachShape) {
  CheckAll({
      {kPerson, {"okomuntu", "muntu", "bantu", "kowomuntu", "kungemuntu", "abamuntu"},
       {"okukomuntu"}},
      {kFather, {"okukobaba"}, {}},
      {kNdlovu, {"okukNdlovu"}, {}},
      {{"u", "u", "bab", "a"}, {"okobaba"}, {"okukobaba"}},
      {{"isi/izi", "isi", "tsh", "a"}, {"kasitsha", "kazitsha", "kayisisositsha"}, {}},
      {{"ili/ama", "i", "zw", "e"}, {"kalizwe", "kamazwe"}, {"kaizwe"}},
      {kWalking, {"kowokuhamba"}, {}},
  });
  // The bare stem head is cut to ten letters of the prefix, and left out for "uku".
  EXPECT_THAT(FormsOf(kWalking), Not(Contains("kuhamba")));
  EXPECT_THAT(FormsOf({"um", "u0123456789AB", "x", "y"}), Contains("0123456789xy"));
}

TEST(NounForms, PersonHeadsAreCapitalisedExactly) {
  const auto forms = FormsOf(kNdlovu);
  const size_t ma = IndexOf(forms, "MaNdlovu");
  ASSERT_LT(ma + 11, forms.size());
  EXPECT_EQ(forms[ma - 1], "eNdlovu");
  EXPECT_EQ(forms[ma + 1], "uMaNdlovu");
  EXPECT_EQ(forms[ma + 2], "kaMaNdlovu");
  EXPECT_EQ(forms[ma + 3], "umntakaMaNdlovu");
  EXPECT_EQ(forms[ma + 10], "omkaMaNdlovu");
  EXPECT_EQ(forms[ma + 11], "sikaMaNdlovu");  // first two-letter subject concord
  CheckAll({{kNdlovu,
             {"lelikaNdlovu", "kwabakoNdlovu", "ngikuNdlovu", "wayekuNdlovu", "njengokukaNdlovu"},
             {"mandlovu", "ukaMaNdlovu"}},
            // Only the first two relative concords take "ng" + prefix.
            {{"person", "x", "Ndlov", "u"}, {"engingxNdlovu", "ongxNdlovu"}, {"esingxNdlovu"}}});
}

TEST(NounForms, KinshipPossessivesOfPersonalNouns) {
  CheckAll({
      {kFather,
       {"kababa", "umntakababa", "omkababa", "sikababa", "kukababa", "engikababa",
        "ngengikababa", "ngingengikababa"},
       {"ngikababa"}},
      {kNdlovu, {"kaNdlovu", "kuNdlovu", "bangabakaNdlovu"}, {}},
      {{"u/o/ama", "u", "bab", "a"}, {"usekababa"}, {}},
      {{"u/o", "um", "bab", "a"}, {}, {"umntakababa"}},
      {kPerson, {}, {"umntakantu"}},
  });
}

TEST(NounForms, NyeFormsOfInClasses) {
  CheckAll({
      {kHouse, {"indlunye", "sengindlunye", "ndlunye", "ngindlunye", "ngendlunye"}, {}},
      {{"in/ama", "in", "kom", "o"}, {"inkomonye", "enkomonye"}, {}},
      {{"im", "im", "p", "i"}, {"impinye"}, {}},
      {kPerson, {}, {"ngimuntunye", "umuntunye"}},
  });
}

TEST(NounForms, FixedWordsAndClosingForms) {
  CheckAll({
      {{"isi", "isi", "khohl", "o"}, {"ngakwesokhohlo", "langakwesokhohlo", "osikhohlo"}, {}},
      {{"isi", "isi", "nen", "e"}, {"ngakwesokunene", "ongakwesokunene"}, {}},
      {{"ama", "ama", "ngoy", "a"}, {}, {"okungoya"}},
      {{"in", "in", "mangoy", "a"}, {"okumangoya", "onmangoya"}, {}},
      {kWalking, {"onjengowokuhamba", "ngangingelakukuhamba", "engesikuhamba"}, {}},
      {kPerson, {"engesimuntu", "omuntu"}, {"ngakwesokunene"}},
  });
}

TEST(NounForms, CountIsTheSumOfItsFamilies) {
  // Family sizes of one shape with prefix "umu", from the concord slot counts
  // (17 subject, 15 negative, 13 relative, 12 per tense row, 10 relative possessive, 9
  // possessive, of which classes 2, 6 and 10 take the possessives themselves); a dropped or
  // doubled row changes the total.
  const size_t locative = 294, copulative = 436;
  const size_t shared = 6 + (17 * 11 + 3) + 12 * 4 + 15 * 4 + 12 + 12 * 10 + 17 + 10 + 13 +
                        (13 * 3 + 4) + (15 * 2 + 4) + 13 * 2 + 17 + (3 + 17 + 13 + 1) +
                        9 * (4 + 17 + 13) + (12 * 2 + 9 * 2 + 17 * 4 + 2 + 10 * 2 + 12 * 2) +
                        (13 * 7 + 3) + 17 * 3 + (10 * 27 + 3 * 9) +
                        (2 + 17 + 15 * 4 + 12 * 2 + 13) + 4;
  const size_t okwa = 1, engesi = 1;
  // um/aba: a default locative and an "ng" copulative per shape.
  EXPECT_EQ(FormsOf(kPerson).size(), 2 * (shared + locative + copulative) + okwa + engesi);
  // in/izin with a listed locative of two forms: "y" copulatives (three each) for the first
  // two shapes, "z" for the third; then the "nye" forms and "o" + prefix.
  const size_t nye = 1 + 12 + 1 + 17 + 1 + 17;
  EXPECT_EQ(FormsOf(kHouse, DlwLexicon()).size(),
            3 * (shared + 2 * locative) + 2 * 3 * copulative + copulative + okwa + nye + 1 +
                engesi);
}

TEST(NounForms, StopsSoonAfterTheSinkIsDone) {
  // A sink that is satisfied by its first form counts what still arrives.
  class FirstFormSink final : public FormSink {
   public:
    using FormSink::Add;
    void Add(std::initializer_list<std::string_view>) override {
      ++calls;
      done_ = true;
    }
    int calls = 0;
  };
  FirstFormSink sink;
  GenerateNounForms("in/izin", "in", "dl", "u", sink, Lexicon());
  EXPECT_GT(sink.calls, 0);
  EXPECT_LT(sink.calls, 250) << "forms appended after the sink was done";
  FormList all;
  GenerateNounForms("in/izin", "in", "dl", "u", all, Lexicon());
  EXPECT_GT(all.forms.size(), 5000u);
}

TEST(NounForms, MatcherAgreesWithTheFullList) {
  const Lexicon lexicon = DlwLexicon();
  const struct {
    Entry entry;
    std::string word;
  } cases[] = {
      {kPerson, "umuntu"},        {kPerson, "Abantu"},         {kPerson, "LOMUNTU"},
      {kPerson, "abaNtu"},        {kHouse, "endlwini"},        {kHouse, "Ezindlwini"},
      {kNdlovu, "MaNdlovu"},      {kNdlovu, "mandlovu"},       {kNdlovu, "UMANDLOVU"},
      {kFather, "kubobaba"},      {kWalking, "ekungahambini"}, {kWalking, "ukuhambaa"},
  };
  for (const auto& c : cases) {
    auto forms = FormsOf(c.entry, lexicon);
    const bool in_list = FindInForms(c.word, forms, true);
    FormMatcher matcher(c.word);
    GenerateNounForms(c.entry.tag, c.entry.prefix, c.entry.stem, c.entry.final, matcher,
                      lexicon);
    EXPECT_EQ(matcher.Found(), in_list) << c.word;
  }
}

TEST(NounForms, EmptyFieldsStillGiveForms) {
  const auto forms = FormsOf({"", "", "", ""});
  EXPECT_GT(forms.size(), 1000u);
  EXPECT_EQ(forms[0], "");
}

}  // namespace
}  // namespace tovuri
