#pragma once
// The user's spelling configuration: dictionaries in use, the active custom
// dictionary, options, the spelling dialog's position, extra dictionary
// folders and free values; loaded lazily and written back when changed.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "spell/ox3Types.h"

namespace tovuri {

// What the configuration needs from the checker component that owns it. The
// component implements it; its ApplyConfiguration runs after every change.
class TConfigOwner {
 public:
  virtual ~TConfigOwner();

  virtual TConfigStorage ConfigStorage() const = 0;
  // Record name, file name and registry key as set, before expansion.
  virtual std::string ConfigID() const = 0;
  virtual std::string ConfigFilename() const = 0;
  virtual std::string ConfigRegistryKey() const = 0;
  virtual std::vector<std::string> ConfigDefaultMain() const = 0;
  virtual std::vector<std::string> ConfigDefaultCustom() const = 0;
  // May hold "%ConfigID%", which stands for the expanded record name.
  virtual std::string ConfigDefaultActiveCustom() const = 0;
  virtual TSpellOptions ConfigDefaultOptions() const = 0;
  virtual bool ConfigUseMSWordCustom() const;
  virtual bool ConfigDefaultUseMSWordCustom() const;
  // The word processor's custom dictionary files that exist.
  virtual std::vector<std::string> MSWordCustomDictionaryFiles();
  // The path macros, then "%ConfigID%".
  virtual std::string ExpandPath(std::string_view name) const = 0;
  // ConfigID with the path macros expanded.
  virtual std::string ExpandConfigID() const = 0;

  // Reopens the dictionaries when reopen is set and reapplies the options.
  virtual void ApplyConfiguration(bool reopen) = 0;
  // The csCallback store; reading starts from def.
  virtual std::string DoConfigReadString(const std::string& config_id, const std::string& key,
                                         const std::string& def);
  virtual void DoConfigWriteString(const std::string& config_id, const std::string& key,
                                   const std::string& value);
  // OnConfigLoaded and OnConfigSaved.
  virtual void DoConfigLoaded();
  virtual void DoConfigSaved();
  // The settings could not be written to file (why: reason); the file keeps
  // what it held and the configuration stays modified, so the next save
  // tries again.
  virtual void DoConfigSaveFailed(const std::string& file, const std::string& reason);
};

// A list of names held by the configuration. Every change reaches the
// configuration, which then reopens the dictionaries.
class TConfigList {
 public:
  // A sorted list keeps its items in order and ignores duplicates.
  explicit TConfigList(bool sorted = false) : sorted_(sorted) {}

  const std::vector<std::string>& Items() const { return items_; }
  size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  const std::string& operator[](size_t index) const { return items_[index]; }
  // Index of an item (exact comparison), or -1.
  int IndexOf(std::string_view item) const;
  bool Contains(std::string_view item) const { return IndexOf(item) >= 0; }

  // Appends (a sorted list inserts in order, once).
  void Add(std::string item);
  // Inserts at index (a sorted list inserts in order, once).
  void Insert(size_t index, std::string item);
  void Delete(size_t index);
  // Removes the first equal item; true when there was one.
  bool Remove(std::string_view item);
  void Clear();
  void Assign(std::vector<std::string> items);

 private:
  friend class TOrthexConfig;
  bool AddQuietly(std::string item);
  void Changed() {
    if (on_change_) on_change_();
  }

  bool sorted_;
  std::vector<std::string> items_;
  std::function<void()> on_change_;
};

// Keys under which the values are stored, in the order they are written.
inline constexpr std::string_view kFirstRunKey = "_FirstRun";
inline constexpr std::string_view kMainKey = "_Main";
inline constexpr std::string_view kCustomKey = "_Custom";
inline constexpr std::string_view kMSWordCustomKey = "_MSWordCustom";
inline constexpr std::string_view kActiveCustomKey = "_ActiveCustom";
inline constexpr std::string_view kDialogXKey = "_DialogX";
inline constexpr std::string_view kDialogYKey = "_DialogY";
inline constexpr std::string_view kNewPathsKey = "_NewPaths";
inline constexpr std::string_view kUserDataKey = "_UserData";
inline constexpr std::string_view kUserValuePrefix = "User_";

struct TOptionKey {
  std::string_view key;
  TSpellOption option;
};
inline constexpr TOptionKey kOptionKeys[] = {
    {"_soUpcase", TSpellOption::soUpcase},
    {"_soNumbers", TSpellOption::soNumbers},
    {"_soHTML", TSpellOption::soHTML},
    {"_soInternet", TSpellOption::soInternet},
    {"_soQuoted", TSpellOption::soQuoted},
    {"_soAbbreviations", TSpellOption::soAbbreviations},
    {"_soPrimaryOnly", TSpellOption::soPrimaryOnly},
    {"_soRepeated", TSpellOption::soRepeated},
    {"_soLiveSpelling", TSpellOption::soLiveSpelling},
    {"_soLiveCorrect", TSpellOption::soLiveCorrect},
    {"_soUser1", TSpellOption::soUser1},
    {"_soUser2", TSpellOption::soUser2},
    {"_soUser3", TSpellOption::soUser3},
    {"_soUser4", TSpellOption::soUser4},
};

// The configuration of one checker component. Every access loads it first;
// every load ends marked modified, so the next save writes all values back.
// Destroying it saves, through the owner: destroy it while the owner lives.
class TOrthexConfig {
 public:
  explicit TOrthexConfig(TConfigOwner* owner = nullptr);
  TOrthexConfig(const TOrthexConfig&) = delete;
  TOrthexConfig& operator=(const TOrthexConfig&) = delete;
  virtual ~TOrthexConfig();

