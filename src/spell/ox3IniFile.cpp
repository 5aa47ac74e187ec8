#include "spell/ox3IniFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "spell/ox3FileIO.h"

namespace tovuri {

namespace {

std::string Folded(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

bool SameName(std::string_view a, std::string_view b) { return Folded(a) == Folded(b); }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string OneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

}  // namespace

TFileState ReadSettingsFile(const std::filesystem::path& path, std::string& contents) {
  contents.clear();
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return TFileState::fsMissing;
  if (error || status.type() != std::filesystem::file_type::regular) return TFileState::fsUnreadable;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kMaxSettingsFileSize) return TFileState::fsUnreadable;
  std::ifstream in(path, std::ios::binary);
  if (!in) return TFileState::fsUnreadable;
  contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    contents.clear();
    return TFileState::fsUnreadable;
  }
  return TFileState::fsRead;
}

bool WriteSettingsFile(const std::filesystem::path& path, std::string_view contents, std::string& error) {
  std::error_code folder_error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), folder_error);
  {
    // Another process's write may be under way until the lock is ours; a
    // folder where no lock can be made still gets the file, without the
    // clean-up.
    const FileLock lock(path.string() + ".lock");
    if (lock.Held()) RemoveStaleTemporaries(path.string());
    if (WriteFileAtomically(path.string(), contents)) return true;
    error = std::strerror(errno);
  }
  return false;
}

TIniFile::TIniFile(std::filesystem::path path) : path_(std::move(path)) {}

TFileState TIniFile::Load() {
  sections_.clear();
  modified_ = false;
  std::string contents;
  state_ = ReadSettingsFile(path_, contents);
  sections_.push_back({"", false, {}, {}});
  size_t start = 0;
  while (start < contents.size()) {
    size_t end = contents.find('\n', start);
    if (end == std::string::npos) end = contents.size();
    const std::string_view line(contents.data() + start, end - start);
    start = end + 1;
    const std::string_view text = Trim(line);
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
      sections_.push_back({std::string(Trim(text.substr(1, text.size() - 2))), true, {}, {}});
      continue;
    }
    const size_t equals = text.find('=');
    Entry entry;
    if (!text.empty() && text.front() != ';' && equals != std::string_view::npos &&
        !Trim(text.substr(0, equals)).empty()) {
      entry.key = Trim(text.substr(0, equals));
      entry.value = Trim(text.substr(equals + 1));
      sections_.back().index.emplace(Folded(entry.key), sections_.back().entries.size());
    } else {
      entry.raw = std::string(line.substr(0, line.size() - (line.ends_with('\r') ? 1 : 0)));
    }
    sections_.back().entries.push_back(std::move(entry));
  }
  return state_;
}

bool TIniFile::Save() {
  save_error_.clear();
  if (!modified_) return true;
  if (state_ == TFileState::fsUnreadable) {
    save_error_ = kSettingsNotOverwritten;
    return false;
  }
  std::string out;
  for (const Section& section : sections_) {
    if (section.has_header) out += "[" + section.name + "]\n";
    for (const Entry& entry : section.entries)
      out += entry.key.empty() ? entry.raw + "\n" : entry.key + "=" + entry.value + "\n";
  }
  if (!WriteSettingsFile(path_, out, save_error_)) return false;
  state_ = TFileState::fsRead;
  modified_ = false;
  return true;
}

const TIniFile::Section* TIniFile::FindSection(std::string_view name) const {
  for (const Section& section : sections_)
    if (section.has_header && SameName(section.name, name)) return &section;
  return nullptr;
}

TIniFile::Section* TIniFile::FindSection(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return std::nullopt;
  const auto at = found->index.find(Folded(key));
  if (at == found->index.end()) return std::nullopt;
  return found->entries[at->second].value;
}

void TIniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  const std::string name = OneLine(Trim(key));
  if (name.empty()) return;
  Section* found = FindSection(section);
  if (found == nullptr) {
    sections_.push_back({OneLine(section), true, {}, {}});
    found = &sections_.back();
  }
  modified_ = true;
  const auto [at, added] = found->index.emplace(Folded(name), found->entries.size());
  if (added)
    found->entries.push_back({name, OneLine(value), {}});
  else
    found->entries[at->second].value = OneLine(value);
}

std::vector<std::string> TIniFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* found = FindSection(section))
    for (const Entry& entry : found->entries)
      if (!entry.key.empty()) keys.push_back(entry.key);
  return keys;
}

}  // namespace tovuri
