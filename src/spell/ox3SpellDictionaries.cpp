// The checker component's dictionary set: names from the configuration
// become open dictionaries through the search path.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "common/ansi_case.h"
#include "spell/ox3SpellBase.h"

namespace tovuri {

namespace fs = std::filesystem;

namespace {

bool HasSeparator(std::string_view name) { return name.find_first_of("\\/") != std::string_view::npos; }

std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The name's file part with its extension replaced.
std::string FileNameWithExtension(const std::string& name, const std::string& extension) {
  return fs::path(NativePath(name)).filename().replace_extension(extension).string();
}

}  // namespace

std::string TOrthexSpell3Base::ExpandConfigID() const { return path_macros_.Expand(config_id_); }

std::string TOrthexSpell3Base::ExpandPath(std::string_view name) const {
  std::string expanded = path_macros_.Expand(name);
  ReplaceFirst(expanded, "%ConfigID%", ExpandConfigID());
  return NativePath(expanded);
}

void TOrthexSpell3Base::RebuildSearchPath() {
  dictionary_search_path_ = config_dictionary_dir_;
  if (configuration_->Loaded())
    for (const std::string& folder : configuration_->FolderList().Items())
      dictionary_search_path_.push_back(folder);
}

void TOrthexSpell3Base::ClearFileCaches() {
  available_main_.reset();
  available_custom_.reset();
  available_msword_.reset();
}

void TOrthexSpell3Base::ApplyConfiguration(bool reopen) {
  RebuildSearchPath();
  ClearFileCaches();
  if (reopen) {
    const std::string old_file = active_custom_ ? active_custom_->Filename() : std::string();
    OpenDictionaries();
    if (!active_custom_ || active_custom_->Filename() != old_file) undo_list_.clear();
  }
  ApplyOptions(false);
  if (OnConfigChanged) OnConfigChanged(*this);
  config_changed_listeners_.Notify(*this);
}

void TOrthexSpell3Base::OpenDictionaries() {
  TOrthexConfig& config = *configuration_;
  config.EnsureLoaded();
  has_english_main_ = false;
  words_until_promotion_ = 100;

  main_dictionaries_.clear();
  for (const std::string& name : config.MainList().Items()) {
    std::unique_ptr<TMainDictionary> dictionary = OpenConfiguredMain(name);
    if (!dictionary) continue;
    if ((dictionary->Language() & 0xFF) == 9) has_english_main_ = true;
    main_dictionaries_.push_back(std::move(dictionary));
  }

  const std::string active_name = config.ActiveCustomName();
  for (auto& dictionary : other_custom_) Retire(std::move(dictionary));
  other_custom_.clear();
  for (const std::string& name : config.CustomList().Items()) {
    if (name == active_name) continue;
    if (std::unique_ptr<TCustomDictionary> dictionary = OpenConfiguredCustom(name))
      other_custom_.push_back(std::move(dictionary));
  }

  msword_dictionaries_.clear();
  for (const std::string& file : config.MSWordList().Items())
    if (std::unique_ptr<TCustomDictionary> dictionary = OpenMSWordDictionary(file))
      msword_dictionaries_.push_back(std::move(dictionary));

  // Retiring the old object writes its words, so the new one reads them back
  // (or, when that save fails, takes them over).
  Retire(std::move(active_custom_));
  if (!active_name.empty()) active_custom_ = OpenConfiguredCustom(active_name);

  if (!mapping_dictionary_ && !mapping_dictionary_name_.empty())
    mapping_dictionary_ = OpenCustomDictionary(mapping_dictionary_name_);
  if (!learning_dictionary_ && suggestions_learning_ && !suggestions_learning_dict_.empty())
    learning_dictionary_ = OpenCustomDictionary(suggestions_learning_dict_);

  if (OnDictionariesChanged) OnDictionariesChanged(*this);
}

void TOrthexSpell3Base::DeactivateDictionaries() {
  if (keep_dictionaries_active_ || is_checking_) return;
  if (configuration_->Modified()) configuration_->Save();
  for (const auto& dictionary : main_dictionaries_) dictionary->SetActive(false);
  if (active_custom_) Unload(*active_custom_);
  for (const auto& dictionary : other_custom_) Unload(*dictionary);
  if (learning_dictionary_) Unload(*learning_dictionary_);
  std::erase_if(unsaved_custom_, [this](const auto& dictionary) { return Unload(*dictionary); });
}

bool TOrthexSpell3Base::SaveCustomDictionaries() {
  bool saved = true;
  const auto save = [&](TCustomDictionary* dictionary) {
    if (dictionary == nullptr || dictionary->Save()) return;
    ReportSaveFailure(*dictionary);
    saved = false;
  };
  save(active_custom_.get());
  for (const auto& dictionary : other_custom_) save(dictionary.get());
  save(mapping_dictionary_.get());
  save(learning_dictionary_.get());
  for (const auto& dictionary : unsaved_custom_) save(dictionary.get());
  std::erase_if(unsaved_custom_, [](const auto& dictionary) { return !dictionary->Modified(); });
  return saved;
}

bool TOrthexSpell3Base::Unload(TCustomDictionary& dictionary) {
  if (dictionary.SetActive(false)) return true;
  ReportSaveFailure(dictionary);
  return false;
}

void TOrthexSpell3Base::Retire(std::unique_ptr<TCustomDictionary> dictionary) {
  if (!dictionary || Unload(*dictionary)) return;
  unsaved_custom_.push_back(std::move(dictionary));
}

void TOrthexSpell3Base::ReportProblem(const std::string& file, const std::string& problem) {
  if (OnDictionaryProblem) OnDictionaryProblem(*this, file, problem);
}

std::unique_ptr<TMainDictionary> TOrthexSpell3Base::OpenConfiguredMain(const std::string& name) {
  std::unique_ptr<TMainDictionary> dictionary = OpenMainDictionary(name);
  std::vector<std::string> places;
  if (HasSeparator(name)) {
    places.push_back(ExpandPath(name));
  } else {
    for (const std::string& folder : dictionary_search_path_)
      places.push_back(ExpandPath(WithoutTrailingSeparator(folder) + "/" + name));
  }
  // What is done instead: another folder's file of that name, or the words
  // are checked without it.
  const std::string instead =
      dictionary ? dictionary->Filename() + " is used instead" : std::string("words are checked without it");
  const auto damaged = [&instead](const std::string& why) {
    return "the main dictionary is cut short or damaged (" + why + "); it is not used, and " + instead;
  };
  // A file that did not open in a folder searched before the one used (a
  // damaged copy in the user's folder) is said too; opened once more to learn
  // why, which is rare and cheap.
  for (const std::string& place : places) {
    if (dictionary && place == dictionary->Filename()) break;
    if (!FileExists(place)) continue;
    TMainDictionary refused;
    if (!refused.Open(place) && refused.Damaged())
      ReportProblem(place, damaged(refused.Problem()));
    else if (!dictionary)
      ReportProblem(place, "not a main dictionary, or cut short or damaged; it is not used");
    if (!dictionary) return nullptr;
  }
  if (dictionary) {
    // Activating checks the sizes that opening does not; lookups would
    // otherwise find nothing without a word said.
    if (!dictionary->SetActive(true))
      ReportProblem(dictionary->Filename(), "the main dictionary is cut short or damaged (" + dictionary->Problem() +
                                                "); it is not used, and words are checked without it");
    return dictionary;
  }
  std::string folders;
  for (const std::string& place : places)
    folders += (folders.empty() ? "" : ", ") + fs::path(place).parent_path().string();
  ReportProblem(name, "main dictionary not found (looked in " + folders + ")");
  return nullptr;
}

std::unique_ptr<TCustomDictionary> TOrthexSpell3Base::OpenConfiguredCustom(const std::string& name) {
  std::unique_ptr<TCustomDictionary> dictionary = OpenCustomDictionary(name);
  if (dictionary && dictionary->SetActive(true)) return dictionary;
  if (dictionary) {
    ReportProblem(dictionary->Filename(), "damaged custom dictionary; it is left as it is and not used");
    return nullptr;
  }
  const std::string existing = FolderFor(name, true);
  if (!existing.empty())
    ReportProblem(existing, "not a custom dictionary, or unreadable; it is left as it is and not used");
  else
    ReportProblem(HasSeparator(name) ? ExpandPath(name) : FolderFor(name, false),
                  "custom dictionary cannot be created; no words can be added");
  return nullptr;
}

void TOrthexSpell3Base::ReportSaveFailure(const TCustomDictionary& dictionary) {
  if (OnDictionarySaveFailed) OnDictionarySaveFailed(*this, dictionary.Filename(), dictionary.SaveError());
}

std::unique_ptr<TMainDictionary> TOrthexSpell3Base::OpenMainDictionary(const std::string& name) {
  auto dictionary = std::make_unique<TMainDictionary>();
  if (HasSeparator(name)) {
    if (dictionary->Open(ExpandPath(name))) return dictionary;
    return nullptr;
  }
  for (const std::string& folder : dictionary_search_path_)
    if (dictionary->Open(ExpandPath(WithoutTrailingSeparator(folder) + "/" + name))) return dictionary;
  return nullptr;
}

std::string TOrthexSpell3Base::FolderFor(const std::string& name, bool must_exist) const {
  for (const std::string& folder : dictionary_search_path_) {
    const std::string path = ExpandPath(WithoutTrailingSeparator(folder) + "/" + name);
    if (!must_exist || FileExists(path)) return path;
  }
  return {};
}

std::unique_ptr<TCustomDictionary> TOrthexSpell3Base::OpenCustomDictionary(const std::string& name) {
  std::unique_ptr<TCustomDictionary> dictionary;
  if (OnCreateCustomDictionary) OnCreateCustomDictionary(*this, dictionary);
  if (!dictionary) dictionary = std::make_unique<TCustomDictionary>();

  std::string path;
  if (HasSeparator(name)) {
    path = ExpandPath(name);
  } else {
    path = FolderFor(name, true);
    if (path.empty()) path = FolderFor(name, false);
    if (path.empty()) path = ExpandPath(name);
  }
  // A file that exists nowhere yet is created in its folder, which may be new.
  if (!FileExists(path)) {
    const fs::path parent = fs::path(path).parent_path();
    std::error_code error;
    if (!parent.empty()) fs::create_directories(parent, error);
  }
  // Same-file dictionaries write their words first, so the new object reads them.
  if (active_custom_ && active_custom_->Filename() == path) active_custom_->Save();
  for (const auto& other : other_custom_)
    if (other->Filename() == path) other->Save();

  if (!dictionary->Open(path)) return nullptr;
  // Words that an earlier object of this file could not write move here.
  std::erase_if(unsaved_custom_, [&](const auto& unsaved) {
    return unsaved->Filename() == path && dictionary->TakePendingChanges(*unsaved);
  });
  return dictionary;
}

std::unique_ptr<TCustomDictionary> TOrthexSpell3Base::OpenMSWordDictionary(const std::string& file) {
  const std::string path = ExpandPath(file);
  if (!FileExists(path)) return nullptr;
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  auto dictionary = std::make_unique<TCustomDictionary>();
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) dictionary->AddWord(line);
  }
  return dictionary;
}

