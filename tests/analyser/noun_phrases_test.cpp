#include "analyser/noun_phrases.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tovuri {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

std::vector<std::string> Locatives(std::string_view l) {
  FormList list;
  AddLocativePhrases(l, list);
  return list.forms;
}

std::vector<std::string> Copulatives(std::string_view v) {
  FormList list;
  AddCopulativePhrases(v, list);
  return list.forms;
}

std::vector<std::string> Kinship(std::string_view k) {
  FormList list;
  AddKinshipForms(k, list);
  return list.forms;
}

size_t CountOf(const std::vector<std::string>& forms, std::string_view form) {
  return static_cast<size_t>(std::count(forms.begin(), forms.end(), form));
}

TEST(NounPhrases, EachExpanderAppendsItsFullCount) {
  // Every row of each expander counted out, so a dropped or doubled row shows.
  EXPECT_EQ(Locatives("endlini").size(), 294u);
  EXPECT_EQ(Copulatives("yindlu").size(), 436u);
  EXPECT_EQ(Kinship("kababa").size(), 9u);
}

TEST(NounPhrases, CountsDoNotDependOnTheInput) {
  for (std::string_view word : {"", "e", "ngumuntu", "nganja", "lizwe"}) {
    EXPECT_EQ(Locatives(word).size(), 294u) << word;
    EXPECT_EQ(Copulatives(word).size(), 436u) << word;
    EXPECT_EQ(Kinship(word).size(), 9u) << word;
  }
}

TEST(NounPhrases, LocativeRowsAppearInOrder) {
  const auto forms = Locatives("L");
  // The first form of each row (and a few inside rows), by 0-based position.
  const std::vector<std::pair<size_t, std::string>> rows = {
      {0, "L"},          {1, "ngisL"},       {2, "ngingasL"},   {35, "ngasL"},
      {36, "lL"},        {37, "lasL"},       {38, "wasL"},      {47, "engisL"},
      {48, "lengisL"},   {49, "engingasL"},  {50, "lengingasL"}, {99, "ngisL"},
      {116, "ngisesL"},  {133, "sengisL"},   {145, "bengisL"},  {146, "ngangisL"},
      {147, "engangisL"}, {148, "ngasengisL"}, {193, "besesL"}, {203, "sL"},
      {204, "bangabasL"}, {205, "owasL"},    {206, "ngowasL"},  {225, "wL"},
      {229, "L"},        {233, "kwL"},       {234, "lingabisL"}, {239, "elL"},
      {240, "Lnye"},     {242, "labL"},      {243, "angisL"},   {244, "kangisL"},
      {273, "kungL"},    {280, "ngezL"},     {281, "ngengisL"}, {282, "ngosL"},
      {285, "ngabasL"},  {293, "ngokusL"},
  };
  ASSERT_EQ(forms.size(), 294u);
  for (const auto& [at, form] : rows) EXPECT_EQ(forms[at], form) << "at " << at;
}

TEST(NounPhrases, EmptyLocativeKeepsEveryPrefixOnItsOwn) {
  const auto forms = Locatives("");
  EXPECT_EQ(forms.front(), "");
  EXPECT_THAT(forms, Contains("ngas"));
  EXPECT_THAT(forms, Contains("bangabas"));
  EXPECT_THAT(forms, Contains("nye"));
  EXPECT_THAT(forms, Contains("ngez"));
  // "a" without its last letter and the bare form itself.
  EXPECT_EQ(CountOf(forms, ""), 2u);
}

TEST(NounPhrases, LocativePossessiveDropsItsVowel) {
  const auto forms = Locatives("emzini");
  EXPECT_THAT(forms, Contains("wemzini"));
  EXPECT_THAT(forms, Contains("kwemzini"));
  EXPECT_THAT(forms, Contains("lwemzini"));
  EXPECT_EQ(CountOf(forms, "emzini"), 2u);  // itself, then "a" less its letter
}

TEST(NounPhrases, CopulativeSplitsNegativeInfix) {
  struct Case {
    std::string_view word;
    std::string negative;  // first NgaConcords slot + "nge" + infix + base
    std::string kwaku;     // "kwakunge" + infix + base
  };
  const Case cases[] = {
      {"ngumuntu", "ngangingesumuntu", "kwakungesumuntu"},
      {"yindlu", "ngangingesindlu", "kwakungesindlu"},
      {"nganja", "ngangingesinja", "kwakungesinja"},
      {"lizwe", "ngangingelizwe", "kwakungelizwe"},
      {"bantu", "ngangingebantu", "kwakungebantu"},
  };
  for (const auto& c : cases) {
    const auto forms = Copulatives(c.word);
    EXPECT_THAT(forms, Contains(c.negative)) << c.word;
    EXPECT_THAT(forms, Contains(c.kwaku)) << c.word;
  }
}

TEST(NounPhrases, CopulativeRowsAppearInOrder) {
  const auto forms = Copulatives("V");
  const std::vector<std::pair<size_t, std::string>> rows = {
      {0, "V"},          {1, "ngiV"},        {2, "ngiseV"},     {35, "angiseV"},
      {36, "kangiseV"},  {65, "bengiV"},     {66, "ngangiV"},   {67, "ngangingeV"},
      {68, "bengingeV"}, {69, "engangiV"},   {70, "lengangiV"}, {71, "ebengiV"},
      {149, "bekuV"},    {151, "bekungeV"},  {154, "okuV"},     {155, "engiV"},
      {156, "kengiV"},   {157, "lengiV"},    {158, "engiseV"},  {243, "ngiV"},
      {260, "beseV"},    {261, "besengiV"},  {420, "kungaV"},   {422, "njengabaV"},
      {423, "sengiV"},   {435, "esebeV"},
  };
  ASSERT_EQ(forms.size(), 436u);
  for (const auto& [at, form] : rows) EXPECT_EQ(forms[at], form) << "at " << at;
}

TEST(NounPhrases, CopulativeRelativesWithAGetPossessives) {
  const auto forms = Copulatives("V");
  // "aba": q + "ba" + V then "la" + q + "ba" + V; "a": q + V then "la" + q + V.
  EXPECT_THAT(forms, Contains("wabaV"));
  EXPECT_THAT(forms, Contains("lakwabaV"));
  EXPECT_THAT(forms, Contains("lawaV"));
  EXPECT_THAT(forms, Contains("lakwaV"));
  // Only "aba" and "a" start with "a": no possessive after "obu".
  EXPECT_THAT(forms, Not(Contains("wabuV")));
}

TEST(NounPhrases, CopulativeFixedPrefixesIncludeBareForm) {
  const auto forms = Copulatives("V");
  for (std::string_view f : {"bese", "beza", "babesebe"}) {
    EXPECT_THAT(forms, Contains(std::string(f) + "V")) << f;
    EXPECT_THAT(forms, Contains(std::string(f) + "ngiV")) << f;
  }
}

TEST(NounPhrases, KinshipFormsInOrder) {
  EXPECT_THAT(Kinship("kababa"),
              ElementsAre("kababa", "umntakababa", "mntakababa", "unakababa", "nakababa",
                          "usekababa", "sekababa", "umkababa", "omkababa"));
}

TEST(NounPhrases, MatcherStopsAtTheWord) {
  FormMatcher matcher("Lisendlini");
  AddLocativePhrases("endlini", matcher);
  EXPECT_TRUE(matcher.Found());
  FormMatcher miss("endlinix");
  AddCopulativePhrases("yindlu", miss);
  AddLocativePhrases("endlini", miss);
  AddKinshipForms("kababa", miss);
  EXPECT_FALSE(miss.Found());
}

}  // namespace
}  // namespace tovuri
