#pragma once
// The spell checker component: owns the dictionaries, the tokenizer with its
// ignore rules, the suggestion generator and the configuration; judges words,
// runs the interactive check with the user, counts words and keeps the undo
// list of the user's decisions.
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "spell/ox3Configuration.h"
#include "spell/ox3CustomDictionary.h"
#include "spell/ox3EventList.h"
#include "spell/ox3MainDictionary.h"
#include "spell/ox3ParseEngine.h"
#include "spell/ox3ParserBase.h"
#include "spell/ox3Paths.h"
#include "spell/ox3PhoneticsMap.h"
#include "spell/ox3SpellLanguages.h"
#include "spell/ox3SpellUI.h"
#include "spell/ox3Suggestions.h"
#include "spell/ox3TextControl.h"
#include "spell/ox3Types.h"

namespace tovuri {


enum class TSpellEndMessage : unsigned char { emNever, emAlways, emExceptCancel, emNoDialog };
enum class TSpellEndPosition : unsigned char { epHome, epOriginal, epNoModify };

// The dialogs' commands; a TSpellDialogCommands set holds bit n for value n.
enum class TSpellDialogCommand : unsigned char {
  sdcIgnore,
  sdcIgnoreAll,
  sdcChange,
  sdcChangeAll,
  sdcAdd,
  sdcAutoCorrect,
  sdcUndo,
  sdcHelp,
  sdcCancel,
  sdcOptions,
  sdcCustomDictionary,
  sdcCustomDictionaries,
  sdcConfigOK,
  sdcAddedEdit,
  sdcAutoCorrectEdit,
  sdcExcludedEdit,
  sdcInternalEdit,
  sdcMainDictFolderBrowse,
  sdcResetDefaults,
};
inline constexpr size_t kSpellDialogCommandCount = 19;
using TSpellDialogCommands = std::bitset<kSpellDialogCommandCount>;

// One user decision of a check, kept so that it can be undone.
struct TOrthexUndo {
  std::int32_t X = 0;  // parser position when the decision was made
  std::int32_t Y = 0;
  std::string Word;  // the word on display
  TSpellAction Action = TSpellAction::sacIgnore;
  std::string Replacement;
  bool Automatic = false;  // an automatic correction, undone with the decision before it
  std::int32_t Data = 0;   // free for the undo event and the parser
};

class TOrthexSpell3Base : public TConfigOwner {
 public:
  using TNotifyEvent = std::function<void(TOrthexSpell3Base& sender)>;
  using TReadStringEvent =
      std::function<void(TOrthexSpell3Base& sender, const std::string& config_id, const std::string& key,
                         const std::string& def, std::string& value)>;
  using TWriteStringEvent = std::function<void(TOrthexSpell3Base& sender, const std::string& config_id,
                                               const std::string& key, const std::string& value)>;
  using TWordCheckEvent = std::function<void(TOrthexSpell3Base& sender, const std::string& word,
                                             TWordCheckType& check_type, std::string& replacement)>;
  using TWordPromptEvent =
      std::function<void(TOrthexSpell3Base& sender, const std::string& word, bool repeated)>;
  // create True: make the spelling dialog exist (set exists); False: it is no longer needed.
  using TCustomSpellDialogEvent = std::function<void(TOrthexSpell3Base& sender, bool& exists, bool create)>;
  using TModalDictEditEvent = std::function<void(TOrthexSpell3Base& sender, TCustomDictionary* dictionary)>;
  using TGetStringEvent =
      std::function<void(TOrthexSpell3Base& sender, TSpellLanguageString index, std::string& text)>;
  using TReplaceWordEvent =
      std::function<void(TOrthexSpell3Base& sender, bool before, const std::string& replacement, int state)>;
  using TIgnoreWordEvent = std::function<void(TOrthexSpell3Base& sender, bool before, int state)>;
  using TUndoLastEvent = std::function<void(TOrthexSpell3Base& sender, int undo_state,
                                            TSpellAction undo_action, std::int32_t& undo_data)>;
  // A custom dictionary could not be written: its file and why. Its changes
  // stay in memory and the next save tries again.
  using TDictionarySaveFailedEvent = std::function<void(TOrthexSpell3Base& sender, const std::string& file,
                                                        const std::string& reason)>;
  // A dictionary that the configuration names, or another file the
  // component reads or writes (the settings, the suggestions' letter model),
  // cannot be used: its file (or name) and what is wrong with it and what is
  // done instead, said as "file: problem".
  using TDictionaryProblemEvent =
      std::function<void(TOrthexSpell3Base& sender, const std::string& file, const std::string& problem)>;
  using TCreateCustomDictEvent =
      std::function<void(TOrthexSpell3Base& sender, std::unique_ptr<TCustomDictionary>& dictionary)>;

