#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "spell/ox3CustomDictionary.h"
#include "temp_folder.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;

using testing::TempDir;

std::vector<std::string> AddedWords(const std::string& path) {
  TCustomDictionary dictionary;
  std::vector<std::string> words;
  if (!dictionary.Open(path)) return words;
  for (int i = 0; i < dictionary.AddedWordCount(); ++i) words.push_back(dictionary.AddedWordAt(i));
  std::sort(words.begin(), words.end());
  return words;
}

// Names of the files in a folder, sorted.
std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CustomDictionarySaving, FailedSaveSaysWhyKeepsTheChangesAndTheNextSaveWritesThem) {
  TempDir temp;
  const fs::path folder = temp.Path() / "user";
  const fs::path away = temp.Path() / "away";
  fs::create_directories(folder);
  const std::string path = (folder / "u.oxu").string();
  TCustomDictionary dictionary;
  ASSERT_TRUE(dictionary.Open(path));
  ASSERT_TRUE(dictionary.AddWord("alpha"));
  ASSERT_TRUE(dictionary.Save());
  EXPECT_EQ(dictionary.SaveError(), "");
  ASSERT_TRUE(dictionary.AddWord("beta"));

  // The folder goes away: nothing can be written there.
  fs::rename(folder, away);
  EXPECT_FALSE(dictionary.Save());
  EXPECT_NE(dictionary.SaveError(), "") << "a failed save says why";
  EXPECT_TRUE(dictionary.Modified());
  EXPECT_FALSE(dictionary.SetActive(false)) << "unloading would drop the word";
  EXPECT_TRUE(dictionary.Contains("beta"));

  fs::rename(away, folder);
  EXPECT_TRUE(dictionary.Save());
  EXPECT_EQ(dictionary.SaveError(), "");
  EXPECT_FALSE(dictionary.Modified());
  EXPECT_EQ(AddedWords(path), (std::vector<std::string>{"alpha", "beta"}));
}

TEST(CustomDictionarySaving, PendingChangesMoveToANewObjectOfTheSameFile) {
  TempDir temp;
  const fs::path folder = temp.Path() / "user";
  fs::create_directories(folder);
  const std::string path = (folder / "u.oxu").string();
  auto old_object = std::make_unique<TCustomDictionary>();
  ASSERT_TRUE(old_object->Open(path));
  ASSERT_TRUE(old_object->AddWord("alpha"));
  ASSERT_TRUE(old_object->Save());
  ASSERT_TRUE(old_object->AddWord("beta"));
  ASSERT_TRUE(old_object->RemoveWord("alpha"));

  // Another program adds a word meanwhile.
  {
    TCustomDictionary other;
    ASSERT_TRUE(other.Open(path));
    ASSERT_TRUE(other.AddWord("gamma"));
    ASSERT_TRUE(other.Save());
  }
  TCustomDictionary new_object;
  ASSERT_TRUE(new_object.Open(path));
  new_object.TakePendingChanges(*old_object);
  EXPECT_FALSE(old_object->Modified());
  old_object.reset();
  EXPECT_TRUE(new_object.Modified());
  EXPECT_TRUE(new_object.Contains("beta"));
  EXPECT_FALSE(new_object.Contains("alpha"));
  ASSERT_TRUE(new_object.Save());
  EXPECT_EQ(AddedWords(path), (std::vector<std::string>{"beta", "gamma"}));
}

// Each of two processes adds its own words one save at a time, as two
// programs sharing the user's dictionary do; the lock around each save must
// keep every word.
TEST(CustomDictionarySaving, TwoProcessesSavingInTurnLoseNoWord) {
  TempDir temp;
  const std::string path = temp.File("shared.oxu");
  constexpr int kRounds = 500;
  std::vector<pid_t> children;
  for (const char* name : {"a", "b"}) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int failures = 0;
      for (int round = 0; round < kRounds; ++round) {
        TCustomDictionary dictionary;
        if (!dictionary.Open(path) || !dictionary.AddWord(name + std::to_string(round)) || !dictionary.Save())
          ++failures;
      }
      _exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "every save answered true";
  }
  const std::vector<std::string> words = AddedWords(path);
  EXPECT_EQ(words.size(), 2u * kRounds);
  for (const char* name : {"a", "b"})
    for (int round = 0; round < kRounds; ++round)
      EXPECT_TRUE(std::binary_search(words.begin(), words.end(), name + std::to_string(round)))
          << name << round << " was lost";
}

