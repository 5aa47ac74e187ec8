#include "cli/pipe_mode.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "checker/ndebele_checker.h"
#include "common/ansi_case.h"
#include "spell/ox3Encoding.h"

namespace tovuri {
namespace {

// One input line as the checker reads it: its characters, and the
// framework's text, a byte a character.
struct LineText {
  std::u32string characters;
  std::string text;
};

LineText Decode(std::string_view bytes) {
  LineText line;
  TTextDecoder decoder(TTextDecoder::TStart::tsUtf8);
  decoder.Decode(bytes, true, line.characters);
  line.text = ToFrameworkText(line.characters);
  return line;
}

class PipeSession {
 public:
  PipeSession(TNdebeleChecker& checker, std::ostream& out, const TNotice& notice)
      : checker_(checker), out_(out), notice_(notice) {}

  // Whether every word the user asked to keep was written.
  bool Kept() const { return kept_; }

  void Answer(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const char command = line.empty() ? '\0' : line[0];
    const std::string_view rest = line.empty() ? line : line.substr(1);
    switch (command) {
      case '*':
        WithWord(rest, [this](const std::string& w) { return checker_.AddToPersonal(w); });
        return;
      case '&':
        WithWord(rest, [this](const std::string& w) { return checker_.AddToPersonal(AnsiLowerCase(w)); });
        return;
      case '@':
        WithWord(rest, [this](const std::string& w) {
          checker_.AcceptForSession(w);
          return true;
        });
        return;
      case '#':
        Keep(checker_.Save(), "the personal dictionary cannot be saved");
        return;
      case '!':
        terse_ = true;
        return;
      case '%':
        terse_ = false;
        return;
      case '+':
      case '-':
      case '~':
        return;  // formatter modes: the text is plain to this checker
      case '^':
        CheckLine(rest, 1);
        break;
      default:
        CheckLine(line, 0);
        break;
    }
    out_ << '\n' << std::flush;
  }

 private:
  // A word the user asks to keep: one Windows-1252 cannot hold cannot be
  // written into the user's files, and that is said like any failed save.
  template <typename Action>
  void WithWord(std::string_view text, Action action) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return;
    const std::string word = Utf8ToFrameworkText(text);
    if (HasForeignChar(word)) {
      Keep(false, "cannot keep " + std::string(text) + ": a character in it is not one Windows-1252 holds");
      return;
    }
    Keep(action(word), "cannot keep " + std::string(text) + " in the personal dictionary");
  }

  void Keep(bool kept, const std::string& problem) {
    if (kept) return;
    kept_ = false;
    notice_(problem);
  }

  void CheckLine(std::string_view bytes, size_t first_offset) {
    const LineText line = Decode(bytes);
    std::string text = line.text;
    // Suggestions are the slow part of an answer: past the line's budget the
    // rest of its misspelt words are reported without them, so an editor is
    // never kept waiting by a long line.
    const auto deadline = std::chrono::steady_clock::now() + kSuggestionBudget;
    checker_.CheckWords(text, [&](const std::string& word, size_t start, bool accepted) {
      const std::string shown = ToUtf8(std::u32string_view(line.characters).substr(start, word.size()));
      const size_t offset = first_offset + start;
      if (accepted) {
        if (!terse_) out_ << "*\n";
        return;
      }
      const std::vector<std::string> suggestions = std::chrono::steady_clock::now() < deadline
                                                       ? checker_.Suggestions(word)
                                                       : std::vector<std::string>{};
      if (suggestions.empty()) {
        out_ << "# " << shown << ' ' << offset << '\n';
        return;
      }
      out_ << "& " << shown << ' ' << suggestions.size() << ' ' << offset << ':';
      for (size_t i = 0; i < suggestions.size(); ++i)
        out_ << (i == 0 ? " " : ", ") << Windows1252ToUtf8(suggestions[i]);
      out_ << '\n';
    });
  }

  TNdebeleChecker& checker_;
  std::ostream& out_;
  const TNotice& notice_;
  bool terse_ = false;
  bool kept_ = true;
};

}  // namespace

bool RunPipeMode(TNdebeleChecker& checker, std::istream& in, std::ostream& out, const TNotice& notice) {
  out << kIspellBanner << '\n' << std::flush;
  PipeSession session(checker, out, notice);
  std::string line;
  while (std::getline(in, line)) session.Answer(line);
  return session.Kept() && checker.Save();
}

bool AcceptWordList(TNdebeleChecker& checker, const std::string& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return true;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) checker.AcceptForSession(Utf8ToFrameworkText(line));
  }
  return !in.bad();
}

}  // namespace tovuri
