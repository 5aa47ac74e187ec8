#pragma once
// Points HOME and the XDG folders at a fresh temporary folder for one test,
// so no test reads or writes the real home folder.
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tovuri::testing {

class ScopedUserDirs {
 public:
  ScopedUserDirs() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tovuri-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) root_ = pattern;
    Set("HOME", root_ / "home");
    Set("XDG_CONFIG_HOME", root_ / "config");
    Set("XDG_DATA_HOME", root_ / "data");
    Set("XDG_DOCUMENTS_DIR", std::nullopt);
  }
  ~ScopedUserDirs() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second)
        setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        unsetenv(it->first.c_str());
    }
    std::error_code error;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(root_, error);
  }
  ScopedUserDirs(const ScopedUserDirs&) = delete;
  ScopedUserDirs& operator=(const ScopedUserDirs&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Config() const { return root_ / "config"; }
  std::filesystem::path Data() const { return root_ / "data"; }
  std::filesystem::path Home() const { return root_ / "home"; }

  // Sets (or with nothing, unsets) a variable until the end of the test.
  void Set(const std::string& name, const std::optional<std::filesystem::path>& value) {
    const char* old = getenv(name.c_str());
    saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    if (value)
      setenv(name.c_str(), value->c_str(), 1);
    else
      unsetenv(name.c_str());
  }

 private:
  std::filesystem::path root_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace tovuri::testing
