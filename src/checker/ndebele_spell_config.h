#pragma once
#include <string>

namespace tovuri {

class TOrthexSpell3Base;

// Configures a checker component for Ndebele as the desktop program does,
// except that the user's own folder comes first on the dictionary search
// path: the custom dictionary and the learning file are created where the
// user may write, while the shipped Ndebele.oxm is still found in app_dir.
void ConfigureNdebeleSpell(TOrthexSpell3Base& spell, const std::string& app_dir);

}  // namespace tovuri
