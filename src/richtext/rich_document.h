#pragma once
// A document as the editor shows it: paragraphs of runs of formatted text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovuri {

// A line break inside a paragraph (the Unicode line separator), as run text holds it.
inline constexpr std::string_view kLineBreak = "\u2028";

struct Colour {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Colour&) const = default;
};

struct CharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::string font;              // family name; empty for the default
  int half_points = 0;           // size in half points; 0 for the default
  std::optional<Colour> colour;  // none: the automatic colour
  bool operator==(const CharFormat&) const = default;
};

// UTF-8 text in one format; tabs are '\t', line breaks kLineBreak.
struct TextRun {
  std::string text;
  CharFormat format;
  bool operator==(const TextRun&) const = default;
};

struct Paragraph {
  std::vector<TextRun> runs;
  // Space above and below the paragraph, in twips (1/1440 inch).
  int space_before = 0;
  int space_after = 0;
  // Tab stops from the left margin in twips, ascending; a table row's are
  // its cells' left edges, so that its columns line up.
  std::vector<int> tab_stops;
  // Appends text, joining it to the last run when the format is the same.
  void Append(std::string_view text, const CharFormat& format);
  std::string PlainText() const;
  bool operator==(const Paragraph&) const = default;
};

struct RichDocument {
  std::vector<Paragraph> paragraphs;
  // What the reader passed over and the document cannot hold, each named
  // once, in the order met ("pictures", "footnotes", ...).
  std::vector<std::string> skipped;
  // The paragraphs' text joined by "\n".
  std::string PlainText() const;
  bool operator==(const RichDocument&) const = default;
};

}  // namespace tovuri
