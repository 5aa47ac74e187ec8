#pragma once
// The bridge between a dialog and the checker component: the dialogs read
// texts, lists and settings and give every command through it, and do
// nothing when no component is set.
#include <functional>
#include <string>
#include <vector>

#include "spell/ox3SpellBase.h"

namespace tovuri {

class TConfigurationDialogCtrl {
 public:
  using TNotify = std::function<void(TConfigurationDialogCtrl& sender)>;
  using TPrompt = std::function<void(TConfigurationDialogCtrl& sender, const std::string& word, bool repeated)>;

  TOrthexSpell3Base* Spell() const { return spell_; }
  // Binds a component (loading its configuration) and raises OnConfigurationAvailable.
  void SetSpell(TOrthexSpell3Base* spell);
  static std::string Version() { return TOrthexSpell3Base::Version(); }

  TNotify OnConfigurationAvailable;
  TNotify OnCustomDictionaryAvailable;
  TPrompt OnPromptWord;
  // Shows the help topic of a context; the program decides how.
  std::function<void(int context)> OnHelp;

  // ---- Reads ------------------------------------------------------------------
  std::vector<std::string> AvailableMainDictionaries();
  std::vector<std::string> AvailableCustomDictionaries();
  std::vector<std::string> MSWordCustomDictionaryFiles();
  bool UseExcludeWords() const;
  bool CanUndo() const;
  TCustomDictionary* InternalDictionary();
  TCustomDictionary* ActiveCustomDictionary();
  TSpellDialogCommands CommandsVisible() const;
  TSpellDialogCommands CommandsEnabled() const;
  bool Visible(TSpellDialogCommand command) const;
  bool Enabled(TSpellDialogCommand command) const;
  int HelpCtxSpellDialog() const;
  int HelpCtxConfigDialog() const;
  int HelpCtxDictionariesDialog() const;
  int HelpCtxDictionaryEditDialog() const;
  // The options a dialog offers, and the user's current ones.
  TSpellOptions AvailableOptions() const;
  TSpellOptions Options();
  void SetOption(TSpellOption option, bool on);
  // The configuration's lists; empty without a component.
  std::vector<std::string> MainDictionaryFiles();
  void EnableMainDictionary(const std::string& name, bool enable);
  std::vector<std::string> CustomDictionaryFiles();
  std::vector<std::string> MSWordDictionaryFiles();
  std::string ActiveCustomName();
  void SetActiveCustom(const std::string& name);
  void ResetDefaults();

  // ---- Texts ----------------------------------------------------------------------
  std::string GetUIString(TSpellLanguageString index) const;
  // Options 10 to 13 are the program's own, captioned by ConfigUserOption1..4.
  std::string OptionCaption(int option) const;

  // ---- Dictionary management ------------------------------------------------------
  // The title in a main dictionary file's header; empty when it cannot be read.
  std::string MainDictionaryTitle(const std::string& name);
  std::unique_ptr<TCustomDictionary> OpenCustomDictionary(const std::string& name);
  void EnableCustomDictionary(const std::string& name, bool enable);
  void EnableMSWordDictionary(const std::string& file, bool enable);
  void DeleteCustomDictionary(const std::string& name);
  void NewCustomDictionary(const std::string& name);
  bool RenameCustomDictionary(const std::string& old_name, const std::string& new_name);

  // ---- Dialogs --------------------------------------------------------------------
  void ShowConfigDialog();
  void ShowCustomDictionariesDialog();
  void ShowEditCustomDictionaryDialog(TCustomDictionary* dictionary);
  void ShowAddDictionaryDir();

  // ---- Check commands -------------------------------------------------------------
  void CmdIgnore();
  void CmdIgnoreAll();
  void CmdChange(const std::string& text);
  void CmdChangeAll(const std::string& text);
  void CmdAdd();
  void CmdAutoCorrect(const std::string& text);
  void CmdUndo();
  void CmdIgnoreRepeated();
  void CmdDeleteRepeated();
  void CmdCancel();
  std::vector<std::string> GetSuggestions(const std::string& word);
  void ShowHelp(int context);

  // The spelling dialog lost or regained the focus.
  void DialogDeactivated();
  void DialogActivated();

 private:
  TOrthexSpell3Base* spell_ = nullptr;
};

}  // namespace tovuri
