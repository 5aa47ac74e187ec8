#include "spell/ox3Ignore.h"

#include <array>

#include "common/ansi_case.h"

namespace tovuri {

namespace {

// When the text at the position reads marker, moves past it and answers
// true; otherwise leaves the position where it was.
bool SkipMarker(TControlParser& parser, std::string_view marker) {
  size_t matched = 0;
  while (matched < marker.size() && parser.CurrentChar() == marker[matched]) {
    ++matched;
    // The last character counts even when the text ends right after it.
    if (!parser.Next() && matched < marker.size()) break;
  }
  if (matched == marker.size()) return true;
  for (size_t i = 0; i < matched; ++i) parser.Prev();
  return false;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

constexpr std::array<std::string_view, 9> kSchemes = {
    "http", "ftp", "news", "mailto", "nntp", "file", "https", "telnet", "wais"};

constexpr std::string_view kAddressEnd = "\r\n\t \"()[]{},<>'";

}  // namespace

bool THTMLIgnore::CharHook(char c, TControlParser& parser) const {
  if (c != '<') return false;
  if (!parser.Next()) return true;
  if (SkipMarker(parser, "!--")) {
    for (;;) {
      if (parser.CurrentChar() == '-' && SkipMarker(parser, "-->")) {
        parser.Prev();
        return true;
      }
      if (!parser.Next()) return true;
    }
  }
  const char opener = parser.CurrentChar();
  if (opener == '%' || opener == '?') {
    char before = '\0';
    for (;;) {
      if (!parser.Next()) return true;
      const char here = parser.CurrentChar();
      if (here == '>' && before == opener) return true;
      before = here;
    }
  }
  while (parser.CurrentChar() != '>')
    if (!parser.Next()) return true;
  return true;
}

bool THTMLIgnore::IgnoreWord(std::string_view word, TControlParser*) const {
  return !word.empty() && word.front() == '&';
}

bool TURLIgnore::WordHook(std::string_view word, TControlParser& parser) const {
  const char end = parser.CurrentChar();
  bool address = false;
  if (end == '@') {
    address = true;
  } else if (end == ':') {
    const std::string lower = AnsiLowerCase(word);
    for (std::string_view scheme : kSchemes) address = address || lower == scheme;
  } else if (end == '\\' || end == '/') {
    address = StartsWith(AnsiLowerCase(word), "www.");
  }
  if (!address) return false;
  while (kAddressEnd.find(parser.CurrentChar()) == std::string_view::npos)
    if (!parser.Next()) break;
  return true;
}

bool TURLIgnore::IgnoreWord(std::string_view word, TControlParser*) const {
  return StartsWith(AnsiLowerCase(word.substr(0, 4)), "www.");
}

bool TQuotedLineIgnore::IgnoreWord(std::string_view, TControlParser* parser) const {
  return parser != nullptr && IgnoreLine(parser->CurrentLine());
}

bool TQuotedLineIgnore::IgnoreLine(std::string_view line) const {
  return !line.empty() && QuoteChars.find(line.front()) != std::string::npos;
}

bool TUppercaseWordIgnore::IgnoreWord(std::string_view word, TControlParser*) const {
  for (char c : word)
    if (AnsiUpperChar(c) != c) return false;
  return true;
}

bool TNumbersIgnore::IgnoreWord(std::string_view word, TControlParser*) const {
  for (char c : word)
    if (c >= '0' && c <= '9') return true;
  return false;
}

bool TAbbreviationsIgnore::IgnoreWord(std::string_view word, TControlParser*) const {
  if (word.find('.') == std::string_view::npos) return false;
  while (word.size() >= 3 && word[1] == '.') word.remove_prefix(2);
  return word.size() < 3;
}

}  // namespace tovuri
