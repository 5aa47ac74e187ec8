#pragma once
// The word tokenizer: pulls characters from a control parser and cuts words
// by a configurable character set.
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "spell/ox3ParserBase.h"

namespace tovuri {

// Cuts the words of a control parser's text; the checker answers its two
// hooks with the ignore rules. Character sets are strings of Windows-1252 bytes.
class TMainParsingEngine : public TParsingEngine {
 public:
  // Called with the current character before a word starts; true when it
  // skipped text (the engine then reads again where the parser stands).
  using TCharHook = std::function<bool(char c, TControlParser& parser)>;
  // Called with each word cut; true drops the word (and whatever the hook
  // skipped after it) and makes the engine cut the next one.
  using TWordHook = std::function<bool(const std::string& word, TControlParser& parser)>;

  // The default word characters: letters, digits, "&", "'", the right single
  // quote and the accented letters and letter-like signs of Windows-1252.
  static const std::string& DefaultWordChars();

  TMainParsingEngine();

  void Init(TControlParser* parser, TCheckMode mode) override;
  void SetPosition(int x, int y) override;
  std::string NextWord() override;
  void SetWordChars(std::string_view chars) override;

  TControlParser* Parser() const { return parser_; }
  const std::string& CurrentWord() const { return current_word_; }
  const std::string& WordChars() const { return word_chars_; }

  TCharHook CharHook;
  TWordHook WordHook;

  const std::string& NonStartChars() const { return non_start_chars_; }
  void SetNonStartChars(std::string_view chars);
  const std::string& TrailingStripChars() const { return trailing_strip_chars_; }
  void SetTrailingStripChars(std::string_view chars);
  const std::string& NonInnerChars() const { return non_inner_chars_; }
  void SetNonInnerChars(std::string_view chars);

  // A period may stand inside a word ("3.5", "e.g", "www.example.com").
  bool AllowInnerPeriod = true;
  // Keep a word that runs into the end of the text instead of dropping it.
  bool KeepUnterminatedLastWord = false;
  // Kept for the configuration's sake; the engine does not map entities.
  bool MapHTMLEntities = false;

  bool IsWordChar(char c) const { return is_word_[Byte(c)]; }
  bool IsInnerChar(char c) const { return is_inner_[Byte(c)]; }
  bool IsTrailingStrip(char c) const { return is_trailing_strip_[Byte(c)]; }

 private:
  static unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
  void BuildTables();
  // Cuts one word (steps 1 to 3); empty at the end of the text.
  std::string CutWord(bool& text_ended);

  TControlParser* parser_ = nullptr;
  std::string current_word_;
  std::string word_chars_;
  std::string non_start_chars_ = "'\"";
  std::string trailing_strip_chars_ = "'\".";
  std::string non_inner_chars_ = "&";
  std::array<bool, 256> is_word_{};
  std::array<bool, 256> is_start_{};
  std::array<bool, 256> is_inner_{};
  std::array<bool, 256> is_trailing_strip_{};
};

}  // namespace tovuri
