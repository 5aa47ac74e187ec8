#pragma once
// The small string operations that every generator uses to glue morphemes.
// Positions returned count from 1; 0 means "not found".
#include <cstddef>
#include <string>
#include <string_view>

namespace tovuri {

struct Lexicon;

bool IsVowel(char c);  // a e i o u and their capitals; not y or w

// Views into s: keep s alive while the result is used.
std::string_view LastChars(std::string_view s, size_t n);
std::string_view DropLastChars(std::string_view s, size_t n);

size_t LastPos(std::string_view sub, std::string_view s);
int CountVowels(std::string_view s);
std::string KuBeforeVowel(std::string_view s);
std::string GlideVowel(std::string_view v);
std::string JoinWithGlide(std::string_view first, std::string_view second);
std::string InfinitivePrefix(std::string_view stem);
// The passive base of a verb stem; the one-argument form reads the process-wide lexicon.
std::string PassiveStem(std::string_view stem);
std::string PassiveStem(std::string_view stem, const Lexicon& lexicon);
std::string LocativeBody(std::string_view stem, std::string_view final);

}  // namespace tovuri
