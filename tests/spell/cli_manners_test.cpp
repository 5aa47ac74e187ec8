#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "spell/ox3CustomDictionary.h"
#include "spell/ox3MainDictionary.h"
#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;

struct Outcome {
  int status = -1;  // exit status
  std::string out;
  std::string err;
};

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// What a shell command printed and its exit status.
Outcome RunShell(const std::string& command, const fs::path& scratch) {
  const fs::path out = scratch / "stdout.txt";
  const fs::path err = scratch / "stderr.txt";
  const int raw = std::system(("(" + command + ") >" + out.string() + " 2>" + err.string()).c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
}

size_t LineCount(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

class Tools : public ::testing::Test {
 protected:
  void SetUp() override {
    bin_ = fs::path(TOVURI_BIN_DIR);
    for (const char* file : {"tovuri-check", "tovuri-dict", "Ndebele.oxm", "dictionary.txt"})
      if (!fs::exists(bin_ / file)) GTEST_SKIP() << file << " is not built";
  }
  Outcome Check(const std::string& args) { return RunShell((bin_ / "tovuri-check").string() + " " + args, home_.Root()); }
  Outcome Dict(const std::string& args) { return RunShell((bin_ / "tovuri-dict").string() + " " + args, home_.Root()); }
  // A data folder whose lexicon holds one verb: quick to load, and "ngihamba"
  // is known only to the analyser.
  std::string SmallData() {
    const fs::path data = home_.Folder("small-data");
    std::ofstream(data / "dictionary.txt") << "verb,uku-hamba,,walk\n";
    std::ofstream(data / "passives.txt") << "";
    WriteMainDictionary(data / "Ndebele.oxm", {"umuntu"});
    EXPECT_EQ(Dict("index " + data.string()).status, 0);
    return "--data " + data.string() + " ";
  }
  fs::path UserFolder() const { return home_.Root() / "home/.local/share/Tovuri"; }
  bool Learnt(const std::string& word) {
    TCustomDictionary custom;
    const fs::path file = UserFolder() / "Ndebele.oxu";
    return fs::exists(file) && custom.Open(file.string()) && custom.Contains(word);
  }

  TempHome home_;
  fs::path bin_;
};

TEST_F(Tools, HelpAndVersionGoToStandardOutputAndSucceed) {
  for (const std::string tool : {"tovuri-check", "tovuri-dict"}) {
    for (const std::string option : {"-h", "--help", "--version"}) {
      const Outcome run = RunShell((bin_ / tool).string() + " " + option, home_.Root());
      EXPECT_EQ(run.status, 0) << tool << " " << option;
      EXPECT_EQ(run.err, "") << tool << " " << option;
      EXPECT_NE(run.out, "") << tool << " " << option;
    }
    const Outcome version = RunShell((bin_ / tool).string() + " --version", home_.Root());
    EXPECT_EQ(version.out.rfind(tool + " ", 0), 0u) << version.out;
  }
  // The help says where learnt words go.
  EXPECT_NE(Check("--help").out.find("Ndebele.oxu in $XDG_DATA_HOME/Tovuri"), std::string::npos);
}

TEST_F(Tools, UsageMistakesSayWhatIsWrongInOneLine) {
  struct Case {
    std::string tool;
    std::string args;
    std::string said;  // part of the one line
  };
  const Case cases[] = {
      {"tovuri-check", "--bogus", "unknown option --bogus"},
      {"tovuri-check", "", "no command given"},
      {"tovuri-check", "--words", "wrong number of arguments for --words"},
      {"tovuri-check", "-l --words x", "give only one command"},
      {"tovuri-check", "--data", "--data needs a directory"},
      {"tovuri-dict", "", "no command given"},
      {"tovuri-dict", "frobnicate", "unknown command frobnicate"},
      {"tovuri-dict", "add x.oxu", "add needs a dictionary and a word"},
      {"tovuri-dict", "dump", "dump needs one file"},
  };
  for (const Case& c : cases) {
    const Outcome run = RunShell((bin_ / c.tool).string() + " " + c.args, home_.Root());
    EXPECT_EQ(run.status, 2) << c.tool << " " << c.args;
    EXPECT_EQ(run.out, "") << c.tool << " " << c.args;
    EXPECT_EQ(LineCount(run.err), 1u) << c.tool << " " << c.args << ": " << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("try --help"), std::string::npos) << run.err;
  }
}

// A folder where a file belongs is named in one line, never a library's
// error text, and no file is written.
TEST_F(Tools, CompilingFromOrIntoAFolderSaysSo) {
  const fs::path folder = home_.Folder("a-folder");
  const fs::path words = home_.Root() / "words.txt";
  std::ofstream(words) << "umuntu\nabantu\n";
  const struct {
    std::string args;
    std::string said;
  } cases[] = {
      {"compile " + folder.string() + " " + (home_.Root() / "out.oxm").string(),
       folder.string() + ": is a folder, not a word list"},
      {"compile " + words.string() + " " + folder.string(), folder.string() + ": is a folder; name the dictionary file"},
      {"compile " + (home_.Root() / "missing.txt").string() + " " + (home_.Root() / "out.oxm").string(),
       "missing.txt: cannot be read: No such file or directory"},
  };
  for (const auto& c : cases) {
    const Outcome run = Dict(c.args);
    EXPECT_EQ(run.status, 1) << c.args;
    EXPECT_EQ(LineCount(run.err), 1u) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(home_.Root() / "out.oxm"));
  }
  EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(Tools, ArgumentsThatAreNotOneWordAnswerNo) {
  const Outcome run = Check(SmallData() +
                            "--no-learn --words '' '@@@' 'ngihamba bahamba' '123' ngihamba ngihamba-umuntu "
                            "ngihamba-qwxz ngihamba--umuntu ngihamba,umuntu");
  EXPECT_EQ(run.out,
            "\tno\n@@@\tno\nngihamba bahamba\tno\n123\tno\nngihamba\tyes\n"
            "ngihamba-umuntu\tyes\nngihamba-qwxz\tno\nngihamba--umuntu\tno\nngihamba,umuntu\tno\n");
  EXPECT_EQ(run.status, 1);
}

TEST_F(Tools, LearntWordThatCannotBeSavedIsReportedAndFailsTheRun) {
  // The user's folder is a file: no dictionary can be created there.
  fs::create_directories(UserFolder().parent_path());
  std::ofstream(UserFolder()) << "x";
  Outcome run = Check(SmallData() + "--words ngihamba");
  EXPECT_EQ(run.out, "ngihamba\tyes\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find(UserFolder().string()), std::string::npos) << run.err;
  EXPECT_EQ(LineCount(run.err), 1u) << run.err;

  // The dictionary exists but no longer fits under the file size limit.
  fs::remove(UserFolder());
  ASSERT_EQ(Dict("add " + (UserFolder() / "Ndebele.oxu").string() + " umuzi").status, 0);
  run = RunShell("trap '' XFSZ; ulimit -f 1; exec " + (bin_ / "tovuri-check").string() + " " + SmallData() +
                     "--words ngihamba",
                 home_.Root());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("cannot save " + (UserFolder() / "Ndebele.oxu").string()), std::string::npos)
      << run.err;
  EXPECT_FALSE(Learnt("ngihamba"));
  EXPECT_TRUE(Learnt("umuzi")) << "the file that could not be replaced is intact";

  // With the limit gone the same word is learnt and all is well.
  run = Check(SmallData() + "--words ngihamba");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(Learnt("ngihamba"));
}

TEST_F(Tools, DictAddCreatesTheFolderOfANewDictionary) {
  const fs::path file = home_.Root() / "new/folder/mine.oxu";
  const Outcome run = Dict("add " + file.string() + " umuzi");
  EXPECT_EQ(run.status, 0) << run.err;
  TCustomDictionary custom;
  EXPECT_TRUE(custom.Open(file.string()) && custom.Contains("umuzi"));
}

TEST_F(Tools, DataFoldersThatDoNotExistOrLackTheLexiconAreSaidSo) {
  Outcome run = Check("--data " + (home_.Root() / "nowhere").string() + " --words umuntu");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("nowhere"), std::string::npos) << run.err;

  const fs::path data = home_.Folder("data");
  fs::copy_file(bin_ / "passives.txt", data / "passives.txt");
  run = Check("--no-learn --data " + data.string() + " --words umuntu");
  EXPECT_NE(run.err.find((data / "dictionary.txt").string() + ": Lexicon not found"), std::string::npos)
      << run.err;
}

