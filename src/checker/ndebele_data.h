#pragma once
// The Ndebele data of a process that hosts Tovuri (the C API, Enchant): the
// lexicon is process-wide, so every checker of the process shares one folder.
#include <string>

namespace tovuri {

// The folder with dictionary.txt, passives.txt and Ndebele.oxm for programs
// that load Tovuri as a library: $TOVURI_DATA_DIR when set, else the shipped
// data under the install prefix.
std::string InstalledDataDir();

// Whether dir holds the three data files (a cheap test; nothing is read).
bool HasNdebeleData(const std::string& dir);

// Makes the process-wide lexicon that of dir, loading it at the first
// dictionary; false when the data is unusable (no entries, a main dictionary
// that does not open) or another folder's lexicon is in use. Each success is
// paired with ReleaseNdebeleData; problem says why not.
bool AcquireNdebeleData(const std::string& dir, std::string& problem);
void ReleaseNdebeleData();

}  // namespace tovuri
