#pragma once
// INI files edited in place (other sections, comments and lines that are not
// "key=value" survive a rewrite), and the reading and writing of settings
// files shared by the configuration stores.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tovuri {

// How a settings file was found when it was read.
enum class TFileState : std::uint8_t { fsRead, fsMissing, fsUnreadable };

// Why a settings file that could not be read is not written.
inline constexpr std::string_view kSettingsNotOverwritten = "the file could not be read, so it is not overwritten";

// Files larger than this are not read as settings (bytes).
inline constexpr std::uintmax_t kMaxSettingsFileSize = 16u << 20;

// Reads a whole settings file; fsUnreadable for anything that is not a
// readable regular file of at most kMaxSettingsFileSize bytes.
TFileState ReadSettingsFile(const std::filesystem::path& path, std::string& contents);

// Creates the folder chain and writes contents atomically (WriteFileAtomically)
// under the lock on path + ".lock" that every settings writer takes, first
// removing the temporary files of writes that were killed halfway (as custom
// dictionaries do). False, with path untouched and error saying why, on any
// failure.
bool WriteSettingsFile(const std::filesystem::path& path, std::string_view contents, std::string& error);

// Section and key names compare without regard to ASCII case; the first
// section and the first key of a name win, as Windows reads them.
class TIniFile {
 public:
  explicit TIniFile(std::filesystem::path path);

  // Reads the file; a missing file reads as empty.
  TFileState Load();
  // Writes the file back when something was written; a file that could not
  // be read is never overwritten. False, with SaveError() saying why, when
  // the file was not written.
  bool Save();
  const std::string& SaveError() const { return save_error_; }

  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  // Line breaks in keys and values become spaces: a value cannot span lines.
  void Write(std::string_view section, std::string_view key, std::string_view value);
  std::vector<std::string> Keys(std::string_view section) const;
  const std::filesystem::path& Path() const { return path_; }

 private:
  struct Entry {
    std::string key;    // empty for a line that is not "key=value"
    std::string value;
    std::string raw;    // the line as read, for lines that are not "key=value"
  };
  struct Section {
    std::string name;
    bool has_header = true;  // false for the lines before the first section
    std::vector<Entry> entries;
    std::unordered_map<std::string, size_t> index;  // lower-case key -> first entry
  };
  const Section* FindSection(std::string_view name) const;
  Section* FindSection(std::string_view name);

  std::filesystem::path path_;
  std::vector<Section> sections_;
  TFileState state_ = TFileState::fsMissing;
  bool modified_ = false;
  std::string save_error_;
};

}  // namespace tovuri
