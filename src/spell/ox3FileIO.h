#pragma once
// File operations that dictionaries need beyond the standard streams.
#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovuri {

// Writes data to path through a temporary file in the same folder (path +
// ".tmp" + six letters or digits) that is renamed over the old one, so a
// crash never leaves half a file. On failure errno says why.
bool WriteFileAtomically(const std::string& path, std::string_view data);

// Removes the temporary files that writes of path killed halfway left
// behind. Safe only while no other writer of path can be at work (under its
// FileLock).
void RemoveStaleTemporaries(const std::string& path);

// An exclusive advisory lock (flock) on the file lock_path, created when
// missing and never removed, held for the object's life. Processes that
// share a file take the lock around each read-modify-write of it.
class FileLock {
 public:
  // Waits for the lock; Held() tells whether it was taken (errno says why not).
  explicit FileLock(const std::string& lock_path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// What tells one version of a file from the next: the modification time at
// full precision, and the file's identity and size, because the clock behind
// modification times may not tick between two quick saves while each atomic
// save makes a new file.
struct FileVersion {
  int64_t modified_ns = 0;
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  bool operator==(const FileVersion&) const = default;
};

// Nothing when the file does not exist.
std::optional<FileVersion> FileStamp(const std::string& path);
// The version of a file already open, from its fstat.
FileVersion VersionOf(const struct stat& st);

}  // namespace tovuri
