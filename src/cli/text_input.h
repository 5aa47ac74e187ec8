#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "spell/ox3Encoding.h"

namespace tovuri {

// Reads a text file (or standard input) as the framework's lines, a bounded
// piece at a time, so that memory does not grow with the file. Bytes become
// characters through TTextDecoder; each character is one byte of a line, a
// placeholder standing for one Windows-1252 lacks. Lines end at LF, CR LF or
// a lone CR.
class TextLineReader {
 public:
  // A line longer than this is handed over in pieces, cut at a space or tab.
  static constexpr size_t kMaxPiece = size_t{1} << 16;

  enum class Opened { kText, kBinary, kFailed };
  TextLineReader() = default;
  ~TextLineReader();
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  // Opens name ("-": standard input). kBinary: the first block holds a NUL
  // byte and is no UTF-16 (said in problem); kFailed: problem says why.
  Opened Open(const std::string& name, std::string& problem);

  // The next piece of a line, without its line end, as the framework's text
  // and as the characters it stands for: line counts from 1, column
  // (0-based, in characters) is where the piece starts in its line. False
  // at the end of the text, or on a read error (then Failed()).
  bool Next(std::string& piece, std::u32string& characters, size_t& line, size_t& column);
  bool Failed() const { return failed_; }

 private:
  // Reads and decodes the next block into text_; false at the end.
  bool Fill();
  void Append(std::string_view bytes, bool last);
  // Hands over the line that ends at end (its end excluded) and steps past
  // the line end of end_length bytes.
  void TakeLine(size_t end, size_t end_length, std::string& piece, std::u32string& characters, size_t& line,
                size_t& column);

  std::FILE* file_ = nullptr;
  bool owns_file_ = false;
  bool at_end_ = false;
  bool failed_ = false;
  TTextDecoder decoder_;
  std::u32string characters_;  // decoded characters; what is not yet handed over starts at pos_
  std::string text_;           // the same as the framework's text, a byte a character
  size_t pos_ = 0;
  size_t line_ = 1;
  size_t column_ = 0;  // of text_'s start within its line
};

}  // namespace tovuri
