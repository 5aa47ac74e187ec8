#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parse_test_support.h"
#include "spell/ox3MemoryTextControl.h"
#include "spell/ox3ParseEngine.h"
#include "spell/ox3StringParser.h"
#include "spell/ox3WinAPIParser.h"

namespace tovuri {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::AllWords;
using testing::CheckedWords;
using testing::RuleSet;
using enum TSpellOption;
using Words = std::vector<std::string>;

Words StringWords(std::string text, TSpellOptions options = {}) {
  TStringParser parser(text);
  TMainParsingEngine engine;
  RuleSet rules(options);
  rules.Bind(engine);
  engine.Init(&parser, TCheckMode::cmAll);
  return CheckedWords(engine, rules);
}

struct TokenCase {
  const char* text;
  Words words;
};

TEST(ParseEngine, CutsWordsByTheDefaultCharacterSet) {
  const TokenCase cases[] = {
      {"don't", {"don't"}},
      {"'quoted'", {"quoted"}},
      {"\"double\"", {"double"}},
      {"rock'n'roll", {"rock'n'roll"}},
      {"The end.", {"The", "end"}},
      {"e.g., this", {"e.g.", "this"}},
      {"i.e. that", {"i.e.", "that"}},
      {"U.S.A.", {"U.S.A."}},
      {"\"U.S.A.\"", {"U.S.A."}},
      {"pi is 3.5 today", {"pi", "is", "3.5", "today"}},
      {"&amp;", {"&amp"}},
      {"AT&T", {"AT", "&T"}},
      {"word...", {"word"}},
      {"end.'", {"end"}},
      {"  spaced   out  ", {"spaced", "out"}},
      {"ngiyabonga, Baba!", {"ngiyabonga", "Baba"}},
      {"caf\xE9 na\xEFve", {"caf\xE9", "na\xEFve"}},
      {"it\x92s", {"it\x92s"}},
      {"", {}},
      {"...", {}},
  };
  for (const TokenCase& c : cases)
    EXPECT_THAT(StringWords(c.text), ElementsAreArray(c.words)) << "text: " << c.text;
}

TEST(ParseEngine, SkipsMarkupWithHtmlRuleOnly) {
  const TokenCase with_rule[] = {
      {"<b>bold</b>", {"bold"}},
      {"<!-- a > b --> after", {"after"}},
      {"<% x > y %> z", {"z"}},
      {"<? if (a > b) ?> done", {"done"}},
      {"1 &amp; 2", {"1", "2"}},
      {"<a href=\"x\">link</a><i>it</i>", {"link", "it"}},
  };
  for (const TokenCase& c : with_rule)
    EXPECT_THAT(StringWords(c.text, {soHTML}), ElementsAreArray(c.words)) << "text: " << c.text;

  EXPECT_THAT(StringWords("<b>bold</b>"), ElementsAre("b", "bold", "b"));
  EXPECT_THAT(StringWords("&amp;"), ElementsAre("&amp"));
}

TEST(ParseEngine, DropsInternetAddressesWithUrlRule) {
  const TokenCase with_rule[] = {
      {"see http://example.com/x, then", {"see", "then"}},
      {"HTTPS://Example.com/a c", {"c"}},
      {"(see http://example.org/a) and", {"see", "and"}},
      {"mailto:someone@example.com now", {"now"}},
      {"mail john.doe@example.com now", {"mail", "now"}},
      {"go www.example.com/page here", {"go", "here"}},
      {"Visit www.example.com. Then", {"Visit", "Then"}},
      {"note: this", {"note", "this"}},
  };
  for (const TokenCase& c : with_rule)
    EXPECT_THAT(StringWords(c.text, {soInternet}), ElementsAreArray(c.words)) << "text: " << c.text;

  EXPECT_THAT(StringWords("see http://example.com/x, then"),
              ElementsAre("see", "http", "example.com", "x", "then"));
  EXPECT_THAT(StringWords("mail john.doe@example.com now"),
              ElementsAre("mail", "john.doe", "example.com", "now"));
}

TEST(ParseEngine, IgnoresWordsByTheirOptions) {
  struct Case {
    const char* word;
    TSpellOption option;
    bool ignored;
  };
  const Case cases[] = {
      {"ABC", soUpcase, true},      {"Abc", soUpcase, false},   {"\xC9T\xC9", soUpcase, true},
      {"X1", soNumbers, true},      {"X1", soUpcase, true},     {"XI", soNumbers, false},
      {"A.B.", soAbbreviations, true}, {"e.g.", soAbbreviations, true},
      {"U.S.A.", soAbbreviations, true}, {"etc", soAbbreviations, false},
      {"Dr.", soAbbreviations, false},   {"A.", soAbbreviations, true},
      {"&amp", soHTML, true},       {"amp", soHTML, false},
      {"www.example.com", soInternet, true}, {"WWW.Example.com", soInternet, true},
      {"web.example.com", soInternet, false},
  };
  for (const Case& c : cases) {
    const RuleSet on({c.option});
    const RuleSet off({});
    EXPECT_EQ(on.Ignored(c.word, nullptr), c.ignored)
        << "word " << c.word << " option " << static_cast<int>(c.option);
    EXPECT_FALSE(off.Ignored(c.word, nullptr)) << "word " << c.word << " without options";
  }
  // A sentence-ending "etc." and "Dr." are cut without their period anyway.
  EXPECT_THAT(StringWords("etc. Dr. X1 ABC A.B. ok", {soAbbreviations}),
              ElementsAre("etc", "Dr", "X1", "ABC", "ok"));
  EXPECT_THAT(StringWords("etc. Dr. X1 ABC A.B. ok", {soUpcase, soNumbers}),
              ElementsAre("etc", "Dr", "ok"));
}

TEST(ParseEngine, IgnoresQuotedLinesWordByWord) {
  TMemoryTextControl control("> quoted words\n > not quoted\nplain >text");
  TWinAPIControlParser parser(control);
  TMainParsingEngine engine;
  const RuleSet rules({soQuoted});
  rules.Bind(engine);
  engine.Init(&parser, TCheckMode::cmAll);
  EXPECT_THAT(CheckedWords(engine, rules), ElementsAre("not", "quoted", "plain", "text"));

  const TQuotedLineIgnore quoted("|>");
  EXPECT_TRUE(quoted.IgnoreLine("| piped"));
  EXPECT_FALSE(quoted.IgnoreLine(""));
  EXPECT_FALSE(quoted.IgnoreWord("word", nullptr));
}

TEST(ParseEngine, SelectionModeChecksWholeFirstWordAndStopsAtSelectionEnd) {
  // Columns: one 0-2, two 4-6, three 8-12, four 14-17.
  struct Case {
    int start, end;
    Words words;
  };
  const Case cases[] = {
      {5, 13, {"two", "three"}},         // starts inside "two", ends after "three"
      {0, 3, {"one"}},                   // exactly one word
      {5, 16, {"two", "three"}},         // ends inside "four": that word is not complete
      {9, 9, {}},                        // empty selection inside "three": stops at once
      {14, 18, {"four"}},                // up to the end of the text
  };
  for (const Case& c : cases) {
    TMemoryTextControl control("one two three four");
    control.SetSelection(c.start, c.end);
    TWinAPIControlParser parser(control);
    TMainParsingEngine engine;
    engine.Init(&parser, TCheckMode::cmSelection);
    EXPECT_THAT(AllWords(engine), ElementsAreArray(c.words))
        << "selection " << c.start << ".." << c.end;
  }
}

TEST(ParseEngine, KeepsUnterminatedLastWordOnRequest) {
  TMemoryTextControl control("one two three four");
  control.SetSelection(5, 16);
  TWinAPIControlParser parser(control);
  TMainParsingEngine engine;
  engine.KeepUnterminatedLastWord = true;
  engine.Init(&parser, TCheckMode::cmSelection);
  // The character at the selection end is still read.
  EXPECT_THAT(AllWords(engine), ElementsAre("two", "three", "fou"));
}

TEST(ParseEngine, FromCaretModeStartsAtTheWordUnderTheCaret) {
  TMemoryTextControl control("one two\nthree four");
  control.SetSelection(6, 6);
  TWinAPIControlParser parser(control);
  TMainParsingEngine engine;
  engine.Init(&parser, TCheckMode::cmFromCaret);
  EXPECT_THAT(AllWords(engine), ElementsAre("two", "three", "four"));

  control.SetSelection(0, 0);
  engine.Init(&parser, TCheckMode::cmFromCaret);
  EXPECT_THAT(AllWords(engine), ElementsAre("one", "two", "three", "four"));
}

TEST(ParseEngine, PresetRangeKeepsWhatTheCallerSet) {
  TMemoryTextControl control("one two three four");
  TWinAPIControlParser parser(control);
  parser.SetPosition(4, 0, TPositionKind::pkPosition);
  parser.SetPosition(13, 0, TPositionKind::pkEndLimit);
  TMainParsingEngine engine;
  engine.Init(&parser, TCheckMode::cmPresetRange);
  EXPECT_THAT(AllWords(engine), ElementsAre("two", "three"));
}

TEST(ParseEngine, SetPositionBacksUpToTheWordStart) {
  std::string text = "alpha beta gamma";
  TStringParser parser(text);
  TMainParsingEngine engine;
  engine.Init(&parser, TCheckMode::cmAll);
  const struct {
    int x;
    const char* first;
  } cases[] = {{0, "alpha"}, {3, "alpha"}, {5, "beta"}, {8, "beta"}, {15, "gamma"}, {16, ""}};
  for (const auto& c : cases) {
    engine.SetPosition(c.x, 0);
    EXPECT_EQ(engine.NextWord(), c.first) << "from x=" << c.x;
  }
}

TEST(ParseEngine, WordHookCanDropWordsAndCharHookCanSkipText) {
  std::string text = "keep drop keep [skip this] end";
  TStringParser parser(text);
  TMainParsingEngine engine;
  engine.WordHook = [](const std::string& word, TControlParser&) { return word == "drop"; };
  engine.CharHook = [](char c, TControlParser& parser) {
    if (c != '[') return false;
    while (parser.CurrentChar() != ']' && parser.Next()) {
    }
    return true;
  };
  engine.Init(&parser, TCheckMode::cmAll);
  EXPECT_THAT(AllWords(engine), ElementsAre("keep", "keep", "end"));
  EXPECT_EQ(engine.CurrentWord(), "");
}

TEST(ParseEngine, CharacterSetsAreConfigurable) {
  std::string text = "a-b c&d 'x' e.f";
  TStringParser parser(text);
  TMainParsingEngine engine;
  engine.SetWordChars(std::string(TMainParsingEngine::DefaultWordChars()) + "-");
  engine.SetNonInnerChars("");
  engine.AllowInnerPeriod = false;
  engine.Init(&parser, TCheckMode::cmAll);
  EXPECT_THAT(AllWords(engine), ElementsAre("a-b", "c&d", "x", "e", "f"));

  EXPECT_TRUE(engine.IsWordChar('\x92'));
  EXPECT_TRUE(engine.IsWordChar('\x8A'));
  EXPECT_FALSE(engine.IsWordChar('\xA0'));
  EXPECT_FALSE(engine.IsWordChar('\0'));
}

TEST(ParseEngine, StrippingEveryCharacterOfAWordStillEnds) {
  std::string text = "xx yy";
  TStringParser parser(text);
  TMainParsingEngine engine;
  engine.SetTrailingStripChars("x");
  engine.Init(&parser, TCheckMode::cmAll);
  EXPECT_THAT(AllWords(engine), ElementsAre("yy"));
}

TEST(ParseEngine, WithoutParserDeliversNothing) {
  TMainParsingEngine engine;
  engine.Init(nullptr, TCheckMode::cmAll);
  EXPECT_EQ(engine.NextWord(), "");
  EXPECT_EQ(engine.Parser(), nullptr);
}

TEST(ParseEngineBadInput, NulBytesSeparateWords) {
  EXPECT_THAT(StringWords(std::string("ab\0cd\0\0ef", 9)), ElementsAre("ab", "cd", "ef"));
  TMemoryTextControl control(std::string("ab\0cd\nef", 8));
  TWinAPIControlParser parser(control);
  TMainParsingEngine engine;
  engine.Init(&parser, TCheckMode::cmAll);
  EXPECT_THAT(AllWords(engine), ElementsAre("ab", "cd", "ef"));
}

TEST(ParseEngineBadInput, UnterminatedCommentEndsTheText) {
  EXPECT_THAT(StringWords("before <!-- never closed", {soHTML}), ElementsAre("before"));
  EXPECT_THAT(StringWords("before <!-", {soHTML}), ElementsAre("before"));
  EXPECT_THAT(StringWords("before <", {soHTML}), ElementsAre("before"));
  EXPECT_THAT(StringWords("before <% open", {soHTML}), ElementsAre("before"));

  TMemoryTextControl control("one\ntwo <!-- a\nb\n");
  TWinAPIControlParser parser(control);
  TMainParsingEngine engine;
  const RuleSet rules({soHTML});
  rules.Bind(engine);
  engine.Init(&parser, TCheckMode::cmAll);
  EXPECT_THAT(AllWords(engine), ElementsAre("one", "two"));
}

TEST(ParseEngineBadInput, HundredThousandCharacterLine) {
  std::string line;
  for (int i = 0; i < 25000; ++i) line += "abc ";
  ASSERT_EQ(line.size(), 100000u);
  EXPECT_EQ(StringWords(line).size(), 25000u);

  // The window parser reads a line up to its capacity only.
  TMemoryTextControl control(line + "\nnext");
  TWinAPIControlParser parser(control);
  TMainParsingEngine engine;
  engine.Init(&parser, TCheckMode::cmAll);
  const Words words = AllWords(engine);
  // Whole words of the kept part, the word cut at the capacity, the next line.
  ASSERT_EQ(words.size(), TWinAPIControlParser::kMaxLineLength / 4 + 1 + 1);
  EXPECT_EQ(words[words.size() - 2], "ab");
  EXPECT_EQ(words.back(), "next");

  const std::string one_word(100000, 'a');
  const Words single = StringWords(one_word, {soHTML, soInternet, soAbbreviations});
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0].size(), 100000u);
}

