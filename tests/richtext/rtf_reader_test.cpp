#include "richtext/rtf_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovuri {
namespace {

std::vector<std::string> Lines(const RichDocument& document) {
  std::vector<std::string> lines;
  for (const Paragraph& paragraph : document.paragraphs) lines.push_back(paragraph.PlainText());
  return lines;
}

std::vector<std::string> ReadLines(const std::string& rtf) {
  const std::optional<RichDocument> document = ReadRtf(rtf);
  EXPECT_TRUE(document.has_value()) << rtf.substr(0, 80);
  return document ? Lines(*document) : std::vector<std::string>{};
}

// The shape of what a small word processor writes: a font table with
// character sets, a colour table with the automatic colour first, a
// generator destination, and formatting switched on and off inside paragraphs.
constexpr char kSmallEditorDocument[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
    "{\\f1\\fnil\\fcharset0 Times New Roman;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Umntwana \\b uyadlala\\b0  \\i ekhaya\\i0 .\\par\r\n"
    "\\cf1\\ul Lapha\\ulnone\\cf0  ngu \\f1\\fs28 Bulawayo\\f0\\fs22\\par\r\n"
    "}\r\n";

TEST(RtfReader, ReadsTheParagraphsAndFormatsOfASmallEditorsDocument) {
  const std::optional<RichDocument> document = ReadRtf(kSmallEditorDocument);
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(Lines(*document), (std::vector<std::string>{"Umntwana uyadlala ekhaya.", "Lapha ngu Bulawayo"}));
  const std::vector<TextRun>& first = document->paragraphs[0].runs;
  ASSERT_EQ(first.size(), 5u);
  EXPECT_EQ(first[0].text, "Umntwana ");
  EXPECT_FALSE(first[0].format.bold);
  EXPECT_EQ(first[0].format.font, "Calibri");
  EXPECT_EQ(first[0].format.half_points, 22);
  EXPECT_EQ(first[1].text, "uyadlala");
  EXPECT_TRUE(first[1].format.bold);
  EXPECT_EQ(first[2].text, " ");  // the blank after \b0 is its delimiter, the second one is text
  EXPECT_FALSE(first[2].format.bold);
  EXPECT_EQ(first[3].text, "ekhaya");
  EXPECT_TRUE(first[3].format.italic);
  EXPECT_EQ(first[4].text, ".");

  const std::vector<TextRun>& second = document->paragraphs[1].runs;
  ASSERT_EQ(second.size(), 3u);
  EXPECT_EQ(second[0].text, "Lapha");
  EXPECT_TRUE(second[0].format.underline);
  EXPECT_EQ(second[0].format.colour, (Colour{255, 0, 0}));
  EXPECT_EQ(second[1].text, " ngu ");
  EXPECT_FALSE(second[1].format.underline);
  EXPECT_FALSE(second[1].format.colour.has_value());
  EXPECT_EQ(second[2].text, "Bulawayo");
  EXPECT_EQ(second[2].format.font, "Times New Roman");
  EXPECT_EQ(second[2].format.half_points, 28);
}

// The shape of what a full word processor writes: a style sheet, revision and
// XML tables, document information, a two-row table, an embedded picture with
// its alternative, and Unicode text with Windows-1252 fallbacks.
constexpr char kWordProcessorDocument[] =
    "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff0\\deff0\\stshfdbch0\\stshfloch31506\\deflang1033"
    "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
    "{\\f31506\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02040503050406030204}Cambria;}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\n"
    "{\\stylesheet{\\ql \\li0\\ri0\\widctlpar\\wrapdefault\\rtlch\\fcs1 \\af0\\afs24 \\ltrch\\fcs0 \\fs24\\lang1033"
    " \\snext0 \\sqformat \\spriority0 Normal;}{\\*\\cs10 \\additive \\ssemihidden Default Paragraph Font;}}\n"
    "{\\*\\rsidtbl \\rsid1473939}{\\*\\generator Microsoft Word 15.0;}"
    "{\\info{\\title Izindaba}{\\author Thandiwe}{\\creatim\\yr2024\\mo3\\dy1\\hr10\\min5}}\n"
    "{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}\n"
    "\\paperw12240\\paperh15840\\margl1440\\margr1440 \\sectd \\linex0\\endnhere\\sectdefaultcl\\sftnbj \n"
    "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}\n"
    "{\\header \\pard\\plain Ikhasi lokuqala\\par}\n"
    "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\widctlpar\\wrapdefault\\rtlch\\fcs1 \\af0\\afs24 \\ltrch\\fcs0 \\fs24"
    "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\b\\insrsid1473939 Isihloko}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
    "\\insrsid1473939 \\par }\n"
    "\\trowd \\irow0\\irowband0\\ltrrow\\ts11\\trgaph108\\trleft-108\\trbrdrt\\brdrs\\brdrw10 "
    "\\cellx4680\\cellx9360\\pard\\plain \\ltrpar\\ql \\widctlpar\\intbl\\wrapdefault \\fs24"
    "{\\insrsid1473939 Ibizo\\cell Inani\\cell }\\pard\\plain \\intbl {\\insrsid1473939 \\trowd \\irow0"
    "\\cellx4680\\cellx9360\\row }\n"
    "\\trowd \\irow1\\irowband1\\lastrow \\cellx4680\\cellx9360\\pard\\plain \\intbl \\fs24"
    "{\\insrsid1473939 amanzi\\cell 12\\cell }\\pard\\plain \\intbl {\\trowd \\irow1\\lastrow"
    "\\cellx4680\\cellx9360\\row }\n"
    "\\pard\\plain \\fs24 {\\insrsid1473939 Umfanekiso: }"
    "{\\*\\shppict{\\pict{\\*\\picprop\\shplid1025{\\sp{\\sn shapeType}{\\sv 75}}}\\picscalex100\\picscaley100"
    "\\picw1764\\pich1764\\picwgoal1000\\pichgoal1000\\pngblip\\bliptag-1{\\*\\blipuid 1}\n"
    "89504e470d0a1a0a0000000d49484452000000100000001008060000001ff3ff61}}"
    "{\\nonshppict{\\pict\\picscalex100\\wmetafile8\\picw1764 0100090000036e}}"
    "{\\insrsid1473939  kuphela.\\par }\n"
    "{\\insrsid1473939 \\u352\\'8aenzo caf\\'e9 \\u8220\\'93Ngiyabonga\\u8221\\'94 "
    "{\\uc2 \\u20320\\'c4\\'e3 }\\u-10179\\'3f\\u-8704\\'3f\\par }\n"
    "{\\*\\themedata 504b030414000600080000002100e9de0fbfff0000001c020000130000005b436f}\n"
    "{\\*\\datastore 01050000020000001800000}\n"
    "}";

TEST(RtfReader, ReadsTheBodyOfAWordProcessorsDocumentWithATableAPictureAndUnicode) {
  const std::optional<RichDocument> document = ReadRtf(kWordProcessorDocument);
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(Lines(*document), (std::vector<std::string>{
                                  "Isihloko",
                                  "Ibizo\tInani",
                                  "amanzi\t12",
                                  "Umfanekiso:  kuphela.",
                                  "\xC5\xA0" "enzo caf\xC3\xA9 \xE2\x80\x9CNgiyabonga\xE2\x80\x9D \xE4\xBD\xA0 "
                                  "\xF0\x9F\x98\x80",
                              }));
  EXPECT_TRUE(document->paragraphs[0].runs[0].format.bold);
  EXPECT_EQ(document->paragraphs[0].runs[0].format.font, "Times New Roman");
}

TEST(RtfReader, ATableRowsCellsStartAtTheirColumnsTabStops) {
  const std::optional<RichDocument> document = ReadRtf(kWordProcessorDocument);
  ASSERT_TRUE(document.has_value());
  ASSERT_GE(document->paragraphs.size(), 4u);
  EXPECT_EQ(document->paragraphs[1].tab_stops, std::vector<int>{4680});
  EXPECT_EQ(document->paragraphs[2].tab_stops, std::vector<int>{4680});
  EXPECT_EQ(document->paragraphs[3].tab_stops, std::vector<int>{});
}

TEST(RtfReader, NamesWhatItSkippedThatSavingWouldLose) {
  EXPECT_EQ(ReadRtf(kWordProcessorDocument)->skipped,
            (std::vector<std::string>{"headers and footers", "pictures"}));
  EXPECT_EQ(ReadRtf(kSmallEditorDocument)->skipped, std::vector<std::string>{});  // style sheets and the like are no loss
  EXPECT_EQ(ReadRtf("{\\rtf1 a{\\footnote b}{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt c}}"
                    "{\\annotation d}{\\object e}\\par}")
                ->skipped,
            (std::vector<std::string>{"footnotes", "fields such as hyperlinks", "comments", "embedded objects"}));
}

// What pandoc writes: each cell's text is a paragraph of its own inside the cell.
constexpr char kPandocDocument[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 \\fswiss Helvetica;}}\n"
    "{\\pard \\ql \\f0 \\sa180 \\li0 \\fi0 \\outlinelevel0 \\b \\fs36 Isihloko\\par}\n"
    "{\n\\trowd \\trgaph120\n\\clbrdrb\\brdrs\\cellx4320\\clbrdrb\\brdrs\\cellx8640\n\\trkeep\\intbl\n{\n"
    "{\\intbl {\\pard \\ql \\f0 \\sa0 \\li0 \\fi0 \\b Ibizo\\par}\n\\cell}\n"
    "{\\intbl {\\pard \\ql \\f0 \\sa0 \\li0 \\fi0 \\b Inani\\par}\n\\cell}\n}\n\\intbl\\row}\n"
    "{\n\\trowd \\trgaph120\n\\cellx4320\\cellx8640\n\\trkeep\\intbl\n{\n"
    "{\\intbl {\\pard \\ql \\f0 \\sa0 \\li0 \\fi0 amanzi\\par}\n"
    "{\\pard \\ql \\f0 \\sa0 \\li0 \\fi0 amahle\\par}\n\\cell}\n"
    "{\\intbl {\\pard \\ql \\f0 \\sa0 \\li0 \\fi0 12\\par}\n\\cell}\n}\n\\intbl\\row}\n"
    "{\\pard \\ql \\f0 \\sa180 \\sb120 \\li0 \\fi0 Ekupheleni.\\par}\n"
    "}\n";

TEST(RtfReader, ReadsPandocsTablesAsOneLinePerRowAndKeepsParagraphSpacing) {
  const std::optional<RichDocument> document = ReadRtf(kPandocDocument);
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(Lines(*document),
            (std::vector<std::string>{"Isihloko", "Ibizo\tInani", "amanzi amahle\t12", "Ekupheleni."}));
  ASSERT_EQ(document->paragraphs.size(), 4u);
  EXPECT_EQ(document->paragraphs[0].space_after, 180);
  EXPECT_EQ(document->paragraphs[0].space_before, 0);
  EXPECT_EQ(document->paragraphs[1].tab_stops, std::vector<int>{4320});
  EXPECT_EQ(document->paragraphs[3].space_before, 120);
  EXPECT_EQ(document->paragraphs[3].space_after, 180);
}

// What LibreOffice writes for a heading with outline numbering that shows no
// number, a plain paragraph, and a numbered list item.
constexpr char kLibreOfficeDocument[] =
    "{\\rtf1\\ansi\\deff3\\adeflang1025{\\fonttbl{\\f3\\fswiss Liberation Sans;}}"
    "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc255{\\leveltext \\'00;}{\\levelnumbers;}}"
    "\\listid1}}{\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}\n"
    "{\\*\\generator LibreOffice/7.4}{\\info{\\creatim\\yr2024}}\n"
    "{\\listtext\\pard\\plain \\tab}\\pard\\plain \\s1\\ilvl0\\ls1\\outlinelevel0\\sb240\\sa120\\keepn"
    "{\\b\\fs36 Isihloko}\\par\n"
    "\\pard\\plain \\s0\\sa140 Umbhalo.\\par\n"
    "{\\listtext\\pard\\plain 1.\\tab}\\pard\\plain \\ls2 Okokuqala\\par}\n";

TEST(RtfReader, AHeadingsEmptyNumberingLeavesNoTabButAListItemKeepsItsNumber) {
  const std::optional<RichDocument> document = ReadRtf(kLibreOfficeDocument);
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(Lines(*document), (std::vector<std::string>{"Isihloko", "Umbhalo.", "1.\tOkokuqala"}));
  EXPECT_EQ(document->paragraphs[0].space_before, 240);
  EXPECT_EQ(document->paragraphs[0].space_after, 120);
  EXPECT_EQ(document->paragraphs[1].space_after, 140);
  EXPECT_EQ(document->skipped, std::vector<std::string>{});
}

TEST(RtfReader, SkipsBinaryDataWhateverBytesItHolds) {
  const std::string rtf = std::string("{\\rtf1 a{\\pict\\wmetafile8\\bin5 }{\\\n\x01}b\\par}");
  EXPECT_EQ(ReadLines(rtf), (std::vector<std::string>{"ab"}));
}

TEST(RtfReader, ReadsControlSymbolsAndSpecialCharacters) {
  struct Case {
    const char* rtf;
    const char* text;
  };
  const Case cases[] = {
      {"{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d"},
      {"{\\rtf1 a\\tab b\\line c}", "a\tb\xE2\x80\xA8" "c"},
      {"{\\rtf1 non\\-breaking\\~space\\_dash}", "nonbreaking\xC2\xA0space-dash"},
      {"{\\rtf1 \\lquote a\\rquote  \\ldblquote b\\rdblquote \\emdash\\endash\\bullet}",
       "\xE2\x80\x98" "a\xE2\x80\x99 \xE2\x80\x9C" "b\xE2\x80\x9D\xE2\x80\x94\xE2\x80\x93\xE2\x80\xA2"},
      {"{\\rtf1 x\\'e9\\'80\\'zz y}", "x\xC3\xA9\xE2\x82\xAC" "zz y"},
      {"{\\rtf1 \\uc0\\u1604 \\u1575 end}", "\xD9\x84\xD8\xA7" "end"},
      {"{\\rtf1 \\u233\\'e9\\'e9}", "\xC3\xA9\xC3\xA9"},  // one fallback byte read past, the next kept
      {"{\\rtf1 \\u233 fallback}", "\xC3\xA9" "allback"},
      {"{\\rtf1 \\u233{\\b x}}", "\xC3\xA9x"},  // a group ends the fallback
  };
  for (const Case& c : cases) {
    const std::optional<RichDocument> document = ReadRtf(c.rtf);
    ASSERT_TRUE(document.has_value()) << c.rtf;
    EXPECT_EQ(document->PlainText(), c.text) << c.rtf;
  }
}

TEST(RtfReader, KeepsEmptyParagraphsAndMakesNoneAfterTheLastParagraphMark) {
  EXPECT_EQ(ReadLines("{\\rtf1 a\\par\\par b\\par}"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(ReadLines("{\\rtf1 a\\par b}"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ReadLines("{\\rtf1 a\\\nb}"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ReadLines("{\\rtf1 a\r\nb}"), (std::vector<std::string>{"ab"}));
  EXPECT_TRUE(ReadLines("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}}").empty());
}

TEST(RtfReader, FormatEndsWithItsGroupAndPlainResetsIt) {
  const std::optional<RichDocument> document = ReadRtf("{\\rtf1 {\\b\\i bold }plain \\ul u\\plain  p}");
  ASSERT_TRUE(document.has_value());
  const std::vector<TextRun>& runs = document->paragraphs.at(0).runs;
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_TRUE(runs[0].format.bold && runs[0].format.italic);
  EXPECT_EQ(runs[1].text, "plain ");
  EXPECT_FALSE(runs[1].format.bold || runs[1].format.italic);
  EXPECT_TRUE(runs[2].format.underline);
  EXPECT_EQ(runs[3].text, " p");
  EXPECT_FALSE(runs[3].format.underline);
}

TEST(RtfReader, RefusesWhatDoesNotBeginAsRtf) {
  for (const char* bytes : {"", "   ", "plain text", "{\\rt", "{\\rtx1 a}", "rtf1 {\\rtf1 a}"})
    EXPECT_FALSE(ReadRtf(bytes).has_value()) << bytes;
  EXPECT_TRUE(ReadRtf("\xEF\xBB\xBF \r\n{\\rtf1 a}").has_value());
}

TEST(RtfReader, LoadsWhatItCanOfUnbalancedBraces) {
  EXPECT_EQ(ReadLines("{\\rtf1 abc{\\b def"), (std::vector<std::string>{"abcdef"}));
  EXPECT_EQ(ReadLines("{\\rtf1 abc}}}} trailing"), (std::vector<std::string>{"abc"}));
  EXPECT_EQ(ReadLines("{\\rtf1 a\\"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(ReadLines("{\\rtf1 a\\'"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(ReadLines("{\\rtf1 a\\'4"), (std::vector<std::string>{"a4"}));
  EXPECT_EQ(ReadLines("{\\rtf1 a\\u"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(ReadLines("{\\rtf1 a\\bin999999999 xyz}"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(ReadLines("{\\rtf1 a\\bin-5 xyz}"), (std::vector<std::string>{"axyz"}));
}

TEST(RtfReader, ReadsPastAHundredMegabyteControlWordOrParameter) {
  const size_t size = 100u << 20;
  std::string word = "{\\rtf1 x\\";
  word.append(size, 'a');
  word += " y}";
  EXPECT_EQ(ReadLines(word), (std::vector<std::string>{"xy"}));

  std::string parameter = "{\\rtf1 x\\fs";
  parameter.append(size, '9');
  parameter += " y}";
  const std::optional<RichDocument> document = ReadRtf(parameter);
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(document->PlainText(), "xy");
  EXPECT_GT(document->paragraphs[0].runs.back().format.half_points, 0);
}

TEST(RtfReader, DropsTextNestedDeeperThanItFollowsAndKeepsTheRest) {
  const size_t depth = 1'000'000;
  std::string rtf = "{\\rtf1 before ";
  rtf.append(depth, '{');
  rtf += "deep";
  rtf.append(depth, '}');
  rtf += "after}";
  EXPECT_EQ(ReadLines(rtf), (std::vector<std::string>{"before after"}));

  std::string shallow = "{\\rtf1 ";
  shallow.append(100, '{');
  shallow += "kept";
  shallow.append(100, '}');
  shallow += "}";
  EXPECT_EQ(ReadLines(shallow), (std::vector<std::string>{"kept"}));
}

TEST(RtfReader, NeverTakesTheWholeDocumentForASkippedDestination) {
  EXPECT_EQ(ReadLines("{\\rtf1\\*\\pict a\\par}"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(ReadLines("{\\rtf1\\fonttbl a\\par}"), (std::vector<std::string>{"a"}));
}

}  // namespace
}  // namespace tovuri
