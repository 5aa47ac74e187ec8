#include <dlfcn.h>
#include <enchant.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../spell/user_dirs.h"
#include "spell/ox3CustomDictionary.h"

namespace tovuri {
namespace {

namespace fs = std::filesystem;
using testing::ScopedUserDirs;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs a shell command; its standard output, and its standard error apart.
struct Ran {
  int status = -1;
  std::string out;
  std::string err;
};

// Enchant with only the provider of the build tree, the shipped data, and
// every per-user folder (Enchant's own too) in a temporary home.
class EnchantProvider : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(fs::path(TOVURI_ENCHANT_TEST_MODULES) / "enchant_tovuri.so") ||
        !fs::exists(fs::path(TOVURI_BIN_DIR) / "Ndebele.oxm"))
      GTEST_SKIP() << "the provider or the shipped Ndebele.oxm is not built";
    dirs_.Set("ENCHANT_CONFIG_DIR", dirs_.Root() / "enchant");
    dirs_.Set("TOVURI_ENCHANT_MODULE_DIR", fs::path(TOVURI_ENCHANT_TEST_MODULES));
    dirs_.Set("TOVURI_DATA_DIR", fs::path(TOVURI_BIN_DIR));
    broker_ = enchant_broker_init();
  }
  void TearDown() override {
    if (dict_ != nullptr) enchant_broker_free_dict(broker_, dict_);
    if (broker_ != nullptr) enchant_broker_free(broker_);
  }

  EnchantDict* Dict(const char* tag = "nd") {
    if (dict_ == nullptr) dict_ = enchant_broker_request_dict(broker_, tag);
    return dict_;
  }
  void FreeDict() {
    enchant_broker_free_dict(broker_, dict_);
    dict_ = nullptr;
  }

  static bool Check(EnchantDict* dict, const std::string& word) {
    return enchant_dict_check(dict, word.data(), static_cast<ssize_t>(word.size())) == 0;
  }
  static std::vector<std::string> Suggest(EnchantDict* dict, const std::string& word) {
    size_t count = 0;
    char** list = enchant_dict_suggest(dict, word.data(), static_cast<ssize_t>(word.size()), &count);
    std::vector<std::string> suggestions(list, list + count);
    enchant_dict_free_string_list(dict, list);
    return suggestions;
  }

  TCustomDictionary* CustomDictionary() {
    custom_ = std::make_unique<TCustomDictionary>();
    const fs::path file = dirs_.Data() / "Tovuri/Ndebele.oxu";
    return fs::exists(file) && custom_->Open(file.string()) ? custom_.get() : nullptr;
  }

  Ran Run(const std::string& command) {
    Ran ran;
    const fs::path out = dirs_.Root() / "out.txt";
    const fs::path err = dirs_.Root() / "err.txt";
    ran.status =
        std::system(("timeout 120 " + command + " > " + out.string() + " 2> " + err.string()).c_str());
    ran.out = ReadFile(out);
    ran.err = ReadFile(err);
    return ran;
  }

  ScopedUserDirs dirs_;
  EnchantBroker* broker_ = nullptr;
  EnchantDict* dict_ = nullptr;
  std::unique_ptr<TCustomDictionary> custom_;
};

TEST_F(EnchantProvider, IsFoundForNdebeleAndNothingElse) {
  EXPECT_EQ(enchant_broker_dict_exists(broker_, "nd"), 1);
  EXPECT_EQ(enchant_broker_dict_exists(broker_, "nd_ZW"), 1);
  EXPECT_EQ(enchant_broker_dict_exists(broker_, "nd-ZW"), 1) << "Enchant writes the region either way";
  EXPECT_EQ(enchant_broker_dict_exists(broker_, "zu"), 0);
  ASSERT_NE(Dict("nd_ZW"), nullptr);
  std::string provider;
  enchant_dict_describe(
      dict_,
      [](const char*, const char* name, const char*, const char*, void* out) {
        *static_cast<std::string*>(out) = name;
      },
      &provider);
  EXPECT_EQ(provider, "tovuri");
}

