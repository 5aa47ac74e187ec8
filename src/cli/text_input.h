#pragma once
#include <string>
#include <string_view>

namespace tovuri {

// Text for the framework: UTF-8 when it is valid UTF-8 (a leading byte-order
// mark dropped, characters beyond Windows-1252 as "?"), else Windows-1252 already.
std::string ToWindows1252(std::string_view bytes);

// Reads a whole file, or standard input for "-"; false when it cannot be read.
bool ReadInput(const std::string& name, std::string& bytes);

}  // namespace tovuri
