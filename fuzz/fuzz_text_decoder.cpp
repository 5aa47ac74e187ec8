// The one text decoder on arbitrary bytes: fed in pieces it reads what it
// reads whole, each character is one byte of the framework's text, and what
// it reads is written back and read again unchanged.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "spell/ox3Encoding.h"

using namespace tovuri;

namespace {

std::u32string DecodeWhole(std::string_view bytes, TTextEncoding& encoding) {
  std::u32string characters;
  TTextDecoder decoder;
  decoder.Decode(bytes, true, characters);
  encoding = decoder.Encoding();
  return characters;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte sets the piece size, so pieces cut sequences and marks anywhere.
  const size_t piece = data[0] % 7 + 1;
  const std::string_view bytes = fuzz::AsText(data + 1, size - 1);
  TTextEncoding encoding;
  const std::u32string whole = DecodeWhole(bytes, encoding);

  std::u32string pieced;
  TTextDecoder decoder;
  for (size_t at = 0; at < bytes.size(); at += piece) {
    const std::string_view next = bytes.substr(at, piece);
    decoder.Decode(next, at + next.size() == bytes.size(), pieced);
  }
  if (bytes.empty()) decoder.Decode({}, true, pieced);
  if (pieced != whole || decoder.Encoding() != encoding) abort();

  for (char32_t c : whole)
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) abort();
  if (ToFrameworkText(whole).size() != whole.size()) abort();

  // Written in a Unicode encoding and read again: the same characters.
  for (TTextEncoding target : {TTextEncoding::teUtf8WithMark, TTextEncoding::teUtf16LE, TTextEncoding::teUtf16BE}) {
    const std::optional<std::string> written = EncodeText(whole, target);
    TTextEncoding read_back;
    if (!written || DecodeWhole(*written, read_back) != whole || read_back != target) abort();
  }
  // Windows-1252 takes the text when it has every character, and gives it back.
  const std::optional<std::string> ansi = EncodeText(whole, TTextEncoding::teWindows1252);
  if (ansi) {
    std::u32string again;
    TTextDecoder utf8(TTextDecoder::TStart::tsUtf8);
    utf8.Decode(Windows1252ToUtf8(*ansi), true, again);
    if (again != whole) abort();
  } else if (!HasForeignChar(ToFrameworkText(whole))) {
    abort();
  }
  return 0;
}
