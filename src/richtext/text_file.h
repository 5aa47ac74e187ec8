#pragma once
// Reading and writing the files the editor opens and saves.
#include <optional>
#include <string>
#include <string_view>

namespace tovuri {

// The text of a plain text file as UTF-8: the bytes themselves when they are
// valid UTF-8 (a byte-order mark dropped), else read as Windows-1252. Line
// ends (CR LF, CR) become LF.
std::string DecodeTextFile(std::string_view bytes);

// A file's bytes, or nothing with the system's reason in error.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string& error);

// Replaces a file through a temporary file and a rename, so a failed save
// leaves the old file as it was; false with the system's reason in error.
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace tovuri
