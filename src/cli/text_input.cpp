#include "cli/text_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "spell/ox3Encoding.h"

namespace tovuri {
namespace {

constexpr size_t kBlock = size_t{1} << 16;

// The length of the valid UTF-8 sequence at the start of bytes, or 0 when it
// is not one; -1 when bytes end inside what may still become one.
int Utf8SequenceLength(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  size_t length;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  else return 0;
  for (size_t i = 1; i < length; ++i) {
    if (i >= bytes.size()) return -1;
    const auto c = static_cast<unsigned char>(bytes[i]);
    if ((c & 0xC0) != 0x80) return 0;
    // Overlong forms, surrogates and code points beyond U+10FFFF.
    if (i == 1 && ((lead == 0xE0 && c < 0xA0) || (lead == 0xED && c > 0x9F) ||
                   (lead == 0xF0 && c < 0x90) || (lead == 0xF4 && c > 0x8F)))
      return 0;
  }
  return static_cast<int>(length);
}

void AppendCodePoint(std::string& text, char32_t c) {
  if (c < 0x80) {
    text += static_cast<char>(c);
    return;
  }
  std::u16string unit;
  if (c >= 0x10000) {
    text += '?';
    return;
  }
  unit += static_cast<char16_t>(c);
  text += Utf16ToWindows1252(unit);
}

}  // namespace

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

TextLineReader::~TextLineReader() {
  if (owns_file_) std::fclose(file_);
}

TextLineReader::Opened TextLineReader::Open(const std::string& name, std::string& problem) {
  if (name == "-") {
    file_ = stdin;
  } else {
    file_ = std::fopen(name.c_str(), "rb");
    if (!file_) {
      problem = std::strerror(errno);
      return Opened::kFailed;
    }
    owns_file_ = true;
    struct stat status {};
    if (::fstat(fileno(file_), &status) == 0 && S_ISDIR(status.st_mode)) {
      problem = "is a directory";
      return Opened::kFailed;
    }
  }
  raw_.resize(kBlock);
  raw_.resize(std::fread(raw_.data(), 1, kBlock, file_));
  if (std::ferror(file_)) {
    problem = std::strerror(errno);
    return Opened::kFailed;
  }
  at_end_ = raw_.size() < kBlock;
  std::string_view start = raw_;
  if (start.substr(0, 2) == "\xFF\xFE") {
    encoding_ = Encoding::kUtf16Le;
  } else if (start.substr(0, 2) == "\xFE\xFF") {
    encoding_ = Encoding::kUtf16Be;
  } else if (start.find('\0') != std::string_view::npos) {
    return Opened::kBinary;
  }
  const size_t mark = encoding_ != Encoding::kUtf8 ? 2 : start.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  const std::string first = raw_.substr(mark);
  raw_.clear();
  Decode(first, at_end_);
  return Opened::kText;
}

void TextLineReader::Decode(std::string_view bytes, bool last) {
  std::string joined;
  if (!raw_.empty()) {
    joined = raw_ + std::string(bytes);
    bytes = joined;
  }
  raw_.clear();
  size_t i = 0;
  if (encoding_ == Encoding::kUtf8) {
    while (i < bytes.size()) {
      // Runs of ASCII, most of a text, are copied whole.
      size_t ascii = i;
      while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
      text_.append(bytes.substr(i, ascii - i));
      i = ascii;
      if (i == bytes.size()) break;
      const int length = Utf8SequenceLength(bytes.substr(i));
      if (length < 0 && !last) break;  // completed by the next block
      if (length <= 1) {
        // ASCII, or a byte that starts no valid sequence: Windows-1252.
        text_ += bytes[i++];
        continue;
      }
      const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + i);
      char32_t c = p[0] & (0xFF >> (length + 1));
      for (int k = 1; k < length; ++k) c = c << 6 | (p[k] & 0x3F);
      AppendCodePoint(text_, c);
      i += static_cast<size_t>(length);
    }
  } else {
    for (; i + 1 < bytes.size(); i += 2) {
      const auto a = static_cast<unsigned char>(bytes[i]);
      const auto b = static_cast<unsigned char>(bytes[i + 1]);
      const auto unit = static_cast<char16_t>(encoding_ == Encoding::kUtf16Le ? b << 8 | a : a << 8 | b);
      const bool high = unit >= 0xD800 && unit <= 0xDBFF;
      const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
      // A pair (a character beyond Windows-1252) or a lone half reads as one "?".
      if (high_surrogate_ != 0 && !low) text_ += '?';
      if (high || low) {
        if (low) text_ += '?';
        high_surrogate_ = high ? unit : 0;
        continue;
      }
      high_surrogate_ = 0;
      AppendCodePoint(text_, unit);
    }
  }
  raw_.assign(bytes.substr(i));
}

bool TextLineReader::Fill() {
  if (at_end_) {
    if (!raw_.empty()) Decode({}, true);
    raw_.clear();
    return false;
  }
  std::string block(kBlock, '\0');
  block.resize(std::fread(block.data(), 1, kBlock, file_));
  if (std::ferror(file_)) {
    failed_ = true;
    at_end_ = true;
    return false;
  }
  at_end_ = block.size() < kBlock;
  Decode(block, at_end_);
  return true;
}

bool TextLineReader::Next(std::string& piece, size_t& line, size_t& column) {
  for (;;) {
    const std::string_view rest = std::string_view(text_).substr(pos_);
    const size_t end = rest.find('\n');
    if (end != std::string_view::npos && end <= kMaxPiece) {
      piece.assign(rest.substr(0, end));
      if (!piece.empty() && piece.back() == '\r') piece.pop_back();
      line = line_++;
      column = column_;
      column_ = 0;
      pos_ += end + 1;
      return true;
    }
    if (rest.size() > kMaxPiece) {
      // A very long line: hand over what ends before its last space or tab,
      // so no word is cut and the next piece starts with the blank.
      size_t cut = rest.find_last_of(" \t", kMaxPiece);
      if (cut == std::string_view::npos || cut == 0) cut = kMaxPiece;
      piece.assign(rest.substr(0, cut));
      line = line_;
      column = column_;
      column_ += cut;
      pos_ += cut;
      return true;
    }
    text_.erase(0, pos_);
    pos_ = 0;
    if (!Fill()) {
      if (failed_ || text_.empty()) return false;
      piece.swap(text_);
      text_.clear();
      if (!piece.empty() && piece.back() == '\r') piece.pop_back();
      line = line_++;
      column = column_;
      column_ = 0;
      return true;
    }
  }
}

}  // namespace tovuri
