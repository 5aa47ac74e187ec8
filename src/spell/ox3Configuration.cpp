#include "spell/ox3Configuration.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <filesystem>
#include <optional>
#include <system_error>

#include "common/ansi_case.h"
#include "spell/ox3IniFile.h"
#include "spell/ox3Paths.h"
#include "spell/ox3UserRegistry.h"

namespace tovuri {

TConfigOwner::~TConfigOwner() = default;
bool TConfigOwner::ConfigUseMSWordCustom() const { return false; }
bool TConfigOwner::ConfigDefaultUseMSWordCustom() const { return false; }
std::vector<std::string> TConfigOwner::MSWordCustomDictionaryFiles() { return {}; }
std::string TConfigOwner::DoConfigReadString(const std::string&, const std::string&,
                                             const std::string& def) {
  return def;
}
void TConfigOwner::DoConfigWriteString(const std::string&, const std::string&, const std::string&) {}
void TConfigOwner::DoConfigLoaded() {}
void TConfigOwner::DoConfigSaved() {}
void TConfigOwner::DoConfigSaveFailed(const std::string&, const std::string&) {}

int TConfigList::IndexOf(std::string_view item) const {
  const auto found = std::find(items_.begin(), items_.end(), item);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

bool TConfigList::AddQuietly(std::string item) {
  if (!sorted_) {
    items_.push_back(std::move(item));
    return true;
  }
  const auto at = std::lower_bound(items_.begin(), items_.end(), item);
  if (at != items_.end() && *at == item) return false;
  items_.insert(at, std::move(item));
  return true;
}

void TConfigList::Add(std::string item) {
  if (AddQuietly(std::move(item))) Changed();
}

void TConfigList::Insert(size_t index, std::string item) {
  if (sorted_) {
    Add(std::move(item));
    return;
  }
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(index, items_.size())),
                std::move(item));
  Changed();
}

void TConfigList::Delete(size_t index) {
  if (index >= items_.size()) return;
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  Changed();
}

bool TConfigList::Remove(std::string_view item) {
  const int index = IndexOf(item);
  if (index < 0) return false;
  Delete(static_cast<size_t>(index));
  return true;
}

void TConfigList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TConfigList::Assign(std::vector<std::string> items) {
  items_.clear();
  for (std::string& item : items) AddQuietly(std::move(item));
  Changed();
}

// A place the values are read from and written to, open for one load or save.
class TOrthexConfig::TStore {
 public:
  virtual ~TStore() = default;
  virtual std::string Read(const std::string& key, const std::string& def) = 0;
  virtual void Write(const std::string& key, const std::string& value) = 0;
  // No list under key can hold more items than this.
  virtual size_t ListBound(const std::string& key) const = 0;
  // Writes out what was written; false when that failed.
  virtual bool Close() = 0;
  // The file written and why Close failed, for the user; empty when there is
  // nothing to say.
  virtual std::string File() const { return {}; }
  virtual std::string Error() const { return {}; }
};

namespace {

// Lists through the callbacks have no file to judge their counts by.
constexpr size_t kMaxCallbackListItems = 65536;

// One more than the highest index n for which key + "_" + n is among names.
size_t HighestIndexBound(const std::vector<std::string>& names, const std::string& key,
                         bool ignore_case) {
  const std::string prefix = (ignore_case ? AnsiLowerCase(key) : key) + "_";
  size_t bound = 0;
  for (const std::string& raw : names) {
    const std::string name = ignore_case ? AnsiLowerCase(raw) : raw;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    size_t index = 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(first, last, index);
    if (error == std::errc() && end == last && index < SIZE_MAX - 1)
      bound = std::max(bound, index + 1);
  }
  return bound;
}

class IniStore final : public TOrthexConfig::TStore {
 public:
  IniStore(const std::filesystem::path& file, std::string section)
      : ini_(file), section_(std::move(section)) {
    std::error_code error;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
    ini_.Load();
  }
  std::string Read(const std::string& key, const std::string& def) override {
    return ini_.Read(section_, key).value_or(def);
  }
  void Write(const std::string& key, const std::string& value) override {
    ini_.Write(section_, key, value);
  }
  size_t ListBound(const std::string& key) const override {
    return HighestIndexBound(ini_.Keys(section_), key, true);
  }
  bool Close() override { return ini_.Save(); }
  std::string File() const override { return ini_.Path().string(); }
  std::string Error() const override { return ini_.SaveError(); }

