#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "spell/ox3Paths.h"
#include "spell/ox3UserRegistry.h"
#include "user_dirs.h"

namespace tovuri {
namespace {

TEST(PathMacros, ExpandsEachMacroWhereItFirstOccurs) {
  testing::ScopedUserDirs dirs;
  dirs.Set("USER", "sipho");
  dirs.Set("UserName", std::nullopt);
  dirs.Set("TOVURI_TEST_VAR", "value");
  const TPathMacros macros("/opt/tovuri/share/", "tovuri");
  const std::string data = dirs.Data().string();
  const struct {
    const char* name;
    std::string expanded;
  } cases[] = {
      {"%AppDir%\\Spell.cfg", "/opt/tovuri/share\\Spell.cfg"},
      {"%AppName%.ini", "tovuri.ini"},
      {"%AppDir%-%AppDir%", "/opt/tovuri/share-%AppDir%"},
      {"%UserName%_sp.oxl", "sipho_sp.oxl"},
      {"%UserName%/%UserName%", "sipho/%UserName%"},
      {"%AppData%/Tovuri", data + "/Tovuri"},
      {"%TOVURI_TEST_VAR%/x/%TOVURI_TEST_VAR%", "value/x/value"},
      {"%NOT_SET_ANYWHERE%", "%NOT_SET_ANYWHERE%"},
      {"100% sure %TOVURI_TEST_VAR%", "100% sure value"},
      {"plain", "plain"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(macros.Expand(c.name), c.expanded) << "name " << c.name;
}

TEST(PathMacros, UserNameIsDefaultWhenUnknown) {
  testing::ScopedUserDirs dirs;
  dirs.Set("USER", std::nullopt);
  dirs.Set("LOGNAME", "");
  EXPECT_EQ(UserName(), "default");
  EXPECT_EQ(TPathMacros().Expand("%UserName%.oxu"), "default.oxu");
  dirs.Set("LOGNAME", "zodwa");
  EXPECT_EQ(UserName(), "zodwa");
  dirs.Set("USER", std::string(300, 'u'));
  EXPECT_EQ(UserName().size(), 256u);
}

TEST(PathMacros, FollowsTheXdgFolders) {
  testing::ScopedUserDirs dirs;
  EXPECT_EQ(UserDataDir(), dirs.Data().string());
  EXPECT_EQ(UserConfigDir(), dirs.Config().string());
  dirs.Set("XDG_DATA_HOME", std::nullopt);
  dirs.Set("XDG_CONFIG_HOME", "relative/ignored");
  EXPECT_EQ(UserDataDir(), (dirs.Home() / ".local/share").string());
  EXPECT_EQ(UserConfigDir(), (dirs.Home() / ".config").string());

  EXPECT_EQ(UserDocumentsDir(), dirs.Home().string());
  std::filesystem::create_directories(dirs.Home() / ".config");
  std::ofstream(dirs.Home() / ".config" / "user-dirs.dirs")
      << "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
  EXPECT_EQ(TPathMacros().Expand("%MyDocuments%/x"), (dirs.Home() / "Dokumente").string() + "/x");
}

TEST(PathMacros, AppDirDropsTrailingSeparators) {
  TPathMacros macros;
  macros.SetAppDir("/usr/share/tovuri//");
  EXPECT_EQ(macros.AppDir(), "/usr/share/tovuri");
  macros.SetAppDir("C:\\Program Files\\Tovuri\\");
  EXPECT_EQ(macros.AppDir(), "C:\\Program Files\\Tovuri");
  EXPECT_EQ(NativePath("%AppDir%\\Spell.cfg"), "%AppDir%/Spell.cfg");
}

TEST(UserRegistry, KeyPathsMapToFilesUnderTheConfigFolder) {
  testing::ScopedUserDirs dirs;
  const std::string config = dirs.Config().string();
  const struct {
    const char* key;
    const char* subkey;
    std::string file;
  } cases[] = {
      {"Software\\Tovuri", "Ndebele", config + "/Tovuri/Ndebele.reg"},
      {"Software/Orthexian Software\\tovuri", "me", config + "/Orthexian Software/tovuri/me.reg"},
      {"Tovuri", "", config + "/Tovuri.reg"},
      {"Software\\..\\..\\Tovuri", "..", config + "/Tovuri.reg"},
      {"Software", "", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TUserRegistryKey::FileFor(c.key, c.subkey).string(), c.file)
        << "key " << c.key << " subkey " << c.subkey;
}

TEST(UserRegistry, ValuesSurviveAnyCharacters) {
  testing::ScopedUserDirs dirs;
  const auto file = TUserRegistryKey::FileFor("Software\\Tovuri", "Values");
  const std::string awkward = std::string("a=b\\c\r\nd\0e", 10);
  {
    TUserRegistryKey key(file);
    EXPECT_EQ(key.Load(), TFileState::fsMissing);
    key.Write("name=with\\odd\nchars", awkward);
    key.Write("plain", "v1");
    key.Write("plain", "v2");
    EXPECT_TRUE(key.Save());
  }
  TUserRegistryKey key(file);
  EXPECT_EQ(key.Load(), TFileState::fsRead);
  EXPECT_EQ(key.Read("name=with\\odd\nchars"), awkward);
  EXPECT_EQ(key.Read("plain"), "v2");
  EXPECT_EQ(key.Values().size(), 2u);
  // No temporary file is left behind; the lock that writers share stays.
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
    files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"Values.reg", "Values.reg.lock"}));
}

}  // namespace
}  // namespace tovuri
