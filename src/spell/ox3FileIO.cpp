#include "spell/ox3FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <vector>

namespace tovuri {

namespace {

constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::size_t kTempLetters = 6;  // what mkstemp puts in place of XXXXXX

bool IsTemporaryOf(std::string_view name, std::string_view base) {
  if (name.size() != base.size() + kTempSuffix.size() + kTempLetters) return false;
  if (name.substr(0, base.size()) != base || name.substr(base.size(), kTempSuffix.size()) != kTempSuffix)
    return false;
  for (char c : name.substr(base.size() + kTempSuffix.size()))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view data) {
  if (path.empty()) return false;
  std::vector<char> temp(path.begin(), path.end());
  temp.insert(temp.end(), kTempSuffix.begin(), kTempSuffix.end());
  temp.insert(temp.end(), kTempLetters, 'X');
  temp.push_back('\0');
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<std::size_t>(n);
  }
  // mkstemp creates files for the owner only; keep the old file's mode, or
  // let others read a new one.
  struct stat old;
  const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ok = ok && fchmod(fd, mode) == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && rename(temp.data(), path.c_str()) == 0) return true;
  const int error = errno;
  unlink(temp.data());
  errno = error;
  return false;
}

void RemoveStaleTemporaries(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  const int saved_errno = errno;
  std::vector<std::string> stale;
  while (const dirent* entry = readdir(dir))
    if (IsTemporaryOf(entry->d_name, base)) stale.push_back(folder + entry->d_name);
  closedir(dir);
  for (const std::string& file : stale) unlink(file.c_str());
  errno = saved_errno;
}

FileLock::FileLock(const std::string& lock_path) {
  const int fd = open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  int result;
  do result = flock(fd, LOCK_EX);
  while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int error = errno;
    close(fd);
    errno = error;
    return;
  }
  fd_ = fd;
}

FileLock::~FileLock() {
  // Closing the descriptor releases the lock.
  if (fd_ >= 0) close(fd_);
}

std::optional<FileVersion> FileStamp(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  return VersionOf(st);
}

FileVersion VersionOf(const struct stat& st) {
  FileVersion v;
  v.modified_ns = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
  v.device = st.st_dev;
  v.inode = st.st_ino;
  v.size = st.st_size;
  return v;
}

}  // namespace tovuri