void TOrthexSpell3Base::FindDictionaryFiles(const std::string& extension, std::vector<std::string>& list) {
  std::string wanted = AnsiLowerCase(extension);
  wanted.insert(wanted.begin(), '.');
  for (const std::string& folder : dictionary_search_path_) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(ExpandPath(folder), error)) {
      if (!entry.is_regular_file(error)) continue;
      std::string file = entry.path().filename().string();
      if (AnsiLowerCase(entry.path().extension().string()) == wanted) names.push_back(std::move(file));
    }
    // Directory order is arbitrary here; the dialogs show each folder sorted.
    std::sort(names.begin(), names.end());
    list.insert(list.end(), names.begin(), names.end());
  }
  std::vector<std::string> unique;
  for (std::string& name : list)
    if (std::find(unique.begin(), unique.end(), name) == unique.end()) unique.push_back(std::move(name));
  list = std::move(unique);
}

const std::vector<std::string>& TOrthexSpell3Base::AvailableMainDictionaries() {
  configuration_->EnsureLoaded();
  if (!available_main_) {
    available_main_.emplace();
    FindDictionaryFiles("oxm", *available_main_);
  }
  return *available_main_;
}

const std::vector<std::string>& TOrthexSpell3Base::AvailableCustomDictionaries() {
  configuration_->EnsureLoaded();
  if (!available_custom_) {
    available_custom_.emplace();
    FindDictionaryFiles("oxu", *available_custom_);
    const std::string active = configuration_->ActiveCustomName();
    if (!active.empty() &&
        std::find(available_custom_->begin(), available_custom_->end(), active) == available_custom_->end())
      available_custom_->insert(available_custom_->begin(), active);
  }
  return *available_custom_;
}

