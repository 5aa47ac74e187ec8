#pragma once
// The ignore rules: markup, Internet addresses, quoted lines, words in
// capitals, words with digits and abbreviations.
#include <string>
#include <string_view>

#include "spell/ox3ParserBase.h"

namespace tovuri {

// A rule that takes part in nothing; rules override what they need.
class TParserIgnoreBase : public TParserIgnore {
 public:
  bool WantsHooks() const override { return false; }
  bool IsLineRule() const override { return false; }
  bool CharHook(char, TControlParser&) const override { return false; }
  bool WordHook(std::string_view, TControlParser&) const override { return false; }
  bool IgnoreWord(std::string_view, TControlParser*) const override { return false; }
  bool IgnoreLine(std::string_view) const override { return false; }
};

// Skips tags, comments ("<!-- -->") and server blocks ("<% %>", "<? ?>");
// ignores character entities ("&amp").
class THTMLIgnore final : public TParserIgnoreBase {
 public:
  bool WantsHooks() const override { return true; }
  // Consumes markup starting at "<" and leaves the parser on its closing ">".
  bool CharHook(char c, TControlParser& parser) const override;
  bool IgnoreWord(std::string_view word, TControlParser* parser) const override;
};

// Drops a scheme word with its address ("http://..."), an e-mail address, and
// a "www." host followed by a path; ignores other "www." words.
class TURLIgnore final : public TParserIgnoreBase {
 public:
  bool WantsHooks() const override { return true; }
  bool WordHook(std::string_view word, TControlParser& parser) const override;
  bool IgnoreWord(std::string_view word, TControlParser* parser) const override;
};

// Ignores lines that begin with a quote character (as in quoted e-mail).
class TQuotedLineIgnore final : public TParserIgnoreBase {
 public:
  explicit TQuotedLineIgnore(std::string quote_chars = ">") : QuoteChars(std::move(quote_chars)) {}
  bool IsLineRule() const override { return true; }
  // Judges the parser's current line; without a parser, nothing is ignored.
  bool IgnoreWord(std::string_view word, TControlParser* parser) const override;
  bool IgnoreLine(std::string_view line) const override;

  std::string QuoteChars;
};

// Ignores words without lower-case letters.
class TUppercaseWordIgnore final : public TParserIgnoreBase {
 public:
  bool IgnoreWord(std::string_view word, TControlParser* parser) const override;
};

// Ignores words that hold a digit.
class TNumbersIgnore final : public TParserIgnoreBase {
 public:
  bool IgnoreWord(std::string_view word, TControlParser* parser) const override;
};

// Ignores short dotted abbreviations: "e.g.", "U.S.A.", "A.".
class TAbbreviationsIgnore final : public TParserIgnoreBase {
 public:
  bool IgnoreWord(std::string_view word, TControlParser* parser) const override;
};

}  // namespace tovuri
