#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
  std::string error;
  ASSERT_TRUE(WriteSettingsFile(file, "old", error));
  EXPECT_EQ(ReadAll(file), "old");
  ASSERT_TRUE(WriteSettingsFile(file, "new", error));
  EXPECT_EQ(ReadAll(file), "new");
  EXPECT_EQ(error, "");
  // A folder in the way of the folder chain: nothing can be written.
  std::ofstream(dirs.Root() / "blocker") << "x";
  EXPECT_FALSE(WriteSettingsFile(dirs.Root() / "blocker" / "f.txt", "data", error));
  EXPECT_EQ(error, std::strerror(ENOTDIR));
  EXPECT_EQ(ReadAll(dirs.Root() / "blocker"), "x");
  // A folder where the file should be: the rename fails, the temporary file goes.
  fs::create_directories(dirs.Root() / "g.txt" / "inner");
  EXPECT_FALSE(WriteSettingsFile(dirs.Root() / "g.txt", "data", error));
  EXPECT_EQ(error, std::strerror(EISDIR));
  for (const auto& entry : fs::directory_iterator(dirs.Root()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
        << "left behind: " << entry.path();
  EXPECT_TRUE(fs::is_directory(dirs.Root() / "g.txt" / "inner"));
}

// As a full disk does: writes past a size fail (the file size limit stands
// in for the disk, so no test fills one). The old file stays whole, no
// temporary file is left, and the error says why.
TEST(AtomicWrite, AWriteThatRunsOutOfRoomLeavesTheOldFileWhole) {
  testing::ScopedUserDirs dirs;
  const fs::path file = dirs.Config() / "Tovuri" / "Ndebele.reg";
  std::string error;
  const std::string old_settings = "_FirstRun=+\n_Main_count=1\n_Main_0=Ndebele.oxm\n";
  ASSERT_TRUE(WriteSettingsFile(file, old_settings, error));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_signal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 512;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteSettingsFile(file, std::string(4096, 'x'), error);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_signal);
  EXPECT_FALSE(written);
  EXPECT_EQ(error, std::strerror(EFBIG));
  EXPECT_EQ(ReadAll(file), old_settings);
  for (const auto& entry : fs::directory_iterator(file.parent_path()))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << "left behind: " << entry.path();
}

// A process killed while writing leaves its temporary file; the next write
// of the same file removes it, and only those of that file.
TEST(AtomicWrite, RemovesTheTemporaryFilesOfWritesThatWereKilled) {
  testing::ScopedUserDirs dirs;
  const fs::path folder = dirs.Config() / "Tovuri";
  fs::create_directories(folder);
  for (const char* name : {"Ndebele.reg.tmpAb12Cd", "Ndebele.reg.tmpzzzzzz", "Ndebele.reg.tmp", "Ndebele.reg.tmpAb12Cd7",
                           "Other.reg.tmpAb12Cd", "Ndebele.reg.lock"})
    std::ofstream(folder / name) << "half";
  std::string error;
  ASSERT_TRUE(WriteSettingsFile(folder / "Ndebele.reg", "_FirstRun=+\n", error)) << error;
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder)) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Ndebele.reg", "Ndebele.reg.lock", "Ndebele.reg.tmp",
                                            "Ndebele.reg.tmpAb12Cd7", "Other.reg.tmpAb12Cd"}));
}

}  // namespace
}  // namespace tovuri
