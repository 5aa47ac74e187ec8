#include "app/ox3QtText.h"

#include <array>

#include "spell/ox3Encoding.h"

namespace tovuri {

namespace {

// Windows-1252 bytes by the UTF-16 unit they stand for, for the units
// 0x0152 to 0x2122 that the code page maps into 0x80 to 0x9F.
struct HighTable {
  std::array<char16_t, 32> units{};
  HighTable() {
    for (int b = 0x80; b < 0xA0; ++b) {
      const std::string byte(1, static_cast<char>(b));
      units[static_cast<size_t>(b - 0x80)] = Windows1252ToUtf16(byte)[0];
    }
  }
};

char ToAnsiChar(char16_t unit) {
  static const HighTable table;
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (size_t i = 0; i < table.units.size(); ++i)
    if (table.units[i] == unit && unit >= 0x100) return static_cast<char>(0x80 + i);
  // Line and paragraph separators and other spaces still part words.
  if (QChar(unit).isSpace()) return ' ';
  return kForeignChar;
}

}  // namespace

std::string ToAnsi(const QString& text) {
  std::string out;
  out.resize(static_cast<size_t>(text.size()));
  const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
  for (qsizetype i = 0; i < text.size(); ++i) out[static_cast<size_t>(i)] = ToAnsiChar(units[i]);
  return out;
}

QString FromAnsi(std::string_view text) {
  const std::u16string units = Windows1252ToUtf16(text);
  QString out = QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
  for (qsizetype i = 0; i < out.size(); ++i)
    if (text[static_cast<size_t>(i)] == kForeignChar) out[i] = QChar(0xFFFD);
  return out;
}

}  // namespace tovuri
