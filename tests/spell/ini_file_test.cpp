#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "spell/ox3IniFile.h"
#include "user_dirs.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(IniFile, ReadsAsWindowsDoes) {
  testing::ScopedUserDirs dirs;
  const fs::path file = dirs.Root() / "a.ini";
  std::ofstream(file, std::ios::binary)
      << "loose=ignored\r\n[Ndebele]\r\n  _Main_count = 2 \r\n;_Main_0=comment\r\n"
         "_MAIN_0=first\r\n_Main_0=second\r\nno equals here\r\n=no key\r\n"
         "[ndebele]\r\n_Main_1=other section\r\n[Next]\r\nx=1\r\n";
  TIniFile ini(file);
  ASSERT_EQ(ini.Load(), TFileState::fsRead);
  const struct {
    const char* section;
    const char* key;
    std::optional<std::string> value;
  } cases[] = {
      {"Ndebele", "_Main_count", "2"},  {"NDEBELE", "_main_0", "first"},
      {"Ndebele", "_Main_1", std::nullopt}, {"Next", "x", "1"},
      {"Ndebele", "loose", std::nullopt},   {"Missing", "x", std::nullopt},
      {"Ndebele", "no equals here", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ini.Read(c.section, c.key), c.value) << "[" << c.section << "] " << c.key;
}

TEST(IniFile, RewritesOnlyWhatChanged) {
  testing::ScopedUserDirs dirs;
  const fs::path file = dirs.Root() / "sub" / "b.ini";
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << "; keep me\n[Other]\nk=v\n[Rec]\na=1\n";
  TIniFile ini(file);
  ASSERT_EQ(ini.Load(), TFileState::fsRead);
  EXPECT_TRUE(ini.Save());  // nothing written: the file stays as it was
  ini.Write("Rec", "a", "2");
  ini.Write("Rec", "b", "two\nlines");
  ini.Write("New", "c", "3");
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(ReadAll(file), "; keep me\n[Other]\nk=v\n[Rec]\na=2\nb=two lines\n[New]\nc=3\n");
}

TEST(IniFile, UnreadableFileIsNeverOverwritten) {
  testing::ScopedUserDirs dirs;
  const fs::path folder = dirs.Root() / "c.ini";
  fs::create_directories(folder);
  TIniFile ini(folder);
  EXPECT_EQ(ini.Load(), TFileState::fsUnreadable);
  ini.Write("Rec", "a", "1");
  EXPECT_FALSE(ini.Save());
  EXPECT_TRUE(fs::is_directory(folder));
}

TEST(IniFile, OversizedFileIsNotRead) {
  testing::ScopedUserDirs dirs;
  const fs::path file = dirs.Root() / "big.ini";
  {
    std::ofstream out(file, std::ios::binary);
    out << "[Rec]\na=1\n";
    out.seekp(static_cast<std::streamoff>(kMaxSettingsFileSize) + 10);
    out << '\n';
  }
  TIniFile ini(file);
  EXPECT_EQ(ini.Load(), TFileState::fsUnreadable);
  EXPECT_EQ(ini.Read("Rec", "a"), std::nullopt);
}

TEST(AtomicWrite, FailureLeavesTheOldFile) {
  testing::ScopedUserDirs dirs;
  const fs::path file = dirs.Root() / "d" / "e.txt";
  ASSERT_TRUE(WriteSettingsFile(file, "old"));
  EXPECT_EQ(ReadAll(file), "old");
  ASSERT_TRUE(WriteSettingsFile(file, "new"));
  EXPECT_EQ(ReadAll(file), "new");
  // A folder in the way of the folder chain: nothing can be written.
  std::ofstream(dirs.Root() / "blocker") << "x";
  EXPECT_FALSE(WriteSettingsFile(dirs.Root() / "blocker" / "f.txt", "data"));
  EXPECT_EQ(ReadAll(dirs.Root() / "blocker"), "x");
  // A folder where the file should be: the rename fails, the temporary file goes.
  fs::create_directories(dirs.Root() / "g.txt" / "inner");
  EXPECT_FALSE(WriteSettingsFile(dirs.Root() / "g.txt", "data"));
  for (const auto& entry : fs::directory_iterator(dirs.Root()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
        << "left behind: " << entry.path();
  EXPECT_TRUE(fs::is_directory(dirs.Root() / "g.txt" / "inner"));
}

}  // namespace
}  // namespace tovuri
