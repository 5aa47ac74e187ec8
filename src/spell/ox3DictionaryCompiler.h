#pragma once
// Builds main dictionary files (".oxm") from word lists.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tovuri {

// A word list or graph that the format cannot hold.
class DictionaryCompileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct WordList {
  std::vector<std::string> words;     // Windows-1252, in file order
  std::vector<std::string> warnings;  // "path:line: reason" for each skipped line
};

// Reads one word per line; the file is taken as UTF-8 when it is valid
// UTF-8 and as Windows-1252 otherwise. Blank lines are skipped; lines that
// cannot be stored (characters beyond Windows-1252, zero bytes, more than
// 512 bytes) are skipped with a warning. Throws when the file cannot be read.
WordList ReadWordList(const std::string& path);

struct CompiledDictionary {
  std::string bytes;  // the whole file
  uint32_t word_count = 0;
  uint32_t node_count = 0;
};

// The file image of a minimal word graph over the words (any order,
// duplicates ignored): equal subtrees shared, branch-free chains packed
// into records of up to 8 extra bytes, sealed with a checksum
// (SealMainDictionary). The same words give the same bytes.
CompiledDictionary CompileMainDictionary(std::vector<std::string> words, std::string_view title,
                                         int32_t language);

}  // namespace tovuri
