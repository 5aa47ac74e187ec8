#pragma once
// Path macros for dictionary names, folders and configuration places, and
// the per-user folders they stand for.
#include <string>
#include <string_view>

namespace tovuri {

// The user's login name (at most 256 bytes), or "default" when it is unknown.
std::string UserName();
// The user's home folder: $HOME, else the password database's entry for the
// user; empty when neither has one.
std::string HomeDir();
// $XDG_DATA_HOME, else ~/.local/share; empty when neither can be had.
std::string UserDataDir();
// $XDG_CONFIG_HOME, else ~/.config; empty when neither can be had.
std::string UserConfigDir();
// The XDG documents folder (user-dirs.dirs), else the home folder.
std::string UserDocumentsDir();

// Replaces the first occurrence of macro in text; true when there was one.
bool ReplaceFirst(std::string& text, std::string_view macro, std::string_view value);

// Expands every %NAME% that names an environment variable; others stay as written.
std::string ExpandEnvironment(std::string_view text);

// A name written with Windows separators, as a path of this system ("\" becomes "/").
std::string NativePath(std::string_view name);

// Expands "%AppDir%", "%AppName%", "%UserName%", "%AppData%", "%MyDocuments%"
// (each only where it first occurs) and then environment variables.
class TPathMacros {
 public:
  explicit TPathMacros(std::string_view app_dir = ".", std::string_view app_name = "tovuri");

  // The program's data folder; a trailing separator is dropped.
  void SetAppDir(std::string_view dir);
  const std::string& AppDir() const { return app_dir_; }
  // The program's name without extension.
  void SetAppName(std::string_view name) { app_name_ = name; }
  const std::string& AppName() const { return app_name_; }

  std::string Expand(std::string_view name) const;

 private:
  std::string app_dir_;
  std::string app_name_;
};

}  // namespace tovuri
