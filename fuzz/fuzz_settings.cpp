// The readers of per-user settings (the registry store's files and INI
// files) on arbitrary bytes: every value read survives a write and a reread.
#include <cstdlib>

#include "fuzz_support.h"
#include "spell/ox3IniFile.h"
#include "spell/ox3UserRegistry.h"

using namespace tovuri;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzz::AsText(data, size);

  TUserRegistryKey key(fuzz::WriteScratch("settings.reg", bytes));
  if (key.Load() == TFileState::fsRead) {
    const auto values = key.Values();
    key.Write("Added", "a=b\\c\r\nd");
    if (!key.Save()) abort();
    TUserRegistryKey again(key.File());
    if (again.Load() != TFileState::fsRead) abort();
    for (const auto& [name, value] : values)
      if (name != "Added" && again.Read(name) != key.Read(name)) abort();
    if (again.Read("Added") != "a=b\\c\r\nd") abort();
  }

  TIniFile ini(fuzz::WriteScratch("settings.ini", bytes));
  if (ini.Load() == TFileState::fsRead) {
    for (const std::string& name : ini.Keys("Spell")) ini.Read("Spell", name);
    ini.Write("Spell", "Options", "1234");
    if (!ini.Save()) abort();
    TIniFile again(ini.Path());
    if (again.Load() != TFileState::fsRead || again.Read("Spell", "Options") != "1234") abort();
  }
  return 0;
}
