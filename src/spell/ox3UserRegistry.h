#pragma once
// The per-user registry: a key such as "Software\Tovuri" with a subkey such
// as "Ndebele" is a file of string values under the user's configuration
// folder ($XDG_CONFIG_HOME, default ~/.config).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "spell/ox3IniFile.h"

namespace tovuri {

// The values of one registry key, read whole and written back atomically.
// The file holds "name=value" lines in which "\" escapes "\", "=", CR and LF,
// so any name and value survive.
class TUserRegistryKey {
 public:
  // The file for a key: its parts ("\" or "/" separated; a leading "Software"
  // dropped; empty, "." and ".." parts skipped) become folders below the
  // configuration folder and the last part a file with the extension ".reg":
  // "Software\Tovuri" + "Ndebele" is <config>/Tovuri/Ndebele.reg. Empty when
  // there is no configuration folder or no part is left.
  static std::filesystem::path FileFor(std::string_view key, std::string_view subkey = {});

  explicit TUserRegistryKey(std::filesystem::path file);

  // Reads the values; a missing file reads as an empty key.
  TFileState Load();
  // Writes the values back when one was written; a file that could not be
  // read is never overwritten. False when the file was not written, with
  // SaveError() saying why (empty when there is no configuration folder).
  bool Save();
  const std::string& SaveError() const { return save_error_; }

  std::optional<std::string> Read(std::string_view name) const;
  void Write(std::string_view name, std::string_view value);
  const std::vector<std::pair<std::string, std::string>>& Values() const { return values_; }
  const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
  std::vector<std::pair<std::string, std::string>> values_;
  std::unordered_map<std::string, size_t> index_;  // name -> position in values_
  TFileState state_ = TFileState::fsMissing;
  bool modified_ = false;
  std::string save_error_;
};

}  // namespace tovuri
