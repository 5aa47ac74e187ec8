#include "analyser/adverb_forms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovuri {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

std::vector<std::string> AdverbForms(std::string_view l, std::string_view m, std::string_view k) {
  FormList list;
  GenerateAdverbForms("adv", l, m, k, list);
  return list.forms;
}
std::vector<std::string> RelativeForms(std::string_view m) {
  FormList list;
  GenerateRelativeForms("rel", "", m, "", list);
  return list.forms;
}
std::vector<std::string> ConjunctionForms(std::string_view m) {
  FormList list;
  GenerateConjunctionForms("conj", "", m, "", list);
  return list.forms;
}

TEST(JoinWithS, PutsSBeforeAVowelInEitherCase) {
  struct Case {
    const char *x, *word, *joined;
  } cases[] = {{"ngi", "ekhaya", "ngisekhaya"}, {"ngi", "khona", "ngikhona"},
               {"ba", "Ekhaya", "basEkhaya"},   {"a", "", "a"},
               {"", "izolo", "sizolo"}};
  for (const Case& c : cases) EXPECT_EQ(JoinWithS(c.x, c.word), c.joined) << c.x << "+" << c.word;
}

TEST(JoinFormativeToWord, MergesTheFormativesFinalA) {
  struct Case {
    const char *formative, *word, *joined;
  } cases[] = {{"la", "apha", "lapha"},       {"la", "izolo", "lezolo"},
               {"la", "khona", "lakhona"},    {"kakukabi", "ekhaya", "kakukabiekhaya"},
               {"la", "Izolo", "lIzolo"},     {"la", "", "la"},
               {"nga", "ukuthi", "ngukuthi"}, {"", "apha", "apha"}};
  for (const Case& c : cases)
    EXPECT_EQ(JoinFormativeToWord(c.formative, c.word), c.joined) << c.formative << "+" << c.word;
}

// About six hundred forms: the plain concord forms make 354 (less 3 before a
// vowel-initial prefix), the negative ones 181, the "nga" ones 58, and a
// consonant-initial prefix three more; the particular adverbs add their own.
TEST(AdverbForms, CountsFollowTheConcordLists) {
  struct Case {
    const char *l, *m, *k;
    size_t count;
  } cases[] = {
      {"", "kuhl", "e", 622},      {"e", "khay", "a", 619 + 2}, {"", "kh", "o", 622 - 367},
      {"", "khon", "a", 622 - 194 + 216}, {"", "ban", "i", 622 + 65}, {"", "yin", "i", 624},
      {"", "njan", "i", 623},      {"", "obal", "a", 622 + 44}, {"a", "ph", "a", 619},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AdverbForms(c.l, c.m, c.k).size(), c.count) << c.l << c.m << c.k;
}

TEST(AdverbForms, KhoHasNoPlainFormsAndKhonaNoNegatives) {
  const auto kho = AdverbForms("", "kh", "o");
  EXPECT_THAT(kho, Not(Contains("kho")));
  EXPECT_THAT(kho, Not(Contains("ngikho")));
  EXPECT_THAT(kho, Contains("angikho"));
  EXPECT_THAT(kho, Contains("ngakho"));
  EXPECT_THAT(kho, Contains("ngokungekho"));
  EXPECT_THAT(kho, Contains("ngabangekho"));
  EXPECT_THAT(kho, Not(Contains("ngokukho")));
  const auto khona = AdverbForms("", "khon", "a");
  EXPECT_THAT(khona, Contains("khona"));
  EXPECT_THAT(khona, Contains("ngikhona"));
  EXPECT_THAT(khona, Not(Contains("angikhona")));
  EXPECT_THAT(khona, Not(Contains("engingekhona")));
  EXPECT_THAT(khona, Contains("ngokukhona"));
  EXPECT_THAT(khona, Not(Contains("ngokungekhona")));
  for (const char* w : {"ukubakhona", "lokubakhona", "ebakhona", "engabakhona", "lungabakhona",
                        "eyabakhona", "ezibakhona", "lisakhona", "basasekhona", "obekhona"})
    EXPECT_THAT(khona, Contains(w)) << "being present, written as one word";
  const auto other = AdverbForms("", "kuhl", "e");
  EXPECT_THAT(other, Contains("ngikuhle"));
  EXPECT_THAT(other, Contains("angikuhle"));
}

