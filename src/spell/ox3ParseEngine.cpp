#include "spell/ox3ParseEngine.h"

namespace tovuri {

namespace {

std::string BuildDefaultWordChars() {
  std::string chars = "\x92" "1234567890&'";
  for (char c = 'a'; c <= 'z'; ++c) chars += c;
  for (char c = 'A'; c <= 'Z'; ++c) chars += c;
  for (int b = 0xC0; b <= 0xFF; ++b) chars += static_cast<char>(b);
  for (int b : {0xA1, 0xA2, 0xA6, 0xA8, 0xAC, 0xB1, 0xB2, 0xB6, 0xB8, 0xBC, 0x8A, 0x8D, 0x8E, 0x9A,
                0x9C, 0x9D, 0x9E})
    chars += static_cast<char>(b);
  return chars;
}

}  // namespace

const std::string& TMainParsingEngine::DefaultWordChars() {
  static const std::string chars = BuildDefaultWordChars();
  return chars;
}

TMainParsingEngine::TMainParsingEngine() { SetWordChars(DefaultWordChars()); }

void TMainParsingEngine::SetWordChars(std::string_view chars) {
  word_chars_ = chars;
  BuildTables();
}

void TMainParsingEngine::SetNonStartChars(std::string_view chars) {
  non_start_chars_ = chars;
  BuildTables();
}

void TMainParsingEngine::SetTrailingStripChars(std::string_view chars) {
  trailing_strip_chars_ = chars;
  BuildTables();
}

void TMainParsingEngine::SetNonInnerChars(std::string_view chars) {
  non_inner_chars_ = chars;
  BuildTables();
}

void TMainParsingEngine::BuildTables() {
  is_word_.fill(false);
  is_trailing_strip_.fill(false);
  for (char c : word_chars_) is_word_[Byte(c)] = true;
  is_start_ = is_word_;
  for (char c : non_start_chars_) is_start_[Byte(c)] = false;
  is_inner_ = is_word_;
  for (char c : non_inner_chars_) is_inner_[Byte(c)] = false;
  for (char c : trailing_strip_chars_) is_trailing_strip_[Byte(c)] = true;
}

void TMainParsingEngine::Init(TControlParser* parser, TCheckMode mode) {
  parser_ = parser;
  if (parser_ == nullptr) return;
  switch (mode) {
    case TCheckMode::cmSelection: {
      const TTextRange selection = parser_->GetSelection();
      SetPosition(selection.start.x, selection.start.y);
      parser_->SetPosition(selection.end.x, selection.end.y, TPositionKind::pkEndLimit);
      break;
    }
    case TCheckMode::cmFromCaret: {
      const TTextPos start = parser_->GetSelection().start;
      SetPosition(start.x, start.y);
      break;
    }
    case TCheckMode::cmAll:
      parser_->SetPosition(0, 0, TPositionKind::pkPosition);
      break;
    default:
      break;
  }
}

void TMainParsingEngine::SetPosition(int x, int y) {
  if (parser_ == nullptr) return;
  parser_->SetPosition(x, y, TPositionKind::pkPosition);
  while (IsInnerChar(parser_->CurrentChar()))
    if (!parser_->Prev()) break;
}

std::string TMainParsingEngine::CutWord(bool& text_ended) {
  TControlParser& parser = *parser_;
  text_ended = false;

  // Step 1: find a character that may start a word.
  char c;
  for (;;) {
    c = parser.CurrentChar();
    if (CharHook && CharHook(c, parser)) c = parser.CurrentChar();
    if (is_start_[Byte(c)]) break;
    if (!parser.Next()) {
      text_ended = true;
      return {};
    }
  }

  // Step 2: collect it and the characters that may continue it.
  std::string word(1, c);
  bool dotted = false;
  for (;;) {
    parser.TakeRun(is_inner_, word);
    if (!parser.Next()) {
      text_ended = true;
      if (!KeepUnterminatedLastWord) word.clear();
      break;
    }
    c = parser.CurrentChar();
    if (IsInnerChar(c)) {
      word += c;
      continue;
    }
    if (!(AllowInnerPeriod && c == '.')) break;
    parser.Next();
    const char after = parser.CurrentChar();
    parser.Prev();
    if (IsInnerChar(after)) {
      word += c;
    } else if (word.find('.') != std::string::npos) {
      word += c;
      dotted = true;
    } else {
      break;
    }
  }

  // Step 3: strip trailing quotes and periods; a dotted word keeps its periods.
  while (!word.empty() && IsTrailingStrip(word.back()) && !(dotted && word.back() == '.')) {
    word.pop_back();
    parser.Prev();
  }
  return word;
}

std::string TMainParsingEngine::NextWord() {
  current_word_.clear();
  if (parser_ == nullptr) return {};
  for (;;) {
    bool text_ended = false;
    std::string word = CutWord(text_ended);
    if (word.empty()) {
      if (text_ended) return {};
      // Everything cut was stripped again: step over the start so the next
      // round cannot cut the same characters forever.
      if (!parser_->Next()) return {};
      continue;
    }
    // Step 4: let the word hook drop the word and what follows it.
    if (WordHook && WordHook(word, *parser_)) continue;
    // Step 5.
    current_word_ = std::move(word);
    return current_word_;
  }
}

}  // namespace tovuri
