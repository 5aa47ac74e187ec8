#include "cli/text_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace tovuri {
namespace {

constexpr size_t kBlock = size_t{1} << 16;

// UTF-16 written without a byte-order mark: most of its characters are
// ASCII, so every other byte is NUL, and on the same side throughout.
bool LooksLikeUtf16(std::string_view bytes, bool& little_endian) {
  size_t even = 0, odd = 0;
  const size_t pairs = bytes.size() / 2;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    even += bytes[i] == '\0';
    odd += bytes[i + 1] == '\0';
  }
  if (pairs == 0) return false;
  little_endian = odd > even;
  const size_t zeros = little_endian ? odd : even;
  const size_t other = little_endian ? even : odd;
  return zeros * 10 >= pairs * 7 && other * 50 <= pairs;
}

}  // namespace

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
  std::string first(kBlock, '\0');
  first.resize(std::fread(first.data(), 1, kBlock, file_));
  if (std::ferror(file_)) {
    problem = std::strerror(errno);
    return Opened::kFailed;
  }
  at_end_ = first.size() < kBlock;
  const std::string_view start = first;
  const bool marked_utf16 = start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF");
  if (!marked_utf16 && start.find('\0') != std::string_view::npos) {
    bool little_endian = false;
    if (!LooksLikeUtf16(start, little_endian)) {
      problem = "holds bytes that are no text (a NUL byte)";
      return Opened::kBinary;
    }
    // The mark it lacks tells the decoder what it is.
    Append(little_endian ? "\xFF\xFE" : "\xFE\xFF", false);
  }
  Append(first, at_end_);
  return Opened::kText;
}

void TextLineReader::Append(std::string_view bytes, bool last) {
  const size_t old_size = characters_.size();
  decoder_.Decode(bytes, last, characters_);
  text_ += ToFrameworkText(std::u32string_view(characters_).substr(old_size));
}

bool TextLineReader::Fill() {
  if (at_end_) return false;
  std::string block(kBlock, '\0');
  block.resize(std::fread(block.data(), 1, kBlock, file_));
  if (std::ferror(file_)) {
    failed_ = true;
    at_end_ = true;
    return false;
  }
  at_end_ = block.size() < kBlock;
  Append(block, at_end_);
  return true;
}

void TextLineReader::TakeLine(size_t end, size_t end_length, std::string& piece, std::u32string& characters,
                              size_t& line, size_t& column) {
  piece.assign(std::string_view(text_).substr(pos_, end));
  characters.assign(std::u32string_view(characters_).substr(pos_, end));
  line = line_++;
  column = column_;
  column_ = 0;
  pos_ += end + end_length;
}

bool TextLineReader::Next(std::string& piece, std::u32string& characters, size_t& line, size_t& column) {
  for (;;) {
    const std::string_view rest = std::string_view(text_).substr(pos_);
    const size_t end = rest.find_first_of("\r\n");
    if (end != std::string_view::npos && end <= kMaxPiece) {
      // A CR at the end of what is decoded may be the first half of CR LF.
      if (rest[end] == '\r' && end + 1 == rest.size() && !at_end_) {
        if (Fill()) continue;
      }
      const size_t end_length = rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n' ? 2 : 1;
      TakeLine(end, end_length, piece, characters, line, column);
      return true;
    }
    if (rest.size() > kMaxPiece) {
      // A very long line: hand over what ends before its last space or tab,
      // so no word is cut and the next piece starts with the blank.
      size_t cut = rest.find_last_of(" \t", kMaxPiece);
      if (cut == std::string_view::npos || cut == 0) cut = kMaxPiece;
      piece.assign(rest.substr(0, cut));
      characters.assign(std::u32string_view(characters_).substr(pos_, cut));
      line = line_;
      column = column_;
      column_ += cut;
      pos_ += cut;
      return true;
    }
    text_.erase(0, pos_);
    characters_.erase(0, pos_);
    pos_ = 0;
    if (!Fill()) {
      if (failed_ || text_.empty()) return false;
      TakeLine(text_.size(), 0, piece, characters, line, column);
      text_.clear();
      characters_.clear();
      pos_ = 0;
      return true;
    }
  }
}

}  // namespace tovuri
