#include "spell/ox3Spell.h"

namespace tovuri {

TOrthexSpell3::TOrthexSpell3() { UIType = TSpellUI::suiDialog; }

void TOrthexSpell3::ApplyUIFonts(bool is_spell_dialog) {
  if (UILanguageUseFonts && StandardDialogs.ApplyFonts) StandardDialogs.ApplyFonts(*this, is_spell_dialog);
}

bool TOrthexSpell3::CreateSpellDialog() {
  const bool exists = StandardDialogs.CreateSpellDialog ? StandardDialogs.CreateSpellDialog(*this)
                                                        : UserInterface() != nullptr;
  if (exists) ApplyUIFonts(true);
  return exists;
}

void TOrthexSpell3::ShowConfigDialogFor() {
  if (OnShowConfigDialog) {
    OnShowConfigDialog(*this);
  } else if (StandardDialogs.ConfigDialog) {
    ApplyUIFonts(false);
    StandardDialogs.ConfigDialog(*this);
  }
}

void TOrthexSpell3::ShowCustomDictionariesDialogFor() {
  if (OnShowCustomDictionariesDialog) {
    OnShowCustomDictionariesDialog(*this);
  } else if (StandardDialogs.CustomDictionariesDialog) {
    ApplyUIFonts(false);
    StandardDialogs.CustomDictionariesDialog(*this);
  }
}

void TOrthexSpell3::ShowEditCustomDictionaryDialogFor(TCustomDictionary* dictionary) {
  if (OnShowEditCustomDictionaryDialog) {
    OnShowEditCustomDictionaryDialog(*this, dictionary);
  } else if (StandardDialogs.EditCustomDictionaryDialog) {
    ApplyUIFonts(false);
    StandardDialogs.EditCustomDictionaryDialog(*this, dictionary);
  }
}

void TOrthexSpell3::ShowAddDictionaryDirFor() {
  if (OnShowAddDictionaryDir) {
    OnShowAddDictionaryDir(*this);
  } else if (StandardDialogs.AddDictionaryDir) {
    ApplyUIFonts(false);
    StandardDialogs.AddDictionaryDir(*this);
  }
}

}  // namespace tovuri
