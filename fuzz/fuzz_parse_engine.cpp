// The tokenizer and its ignore rules on arbitrary text, through the checker
// component with every rule switched on.
#include "fuzz_support.h"
#include "spell/ox3IgnoringUserInterface.h"
#include "spell/ox3SpellBase.h"

using namespace tovuri;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TOrthexSpell3Base* spell = [] {
    setenv("XDG_CONFIG_HOME", fuzz::ScratchDir().c_str(), 1);
    setenv("XDG_DATA_HOME", fuzz::ScratchDir().c_str(), 1);
    auto* component = new TOrthexSpell3Base;
    using enum TSpellOption;
    component->SetConfigStorage(TConfigStorage::csNone);
    component->SetConfigDictionaryDir({fuzz::ScratchDir()});
    component->SetConfigDefaultOptions({soUpcase, soNumbers, soHTML, soInternet, soQuoted, soAbbreviations,
                                        soRepeated});
    component->SetSuggestionsLearning(false);
    component->SetUserInterface(new TIgnoringUserInterface(*component));
    return component;
  }();
  const std::string text(fuzz::AsText(data, size));
  spell->CountStringWords(text);
  std::string checked = text;
  spell->CheckString(checked);
  if (checked != text) abort();  // nothing to answer with, so nothing may change
  return 0;
}