  TOrthexSpell3Base();
  ~TOrthexSpell3Base() override;
  TOrthexSpell3Base(const TOrthexSpell3Base&) = delete;
  TOrthexSpell3Base& operator=(const TOrthexSpell3Base&) = delete;

  // ---- Parts it owns -------------------------------------------------------

  TMainParsingEngine& ParsingEngine() { return *parsing_engine_; }
  // Replaces the engine (its hooks are bound to the rules) and rebuilds the rules.
  virtual void SetParsingEngine(std::unique_ptr<TMainParsingEngine> engine);
  TSuggestionsGenerator& SuggestionsGenerator() { return *suggestions_generator_; }
  virtual void SetSuggestionsGenerator(std::unique_ptr<TSuggestionsGenerator> generator);
  TPhoneticsMap& PhoneticsMap() { return *phonetics_map_; }
  virtual void SetPhoneticsMap(std::unique_ptr<TPhoneticsMap> map);
  // A further source of suggestions that GetSuggestions merges with the
  // dictionaries' own; null (the default) for none.
  void SetSuggestionExtension(std::unique_ptr<TSuggestionExtension> extension) {
    suggestion_extension_ = std::move(extension);
  }
  TSuggestionExtension* SuggestionExtension() const { return suggestion_extension_.get(); }
  TOrthexConfig& Configuration() { return *configuration_; }
  // "%AppDir%" and "%AppName%"; the program's own folder and name by default.
  TPathMacros& PathMacros() { return path_macros_; }
  // Everything shown to the user goes here; borrowed, may be null.
  void SetUserInterface(TSpellUserInterface* ui) { ui_ = ui; }
  TSpellUserInterface* UserInterface() const { return ui_; }

  // ---- Published properties with effects ---------------------------------

  TConfigStorage ConfigStorage() const override { return config_storage_; }
  virtual void SetConfigStorage(TConfigStorage storage);
  std::string ConfigID() const override { return config_id_; }
  virtual void SetConfigID(const std::string& id);
  std::string ConfigFilename() const override { return config_filename_; }
  virtual void SetConfigFilename(const std::string& name);
  std::string ConfigRegistryKey() const override { return config_registry_key_; }
  virtual void SetConfigRegistryKey(const std::string& key);
  const std::vector<std::string>& ConfigDictionaryDir() const { return config_dictionary_dir_; }
  // Rebuilds the search path and, once the configuration is loaded, reopens.
  virtual void SetConfigDictionaryDir(const std::vector<std::string>& folders);
  std::vector<std::string> ConfigDefaultMain() const override { return config_default_main_; }
  virtual void SetConfigDefaultMain(const std::vector<std::string>& names);
  std::vector<std::string> ConfigDefaultCustom() const override { return config_default_custom_; }
  virtual void SetConfigDefaultCustom(const std::vector<std::string>& names);
  std::string ConfigDefaultActiveCustom() const override { return config_default_active_custom_; }
  void SetConfigDefaultActiveCustom(const std::string& name) { config_default_active_custom_ = name; }
  TSpellOptions ConfigDefaultOptions() const override { return config_default_options_; }
  void SetConfigDefaultOptions(TSpellOptions options) { config_default_options_ = options; }
  bool ConfigUseMSWordCustom() const override { return config_use_msword_custom_; }
  void SetConfigUseMSWordCustom(bool use) { config_use_msword_custom_ = use; }
  bool ConfigDefaultUseMSWordCustom() const override { return config_default_use_msword_custom_; }
  void SetConfigDefaultUseMSWordCustom(bool use) { config_default_use_msword_custom_ = use; }