  TConfigOwner* Owner() const { return owner_; }
  void SetOwner(TConfigOwner* owner) { owner_ = owner; }
  bool Loaded() const { return loaded_; }
  bool Modified() const { return modified_; }
  bool ResetOnNextLoad() const { return reset_on_next_load_; }
  // Where the last load read from; a save writes there.
  TConfigStorage StorageKind() const { return storage_kind_; }
  const std::string& RecordName() const { return record_name_; }
  const std::string& FileName() const { return file_name_; }
  const std::string& RegistryKey() const { return registry_key_; }

  // Makes name the active custom dictionary and adds it to the custom list.
  virtual void SetActiveCustom(const std::string& name);
  // True loads (once); false saves and forgets what was loaded.
  virtual void SetLoaded(bool loaded);
  virtual void SetSpellOptions(TSpellOptions options);
  virtual void SetDialogX(std::int32_t x);
  virtual void SetDialogY(std::int32_t y);
  virtual TConfigList& MainList();
  virtual TConfigList& CustomList();
  virtual TConfigList& MSWordList();
  // The active custom dictionary with the owner's path macros expanded.
  virtual std::string ActiveCustom();
  // The active custom dictionary as stored.
  virtual std::string ActiveCustomName();
  virtual TSpellOptions SpellOptionsValue();
  virtual std::int32_t DialogXValue();
  virtual std::int32_t DialogYValue();
  // Folders the user added to the dictionary search path.
  virtual TConfigList& FolderList();
  virtual void ListChanged();
  // Marks the loaded configuration modified and has the owner reapply it.
  virtual void Changed(bool reopen);
  // One value from (or to) the place being loaded or saved; outside a load
  // or save, from the place the owner names now.
  virtual std::string ReadString(std::string_view key, std::string_view def);
  virtual void WriteString(std::string_view key, std::string_view value);
  virtual void Load();
  virtual void EnsureLoaded();
  virtual std::string GetUserValue(std::string_view name);
  virtual void SetUserValue(std::string_view name, std::string_view value);
  // The defaults apply at the next load, which happens at once when loaded.
  virtual void ResetToDefaults();
  virtual void Reload();
  // Writes everything when modified and loaded; false when the place could
  // not be written, which leaves the configuration modified.
  virtual bool Save();

  // The list format: key + "_count", then key + "_" + index for each item.
  void ReadWriteList(std::string_view key, TConfigList& list, bool reading);

  class TStore;

 private:
  // Where values live: the storage kind and the expanded names.
  struct TPlace {
    TConfigStorage kind = TConfigStorage::csNone;
    std::string record_name;
    std::string file_name;
    std::string registry_key;
  };
  // The place of the last load, where a save writes.
  TPlace LoadedPlace() const;
  // The place the owner names now.
  TPlace CurrentPlace() const;
  std::unique_ptr<TStore> OpenStore(const TPlace& place) const;
  void ApplyDefaults();
  void ReadValues();
  void WriteValues();

  TConfigOwner* owner_;
  bool loaded_ = false;
  bool loading_ = false;
  bool modified_ = false;
  bool reset_on_next_load_ = false;
  TConfigStorage storage_kind_ = TConfigStorage::csNone;
  std::string record_name_;
  std::string file_name_;
  std::string registry_key_;
  TConfigList main_names_;
  TConfigList custom_names_;
  TConfigList msword_files_;
  std::string active_custom_name_;
  TSpellOptions spell_options_;
  std::int32_t dialog_x_ = -1;
  std::int32_t dialog_y_ = -1;
  TConfigList folders_{true};
  std::vector<std::string> user_names_;
  std::vector<std::string> user_values_;
  // The place opened by the load or save in progress.
  TStore* store_ = nullptr;
};

}  // namespace tovuri
