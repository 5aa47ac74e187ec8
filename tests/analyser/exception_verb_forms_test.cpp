#include "analyser/exception_verb_forms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tovuri {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

std::vector<std::string> ExceptionForms(std::string_view stem, std::string_view final = "e",
                                        std::string_view tag = "exc/ala") {
  FormList list;
  GenerateExceptionVerbForms(tag, "uku", stem, final, list);
  return list.forms;
}

std::vector<std::string> DefectiveForms(std::string_view stem, std::string_view final = "e") {
  FormList list;
  GenerateDefectiveVerbForms("uku", stem, final, list);
  return list.forms;
}

size_t CountOf(const std::vector<std::string>& forms, std::string_view form) {
  return static_cast<size_t>(std::count(forms.begin(), forms.end(), form));
}

TEST(ExceptionVerbForms, MakesEveryRowForEverySlot) {
  const auto forms = ExceptionForms("lel");
  EXPECT_EQ(forms.size(), 6510u);
  for (const char* tag : {"exc/thatha", "exc/ana", "exc/hlezi", "exc/ama", "exc"})
    EXPECT_EQ(ExceptionForms("lel", "e", tag).size(), 6510u) << tag;
}

TEST(ExceptionVerbForms, PerfectFormsOfEachRowFamily) {
  const auto forms = ExceptionForms("lel");
  const char* want[] = {
      "ngilele", "ngimlele", "ngisalele", "angisalele", "kangisalele",
      "ngilelwe", "ulelwe", "ngisalelwe", "angisalelwe", "kawusalelwe",
      "sengilele", "sekukulele",
      "engilele", "olele", "engililele", "engileleyo", "lengileleyo", "lolele",
      "engingasalele", "esisaleleyo", "olelwe",
      "ngolele", "ngolulele", "koluleleyo", "kobuleleyo",
      "wabaleleyo", "zaleleyo", "elwabamleleyo", "elaleleyo",
      "wabalelwe", "kwalelwe",
      "elele", "ngisalele", "bengasalele", "elelwe",
      "besilele", "ngangilele", "ebengilele", "engangilele", "lengangilele",
      "kokwakulele", "besengilele", "ngasengilele", "engasengilele",
      "besilelwe", "ngangilelwe", "besengilelwe", "ngasengilelwe", "engasengilelwe",
      "engalelwe", "okwakulelweyo", "engamlelwe",
      "beselele", "ababelababelele", "ozomlele",
  };
  for (const char* form : want) EXPECT_THAT(forms, Contains(form));
}

TEST(ExceptionVerbForms, UsesTheWholeObjectConcordTableWithPlainW) {
  // One-vowel and vowel-initial stems change nothing here: "m", never "mu";
  // the passive is always a plain "w".
  const auto forms = ExceptionForms("dl", "e");
  EXPECT_THAT(forms, Contains("ngimdle"));
  EXPECT_THAT(forms, Not(Contains("ngimudle")));
  EXPECT_THAT(forms, Contains("ngidlwe"));
  EXPECT_THAT(forms, Not(Contains("ngidliwe")));
  EXPECT_EQ(forms.size(), 6510u);
  // Every subject row walks all sixteen object slots, the empty one included.
  // Once from the subject concords, once from the participial ones.
  EXPECT_EQ(CountOf(ExceptionForms("lel"), "ngimlele"), 2u);
}

TEST(ExceptionVerbForms, RepeatsTheDuplicatedPassiveRow) {
  const auto forms = ExceptionForms("lel");
  // Possessive "wa" with the relative "a": the passive row is made twice.
  EXPECT_EQ(CountOf(forms, "walelwe"), 2u);
}

TEST(ExceptionVerbForms, BulalTakesBulawaInPlaceOfThePassiveRows) {
  const auto forms = ExceptionForms("bulal", "e");
  EXPECT_EQ(forms.size(), 6510u - 64u + 17u);
  for (const char* form : {"ngibulawa", "ubulawa", "babulawa", "bubulawa", "kubulawa"})
    EXPECT_THAT(forms, Contains(form));
  for (const char* form : {"ngisabulalwe", "angisabulalwe", "kangisabulalwe"})
    EXPECT_THAT(forms, Not(Contains(form)));
  // "ngibulalwe" comes once, from the participial passive; "ngilelwe" twice.
  EXPECT_EQ(CountOf(forms, "ngibulalwe"), 1u);
  EXPECT_EQ(CountOf(ExceptionForms("lel"), "ngilelwe"), 2u);
  // The other passive rows stay.
  EXPECT_THAT(forms, Contains("obulalwe"));
  EXPECT_THAT(ExceptionForms("lel"), Not(Contains("ngibulawa")));
}