TEST(CustomDictionarySaving, SaveRemovesStaleTemporaryFilesOfItsOwnNamingOnly) {
  TempDir temp;
  const std::string path = temp.File("u.oxu");
  // What saves killed halfway leave behind, and files that only look alike.
  for (const char* name : {"u.oxu.tmpAb12Zx", "u.oxu.tmp000000", "u.oxu.tmpshort", "u.oxu.tmpTooLong1",
                           "v.oxu.tmpAb12Zx", "u.oxu.tmp-b12Zx", "notes.txt"})
    std::ofstream(temp.File(name)) << "x";
  TCustomDictionary dictionary;
  ASSERT_TRUE(dictionary.Open(path));
  ASSERT_TRUE(dictionary.AddWord("alpha"));
  ASSERT_TRUE(dictionary.Save());
  EXPECT_EQ(FolderEntries(temp.Path()),
            (std::vector<std::string>{"notes.txt", "u.oxu", "u.oxu.lock", "u.oxu.tmp-b12Zx",
                                      "u.oxu.tmpTooLong1", "u.oxu.tmpshort", "v.oxu.tmpAb12Zx"}));
}

TEST(CustomDictionarySaving, SavesKilledHalfwayLoseNothingAndLeaveNothingBehind) {
  TempDir temp;
  const std::string path = temp.File("u.oxu");
  int saved = 0;  // words the killed process is known to have saved
  for (int kill_round = 0; kill_round < 20; ++kill_round) {
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(pipe_ends[0]);
      for (int word = saved;; ++word) {
        TCustomDictionary dictionary;
        // A word the killed process saved without telling is there already.
        if (!dictionary.Open(path)) _exit(1);
        dictionary.AddWord("w" + std::to_string(word));
        if (!dictionary.Save()) _exit(1);
        // Tells the parent this word is safe.
        if (write(pipe_ends[1], "s", 1) != 1) _exit(1);
      }
    }
    close(pipe_ends[1]);
    // Let a few saves through, then kill it somewhere in the middle of one.
    char byte;
    for (int i = 0; i < 3 + kill_round % 4 && read(pipe_ends[0], &byte, 1) == 1; ++i) ++saved;
    std::this_thread::sleep_for(std::chrono::microseconds(200 * (kill_round % 5)));
    kill(pid, SIGKILL);
    while (read(pipe_ends[0], &byte, 1) == 1) ++saved;
    close(pipe_ends[0]);
    waitpid(pid, nullptr, 0);
  }
  TCustomDictionary dictionary;
  ASSERT_TRUE(dictionary.Open(path));
  for (int word = 0; word < saved; ++word)
    EXPECT_TRUE(dictionary.Contains("w" + std::to_string(word))) << "w" << word << " was saved, then lost";
  ASSERT_TRUE(dictionary.AddWord("last"));
  ASSERT_TRUE(dictionary.Save());
  EXPECT_EQ(FolderEntries(temp.Path()), (std::vector<std::string>{"u.oxu", "u.oxu.lock"}));
}

// Found by fuzzing: a file whose table holds "abantu" in two slots loaded,
// and removing the word then left it in the dictionary. Such a file is
// damaged and is refused (and so never overwritten).
TEST(CustomDictionarySaving, FileWithOneWordInTwoSlotsIsRefused) {
  TempDir temp;
  const std::string path = temp.File("damaged.oxu");
  fs::copy_file(fs::path(TOVURI_TEST_DATA_DIR) / "fuzz/one_word_in_two_slots.oxu", path);
  const auto size = fs::file_size(path);
  TCustomDictionary dictionary;
  ASSERT_TRUE(dictionary.Open(path)) << "the banner is sound";
  EXPECT_FALSE(dictionary.SetActive(true));
  EXPECT_FALSE(dictionary.Contains("abantu"));
  EXPECT_FALSE(dictionary.AddWord("umuzi"));
  EXPECT_TRUE(dictionary.Save());
  EXPECT_EQ(fs::file_size(path), size);
}

}  // namespace
}  // namespace tovuri