TEST(ParseEngineBadInput, EveryByteValueIsSafe) {
  std::string text;
  for (int round = 0; round < 4; ++round)
    for (int b = 0; b < 256; ++b) text += static_cast<char>((b * 37 + round) & 0xFF);
  const RuleSet rules({soHTML, soInternet, soQuoted, soUpcase, soNumbers, soAbbreviations});
  TStringParser parser(text);
  TMainParsingEngine engine;
  rules.Bind(engine);
  engine.Init(&parser, TCheckMode::cmAll);
  size_t words = 0;
  while (!engine.NextWord().empty()) ASSERT_LT(++words, text.size());
}

// The string parser with its fast way over a word's letters hidden, so that
// the engine steps with Next and CurrentChar alone.
class SteppingStringParser final : public TControlParser {
 public:
  explicit SteppingStringParser(std::string& text) : inner_(text) {}
  char CurrentChar() override { return inner_.CurrentChar(); }
  std::string CurrentLine() override { return inner_.CurrentLine(); }
  bool Next() override { return inner_.Next(); }
  bool Prev() override { return inner_.Prev(); }
  void SetPosition(int x, int y, TPositionKind kind) override { inner_.SetPosition(x, y, kind); }
  TTextPos GetPosition() override { return inner_.GetPosition(); }
  TTextPos GetEndLimit() override { return inner_.GetEndLimit(); }
  void SelectBack(int length) override { inner_.SelectBack(length); }
  void ReplaceSelection(std::string_view text, int state) override { inner_.ReplaceSelection(text, state); }
  void SkipSelection(int state) override { inner_.SkipSelection(state); }
  void ShowSelection() override {}
  TTextPos GetCaret() override { return inner_.GetCaret(); }
  TTextRange GetSelection() override { return inner_.GetSelection(); }
  TScreenRect ControlRect() override { return {}; }
  TScreenRect SelectionRect() override { return {}; }

