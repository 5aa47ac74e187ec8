#include "spell/ox3Paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

namespace tovuri {

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string DropTrailingSeparator(std::string dir) {
  while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
  return dir;
}

// An XDG base folder: the variable when it holds an absolute path, else the
// fallback below the home folder.
std::string XdgDir(const char* variable, const char* below_home) {
  const std::string value = Env(variable);
  if (!value.empty() && value.front() == '/') return DropTrailingSeparator(value);
  const std::string home = HomeDir();
  if (home.empty()) return {};
  return home + "/" + below_home;
}

std::string PasswordDatabaseHome() {
  std::vector<char> buffer(16384);
  passwd entry;
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr)
    return {};
  return found->pw_dir;
}

}  // namespace

std::string HomeDir() {
  std::string home = Env("HOME");
  if (home.empty() || home.front() != '/') home = PasswordDatabaseHome();
  if (home.empty() || home.front() != '/') return {};
  return DropTrailingSeparator(home);
}

std::string UserName() {
  std::string name = Env("USER");
  if (name.empty()) name = Env("LOGNAME");
  if (name.size() > 256) name.resize(256);
  return name.empty() ? "default" : name;
}

std::string UserDataDir() { return XdgDir("XDG_DATA_HOME", ".local/share"); }

std::string UserConfigDir() { return XdgDir("XDG_CONFIG_HOME", ".config"); }

std::string UserDocumentsDir() {
  const std::string home = HomeDir();
  const std::string config = UserConfigDir();
  if (!config.empty()) {
    // Lines read XDG_DOCUMENTS_DIR="$HOME/Documents" or an absolute path.
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    while (std::getline(in, line)) {
      constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
      if (line.compare(0, kKey.size(), kKey) != 0) continue;
      std::string value = line.substr(kKey.size());
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      if (value.compare(0, 5, "$HOME") == 0) {
        if (home.empty()) break;
        value = home + value.substr(5);
      }
      if (!value.empty() && value.front() == '/') return DropTrailingSeparator(value);
      break;
    }
  }
  return home;
}

bool ReplaceFirst(std::string& text, std::string_view macro, std::string_view value) {
  const size_t at = text.find(macro);
  if (at == std::string::npos) return false;
  text.replace(at, macro.size(), value);
  return true;
}

std::string ExpandEnvironment(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const size_t open = text.find('%', i);
    if (open == std::string_view::npos) break;
    const size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(i, open - i));
    const std::string name(text.substr(open + 1, close - open - 1));
    const char* value = name.empty() || name.find('=') != std::string::npos
                            ? nullptr
                            : std::getenv(name.c_str());
    if (value != nullptr) {
      out += value;
      i = close + 1;
    } else {
      // Not a variable: keep the first "%" and let the second open a name.
      out += '%';
      out.append(name);
      i = close;
    }
  }
  out.append(text.substr(i));
  return out;
}

std::string NativePath(std::string_view name) {
  std::string path(name);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

TPathMacros::TPathMacros(std::string_view app_dir, std::string_view app_name)
    : app_name_(app_name) {
  SetAppDir(app_dir);
}

void TPathMacros::SetAppDir(std::string_view dir) { app_dir_ = DropTrailingSeparator(std::string(dir)); }

std::string TPathMacros::Expand(std::string_view name) const {
  std::string text(name);
  ReplaceFirst(text, "%AppDir%", app_dir_);
  ReplaceFirst(text, "%AppName%", app_name_);
  if (text.find("%UserName%") != std::string::npos) ReplaceFirst(text, "%UserName%", UserName());
  if (text.find("%AppData%") != std::string::npos) ReplaceFirst(text, "%AppData%", UserDataDir());
  if (text.find("%MyDocuments%") != std::string::npos)
    ReplaceFirst(text, "%MyDocuments%", UserDocumentsDir());
  return ExpandEnvironment(text);
}

}  // namespace tovuri
