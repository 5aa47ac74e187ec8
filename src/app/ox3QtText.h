#pragma once
// Text crosses between Qt (UTF-16) and the framework (Windows-1252) here,
// one code unit for one byte, so that character indices agree on both sides.
#include <QString>
#include <string>
#include <string_view>

namespace tovuri {

// The byte that stands for a UTF-16 unit Windows-1252 cannot hold (a Greek
// letter, half of an emoji). It is a word character that no dictionary
// holds, so a word containing it is never accepted and never mangled.
inline constexpr char kForeignChar = '\x8D';

std::string ToAnsi(const QString& text);
// The text of a dialog or a replacement; kForeignChar becomes U+FFFD.
QString FromAnsi(std::string_view text);

}  // namespace tovuri
