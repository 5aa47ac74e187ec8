#pragma once
// Conversions between the framework's Windows-1252 text and UTF-8 / UTF-16,
// for files and tools that meet the outside world.
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

}  // namespace tovuri
