#pragma once
// Upper and lower case of Windows-1252 text, byte by byte; shared by the
// analyser and the spelling framework.
#include <string>
#include <string_view>

namespace tovuri {

constexpr char AnsiUpperChar(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
  if (b == 0x9A || b == 0x9C || b == 0x9E) return static_cast<char>(b - 16);
  if (b == 0xFF) return static_cast<char>(0x9F);
  return c;
}

constexpr char AnsiLowerChar(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
  if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 16);
  if (b == 0x9F) return static_cast<char>(0xFF);
  return c;
}

inline std::string AnsiUpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AnsiUpperChar(c);
  return out;
}

inline std::string AnsiLowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AnsiLowerChar(c);
  return out;
}

}  // namespace tovuri