  const std::string& QuoteChars() const { return quote_chars_; }
  virtual void SetQuoteChars(const std::string& chars);
  bool KeepDictionariesActive() const { return keep_dictionaries_active_; }
  // Setting False releases the dictionaries at once.
  virtual void SetKeepDictionariesActive(bool keep);
  virtual int PhoneticMaxDistance() const;
  virtual void SetPhoneticMaxDistance(int distance);
  virtual int PhoneticDivisor() const;
  virtual void SetPhoneticDivisor(int divisor);
  virtual int PhoneticDepth() const;
  virtual void SetPhoneticDepth(int depth);
  const std::string& MappingDictionaryName() const { return mapping_dictionary_name_; }
  virtual void SetMappingDictionaryName(const std::string& name);
  bool SuggestionsLearning() const { return suggestions_learning_; }
  virtual void SetSuggestionsLearning(bool learning);
  const std::string& SuggestionsLearningDict() const { return suggestions_learning_dict_; }
  virtual void SetSuggestionsLearningDict(const std::string& name);
  int MaxUndo() const { return max_undo_; }
  // -1 (unlimited) or not negative; other values are refused.
  void SetMaxUndo(int max_undo);
  bool LiveSpelling() const { return live_spelling_; }
  bool LiveCorrect() const { return live_correct_; }
  static std::string Version() { return "3.2.2 Pro"; }

  // ---- Published properties read where they matter ------------------------

  TSpellOptions ConfigAvailableOptions{TSpellOption::soUpcase, TSpellOption::soNumbers,
                                       TSpellOption::soPrimaryOnly, TSpellOption::soRepeated};
  std::string ConfigUserOption1, ConfigUserOption2, ConfigUserOption3, ConfigUserOption4;
  std::string HelpFile;
  int HelpCtxSpellDialog = 0;
  int HelpCtxConfigDialog = 0;
  int HelpCtxDictionariesDialog = 0;
  int HelpCtxDictionaryEditDialog = 0;
  bool SuggestionsAutoReplace = false;  // learnt replacements act as auto-correct pairs
  TSpellDialogInitialPos DialogInitialPos = TSpellDialogInitialPos::ipLastUserPos;
  TSpellDialogAvoidPos DialogSelectionAvoid = TSpellDialogAvoidPos::saAvoid;
  bool DialogShowImmediate = false;
  bool DialogShowModal = false;
  TSpellEndMessage EndMessage = TSpellEndMessage::emExceptCancel;
  TSpellEndPosition EndCursorPosition = TSpellEndPosition::epOriginal;
  bool EndMessageWordCount = false;
  int MaxSuggestions = -1;
  bool SynchronousCheck = true;
  bool UseHourglassCursor = true;
  TSpellDialogCommands CommandsVisible = TSpellDialogCommands().set();
  TSpellDialogCommands CommandsEnabled = TSpellDialogCommands().set();
  bool PhoneticSuggestions = true;
  bool MappingAutoReplace = true;
  bool UseExcludeWords = true;
  bool UseAutoCorrectFirst = false;
  bool RecheckReplacedWords = true;
  bool ResumeFromLastPosition = true;
  TSpellLanguageType UILanguage = TSpellLanguageType::ltEnglish;
  TSpellUI UIType = TSpellUI::suiSilent;
  bool FallbackToDefaultMap = true;
  bool CloseDialogAtEnd = true;
  // Free the parser when the check or count ends.
  bool OwnsParser = true;

  // ---- Events ---------------------------------------------------------------

  TNotifyEvent OnConfigChanged, OnConfigLoaded, OnConfigSaved, OnDictionariesChanged, OnAddCustomIgnore,
      OnSpellDialogShow, OnSpellDialogHide, OnPositionDialog, OnShowEndMessage, OnCompleteCheck,
      OnDialogDeactivate, OnDialogActivate, OnAdjustPhoneticsMap, OnBeforeChange;
  TReadStringEvent OnConfigReadString;
  TWriteStringEvent OnConfigWriteString;
  TWordCheckEvent OnWordCheck;
  TWordPromptEvent OnPromptWord;
  TCustomSpellDialogEvent OnCreateSpellDialog;
  TNotifyEvent OnShowConfigDialog, OnShowCustomDictionariesDialog, OnShowAddDictionaryDir;
  TModalDictEditEvent OnShowEditCustomDictionaryDialog;
  TGetStringEvent OnGetString;
  TReplaceWordEvent OnParserReplaceWord;
  TIgnoreWordEvent OnParserIgnoreWord;
  TUndoLastEvent OnParserUndoLast;
  TCreateCustomDictEvent OnCreateCustomDictionary;
  TDictionarySaveFailedEvent OnDictionarySaveFailed;
  TDictionaryProblemEvent OnDictionaryProblem;
  // The correction menu: its entries may be changed before it shows, and
  // its result (with the replacement) after the choice was applied.
  std::function<void(TOrthexSpell3Base& sender, std::vector<TPopupMenuItem>& items)> OnPopupCreateMenu;
  std::function<void(TOrthexSpell3Base& sender, TSpellPopupOption& result, std::string& replacement)>
      OnPopupResult;

