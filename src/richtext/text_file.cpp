#include "richtext/text_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "spell/ox3Encoding.h"
#include "spell/ox3FileIO.h"

namespace tovuri {

std::string DecodeTextFile(std::string_view bytes) {
  std::string text;
  if (IsValidUtf8(bytes)) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    text.assign(bytes);
  } else {
    text = Windows1252ToUtf8(bytes);
  }
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      lines += text[i];
      continue;
    }
    lines += '\n';
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return lines;
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
