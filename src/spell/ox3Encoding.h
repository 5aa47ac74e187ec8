#pragma once
// Conversions between the framework's Windows-1252 text and UTF-8 / UTF-16,
// and the one decoder of text files and streams, for everything that meets
// the outside world.
#include <optional>
#include <string>
#include <string_view>

namespace tovuri {

bool IsValidUtf8(std::string_view text);
// Nothing when the text is not valid UTF-8 or holds a character that
// Windows-1252 cannot store.
std::optional<std::string> Utf8ToWindows1252(std::string_view text);
std::string Windows1252ToUtf8(std::string_view text);
// Characters that Windows-1252 cannot store become '?'.
std::string Utf16ToWindows1252(std::u16string_view text);
std::u16string Windows1252ToUtf16(std::string_view text);

// The bytes that stand, in the framework's text, for a character Windows-1252
// lacks, so that one character of the user's text is one byte of the
// framework's. Both are bytes the code page leaves unassigned.
// A letter (Ł, ŋ, Greek, a combining accent): a word character that no
// dictionary holds, so its word is read whole and never accepted.
inline constexpr char kForeignLetter = '\x8D';
// Any other character (an emoji, an arrow): parts words, as a space does.
inline constexpr char kForeignMark = '\x81';

// The framework's byte for one character: its Windows-1252 byte where the code
// page has one, else kForeignLetter or kForeignMark.
char ToFrameworkChar(char32_t c);
// Whether a character outside Windows-1252 belongs inside words.
bool IsForeignLetter(char32_t c);
// Whether the framework's text holds a character Windows-1252 lacks.
bool HasForeignChar(std::string_view text);

// Characters to the framework's text, a byte a character.
std::string ToFrameworkText(std::u32string_view text);
// UTF-8 to the framework's text, a byte a character (placeholders for what
// the code page lacks). A byte that is not UTF-8 is read as Windows-1252; a
// leading U+FEFF is a character like any other.
std::string Utf8ToFrameworkText(std::string_view text);

// How a text file's bytes stand for its characters.
enum class TTextEncoding { teUtf8, teUtf8WithMark, teUtf16LE, teUtf16BE, teWindows1252 };

// Bytes to characters, a piece at a time. A leading byte-order mark says
// UTF-8 or UTF-16 (either byte order); without one, each valid UTF-8 sequence
// is UTF-8 and every other byte Windows-1252. A sequence cut by the end of a
// piece waits for the next.
class TTextDecoder {
 public:
  // Whether the text's first bytes may be a byte-order mark: a file's or a
  // stream's are; a line or a word out of a UTF-8 stream is UTF-8 throughout.
  enum class TStart : unsigned char { tsMayHaveMark, tsUtf8 };
  explicit TTextDecoder(TStart start = TStart::tsMayHaveMark) : started_(start == TStart::tsUtf8) {}

  // Appends the characters of the next bytes; last: no more bytes follow.
  void Decode(std::string_view bytes, bool last, std::u32string& out);
  // The encoding found so far: teWindows1252 once a byte was not UTF-8.
  TTextEncoding Encoding() const { return encoding_; }

 private:
  // The bytes after what an earlier piece left unfinished (kept in joined).
  std::string_view WithPending(std::string_view bytes, std::string& joined);
  void DecodeUtf8(std::string_view bytes, bool last, std::u32string& out);
  void DecodeUtf16(std::string_view bytes, std::u32string& out);

  bool started_ = false;
  TTextEncoding encoding_ = TTextEncoding::teUtf8;
  std::string pending_;  // the start of a sequence cut by a piece's end
  char16_t high_surrogate_ = 0;
};

void AppendUtf8(std::string& out, char32_t c);
std::string ToUtf8(std::u32string_view text);
// The text in an encoding (a byte-order mark first where the encoding has
// one); nothing when Windows-1252 cannot hold one of its characters.
std::optional<std::string> EncodeText(std::u32string_view text, TTextEncoding encoding);

}  // namespace tovuri
