#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "spell/ox3Configuration.h"
#include "spell/ox3IniFile.h"
#include "spell/ox3Paths.h"
#include "spell/ox3UserRegistry.h"
#include "user_dirs.h"

namespace tovuri {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using enum TSpellOption;
namespace fs = std::filesystem;

// Stands in for the checker component, configured as the program configures it.
class FakeComponent : public TConfigOwner {
 public:
  explicit FakeComponent(fs::path app_dir) : macros(app_dir.string(), "tovuri") {}

  TConfigStorage ConfigStorage() const override { return storage; }
  std::string ConfigID() const override { return config_id; }
  std::string ConfigFilename() const override { return filename; }
  std::string ConfigRegistryKey() const override { return registry_key; }
  std::vector<std::string> ConfigDefaultMain() const override { return default_main; }
  std::vector<std::string> ConfigDefaultCustom() const override { return default_custom; }
  std::string ConfigDefaultActiveCustom() const override { return default_active; }
  TSpellOptions ConfigDefaultOptions() const override { return default_options; }
  std::string ExpandPath(std::string_view name) const override {
    std::string path = macros.Expand(name);
    ReplaceFirst(path, "%ConfigID%", ExpandConfigID());
    return path;
  }
  std::string ExpandConfigID() const override { return macros.Expand(config_id); }
  void ApplyConfiguration(bool reopen) override { applied.push_back(reopen); }
  std::string DoConfigReadString(const std::string& id, const std::string& key,
                                 const std::string& def) override {
    const auto found = callback_values.find(id + "/" + key);
    return found != callback_values.end() ? found->second : def;
  }
  void DoConfigWriteString(const std::string& id, const std::string& key,
                           const std::string& value) override {
    callback_values[id + "/" + key] = value;
  }
  void DoConfigLoaded() override { ++loaded_events; }
  void DoConfigSaved() override { ++saved_events; }
  void DoConfigSaveFailed(const std::string& file, const std::string& reason) override {
    failures.push_back(file + ": " + reason);
  }

  TConfigStorage storage = TConfigStorage::csRegistry;
  std::string config_id = "Ndebele";
  std::string filename = "%AppDir%\\Spell.cfg";
  std::string registry_key = "Software\\Tovuri";
  std::vector<std::string> default_main{"Ndebele.oxm"};
  std::vector<std::string> default_custom;
  std::string default_active = "%ConfigID%.oxu";
  TSpellOptions default_options{soLiveSpelling, soLiveCorrect, soInternet, soAbbreviations};
  TPathMacros macros;
  std::vector<bool> applied;
  int loaded_events = 0;
  int saved_events = 0;
  std::vector<std::string> failures;  // "file: reason" of each failed save
  std::map<std::string, std::string> callback_values;
};

class Configuration : public ::testing::Test {
 protected:
  Configuration() : component(dirs.Root() / "app") {}

  fs::path RegistryFile() const { return dirs.Config() / "Tovuri" / "Ndebele.reg"; }

  void WriteRegistry(const std::string& contents) const {
    fs::create_directories(RegistryFile().parent_path());
    std::ofstream(RegistryFile(), std::ios::binary) << contents;
  }

  std::vector<std::pair<std::string, std::string>> StoredValues() const {
    TUserRegistryKey key(RegistryFile());
    EXPECT_EQ(key.Load(), TFileState::fsRead) << RegistryFile();
    return key.Values();
  }

