#include "app/shell/program_key.h"

#include <filesystem>

#include "spell/ox3UserRegistry.h"

namespace tovuri {

bool EnsureProgramKey() {
  // The key's values live in files below its folder, one per subkey.
  const std::filesystem::path file = TUserRegistryKey::FileFor(kProgramKey, "key");
  if (file.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  return !error;
}

}  // namespace tovuri
