#include "spell/ox3ConfigurationDialogCtrl.h"

namespace tovuri {

void TConfigurationDialogCtrl::SetSpell(TOrthexSpell3Base* spell) {
  spell_ = spell;
  if (spell_ == nullptr) return;
  spell_->Configuration().EnsureLoaded();
  if (OnConfigurationAvailable) OnConfigurationAvailable(*this);
}

std::vector<std::string> TConfigurationDialogCtrl::AvailableMainDictionaries() {
  return spell_ ? spell_->AvailableMainDictionaries() : std::vector<std::string>{};
}

std::vector<std::string> TConfigurationDialogCtrl::AvailableCustomDictionaries() {
  return spell_ ? spell_->AvailableCustomDictionaries() : std::vector<std::string>{};
}

std::vector<std::string> TConfigurationDialogCtrl::MSWordCustomDictionaryFiles() {
  return spell_ ? spell_->MSWordCustomDictionaryFiles() : std::vector<std::string>{};
}

bool TConfigurationDialogCtrl::UseExcludeWords() const { return spell_ ? spell_->UseExcludeWords : true; }

bool TConfigurationDialogCtrl::CanUndo() const { return spell_ && spell_->CanUndo(); }

TCustomDictionary* TConfigurationDialogCtrl::InternalDictionary() {
  return spell_ ? &spell_->InternalDictionary() : nullptr;
}

TCustomDictionary* TConfigurationDialogCtrl::ActiveCustomDictionary() {
  return spell_ ? spell_->ActiveCustomDictionary() : nullptr;
}

TSpellDialogCommands TConfigurationDialogCtrl::CommandsVisible() const {
  return spell_ ? spell_->CommandsVisible : TSpellDialogCommands();
}

TSpellDialogCommands TConfigurationDialogCtrl::CommandsEnabled() const {
  return spell_ ? spell_->CommandsEnabled : TSpellDialogCommands();
}

bool TConfigurationDialogCtrl::Visible(TSpellDialogCommand command) const {
  return CommandsVisible().test(static_cast<size_t>(command));
}

bool TConfigurationDialogCtrl::Enabled(TSpellDialogCommand command) const {
  return CommandsEnabled().test(static_cast<size_t>(command));
}

int TConfigurationDialogCtrl::HelpCtxSpellDialog() const { return spell_ ? spell_->HelpCtxSpellDialog : 0; }
int TConfigurationDialogCtrl::HelpCtxConfigDialog() const { return spell_ ? spell_->HelpCtxConfigDialog : 0; }
int TConfigurationDialogCtrl::HelpCtxDictionariesDialog() const {
  return spell_ ? spell_->HelpCtxDictionariesDialog : 0;
}
int TConfigurationDialogCtrl::HelpCtxDictionaryEditDialog() const {
  return spell_ ? spell_->HelpCtxDictionaryEditDialog : 0;
}

TSpellOptions TConfigurationDialogCtrl::AvailableOptions() const {
  return spell_ ? spell_->ConfigAvailableOptions : TSpellOptions();
}

TSpellOptions TConfigurationDialogCtrl::Options() {
  return spell_ ? spell_->Configuration().SpellOptionsValue() : TSpellOptions();
}

void TConfigurationDialogCtrl::SetOption(TSpellOption option, bool on) {
  if (!spell_) return;
  TSpellOptions options = Options();
  options.Set(option, on);
  spell_->Configuration().SetSpellOptions(options);
}

std::vector<std::string> TConfigurationDialogCtrl::MainDictionaryFiles() {
  return spell_ ? spell_->Configuration().MainList().Items() : std::vector<std::string>{};
}

void TConfigurationDialogCtrl::EnableMainDictionary(const std::string& name, bool enable) {
  if (!spell_) return;
  TConfigList& list = spell_->Configuration().MainList();
  if (enable && !list.Contains(name))
    list.Add(name);
  else if (!enable)
    list.Remove(name);
}

std::vector<std::string> TConfigurationDialogCtrl::CustomDictionaryFiles() {
  return spell_ ? spell_->Configuration().CustomList().Items() : std::vector<std::string>{};
}

std::vector<std::string> TConfigurationDialogCtrl::MSWordDictionaryFiles() {
  return spell_ ? spell_->Configuration().MSWordList().Items() : std::vector<std::string>{};
}

std::string TConfigurationDialogCtrl::ActiveCustomName() {
  return spell_ ? spell_->Configuration().ActiveCustomName() : std::string();
}

void TConfigurationDialogCtrl::SetActiveCustom(const std::string& name) {
  if (spell_) spell_->Configuration().SetActiveCustom(name);
}

void TConfigurationDialogCtrl::ResetDefaults() {
  if (spell_) spell_->Configuration().ResetToDefaults();
}

std::string TConfigurationDialogCtrl::GetUIString(TSpellLanguageString index) const {
  return spell_ ? spell_->GetUIString(index) : std::string();
}

std::string TConfigurationDialogCtrl::OptionCaption(int option) const {
  if (!spell_) return {};
  switch (option) {
    case 10:
      return spell_->ConfigUserOption1;
    case 11:
      return spell_->ConfigUserOption2;
    case 12:
      return spell_->ConfigUserOption3;
    case 13:
      return spell_->ConfigUserOption4;
    default:
      return spell_->GetUIString(option);
  }
}

std::string TConfigurationDialogCtrl::MainDictionaryTitle(const std::string& name) {
  if (!spell_) return {};
  const std::unique_ptr<TMainDictionary> dictionary = spell_->OpenMainDictionary(name);
  return dictionary ? dictionary->Title() : std::string();
}

std::unique_ptr<TCustomDictionary> TConfigurationDialogCtrl::OpenCustomDictionary(const std::string& name) {
  return spell_ ? spell_->OpenCustomDictionary(name) : nullptr;
}

void TConfigurationDialogCtrl::EnableCustomDictionary(const std::string& name, bool enable) {
  if (spell_) spell_->EnableCustomDictionary(name, enable);
}

void TConfigurationDialogCtrl::EnableMSWordDictionary(const std::string& file, bool enable) {
  if (spell_) spell_->EnableMSWordDictionary(file, enable);
}

void TConfigurationDialogCtrl::DeleteCustomDictionary(const std::string& name) {
  if (spell_) spell_->DeleteCustomDictionary(name);
}

void TConfigurationDialogCtrl::NewCustomDictionary(const std::string& name) {
  if (spell_) spell_->NewCustomDictionary(name);
}

bool TConfigurationDialogCtrl::RenameCustomDictionary(const std::string& old_name, const std::string& new_name) {
  return spell_ && spell_->RenameCustomDictionary(old_name, new_name);
}

void TConfigurationDialogCtrl::ShowConfigDialog() {
  if (spell_) spell_->ShowConfigDialog();
}

void TConfigurationDialogCtrl::ShowCustomDictionariesDialog() {
  if (spell_) spell_->ShowCustomDictionariesDialog();
}

void TConfigurationDialogCtrl::ShowEditCustomDictionaryDialog(TCustomDictionary* dictionary) {
  if (spell_) spell_->ShowEditCustomDictionaryDialog(dictionary);
}

void TConfigurationDialogCtrl::ShowAddDictionaryDir() {
  if (spell_) spell_->ShowAddDictionaryDir();
}

void TConfigurationDialogCtrl::CmdIgnore() {
  if (spell_) spell_->CmdIgnore();
}
void TConfigurationDialogCtrl::CmdIgnoreAll() {
  if (spell_) spell_->CmdIgnoreAll();
}
void TConfigurationDialogCtrl::CmdChange(const std::string& text) {
  if (spell_) spell_->CmdChange(text);
}
void TConfigurationDialogCtrl::CmdChangeAll(const std::string& text) {
  if (spell_) spell_->CmdChangeAll(text);
}
void TConfigurationDialogCtrl::CmdAdd() {
  if (spell_) spell_->CmdAdd();
}
void TConfigurationDialogCtrl::CmdAutoCorrect(const std::string& text) {
  if (spell_) spell_->CmdAutoCorrect(text);
}
void TConfigurationDialogCtrl::CmdUndo() {
  if (spell_) spell_->CmdUndo();
}
void TConfigurationDialogCtrl::CmdIgnoreRepeated() {
  if (spell_) spell_->CmdIgnoreRepeated();
}
void TConfigurationDialogCtrl::CmdDeleteRepeated() {
  if (spell_) spell_->CmdDeleteRepeated();
}
void TConfigurationDialogCtrl::CmdCancel() {
  if (spell_) spell_->CmdCancel();
}

std::vector<std::string> TConfigurationDialogCtrl::GetSuggestions(const std::string& word) {
  std::vector<std::string> list;
  if (spell_) spell_->GetSuggestions(word, list);
  return list;
}

void TConfigurationDialogCtrl::ShowHelp(int context) {
  if (spell_ && OnHelp) OnHelp(context);
}

void TConfigurationDialogCtrl::DialogDeactivated() {
  if (spell_) spell_->DialogDeactivated();
}

void TConfigurationDialogCtrl::DialogActivated() {
  if (spell_) spell_->DialogActivated();
}

}  // namespace tovuri
