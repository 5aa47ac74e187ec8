#pragma once
// The word query's answers, free of Qt and of the bus: what the main window
// provides for a query, and the macro handling that answers it.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tovuri {

// The editor's verdict on one word of the framework's text.
class TWordQueryHandler {
 public:
  virtual ~TWordQueryHandler() = default;
  // The verdict; answer receives it before a word only the analyser accepts
  // is learnt (which reopens the dictionaries), so the caller is not kept
  // waiting.
  virtual bool Query(const std::string& word, const std::function<void(bool)>& answer) = 0;
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
