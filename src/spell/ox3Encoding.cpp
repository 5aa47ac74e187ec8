#include "spell/ox3Encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace tovuri {
namespace {

// Code points of the bytes 0x80..0x9F; the five unassigned bytes keep their
// own value, as Windows maps them.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t ToCodePoint(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F) return kHighControls[b - 0x80];
  return b;
}

// The Windows-1252 byte for a code point, or -1.
int FromCodePoint(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

// Blocks of characters outside Windows-1252 that belong inside words:
// letters of the Latin, Greek, Cyrillic and other scripts, modifier letters
// (the apostrophe U+02BC among them) and combining accents. Everything else
// (punctuation, symbols, emoji) parts words.
struct CodeRange {
  char32_t first;
  char32_t last;
};
constexpr CodeRange kLetterRanges[] = {
    {0x0100, 0x036F},  // Latin Extended-A and B, IPA, modifier letters, combining accents
    {0x0370, 0x03FF},  // Greek
    {0x0400, 0x052F},  // Cyrillic
    {0x0531, 0x0587},  // Armenian
    {0x05B0, 0x05EA},  // Hebrew
    {0x0610, 0x06FF},  // Arabic
    {0x0900, 0x0DFF},  // the scripts of India and Sri Lanka
    {0x0E00, 0x0EFF},  // Thai, Lao
    {0x10A0, 0x10FF},  // Georgian
    {0x1200, 0x137F},  // Ethiopic
    {0x1AB0, 0x1AFF},  // combining accents, extended
    {0x1D00, 0x1FFF},  // phonetic letters, Latin Extended Additional, Greek Extended
    {0x2C60, 0x2C7F},  // Latin Extended-C
    {0x3040, 0x30FF},  // Hiragana, Katakana
    {0x3400, 0x4DBF},  // CJK, extension A
    {0x4E00, 0x9FFF},  // CJK
    {0xA720, 0xA7FF},  // Latin Extended-D
    {0xAB30, 0xAB6F},  // Latin Extended-E
    {0xAC00, 0xD7AF},  // Hangul
    {0xFB00, 0xFB06},  // Latin ligatures
    {0xFF21, 0xFF3A},  // fullwidth capitals
    {0xFF41, 0xFF5A},  // fullwidth small letters
};

// Decodes one UTF-8 sequence at text[pos]; -1 on a malformed one.
int64_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  int extra;
  char32_t cp;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    return -1;
  }
  if (pos + extra >= text.size()) return -1;
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(text[pos + k]);
    if ((b & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
  if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return -1;
  pos += extra + 1;
  return cp;
}

// Whether bytes (fewer than a whole sequence) may begin a UTF-8 sequence.
bool IsStartOfSequence(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  const size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4                   ? 4
                                                                         : 0;
  if (length == 0 || bytes.size() >= length) return false;
  for (size_t i = 1; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if ((c & 0xC0) != 0x80) return false;
    // Overlong forms, surrogates and code points beyond U+10FFFF.
    if (i == 1 && ((lead == 0xE0 && c < 0xA0) || (lead == 0xED && c > 0x9F) || (lead == 0xF0 && c < 0x90) ||
                   (lead == 0xF4 && c > 0x8F)))
      return false;
  }
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size())
    if (DecodeUtf8(text, pos) < 0) return false;
  return true;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const int64_t cp = DecodeUtf8(text, pos);
    if (cp < 0) return std::nullopt;
    const int b = FromCodePoint(static_cast<char32_t>(cp));
    if (b < 0) return std::nullopt;
    out.push_back(static_cast<char>(b));
  }
  return out;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf8(out, ToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf16ToWindows1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;  // a pair stands for one character beyond the code page
      out.push_back('?');
      continue;
    }
    const int b = FromCodePoint(u);
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

std::u16string Windows1252ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(static_cast<char16_t>(ToCodePoint(static_cast<unsigned char>(c))));
  return out;
}

bool IsForeignLetter(char32_t c) {
  const auto* range = std::upper_bound(std::begin(kLetterRanges), std::end(kLetterRanges), c,
                                       [](char32_t value, const CodeRange& r) { return value < r.first; });
  return range != std::begin(kLetterRanges) && c <= std::prev(range)->last;
}

char ToFrameworkChar(char32_t c) {
  const int b = FromCodePoint(c);
  if (b >= 0) return static_cast<char>(b);
  return IsForeignLetter(c) ? kForeignLetter : kForeignMark;
}

bool HasForeignChar(std::string_view text) {
  return text.find_first_of(std::string_view("\x81\x8D", 2)) != std::string_view::npos;
}

std::string ToFrameworkText(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) out.push_back(ToFrameworkChar(c));
  return out;
}

std::string Utf8ToFrameworkText(std::string_view text) {
  std::u32string characters;
  TTextDecoder decoder(TTextDecoder::TStart::tsUtf8);
  decoder.Decode(text, true, characters);
  return ToFrameworkText(characters);
}

