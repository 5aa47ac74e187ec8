#pragma once
// The form patterns of a regular verb, in the order they are made.
#include <array>
#include <cstddef>

#include "analyser/pattern_interpreter.h"

namespace tovuri {

inline constexpr size_t kVerbPatternCount = 532;
extern const std::array<PatternRow, kVerbPatternCount> kVerbPatterns;

}  // namespace tovuri