TEST_F(EnchantProvider, ChecksWordsAsTheCheckerDoes) {
  ASSERT_NE(Dict(), nullptr);
  const struct {
    std::string word;
    bool accepted;
  } cases[] =
      {
          {"umuntu", true}, {"Umuntu", true},       {"UMUNTU", true},
          {"abantu", true}, {"simbona", true},      {"abntu", false},
          {"qwxz", false},  {"p\xC3\xA9qa", false}, {"\xC5\x8Bqa", false},  // a letter beyond Windows-1252
      };
  for (const auto& c : cases) EXPECT_EQ(Check(dict_, c.word), c.accepted) << c.word;
  EXPECT_EQ(Suggest(dict_, "abntu"), (std::vector<std::string>{"abantu", "bantu"}));
  EXPECT_TRUE(Suggest(dict_, "qwxzqwxz").empty());
}

TEST_F(EnchantProvider, WordsOnlyTheAnalyserAcceptsAreNeverWrittenIntoTheUsersFiles) {
  ASSERT_NE(Dict(), nullptr);
  EXPECT_TRUE(Check(dict_, "simbona")) << "known only to the analyser";
  EXPECT_TRUE(Check(dict_, "simbona")) << "and remembered";
  FreeDict();
  EXPECT_TRUE(CustomDictionary() == nullptr || !custom_->Contains("simbona"));
}

TEST_F(EnchantProvider, SessionWordsAreAcceptedAndNeverWritten) {
  ASSERT_NE(Dict(), nullptr);
  EXPECT_FALSE(Check(dict_, "qwxz"));
  enchant_dict_add_to_session(dict_, "qwxz", -1);
  EXPECT_TRUE(Check(dict_, "qwxz"));
  FreeDict();
  TCustomDictionary* custom = CustomDictionary();
  EXPECT_TRUE(custom == nullptr || !custom->Contains("qwxz"));
  ASSERT_NE(Dict(), nullptr);
  EXPECT_FALSE(Check(dict_, "qwxz"));
}

TEST_F(EnchantProvider, PersonalAndExcludedWordsGoToTheUsersCustomDictionary) {
  ASSERT_NE(Dict(), nullptr);
  enchant_dict_add(dict_, "qwxz", -1);
  enchant_dict_remove(dict_, "umuntu", -1);
  EXPECT_TRUE(Check(dict_, "qwxz"));
  EXPECT_FALSE(Check(dict_, "umuntu"));
  // Written at once: the desktop program and tovuri-check see them while the host runs.
  ASSERT_NE(CustomDictionary(), nullptr);
  EXPECT_TRUE(custom_->Contains("qwxz"));
  EXPECT_TRUE(custom_->IsExcluded("umuntu"));
  // Excluding what the analyser accepts, or a word added before, holds too.
  enchant_dict_remove(dict_, "simbona", -1);
  enchant_dict_remove(dict_, "qwxz", -1);
  ASSERT_NE(CustomDictionary(), nullptr);
  EXPECT_TRUE(custom_->IsExcluded("simbona"));
  EXPECT_TRUE(custom_->IsExcluded("qwxz"));
}

TEST_F(EnchantProvider, ExcludedWordsStayReportedForTheProviderItself) {
  ASSERT_NE(Dict(), nullptr);
  enchant_dict_remove(dict_, "simbona", -1);
  FreeDict();
  // Enchant's own exclusion list is gone; the custom dictionary still says no.
  fs::remove_all(dirs_.Root() / "enchant");
  ASSERT_NE(Dict(), nullptr);
  EXPECT_FALSE(Check(dict_, "simbona"));
}

TEST_F(EnchantProvider, StoredReplacementComesFirstNextTime) {
  ASSERT_NE(Dict(), nullptr);
  const std::vector<std::string> before = Suggest(dict_, "abantuu");
  ASSERT_GE(before.size(), 2u);
  const std::string chosen = before.back();
  enchant_dict_store_replacement(dict_, "abantuu", -1, chosen.c_str(), -1);
  EXPECT_EQ(Suggest(dict_, "abantuu").front(), chosen) << "before: " << ::testing::PrintToString(before);
  EXPECT_TRUE(fs::exists(dirs_.Data() / "Tovuri") && !fs::is_empty(dirs_.Data() / "Tovuri"));
}

TEST_F(EnchantProvider, ApostrophesAndHyphensJoinWordsOnlyInside) {
  ASSERT_NE(Dict(), nullptr);
  EXPECT_STREQ(enchant_dict_get_extra_word_characters(dict_), "'\u2019-");
  const struct {
    uint32_t character;
    size_t where;  // 0 start, 1 inside, 2 end
    bool joins;
  } cases[] = {{'a', 0, true}, {'\'', 1, true}, {'\'', 0, false}, {0x2019, 1, true},
               {'-', 1, true}, {'-', 2, false}, {' ', 1, false},  {0xE9, 0, true}};
  for (const auto& c : cases)
    EXPECT_EQ(enchant_dict_is_word_character(dict_, c.character, c.where) != 0, c.joins)
        << c.character << " at " << c.where;
}