  // Listener registries of the live editor.
  TEventList& RulesRebuiltListeners() { return rules_rebuilt_listeners_; }
  TEventList& ConfigChangedListeners() { return config_changed_listeners_; }
  TParserIgnoreWordEventList& WordIgnoredListeners() { return word_ignored_listeners_; }
  TPopupResultEventList& PopupResultListeners() { return popup_result_listeners_; }

  // ---- State the program and the dialogs read ------------------------------

  bool IsChecking() const { return is_checking_; }
  bool Cancelled() const { return cancelled_; }
  bool InMultiCheck() const { return in_multi_check_; }
  const std::string& CurrentWord() const { return current_word_; }
  TControlParser* CurrentParser() const { return current_parser_; }
  bool RepeatedMode() const { return repeated_mode_; }
  std::int32_t WordsChecked() const { return words_checked_; }
  bool HasEnglishMain() const { return has_english_main_; }
  bool PrimaryOnly() const { return primary_only_; }
  bool PromptRepeated() const { return prompt_repeated_; }
  TSpellOptions OptionsApplied() const { return options_applied_; }
  const std::vector<TOrthexUndo>& UndoList() const { return undo_list_; }
  bool IsDialogShown() const { return dialog_shown_; }

  // ---- Dictionaries -------------------------------------------------------

  // The dictionary that receives Add and Auto-Correct (the configuration loads first).
  TCustomDictionary* ActiveCustomDictionary() {
    configuration_->EnsureLoaded();
    return active_custom_.get();
  }
  TCustomDictionary& InternalDictionary() { return *internal_dictionary_; }
  TCustomDictionary* MappingDictionary() const { return mapping_dictionary_.get(); }
  TCustomDictionary* LearningDictionary() const { return learning_dictionary_.get(); }
  const std::vector<std::unique_ptr<TMainDictionary>>& MainDictionaries() const { return main_dictionaries_; }
  const std::vector<std::unique_ptr<TCustomDictionary>>& OtherCustomDictionaries() const {
    return other_custom_;
  }
  // The word processor's lists; this system has none, so it stays empty.
  const std::vector<std::unique_ptr<TCustomDictionary>>& MSWordDictionaries() const {
    return msword_dictionaries_;
  }
  const std::vector<std::string>& DictionarySearchPath() const { return dictionary_search_path_; }

  // ---- Word verdict and lookups -------------------------------------------

  virtual bool WordInMainDictionaries(std::string_view word);
  virtual bool WordInDictionaries(std::string_view word);
  virtual bool IsWordAcceptable(std::string_view word);
  virtual bool IsExcludedWord(std::string_view word);
  virtual bool FindAutoCorrect(std::string_view word, std::string& replacement);
  // Ignores a word for the rest of the run in the shapes a user means by it:
  // a capitalised word (sentence start) also in lower case, a lower-case one
  // also capitalised and in capitals.
  void IgnoreAllForms(std::string_view word);
  static std::vector<std::string> IgnoredForms(std::string_view word);
  virtual bool IsPossessiveOfKnownWord(std::string_view word);
  // Language identifier of the primary main dictionary, 0 when none is open.
  virtual int PrimaryLanguage();
  virtual void PromoteBestMainDictionary();
  // Suggestions for a word, at most MaxSuggestions.
  virtual void GetSuggestions(std::string_view word, std::vector<std::string>& list);
  virtual void LearnReplacement(std::string_view old_word, std::string_view new_word);

