#pragma once
#include <string>
#include <string_view>

namespace tovuri {

// The folder with dictionary.txt, passives.txt and Ndebele.oxm: $TOVURI_DATA_DIR
// when set, else the shipped data under the install prefix.
std::string ProviderDataDir();

// Whether a language tag is one this provider serves ("nd", "nd_ZW").
bool IsNdebeleTag(std::string_view tag);

// Whether dir holds the three data files (a cheap test; nothing is read).
bool HasNdebeleData(const std::string& dir);

// Makes the process-wide lexicon that of dir, loading it at the first
// dictionary; false when the data is unusable (no entries, a main dictionary
// that does not open) or another folder's lexicon is in use. Each success is
// paired with ReleaseNdebeleData.
bool AcquireNdebeleData(const std::string& dir);
void ReleaseNdebeleData();

}  // namespace tovuri
