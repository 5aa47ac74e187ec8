#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyser/noun_forms.h"

namespace tovuri {
namespace {

struct Shape {
  std::string prefix, stem, near_form, far_form;
  bool operator==(const Shape&) const = default;
};

void PrintTo(const Shape& s, std::ostream* os) {
  *os << "{" << s.prefix << ", " << s.stem << ", " << s.near_form << "/" << s.far_form << "}";
}

// The used shapes of a class, in order.
std::vector<Shape> Shapes(std::string_view tag, std::string_view prefix, std::string_view stem) {
  const NumberVariants v = NounNumberVariants(tag, prefix, stem);
  std::vector<Shape> out;
  for (int j = 0; j < v.count; ++j) {
    const NumberVariant& x = v.variants[j];
    out.push_back({x.prefix, x.stem, std::string(x.near_demonstrative),
                   std::string(x.far_demonstrative)});
  }
  return out;
}

struct Row {
  std::string tag, prefix, stem;
  std::vector<Shape> shapes;
};

TEST(NounClassTable, EachRowGivesItsShapes) {
  const std::vector<Row> rows = {
      {"u/o", "u", "bab", {{"u", "bab", "lo", "lowo"}, {"o", "bab", "laba", "labo"}}},
      {"person", "", "Ndlov", {{"", "Ndlov", "lo", "lowo"}, {"o", "Ndlov", "laba", "labo"}}},
      {"u", "u", "bab", {{"u", "bab", "lo", "lowo"}}},
      {"place", "", "Bulaway", {{"", "Bulaway", "", ""}}},
      {"isi/izi", "isi", "tsh", {{"isi", "tsh", "lesi", "leso"}, {"izi", "tsh", "lezi", "lezo"}}},
      {"isi/izi", "is", "andl", {{"is", "andl", "lesi", "leso"}, {"iz", "andl", "lezi", "lezo"}}},
      {"isi", "isi", "tsh", {{"isi", "tsh", "lesi", "leso"}}},
      {"izi", "izi", "nkomo", {{"izi", "nkomo", "lezi", "lezo"}}},
      {"in/izin",
       "in",
       "dl",
       {{"in", "dl", "le", "leyo"}, {"izin", "dl", "lezi", "lezo"}, {"in", "dl", "lezi", "lezo"}}},
      {"in/izin",
       "im",
       "bw",
       {{"im", "bw", "le", "leyo"}, {"izim", "bw", "lezi", "lezo"}, {"im", "bw", "lezi", "lezo"}}},
      {"um", "um", "fan", {{"um", "fan", "lo", "lowo"}}},
      {"um/aba", "umu", "nt", {{"umu", "nt", "lo", "lowo"}, {"aba", "nt", "laba", "labo"}}},
      {"um/ama",
       "um",
       "khwenyan",
       {{"um", "khwenyan", "lo", "lowo"}, {"ama", "khwenyan", "la", "lawo"}}},
      {"ili/ama", "i", "zw", {{"i", "zw", "leli", "lelo"}, {"ama", "zw", "la", "lawo"}}},
      {"ili", "ili", "zw", {{"ili", "zw", "leli", "lelo"}}},
      {"ama", "ama", "nz", {{"ama", "nz", "la", "lawo"}}},
      {"um/imi", "umu", "th", {{"umu", "th", "lo", "lowo"}, {"imi", "th", "le", "leyo"}}},
      {"imi", "imi", "th", {{"imi", "th", "le", "leyo"}}},
      {"umu", "umu", "ntw", {{"umu", "ntw", "lo", "lowo"}}},
      {"in/ama", "in", "dod", {{"in", "dod", "le", "leyo"}, {"ama", "dod", "la", "lawo"}}},
      {"ulu/izin", "ulu", "ti", {{"ulu", "ti", "lolu", "lolo"}, {"izin", "ti", "lezi", "lezo"}}},
      {"ulu", "ulu", "ti", {{"ulu", "ti", "lolu", "lolo"}}},
      {"ubu", "ubu", "khos", {{"ubu", "khos", "lobu", "lobo"}}},
      {"uku", "uku", "hamb", {{"uku", "hamb", "lokhu", "lokho"}}},
      {"u/o/ama",
       "u",
       "bab",
       {{"u", "bab", "lo", "lowo"}, {"o", "bab", "laba", "labo"}, {"ama", "bab", "la", "lawo"}}},
      {"in", "in", "dl", {{"in", "dl", "le", "leyo"}}},
      {"im", "im", "pi", {{"im", "pi", "le", "leyo"}}},
  };
  for (const Row& row : rows)
    EXPECT_THAT(Shapes(row.tag, row.prefix, row.stem), ::testing::ElementsAreArray(row.shapes))
        << row.tag << " " << row.prefix << "-" << row.stem;
}

TEST(NounClassTable, UnknownTagKeepsTwoPlainShapes) {
  for (std::string_view tag : {"verb", "adj", "", "UM/ABA"}) {
    EXPECT_THAT(Shapes(tag, "umu", "nt"),
                ::testing::ElementsAre(Shape{"umu", "nt", "", ""}, Shape{"umu", "nt", "", ""}))
        << tag;
  }
}

TEST(NounClassTable, UmAbaTakesAbBeforeAVowelStem) {
  const struct {
    std::string stem, plural;
  } cases[] = {{"elusi", "ab"}, {"Akhi", "ab"}, {"nt", "aba"}, {"fan", "aba"}, {"", "aba"},
               {"yeni", "aba"}};
  for (const auto& c : cases)
    EXPECT_EQ(Shapes("um/aba", "um", c.stem)[1].prefix, c.plural) << c.stem;
}

TEST(NounClassTable, InAmaAspiratesThePluralStemOnly) {
  const struct {
    std::string prefix, stem, singular, plural;
  } cases[] = {
      {"in", "kos", "kos", "khos"},
      {"in", "k", "k", "kh"},
      {"in", "dod", "dod", "dod"},
      {"im", "kos", "kos", "kos"},  // only the "in" prefix aspirates
      {"in", "Kos", "Kos", "Kos"},
  };
  for (const auto& c : cases) {
    const auto shapes = Shapes("in/ama", c.prefix, c.stem);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].stem, c.singular) << c.prefix << "-" << c.stem;
    EXPECT_EQ(shapes[1].stem, c.plural) << c.prefix << "-" << c.stem;
  }
}

