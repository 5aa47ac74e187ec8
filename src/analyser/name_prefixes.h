#pragma once
// Words made of a lower-case prefix and a capitalised name: weStudio,
// nguMnu, leZanu, koBulawayo.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tovuri {

// The lower-case heads that the person and place generators put before a
// name (u, ku, ko, ka, e, wase, le, we, ngu, yi, ...), longest first.
const std::vector<std::string>& NamePrefixes();

// True when word is one of NamePrefixes followed by a name that begins with
// a capital letter and that name_accepted accepts on its own.
bool IsPrefixedName(std::string_view word, const std::function<bool(std::string_view)>& name_accepted);

}  // namespace tovuri
