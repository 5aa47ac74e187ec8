#include "checker/ndebele_spell_config.h"

#include "spell/ox3SpellBase.h"

namespace tovuri {

void ConfigureNdebeleSpell(TOrthexSpell3Base& spell, const std::string& app_dir) {
  using enum TSpellOption;
  spell.PathMacros().SetAppDir(app_dir);
  spell.SetConfigStorage(TConfigStorage::csRegistry);
  spell.SetConfigID("Ndebele");
  spell.SetConfigRegistryKey("Software\\Tovuri");
  spell.SetConfigDictionaryDir({"%AppData%/Tovuri", "%AppDir%"});
  spell.SetConfigDefaultMain({"Ndebele.oxm"});
  spell.SetConfigDefaultActiveCustom("%ConfigID%.oxu");
  spell.SetConfigUseMSWordCustom(false);
  spell.SetConfigDefaultOptions({soLiveSpelling, soLiveCorrect, soInternet, soAbbreviations});
  spell.ConfigAvailableOptions = {soLiveSpelling, soLiveCorrect, soUpcase,        soNumbers,
                                  soHTML,         soInternet,    soQuoted,        soAbbreviations,
                                  soPrimaryOnly,  soRepeated};
  spell.SetPhoneticMaxDistance(4);
  spell.SetPhoneticDivisor(2);
  spell.SetPhoneticDepth(2);
  spell.SetSuggestionsLearningDict("%AppData%/Tovuri/%UserName%_sp.oxl");
}

}  // namespace tovuri
