#pragma once
// The checker component the program places on its window: the base with the
// standard dialogs. The dialogs themselves belong to the desktop program,
// which fills the hook points here.
#include <functional>
#include <string>

#include "spell/ox3SpellBase.h"

namespace tovuri {

// A font the dialogs' controls are given when UILanguageUseFonts is on.
struct TUIFont {
  std::string Name;
  int Size = 0;  // points; 0 keeps the dialog's own
};

class TOrthexSpell3 : public TOrthexSpell3Base {
 public:
  // Where the desktop program plugs in its dialogs. Unset hooks leave the
  // request with the user interface (spelling dialog) or do nothing.
  struct TStandardDialogs {
    // Makes the spelling dialog exist; true when it does.
    std::function<bool(TOrthexSpell3&)> CreateSpellDialog;
    std::function<void(TOrthexSpell3&)> ConfigDialog;
    std::function<void(TOrthexSpell3&)> CustomDictionariesDialog;
    std::function<void(TOrthexSpell3&, TCustomDictionary*)> EditCustomDictionaryDialog;
    std::function<void(TOrthexSpell3&)> AddDictionaryDir;
    // Gives a dialog's controls the interface fonts.
    std::function<void(TOrthexSpell3&, bool is_spell_dialog)> ApplyFonts;
  };

  TOrthexSpell3();

  TStandardDialogs StandardDialogs;
  TUIFont UILanguageFontControls;
  TUIFont UILanguageFontText;
  bool UILanguageUseFonts = false;

  // Applies the fonts to a dialog the component creates, when UILanguageUseFonts is on.
  virtual void ApplyUIFonts(bool is_spell_dialog);

 protected:
  // The interface's spelling dialog is the standard one unless a hook makes another.
  bool CreateSpellDialog() override;
  // Each runs the matching event when it is assigned, else the standard dialog.
  void ShowConfigDialogFor() override;
  void ShowCustomDictionariesDialogFor() override;
  void ShowEditCustomDictionaryDialogFor(TCustomDictionary* dictionary) override;
  void ShowAddDictionaryDirFor() override;
};

}  // namespace tovuri