void TTextDecoder::Decode(std::string_view bytes, bool last, std::u32string& out) {
  if (!started_) {
    // A byte-order mark may itself be cut by the piece's end.
    pending_.append(bytes);
    const std::string_view start = pending_;
    if (start.size() < 3 && !last && (std::string_view("\xEF\xBB\xBF").starts_with(start) ||
                                      std::string_view("\xFF\xFE").starts_with(start) ||
                                      std::string_view("\xFE\xFF").starts_with(start)))
      return;
    started_ = true;
    size_t mark = 0;
    if (start.starts_with("\xEF\xBB\xBF")) {
      encoding_ = TTextEncoding::teUtf8WithMark;
      mark = 3;
    } else if (start.starts_with("\xFF\xFE")) {
      encoding_ = TTextEncoding::teUtf16LE;
      mark = 2;
    } else if (start.starts_with("\xFE\xFF")) {
      encoding_ = TTextEncoding::teUtf16BE;
      mark = 2;
    }
    const std::string first = pending_.substr(mark);
    pending_.clear();
    Decode(first, last, out);
    return;
  }
  if (encoding_ == TTextEncoding::teUtf16LE || encoding_ == TTextEncoding::teUtf16BE) {
    DecodeUtf16(bytes, out);
    if (last) {
      // A lone half of a pair, or an odd last byte, is a character we cannot name.
      if (high_surrogate_ != 0 || !pending_.empty()) out.push_back(0xFFFD);
      high_surrogate_ = 0;
      pending_.clear();
    }
    return;
  }
  DecodeUtf8(bytes, last, out);
}

std::string_view TTextDecoder::WithPending(std::string_view bytes, std::string& joined) {
  if (pending_.empty()) return bytes;
  joined.swap(pending_);
  joined.append(bytes);
  return joined;
}

void TTextDecoder::DecodeUtf8(std::string_view bytes, bool last, std::u32string& out) {
  std::string joined;
  bytes = WithPending(bytes, joined);
  size_t pos = 0;
  while (pos < bytes.size()) {
    // Runs of ASCII, most of a text, are copied without decoding.
    while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80) out.push_back(bytes[pos++]);
    if (pos == bytes.size()) break;
    size_t next = pos;
    const int64_t cp = tovuri::DecodeUtf8(bytes, next);
    if (cp >= 0) {
      out.push_back(static_cast<char32_t>(cp));
      pos = next;
      continue;
    }
    // A sequence that the next piece may complete waits for it.
    if (!last && IsStartOfSequence(bytes.substr(pos))) {
      pending_.assign(bytes.substr(pos));
      return;
    }
    encoding_ = TTextEncoding::teWindows1252;
    out.push_back(ToCodePoint(static_cast<unsigned char>(bytes[pos++])));
  }
}

void TTextDecoder::DecodeUtf16(std::string_view bytes, std::u32string& out) {
  std::string joined;
  bytes = WithPending(bytes, joined);
  size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    const auto unit = static_cast<char16_t>(encoding_ == TTextEncoding::teUtf16LE ? b << 8 | a : a << 8 | b);
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (low && high_surrogate_ != 0) {
      out.push_back(0x10000 + ((static_cast<char32_t>(high_surrogate_) - 0xD800) << 10) + (unit - 0xDC00));
      high_surrogate_ = 0;
      continue;
    }
    if (high_surrogate_ != 0) out.push_back(0xFFFD);  // a high half with no low one
    high_surrogate_ = 0;
    if (high) {
      high_surrogate_ = unit;
    } else {
      out.push_back(low ? char32_t{0xFFFD} : char32_t{unit});
    }
  }
  pending_.assign(bytes.substr(i));
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string ToUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

std::optional<std::string> EncodeText(std::u32string_view text, TTextEncoding encoding) {
  std::string out;
  switch (encoding) {
    case TTextEncoding::teUtf8WithMark:
      out = "\xEF\xBB\xBF";
      [[fallthrough]];
    case TTextEncoding::teUtf8:
      out += ToUtf8(text);
      return out;
    case TTextEncoding::teWindows1252:
      out.reserve(text.size());
      for (char32_t c : text) {
        const int b = FromCodePoint(c);
        if (b < 0) return std::nullopt;
        out.push_back(static_cast<char>(b));
      }
      return out;
    case TTextEncoding::teUtf16LE:
    case TTextEncoding::teUtf16BE: {
      const bool little = encoding == TTextEncoding::teUtf16LE;
      const auto unit = [&](char32_t u) {
        const auto high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out.push_back(little ? low : high);
        out.push_back(little ? high : low);
      };
      unit(0xFEFF);
      for (char32_t c : text) {
        if (c < 0x10000) {
          unit(c);
        } else {
          unit(0xD800 + ((c - 0x10000) >> 10));
          unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
      }
      return out;
    }
  }
  return std::nullopt;
}

}  // namespace tovuri
