#include "cli/text_input.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

#include "spell/ox3Encoding.h"

namespace tovuri {

std::string ToWindows1252(std::string_view bytes) {
  if (!IsValidUtf8(bytes)) return std::string(bytes);
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (std::optional<std::string> text = Utf8ToWindows1252(bytes)) return std::move(*text);
  std::string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const std::optional<std::string> one = Utf8ToWindows1252(bytes.substr(i, length));
    text += one ? *one : std::string("?");
    i += length;
  }
  return text;
}

bool ReadInput(const std::string& name, std::string& bytes) {
  if (name == "-") {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
  }
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  bytes = std::move(buffer).str();
  return !in.bad();
}

}  // namespace tovuri