  // The correction menu for a misspelt word at a screen point: applies the
  // choice to the dictionaries, replaces word by the chosen suggestion and
  // answers the choice (spCancel for none, or while another menu is open).
  virtual TSpellPopupOption ShowWordPopup(TTextControl& control, TSpellPopupOptions options, std::string& word,
                                          TScreenPoint at);
  // The result and caption of the last menu entry chosen.
  int PopupTag() const { return popup_tag_; }
  const std::string& PopupCaption() const { return popup_caption_; }

  // ---- Ignore rules ---------------------------------------------------------

  virtual void ApplyOptions(bool force);
  virtual void EngineSkipHook(char c, TControlParser* parser, bool& skip);
  virtual void EngineWordHook(const std::string& word, TControlParser* parser, bool& again);
  // parser is null outside a check.
  virtual bool IsIgnoredByRules(std::string_view word, TControlParser* parser);
  virtual bool IsLineIgnored(std::string_view line);
  virtual void AddIgnoreRule(std::unique_ptr<TParserIgnore> rule);
  virtual void ClearIgnoreRules();
  size_t IgnoreRuleCount() const { return ignore_rules_.size(); }
  const TParserIgnore& IgnoreRule(size_t index) const { return *ignore_rules_[index]; }
  size_t CharRuleCount() const { return char_rules_.size(); }
  size_t LineRuleCount() const { return line_rules_.size(); }

  // ---- Dictionary set -----------------------------------------------------

  void ApplyConfiguration(bool reopen) override;
  virtual void OpenDictionaries();
  virtual void DeactivateDictionaries();
  // Saves every changed custom dictionary now; false when any save failed
  // (each failure is reported through OnDictionarySaveFailed).
  virtual bool SaveCustomDictionaries();
  std::string ExpandPath(std::string_view name) const override;
  std::string ExpandConfigID() const override;
  virtual std::unique_ptr<TMainDictionary> OpenMainDictionary(const std::string& name);
  virtual std::unique_ptr<TCustomDictionary> OpenCustomDictionary(const std::string& name);
  virtual std::unique_ptr<TCustomDictionary> OpenMSWordDictionary(const std::string& file);
  // File names with the extension in the search folders, each name once.
  virtual void FindDictionaryFiles(const std::string& extension, std::vector<std::string>& list);
  virtual const std::vector<std::string>& AvailableMainDictionaries();
  virtual const std::vector<std::string>& AvailableCustomDictionaries();
  std::vector<std::string> MSWordCustomDictionaryFiles() override;
  virtual void EnableCustomDictionary(const std::string& name, bool enable);
  virtual void EnableMSWordDictionary(const std::string& file, bool enable);
  virtual void DeleteCustomDictionary(const std::string& name);
  virtual void NewCustomDictionary(const std::string& name);
  virtual bool RenameCustomDictionary(const std::string& old_name, const std::string& new_name);

  // ---- Interactive check ----------------------------------------------------

  // Checks a string; replacements change it. An asynchronous check keeps
  // reading text, which must then outlive the check.
  virtual void CheckString(std::string& text);
  virtual void CheckWinControl(TTextControl& control, TCheckMode mode);
  virtual void CheckRichEditControl(TTextControl& control, TCheckMode mode);
  // With OwnsParser the component takes the parser, which must come from new.
  virtual void CheckParser(TControlParser* parser, TCheckMode mode);
  virtual void BeginMultiCheck();
  virtual void EndMultiCheck();
  virtual void StopCheck(bool cancelled);
  virtual int CountStringWords(const std::string& text);
  virtual int CountWinControlWords(TTextControl& control, TCheckMode mode);
  virtual int CountParserWords(TControlParser* parser, TCheckMode mode);

  // The dialog's commands; each does nothing unless a check is running.
  virtual void CmdIgnore();
  virtual void CmdIgnoreAll();
  virtual void CmdChange(const std::string& text);
  virtual void CmdChangeAll(const std::string& text);
  virtual void CmdAdd();
  virtual void CmdAutoCorrect(const std::string& text);
  virtual void CmdUndo();
  virtual void CmdIgnoreRepeated();
  virtual void CmdDeleteRepeated();
  virtual void ResumeCheck();
  virtual void CmdCancel();
  virtual bool CanUndo() const { return !undo_list_.empty(); }

