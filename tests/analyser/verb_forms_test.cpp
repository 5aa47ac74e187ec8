#include "analyser/verb_forms.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "analyser/form_sink.h"
#include "analyser/verb_patterns.h"

namespace tovuri {
namespace {

struct Entry {
  std::string prefix, stem, final, attribute;
};

std::string Describe(const Entry& e) {
  return e.prefix + " " + e.stem + " " + e.final + (e.attribute.empty() ? "" : " " + e.attribute);
}

std::vector<std::string> FormsOf(const Entry& e) {
  FormList list;
  GenerateVerbForms(e.prefix, e.stem, e.final, e.attribute, list);
  return list.forms;
}

// A verb's forms that a correct row makes and near-misses that a wrong row
// (a wrong letter, array, slot subset or condition) would make instead.
struct FamilyCase {
  std::string family;
  Entry entry;
  std::vector<std::string> made;
  std::vector<std::string> not_made;
};

void ExpectForms(const std::vector<FamilyCase>& cases) {
  for (const FamilyCase& c : cases) {
    const std::vector<std::string> forms = FormsOf(c.entry);
    const std::unordered_set<std::string> set(forms.begin(), forms.end());
    for (const std::string& word : c.made)
      EXPECT_TRUE(set.count(word)) << c.family << ": " << Describe(c.entry) << " lacks " << word;
    for (const std::string& word : c.not_made)
      EXPECT_FALSE(set.count(word)) << c.family << ": " << Describe(c.entry) << " makes " << word;
  }
}

const Entry kHamba{"uku", "hamb", "a", ""};

TEST(VerbForms, PatternTableCompilesEveryRow) {
  EXPECT_EQ(PatternTable(kVerbPatterns).size(), kVerbPatternCount);
}

TEST(VerbForms, MakesEveryRowOfAnOrdinaryVerb) {
  const struct {
    std::string attribute;
    size_t count;
  } cases[] = {{"", 83488}, {"Reflexive", 5893}, {"PassiveOnly", 29988}, {"other", 83488}};
  for (const auto& c : cases) {
    const Entry entry{"uku", "hamb", "a", c.attribute};
    EXPECT_EQ(FormsOf(entry).size(), c.count) << Describe(entry);
  }
}

// A relative concord takes the present's -ya- (isikhathi esiyadinga), as the
// past continuous does (besiyasebenza), and the
// auxiliary phongu ("then, only then") is written joined to the verb after a
// subject, past, participial, negative or "be" concord.
TEST(VerbForms, RelativeYaAndJoinedPhonguRows) {
  ExpectForms({
      {"relative with ya", kHamba, {"esiyahamba", "okuyahamba", "abayahamba", "engiyahamba"},
       {"esiyahanjwa", "esiyahambi"}},
      {"past continuous with ya", kHamba, {"besiyahamba", "bengiyahamba", "ebesiyahamba", "abebeyahamba"},
       {"besiyahanjwa"}},
      {"joined phongu", kHamba,
       {"baphonguhamba", "waphonguhamba", "ephonguhamba", "ngiphonguhamba", "siphongumhamba",
        "aziphonguhamba", "bebephonguhamba"},
       {"phonguhamba", "ukuphonguhamba"}},
  });
}

// The passive takes the reciprocal -ana (kufundiswana, ziyatshiyelwana): a
// thing done to one another, as the prose writes it.
TEST(VerbForms, PassiveReciprocalRows) {
  ExpectForms({
      {"passive reciprocal", kHamba, {"ukuhanjwana", "kuhanjwana", "kuyahanjwana", "okuhanjwana"},
       {"kuyahanjwane", "bahanjwanani"}},
  });
}

TEST(VerbForms, InfinitiveRows) {
  ExpectForms({
      {"infinitive", kHamba,
       {"ukuhamba", "ngokuhamba", "njengokuyahamba", "njengokuhanjwa", "wokuhamba", "lokungahambi", "ukungahambi",
        "ukuhanjwa", "ukuhambanje"},
       {"ukuhambwa", "ukungahamba", "ngokuhambi", "njengokuhambwa"}},
      {"one-vowel infinitive", {"uku", "dl", "a", ""}, {"ukudla", "ukudliwa"}, {"ukudlwa"}},
      {"vowel-initial infinitive", {"ukw", "akh", "a", ""}, {"ukwakha", "ukwakhiwa"},
       {"ukwakhwa"}},
  });
}

TEST(VerbForms, PresentRows) {
  ExpectForms({
      {"present", kHamba,
       {"ngihamba", "ngiyahamba", "ngiyamhamba", "ngiyehamba", "sisahamba", "ngihanjwa",
        "bayahanjwa", "sengihamba"},
       {"ngiyahambwa", "ngisayhamba", "ngihambwa"}},
      {"one-vowel object concord", {"uku", "dl", "a", ""}, {"ngimudla", "ngiyamudla"},
       {"ngimdla", "ngiyamdla"}},
      {"thi has no ya present", {"uku", "th", "i", ""}, {"ngithi"}, {"ngiyathi", "ngiyethi"}},
      {"bulal passive bases", {"uku", "bulal", "a", ""},
       {"ngibulawa", "ngiyabulawa", "sengibulawa"}, {"ngiyabulalwa", "sengibulalwa"}},
  });
}

TEST(VerbForms, ParticipialRows) {
  ExpectForms({
      {"participial", kHamba, {"ehamba", "esahamba", "behanjwa", "ehambayo"},
       {"ewhamba", "behambwa"}},
      {"one-vowel participial", {"uku", "dl", "a", ""}, {"esidla", "esidlayo", "esidliwa"},
       {"esdla", "esdlayo"}},
      {"vowel-initial participial", {"ukw", "akh", "a", ""}, {"esakha", "esasakha"}, {}},
  });
}

TEST(VerbForms, NegativeRows) {
  ExpectForms({
      {"negative", kHamba,
       {"angihambi", "kangihambi", "angisahambi", "angikahambi", "angimhambi", "angihanjwa"},
       {"angihambwa", "kangihamba"}},
      {"tsho negative", {"uku", "tsh", "o", ""}, {"angitsho", "angitshongo"},
       {"angitshi", "angitshanga"}},
      {"zwa negative", {"uku", "zw", "a", ""}, {"angizwa"}, {"angizwi"}},
  });
}

TEST(VerbForms, RelativeRows) {
  ExpectForms({
      {"relative", kHamba,
       {"engihambayo", "abahambayo", "ongahambiyo", "kwengihambayo", "lokuhambayo"},
       {"engihambiyo", "ongahambayo"}},
  });
}

TEST(VerbForms, ImperativeRows) {
  ExpectForms({
      {"imperative", kHamba, {"hamba", "hambani", "hambanini", "mhambe", "hanjwa", "hanjwani"},
       {"hambeni", "hambwa", "mhamba"}},
      {"one-vowel imperative", {"uku", "dl", "a", ""}, {"dlana"}, {"dla"}},
      {"vowel-initial imperative", {"ukw", "akh", "a", ""}, {"yakha", "yakhani"}, {}},
      {"za imperative", {"uku", "z", "a", ""}, {"woza", "wozani"}, {"za", "zana"}},
      {"tsho imperative", {"uku", "tsh", "o", ""}, {"tshono"}, {"tshona"}},
      {"reflexive imperative", {"uku", "hamb", "a", "Reflexive"}, {"hambe"}, {"mhambe"}},
  });
}

TEST(VerbForms, PastRows) {
  ExpectForms({
      {"past", kHamba,
       {"ngahamba", "ngahambayo", "sengahamba", "ngangahambi", "ngahanjwa", "angihambanga",
        "kangihambanga", "angihanjwanga"},
       {"ngahambwa", "ngangahamba", "angihambwanga"}},
      {"bulal negative past", {"uku", "bulal", "a", ""}, {"angibulawanga"}, {}},
  });
}

TEST(VerbForms, SubjunctiveRows) {
  ExpectForms({
      {"subjunctive", kHamba, {"ngihambe", "ngihanjwe", "engihambe", "bengihambe"},
       {"ngihambwe", "engihambwe"}},
      {"bulal subjunctive", {"uku", "bulal", "a", ""}, {"ngibulewe", "sengibulewe"}, {}},
  });
}

TEST(VerbForms, PerfectRows) {
  ExpectForms({
      {"perfect", kHamba, {"ngihambile", "ngihambileyo", "ngihanjiwe", "engihambileyo"},
       {"ngihambiwe", "ngihambwile"}},
      {"perfect of -ela verbs", {"uku", "fanel", "a", ""},
       {"ngifanele", "ngifanelwe", "engifaneleyo"},
       {"ngifanelile", "ngifaneliwe", "engifanelileyo"}},
      {"perfect of tsho", {"uku", "tsh", "o", ""}, {"ngitshilo"}, {"ngitshile"}},
      {"thi keeps the second block", {"uku", "th", "i", ""}, {"engithile"}, {"ngithile"}},
      {"passive-only entries keep their passive perfects", {"uku", "hamb", "a", "PassiveOnly"},
       {"ngihanjiwe"}, {"engihambileyo"}},
  });
}

TEST(VerbForms, IrregularPerfectsComeFromTheirOwnEntries) {
  const Entry entries[] = {
      {"uku", "thath", "a", ""},    {"uku", "phath", "a", ""}, {"uku", "lal", "a", ""},
      {"uku", "hlal", "a", ""},     {"uku", "thathan", "a", ""},
      {"uku", "bulal", "a", ""},    {"uku", "hambisan", "a", ""},
      {"uku", "gcwal", "a", ""},    {"ukw", "embath", "a", ""}, {"uku", "lim", "a", ""}};
  for (const Entry& e : entries) {
    std::vector<std::string> perfects;
    for (const std::string& form : FormsOf(e))
      if (form.ends_with("ile") || form.ends_with("ileyo")) perfects.push_back(form);
    const bool ordinary = e.stem == "lim";
    EXPECT_EQ(perfects.empty(), !ordinary)
        << Describe(e) << ": " << perfects.size() << " perfects, first "
        << (perfects.empty() ? "" : perfects.front());
  }
}

TEST(VerbForms, FutureRows) {
  ExpectForms({
      {"future", kHamba,
       {"ngizahamba", "ngizakuhamba", "angizukuhamba", "angiyikuhamba", "ngizahanjwa"},
       {"ngizahambwa", "angizokuhamba"}},
  });
}

TEST(VerbForms, FutureInZoHasTheRowsOfTheFutureInZa) {
  ExpectForms({
      {"subject concords", kHamba,
       {"ngizohamba", "uzohamba", "sizohamba", "bazohamba", "lizohamba", "azohamba",
        "izohamba", "zizohamba", "luzohamba", "buzohamba", "kuzohamba", "sizohambani"},
       {"sizuhamba", "sizohambe", "sizohambi", "angizohamba", "kasizohamba"}},
      {"infinitive", kHamba, {"ukuzohamba", "ukuzomhamba"}, {"ukuzohambe", "ukuzohanjwa"}},
      {"object concords", kHamba,
       {"ngizomhamba", "sizobahamba", "uzosihamba", "bazokuhamba", "sizozihamba"},
       {"ngizomuhamba", "sizobhamba"}},
      {"passive", kHamba,
       {"sizohanjwa", "bazohanjwa", "sesizohanjwa", "okuzohanjwa", "bengizohanjwa",
        "ebengizohanjwa", "ubezohanjwa"},
       {"sizohambwa", "okuzohambwa", "sizohanjiwe"}},
      {"relative and compound", kHamba,
       {"abazohamba", "esizohamba", "ozohamba", "labazohamba", "esesizohamba", "sesizohamba",
        "bengizohamba", "ebengizohamba", "ngangizohamba", "engangizohamba",
        "besengizohamba", "ngasengizohamba", "ebesengizohamba", "engasengizohamba"},
       {"abazohambayo", "obazohamba", "ngangazohamba"}},
      {"vowel-initial", {"ukw", "enz", "a", ""},
       {"sizokwenza", "uzokwenza", "abazokwenza", "sizokwenziwa", "bengizokwenza"},
       {"sizokuenza", "sizoenza", "sizokwenzwa"}},
      {"one-vowel", {"uku", "dl", "a", ""}, {"sizodla", "sizodliwa", "abazodla"},
       {"sizodlwa", "sizodlwe"}},
      {"bulal", {"uku", "bulal", "a", ""}, {"sizobulawa", "ngizobulala"}, {"sizobulalwa"}},
      {"reflexive", {"uku", "hamb", "a", "Reflexive"}, {"sizohamba"}, {"sizomhamba"}},
      {"passive only", {"uku", "hamb", "a", "PassiveOnly"}, {"okuzohanjwa"}, {"sizohamba"}},
  });
}

TEST(VerbForms, PotentialRows) {
  ExpectForms({
      {"potential", kHamba,
       {"ngingahamba", "angahamba", "ngingehambe", "engingahamba", "akahambe", "akihambe",
        "kengihambe", "kebahambe"},
       {"akbahambe", "keuhambe"}},
  });
}

TEST(VerbForms, CompoundTenseRows) {
  ExpectForms({
      {"compound tenses", kHamba,
       {"bengihamba", "bengihambile", "ngangihamba", "besengihamba", "ebengihamba",
        "ngasengihamba", "wasuhamba"},
       {"ngangiyahamba"}},
      {"one-vowel compound", {"uku", "dl", "a", ""}, {"ebengisidla", "ngangisidla"}, {}},
      {"fixed forms", {"uku", "fanel", "a", ""}, {"ingafanele"}, {}},
  });
}

TEST(VerbForms, AttributesSwitchRows) {
  ExpectForms({
      {"reflexive walks no object concord", {"uku", "hamb", "a", "Reflexive"},
       {"ngiyahamba", "ukuhamba"}, {"ngiyamhamba", "ukumhamba"}},
      {"passive only", {"uku", "hamb", "a", "PassiveOnly"}, {"ukuhanjwa", "ngihanjwa"},
       {"ukuhamba", "ngiyahamba"}},
      {"bulal keeps unmarked passive rows", {"uku", "bulal", "a", ""},
       {"ukubulalwa", "angibulalwanga"}, {}},
  });
}

TEST(VerbForms, MatcherAgreesWithTheCompleteList) {
  const std::vector<std::string> forms = FormsOf(kHamba);
  const std::string words[] = {"ngihamba",  "Ngihamba",  "NGIHAMBA", "ngiHamba",
                               "ukuhamba",  "kangihambi", "ngihambile", "Ukuhanjwa",
                               "ngihambaa", "hamba",     "",         "akbahambe",
                               "ngokuhamba", "xyz"};
  for (const std::string& word : words) {
    FormMatcher matcher(word);
    GenerateVerbForms(kHamba.prefix, kHamba.stem, kHamba.final, kHamba.attribute, matcher);
    std::vector<std::string> copy = forms;
    EXPECT_EQ(matcher.Found(), FindInForms(word, copy, false)) << word;
  }
}

TEST(VerbForms, OddEntriesMakeFiniteListsWithoutFailing) {
  const Entry entries[] = {{"", "", "", ""}, {"uku", "", "a", ""}, {"", "hamb", "", ""},
                           {"uk", "os", "a", "Reflexive"}};
  for (const Entry& e : entries) EXPECT_GT(FormsOf(e).size(), 0u) << Describe(e);
}

}  // namespace
}  // namespace tovuri
