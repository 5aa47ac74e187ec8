#pragma once
// A scratch directory for one test, removed with it.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace tovuri::testing {

class TempDir {
 public:
  TempDir() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("tovuri-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string path() const { return path_.string() + "/"; }
  std::string Write(const std::string& name, std::string_view bytes) const {
    const std::string file = path() + name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tovuri::testing