// Each unusable data file is named once on standard error with what is
// wrong and what is done instead; a damaged custom dictionary is never
// overwritten.
TEST_F(Tools, DamagedOrMissingDictionariesAreSaidOnce) {
  const std::string data = SmallData();
  const fs::path folder = home_.Root() / "small-data";
  const fs::path main = folder / "Ndebele.oxm";
  const std::string good_main = ReadText(main);
  const fs::path custom = UserFolder() / "Ndebele.oxu";
  ASSERT_EQ(Dict("add " + custom.string() + " umuzi").status, 0);
  std::string damaged_custom = ReadText(custom);
  damaged_custom[121] = 7;  // an added-word count that the table does not hold

  struct Case {
    std::string name;
    std::string main;    // the bytes of Ndebele.oxm; none: no such file
    std::string custom;  // the bytes of Ndebele.oxu
    std::string said;
    int status;
  };
  const std::string custom_bytes = ReadText(custom);
  std::string flipped_main = good_main;
  flipped_main[good_main.size() - 3000] ^= 0x04;  // in the node records
  std::string old_main_cut = good_main.substr(0, good_main.size() - 100);
  std::fill_n(old_main_cut.begin() + kMainChecksumOffset, kMainChecksumSize, '\0');  // as older files are
  const Case cases[] = {
      {"no main dictionary", "", custom_bytes, "Ndebele.oxm: main dictionary not found (looked in", 0},
      {"main dictionary cut short", good_main.substr(0, 1500), custom_bytes,
       main.string() + ": the main dictionary is cut short or damaged (it is cut short: 1500 of its " +
           std::to_string(good_main.size()) + " bytes are left); it is not used, and words are checked without it",
       0},
      {"main dictionary with a flipped bit", flipped_main, custom_bytes,
       main.string() + ": the main dictionary is cut short or damaged (its checksum does not match its "
                       "contents); it is not used, and words are checked without it",
       0},
      {"older main dictionary cut short", old_main_cut, custom_bytes,
       main.string() + ": the main dictionary is cut short or damaged (it is cut short after its node "
                       "records); it is not used",
       0},
      {"main dictionary of text", std::string(3000, 'x'), custom_bytes,
       main.string() + ": not a main dictionary, or cut short or damaged", 0},
      {"damaged custom dictionary", good_main, damaged_custom,
       custom.string() + ": damaged custom dictionary; it is left as it is and not used", 2},
  };
  for (const Case& c : cases) {
    fs::remove(main);
    if (!c.main.empty()) std::ofstream(main, std::ios::binary) << c.main;
    std::ofstream(custom, std::ios::binary | std::ios::trunc) << c.custom;
    const Outcome run = Check(data + "--words ngihamba");
    EXPECT_EQ(run.out, "ngihamba\tyes\n") << c.name;
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_EQ(LineCount(run.err), 1u) << c.name << ": " << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << c.name << ": " << run.err;
    EXPECT_TRUE(ReadText(custom) == c.custom || c.status == 0) << c.name << ": the damaged file was rewritten";
  }
}