  testing::ScopedUserDirs dirs;
  FakeComponent component;
};

TEST_F(Configuration, FreshStoreGivesTheDefaults) {
  TOrthexConfig config(&component);
  EXPECT_FALSE(config.Loaded());
  EXPECT_THAT(config.MainList().Items(), ElementsAre("Ndebele.oxm"));
  EXPECT_TRUE(config.Loaded());
  EXPECT_THAT(config.CustomList().Items(), ElementsAre("Ndebele.oxu"));
  EXPECT_EQ(config.ActiveCustomName(), "Ndebele.oxu");
  EXPECT_EQ(config.ActiveCustom(), "Ndebele.oxu");
  EXPECT_THAT(config.MSWordList().Items(), IsEmpty());
  EXPECT_EQ(config.SpellOptionsValue(), component.default_options);
  EXPECT_EQ(config.DialogXValue(), -1);
  EXPECT_EQ(config.DialogYValue(), -1);
  EXPECT_THAT(config.FolderList().Items(), IsEmpty());
  EXPECT_EQ(config.RecordName(), "Ndebele");
  EXPECT_EQ(config.StorageKind(), TConfigStorage::csRegistry);
  // Every load ends modified, so the defaults are written at the next save.
  EXPECT_TRUE(config.Modified());
  EXPECT_EQ(component.loaded_events, 1);
  EXPECT_THAT(component.applied, ElementsAre(true));
  EXPECT_FALSE(fs::exists(RegistryFile()));
}

TEST_F(Configuration, SaveWritesEveryKeyInOrder) {
  {
    TOrthexConfig config(&component);
    config.SetUserValue("Colour", "blue");
    EXPECT_TRUE(config.Save());
    EXPECT_EQ(component.saved_events, 1);
    EXPECT_FALSE(config.Modified());
  }
  using Value = std::pair<std::string, std::string>;
  EXPECT_THAT(StoredValues(),
              ElementsAre(Value{"_FirstRun", "+"}, Value{"_Main_count", "1"},
                          Value{"_Main_0", "Ndebele.oxm"}, Value{"_Custom_count", "1"},
                          Value{"_Custom_0", "Ndebele.oxu"}, Value{"_MSWordCustom_count", "0"},
                          Value{"_ActiveCustom", "Ndebele.oxu"}, Value{"_soUpcase", "-"},
                          Value{"_soNumbers", "-"}, Value{"_soHTML", "-"},
                          Value{"_soInternet", "+"}, Value{"_soQuoted", "-"},
                          Value{"_soAbbreviations", "+"}, Value{"_soPrimaryOnly", "-"},
                          Value{"_soRepeated", "-"}, Value{"_soLiveSpelling", "+"},
                          Value{"_soLiveCorrect", "+"}, Value{"_soUser1", "-"},
                          Value{"_soUser2", "-"}, Value{"_soUser3", "-"}, Value{"_soUser4", "-"},
                          Value{"_DialogX", "-1"}, Value{"_DialogY", "-1"},
                          Value{"_NewPaths_count", "0"}, Value{"_UserData_count", "1"},
                          Value{"_UserData_0", "Colour"}, Value{"User_Colour", "blue"}));
  // The destructor found nothing more to save.
  EXPECT_EQ(component.saved_events, 1);
}

TEST_F(Configuration, ValuesRoundTripThroughEveryStore) {
  const TConfigStorage kinds[] = {TConfigStorage::csRegistry, TConfigStorage::csFile,
                                  TConfigStorage::csCallback};
  const TSpellOptions options{soUpcase, soNumbers, soHTML, soUser3};
  for (TConfigStorage kind : kinds) {
    component.storage = kind;
    {
      TOrthexConfig config(&component);
      config.SetSpellOptions(options);
      config.SetDialogX(120);
      config.SetDialogY(-7);
      config.MainList().Add("Extra.oxm");
      config.FolderList().Add("/b/dicts");
      config.FolderList().Add("/a/dicts");
      config.FolderList().Add("/b/dicts");
      config.SetActiveCustom("Mine.oxu");
      config.SetUserValue("Key", "a=b;c\\d");
      config.SetUserValue("Other", "");
    }
    TOrthexConfig config(&component);
    const std::string kind_name = std::to_string(static_cast<int>(kind));
    EXPECT_EQ(config.SpellOptionsValue(), options) << "store " << kind_name;
    EXPECT_EQ(config.DialogXValue(), 120) << "store " << kind_name;
    EXPECT_EQ(config.DialogYValue(), -7) << "store " << kind_name;
    EXPECT_THAT(config.MainList().Items(), ElementsAre("Ndebele.oxm", "Extra.oxm"))
        << "store " << kind_name;
    EXPECT_THAT(config.FolderList().Items(), ElementsAre("/a/dicts", "/b/dicts"))
        << "store " << kind_name;
    EXPECT_THAT(config.CustomList().Items(), ElementsAre("Ndebele.oxu", "Mine.oxu"))
        << "store " << kind_name;
    EXPECT_EQ(config.ActiveCustomName(), "Mine.oxu") << "store " << kind_name;
    EXPECT_EQ(config.GetUserValue("Key"), "a=b;c\\d") << "store " << kind_name;
    EXPECT_EQ(config.GetUserValue("Other"), "") << "store " << kind_name;
    EXPECT_EQ(config.GetUserValue("Missing"), "") << "store " << kind_name;
  }
  EXPECT_TRUE(fs::exists(RegistryFile()));
  EXPECT_TRUE(fs::exists(dirs.Root() / "app" / "Spell.cfg"));
  EXPECT_EQ(component.callback_values["Ndebele/_FirstRun"], "+");
}

TEST_F(Configuration, FileStoreCreatesItsFolderChainAndKeepsOtherSections) {
  component.storage = TConfigStorage::csFile;
  component.filename = "%AppDir%\\deep\\er\\Spell.cfg";
  const fs::path file = dirs.Root() / "app" / "deep" / "er" / "Spell.cfg";
  {
    TOrthexConfig config(&component);
    config.EnsureLoaded();
    EXPECT_TRUE(fs::is_directory(file.parent_path()));
    EXPECT_EQ(config.FileName(), (dirs.Root() / "app").string() + "\\deep\\er\\Spell.cfg");
  }
  std::ofstream(file, std::ios::app) << "[Other]\nkeep=this\n; a comment\n";
  {
    TOrthexConfig config(&component);
    config.SetSpellOptions({soQuoted});
  }
  TIniFile ini(file);
  ASSERT_EQ(ini.Load(), TFileState::fsRead);
  EXPECT_EQ(ini.Read("Ndebele", "_soQuoted"), "+");
  EXPECT_EQ(ini.Read("other", "KEEP"), "this");
  std::ifstream in(file);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("; a comment"), std::string::npos) << text;
}

