#pragma once
#include <iosfwd>
#include <string>
#include <string_view>

namespace tovuri {

class TNdebeleChecker;

// The first line of the pipe protocol, also the answer to -vv.
inline constexpr std::string_view kIspellBanner =
    "@(#) International Ispell Version 3.2.06 (but really Tovuri 1.0)";

// Answers the ispell pipe protocol (UTF-8) line by line until in ends,
// flushing after each line, the banner first.
void RunPipeMode(TNdebeleChecker& checker, std::istream& in, std::ostream& out);

// Accepts for the session every word of a UTF-8 word list, one a line; false
// when the file exists but cannot be read.
bool AcceptWordList(TNdebeleChecker& checker, const std::string& file);

}  // namespace tovuri
