#pragma once
// The program's own key in the per-user store, made at start-up.
#include <string_view>

namespace tovuri {

inline constexpr std::string_view kProgramKey = "Software\\Tovuri";

// Creates the key (a folder under the user's configuration folder) when it is
// missing; false when it cannot be made, which the program survives.
bool EnsureProgramKey();

}  // namespace tovuri