TEST(AdverbForms, PlainFormsJoinEveryConcord) {
  const auto forms = AdverbForms("e", "khay", "a");
  const char* want[] = {
      "ekhaya", "ngisekhaya", "usekhaya",                                     // 1.1-1.2
      "engisekhaya", "wabasekhaya", "owabasekhaya", "wasekhaya", "kwasekhaya",  // 1.3
      "okwasekhaya", "olekhaya", "abalekhaya", "lengisekhaya", "kwabasekhaya",
      "kokusekhaya",
      "besekhaya",                                                                // 1.4
      "ngisesekhaya", "ngisesesekhaya",                                           // 1.5
      "sengisekhaya",                                                             // 1.6
      "bengisekhaya", "ngangisekhaya", "besengisekhaya", "ebesengisekhaya",       // 1.7
      "ngasengisekhaya", "engasengisekhaya", "engangisekhaya", "engangingaekhaya",
      "kwengangisekhaya", "ngangingekhaya",
      "ngangaekhaya", "ngasekhaya", "kwasekhaya",                                 // 1.8
      "lekhaya", "kakukabiekhaya",                                                // 1.9
      "angilekhaya", "kangilekhaya",                                              // 1.10
      "bekhaya", "sekhaya", "kwekhaya", "zekhaya",                                // 1.11
  };
  for (const char* form : want) EXPECT_THAT(forms, Contains(form));
  EXPECT_THAT(forms, Not(Contains("kweliekhaya")));
}

TEST(AdverbForms, LaFollowsTheVowelOfThePrefix) {
  const auto izolo = AdverbForms("i", "zol", "o");
  for (const char* form : {"lezolo", "engilezolo", "angilezolo", "kangilezolo", "ngisizolo"})
    EXPECT_THAT(izolo, Contains(form));
  const auto apha = AdverbForms("a", "ph", "a");
  for (const char* form : {"lapha", "abalapha", "ngisapha"}) EXPECT_THAT(apha, Contains(form));
  // A consonant-initial prefix keeps "la" whole and takes its own formatives.
  const auto kuhle = AdverbForms("", "kuhl", "e");
  for (const char* form : {"lakuhle", "angilakuhle", "kwelikuhle", "okungakuhle", "engulakuhle",
                           "njengongakuhle", "eyababekuhle", "lanjengakuhle", "kakungakuhle",
                           "kokungakuhle"})
    EXPECT_THAT(kuhle, Contains(form));
  for (const char* form : {"bkuhle", "kwkuhle", "kweliapha"})
    EXPECT_THAT(kuhle, Not(Contains(form)));
  EXPECT_THAT(apha, Not(Contains("kweliapha")));
  EXPECT_THAT(apha, Not(Contains("lanjengaapha")));
}

TEST(AdverbForms, PastConcordsTestThePrefixAlone) {
  // The stem is vowel-initial but the prefix is empty: no "s" after the past concords.
  const auto forms = AdverbForms("", "ekhay", "a");
  EXPECT_THAT(forms, Contains("ngaekhaya"));
  EXPECT_THAT(forms, Contains("ngisekhaya"));
  const auto with_prefix = AdverbForms("e", "khay", "a");
  EXPECT_THAT(with_prefix, Contains("ngasekhaya"));
}