TEST_F(EnchantProvider, TwoDictionariesCheckOnTwoThreads) {
  const std::vector<std::pair<std::string, bool>> words = {
      {"umuntu", true}, {"simbona", true}, {"abntu", false}, {"bayahamba", true}, {"qwxz", false}};
  // Each thread has its own broker and dictionary, from the request on.
  auto work = [&](const char* tag, int* wrong) {
    EnchantBroker* broker = enchant_broker_init();
    EnchantDict* dict = enchant_broker_request_dict(broker, tag);
    if (dict == nullptr) {
      *wrong = -1;
    } else {
      for (int round = 0; round < 20; ++round) {
        for (const auto& [word, accepted] : words)
          if (Check(dict, word) != accepted) ++*wrong;
        if (Suggest(dict, "abntu") != (std::vector<std::string>{"abantu", "bantu"})) ++*wrong;
      }
      // Both write the one custom dictionary at about the same time; the
      // merge on save keeps both words.
      enchant_dict_add(dict, tag, -1);
      enchant_broker_free_dict(broker, dict);
    }
    enchant_broker_free(broker);
  };
  int wrong_first = 0, wrong_second = 0;
  std::thread a(work, "nd", &wrong_first);
  std::thread b(work, "nd_ZW", &wrong_second);
  a.join();
  b.join();
  EXPECT_EQ(wrong_first, 0);
  EXPECT_EQ(wrong_second, 0);
  ASSERT_NE(CustomDictionary(), nullptr);
  EXPECT_TRUE(custom_->Contains("nd"));
  EXPECT_TRUE(custom_->Contains("nd_ZW"));
}

TEST_F(EnchantProvider, AnUnusableDataFolderGivesNoDictionary) {
  const fs::path data = dirs_.Root() / "bad-data";
  const std::string good_dir = TOVURI_BIN_DIR;
  const struct {
    const char* what;
    const char* file;
    std::string bytes;
  } cases[] = {
      {"a missing lexicon", "dictionary.txt", ""},
      {"a main dictionary of garbage", "Ndebele.oxm", std::string(5000, '\x7F')},
      {"a truncated main dictionary", "Ndebele.oxm", ReadFile(good_dir + "/Ndebele.oxm").substr(0, 300)},
      {"a lexicon of garbage", "dictionary.txt", std::string(20000, '\x01') + "\n,,,\n\xFF\xFE"},
  };
  dirs_.Set("TOVURI_DATA_DIR", data);
  for (const auto& c : cases) {
    fs::remove_all(data);
    fs::create_directories(data);
    for (const char* name : {"dictionary.txt", "passives.txt", "Ndebele.oxm"})
      fs::copy_file(good_dir + "/" + name, data / name);
    if (c.bytes.empty())
      fs::remove(data / c.file);
    else
      std::ofstream(data / c.file, std::ios::binary | std::ios::trunc) << c.bytes;
    const Ran ran = Run(std::string(TOVURI_BROKER_CHECK) + " nd umuntu");
    EXPECT_EQ(ran.out, "no dictionary for nd\n") << c.what;
    EXPECT_EQ(WEXITSTATUS(ran.status), 2) << c.what;
    EXPECT_EQ(ran.err, "") << c.what;
  }
}

TEST_F(EnchantProvider, CProgramChecksAndSuggestsSilently) {
  const Ran ran = Run(std::string(TOVURI_BROKER_CHECK) + " nd umuntu abntu simbona qwxz");
  EXPECT_EQ(ran.out, "umuntu: yes\nabntu: no: abantu, bantu\nsimbona: yes\nqwxz: no:\n");
  EXPECT_EQ(ran.err, "") << "the provider prints nothing inside its host";
  EXPECT_EQ(WEXITSTATUS(ran.status), 0);
}