TEST_F(Configuration, NoStoreReadsDefaultsAndWritesNothing) {
  component.storage = TConfigStorage::csNone;
  {
    TOrthexConfig config(&component);
    config.SetSpellOptions({soUpcase});
    EXPECT_TRUE(config.Save());
  }
  TOrthexConfig config(&component);
  EXPECT_EQ(config.SpellOptionsValue(), component.default_options);
  EXPECT_FALSE(fs::exists(dirs.Config()));
}

TEST_F(Configuration, ResetToDefaultsAppliesThemDespiteFirstRunMark) {
  {
    TOrthexConfig config(&component);
    config.SetSpellOptions({soUpcase});
    config.CustomList().Clear();
    config.SetActiveCustom("Other.oxu");
    config.SetDialogX(5);
  }
  TOrthexConfig config(&component);
  EXPECT_EQ(config.SpellOptionsValue(), (TSpellOptions{soUpcase}));
  component.applied.clear();
  config.ResetToDefaults();
  EXPECT_FALSE(config.ResetOnNextLoad());
  EXPECT_EQ(config.SpellOptionsValue(), component.default_options);
  EXPECT_EQ(config.DialogXValue(), -1);
  EXPECT_EQ(config.ActiveCustomName(), "Ndebele.oxu");
  EXPECT_THAT(config.CustomList().Items(), ElementsAre("Ndebele.oxu"));
  EXPECT_THAT(component.applied, ElementsAre(true));

  // Resetting before the first load takes effect at that load.
  TOrthexConfig lazy(&component);
  lazy.ResetToDefaults();
  EXPECT_FALSE(lazy.Loaded());
  EXPECT_TRUE(lazy.ResetOnNextLoad());
  EXPECT_EQ(lazy.SpellOptionsValue(), component.default_options);
}

TEST_F(Configuration, ResetKeepsActiveDictionaryInCustomList) {
  {
    TOrthexConfig config(&component);
    config.EnsureLoaded();
  }
  TOrthexConfig config(&component);
  ASSERT_EQ(config.ActiveCustomName(), "Ndebele.oxu");
  config.ResetToDefaults();
  EXPECT_THAT(config.CustomList().Items(), ElementsAre("Ndebele.oxu"));
}

TEST_F(Configuration, MalformedListCountReadsAsZero) {
  const struct {
    const char* count;
    std::vector<std::string> items;
  } cases[] = {
      {"abc", {}},         {"", {}},           {"-", {}},         {"1x", {}},
      {"-3", {}},          {"0x2", {}},        {"2", {"A.oxm", "B.oxm"}},
      {" 2 ", {"A.oxm", "B.oxm"}},             {"99999999999999999999", {}},
      {"4000000000", {"A.oxm", "B.oxm"}},      {"3", {"A.oxm", "B.oxm"}},
  };
  for (const auto& c : cases) {
    WriteRegistry(std::string("_FirstRun=+\n_Main_count=") + c.count +
                  "\n_Main_0=A.oxm\n_Main_1=B.oxm\n_Main_2=\n");
    TOrthexConfig config(&component);
    EXPECT_EQ(config.MainList().Items(), c.items) << "count \"" << c.count << "\"";
    config.SetLoaded(false);
  }
}

