// The editors' pipe protocol on arbitrary lines, with the shipped main
// dictionary and an analyser that knows a few words: every check line gets
// its block of answers, each answer names a word of its line where it stands.
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "checker/ndebele_checker.h"
#include "cli/pipe_mode.h"
#include "fuzz_support.h"
#include "spell/ox3Encoding.h"

using namespace tovuri;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

size_t Characters(std::string_view utf8) {
  std::u32string characters;
  TTextDecoder(TTextDecoder::TStart::tsUtf8).Decode(utf8, true, characters);
  return characters.size();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The user's files go to the scratch folder, never the real home.
  const std::string home = fuzz::ScratchDir();
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  static TNdebeleChecker checker(TOVURI_FUZZ_BIN_DIR, TLearning::lnDoNotLearn, [](std::string_view word) {
    return word == "simbona" || word == "ngiyahamba";
  });
  const std::string input(fuzz::AsText(data, size));
  std::istringstream in(input);
  std::ostringstream out;
  RunPipeMode(checker, in, out, [](const std::string&) {});

  const std::vector<std::string> sent = Lines(input);
  const std::vector<std::string> answered = Lines(out.str());
  if (answered.empty() || answered[0] != kIspellBanner) abort();
  size_t at = 1;
  for (std::string line : sent) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const char command = line.empty() ? '\0' : line[0];
    if (std::string_view("*&@#!%+-~").find(command) != std::string_view::npos && command != '\0') continue;
    const std::string text = command == '^' ? line.substr(1) : line;
    const size_t first = command == '^' ? 1 : 0;
    const size_t length = Characters(text);
    // Answers up to the empty line that ends the block.
    for (; at < answered.size() && !answered[at].empty(); ++at) {
      const std::string& answer = answered[at];
      if (answer == "*") continue;
      if (answer[0] != '&' && answer[0] != '#') abort();
      // "& word count offset: ..." or "# word offset"
      std::istringstream fields(answer.substr(2));
      std::string word, count;
      size_t offset = 0;
      fields >> word;
      if (answer[0] == '&') fields >> count;
      fields >> offset;
      if (offset < first || offset - first + Characters(word) > length) abort();
    }
    if (at >= answered.size()) abort();  // a block without its end
    ++at;
  }
  return 0;
}
