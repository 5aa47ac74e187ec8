#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace tovuri {

// Text for the framework: UTF-8 when it is valid UTF-8 (a leading byte-order
// mark dropped, characters beyond Windows-1252 as "?"), else Windows-1252 already.
std::string ToWindows1252(std::string_view bytes);

// Reads a text file (or standard input) as Windows-1252 lines, a bounded
// piece at a time, so that memory does not grow with the file. The encoding
// is taken from a byte-order mark (UTF-8, UTF-16 either way round); without
// one each valid UTF-8 sequence is read as UTF-8 and every other byte as
// Windows-1252. Characters beyond Windows-1252 become "?".
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
  // byte (and no UTF-16 byte-order mark); kFailed: problem says why.
  Opened Open(const std::string& name, std::string& problem);

  // The next piece of a line, without its line end: line counts from 1,
  // column (0-based, in characters) is where the piece starts in its line.
  // False at the end of the text, or on a read error (then Failed()).
  bool Next(std::string& piece, size_t& line, size_t& column);
  bool Failed() const { return failed_; }

 private:
  enum class Encoding { kUtf8, kUtf16Le, kUtf16Be };
  // Reads and decodes the next block into text_; false at the end.
  bool Fill();
  void Decode(std::string_view bytes, bool last);

  std::FILE* file_ = nullptr;
  bool owns_file_ = false;
  bool at_end_ = false;
  bool failed_ = false;
  Encoding encoding_ = Encoding::kUtf8;
  std::string raw_;    // undecoded bytes: the first block, or a sequence cut by a block's end
  std::string text_;   // decoded text; what is not yet handed over starts at pos_
  size_t pos_ = 0;
  size_t line_ = 1;
  size_t column_ = 0;  // of text_'s start within its line
  char16_t high_surrogate_ = 0;
};

}  // namespace tovuri