// Every command that uses the main dictionary says once that it is damaged
// (suggestions and the ispell pipe too) and goes on with what is left.
TEST_F(Tools, EveryCommandSaysADamagedMainDictionary) {
  const std::string data = SmallData();
  const fs::path main = home_.Root() / "small-data/Ndebele.oxm";
  std::string bytes = ReadText(main);
  bytes[bytes.size() - 3000] ^= 0x04;
  std::ofstream(main, std::ios::binary | std::ios::trunc) << bytes;
  const std::string said = main.string() +
                           ": the main dictionary is cut short or damaged (its checksum does not match its "
                           "contents); it is not used, and words are checked without it\n";
  const fs::path text = home_.Root() / "text.txt";
  std::ofstream(text) << "ngihamba umuntu\n";
  struct Case {
    std::string args;
    std::string printed;  // part of standard output
  };
  const Case cases[] = {
      {"--words ngihamba", "ngihamba\tyes\n"},
      {"--list " + text.string(), ":1:10: umuntu"},
      {"-l " + text.string(), "umuntu\n"},
      {"-a < " + text.string(), "\n# umuntu 9\n"},
      {"--suggest ngihambq", "ngihambq: ngihamba"},
      {"--explain ngihamba", "ngihamba"},
  };
  for (const Case& c : cases) {
    const Outcome run = Check(data + "--no-learn " + c.args);
    EXPECT_EQ(run.err, "tovuri-check: " + said) << c.args;
    EXPECT_NE(run.out.find(c.printed), std::string::npos) << c.args << ": " << run.out;
  }
  const Outcome run = Check(data + "--dictionaries-only --suggest ngihambq");
  EXPECT_NE(run.err.find(main.string() + ": its checksum does not match its contents; it is not used"),
            std::string::npos) << run.err;
  EXPECT_EQ(run.status, 2) << run.err;  // no main dictionary is left to suggest from
}