TEST_F(Configuration, ChangesReachTheComponent) {
  TOrthexConfig config(&component);
  config.EnsureLoaded();
  component.applied.clear();
  config.SetSpellOptions({soHTML});
  config.SetSpellOptions({soHTML});  // unchanged: nothing happens
  config.SetDialogY(3);
  config.MainList().Add("Second.oxm");
  config.FolderList().Add("/x");
  config.SetActiveCustom("New.oxu");
  config.SetActiveCustom("New.oxu");
  config.SetUserValue("k", "v");
  EXPECT_THAT(component.applied, ElementsAre(false, false, true, true, true, false));
  EXPECT_THAT(config.CustomList().Items(), ElementsAre("Ndebele.oxu", "New.oxu"));
}

TEST_F(Configuration, SavesOnlyWhenModifiedAndLoaded) {
  {
    TOrthexConfig never_loaded(&component);
    EXPECT_TRUE(never_loaded.Save());
  }
  EXPECT_EQ(component.saved_events, 0);
  EXPECT_FALSE(fs::exists(RegistryFile()));

  TOrthexConfig config(&component);
  config.EnsureLoaded();
  EXPECT_TRUE(config.Save());
  EXPECT_TRUE(config.Save());
  EXPECT_EQ(component.saved_events, 1);
  config.SetLoaded(false);
  EXPECT_FALSE(config.Loaded());
  EXPECT_EQ(component.saved_events, 1);
}

TEST_F(Configuration, ReloadSavesToTheOldPlaceAndReadsTheNewOne) {
  TOrthexConfig config(&component);
  config.SetSpellOptions({soUpcase});
  component.storage = TConfigStorage::csFile;
  config.Reload();
  EXPECT_EQ(config.StorageKind(), TConfigStorage::csFile);
  EXPECT_EQ(config.SpellOptionsValue(), component.default_options);
  TUserRegistryKey key(RegistryFile());
  ASSERT_EQ(key.Load(), TFileState::fsRead);
  EXPECT_EQ(key.Read("_soUpcase"), "+");
  // Single values outside a load go to the place the component names now.
  config.WriteString("Probe", "1");
  EXPECT_EQ(config.ReadString("Probe", "-"), "1");
  TIniFile ini(dirs.Root() / "app" / "Spell.cfg");
  ini.Load();
  EXPECT_EQ(ini.Read("Ndebele", "Probe"), "1");
}

TEST_F(Configuration, SettingBeforeTheFirstLoadIsNotLost) {
  {
    TOrthexConfig config(&component);
    config.SetSpellOptions({soNumbers});
  }
  TOrthexConfig config(&component);
  EXPECT_EQ(config.SpellOptionsValue(), (TSpellOptions{soNumbers}));
}

TEST_F(Configuration, RecordNameAndRegistryKeyAreExpanded) {
  dirs.Set("USER", "thandi");
  component.config_id = "%UserName%";
  component.registry_key = "Software\\Tovuri\\%AppName%";
  {
    TOrthexConfig config(&component);
    EXPECT_EQ(config.ActiveCustomName(), "thandi.oxu");
    EXPECT_EQ(config.RecordName(), "thandi");
    EXPECT_EQ(config.RegistryKey(), "Software\\Tovuri\\tovuri");
  }
  EXPECT_TRUE(fs::exists(dirs.Config() / "Tovuri" / "tovuri" / "thandi.reg"));
}

TEST_F(Configuration, GarbageStoresGiveTheDefaults) {
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
  const std::string texts[] = {garbage, "=\n==\n\\\n_FirstRun\n[x]\n", std::string(3, '\0')};
  for (const std::string& text : texts) {
    WriteRegistry(text);
    TOrthexConfig config(&component);
    EXPECT_THAT(config.MainList().Items(), ElementsAre("Ndebele.oxm"));
    EXPECT_EQ(config.SpellOptionsValue(), component.default_options);
  }
  component.storage = TConfigStorage::csFile;
  fs::create_directories(dirs.Root() / "app");
  std::ofstream(dirs.Root() / "app" / "Spell.cfg", std::ios::binary) << garbage;
  TOrthexConfig config(&component);
  EXPECT_EQ(config.ActiveCustomName(), "Ndebele.oxu");
}

