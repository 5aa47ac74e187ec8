#include "checker/ndebele_spell_config.h"

#include <filesystem>
#include <memory>

#include "analyser/word_check.h"
#include "checker/letter_model.h"
#include "checker/ndebele_suggestions.h"
#include "spell/ox3SpellBase.h"

namespace tovuri {

void ConfigureNdebeleSpell(TOrthexSpell3Base& spell, const std::string& app_dir) {
  using enum TSpellOption;
  spell.PathMacros().SetAppDir(app_dir);
  spell.SetConfigStorage(TConfigStorage::csRegistry);
  spell.SetConfigID("Ndebele");
  spell.SetConfigRegistryKey("Software\\Tovuri");
  // Per-user files never go into the program's folder: without a home there
  // is no custom dictionary and no learning file.
  const bool has_home = !UserDataDir().empty();
  spell.SetConfigDictionaryDir(has_home ? std::vector<std::string>{"%AppData%/Tovuri", "%AppDir%"}
                                        : std::vector<std::string>{"%AppDir%"});
  spell.SetConfigDefaultMain({"Ndebele.oxm"});
  spell.SetConfigDefaultActiveCustom(has_home ? "%ConfigID%.oxu" : "");
  spell.SetConfigUseMSWordCustom(false);
  // The program's own option: English names inside Ndebele prose (TNdebeleChecker).
  spell.ConfigUserOption1 = "Accept English names (South, MDC, kweleSouth)";
  spell.SetConfigDefaultOptions({soLiveSpelling, soLiveCorrect, soInternet, soAbbreviations, soUser1});
  spell.ConfigAvailableOptions = {soLiveSpelling, soLiveCorrect, soUpcase,        soNumbers,
                                  soHTML,         soInternet,    soQuoted,        soAbbreviations,
                                  soPrimaryOnly,  soRepeated,    soUser1};
  spell.SetPhoneticMaxDistance(4);
  spell.SetPhoneticDivisor(2);
  spell.SetPhoneticDepth(2);
  spell.SetSuggestionsLearningDict("%AppData%/Tovuri/%UserName%_sp.oxl");
  spell.SetSuggestionsLearning(has_home);
  // A letter model that cannot be used is said as the dictionaries' problems
  // are, to whoever listens when it is read (at the first suggestion).
  const auto report = [&spell](const std::string& file, const std::string& problem) {
    if (spell.OnDictionaryProblem) spell.OnDictionaryProblem(spell, file, problem);
  };
  spell.SetSuggestionExtension(NdebeleSuggestionsFor(app_dir, report));
}

std::unique_ptr<TSuggestionExtension> NdebeleSuggestionsFor(
    const std::string& app_dir, std::function<void(const std::string& file, const std::string& problem)> report) {
  auto suggestions = std::make_unique<TNdebeleSuggestions>(
      TNdebeleSuggestions::LetterModelFile{(std::filesystem::path(app_dir) / kLetterModelFile).string()},
      [](std::string_view word) { return IsNdebeleWord(word); }, TNdebeleSuggestions::Budget{});
  suggestions->SetReport(std::move(report));
  return suggestions;
}

}  // namespace tovuri
