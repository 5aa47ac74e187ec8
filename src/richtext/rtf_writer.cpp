#include "richtext/rtf_writer.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "spell/ox3Encoding.h"

namespace tovuri {
namespace {

constexpr int kDefaultHalfPoints = 24;
constexpr std::string_view kDefaultFont = "Sans";

// Decodes the UTF-8 sequence at text[pos] and moves past it; a malformed
// byte reads as U+FFFD.
char32_t NextCodePoint(std::string_view text, size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (extra < 0 || pos + static_cast<size_t>(extra) > text.size()) return 0xFFFD;
  char32_t cp = lead & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos]);
    if ((next & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (next & 0x3F);
    ++pos;
  }
  return cp;
}

// The Windows-1252 byte of a code point from U+0080 on, or nothing.
std::optional<unsigned char> AnsiByte(char32_t cp) {
  static const std::vector<char16_t> high_half = [] {
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b) bytes += static_cast<char>(b);
    const std::u16string units = Windows1252ToUtf16(bytes);
    return std::vector<char16_t>(units.begin(), units.end());
  }();
  const auto found = std::find(high_half.begin(), high_half.end(), cp);
  if (cp > 0xFFFF || found == high_half.end()) return std::nullopt;
  return static_cast<unsigned char>(0x80 + (found - high_half.begin()));
}

void AppendHexByte(std::string& out, unsigned char b) {
  constexpr std::string_view kHex = "0123456789abcdef";
  out += "\\'";
  out += kHex[b >> 4];
  out += kHex[b & 0xF];
}

void AppendUnicode(std::string& out, char32_t cp) {
  // RTF's \uN takes a signed 16-bit unit; "?" stands in for readers without Unicode.
  const auto unit = [&out](char32_t u) {
    out += "\\u" + std::to_string(static_cast<int16_t>(static_cast<uint16_t>(u))) + "?";
  };
  if (cp >= 0x10000) {
    unit(0xD800 + ((cp - 0x10000) >> 10));
    unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
  } else {
    unit(cp);
  }
}

void AppendText(std::string& out, std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    const char32_t cp = NextCodePoint(text, pos);
    if (cp == '\\' || cp == '{' || cp == '}') {
      out += '\\';
      out += static_cast<char>(cp);
    } else if (cp == '\t') {
      out += "\\tab ";
    } else if (cp == '\n' || cp == 0x2028) {
      out += "\\line ";
    } else if (cp < 0x20) {
      continue;
    } else if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (const std::optional<unsigned char> b = AnsiByte(cp)) {
      AppendHexByte(out, *b);
    } else {
      AppendUnicode(out, cp);
    }
  }
}

template <typename T>
size_t IndexOf(std::vector<T>& list, const T& item) {
  const auto found = std::find(list.begin(), list.end(), item);
  if (found != list.end()) return static_cast<size_t>(found - list.begin());
  list.push_back(item);
  return list.size() - 1;
}

}  // namespace

std::string WriteRtf(const RichDocument& document) {
  std::vector<std::string> fonts{std::string(kDefaultFont)};
  std::vector<Colour> colours;  // entry 0 of the table is the automatic colour
  for (const Paragraph& paragraph : document.paragraphs)
    for (const TextRun& run : paragraph.runs) {
      if (!run.format.font.empty()) IndexOf(fonts, run.format.font);
      if (run.format.colour) IndexOf(colours, *run.format.colour);
    }

  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\n{\\fonttbl";
  for (size_t i = 0; i < fonts.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil ";
    AppendText(out, fonts[i]);
    out += ";}";
  }
  out += "}\n{\\colortbl;";
  for (const Colour& c : colours)
    out += "\\red" + std::to_string(c.red) + "\\green" + std::to_string(c.green) + "\\blue" +
           std::to_string(c.blue) + ";";
  out += "}\n\\uc1\\pard\\plain\\f0\\fs" + std::to_string(kDefaultHalfPoints) + "\n";

  CharFormat current;
  current.font = fonts.front();
  current.half_points = kDefaultHalfPoints;
  bool plain_paragraph = true;  // the \pard above still holds
  for (const Paragraph& paragraph : document.paragraphs) {
    const bool plain = paragraph.space_before == 0 && paragraph.space_after == 0 && paragraph.tab_stops.empty();
    if (!plain || !plain_paragraph) {
      out += "\\pard";
      if (paragraph.space_before > 0) out += "\\sb" + std::to_string(paragraph.space_before);
      if (paragraph.space_after > 0) out += "\\sa" + std::to_string(paragraph.space_after);
      for (const int stop : paragraph.tab_stops) out += "\\tx" + std::to_string(stop);
      out += ' ';
    }
    plain_paragraph = plain;
    for (const TextRun& run : paragraph.runs) {
      CharFormat wanted = run.format;
      if (wanted.font.empty()) wanted.font = fonts.front();
      if (wanted.half_points <= 0) wanted.half_points = kDefaultHalfPoints;
      if (wanted != current) {
        out += "\\plain\\f" + std::to_string(IndexOf(fonts, wanted.font)) + "\\fs" +
               std::to_string(wanted.half_points);
        if (wanted.colour) out += "\\cf" + std::to_string(IndexOf(colours, *wanted.colour) + 1);
        if (wanted.bold) out += "\\b";
        if (wanted.italic) out += "\\i";
        if (wanted.underline) out += "\\ul";
        out += ' ';
        current = wanted;
      }
      AppendText(out, run.text);
    }
    out += "\\par\n";
  }
  out += "}\n";
  return out;
}

}  // namespace tovuri
