#pragma once
// Text crosses between Qt (UTF-16) and the framework (Windows-1252) here,
// one code unit for one byte, so that character indices agree on both sides.
// A unit the code page lacks becomes kForeignLetter or kForeignMark (see
// spell/ox3Encoding.h); the characters behind them are remembered, so text
// the framework hands back (a word to restore, a replacement the user typed)
// comes back as it was written.
#include <QString>
#include <string>
#include <string_view>

namespace tovuri {

std::string ToAnsi(const QString& text);
// The text of a dialog, a word or a replacement: a stand-in becomes the
// character it stood for where that is known, else U+FFFD.
QString FromAnsi(std::string_view text);

}  // namespace tovuri