  // Called by the spelling dialog: it is up (modal show), lost or regained the focus.
  virtual void DialogShowHook();
  virtual void DialogDeactivated();
  virtual void DialogActivated();
  virtual void CloseDialog();

  // ---- Dialogs and texts ----------------------------------------------------

  virtual std::string GetUIString(TSpellLanguageString index);
  virtual void ShowConfigDialog();
  virtual void ShowCustomDictionariesDialog();
  virtual void ShowEditCustomDictionaryDialog(TCustomDictionary* dictionary);
  virtual void ShowAddDictionaryDir();

  // ---- The configuration's callbacks ---------------------------------------

  std::string DoConfigReadString(const std::string& config_id, const std::string& key,
                                 const std::string& def) override;
  void DoConfigWriteString(const std::string& config_id, const std::string& key,
                           const std::string& value) override;
  void DoConfigLoaded() override;
  void DoConfigSaved() override;
  // Said through OnDictionaryProblem, as the dictionaries' problems are.
  void DoConfigSaveFailed(const std::string& file, const std::string& reason) override;

 protected:
  // The check loop: runs until a word needs the user or the text ends.
  virtual void ContinueCheck();
  virtual void FinishCheck();
  virtual void CheckSelectionThenRest(TControlParser* parser);
  virtual void PromptWord();
  virtual bool IsRepeatedWord(const std::string& word, TControlParser& parser);
  virtual void ReplaceCurrentWord(const std::string& text, int state);
  virtual void IgnoreCurrentWord(int state);
  virtual void RecordUndo(TSpellAction action, const std::string& replacement, bool automatic);
  virtual void UndoLast();
  virtual void NotifyUndo(int state, TSpellAction action, std::int32_t& data);
  virtual void ClearUndo() { undo_list_.clear(); }
  virtual void ShowEndMessage();

  // The spelling dialog's life cycle.
  virtual bool CreateSpellDialog();
  virtual void ShowSpellDialog();
  virtual void HideSpellDialog();
  virtual void PlaceDialog();
  virtual void PlaceDialogNearSelection();
  virtual void AvoidSelection();
  // The four modal dialogs; the base only fires the matching event.
  virtual void ShowConfigDialogFor();
  virtual void ShowCustomDictionariesDialogFor();
  virtual void ShowEditCustomDictionaryDialogFor(TCustomDictionary* dictionary);
  virtual void ShowAddDictionaryDirFor();

 private:
  // The auto-correct pair stored for exactly this word.
  bool FindAutoCorrectAsWritten(std::string_view word, std::string& replacement);
  void BindEngineHooks(TMainParsingEngine& engine);
  // Puts the caret where EndCursorPosition says and collapses the selection.
  void PlaceEndCaret(TControlParser& parser, TTextPos original);
  void SetBusy(bool& busy);
  void RestoreBusy(bool& busy);
  // Starts a check on a parser this component made for the caller.
  void CheckOwnParser(std::unique_ptr<TControlParser> parser, TCheckMode mode);
  int CountOwnParser(std::unique_ptr<TControlParser> parser, TCheckMode mode);
  void RestoreText(const TOrthexUndo& record, int state);
  void ClearFileCaches();
  // Unloads a custom dictionary, reporting a failed save; true when it unloaded.
  bool Unload(TCustomDictionary& dictionary);
  // Lets a custom dictionary go; one whose changes could not be saved is kept
  // until a new object of its file takes them over or a later save succeeds.
  void Retire(std::unique_ptr<TCustomDictionary> dictionary);
  void ReportSaveFailure(const TCustomDictionary& dictionary);
  void ReportProblem(const std::string& file, const std::string& problem);
  // Opens a main dictionary of the configuration, saying why when it cannot be used.
  std::unique_ptr<TMainDictionary> OpenConfiguredMain(const std::string& name);
  // Opens a custom dictionary of the configuration and loads it, saying why
  // when it cannot be used; a damaged file is left as it is.
  std::unique_ptr<TCustomDictionary> OpenConfiguredCustom(const std::string& name);
  void RebuildSearchPath();
  // The first search folder, for files that exist nowhere yet.
  std::string FolderFor(const std::string& name, bool must_exist) const;

