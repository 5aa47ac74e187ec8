#include "cli/index_command.h"

#include <iostream>

#include "analyser/lexicon.h"
#include "analyser/word_check_index.h"
#include "spell/ox3Encoding.h"

namespace tovuri {

int WriteIndexForLexicon(const std::string& dir) {
  constexpr int kFailed = 1;
  std::string base = dir;
  if (!base.empty() && base.back() != '/') base += '/';
  Lexicon lexicon;
  try {
    lexicon = LoadLexicon(base, [](const LexiconWarning& w) {
      std::cerr << Windows1252ToUtf8(w.file);
      if (w.line > 0) std::cerr << ':' << w.line;
      std::cerr << ": " << Windows1252ToUtf8(w.message) << '\n';
    });
  } catch (const LexiconError& error) {
    std::cerr << "tovuri-dict: " << error.what() << '\n';
    return kFailed;
  }
  const std::string path = base + std::string(kWordCheckIndexFile);
  std::string problem;
  if (!WriteWordCheckIndex(lexicon, path, problem)) {
    std::cerr << "tovuri-dict: " << path << ": " << problem << '\n';
    return kFailed;
  }
  std::cout << path << ": the word check index of " << lexicon.size() << " entries\n";
  return 0;
}

}  // namespace tovuri
