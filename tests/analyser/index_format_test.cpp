// The index file's building blocks: hashes and laid-out string sets.
#include "analyser/index_format.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace tovuri {
namespace {

// An empty view may carry no pointer at all (a default-made one does); it must
// hash like any other empty text, without handing that null to memcpy.
TEST(IndexFormat, EmptyTextHashesAlikeWhereverItLies) {
  const std::string_view no_pointer;
  const std::string text = "abc";
  const std::string_view at_end = std::string_view(text).substr(3);
  EXPECT_EQ(HashBytes(no_pointer), HashBytes(""));
  EXPECT_EQ(HashBytes(no_pointer, 42), HashBytes(at_end, 42));
  EXPECT_EQ(ChecksumBytes(no_pointer, 7), ChecksumBytes("", 7));
  EXPECT_NE(HashBytes(""), HashBytes(std::string_view("\0", 1)));
}

TEST(IndexFormat, StringSetFindsItsStringsAndTheirValuesOnly) {
  const std::string long_string(300, 'k');  // its length takes more than one byte
  const std::vector<std::string_view> strings = {"", "a", "umuntu", std::string_view("x\0y", 3), long_string};
  const std::vector<uint32_t> values = {10, 11, 12, 13, 14};
  IndexWriter writer;
  const StringSetRecord record = WriteStringSet(writer, strings, &values);
  const std::string bytes = writer.Take();
  const StringSetView set(IndexBytes(bytes.data(), bytes.size()), record);
  ASSERT_EQ(set.size(), strings.size());
  for (size_t k = 0; k < strings.size(); ++k) EXPECT_EQ(set.Find(strings[k]), values[k]) << k;
  for (std::string_view absent : {"b", "umunt", "umuntu ", "x"}) EXPECT_FALSE(set.Contains(absent)) << absent;
}

}  // namespace
}  // namespace tovuri
