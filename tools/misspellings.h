#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tovuri {

// One single-letter slip of word, the same on every run for the same word
// and attempt: a letter inserted, deleted or replaced, or two neighbours
// swapped. New letters are a to z, in capitals when the word is all capitals.
// Empty when the attempt's slip would leave the word unchanged.
std::string MakeMisspelling(std::string_view word, uint32_t attempt);

}  // namespace tovuri
