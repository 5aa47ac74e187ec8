#pragma once
// Noun-generator passes decided from the word itself. The generator runs once
// per entry shape with a marker in place of the stem; an entry of that shape
// makes the same forms with its stem where the marker stood, so a word is one
// of its forms when it reads left part + stem + right part for a recorded pair.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analyser/pattern_interpreter.h"

namespace tovuri {

struct Lexicon;

class NounPassIndex {
 public:
  NounPassIndex();
  ~NounPassIndex();
  NounPassIndex(NounPassIndex&&) noexcept;
  NounPassIndex& operator=(NounPassIndex&&) noexcept;

  // The template for the noun pass (tag, prefix, stem, final), made if new;
  // -1 when the pass must be generated: the generator reads more of this stem
  // than the marker can stand for, or its template did not reproduce it.
  int32_t Add(std::string_view tag, std::string_view prefix, std::string_view stem,
              std::string_view final, const Lexicon& lexicon);

  // Whether the pass made with stem through template id has a form equal to
  // folded_word (already case-folded) without regard to case.
  TableMatch Match(int32_t id, std::string_view stem, std::string_view folded_word) const;

  size_t TemplateCount() const;
  size_t KeyCount() const;  // shapes met, with or without a usable template
  size_t ByteEstimate() const;

 private:
  struct Template;
  std::vector<Template> templates_;
  std::unordered_map<std::string, int32_t> by_key_;
};

}  // namespace tovuri