// A damaged copy in the user's folder, searched first, is said, and the
// shipped file is used instead.
TEST_F(Tools, ADamagedCopyInTheUsersFolderIsSaidAndTheShippedOneUsed) {
  const std::string data = SmallData();
  const fs::path shipped = home_.Root() / "small-data/Ndebele.oxm";
  std::string bytes = ReadText(shipped);
  bytes[bytes.size() - 3000] ^= 0x04;
  const fs::path copy = UserFolder() / "Ndebele.oxm";
  fs::create_directories(UserFolder());
  std::ofstream(copy, std::ios::binary) << bytes;
  const Outcome run = Check(data + "--no-learn --words umuntu");
  EXPECT_EQ(run.out, "umuntu\tyes\n");
  EXPECT_EQ(run.err, "tovuri-check: " + copy.string() +
                         ": the main dictionary is cut short or damaged (its checksum does not match its contents); "
                         "it is not used, and " + shipped.string() + " is used instead\n");
}

// The suggestions' letter model names its bad line and is not used.
TEST_F(Tools, SuggestionsSayADamagedLetterModel) {
  const std::string data = SmallData();
  const fs::path model = home_.Root() / "small-data/letter_model.tsv";
  std::ofstream(model) << "# letter 2-grams\n$\t1\nab\tl\n";
  const Outcome run = Check(data + "--no-learn --suggest ngihambq");
  EXPECT_EQ(run.err, "tovuri-check: " + model.string() +
                         ": line 3: the count l is not a whole number from 1 to 1000000000; the letter model is not "
                         "used, and suggestions are ranked without it\n");
  EXPECT_NE(run.out.find("ngihambq: ngihamba"), std::string::npos) << run.out;
  EXPECT_EQ(run.status, 0);
}

