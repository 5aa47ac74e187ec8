#pragma once
// File operations that dictionaries need beyond the standard streams.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovuri {

// Writes data to path through a temporary file in the same folder that is
// renamed over the old one, so a crash never leaves half a file.
bool WriteFileAtomically(const std::string& path, std::string_view data);

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

}  // namespace tovuri
