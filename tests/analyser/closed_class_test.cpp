#include "analyser/closed_class.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace tovuri {
namespace {

using ::testing::Contains;
using ::testing::Not;

std::vector<std::string> Forms(const std::function<void(FormSink&)>& build) {
  FormList list;
  build(list);
  return list.forms;
}

struct WordCase {
  const char* word;
  bool (*check)(std::string_view);
  const char* check_name;
};

TEST(ClosedClass, EachListedWordIsAcceptedByItsOwnCheck) {
  const WordCase cases[] = {
      {"nangu", IsPresentative, "IsPresentative"},
      {"nanguya", IsPresentative, "IsPresentative"},
      {"nanguyana", IsPresentative, "IsPresentative"},
      {"nango", IsPresentative, "IsPresentative"},
      {"mina", IsPronounWord, "IsPronounWord"},
      {"lami", IsPronounWord, "IsPronounWord"},
      {"ngami", IsPronounWord, "IsPronounWord"},
      {"wonke", IsPronounWord, "IsPronounWord"},
      {"kithi", IsPronounWord, "IsPronounWord"},
      {"lowo", IsPronounWord, "IsPronounWord"},
      {"kulowo", IsPronounWord, "IsPronounWord"},
      {"leyi", IsPronounWord, "IsPronounWord"},
      {"ngaleyi", IsPronounWord, "IsPronounWord"},
      {"wakuleli", IsPronounWord, "IsPronounWord"},
      {"zakulelo", IsPronounWord, "IsPronounWord"},
      {"kwakulesi", IsPronounWord, "IsPronounWord"},
      {"lowu", IsPronounWord, "IsPronounWord"},
      {"yileyi", IsPronounWord, "IsPronounWord"},
      {"nguwe", IsPronounWord, "IsPronounWord"},
      {"yimi", IsPronounWord, "IsPronounWord"},
      {"wethu", IsPronounWord, "IsPronounWord"},
      {"Mina", IsPronounWord, "IsPronounWord"},
      {"ngo-12", IsNumberedOrCopulaWord, "IsNumberedOrCopulaWord"},
      {"ka-31", IsNumberedOrCopulaWord, "IsNumberedOrCopulaWord"},
      {"u-1", IsNumberedOrCopulaWord, "IsNumberedOrCopulaWord"},
      {"ilowo", IsNumberedOrCopulaWord, "IsNumberedOrCopulaWord"},
      {"Yilabo", IsNumberedOrCopulaWord, "IsNumberedOrCopulaWord"},
      {"ngedwa", IsDwaWord, "IsDwaWord"},
      {"wedwa", IsDwaWord, "IsDwaWord"},
      {"yedwa", IsDwaWord, "IsDwaWord"},
      {"angingedwa", IsDwaWord, "IsDwaWord"},
      {"kuphi", IsPhiWord, "IsPhiWord"},
      {"baphi", IsPhiWord, "IsPhiWord"},
      {"kukuphi", IsPhiWord, "IsPhiWord"},
      {"ngakuphi", IsPhiWord, "IsPhiWord"},
      {"kuwaphi", IsPhiWord, "IsPhiWord"},
      {"yiphi", IsPhiWord, "IsPhiWord"},
  };
  for (const WordCase& c : cases) {
    EXPECT_TRUE(c.check(c.word)) << c.word << " by " << c.check_name;
    EXPECT_TRUE(IsClosedClassWord(c.word)) << c.word;
  }
}

TEST(ClosedClass, RejectsWordsOutsideTheClosedClasses) {
  for (const char* word : {"ngo-13", "ka-32", "ngaphi", "u-13", "ka-0", "hamba", "mIna",
                           "ngedwaa", "izilowo", "yilowoo", "leyii", "lowuu", "yiyphi",
                           "wekuleli", "wakuleleli", "zakulel"})
    EXPECT_FALSE(IsClosedClassWord(word)) << word;
}

TEST(ClosedClass, CapitalsFollowTheFormListRules) {
  EXPECT_TRUE(IsClosedClassWord("MINA"));
  EXPECT_TRUE(IsClosedClassWord("Ngedwa"));
  EXPECT_FALSE(IsClosedClassWord("NgedWA"));  // mixed case: only the first letter may differ
}

TEST(Presentative, BuildsNineStemsFourWays) {
  const auto forms = Forms([](FormSink& f) { AddPresentativeForms(f); });
  ASSERT_EQ(forms.size(), 36u);
  const std::vector<std::string> o_forms = {"nango", "nampo", "nanko", "nanso", "nanto",
                                            "nanko", "nanzo", "nanto", "nampo"};
  for (size_t i = 0; i < o_forms.size(); ++i) EXPECT_EQ(forms[i * 4 + 3], o_forms[i]) << i;
  EXPECT_THAT(forms, Contains("nampuyana"));
}

TEST(Presentative, NeedsNaInTheWord) {
  EXPECT_FALSE(IsPresentative("ngu"));
  EXPECT_TRUE(IsPresentative("NANGU"));
}

// Form counts of each group of the pronoun list follow from the array lengths;
// a missing slot, a skipped array or a wrong pre-test changes the total.
TEST(PronounWord, BuildsEveryGroupWithTheNkeFormsOnlyForNkeWords) {
  EXPECT_EQ(Forms([](FormSink& f) { AddPronounForms("mina", f); }).size(), 32898u);
  const auto with_nke = Forms([](FormSink& f) { AddPronounForms("wonke", f); });
  EXPECT_EQ(with_nke.size(), 32908u);
  EXPECT_THAT(with_nke, Contains("babonke"));
  EXPECT_THAT(with_nke, Contains("konke"));
}

// The check passes over groups whose stem cannot end the word; that must never
// lose a form of the full list.
TEST(PronounWord, AcceptsEveryFormOfItsList) {
  const auto forms = Forms([](FormSink& f) { AddPronounForms("wonke", f); });
  size_t missed = 0;
  for (const std::string& form : forms)
    if (!IsPronounWord(form)) {
      ADD_FAILURE() << form;
      if (++missed == 10) break;
    }
}

TEST(ClosedClass, AcceptsEveryFormOfTheOtherLists) {
  std::vector<std::string> forms = Forms([](FormSink& f) {
    AddPresentativeForms(f);
    AddNumberedOrCopulaForms("-", f);
    AddNumberedOrCopulaForms("il", f);
    AddNumberedOrCopulaForms("yil", f);
    AddDwaForms(f);
    AddPhiForms(f);
  });
  for (const std::string& form : forms) EXPECT_TRUE(IsClosedClassWord(form)) << form;
}

TEST(PronounWord, AcceptsAFormOfEveryGroup) {
  const char* words[] = {
      "khona",                                                  // 1
      "sisonke",                                                // 2
      "abangelani", "kangilawe", "sengilami", "ngiseselami", "olwalulakho",  // 3
      "lengangilathi", "ngangingelami", "abebelabo", "okungazo", "sezilami", "beselami",
      "bengelami",
      "kwabakubo", "ngakimi", "babengabakuye", "yelakini", "ngowakuzo", "okwakukithi",  // 4
      "umntanami", "umntanethu", "ngangingenjengewethu", "olukweumkami",               // 5
      "ngomkami", "okungodadewenu", "kwabanawakho", "ngilabanawami", "lomkamfolami",
      "umkamfokumkazo", "akithi", "kwakini", "lwakibo",                               // 6
      "kulokhuyana", "kungolwalobu", "lakulaba", "ngalowo",                            // 7
      "kasuwe", "kawusuye", "kakusuye", "kwakungesuwe", "ngangingesuye", "ubungesuwe",
      "olungesuwe", "obunguye", "nginguwe", "kungesuye", "akusenguwe",             // 8 ngu
      "yithi", "kasini", "kangisibo", "bekuyiwo", "kwakungesizo", "okuyilo", "kuyikho",
      "luyiso", "kakuseyimi",                                                          // 8 yi
      "owani", "ngokwani", "owami", "ngowethu", "lowethu", "labenu", "ngolwakho",      // 9
      "njengakho", "ngingangami", "okunjengabo",                                       // 10
      "yileli", "kaseyilezo", "angiseyilolu", "kawuseyilo", "ngingaseyikho",
      "bengaseyilowo", "luyiso", "kulalokhu", "ongowalaba",                          // 11
      "kungesithi",                                                                    // 12
      "esingesiso", "ngulowo"};                                                        // 13
  for (const char* word : words) EXPECT_TRUE(IsPronounWord(word)) << word;
}

TEST(PronounWord, CopulaFollowsThePronounStem) {
  for (const char* word : {"yiwe", "yiye", "ngumi", "nguthi", "ngini"})
    EXPECT_FALSE(IsPronounWord(word)) << word;
  // only the participial concords of the first six slots take "ngaseyi"
  EXPECT_TRUE(IsPronounWord("ungaseyilo"));
  EXPECT_FALSE(IsPronounWord("lungaseyilo"));
  EXPECT_FALSE(IsPronounWord("zingaseyilo"));
}

TEST(PossessivePhrases, StemInIMergesWithTheName) {
  const auto forms = Forms([](FormSink& f) { AddPossessivePhrases("wa", "ithu", f); });
  EXPECT_EQ(forms.size(), 39u);
  EXPECT_EQ(forms.front(), "wethu");
  for (const char* form : {"ngangingenjengewethu", "kwakungengangewethu", "olukwewethu",
                           "ungowethu", "kungowethu", "kwawethu", "lomkamfowethu"})
    EXPECT_THAT(forms, Contains(form));
  EXPECT_THAT(forms, Not(Contains("waithu")));
}

TEST(PossessivePhrases, VowelInitialNamesTakeConcordPlusL) {
  const auto forms = Forms([](FormSink& f) { AddPossessivePhrases("a", "mi", f); });
  EXPECT_EQ(forms.size(), 44u);
  for (const char* form : {"ami", "ngilami", "kulami", "kwami"})
    EXPECT_THAT(forms, Contains(form));
  EXPECT_THAT(forms, Not(Contains("ungoami")));
  const auto with_o = Forms([](FormSink& f) { AddPossessivePhrases("omka", "mi", f); });
  EXPECT_EQ(with_o.size(), 47u);
  for (const char* form : {"ngomkami", "okungomkami", "ongomkami", "komkami"})
    EXPECT_THAT(with_o, Contains(form));
}

TEST(PossessivePhrases, ConsonantInitialNamesTakeFormatives) {
  const auto forms = Forms([](FormSink& f) { AddPossessivePhrases("lomka", "kho", f); });
  EXPECT_EQ(forms.size(), 39u);
  for (const char* form : {"ungolomkakho", "kungolomkakho", "lwalomkakho", "umkamfolomkakho"})
    EXPECT_THAT(forms, Contains(form));
  EXPECT_THAT(forms, Not(Contains("ngilomkakho")));
}

TEST(ConcordGlide, PutsWBeforeAOrUAndYBeforeI) {
  EXPECT_EQ(JoinWithConcordGlide("ku", "a"), "kuwa");
  EXPECT_EQ(JoinWithConcordGlide("ku", "u"), "kuwu");
  EXPECT_EQ(JoinWithConcordGlide("nga", "i"), "ngayi");
  EXPECT_EQ(JoinWithConcordGlide("la", "ba"), "laba");
  EXPECT_EQ(JoinWithConcordGlide("la", ""), "la");
}

TEST(NumberedOrCopula, BuildsOnlyThePartsTheWordAsksFor) {
  EXPECT_EQ(Forms([](FormSink& f) { AddNumberedOrCopulaForms("ka-3", f); }).size(), 55u);
  EXPECT_EQ(Forms([](FormSink& f) { AddNumberedOrCopulaForms("ilowo", f); }).size(), 10u);
  EXPECT_EQ(Forms([](FormSink& f) { AddNumberedOrCopulaForms("YILABO", f); }).size(), 10u);
  EXPECT_EQ(Forms([](FormSink& f) { AddNumberedOrCopulaForms("lowo", f); }).size(), 0u);
  const auto numbered = Forms([](FormSink& f) { AddNumberedOrCopulaForms("-", f); });
  EXPECT_EQ(numbered.front(), "ngo-1");
  EXPECT_THAT(numbered, Contains("u-12"));
  EXPECT_EQ(numbered.back(), "ka-31");
  EXPECT_TRUE(IsNumberedOrCopulaWord("Ilokho"));
  EXPECT_FALSE(IsNumberedOrCopulaWord("ilobo"));
}

TEST(DwaWord, BuildsNineteenFormsPerSlot) {
  const auto forms = Forms([](FormSink& f) { AddDwaForms(f); });
  EXPECT_EQ(forms.size(), 18u * 19u);
  const char* words[] = {"lasodwa", "ubuwedwa", "sisesodwa", "esisodwa", "kokukodwa", "lokukodwa",
                         "lakokukodwa", "kwababodwa", "lakwababodwa", "lwalulodwa", "kwabakodwa",
                         "sezizodwa", "bengabodwa", "olungelodwa", "kayiyodwa",
                         "kawunjengoyedwa", "yayiyodwa", "bebebodwa", "abewodwa"};
  for (const char* word : words) EXPECT_TRUE(IsDwaWord(word)) << word;
  // Slot 17 pairs the stem "bo" with the past concord "lwa".
  EXPECT_TRUE(IsDwaWord("lwababodwa"));
}

TEST(PhiWord, JoinsFormativesWithTheConcordGlide) {
  const auto forms = Forms([](FormSink& f) { AddPhiForms(f); });
  EXPECT_EQ(forms.size(), 17u * 6u + 19u);
  for (const char* form : {"ngiphi", "kuwuphi", "ngayiphi", "lakuziphi", "lawaphi",
                           "kukubuphi", "yibaphiphi", "nguwuphi", "yiphi"})
    EXPECT_THAT(forms, Contains(form));
  EXPECT_THAT(forms, Not(Contains("ngaphi")));
  EXPECT_THAT(forms, Not(Contains("kuaphi")));
}

}  // namespace
}  // namespace tovuri
