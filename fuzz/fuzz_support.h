#pragma once
// What the fuzz targets share: a private folder for the files they read.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tovuri::fuzz {

// A folder of this process's own, made once and removed at exit; in memory
// where there is a memory file system, since most targets write a file per
// input.
inline const std::string& ScratchDir() {
  struct Folder {
    Folder() {
      const bool memory = access("/dev/shm", W_OK) == 0;
      path = std::string(memory ? "/dev/shm" : "/tmp") + "/tovuri-fuzz-XXXXXX";
      if (mkdtemp(path.data()) == nullptr) abort();
    }
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
    std::string path;
  };
  static const Folder folder;
  return folder.path;
}

// Writes bytes to name in the scratch folder and returns its path.
inline std::string WriteScratch(const std::string& name, std::string_view bytes) {
  const std::string path = ScratchDir() + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Splits the input at its first NUL byte: two texts from one input.
inline std::pair<std::string_view, std::string_view> SplitAtNul(std::string_view bytes) {
  const size_t nul = bytes.find('\0');
  if (nul == std::string_view::npos) return {bytes, {}};
  return {bytes.substr(0, nul), bytes.substr(nul + 1)};
}

// The lexicon's two files from one input split at its first NUL byte:
// dictionary.txt before it, passives.txt after; returns the folder.
inline const std::string& WriteLexiconFiles(const uint8_t* data, size_t size) {
  const auto [dictionary, passives] = SplitAtNul(AsText(data, size));
  WriteScratch("dictionary.txt", dictionary);
  WriteScratch("passives.txt", passives);
  return ScratchDir();
}

// Words whose verdicts reach nouns, verbs, a conjunction and a locative.
inline constexpr const char* kLexiconProbeWords[] = {"umuntu", "abantu",     "ngiyahamba",
                                                     "kodwa",  "esikolweni", "ukuhamba"};

}  // namespace tovuri::fuzz