  std::unique_ptr<TMainParsingEngine> parsing_engine_;
  std::unique_ptr<TSuggestionsGenerator> suggestions_generator_;
  std::unique_ptr<TPhoneticsMap> phonetics_map_;
  std::unique_ptr<TSuggestionExtension> suggestion_extension_;
  std::unique_ptr<TCustomDictionary> internal_dictionary_;
  TPathMacros path_macros_;
  TSpellUserInterface* ui_ = nullptr;

  TConfigStorage config_storage_ = TConfigStorage::csRegistry;
  std::string config_id_ = "%UserName%";
  std::string config_filename_ = "%AppDir%\\Spell.cfg";
  std::string config_registry_key_ = "Software\\Orthexian Software\\%AppName%";
  std::vector<std::string> config_dictionary_dir_{"%AppDir%"};
  std::vector<std::string> config_default_main_{"American.oxm"};
  std::vector<std::string> config_default_custom_;
  std::string config_default_active_custom_ = "%ConfigID%.oxu";
  TSpellOptions config_default_options_{TSpellOption::soLiveSpelling, TSpellOption::soLiveCorrect,
                                        TSpellOption::soInternet, TSpellOption::soAbbreviations,
                                        TSpellOption::soRepeated};
  bool config_use_msword_custom_ = true;
  bool config_default_use_msword_custom_ = false;
  std::string quote_chars_ = ">";
  bool keep_dictionaries_active_ = false;
  std::string mapping_dictionary_name_;
  bool suggestions_learning_ = true;
  std::string suggestions_learning_dict_ = "%AppDir%\\%UserName%_sp.oxl";
  int max_undo_ = -1;

  std::vector<std::unique_ptr<TMainDictionary>> main_dictionaries_;
  std::vector<std::unique_ptr<TCustomDictionary>> other_custom_;
  std::vector<std::unique_ptr<TCustomDictionary>> msword_dictionaries_;
  std::unique_ptr<TCustomDictionary> active_custom_;
  std::unique_ptr<TCustomDictionary> mapping_dictionary_;
  std::unique_ptr<TCustomDictionary> learning_dictionary_;
  std::vector<std::unique_ptr<TCustomDictionary>> unsaved_custom_;  // retired with changes not yet written
  std::vector<std::string> dictionary_search_path_;
  std::optional<std::vector<std::string>> available_main_, available_custom_, available_msword_;
  bool has_english_main_ = false;

  // Rules: all in ignore_rules_ (owning); those with hooks or line judgements also listed apart.
  std::vector<std::unique_ptr<TParserIgnore>> ignore_rules_;
  std::vector<TParserIgnore*> char_rules_;
  std::vector<TParserIgnore*> line_rules_;
  TSpellOptions options_applied_;
  bool rules_stale_ = true;
  bool primary_only_ = false;
  bool prompt_repeated_ = true;
  bool live_spelling_ = true;
  bool live_correct_ = true;

  // The running check.
  TControlParser* current_parser_ = nullptr;
  std::unique_ptr<TControlParser> parser_keeper_;  // a parser made here that an asynchronous check reads
  bool change_notified_ = false;
  bool is_checking_ = false;
  bool cancelled_ = false;
  std::string current_word_;
  std::string previous_word_;
  bool repeated_mode_ = false;
  TTextPos saved_caret_;
  std::int32_t words_checked_ = 0;
  std::int32_t words_until_promotion_ = 100;
  std::vector<TOrthexUndo> undo_list_;
  bool in_multi_check_ = false;
  bool saved_close_dialog_at_end_ = true;
  bool saved_keep_dictionaries_active_ = false;

  // The spelling dialog.
  bool dialog_exists_ = false;
  bool dialog_shown_ = false;
  bool dialog_deactivated_ = false;
  bool modal_showing_ = false;

  bool popup_showing_ = false;
  int popup_tag_ = 0;
  std::string popup_caption_;

  TEventList rules_rebuilt_listeners_;
  TEventList config_changed_listeners_;
  TParserIgnoreWordEventList word_ignored_listeners_;
  TPopupResultEventList popup_result_listeners_;

  // Last, so that it is destroyed first: destroying it saves through this object.
  std::unique_ptr<TOrthexConfig> configuration_;
};

// The word without the closing curly quotes the tokenizer keeps with it (as
// the elision mark); empty when it has none, or nothing else.
std::string_view WithoutClosingQuotes(std::string_view word);

}  // namespace tovuri