TEST(DefectiveVerbForms, StemZ) {
  const auto forms = DefectiveForms("z");
  for (const char* form : {"ngize", "ngizaze", "ngaze", "sengize", "angikaze", "kangikaze",
                           "engingakaze", "ngangingakaze", "kangaze", "kakwaze", "kaze", "aze"})
    EXPECT_THAT(forms, Contains(form));
  for (const std::string& form : forms) EXPECT_THAT(form, Not(HasSubstr("kaa")));
  EXPECT_EQ(forms.size(), 17u + 17u + 14u + 12u + 15u + 15u + 13u + 12u + 13u + 1u);
}

TEST(DefectiveVerbForms, StemBLeavesOutTheLoneA) {
  const auto forms = DefectiveForms("b", "a");
  for (const char* form : {"kangaba", "kangazaba", "angaba", "angazaba", "kaba", "kazaba", "aba",
                           "azaba", "kakwaba", "akwazaba"})
    EXPECT_THAT(forms, Contains(form));
  for (const std::string& form : forms) EXPECT_THAT(form, Not(HasSubstr("kaa")));
  EXPECT_THAT(forms, Not(Contains("aaba")));
  EXPECT_EQ(forms.size(), 4u * 13u + 4u);
}

TEST(DefectiveVerbForms, EachStemHasItsOwnPatterns) {
  struct Case {
    const char* stem;
    const char* final;
    size_t count;
    std::vector<std::string> some;
  } cases[] = {
      {"soz", "e", 15 + 15 + 15 + 15 + 13 + 13, {"angisoze", "kangisoze", "angingasoze",
                                                 "kangingasoze", "engingasoze", "lengingasoze"}},
      {"ngez", "e", 17 + 15 + 15, {"ngingeze", "angingeze", "kangingeze"}},
      {"ngek", "e", 47, {"ungeke"}},
      {"ngeb", "e", 47, {"singebe"}},
      {"ngab", "e", 47, {"bangabe"}},
      {"suk", "a", 47, {"ngisuka", "kasisuka"}},
      {"vel", "a", 47, {"uvela", "awuvela"}},
      {"sak", "a", 47, {"basaka"}},
      {"zang", "a", 15 + 15 + 12, {"angizanga", "kangizanga", "ngangingazanga"}},
      {"k", "a", 17 + 17 + 12 + 14 + 14 + 17, {"ngiyaka", "ngizaka", "sengika", "ngaka",
                                               "engaka", "ngingeka"}},
      {"zak", "a", 15 + 15 + 12, {"azizaka", "kazizaka", "zazingazaka"}},
      {"hl", "e", 14 + 17 + 17 + 17 + 13 + 13 + 13 + 17 + 12,
       {"ngahle", "ngihle", "ngizahle", "ngiyahle", "engihle", "engingahle", "engiyahle",
        "ngingahle", "besengihle"}},
      {"lokh", "a", 17 + 12 + 12, {"ngilokha", "bengilokha", "ngangilokha"}},
      {"phos", "a", 17 + 12 + 14, {"ngiphosa", "sengiphosa", "ngaphosa"}},
      {"sand", "a", 17 + 13 + 12 + 12, {"ngisanda", "engisanda", "bengisanda", "ngangisanda"}},
      {"mus", "a", 2, {"musa", "musani"}},
  };
  for (const Case& c : cases) {
    const auto forms = DefectiveForms(c.stem, c.final);
    EXPECT_EQ(forms.size(), c.count) << c.stem;
    for (const std::string& form : c.some) EXPECT_THAT(forms, Contains(form)) << c.stem;
  }
}

TEST(DefectiveVerbForms, UnknownStemGivesNothing) {
  for (const char* stem : {"hamb", "", "Z", "zz", "bulal"})
    EXPECT_THAT(DefectiveForms(stem), IsEmpty()) << '"' << stem << '"';
}

TEST(ExceptionVerbForms, MatcherStopsAtTheFirstMatch) {
  FormMatcher matcher("Besilele");
  GenerateExceptionVerbForms("exc/ala", "uku", "lel", "e", matcher);
  EXPECT_TRUE(matcher.Found());
  FormMatcher missing("besilala");
  GenerateExceptionVerbForms("exc/ala", "uku", "lel", "e", missing);
  EXPECT_FALSE(missing.Found());
}

}  // namespace
}  // namespace tovuri
