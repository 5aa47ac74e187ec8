#pragma once
// A home folder of a tool's own, for as long as the tool runs, so the checker
// neither reads nor changes the user's files.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tovuri {

class PrivateHome {
 public:
  explicit PrivateHome(const std::string& name) {
    std::string pattern = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) std::exit(2);
    root_ = pattern;
    setenv("HOME", root_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
  }
  ~PrivateHome() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  PrivateHome(const PrivateHome&) = delete;
  PrivateHome& operator=(const PrivateHome&) = delete;

 private:
  std::filesystem::path root_;
};

}  // namespace tovuri
