#include "analyser/adjective_forms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovuri {
namespace {

using ::testing::Contains;
using ::testing::Not;

std::vector<std::string> AdjectiveForms(std::string_view stem) {
  FormList list;
  GenerateAdjectiveForms("adj", "", stem, "", list);
  return list.forms;
}

void ExpectAll(const std::vector<std::string>& forms, std::initializer_list<const char*> want,
               std::string_view stem) {
  for (const char* w : want) EXPECT_THAT(forms, Contains(w)) << "stem " << stem;
}
void ExpectNone(const std::vector<std::string>& forms, std::initializer_list<const char*> unwanted,
                std::string_view stem) {
  for (const char* w : unwanted) EXPECT_THAT(forms, Not(Contains(w))) << "stem " << stem;
}

// The totals follow from the lengths of the morpheme lists and the concord arrays:
// 1,187 for a consonant-initial, non-labial stem of two vowels, plus the "omu"
// concord forms for one vowel, the numeral forms, the labial spellings.
TEST(AdjectiveForms, CountsFollowTheStemShape) {
  struct Case {
    const char* stem;
    size_t count;
  } cases[] = {{"khulu", 1187}, {"de", 1281}, {"thathu", 1195}, {"bili", 1197},
               {"bi", 1187 + 38 - 4 + 5 + 57}, {"ide", 1187 - 9}, {"", 1187}};
  for (const Case& c : cases)
    EXPECT_EQ(AdjectiveForms(c.stem).size(), c.count) << "stem \"" << c.stem << "\"";
}

TEST(AdjectiveForms, VowelInitialConcordsTakeTheirFormatives) {
  const auto forms = AdjectiveForms("khulu");
  ExpectAll(forms,
            {"abakhulu", "kwabakhulu", "lokwemikhulu", "ngelikhulu", "langamakhulu",
             "lesikhulu", "njengolukhulu", "ngilobukhulu", "kulokukhulu", "zinjengabakhulu",
             "anjengemikhulu", "kabunjengobukhulu", "okulolukhulu", "wabakhulu",
             "kwabakhulu", "bebulamakhulu", "bokukhulu", "sokukhulu", "njengezinkulu",
             "yezinkulu", "zenkulu", "njengenkulu"},
            "khulu");
  ExpectNone(forms, {"bobukhulu", "wamakhulu"}, "khulu");
}

TEST(AdjectiveForms, TakesOmuOnlyBeforeOneVowel) {
  const auto one = AdjectiveForms("de");
  ExpectAll(one,
            {"omude", "komude", "ngomude", "ngingomude", "ungomude", "bomude", "lakomude",
             "engangikomude", "ngisekomude", "bukomude", "kokomude", "kwakungelamude",
             "kulomude", "okkulomude", "lokkulomude", "engomude", "ongomude", "wayengomude",
             "womude"},
            "de");
  ExpectNone(one, {"omde", "knjengomude"}, "de");
  const auto two = AdjectiveForms("khulu");
  ExpectAll(two, {"omkhulu", "ngomkhulu", "lomkhulu", "owawukomkhulu", "njengomkhulu",
                  "knjengomkhulu", "loknjengomkhulu", "kulomkhulu"},
            "khulu");
  ExpectNone(two, {"omukhulu", "ngingomkhulu", "ungomkhulu", "kokomkhulu", "ngisekomkhulu",
                   "kwakungelamkhulu"},
             "khulu");
}

TEST(AdjectiveForms, OneVowelStemsTakeTheLongSpellings) {
  const auto forms = AdjectiveForms("de");
  ExpectAll(forms,
            {"mude", "lamude", "ngimude", "umude", "angimude", "kawumude", "amude", "kamude",
             "awumude", "kawumude", "engimude", "omude", "ongemude", "engingemude", "ngimude",
             "ngingemude", "ungemude", "ngisemude", "angisemude", "ngisesemude", "usemude",
             "usesemude", "sengimude", "usumude", "bengimude", "ubumude", "ubungemude",
             "wawumude", "wawungemude", "besengimude", "ubusumude", "ngasengimude",
             "wawusumude", "bemude"},
            "de");
  ExpectNone(forms, {"mde", "amde", "awumde", "ongemde", "ungemde", "usemde", "usumde",
                     "ubumde", "wawumde", "ubusumde", "wawusumde"},
             "de");
  const auto longer = AdjectiveForms("khulu");
  ExpectAll(longer, {"mkhulu", "ngimkhulu", "amkhulu", "usumkhulu", "wawusumkhulu"}, "khulu");
  ExpectNone(longer, {"mukhulu", "ngimukhulu", "amukhulu"}, "khulu");
}

TEST(AdjectiveForms, LabialStemsTakeTheMSpellings) {
  const auto labial = AdjectiveForms("bi");
  ExpectAll(labial,
            {"ezimbi", "kwezimbi", "lezimbi", "okwembi", "ngezimbi", "ngembi", "zimbi", "imbi",
             "ayimbi", "kazimbi", "ezingembi", "ingembi", "zisezimbi", "ayisembi",
             "zisesezimbi", "isimbi", "sezimbi", "bezingembi", "yayimbi", "zazingembi",
             "lambi", "ibisimbi", "zasezimbi", "ibembi", "kibembi", "lokibembi"},
            "bi");
  ExpectNone(labial, {"ezinbi", "inbi", "lanbi", "izakubanbi"}, "bi");
  const auto f_stem = AdjectiveForms("futshane");
  ExpectAll(f_stem, {"imfutshane", "lamfutshane", "ibemfutshane"}, "futshane");
}

TEST(AdjectiveForms, OtherStemsTakeNBeforeN) {
  struct Case {
    const char* stem;
    std::initializer_list<const char*> want;
    std::initializer_list<const char*> unwanted;
  } cases[] = {
      {"khulu", {"inkulu", "zinkulu", "yinkulu", "ezinkulu", "kwenkulu", "ayinkulu", "lankulu",
                 "izakubankhulu", "ingabinkhulu", "zibenkhulu", "isenkulu", "zisesezinkulu"},
                {"inkhulu", "ibemkhulu", "izakubankulu"}},
      {"thile", {"intile", "ezintile"}, {"inthile"}},
      {"nhle", {"inle", "zinle", "lanle"}, {"innhle", "innle"}},
      {"ncane", {"incane", "lancane"}, {"inncane"}},
      {"phila", {"inpila"}, {"ezimphila", "ayimphila"}},
      {"vila", {"invila"}, {"ezimvila", "ayimvila"}},
  };
  for (const Case& c : cases) {
    const auto forms = AdjectiveForms(c.stem);
    ExpectAll(forms, c.want, c.stem);
    ExpectNone(forms, c.unwanted, c.stem);
  }
}

TEST(AdjectiveForms, NegativeAndCopulativeConcords) {
  const auto forms = AdjectiveForms("khulu");
  ExpectAll(forms,
            {"bakhulu", "labakhulu", "lakukhulu", "sibakhulu", "kasibakhulu", "abubukhulu",
             "kayimikhulu", "engimkhulu", "esibakhulu", "elibakhulu", "abangebakhulu",
             "okungekukhulu", "ongemkhulu", "abangebakhulu", "bengabakhulu", "kungekukhulu",
             "ungemkhulu", "umkhulu", "zimkhulu", "bemkhulu", "kakhulu"},
            "khulu");
  // Only the first two relative concords take M; "esi", "eli" and "aba" take "ba".
  ExpectNone(forms, {"esimkhulu", "engibakhulu", "abangembakhulu"}, "khulu");
}

TEST(AdjectiveForms, TenseFormsPairTheirLists) {
  const auto forms = AdjectiveForms("khulu");
  ExpectAll(forms,
            {"sisebakhulu", "asisebakhulu", "kasisebakhulu", "sisesebakhulu", "ayisemikhulu",
             "kayisemikhulu", "isesemikhulu", "kuseseku" "khulu", "awusemkhulu",
             "selilikhulu", "bengingemkhulu", "bekungekukhulu", "bekukukhulu",
             "kwakungekukhulu", "lwalungelukhulu", "besesesikhulu", "kwasekukukhulu",
             "wayesemkhulu", "basebebakhulu"},
            "khulu");
  ExpectNone(forms, {"kwakungelakhulu", "sesisekhulu"}, "khulu");
}

TEST(AdjectiveForms, NumeralsTakeTheQuantitativeHeads) {
  ExpectAll(AdjectiveForms("bili"),
            {"bobabili", "sobabili", "lobabili", "yomibili", "womabili", "zombili", "kokubili"},
            "bili");
  ExpectAll(AdjectiveForms("thathu"), {"bobathathu", "sobathathu", "zontathu", "kokuthathu"},
            "thathu");
  ExpectNone(AdjectiveForms("thathu"), {"zomthathu", "bobabili"}, "thathu");
  ExpectAll(AdjectiveForms("ne"), {"bobane", "sobane"}, "ne");
  ExpectNone(AdjectiveForms("ne"), {"bobabili"}, "ne");
  ExpectNone(AdjectiveForms("khulu"), {"bobakhulu", "sobakhulu"}, "khulu");
}

TEST(AdjectiveForms, BareConcordsOnlyBeforeConsonantInitialStems) {
  ExpectAll(AdjectiveForms("khulu"), {"bekungakukhulu", "walababakhulu", "imikhulu"}, "khulu");
  ExpectNone(AdjectiveForms("ide"), {"bekungakuide", "walababaide"}, "ide");
}

TEST(AdjectiveExpanders, KuFormsGlideBeforeAOrE) {
  struct Case {
    const char* word;
    std::vector<std::string> forms;
  } cases[] = {
      {"ekhaya",
       {"ekhaya", "kwekhaya", "okwekhaya", "lakwekhaya", "lokwekhaya", "ngakwekhaya"}},
      {"abakhulu",
       {"abakhulu", "kwabakhulu", "okwabakhulu", "lakwabakhulu", "lokwabakhulu",
        "ngakwabakhulu"}},
      {"olukhulu",
       {"olukhulu", "kolukhulu", "okolukhulu", "lakolukhulu", "lokolukhulu", "ngakolukhulu"}},
      {"", {"", "k", "ok", "lak", "lok", "ngak"}},
  };
  for (const Case& c : cases) {
    FormList list;
    AddKuForms(c.word, list);
    EXPECT_EQ(list.forms, c.forms) << c.word;
  }
}

TEST(AdjectiveExpanders, AKaFormsGlideByTheFirstVowel) {
  struct Case {
    const char* word;
    std::vector<std::string> forms;
  } cases[] = {
      {"usemde", {"usemde", "awusemde", "kawusemde"}},
      {"asema", {"asema", "awasema", "kawasema"}},
      {"isemi", {"isemi", "ayisemi", "kayisemi"}},
      {"ngisem", {"ngisem", "angisem", "kangisem"}},
      {"esi", {"esi", "aesi", "kaesi"}},
  };
  for (const Case& c : cases) {
    FormList list;
    AddAKaForms(c.word, list);
    EXPECT_EQ(list.forms, c.forms) << c.word;
  }
}

TEST(AdjectiveForms, MatcherFindsAFormAndStops) {
  FormMatcher matcher("Ngingomude");
  GenerateAdjectiveForms("adj", "", "de", "", matcher);
  EXPECT_TRUE(matcher.Found());
  FormMatcher missing("ngingomkhulu");
  GenerateAdjectiveForms("adj", "", "khulu", "", missing);
  EXPECT_FALSE(missing.Found());
}

}  // namespace
}  // namespace tovuri
