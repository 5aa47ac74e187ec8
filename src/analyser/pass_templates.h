#pragma once
// Generator passes decided from the word itself. A generator runs once per
// entry shape with a marker in place of the stem; an entry of that shape makes
// the same forms with its stem where the marker stood, so a word is one of its
// forms when it reads left part + stem + right part for a recorded pair.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analyser/pattern_interpreter.h"

namespace tovuri {

struct Lexicon;

class PassTemplates {
 public:
  PassTemplates();
  ~PassTemplates();
  PassTemplates(PassTemplates&&) noexcept;
  PassTemplates& operator=(PassTemplates&&) noexcept;

  // Makes the forms of one pass with the given stem, reading the given lexicon.
  using Generator = std::function<void(std::string_view stem, const Lexicon&, FormSink&)>;

  // How far a template is trusted for an entry.
  enum class Check {
    kShape,  // noun passes: the stem passes the noun generator's shape tests, and
             // the template reproduced the first entry of its shape
    kEntry,  // the template reproduces this entry's own forms, or else the
             // entry's forms are kept whole (small generators)
  };

  // The template for the pass (tag, prefix, stem, final) that generate makes,
  // made if new; -1 when the pass must be generated: the generator reads more
  // of this stem than the marker can stand for, or a check failed.
  int32_t Add(std::string_view tag, std::string_view prefix, std::string_view stem,
              std::string_view final, const Lexicon& lexicon, const Generator& generate,
              Check check);

  // Lays the templates out for a PassTemplatesView.
  IndexRef Write(IndexWriter& writer) const;

  size_t TemplateCount() const;
  size_t StringCount() const;  // left parts and whole forms held
  size_t KeyCount() const;  // shapes met, with or without a usable template
  size_t ByteEstimate() const;

 private:
  struct Template;
  // head and tail: the stem's letters that the model stem keeps at either end.
  int32_t MakeTemplate(size_t head, size_t tail, std::string_view model, std::string_view prefix,
                       std::string_view final, const std::string* explicit_locative,
                       bool short_locative, const Generator& generate);
  bool Reproduces(const Template& t, std::string_view stem, const Lexicon& lexicon,
                  const Generator& generate) const;
  std::vector<Template> templates_;
  std::unordered_map<std::string, int32_t> by_key_;
};

// PassTemplates as laid out by Write, read in place.
class PassTemplatesView {
 public:
  PassTemplatesView() = default;
  PassTemplatesView(const IndexBytes& bytes, IndexRef templates);
  // Whether the pass made with stem through template id has a form equal to
  // folded_word (already case-folded) without regard to case.
  TableMatch Match(int32_t id, std::string_view stem, std::string_view folded_word) const;
  size_t size() const;

 private:
  IndexBytes bytes_;
  IndexRef templates_;
};

}  // namespace tovuri
