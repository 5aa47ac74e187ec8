#include "analyser/name_prefixes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace tovuri {
namespace {

std::string Join(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : " ") + item;
  return text;
}

TEST(NamePrefixes, HoldTheHeadsThatPersonAndPlaceFormsPutBeforeANameAndNothingElse) {
  const std::vector<std::string>& prefixes = NamePrefixes();
  const std::set<std::string> held(prefixes.begin(), prefixes.end());
  // Persons: uSipho, kuSipho, koSipho, kaSipho, nguSipho, loSipho, ngoSipho.
  // Places: eBulawayo, waseBulawayo, kweleBulawayo, leBulawayo, weBulawayo,
  // yeBulawayo, ngeBulawayo, yiBulawayo.
  for (const char* expected : {"u", "ku", "ko", "ka", "ngu", "lo", "ngo", "e", "wase", "kwele",
                               "le", "we", "ye", "nge", "yi", "i"})
    EXPECT_TRUE(held.count(expected)) << expected << " missing from: " << Join(prefixes);
  // Capitalised heads (uMa, kaMa) belong to the names they build, not to any name.
  for (const char* unexpected : {"", "uMa", "kaMa", "Ma", "x", "wx"})
    EXPECT_FALSE(held.count(unexpected)) << unexpected;
  EXPECT_TRUE(std::is_sorted(prefixes.begin(), prefixes.end(),
                             [](const std::string& a, const std::string& b) { return a.size() > b.size(); }))
      << "longest first";
}

TEST(NamePrefixes, APrefixedNameStandsOrFallsWithTheNameAlone) {
  const std::set<std::string> names = {"Studio", "Mnu", "Zanu", "STUDIO"};
  const auto accepted = [&](std::string_view name) { return names.count(std::string(name)) > 0; };
  struct Case {
    const char* word;
    bool expected;
  } cases[] = {
      {"weStudio", true},   {"nguMnu", true},     {"leZanu", true},     {"kweleZanu", true},
      {"weSTUDIO", true},   {"wxStudio", false},  {"weeStudio", false}, {"westudio", false},
      {"weStudi", false},   {"Studio", false},    {"we", false},        {"weS", false},
      {"WeStudio", false},  {"ngxMnu", false},    {"", false},          {"kuweStudio", false},
      {"uweStudio", false}, {"weStudioMnu", false}, {"weMnuStudio", false}, {"nguweMnu", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPrefixedName(c.word, accepted), c.expected) << c.word;
}

TEST(NamePrefixes, TheNameIsAskedAboutWithoutItsPrefix) {
  std::vector<std::string> asked;
  IsPrefixedName("kuSipho", [&](std::string_view name) {
    asked.emplace_back(name);
    return false;
  });
  EXPECT_EQ(Join(asked), "Sipho");
}

}  // namespace
}  // namespace tovuri