TEST(NounClassTable, UluIzinShapesByPrefixAndStem) {
  const struct {
    std::string prefix, stem;
    std::vector<std::string> prefixes, stems;
  } cases[] = {
      {"ulu", "ti", {"ulu", "izin"}, {"ti", "ti"}},
      {"u", "ti", {"u", "izin", "in"}, {"ti", "ti", "ti"}},
      {"u", "bamb", {"u", "izim", "im"}, {"bamb", "bamb", "bamb"}},
      {"ulu", "f", {"ulu", "izim"}, {"f", "f"}},
      {"u", "phaph", {"u", "izim", "im"}, {"phaph", "paph", "paph"}},
      {"ulu", "thi", {"ulu", "izin"}, {"thi", "ti"}},
      {"u", "nwel", {"u", "izi", "i"}, {"nwel", "nwel", "nwel"}},
      {"ulu", "nwel", {"ulu", "izi"}, {"nwel", "nwel"}},
      {"u", "nh", {"u", "izi", "i"}, {"nh", "n", "n"}},
      {"u", "", {"u", "izin", "in"}, {"", "", ""}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> prefixes, stems;
    for (const Shape& s : Shapes("ulu/izin", c.prefix, c.stem)) {
      prefixes.push_back(s.prefix);
      stems.push_back(s.stem);
    }
    EXPECT_EQ(prefixes, c.prefixes) << c.prefix << "-" << c.stem;
    EXPECT_EQ(stems, c.stems) << c.prefix << "-" << c.stem;
  }
}

TEST(NounClassTable, JoinFormativeCoalescesTheVowels) {
  const struct {
    std::string formative, prefix, joined;
  } cases[] = {
      {"la", "umu", "lomu"},  {"la", "isi", "lesi"},  {"la", "ama", "lama"},
      {"la", "o", "labo"},    {"nga", "in", "ngen"},  {"wa", "umu", "womu"},
      {"kwa", "umu", "komu"},  // "kwo" loses its glide
      {"lwa", "umu", "lomu"},  // "lwo" loses its glide
      {"kwa", "ama", "kwama"}, {"lwa", "o", "lwabo"}, {"okwa", "uku", "okoku"},
      {"ku", "umu", "kuumu"},  // no final "a": joined unchanged
      {"kulwo", "kwo", "kulokwo"},  // only the first glide rule applies
      {"la", "", "l"},        {"la", "x", "l"},       {"", "umu", "umu"},
      {"a", "umu", "omu"},    {"la", "Umu", "lmu"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(JoinFormative(c.formative, c.prefix), c.joined)
        << c.formative << " + " << c.prefix;
}

}  // namespace
}  // namespace tovuri