TEST(AdverbForms, NegativeAndNgaForms) {
  const auto forms = AdverbForms("e", "khay", "a");
  const char* want[] = {"angisekhaya", "kangisekhaya", "engingesekhaya", "engingasesekhaya",
                        "engingelasekhaya", "ngingesekhaya", "ngingasesekhaya",
                        "angisesekhaya", "kangisesekhaya", "bengingesekhaya",
                        "ngangingaselasekhaya", "ngangingasesekhaya",
                        "ngasekhaya", "langasekhaya", "lengasekhaya", "ngingasekhaya",
                        "engingasekhaya", "lengingasekhaya", "ngangingasekhaya"};
  for (const char* form : want) EXPECT_THAT(forms, Contains(form));
}

TEST(AdverbForms, ParticularAdverbs) {
  const auto bani = AdverbForms("", "ban", "i");
  for (const char* form : {"kabani", "umntakabani", "omkabani", "engikabani", "ngengikabani",
                           "sikabani", "kukabani", "ngubani", "ngobani", "ngingubani",
                           "ungubani", "singobani", "bangobani", "kungubani", "zingubani",
                           "ngumkabani"})
    EXPECT_THAT(bani, Contains(form));
  for (const char* form : {"ngikabani", "ngingobani", "ungobani"})
    EXPECT_THAT(bani, Not(Contains(form)));
  EXPECT_THAT(AdverbForms("", "yin", "i"), Contains("bekuyini"));
  EXPECT_THAT(AdverbForms("", "njan", "i"), Contains("ngonjani"));
  const auto ekhaya = AdverbForms("e", "khay", "a");
  EXPECT_THAT(ekhaya, Contains("ngekhaya"));
  EXPECT_THAT(ekhaya, Contains("yekhaya"));
  EXPECT_THAT(AdverbForms("", "ekhay", "a"), Not(Contains("yekhaya")));
  const auto obala = AdverbForms("", "obal", "a");
  for (const char* form : {"sobala", "engisobala", "ngengisobala", "ngisobala"})
    EXPECT_THAT(obala, Contains(form));
}

TEST(ConjunctionForms, VowelInitialConjunctionsStayAlone) {
  EXPECT_THAT(ConjunctionForms("ukuthi"), ElementsAre("ukuthi"));
  const auto forms = ConjunctionForms("kodwa");
  EXPECT_EQ(forms.size(), 19u);
  EXPECT_EQ(forms[0], "kodwa");
  EXPECT_EQ(forms[1], "kukodwa");
  EXPECT_EQ(forms[2], "ngikukodwa");
  EXPECT_EQ(forms[18], "kukukodwa");
  FormList joined;
  GenerateConjunctionForms("conj", "na", "ku", "ba", joined);
  EXPECT_EQ(joined.forms[1], "kunakuba");
}

TEST(RelativeForms, CountsAndConcordsWithS) {
  const auto forms = RelativeForms("bomvu");
  EXPECT_EQ(forms.size(), 308u);
  EXPECT_EQ(RelativeForms("omile").size(), 308u);
  for (const char* form : {"ngibomvu", "ngingowababomvu", "ngisesebomvu", "angibomvu",
                           "kangibomvu", "ababomvu", "abangebomvu", "abangabomvu",
                           "ngababomvu", "lababomvu", "wababomvu", "bababomvu",
                           "lakwababomvu", "bebomvu", "bengebomvu", "ngisebomvu",
                           "angisebomvu", "kangisebomvu", "sengibomvu", "bengibomvu",
                           "bengingebomvu", "ngangibomvu", "ngangingebomvu", "bomvu",
                           "oyibomvu", "yibomvu"})
    EXPECT_THAT(forms, Contains(form));
  EXPECT_THAT(forms, Not(Contains("wabomvu")));
  const auto vowel = RelativeForms("omile");
  for (const char* form : {"ngisomile", "abasomile", "kangisomile", "ngisesomile", "omile",
                           "ngiseseomile", "ngingowabaomile", "yiomile"})
    EXPECT_THAT(vowel, Contains(form));
  // Only the concords joined through JoinWithS take the "s".
  EXPECT_THAT(vowel, Not(Contains("ngisesesomile")));
  EXPECT_THAT(vowel, Not(Contains("ngiomile")));
}

}  // namespace
}  // namespace tovuri