std::vector<std::string> TOrthexSpell3Base::MSWordCustomDictionaryFiles() {
  // The word processor keeps its list in the Windows registry, which this
  // system does not have; the list reads empty.
  if (!available_msword_) available_msword_.emplace();
  return *available_msword_;
}

void TOrthexSpell3Base::EnableCustomDictionary(const std::string& name, bool enable) {
  TOrthexConfig& config = *configuration_;
  TConfigList& list = config.CustomList();
  if (list.Contains(name)) {
    if (enable) return;
    const bool was_active = config.ActiveCustomName() == name;
    if (was_active) {
      // The active name moves first, so that one reopen sees the final set.
      std::string next;
      for (const std::string& other : list.Items())
        if (other != name) {
          next = other;
          break;
        }
      config.SetActiveCustom(next);
    }
    list.Remove(name);
    return;
  }
  if (!enable) return;
  if (!OpenCustomDictionary(name)) return;
  list.Add(name);
}

void TOrthexSpell3Base::EnableMSWordDictionary(const std::string& file, bool enable) {
  TConfigList& list = configuration_->MSWordList();
  if (list.Contains(file)) {
    if (!enable) list.Remove(file);
    return;
  }
  if (enable && FileExists(ExpandPath(file))) list.Add(file);
}

void TOrthexSpell3Base::DeleteCustomDictionary(const std::string& name) {
  EnableCustomDictionary(name, false);
  available_custom_.reset();
  std::string path;
  if (std::unique_ptr<TCustomDictionary> dictionary = OpenCustomDictionary(name))
    path = dictionary->Filename();
  std::error_code error;
  if (!path.empty() && FileExists(path)) fs::remove(path, error);
  if (!path.empty()) fs::remove(path + ".lock", error);
}