 private:
  TIniFile ini_;
  std::string section_;
};

class RegistryStore final : public TOrthexConfig::TStore {
 public:
  explicit RegistryStore(const std::filesystem::path& file) : key_(file) { key_.Load(); }
  std::string Read(const std::string& key, const std::string& def) override {
    return key_.Read(key).value_or(def);
  }
  void Write(const std::string& key, const std::string& value) override { key_.Write(key, value); }
  size_t ListBound(const std::string& key) const override {
    std::vector<std::string> names;
    for (const auto& value : key_.Values()) names.push_back(value.first);
    return HighestIndexBound(names, key, false);
  }
  bool Close() override { return key_.Save(); }
  std::string File() const override { return key_.File().string(); }
  std::string Error() const override { return key_.SaveError(); }

 private:
  TUserRegistryKey key_;
};

class CallbackStore final : public TOrthexConfig::TStore {
 public:
  CallbackStore(TConfigOwner& owner, std::string record)
      : owner_(owner), record_(std::move(record)) {}
  std::string Read(const std::string& key, const std::string& def) override {
    return owner_.DoConfigReadString(record_, key, def);
  }
  void Write(const std::string& key, const std::string& value) override {
    owner_.DoConfigWriteString(record_, key, value);
  }
  size_t ListBound(const std::string&) const override { return kMaxCallbackListItems; }
  bool Close() override { return true; }

