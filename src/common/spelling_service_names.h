#pragma once
// Where the desktop program answers word queries on the D-Bus session bus;
// shared by the service and its clients, which must not need Qt.
#include <string>
#include <string_view>

namespace tovuri {

inline constexpr std::string_view kSpellingObjectPath = "/Spelling";
inline constexpr std::string_view kSpellingInterface = "org.tovuri.Spelling";
inline constexpr std::string_view kSpellingAnswerProperty = "DoesWordExist";
inline constexpr std::string_view kSpellingBusPrefix = "org.tovuri.";
// The program the clients ask when told no other.
inline constexpr std::string_view kSpellingDefaultProgram = "tovuri";

// The well-known bus name of a program: "org.tovuri." and the program's file
// name without folder and extension, each character a bus name cannot hold
// turned into "_" (and "_" before a leading digit, which it cannot hold either).
inline std::string SpellingBusName(std::string_view executable) {
  if (const size_t slash = executable.find_last_of('/'); slash != std::string_view::npos)
    executable.remove_prefix(slash + 1);
  if (const size_t dot = executable.find_last_of('.'); dot != std::string_view::npos && dot > 0)
    executable = executable.substr(0, dot);
  std::string name(kSpellingBusPrefix);
  if (executable.empty() || (executable[0] >= '0' && executable[0] <= '9')) name += '_';
  for (const char c : executable) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                         c == '_' || c == '-';
    name += allowed ? c : '_';
  }
  // The bus refuses names longer than 255 characters.
  constexpr size_t kMaxBusName = 255;
  if (name.size() > kMaxBusName) name.resize(kMaxBusName);
  return name;
}

}  // namespace tovuri
