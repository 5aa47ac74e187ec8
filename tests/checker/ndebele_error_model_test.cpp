#include <gtest/gtest.h>

#include <map>
#include <string>

#include "checker/ndebele_error_model.h"

namespace tovuri {
namespace {

// Every correction of typed with its cheapest cost.
std::map<std::string, double> Corrections(std::string_view typed) {
  std::map<std::string, double> out;
  ForEachSlipCorrection(typed, [&](const std::string& candidate, double cost) {
    auto [at, added] = out.try_emplace(candidate, cost);
    if (!added) at->second = std::min(at->second, cost);
  });
  return out;
}

TEST(NdebeleErrorModel, CostsFollowTheTables) {
  struct Case {
    std::string typed, intended;
    double cost;
  };
  const Case cases[] = {
      {"abntu", "abantu", kEditCosts.omitted},
      {"abnatu", "abantu", kEditCosts.swapped},
      {"abaantu", "abantu", 1.5},                         // a doubled vowel
      {"abbantu", "abantu", kEditCosts.doubled},          // a doubled consonant
      {"abanptu", "abantu", kEditCosts.extra},            // p is not beside n or t
      {"abamtu", "abantu", kEditCosts.wrong_neighbour},   // m is beside n
      {"abantu", "abanto", 3.0},                          // a final vowel
      {"ebantu", "abantu", kEditCosts.wrong_vowel},       // a vowel elsewhere
      {"abanzu", "abantu", kEditCosts.wrong},
      {"ukuthetha", "ukutetha", 2.0},                     // an extra h
      {"ukusho", "ukutsho", 1.8},                         // sh for tsh
      {"ukucela", "ukuqela", 2.5},                        // one click for another
      {"indlela", "inhlela", 2.0},                        // dl for hl
      {"ukudlala", "ukuhlala", 2.0},
      {"ukua", "ukuwa", 1.5},                             // a left-out glide
      {"abafundi", "abafundiyo", 100},                   // two letters: not one slip
      {"uhamba", "uhambayo", 3.0},                        // the relative suffix at the end
      {"uhambayoza", "uhambaza", 100},                    // ... but only at the end
  };
  for (const Case& c : cases) {
    const auto corrections = Corrections(c.typed);
    const auto found = corrections.find(c.intended);
    if (c.cost >= 100) {
      EXPECT_EQ(found, corrections.end()) << c.typed << " -> " << c.intended;
      continue;
    }
    ASSERT_NE(found, corrections.end()) << c.typed << " -> " << c.intended;
    EXPECT_DOUBLE_EQ(found->second, c.cost) << c.typed << " -> " << c.intended;
  }
}

TEST(NdebeleErrorModel, CorrectionsKeepTheWordsCase) {
  const auto capitalised = Corrections("Abnatu");
  EXPECT_TRUE(capitalised.contains("Abantu"));
  EXPECT_TRUE(capitalised.contains("Babnatu")) << "a letter put in front takes the capital";
  EXPECT_FALSE(capitalised.contains("abantu"));
  const auto capitals = Corrections("ABNATU");
  EXPECT_TRUE(capitals.contains("ABANTU"));
  EXPECT_TRUE(capitals.contains("ABNATHU"));
  const auto mixed = Corrections("eBulwayo");
  EXPECT_TRUE(mixed.contains("eBulawayo")) << "a word with a capital inside is corrected as it stands";
}

TEST(NdebeleErrorModel, EveryConfusionChangesTheWordAndCostsLessThanAnArbitrarySlip) {
  for (const TConfusion& confusion : Confusions()) {
    EXPECT_NE(confusion.typed, confusion.intended);
    EXPECT_FALSE(confusion.typed.empty());
    EXPECT_GT(confusion.cost, 0);
    EXPECT_LT(confusion.cost, kEditCosts.wrong) << confusion.typed << " -> " << confusion.intended;
  }
}

}  // namespace
}  // namespace tovuri
