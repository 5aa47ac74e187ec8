#include "spell/ox3UserRegistry.h"

#include "spell/ox3Paths.h"

namespace tovuri {

namespace {

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '=': out += "\\="; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

// Reads an escaped name (up to an unescaped "=") or value (to the line end);
// an unknown escape stands for the escaped character itself.
std::string Unescape(std::string_view text, size_t& at, bool stop_at_equals) {
  std::string out;
  while (at < text.size()) {
    const char c = text[at];
    if (c == '=' && stop_at_equals) break;
    ++at;
    if (c != '\\' || at == text.size()) {
      out += c;
      continue;
    }
    const char e = text[at++];
    out += e == 'r' ? '\r' : e == 'n' ? '\n' : e;
  }
  return out;
}

void AddParts(std::vector<std::string>& parts, std::string_view path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    std::string part(path.substr(start, end - start));
    for (char& c : part)
      if (c == '\0') c = '_';
    if (!part.empty() && part != "." && part != "..") parts.push_back(std::move(part));
    start = end + 1;
  }
}

}  // namespace

std::filesystem::path TUserRegistryKey::FileFor(std::string_view key, std::string_view subkey) {
  const std::string root = UserConfigDir();
  std::vector<std::string> parts;
  AddParts(parts, key);
  AddParts(parts, subkey);
  if (!parts.empty() && parts.front() == "Software") parts.erase(parts.begin());
  if (root.empty() || parts.empty()) return {};
  std::filesystem::path file(root);
  for (size_t i = 0; i + 1 < parts.size(); ++i) file /= parts[i];
  return file / (parts.back() + ".reg");
}

TUserRegistryKey::TUserRegistryKey(std::filesystem::path file) : file_(std::move(file)) {}

TFileState TUserRegistryKey::Load() {
  values_.clear();
  index_.clear();
  modified_ = false;
  if (file_.empty()) return state_ = TFileState::fsUnreadable;
  std::string contents;
  state_ = ReadSettingsFile(file_, contents);
  size_t start = 0;
  while (start < contents.size()) {
    size_t end = contents.find('\n', start);
    if (end == std::string::npos) end = contents.size();
    const std::string_view line(contents.data() + start, end - start);
    start = end + 1;
    size_t at = 0;
    std::string name = Unescape(line, at, true);
    if (at >= line.size() || name.empty()) continue;  // not "name=value"
    ++at;
    std::string value = Unescape(line, at, false);
    if (index_.emplace(name, values_.size()).second)
      values_.emplace_back(std::move(name), std::move(value));
  }
  return state_;
}

bool TUserRegistryKey::Save() {
  save_error_.clear();
  if (!modified_) return true;
  // Without a home there is no place for settings: nothing fails, so
  // nothing is said (the tools say once that nothing is kept).
  if (file_.empty()) return false;
  if (state_ == TFileState::fsUnreadable) {
    save_error_ = kSettingsNotOverwritten;
    return false;
  }
  std::string out;
  for (const auto& [name, value] : values_) out += Escape(name) + "=" + Escape(value) + "\n";
  if (!WriteSettingsFile(file_, out, save_error_)) return false;
  state_ = TFileState::fsRead;
  modified_ = false;
  return true;
}

std::optional<std::string> TUserRegistryKey::Read(std::string_view name) const {
  const auto found = index_.find(std::string(name));
  if (found == index_.end()) return std::nullopt;
  return values_[found->second].second;
}

void TUserRegistryKey::Write(std::string_view name, std::string_view value) {
  if (name.empty()) return;
  modified_ = true;
  const auto [found, added] = index_.emplace(std::string(name), values_.size());
  if (added)
    values_.emplace_back(std::string(name), std::string(value));
  else
    values_[found->second].second = value;
}

}  // namespace tovuri
