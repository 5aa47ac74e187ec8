#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyser/form_sink.h"

namespace tovuri {
namespace {

struct Case {
  std::vector<std::string> forms;
  std::string word;
  bool expected;
};

// Case rules and the order in which forms are met: a lowered first letter
// stays lowered for the rest of the list.
const Case kCases[] = {
    {{"ngiyabona"}, "ngiyabona", true},
    {{"ngiyabona"}, "Ngiyabona", true},
    {{"ngiyabona"}, "NGIYABONA", true},
    {{"ngiyabona"}, "ngiYabona", false},
    {{"ngiyabona"}, "ngiyabon", false},
    {{"oPhezukonke"}, "oPhezukonke", true},
    {{"oPhezukonke"}, "OPhezukonke", true},
    {{"oPhezukonke"}, "OPHEZUKONKE", true},
    {{"oPhezukonke"}, "ophezukonke", false},
    {{"oPhezukonke"}, "Ophezukonke", false},
    {{"aB", "Ab"}, "Ab", false},  // lowered by "aB", so "Ab" no longer matches
    {{"Ab", "aB"}, "Ab", true},
    {{"x", "y", "ab"}, "Ab", true},
    {{"AB", "ab"}, "Ab", true},
    {{}, "a", false},
    {{"a"}, "A", true},
    {{"A"}, "a", false},
    {{"\xE9tat"}, "\xC9tat", true},     // Windows-1252 capital E acute
    {{"\xE9tat"}, "\xC9TAT", false},    // only A to Z make a word all capitals
    {{"\xC9tat"}, "\xC9tat", true},
};

TEST(FindInForms, FollowsTheCaseRulesInFormOrder) {
  for (const Case& c : kCases) {
    std::vector<std::string> forms = c.forms;
    EXPECT_EQ(FindInForms(c.word, forms, true), c.expected)
        << c.word << " in " << ::testing::PrintToString(c.forms);
  }
}

TEST(FindInForms, FormMatcherGivesTheSameVerdict) {
  for (const Case& c : kCases) {
    FormMatcher matcher(c.word);
    for (const std::string& form : c.forms) matcher.Add(form);
    EXPECT_EQ(matcher.Found(), c.expected)
        << c.word << " in " << ::testing::PrintToString(c.forms);
  }
}

TEST(FindInForms, FormMatcherJoinsPiecesAndStartsAfreshOnReset) {
  FormMatcher matcher("Ab");
  matcher.Add({"a", "B"});
  EXPECT_FALSE(matcher.Found());
  matcher.Add({"A", "b"});
  EXPECT_FALSE(matcher.Found()) << "the lowered first letter sticks within one pass";
  matcher.Reset();
  matcher.Add({"", "A", "", "b"});
  EXPECT_TRUE(matcher.Found());
  EXPECT_TRUE(matcher.Done());
}

TEST(FindInForms, ConsumingDeletesEveryFormExamined) {
  std::vector<std::string> forms = {"bona", "Bona", "hamba", "BONA"};
  EXPECT_TRUE(FindInForms("bona", forms, true));
  EXPECT_THAT(forms, ::testing::ElementsAre("hamba"));

  std::vector<std::string> kept = {"Bona", "bona"};
  EXPECT_FALSE(FindInForms("bona", kept, false)) << "without consume only the first is seen";
  EXPECT_THAT(kept, ::testing::ElementsAre("Bona", "bona"));
}

}  // namespace
}  // namespace tovuri
