#pragma once
#include <chrono>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include "common/version.h"
#include "common/notice.h"

namespace tovuri {

class TNdebeleChecker;

// The first line of the pipe protocol, also the answer to -vv.
inline constexpr std::string_view kIspellBanner =
    "@(#) International Ispell Version 3.2.06 (but really Tovuri " TOVURI_VERSION ")";

// A line's time for suggestions; its later misspelt words get none.
inline constexpr std::chrono::milliseconds kSuggestionBudget{250};

// Answers the ispell pipe protocol (UTF-8) line by line until in ends,
// flushing after each line, the banner first. False when a word the user
// asked to keep could not be written (each said through notice).
bool RunPipeMode(TNdebeleChecker& checker, std::istream& in, std::ostream& out, const TNotice& notice);

// Accepts for the session every word of a UTF-8 word list, one a line; false
// when the file exists but cannot be read.
bool AcceptWordList(TNdebeleChecker& checker, const std::string& file);

}  // namespace tovuri