// Settings that cannot be written (here a file size limit stands in for a
// full disk) are said once, and the old file stays whole; the temporary
// file a killed save left is removed.
TEST_F(Tools, SettingsThatCannotBeSavedAreSaidAndTheOldFileKept) {
  const std::string data = SmallData();
  const fs::path settings = home_.Root() / "home/.config/Tovuri/Ndebele.reg";
  fs::create_directories(settings.parent_path());
  const std::string old = "_FirstRun=+\n_Main_count=1\n_Main_0=Ndebele.oxm\n_UserData_count=1\n_UserData_0=note\n"
                          "User_note=" + std::string(6000, 'x') + "\n";
  std::ofstream(settings, std::ios::binary) << old;
  const fs::path stale = settings.string() + ".tmpAb12Cd";
  std::ofstream(stale) << "_FirstRun=+\n_Ma";
  const Outcome run = RunShell("trap '' XFSZ; ulimit -f 4; exec " + (bin_ / "tovuri-check").string() + " " + data +
                                   "--no-learn --words ngihamba",
                               home_.Root());
  EXPECT_EQ(run.out, "ngihamba\tyes\n");
  EXPECT_EQ(run.err, "tovuri-check: " + settings.string() + ": the settings cannot be saved (" + std::strerror(EFBIG) +
                         "); the file keeps the settings it had, and saving is tried again later\n");
  EXPECT_EQ(ReadText(settings), old);
  EXPECT_FALSE(fs::exists(stale));
}

// An install under any prefix finds its data in share/tovuri beside bin/,
// and keeps working when the whole tree is moved.
TEST_F(Tools, InstalledToolFindsItsDataBesideItsBinFolder) {
  const fs::path prefix = home_.Root() / "opt/tovuri";
  fs::create_directories(prefix / "bin");
  fs::create_directories(prefix / "share/tovuri");
  fs::copy_file(bin_ / "tovuri-check", prefix / "bin/tovuri-check");
  std::ofstream(prefix / "share/tovuri/dictionary.txt") << "verb,uku-hamba,,walk\n";
  std::ofstream(prefix / "share/tovuri/passives.txt") << "";
  WriteMainDictionary(prefix / "share/tovuri/Ndebele.oxm", {"umuntu"});
  ASSERT_EQ(Dict("index " + (prefix / "share/tovuri").string()).status, 0);
  const fs::path moved = home_.Root() / "elsewhere";
  fs::rename(home_.Root() / "opt", moved);
  const Outcome run = RunShell((moved / "tovuri/bin/tovuri-check").string() + " --no-learn --words ngihamba umuntu",
                           home_.Root());
  EXPECT_EQ(run.out, "ngihamba\tyes\numuntu\tyes\n") << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
}

// Root in a service may run without HOME and with no home in the password
// database: nothing is learnt, nothing is created, and the run says so.
TEST_F(Tools, WithoutAnyHomeNothingIsLearntAndTheRunSaysSo) {
  if (geteuid() != 0) GTEST_SKIP() << "needs to run as a user without a password entry";
  const fs::path scratch = home_.Folder("nohome");
  fs::permissions(home_.Root(), fs::perms::others_exec, fs::perm_options::add);
  fs::permissions(scratch, fs::perms::all);
  const std::string command = "cd " + scratch.string() + " && env -u HOME -u XDG_DATA_HOME -u XDG_CONFIG_HOME " +
                              (bin_ / "tovuri-check").string() + " " + SmallData() + "--words ngihamba";
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // A user id that no password entry names.
    if (setgid(54321) != 0 || setuid(54321) != 0) _exit(99);
    const Outcome run = RunShell(command, scratch);
    std::ofstream(scratch / "result.txt") << run.status << "\n" << run.out << run.err;
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const std::string result = ReadText(scratch / "result.txt");
  EXPECT_EQ(result.substr(0, result.find("tovuri-check:")),
            "0\nngihamba\tyes\n");
  EXPECT_NE(result.find("no home folder is known"), std::string::npos) << result;
  EXPECT_FALSE(fs::exists("/Tovuri"));
  EXPECT_FALSE(fs::exists(scratch / "Tovuri"));
}

}  // namespace
}  // namespace tovuri