 private:
  TStringParser inner_;
};

// Each word with the position the parser stands at after it.
template <typename Parser>
Words WordsAndEnds(std::string text, int limit, bool keep_last) {
  Parser parser(text);
  TMainParsingEngine engine;
  engine.KeepUnterminatedLastWord = keep_last;
  engine.Init(&parser, TCheckMode::cmAll);
  if (limit >= 0) parser.SetPosition(limit, 0, TPositionKind::pkEndLimit);
  Words out;
  for (std::string word = engine.NextWord(); !word.empty(); word = engine.NextWord())
    out.push_back(word + "@" + std::to_string(parser.GetPosition().x));
  return out;
}

TEST(ParseEngine, TakingAWordsLettersInOneRunCutsAsSteppingDoes) {
  const char* texts[] = {"one two three", "ngiyabonga kakhulu.", "a", "ab", "e.g. 3.5 www.x.org x.",
                         "it's 'quoted' \x92kaMa\x92 ends", "tail\x92", "&amp; a&b", "  lead  trail  ",
                         "dot.", "x..y a.b.c", ""};
  for (const char* text : texts) {
    const int length = static_cast<int>(std::string(text).size());
    for (int limit = -1; limit <= length + 1; ++limit) {
      for (bool keep_last : {false, true}) {
        EXPECT_EQ(WordsAndEnds<TStringParser>(text, limit, keep_last),
                  WordsAndEnds<SteppingStringParser>(text, limit, keep_last))
            << "text \"" << text << "\", limit " << limit << ", keep_last " << keep_last;
      }
    }
  }
}

}  // namespace
}  // namespace tovuri
