#include "app/dbus/word_query.h"

#include <optional>

#include "spell/ox3Encoding.h"

namespace tovuri {

namespace {

// The first line of the text, without its LF or CR LF; nothing when the
// text holds no line at all.
std::optional<std::string_view> FirstLine(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::string_view line = text.substr(0, text.find('\n'));
  if (line.size() < text.size() && line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

std::string SpellingExecuteMacro(std::string_view macro, TWordQueryHandler& handler,
                                 const std::function<void(const std::string&)>& set_answer) {
  const std::optional<std::string_view> word = macro.size() <= kMaxMacroBytes ? FirstLine(macro) : std::nullopt;
  if (!word) {
    set_answer(std::string(kMacroError));
    return std::string(kMacroError);
  }
  const std::string yes = "Yes " + std::string(*word);
  const std::string no = "No " + std::string(*word);
  // A character Windows-1252 lacks stands as a letter no dictionary holds,
  // so such a word is answered "No" by the checker itself.
  const bool accepted =
      handler.Query(Utf8ToFrameworkText(*word), [&](bool verdict) { set_answer(verdict ? yes : no); });
  return accepted ? yes : no;
}

}  // namespace tovuri