void TOrthexSpell3Base::NewCustomDictionary(const std::string& name) {
  const std::string file = FileNameWithExtension(name, ".oxu");
  if (file.empty() || file == ".oxu") return;
  if (std::unique_ptr<TCustomDictionary> dictionary = OpenCustomDictionary(file)) {
    // A dictionary whose file does not exist loads empty and modified, so this writes it.
    dictionary->SetActive(true);
    dictionary->Save();
  }
  TConfigList& list = configuration_->CustomList();
  if (!list.Contains(file)) list.Add(file);
  available_custom_.reset();
}

bool TOrthexSpell3Base::RenameCustomDictionary(const std::string& old_name, const std::string& new_name) {
  if (old_name == new_name) return false;
  const std::vector<std::string>& available = AvailableCustomDictionaries();
  if (std::find(available.begin(), available.end(), old_name) == available.end()) return false;
  std::unique_ptr<TCustomDictionary> dictionary = OpenCustomDictionary(old_name);
  if (!dictionary) return false;
  const std::string old_path = dictionary->Filename();
  const std::string new_file = FileNameWithExtension(new_name, ".oxu");
  const fs::path new_path = fs::path(old_path).parent_path() / new_file;
  std::error_code error;
  if (new_file.empty() || fs::exists(new_path, error)) return false;
  {
    std::ofstream probe(new_path, std::ios::binary);
    if (!probe) return false;
  }
  fs::remove(new_path, error);

  // Every open object of the file writes its words before the file moves.
  dictionary->Save();
  dictionary.reset();
  if (active_custom_ && active_custom_->Filename() == old_path) active_custom_->Save();
  for (const auto& other : other_custom_)
    if (other->Filename() == old_path) other->Save();
  if (FileExists(old_path)) {
    fs::rename(old_path, new_path, error);
    if (error) return false;
  }
  // The old name's save lock guards a file that is no more.
  fs::remove(old_path + ".lock", error);

  TOrthexConfig& config = *configuration_;
  if (config.ActiveCustomName() == old_name) config.SetActiveCustom(new_file);
  TConfigList& list = config.CustomList();
  list.Remove(old_name);
  if (!list.Contains(new_file)) list.Add(new_file);
  available_custom_.reset();
  return true;
}

}  // namespace tovuri
