#pragma once
#include <functional>
#include <memory>
#include <string>

namespace tovuri {

class TOrthexSpell3Base;
class TSuggestionExtension;

// The letter model's file beside the program's other data.
inline constexpr const char* kLetterModelFile = "letter_model.tsv";

// Configures a checker component for Ndebele as the desktop program does,
// except that the user's own folder comes first on the dictionary search
// path: the custom dictionary and the learning file are created where the
// user may write, while the shipped Ndebele.oxm is still found in app_dir.
// Its suggestions also offer the words the analyser accepts (NdebeleSuggestionsFor).
void ConfigureNdebeleSpell(TOrthexSpell3Base& spell, const std::string& app_dir);

// The Ndebele suggestions with the letter model from app_dir and the analyser's
// verdict; report (when set) hears of a letter model file that cannot be used.
std::unique_ptr<TSuggestionExtension> NdebeleSuggestionsFor(
    const std::string& app_dir,
    std::function<void(const std::string& file, const std::string& problem)> report = {});

}  // namespace tovuri
