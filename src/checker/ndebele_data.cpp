#include "checker/ndebele_data.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "analyser/lexicon.h"
#include "spell/ox3MainDictionary.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDataFiles[] = {"dictionary.txt", "passives.txt", "Ndebele.oxm"};

// The lexicon is process-wide and read by every open dictionary, so it is
// loaded or replaced only while no dictionary is open.
struct LoadedData {
  std::mutex mutex;
  std::string dir;  // empty until a lexicon is loaded
  int users = 0;
};

LoadedData& Loaded() {
  static LoadedData data;
  return data;
}

// The lexicon files are text: a control character other than tab, CR and LF
// means a file overwritten with something else, which the loader would read
// as a few odd entries.
bool IsText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      const auto c = static_cast<unsigned char>(buffer[i]);
      if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') return false;
    }
  }
  return !in.bad();
}

// Loads the lexicon of dir; false with the reason in problem.
bool LoadData(const std::string& dir, std::string& problem) {
  if (!HasNdebeleData(dir)) {
    problem = "no Ndebele data (dictionary.txt, passives.txt, Ndebele.oxm) in " + dir;
    return false;
  }
  for (const char* name : {"dictionary.txt", "passives.txt"}) {
    if (!IsText(fs::path(dir) / name)) {
      problem = (fs::path(dir) / name).string() + " is not a text file";
      return false;
    }
  }
  TMainDictionary main;
  if (!main.Open((fs::path(dir) / "Ndebele.oxm").string())) {
    problem = main.Problem().empty() ? (fs::path(dir) / "Ndebele.oxm").string() + " cannot be opened as a main dictionary"
                                     : main.Problem();
    return false;
  }
  // Warnings have nowhere to go inside another program: a lexicon is usable
  // or it is not.
  BuildLexicon(dir, [](const LexiconWarning&) {});
  if (TheLexicon().size() > 0) return true;
  problem = (fs::path(dir) / "dictionary.txt").string() + " holds no entries";
  return false;
}

}  // namespace

std::string InstalledDataDir() {
  const char* dir = std::getenv("TOVURI_DATA_DIR");
  return dir != nullptr && *dir != '\0' ? std::string(dir) : std::string(TOVURI_INSTALLED_DATA_DIR);
}

bool HasNdebeleData(const std::string& dir) {
  std::error_code error;
  for (const char* name : kDataFiles)
    if (!fs::is_regular_file(fs::path(dir) / name, error)) return false;
  return true;
}

bool AcquireNdebeleData(const std::string& dir, std::string& problem) {
  LoadedData& data = Loaded();
  const std::lock_guard<std::mutex> lock(data.mutex);
  if (data.dir != dir) {
    if (data.users > 0) {
      problem = "the Ndebele data of " + data.dir + " is in use in this program, so that of " + dir + " cannot be";
      return false;
    }
    data.dir.clear();
    try {
      if (!LoadData(dir, problem)) {
        InstallLexicon(Lexicon{});
        return false;
      }
    } catch (const std::exception& error) {
      problem = error.what();
      InstallLexicon(Lexicon{});
      return false;
    }
    data.dir = dir;
  }
  ++data.users;
  return true;
}

void ReleaseNdebeleData() {
  LoadedData& data = Loaded();
  const std::lock_guard<std::mutex> lock(data.mutex);
  if (data.users > 0) --data.users;
}

}  // namespace tovuri
