#include "spell/ox3FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace tovuri {

bool WriteFileAtomically(const std::string& path, std::string_view data) {
  if (path.empty()) return false;
  std::vector<char> temp(path.begin(), path.end());
  for (char c : std::string_view(".tmpXXXXXX")) temp.push_back(c);
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
  unlink(temp.data());
  return false;
}

std::optional<FileVersion> FileStamp(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  FileVersion v;
  v.modified_ns = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
  v.device = st.st_dev;
  v.inode = st.st_ino;
  v.size = st.st_size;
  return v;
}

}  // namespace tovuri
