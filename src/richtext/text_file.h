#pragma once
// Reading and writing the files the editor opens and saves.
#include <optional>
#include <string>
#include <string_view>

#include "spell/ox3Encoding.h"

namespace tovuri {

// A plain text file's text and how it was written, so that saving can write
// it back the same way.
struct TTextFile {
  std::string text;  // UTF-8, lines ending in LF
  TTextEncoding encoding = TTextEncoding::teUtf8;
  bool crlf = false;  // its lines ended in CR LF
};

// Reads a plain text file's bytes through the one text decoder (UTF-8, or
// UTF-16 with a byte-order mark; a byte that is not UTF-8 as Windows-1252).
// Line ends (CR LF, CR) become LF.
TTextFile DecodeTextFile(std::string_view bytes);

// The bytes of a text (UTF-8, LF) written as file says; nothing when its
// encoding cannot hold one of the text's characters.
std::optional<std::string> EncodeTextFile(std::string_view text, const TTextFile& file);

// A file's bytes, or nothing with the system's reason in error.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error);

// Replaces a file through a temporary file and a rename, so a failed save
// leaves the old file as it was; false with the system's reason in error.
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace tovuri
