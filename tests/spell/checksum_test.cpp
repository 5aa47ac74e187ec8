#include "spell/ox3Checksum.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tovuri {
namespace {

TEST(Crc32c, GivesTheStandardCheckValues) {
  for (const auto crc : {Crc32c, Crc32cPortable}) {
    EXPECT_EQ(crc("", 0), 0u);
    EXPECT_EQ(crc("123456789", 0), 0xE3069283u);
    EXPECT_EQ(crc("The quick brown fox jumps over the lazy dog", 0), 0x22620404u);
  }
}

TEST(Crc32c, ContinuesFromTheCrcOfTheBytesBefore) {
  const std::string text = "umuntu ngumuntu ngabantu: a person is a person through other people";
  for (std::size_t cut = 0; cut <= text.size(); ++cut)
    EXPECT_EQ(Crc32c(text.substr(cut), Crc32c(text.substr(0, cut))), Crc32c(text)) << "cut at " << cut;
}

TEST(Crc32c, TheProcessorsInstructionAgreesWithTheTables) {
  std::mt19937 rng(32);
  for (std::size_t size = 0; size < 300; ++size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    EXPECT_EQ(Crc32c(bytes, 7), Crc32cPortable(bytes, 7)) << size << " bytes";
  }
}

}  // namespace
}  // namespace tovuri
