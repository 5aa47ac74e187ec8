#include "cli/pipe_mode.h"

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

// Stands for a byte that is not UTF-8: a word character that no dictionary
// word holds, so the word around it is read whole and reported.
constexpr char kInvalidByte = '\x8D';
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// One input line as the checker reads it: Windows-1252, with the character
// offset of each byte in the raw line and the bytes that were not UTF-8.
struct LineText {
  std::string text;
  std::vector<size_t> offsets;
  std::vector<bool> invalid;
};

// Length of a UTF-8 sequence from its first byte, 0 for a byte that cannot
// start one (a continuation byte, an overlong or out-of-range lead).
size_t LengthFromLead(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xC2) return 0;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  if (lead < 0xF5) return 4;
  return 0;
}

// Length of the UTF-8 sequence at the start of bytes, 0 when it is not one.
size_t SequenceLength(std::string_view bytes) {
  const size_t length = LengthFromLead(static_cast<unsigned char>(bytes[0]));
  if (length == 0 || length > bytes.size() || !IsValidUtf8(bytes.substr(0, length))) return 0;
  return length;
}

// Characters beyond Windows-1252 become "?", which ends a word.
LineText Decode(std::string_view bytes, size_t first_offset) {
  LineText line;
  line.text.reserve(bytes.size());
  size_t offset = first_offset;
  for (size_t i = 0; i < bytes.size(); ++offset) {
    const size_t length = SequenceLength(bytes.substr(i));
    if (length == 0) {
      line.text += kInvalidByte;
      line.invalid.push_back(true);
      ++i;
    } else {
      const std::optional<std::string> ansi = Utf8ToWindows1252(bytes.substr(i, length));
      line.text += ansi ? *ansi : std::string("?");
      line.invalid.push_back(false);
      i += length;
    }
    line.offsets.push_back(offset);
  }
  return line;
}

class PipeSession {
 public:
  PipeSession(TNdebeleChecker& checker, std::ostream& out) : checker_(checker), out_(out) {}

  void Answer(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const char command = line.empty() ? '\0' : line[0];
    const std::string_view rest = line.empty() ? line : line.substr(1);
    switch (command) {
      case '*':
        WithWord(rest, [this](const std::string& w) { checker_.AddToPersonal(w); });
        return;
      case '&':
        WithWord(rest, [this](const std::string& w) { checker_.AddToPersonal(AnsiLowerCase(w)); });
        return;
      case '@':
        WithWord(rest, [this](const std::string& w) { checker_.AcceptForSession(w); });
        return;
      case '#':
        checker_.Save();
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
  template <typename Action>
  void WithWord(std::string_view text, Action action) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    const std::optional<std::string> word = Utf8ToWindows1252(text);
    if (word && !word->empty()) action(*word);
  }

  void CheckLine(std::string_view bytes, size_t first_offset) {
    LineText line = Decode(bytes, first_offset);
    std::string text = line.text;
    checker_.CheckWords(text, [&](const std::string& word, size_t start, bool accepted) {
      bool invalid = false;
      std::string shown;
      for (size_t i = start; i < start + word.size(); ++i) {
        invalid = invalid || line.invalid[i];
        shown += line.invalid[i] ? std::string(kReplacementCharacter)
                                 : Windows1252ToUtf8(word.substr(i - start, 1));
      }
      const size_t offset = line.offsets[start];
      if (accepted && !invalid) {
        if (!terse_) out_ << "*\n";
        return;
      }
      const std::vector<std::string> suggestions =
          invalid ? std::vector<std::string>{} : checker_.Suggestions(word);
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
  bool terse_ = false;
};

}  // namespace

void RunPipeMode(TNdebeleChecker& checker, std::istream& in, std::ostream& out) {
  out << kIspellBanner << '\n' << std::flush;
  PipeSession session(checker, out);
  std::string line;
  while (std::getline(in, line)) session.Answer(line);
}

bool AcceptWordList(TNdebeleChecker& checker, const std::string& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return true;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (const std::optional<std::string> word = Utf8ToWindows1252(line); word && !word->empty())
      checker.AcceptForSession(*word);
  }
  return !in.bad();
}

}  // namespace tovuri