 private:
  TConfigOwner& owner_;
  std::string record_;
};

class NoStore final : public TOrthexConfig::TStore {
 public:
  std::string Read(const std::string&, const std::string& def) override { return def; }
  void Write(const std::string&, const std::string&) override {}
  size_t ListBound(const std::string&) const override { return 0; }
  bool Close() override { return true; }
};

// A decimal integer, blanks around it allowed; nothing for anything else.
std::optional<long long> ParseInteger(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::int32_t ParseCoordinate(std::string_view text) {
  const auto value = ParseInteger(text);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return -1;
  return static_cast<std::int32_t>(*value);
}

}  // namespace

TOrthexConfig::TOrthexConfig(TConfigOwner* owner) : owner_(owner) {
  for (TConfigList* list : {&main_names_, &custom_names_, &msword_files_, &folders_})
    list->on_change_ = [this] { ListChanged(); };
}

TOrthexConfig::~TOrthexConfig() { TOrthexConfig::Save(); }

std::unique_ptr<TOrthexConfig::TStore> TOrthexConfig::OpenStore(const TPlace& place) const {
  switch (owner_ != nullptr ? place.kind : TConfigStorage::csNone) {
    case TConfigStorage::csFile:
      return std::make_unique<IniStore>(std::filesystem::path(NativePath(place.file_name)),
                                        place.record_name);
    case TConfigStorage::csRegistry:
      return std::make_unique<RegistryStore>(
          TUserRegistryKey::FileFor(place.registry_key, place.record_name));
    case TConfigStorage::csCallback:
      return std::make_unique<CallbackStore>(*owner_, place.record_name);
    case TConfigStorage::csNone:
      break;
  }
  return std::make_unique<NoStore>();
}

TOrthexConfig::TPlace TOrthexConfig::LoadedPlace() const {
  return {storage_kind_, record_name_, file_name_, registry_key_};
}

TOrthexConfig::TPlace TOrthexConfig::CurrentPlace() const {
  if (owner_ == nullptr) return {};
  return {owner_->ConfigStorage(), owner_->ExpandConfigID(),
          owner_->ExpandPath(owner_->ConfigFilename()),
          owner_->ExpandPath(owner_->ConfigRegistryKey())};
}

void TOrthexConfig::SetActiveCustom(const std::string& name) {
  EnsureLoaded();
  if (name == active_custom_name_) return;
  active_custom_name_ = name;
  // The active dictionary is always among the custom ones; one reapply covers both.
  if (!name.empty() && !custom_names_.Contains(name)) custom_names_.AddQuietly(name);
  Changed(true);
}

void TOrthexConfig::SetLoaded(bool loaded) {
  if (loaded) {
    EnsureLoaded();
  } else {
    Save();
    loaded_ = false;
  }
}

void TOrthexConfig::SetSpellOptions(TSpellOptions options) {
  EnsureLoaded();
  if (options == spell_options_) return;
  spell_options_ = options;
  Changed(false);
}

void TOrthexConfig::SetDialogX(std::int32_t x) {
  EnsureLoaded();
  if (x == dialog_x_) return;
  dialog_x_ = x;
  Changed(false);
}

void TOrthexConfig::SetDialogY(std::int32_t y) {
  EnsureLoaded();
  if (y == dialog_y_) return;
  dialog_y_ = y;
  Changed(false);
}

TConfigList& TOrthexConfig::MainList() {
  EnsureLoaded();
  return main_names_;
}

TConfigList& TOrthexConfig::CustomList() {
  EnsureLoaded();
  return custom_names_;
}

TConfigList& TOrthexConfig::MSWordList() {
  EnsureLoaded();
  return msword_files_;
}

std::string TOrthexConfig::ActiveCustom() {
  EnsureLoaded();
  return owner_ != nullptr ? owner_->ExpandPath(active_custom_name_) : active_custom_name_;
}

std::string TOrthexConfig::ActiveCustomName() {
  EnsureLoaded();
  return active_custom_name_;
}

TSpellOptions TOrthexConfig::SpellOptionsValue() {
  EnsureLoaded();
  return spell_options_;
}

std::int32_t TOrthexConfig::DialogXValue() {
  EnsureLoaded();
  return dialog_x_;
}

std::int32_t TOrthexConfig::DialogYValue() {
  EnsureLoaded();
  return dialog_y_;
}

TConfigList& TOrthexConfig::FolderList() {
  EnsureLoaded();
  return folders_;
}

void TOrthexConfig::ListChanged() { Changed(true); }

void TOrthexConfig::Changed(bool reopen) {
  if (owner_ == nullptr || !loaded_) return;
  modified_ = true;
  owner_->ApplyConfiguration(reopen);
}

std::string TOrthexConfig::ReadString(std::string_view key, std::string_view def) {
  if (store_ != nullptr) return store_->Read(std::string(key), std::string(def));
  return OpenStore(CurrentPlace())->Read(std::string(key), std::string(def));
}

void TOrthexConfig::WriteString(std::string_view key, std::string_view value) {
  if (store_ != nullptr) {
    store_->Write(std::string(key), std::string(value));
    return;
  }
  const auto store = OpenStore(CurrentPlace());
  store->Write(std::string(key), std::string(value));
  store->Close();
}

void TOrthexConfig::ReadWriteList(std::string_view key, TConfigList& list, bool reading) {
  const std::string name(key);
  if (!reading) {
    WriteString(name + "_count", std::to_string(list.Count()));
    for (size_t i = 0; i < list.Count(); ++i) WriteString(name + "_" + std::to_string(i), list[i]);
    return;
  }
  list.items_.clear();
  const auto count = ParseInteger(ReadString(name + "_count", "-"));
  if (!count || *count <= 0) return;
  // A count the place cannot hold is cut to what the place does hold.
  size_t items = static_cast<size_t>(*count);
  if (store_ != nullptr) items = std::min(items, store_->ListBound(name));
  for (size_t i = 0; i < items; ++i) {
    std::string item = ReadString(name + "_" + std::to_string(i), "");
    if (!item.empty()) list.AddQuietly(std::move(item));
  }
}

void TOrthexConfig::ApplyDefaults() {
  main_names_.items_.clear();
  custom_names_.items_.clear();
  msword_files_.items_.clear();
  folders_.items_.clear();
  if (owner_ != nullptr) {
    for (std::string& name : owner_->ConfigDefaultMain()) main_names_.AddQuietly(std::move(name));
    for (std::string& name : owner_->ConfigDefaultCustom()) custom_names_.AddQuietly(std::move(name));
    if (owner_->ConfigUseMSWordCustom() && owner_->ConfigDefaultUseMSWordCustom())
      for (std::string& file : owner_->MSWordCustomDictionaryFiles())
        msword_files_.AddQuietly(std::move(file));
    spell_options_ = owner_->ConfigDefaultOptions();
  } else {
    spell_options_ = {};
  }
  dialog_x_ = dialog_y_ = -1;
  std::string active = owner_ != nullptr ? owner_->ConfigDefaultActiveCustom() : std::string();
  ReplaceFirst(active, "%ConfigID%", record_name_);
  SetActiveCustom(active);
}

void TOrthexConfig::ReadValues() {
  ReadWriteList(kMainKey, main_names_, true);
  ReadWriteList(kCustomKey, custom_names_, true);
  ReadWriteList(kMSWordCustomKey, msword_files_, true);
  SetActiveCustom(ReadString(kActiveCustomKey, ""));
  spell_options_ = {};
  for (const TOptionKey& option : kOptionKeys)
    spell_options_.Set(option.option, ReadString(option.key, "-") == "+");
  dialog_x_ = ParseCoordinate(ReadString(kDialogXKey, "-1"));
  dialog_y_ = ParseCoordinate(ReadString(kDialogYKey, "-1"));
  ReadWriteList(kNewPathsKey, folders_, true);
  TConfigList names;
  ReadWriteList(kUserDataKey, names, true);
  user_names_.clear();
  user_values_.clear();
  for (const std::string& name : names.items_) {
    if (std::find(user_names_.begin(), user_names_.end(), name) != user_names_.end()) continue;
    user_names_.push_back(name);
    user_values_.push_back(ReadString(std::string(kUserValuePrefix) + name, ""));
  }
}

void TOrthexConfig::WriteValues() {
  WriteString(kFirstRunKey, "+");
  ReadWriteList(kMainKey, main_names_, false);
  ReadWriteList(kCustomKey, custom_names_, false);
  ReadWriteList(kMSWordCustomKey, msword_files_, false);
  WriteString(kActiveCustomKey, active_custom_name_);
  for (const TOptionKey& option : kOptionKeys)
    WriteString(option.key, spell_options_.Has(option.option) ? "+" : "-");
  WriteString(kDialogXKey, std::to_string(dialog_x_));
  WriteString(kDialogYKey, std::to_string(dialog_y_));
  ReadWriteList(kNewPathsKey, folders_, false);
  TConfigList names;
  names.items_ = user_names_;
  ReadWriteList(kUserDataKey, names, false);
  for (size_t i = 0; i < user_names_.size(); ++i)
    WriteString(std::string(kUserValuePrefix) + user_names_[i], user_values_[i]);
}

void TOrthexConfig::Load() {
  if (loading_) return;
  loading_ = true;
  loaded_ = false;
  const TPlace place = CurrentPlace();
  storage_kind_ = place.kind;
  record_name_ = place.record_name;
  file_name_ = place.file_name;
  registry_key_ = place.registry_key;
  const auto store = OpenStore(place);
  store_ = store.get();
  // Everything is read afresh, so the active name must be set anew too.
  active_custom_name_.clear();
  if (ReadString(kFirstRunKey, "-") == "-" || reset_on_next_load_) {
    reset_on_next_load_ = false;
    ApplyDefaults();
  } else {
    ReadValues();
  }
  store_ = nullptr;
  loaded_ = true;
  modified_ = false;
  loading_ = false;
  if (owner_ != nullptr) owner_->DoConfigLoaded();
  Changed(true);
}

void TOrthexConfig::EnsureLoaded() {
  if (!loaded_ && !loading_) Load();
}

std::string TOrthexConfig::GetUserValue(std::string_view name) {
  EnsureLoaded();
  for (size_t i = 0; i < user_names_.size(); ++i)
    if (user_names_[i] == name) return user_values_[i];
  return {};
}

void TOrthexConfig::SetUserValue(std::string_view name, std::string_view value) {
  EnsureLoaded();
  const auto found = std::find(user_names_.begin(), user_names_.end(), name);
  if (found != user_names_.end()) {
    user_values_[static_cast<size_t>(found - user_names_.begin())] = value;
  } else {
    user_names_.emplace_back(name);
    user_values_.emplace_back(value);
  }
  modified_ = true;
  Changed(false);
}

void TOrthexConfig::ResetToDefaults() {
  reset_on_next_load_ = true;
  Reload();
}

void TOrthexConfig::Reload() {
  if (!loaded_) return;
  Save();
  Load();
}

bool TOrthexConfig::Save() {
  if (!modified_ || !loaded_) return true;
  const auto store = OpenStore(LoadedPlace());
  store_ = store.get();
  if (storage_kind_ != TConfigStorage::csNone) WriteValues();
  store_ = nullptr;
  if (!store->Close()) {
    if (owner_ != nullptr && !store->Error().empty()) owner_->DoConfigSaveFailed(store->File(), store->Error());
    return false;
  }
  modified_ = false;
  if (owner_ != nullptr) owner_->DoConfigSaved();
  return true;
}

}  // namespace tovuri