// What to preload into Enchant's tools: the shim, after the sanitizer
// runtime when this is a sanitizer build (a runtime must come first in a
// program it was not linked into, and the shim and the provider need it).
std::string ToolPreloads() {
  std::string preloads;
  for (const char* runtime_entry : {"__asan_init", "__tsan_init"}) {
    Dl_info info{};
    void* entry = dlsym(RTLD_DEFAULT, runtime_entry);
    if (entry != nullptr && dladdr(entry, &info) != 0 && info.dli_fname != nullptr)
      preloads += std::string(info.dli_fname) + " ";
  }
  return preloads + TOVURI_MODULE_DIR_SHIM;
}

// Enchant's own tools, with the module folder moved by the preloaded shim.
class EnchantTools : public EnchantProvider {
 protected:
  void SetUp() override {
    EnchantProvider::SetUp();
    if (IsSkipped()) return;
    if (std::system("command -v enchant-2 > /dev/null && command -v enchant-lsmod-2 > /dev/null") != 0)
      GTEST_SKIP() << "enchant-2 is not installed";
    dirs_.Set("LD_PRELOAD", ToolPreloads());
  }
};

TEST_F(EnchantTools, ListTheProviderAndItsDictionaries) {
  const Ran modules = Run("enchant-lsmod-2");
  EXPECT_EQ(modules.out, "tovuri (Tovuri Ndebele Provider)\n");
  const Ran dicts = Run("enchant-lsmod-2 -list-dicts");
  EXPECT_EQ(dicts.out, "nd (tovuri)\nnd_ZW (tovuri)\n");
}

TEST_F(EnchantTools, ListAFilesMisspellingsAndAnswerInPipeMode) {
  const fs::path file = dirs_.Root() / "text.txt";
  std::ofstream(file) << "Umuntu qwxz inja abntu.\nsimbona bayahamba\n";
  const Ran listed = Run("enchant-2 -d nd -l " + file.string());
  EXPECT_EQ(listed.out, "qwxz\nabntu\n");
  const Ran piped = Run("printf 'umuntu abntu\\n' | enchant-2 -d nd -a");
  EXPECT_NE(piped.out.find("*\n& abntu 2 7: abantu, bantu\n"), std::string::npos) << piped.out;
}

TEST_F(EnchantTools, InstallPutsTheProviderInEnchantsFolderAndJoinsTheOrdering) {
  const fs::path stage = dirs_.Root() / "stage";
  const fs::path ordering = stage / fs::path(TOVURI_ENCHANT_CONFIG_DIR).relative_path() / "enchant.ordering";
  fs::create_directories(ordering.parent_path());
  std::ofstream(ordering) << "*:hunspell,aspell\nen:aspell";  // an administrator's, without a last newline
  const std::string install = "env DESTDIR=" + stage.string() + " " + TOVURI_CMAKE + " --install " +
                              TOVURI_BUILD_DIR + " --prefix /opt/tovuri-test";
  ASSERT_EQ(Run(install).status, 0);
  ASSERT_EQ(Run(install).status, 0) << "a second install changes nothing";
  const fs::path modules = stage / fs::path(TOVURI_INSTALLED_MODULE_DIR).relative_path();
  EXPECT_TRUE(fs::exists(modules / "enchant_tovuri.so"));
  EXPECT_EQ(ReadFile(ordering), "*:hunspell,aspell\nen:aspell\nnd:tovuri\nnd_ZW:tovuri\n");
  // The installed module with the installed data answers as the build tree's does.
  dirs_.Set("TOVURI_ENCHANT_MODULE_DIR", modules);
  dirs_.Set("TOVURI_DATA_DIR", stage / "opt/tovuri-test/share/tovuri");
  EXPECT_EQ(Run("enchant-lsmod-2 -list-dicts").out, "nd (tovuri)\nnd_ZW (tovuri)\n");
  EXPECT_EQ(Run(std::string(TOVURI_BROKER_CHECK) + " nd abntu").out, "abntu: no: abantu, bantu\n");

  // Uninstalling takes away what the install put there, the ordering lines
  // included, and leaves the administrator's lines.
  const std::string uninstall =
      "env DESTDIR=" + stage.string() + " " + TOVURI_CMAKE + " --build " + TOVURI_BUILD_DIR + " --target uninstall";
  ASSERT_EQ(Run(uninstall).status, 0);
  EXPECT_FALSE(fs::exists(modules / "enchant_tovuri.so"));
  EXPECT_FALSE(fs::exists(stage / "opt/tovuri-test/share/tovuri/dictionary.txt"));
  EXPECT_EQ(ReadFile(ordering), "*:hunspell,aspell\nen:aspell\n");
}

}  // namespace
}  // namespace tovuri