TEST_F(Configuration, UnreadableStoreGivesDefaultsAndIsNotOverwritten) {
  // A folder where the file should be cannot be read or replaced.
  fs::create_directories(RegistryFile());
  {
    TOrthexConfig config(&component);
    EXPECT_THAT(config.MainList().Items(), ElementsAre("Ndebele.oxm"));
    EXPECT_FALSE(config.Save());
    EXPECT_TRUE(config.Modified());
  }
  EXPECT_TRUE(fs::is_directory(RegistryFile()));
  EXPECT_EQ(component.saved_events, 0);

  // A file without read permission (meaningless for root, who reads anything).
  fs::remove(RegistryFile());
  WriteRegistry("_FirstRun=+\n_soUpcase=+\n");
  fs::permissions(RegistryFile(), fs::perms::none);
  std::ifstream probe(RegistryFile());
  if (!probe) {
    TOrthexConfig config(&component);
    EXPECT_EQ(config.SpellOptionsValue(), component.default_options);
    EXPECT_FALSE(config.Save());
  }
  fs::permissions(RegistryFile(), fs::perms::owner_read | fs::perms::owner_write);
}

// A save that cannot write the file says so, with the file and why, leaves
// the old file whole and the configuration modified, so the next save tries
// again; a file that cannot be read is said not to be overwritten.
TEST_F(Configuration, AFailedSaveIsSaidAndKeepsTheOldFile) {
  WriteRegistry("_FirstRun=+\n_Main_count=1\n_Main_0=Ndebele.oxm\n");
  const std::string old_settings = "_FirstRun=+\n_Main_count=1\n_Main_0=Ndebele.oxm\n";
  TOrthexConfig config(&component);
  config.SetSpellOptions({soUpcase});
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_signal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit none = saved;
  none.rlim_cur = 0;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
  const bool written = config.Save();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_signal);
  EXPECT_FALSE(written);
  EXPECT_TRUE(config.Modified());
  EXPECT_THAT(component.failures, ElementsAre(RegistryFile().string() + ": " + std::strerror(EFBIG)));
  std::ifstream in(RegistryFile(), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), old_settings);
  EXPECT_TRUE(config.Save());
  EXPECT_EQ(component.failures.size(), 1u);

  fs::remove(RegistryFile());
  fs::create_directories(RegistryFile());
  component.failures.clear();
  TOrthexConfig unreadable(&component);
  unreadable.SetSpellOptions({soUpcase});
  EXPECT_FALSE(unreadable.Save());
  EXPECT_THAT(component.failures,
              ElementsAre(RegistryFile().string() + ": the file could not be read, so it is not overwritten"));
}

TEST_F(Configuration, WithoutConfigFolderNothingIsStored) {
  // Without HOME the password database names the home folder, so only a
  // user that it does not know has no configuration folder at all.
  if (geteuid() != 0) GTEST_SKIP() << "needs to run as a user without a password entry";
  dirs.Set("XDG_CONFIG_HOME", std::nullopt);
  dirs.Set("HOME", std::nullopt);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (setgid(54321) != 0 || setuid(54321) != 0) _exit(2);
    TOrthexConfig config(&component);
    const bool as_expected = config.ActiveCustomName() == "Ndebele.oxu" && UserConfigDir().empty() &&
                             !config.Save();
    _exit(as_expected ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST_F(Configuration, WithoutHomeVariableThePasswordDatabaseNamesTheHome) {
  dirs.Set("XDG_CONFIG_HOME", std::nullopt);
  dirs.Set("HOME", std::nullopt);
  const passwd* entry = getpwuid(getuid());
  if (entry == nullptr || entry->pw_dir == nullptr || entry->pw_dir[0] != '/')
    GTEST_SKIP() << "this user has no home in the password database";
  EXPECT_EQ(HomeDir(), fs::path(entry->pw_dir).lexically_normal().string());
  EXPECT_EQ(UserConfigDir(), HomeDir() + "/.config");
}

TEST(ConfigList, SortedListIgnoresDuplicates) {
  TConfigList list(true);
  list.Assign({"c", "a", "c", "b"});
  EXPECT_THAT(list.Items(), ElementsAre("a", "b", "c"));
  list.Insert(0, "d");
  EXPECT_THAT(list.Items(), ElementsAre("a", "b", "c", "d"));
  EXPECT_EQ(list.IndexOf("c"), 2);
  EXPECT_TRUE(list.Remove("a"));
  EXPECT_FALSE(list.Remove("zz"));
  list.Delete(99);
  EXPECT_THAT(list.Items(), ElementsAre("b", "c", "d"));
}

}  // namespace
}  // namespace tovuri
