#pragma once
// Every inflected form of one noun lexicon entry (all noun tags, "uku" included).
#include <array>
#include <string>
#include <string_view>

#include "analyser/form_sink.h"

namespace tovuri {

struct Lexicon;

// Appends the forms of the entry (tag, prefix, stem without final letter, final
// letter); the entry's own locatives come from the process-wide lexicon.
void GenerateNounForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                       std::string_view final, FormSink& forms);
void GenerateNounForms(std::string_view tag, std::string_view prefix, std::string_view stem,
                       std::string_view final, FormSink& forms, const Lexicon& lexicon);

// A formative placed before a noun prefix, with the vowels coalesced:
// "la" + "umu" gives "lomu", "nga" + "in" gives "ngen".
std::string JoinFormative(std::string_view formative, std::string_view prefix);

// One shape in which a noun is inflected: singular, plural or a third shape.
struct NumberVariant {
  std::string prefix;
  std::string stem;
  std::string_view near_demonstrative;  // "this"/"these" for the shape's class; may be empty
  std::string_view far_demonstrative;   // "that"/"those"; may be empty
};

struct NumberVariants {
  std::array<NumberVariant, 3> variants;
  int count = 2;  // how many of the variants are used
};

// The number shapes of a noun class, from its tag, the entry's prefix and stem.
NumberVariants NounNumberVariants(std::string_view tag, std::string_view prefix,
                                  std::string_view stem);

}  // namespace tovuri
