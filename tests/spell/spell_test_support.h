#pragma once
// What the checker component's tests share: a temporary home, dictionaries
// made on the spot and a spelling dialog driven by a script.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "spell/ox3DictionaryCompiler.h"
#include "spell/ox3Spell.h"

namespace tovuri::testing {

namespace fs = std::filesystem;

// Points HOME and the XDG folders at a fresh temporary folder for the test's life.
class TempHome {
 public:
  TempHome() {
    std::string pattern = (fs::temp_directory_path() / "tovuri-spell-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
      const char* old = std::getenv(name);
      saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    }
    setenv("HOME", (root_ / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "home/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / "home/.local/share").c_str(), 1);
    fs::create_directories(root_ / "home");
  }
  ~TempHome() {
    for (const auto& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
    std::error_code error;
    fs::remove_all(root_, error);
  }
  const fs::path& Root() const { return root_; }
  // The user's custom dictionary as the tools find it in this home (its
  // folder created).
  fs::path UserDictionary() const {
    fs::create_directories(root_ / "home/.local/share/Tovuri");
    return root_ / "home/.local/share/Tovuri/Ndebele.oxu";
  }
  // A folder below the root, created.
  fs::path Folder(const std::string& name) const {
    fs::create_directories(root_ / name);
    return root_ / name;
  }

 private:
  fs::path root_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

inline void WriteMainDictionary(const fs::path& path, std::vector<std::string> words, int language = 0) {
  std::ofstream(path, std::ios::binary) << CompileMainDictionary(std::move(words), "Test", language).bytes;
}

// One thing the user does at the dialog.
struct Step {
  enum Kind {
    Ignore,
    IgnoreAll,
    Change,
    ChangeAll,
    Add,
    AutoCorrect,
    Undo,
    IgnoreRepeated,
    DeleteRepeated,
    Cancel
  };
  Kind kind;
  std::string text;
};

struct Prompt {
  std::string word;
  bool repeated = false;
  friend bool operator==(const Prompt&, const Prompt&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Prompt& p) {
    return out << '"' << p.word << '"' << (p.repeated ? " (repeated)" : "");
  }
};

// A user interface that answers prompts from a script and records what it was shown.
class ScriptedDialog final : public TSpellUserInterface {
 public:
  explicit ScriptedDialog(TOrthexSpell3Base& spell, std::vector<Step> steps = {},
                          std::vector<bool> answers = {})
      : spell_(spell), steps_(steps.begin(), steps.end()), answers_(answers.begin(), answers.end()) {
    spell_.SetUserInterface(this);
  }

  void ShowSpellDialog(bool) override { ++shows; }
  void HideSpellDialog() override { ++hides; }
  void PromptSpellDialog(const std::string& word, bool repeated) override {
    prompts.push_back({word, repeated});
  }
  void PlaceSpellDialog(const TDialogPlace&) override {}
  void AvoidSelection(TSpellDialogAvoidPos, const TScreenRect&) override {}
  bool SpellDialogPosition(int&, int&) override { return false; }
  bool AskYesNo(const std::string& caption, const std::string& text) override {
    questions.push_back(caption + ": " + text);
    if (answers_.empty()) return false;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  void ShowInformation(const std::string& caption, const std::string& text) override {
    messages.push_back(caption + ": " + text);
  }
  void SetBusyCursor() override { ++busy; }
  void RestoreCursor() override { --busy; }
  bool ProcessPendingEvents() override {
    if (steps_.empty()) {
      ran_dry = true;
      return false;
    }
    const Step step = steps_.front();
    steps_.pop_front();
    switch (step.kind) {
      case Step::Ignore:
        spell_.CmdIgnore();
        break;
      case Step::IgnoreAll:
        spell_.CmdIgnoreAll();
        break;
      case Step::Change:
        spell_.CmdChange(step.text);
        break;
      case Step::ChangeAll:
        spell_.CmdChangeAll(step.text);
        break;
      case Step::Add:
        spell_.CmdAdd();
        break;
      case Step::AutoCorrect:
        spell_.CmdAutoCorrect(step.text);
        break;
      case Step::Undo:
        spell_.CmdUndo();
        break;
      case Step::IgnoreRepeated:
        spell_.CmdIgnoreRepeated();
        break;
      case Step::DeleteRepeated:
        spell_.CmdDeleteRepeated();
        break;
      case Step::Cancel:
        spell_.CmdCancel();
        break;
    }
    return true;
  }
  size_t StepsLeft() const { return steps_.size(); }

  std::vector<Prompt> prompts;
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  int shows = 0;
  int hides = 0;
  int busy = 0;
  bool ran_dry = false;

 private:
  TOrthexSpell3Base& spell_;
  std::deque<Step> steps_;
  std::deque<bool> answers_;
};

// Runs a shell command; returns what it printed on standard output and
// sets status to its wait status.
inline std::string RunCommand(const std::string& command, int* status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  *status = pclose(pipe);
  return out;
}

inline constexpr const char* kEndMessage = "Spelling: The spelling check is complete.";

// A component over one folder with one main dictionary, configured in the
// temporary home, with the given options for a fresh configuration.
inline void Configure(TOrthexSpell3Base& spell, const fs::path& folder, TSpellOptions options,
                      TConfigStorage storage = TConfigStorage::csNone) {
  spell.PathMacros().SetAppDir(folder.string());
  spell.SetConfigStorage(storage);
  spell.SetConfigID("Test");
  spell.SetConfigRegistryKey("Software\\Tovuri");
  spell.SetConfigDictionaryDir({folder.string()});
  spell.SetConfigDefaultMain({"Test.oxm"});
  spell.SetConfigDefaultOptions(options);
  spell.SetSuggestionsLearning(false);
}

}  // namespace tovuri::testing
