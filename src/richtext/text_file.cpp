#include "richtext/text_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "spell/ox3Encoding.h"
#include "spell/ox3FileIO.h"

namespace tovuri {

TTextFile DecodeTextFile(std::string_view bytes) {
  TTextFile file;
  std::u32string characters;
  TTextDecoder decoder;
  decoder.Decode(bytes, true, characters);
  file.encoding = decoder.Encoding();
  std::u32string lines;
  lines.reserve(characters.size());
  bool first_end = true;
  for (size_t i = 0; i < characters.size(); ++i) {
    if (characters[i] != U'\r') {
      if (characters[i] == U'\n' && first_end) first_end = false;
      lines += characters[i];
      continue;
    }
    lines += U'\n';
    const bool pair = i + 1 < characters.size() && characters[i + 1] == U'\n';
    if (first_end) file.crlf = pair;
    first_end = false;
    if (pair) ++i;
  }
  file.text = ToUtf8(lines);
  return file;
}

std::optional<std::string> EncodeTextFile(std::string_view text, const TTextFile& file) {
  std::u32string characters;
  TTextDecoder decoder(TTextDecoder::TStart::tsUtf8);
  // The text is UTF-8 already; the decoder only splits it into characters.
  decoder.Decode(text, true, characters);
  if (file.crlf) {
    std::u32string lines;
    lines.reserve(characters.size() + characters.size() / 32);
    for (char32_t c : characters) {
      if (c == U'\n') lines += U'\r';
      lines += c;
    }
    characters.swap(lines);
  }
  return EncodeText(characters, file.encoding);
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) {
    error = std::strerror(EISDIR);
    return std::nullopt;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::strerror(errno != 0 ? errno : ENOENT);
    return std::nullopt;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) {
    error = std::strerror(errno != 0 ? errno : EIO);
    return std::nullopt;
  }
  return std::move(bytes).str();
}

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) {
    error = std::strerror(EISDIR);
    return false;
  }
  errno = 0;
  if (WriteFileAtomically(path, bytes)) return true;
  error = std::strerror(errno != 0 ? errno : EIO);
  return false;
}

}  // namespace tovuri
