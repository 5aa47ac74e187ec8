#include "spell/ox3SpellBase.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/ansi_case.h"
#include "spell/ox3Encoding.h"
#include "spell/ox3Ignore.h"
#include "spell/ox3SuggestionSources.h"

namespace tovuri {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal floating-point number by the C locale's rules: digits with an
// optional point and an optional exponent. Unlike strtod, "inf", "nan" and
// hexadecimal forms are words here, not numbers.
bool IsDecimalNumber(std::string_view word) {
  size_t i = 0;
  if (i < word.size() && (word[i] == '+' || word[i] == '-')) ++i;
  size_t digits = 0;
  while (i < word.size() && IsDigit(word[i])) ++i, ++digits;
  if (i < word.size() && word[i] == '.') {
    ++i;
    while (i < word.size() && IsDigit(word[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
    ++i;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) ++i;
    size_t exponent_digits = 0;
    while (i < word.size() && IsDigit(word[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  return i == word.size();
}

bool IsEnglish(const TMainDictionary& dictionary) { return (dictionary.Language() & 0xFF) == 9; }

// The running program's folder and name, for "%AppDir%" and "%AppName%".
TPathMacros ProgramMacros() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || exe.empty()) return TPathMacros(".", "tovuri");
  return TPathMacros(exe.parent_path().string(), exe.stem().string());
}

}  // namespace

TOrthexSpell3Base::TOrthexSpell3Base()
    : parsing_engine_(std::make_unique<TMainParsingEngine>()),
      suggestions_generator_(std::make_unique<TSuggestionsGenerator>()),
      phonetics_map_(std::make_unique<TPhoneticsMap>()),
      internal_dictionary_(std::make_unique<TCustomDictionary>()),
      path_macros_(ProgramMacros()),
      configuration_(std::make_unique<TOrthexConfig>(this)) {
  BindEngineHooks(*parsing_engine_);
  phonetics_map_->DistanceMax = 4;
  phonetics_map_->DistanceDivisor = 2;
  phonetics_map_->SetStartDepth(2);
}

TOrthexSpell3Base::~TOrthexSpell3Base() {
  // The configuration saves through this object, so it goes while all is intact.
  configuration_.reset();
  // Saved here rather than by their destructors, so that a failure is reported.
  SaveCustomDictionaries();
  if (current_parser_ != nullptr && OwnsParser && current_parser_ != parser_keeper_.get())
    delete current_parser_;
  current_parser_ = nullptr;
}

// ---- Parts it owns ----------------------------------------------------------

void TOrthexSpell3Base::BindEngineHooks(TMainParsingEngine& engine) {
  engine.CharHook = [this](char c, TControlParser& parser) {
    bool skip = false;
    EngineSkipHook(c, &parser, skip);
    return skip;
  };
  engine.WordHook = [this](const std::string& word, TControlParser& parser) {
    bool again = false;
    EngineWordHook(word, &parser, again);
    return again;
  };
}

void TOrthexSpell3Base::SetParsingEngine(std::unique_ptr<TMainParsingEngine> engine) {
  if (!engine || is_checking_) return;
  BindEngineHooks(*engine);
  parsing_engine_ = std::move(engine);
  rules_stale_ = true;
  if (configuration_->Loaded()) ApplyOptions(true);
}

void TOrthexSpell3Base::SetSuggestionsGenerator(std::unique_ptr<TSuggestionsGenerator> generator) {
  if (generator) suggestions_generator_ = std::move(generator);
}

void TOrthexSpell3Base::SetPhoneticsMap(std::unique_ptr<TPhoneticsMap> map) {
  if (map) phonetics_map_ = std::move(map);
}

// ---- Published properties ---------------------------------------------------

void TOrthexSpell3Base::SetConfigStorage(TConfigStorage storage) {
  if (storage == config_storage_) return;
  config_storage_ = storage;
  configuration_->Reload();
}

void TOrthexSpell3Base::SetConfigID(const std::string& id) {
  if (id == config_id_) return;
  config_id_ = id;
  configuration_->Reload();
}

void TOrthexSpell3Base::SetConfigFilename(const std::string& name) {
  if (name == config_filename_) return;
  config_filename_ = name;
  if (config_storage_ == TConfigStorage::csFile) configuration_->Reload();
}

void TOrthexSpell3Base::SetConfigRegistryKey(const std::string& key) {
  if (key == config_registry_key_) return;
  config_registry_key_ = key;
  if (config_storage_ == TConfigStorage::csRegistry) configuration_->Reload();
}

void TOrthexSpell3Base::SetConfigDictionaryDir(const std::vector<std::string>& folders) {
  config_dictionary_dir_ = folders;
  if (configuration_->Loaded()) {
    ApplyConfiguration(true);
  } else {
    RebuildSearchPath();
    ClearFileCaches();
  }
}

void TOrthexSpell3Base::SetConfigDefaultMain(const std::vector<std::string>& names) {
  config_default_main_ = names;
}

void TOrthexSpell3Base::SetConfigDefaultCustom(const std::vector<std::string>& names) {
  config_default_custom_ = names;
}

void TOrthexSpell3Base::SetQuoteChars(const std::string& chars) {
  quote_chars_ = chars;
  rules_stale_ = true;
  if (configuration_->Loaded()) ApplyOptions(true);
}

void TOrthexSpell3Base::SetKeepDictionariesActive(bool keep) {
  keep_dictionaries_active_ = keep;
  if (!keep) DeactivateDictionaries();
}

int TOrthexSpell3Base::PhoneticMaxDistance() const { return phonetics_map_->DistanceMax; }
void TOrthexSpell3Base::SetPhoneticMaxDistance(int distance) { phonetics_map_->DistanceMax = distance; }
int TOrthexSpell3Base::PhoneticDivisor() const { return phonetics_map_->DistanceDivisor; }
void TOrthexSpell3Base::SetPhoneticDivisor(int divisor) { phonetics_map_->DistanceDivisor = divisor; }
int TOrthexSpell3Base::PhoneticDepth() const { return phonetics_map_->StartDepth(); }
void TOrthexSpell3Base::SetPhoneticDepth(int depth) { phonetics_map_->SetStartDepth(depth); }

void TOrthexSpell3Base::SetMappingDictionaryName(const std::string& name) {
  if (name == mapping_dictionary_name_) return;
  mapping_dictionary_name_ = name;
  mapping_dictionary_.reset();
  if (!main_dictionaries_.empty()) OpenDictionaries();
}

void TOrthexSpell3Base::SetSuggestionsLearning(bool learning) {
  if (learning == suggestions_learning_) return;
  suggestions_learning_ = learning;
  learning_dictionary_.reset();
  if (learning && configuration_->Loaded()) OpenDictionaries();
}

void TOrthexSpell3Base::SetSuggestionsLearningDict(const std::string& name) {
  if (name == suggestions_learning_dict_) return;
  suggestions_learning_dict_ = name;
  if (!suggestions_learning_) return;
  learning_dictionary_.reset();
  if (configuration_->Loaded()) OpenDictionaries();
}

void TOrthexSpell3Base::SetMaxUndo(int max_undo) {
  if (max_undo < -1) return;
  max_undo_ = max_undo;
}

// ---- Word verdict and lookups -----------------------------------------------

bool TOrthexSpell3Base::WordInMainDictionaries(std::string_view word) {
  configuration_->EnsureLoaded();
  for (const auto& dictionary : main_dictionaries_) {
    if (dictionary->Lookup(word)) {
      dictionary->CountHit();
      return true;
    }
  }
  return false;
}

bool TOrthexSpell3Base::WordInDictionaries(std::string_view word) {
  if (WordInMainDictionaries(word)) return true;
  if (active_custom_ && active_custom_->Contains(word)) return true;
  for (const auto& dictionary : other_custom_)
    if (dictionary->Contains(word)) return true;
  for (const auto& dictionary : msword_dictionaries_)
    if (dictionary->Contains(word)) return true;
  return internal_dictionary_->Contains(word);
}

bool TOrthexSpell3Base::IsWordAcceptable(std::string_view word) {
  // A character Windows-1252 lacks: no dictionary or rule can vouch for the word.
  if (HasForeignChar(word)) return false;
  if (WordInDictionaries(word)) return true;
  const std::string lower = AnsiLowerCase(word);
  if (lower != word && WordInDictionaries(lower)) return true;
  if (has_english_main_ && IsPossessiveOfKnownWord(word)) return true;
  if (IsDecimalNumber(word)) return true;
  if (word.size() == 1) return true;
  if (IsIgnoredByRules(word, current_parser_)) return true;
  // The tokenizer keeps a closing curly quote with a word as the elision
  // mark; when the word with it is unknown, the quote closes a quotation.
  const std::string_view bare = WithoutClosingQuotes(word);
  return !bare.empty() && !(UseExcludeWords && IsExcludedWord(bare)) && IsWordAcceptable(bare);
}

std::string_view WithoutClosingQuotes(std::string_view word) {
  constexpr char kClosingQuote = '\x92';  // Windows-1252's right single quotation mark
  std::string_view bare = word;
  while (!bare.empty() && bare.back() == kClosingQuote) bare.remove_suffix(1);
  return bare.size() == word.size() ? std::string_view() : bare;
}

bool TOrthexSpell3Base::IsExcludedWord(std::string_view word) {
  configuration_->EnsureLoaded();
  if (active_custom_ && active_custom_->IsExcluded(word)) return true;
  for (const auto& dictionary : other_custom_)
    if (dictionary->IsExcluded(word)) return true;
  std::string replacement;
  return mapping_dictionary_ && mapping_dictionary_->FindAutoCorrect(word, replacement);
}

namespace {

enum class WordShape { wsLower, wsCapitalised, wsCapitals, wsMixed };

bool IsAnsiUpper(char c) { return AnsiLowerChar(c) != c; }
bool IsAnsiLower(char c) { return AnsiUpperChar(c) != c; }

WordShape ShapeOf(std::string_view word) {
  if (word.empty()) return WordShape::wsMixed;
  const auto upper = std::count_if(word.begin(), word.end(), IsAnsiUpper);
  const auto lower = std::count_if(word.begin(), word.end(), IsAnsiLower);
  if (upper == 0) return WordShape::wsLower;
  if (lower == 0 && upper > 1) return WordShape::wsCapitals;
  if (upper == 1 && IsAnsiUpper(word.front())) return WordShape::wsCapitalised;
  return WordShape::wsMixed;
}

std::string WithFirst(std::string_view word, char (*change)(char)) {
  std::string out(word);
  if (!out.empty()) out.front() = change(out.front());
  return out;
}

}  // namespace

std::vector<std::string> TOrthexSpell3Base::IgnoredForms(std::string_view word) {
  std::vector<std::string> forms{std::string(word)};
  switch (ShapeOf(word)) {
    case WordShape::wsCapitalised:
      forms.push_back(WithFirst(word, AnsiLowerChar));
      break;
    case WordShape::wsLower:
      forms.push_back(WithFirst(word, AnsiUpperChar));
      forms.push_back(AnsiUpperCase(word));
      break;
    default:
      break;
  }
  return forms;
}

void TOrthexSpell3Base::IgnoreAllForms(std::string_view word) {
  for (const std::string& form : IgnoredForms(word)) internal_dictionary_->AddWord(form);
}

bool TOrthexSpell3Base::FindAutoCorrect(std::string_view word, std::string& replacement) {
  if (FindAutoCorrectAsWritten(word, replacement)) return true;
  // A pair learnt at a sentence start applies inside a sentence and the
  // other way round; the correction takes the shape of the word it corrects.
  std::string found;
  switch (ShapeOf(word)) {
    case WordShape::wsLower:
      if (!FindAutoCorrectAsWritten(WithFirst(word, AnsiUpperChar), found)) return false;
      if (ShapeOf(found) != WordShape::wsCapitalised) return false;  // McDonald keeps its shape
      replacement = WithFirst(found, AnsiLowerChar);
      return true;
    case WordShape::wsCapitalised:
      if (!FindAutoCorrectAsWritten(WithFirst(word, AnsiLowerChar), found)) return false;
      replacement = WithFirst(found, AnsiUpperChar);
      return true;
    case WordShape::wsCapitals:
      if (!FindAutoCorrectAsWritten(AnsiLowerCase(word), found) &&
          !FindAutoCorrectAsWritten(WithFirst(AnsiLowerCase(word), AnsiUpperChar), found))
        return false;
      replacement = AnsiUpperCase(found);
      return true;
    default:
      return false;
  }
}

bool TOrthexSpell3Base::FindAutoCorrectAsWritten(std::string_view word, std::string& replacement) {
  configuration_->EnsureLoaded();
  if (active_custom_ && active_custom_->FindAutoCorrect(word, replacement)) return true;
  if (internal_dictionary_->FindAutoCorrect(word, replacement)) return true;
  for (const auto& dictionary : other_custom_)
    if (dictionary->FindAutoCorrect(word, replacement)) return true;
  if (MappingAutoReplace && mapping_dictionary_ && mapping_dictionary_->FindAutoCorrect(word, replacement))
    return true;
  return SuggestionsAutoReplace && learning_dictionary_ &&
         learning_dictionary_->FindAutoCorrect(word, replacement);
}

bool TOrthexSpell3Base::IsPossessiveOfKnownWord(std::string_view word) {
  size_t at = word.find("'s");
  if (at == std::string_view::npos) at = word.find("'S");
  if (at == std::string_view::npos || at + 2 != word.size()) return false;
  const std::string_view stem = word.substr(0, at);
  const std::string lower = AnsiLowerCase(stem);
  for (const auto& dictionary : main_dictionaries_)
    if (IsEnglish(*dictionary) && (dictionary->Lookup(lower) || dictionary->Lookup(stem))) return true;
  return false;
}

int TOrthexSpell3Base::PrimaryLanguage() {
  return main_dictionaries_.empty() ? 0 : main_dictionaries_.front()->Language();
}

void TOrthexSpell3Base::PromoteBestMainDictionary() {
  if (main_dictionaries_.size() > 1) {
    size_t best = 0;
    for (size_t i = 1; i < main_dictionaries_.size(); ++i)
      if (main_dictionaries_[i]->HitCount() > main_dictionaries_[best]->HitCount()) best = i;
    std::rotate(main_dictionaries_.begin(), main_dictionaries_.begin() + static_cast<std::ptrdiff_t>(best),
                main_dictionaries_.begin() + static_cast<std::ptrdiff_t>(best) + 1);
  }
  if (!main_dictionaries_.empty())
    suggestions_generator_->SetLanguage(main_dictionaries_.front()->Language());
}

namespace {

// The component's dictionaries in its own lookup order.
TDictionarySuggestionSources SourcesOf(TOrthexSpell3Base& spell) {
  TDictionarySuggestionSources sources;
  for (const auto& dictionary : spell.MainDictionaries())
    sources.MainDictionaries.push_back(dictionary.get());
  if (spell.ActiveCustomDictionary() != nullptr)
    sources.CustomDictionaries.push_back(spell.ActiveCustomDictionary());
  for (const auto& dictionary : spell.OtherCustomDictionaries())
    sources.CustomDictionaries.push_back(dictionary.get());
  for (const auto& dictionary : spell.MSWordDictionaries())
    sources.CustomDictionaries.push_back(dictionary.get());
  sources.MappingDictionary = spell.MappingDictionary();
  sources.LearningDictionary = spell.LearningDictionary();
  return sources;
}

}  // namespace

void TOrthexSpell3Base::GetSuggestions(std::string_view word, std::vector<std::string>& list) {
  configuration_->EnsureLoaded();
  TDictionarySuggestionSources sources = SourcesOf(*this);
  sources.CustomDictionaries.push_back(internal_dictionary_.get());
  TSuggestionSettings settings;
  settings.Options = options_applied_;
  settings.PhoneticSuggestions = PhoneticSuggestions;
  settings.FallbackToDefaultMap = FallbackToDefaultMap;
  if (OnAdjustPhoneticsMap)
    settings.OnAdjustPhoneticsMap = [this](TPhoneticsMap&) { OnAdjustPhoneticsMap(*this); };
  list.clear();
  // Suggestions take the word's shape; words the user excluded, in any
  // case, are never offered.
  const auto finish = [this, word](std::vector<std::string>& words) {
    ShapeSuggestionsLike(word, words);
    return UseExcludeWords && std::erase_if(words, [this](const std::string& s) {
             return IsExcludedWord(s) || IsExcludedWord(AnsiLowerCase(s));
           }) > 0;
  };
  if (!suggestion_extension_) {
    BuildSuggestions(word, MaxSuggestions, list, sources, *suggestions_generator_, *phonetics_map_, settings);
    // An excluded word took a place: the list is made again without a cap.
    if (finish(list) && MaxSuggestions >= 0) {
      BuildSuggestions(word, -1, list, sources, *suggestions_generator_, *phonetics_map_, settings);
      finish(list);
    }
  } else {
    // The extension ranks the whole list anew, so the cap waits for it.
    BuildSuggestions(word, -1, list, sources, *suggestions_generator_, *phonetics_map_, settings);
    std::string replacement;
    if (!sources.FindMapping(word, replacement)) {  // a mandatory replacement stands alone
      suggestion_extension_->Extend(word, sources, list);
      // What the user chose for this word before stays first.
      if (sources.HasLearningDictionary() && sources.FindLearntReplacement(word, replacement)) {
        const auto learnt = std::find(list.begin(), list.end(), replacement);
        if (learnt != list.end())
          std::rotate(list.begin(), learnt, learnt + 1);
        else
          list.insert(list.begin(), replacement);
      }
    }
    finish(list);
  }
  if (MaxSuggestions >= 0 && list.size() > static_cast<size_t>(MaxSuggestions))
    list.resize(static_cast<size_t>(MaxSuggestions));
}

void TOrthexSpell3Base::LearnReplacement(std::string_view old_word, std::string_view new_word) {
  if (!learning_dictionary_) return;
  learning_dictionary_->AddAutoCorrect(old_word, new_word);
  learning_dictionary_->AddWord(new_word);
}

// ---- Ignore rules -------------------------------------------------------------

void TOrthexSpell3Base::ApplyOptions(bool force) {
  const TSpellOptions options = configuration_->SpellOptionsValue();
  if (options == options_applied_ && !force && !rules_stale_) return;
  options_applied_ = options;
  rules_stale_ = false;
  ClearIgnoreRules();
  using enum TSpellOption;
  if (options.Has(soInternet)) AddIgnoreRule(std::make_unique<TURLIgnore>());
  if (options.Has(soUpcase)) AddIgnoreRule(std::make_unique<TUppercaseWordIgnore>());
  if (options.Has(soNumbers)) AddIgnoreRule(std::make_unique<TNumbersIgnore>());
  if (options.Has(soHTML)) AddIgnoreRule(std::make_unique<THTMLIgnore>());
  if (options.Has(soQuoted)) AddIgnoreRule(std::make_unique<TQuotedLineIgnore>(quote_chars_));
  if (options.Has(soAbbreviations)) AddIgnoreRule(std::make_unique<TAbbreviationsIgnore>());
  primary_only_ = options.Has(soPrimaryOnly);
  prompt_repeated_ = options.Has(soRepeated);
  live_spelling_ = options.Has(soLiveSpelling);
  live_correct_ = options.Has(soLiveCorrect);
  if (OnAddCustomIgnore) OnAddCustomIgnore(*this);
  rules_rebuilt_listeners_.Notify(*this);
}

void TOrthexSpell3Base::AddIgnoreRule(std::unique_ptr<TParserIgnore> rule) {
  if (!rule) return;
  if (rule->WantsHooks()) char_rules_.push_back(rule.get());
  if (rule->IsLineRule()) line_rules_.push_back(rule.get());
  ignore_rules_.push_back(std::move(rule));
}

void TOrthexSpell3Base::ClearIgnoreRules() {
  char_rules_.clear();
  line_rules_.clear();
  ignore_rules_.clear();
}

void TOrthexSpell3Base::EngineSkipHook(char c, TControlParser* parser, bool& skip) {
  if (parser == nullptr) return;
  for (TParserIgnore* rule : char_rules_) {
    if (rule->CharHook(c, *parser)) {
      skip = true;
      return;
    }
  }
}

void TOrthexSpell3Base::EngineWordHook(const std::string& word, TControlParser* parser, bool& again) {
  if (parser == nullptr) return;
  for (TParserIgnore* rule : char_rules_) {
    if (rule->WordHook(word, *parser)) {
      again = true;
      return;
    }
  }
}

bool TOrthexSpell3Base::IsIgnoredByRules(std::string_view word, TControlParser* parser) {
  for (const auto& rule : ignore_rules_)
    if (rule->IgnoreWord(word, parser)) return true;
  return false;
}

bool TOrthexSpell3Base::IsLineIgnored(std::string_view line) {
  configuration_->EnsureLoaded();
  for (TParserIgnore* rule : line_rules_)
    if (rule->IgnoreLine(line)) return true;
  return false;
}

// ---- Texts, dialogs and the configuration's callbacks -------------------------

std::string TOrthexSpell3Base::GetUIString(TSpellLanguageString index) {
  std::string text = SpellLanguageString(index, UILanguage);
  if (OnGetString) OnGetString(*this, index, text);
  return text;
}

void TOrthexSpell3Base::ShowConfigDialog() { ShowConfigDialogFor(); }
void TOrthexSpell3Base::ShowCustomDictionariesDialog() { ShowCustomDictionariesDialogFor(); }

void TOrthexSpell3Base::ShowEditCustomDictionaryDialog(TCustomDictionary* dictionary) {
  ShowEditCustomDictionaryDialogFor(dictionary);
  ApplyConfiguration(true);
}

void TOrthexSpell3Base::ShowAddDictionaryDir() { ShowAddDictionaryDirFor(); }

void TOrthexSpell3Base::ShowConfigDialogFor() {
  if (OnShowConfigDialog) OnShowConfigDialog(*this);
}

void TOrthexSpell3Base::ShowCustomDictionariesDialogFor() {
  if (OnShowCustomDictionariesDialog) OnShowCustomDictionariesDialog(*this);
}

void TOrthexSpell3Base::ShowEditCustomDictionaryDialogFor(TCustomDictionary* dictionary) {
  if (OnShowEditCustomDictionaryDialog) OnShowEditCustomDictionaryDialog(*this, dictionary);
}

void TOrthexSpell3Base::ShowAddDictionaryDirFor() {
  if (OnShowAddDictionaryDir) OnShowAddDictionaryDir(*this);
}

std::string TOrthexSpell3Base::DoConfigReadString(const std::string& config_id, const std::string& key,
                                                  const std::string& def) {
  std::string value = def;
  if (OnConfigReadString) OnConfigReadString(*this, config_id, key, def, value);
  return value;
}

void TOrthexSpell3Base::DoConfigWriteString(const std::string& config_id, const std::string& key,
                                            const std::string& value) {
  if (OnConfigWriteString) OnConfigWriteString(*this, config_id, key, value);
}

void TOrthexSpell3Base::DoConfigLoaded() {
  if (OnConfigLoaded) OnConfigLoaded(*this);
}

void TOrthexSpell3Base::DoConfigSaved() {
  if (OnConfigSaved) OnConfigSaved(*this);
}

void TOrthexSpell3Base::DoConfigSaveFailed(const std::string& file, const std::string& reason) {
  ReportProblem(file, "the settings cannot be saved (" + reason +
                          "); the file keeps the settings it had, and saving is tried again later");
}

}  // namespace tovuri
