#include "richtext/rtf_writer.h"

#include <gtest/gtest.h>

#include "richtext/rtf_reader.h"

namespace tovuri {
namespace {

CharFormat Format(std::string font, int half_points) {
  CharFormat format;
  format.font = std::move(font);
  format.half_points = half_points;
  return format;
}

TEST(RtfWriter, WhatItWritesReadsBackAsTheSameDocument) {
  CharFormat plain = Format("DejaVu Sans", 20);
  CharFormat bold = plain;
  bold.bold = true;
  CharFormat styled = Format("Liberation Serif", 32);
  styled.italic = true;
  styled.underline = true;
  styled.colour = Colour{200, 10, 0};
  CharFormat blue = plain;
  blue.colour = Colour{0, 0, 255};

  RichDocument document;
  Paragraph first;
  first.Append("Abantwana ", plain);
  first.Append("bayafunda", bold);
  first.Append(" esikolo.", plain);
  Paragraph second;
  second.Append("Braces {} and \\ backslash;\ttab", styled);
  second.Append(std::string("line") + std::string(kLineBreak) + "break", blue);
  Paragraph unicode;
  unicode.Append("caf\xC3\xA9 \xE2\x82\xAC \xC5\x9C \xE4\xBD\xA0 \xF0\x9F\x98\x80 \xEF\xBF\xBD", plain);
  document.paragraphs = {first, second, Paragraph{}, unicode};

  const std::string rtf = WriteRtf(document);
  const std::optional<RichDocument> read = ReadRtf(rtf);
  ASSERT_TRUE(read.has_value()) << rtf;
  EXPECT_EQ(*read, document) << rtf;
}

TEST(RtfWriter, WritesWindows1252AsHexAndOtherCharactersAsUnicodeWithAFallback) {
  RichDocument document;
  Paragraph paragraph;
  paragraph.Append("\xC3\xA9\xE2\x82\xAC\xC5\x9C\xF0\x9F\x98\x80", Format("Sans", 24));
  document.paragraphs.push_back(paragraph);
  const std::string rtf = WriteRtf(document);
  EXPECT_NE(rtf.find("\\'e9\\'80\\u348?\\u-10179?\\u-8704?\\par"), std::string::npos) << rtf;
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u) << rtf;
}

TEST(RtfWriter, GivesDefaultFontAndSizeToRunsWithout) {
  RichDocument document;
  Paragraph paragraph;
  paragraph.Append("x", CharFormat{});
  document.paragraphs.push_back(paragraph);
  const std::optional<RichDocument> read = ReadRtf(WriteRtf(document));
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->paragraphs.size(), 1u);
  EXPECT_EQ(read->paragraphs[0].runs.at(0).format, Format("Sans", 24));
}

TEST(RtfWriter, KeepsParagraphSpacingAndTabStops) {
  RichDocument document;
  document.paragraphs.resize(3);
  document.paragraphs[0].Append("Isihloko", {});
  document.paragraphs[0].space_before = 240;
  document.paragraphs[0].space_after = 120;
  document.paragraphs[1].Append("Ibizo\tInani", {});
  document.paragraphs[1].tab_stops = {4320};
  document.paragraphs[2].Append("Ekupheleni.", {});
  const std::optional<RichDocument> back = ReadRtf(WriteRtf(document));
  ASSERT_TRUE(back.has_value());
  ASSERT_EQ(back->paragraphs.size(), 3u);
  EXPECT_EQ(back->paragraphs[0].space_before, 240);
  EXPECT_EQ(back->paragraphs[0].space_after, 120);
  EXPECT_EQ(back->paragraphs[1].tab_stops, std::vector<int>{4320});
  EXPECT_EQ(back->paragraphs[1].space_after, 0);
  EXPECT_EQ(back->paragraphs[2].tab_stops, std::vector<int>{});
}

TEST(RtfWriter, AnEmptyDocumentIsStillRtf) {
  const std::string rtf = WriteRtf(RichDocument{});
  const std::optional<RichDocument> read = ReadRtf(rtf);
  ASSERT_TRUE(read.has_value()) << rtf;
  EXPECT_TRUE(read->paragraphs.empty());
}

}  // namespace
}  // namespace tovuri
