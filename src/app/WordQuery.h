#pragma once
// The word query's answers, free of Qt and of the bus: what the main window
// provides for a query, and the macro handling that answers it.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tovuri {

// The editor's verdict on one Windows-1252 word, step by step, so the answer
// can be given before the dictionaries change.
class TWordQueryHandler {
 public:
  virtual ~TWordQueryHandler() = default;
  // The framework's dictionaries and rules (IsWordAcceptable).
  virtual bool IsWordAcceptable(const std::string& word) = 0;
  // The Ndebele analyser (IsNdebeleWord).
  virtual bool IsNdebeleWord(const std::string& word) = 0;
  // Adds a word to the active custom dictionary and reopens the dictionaries
  // (ApplyConfiguration (True)), so the editor and later queries know it.
  virtual void LearnWord(const std::string& word) = 0;
};

// Longest macro answered, in UTF-8 bytes; a longer one is answered "Error".
inline constexpr size_t kMaxMacroBytes = 64 * 1024;
// The answer to a macro without lines or too long.
inline constexpr std::string_view kMacroError = "Error";

// Answers one macro (UTF-8 text, lines ending in LF or CR LF) for its first
// line, exactly as sent: "Yes " + word, "No " + word, or "Error" for a macro
// without lines or over kMaxMacroBytes. set_answer receives the answer before
// a word only the analyser accepts is learnt; the answer is also returned.
std::string SpellingExecuteMacro(std::string_view macro, TWordQueryHandler& handler,
                                 const std::function<void(const std::string&)>& set_answer);

}  // namespace tovuri
