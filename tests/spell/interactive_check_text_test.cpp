#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spell/ox3MemoryTextControl.h"
#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;

class InteractiveCheckText : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = home_.Folder("dicts");
    WriteMainDictionary(folder_ / "Test.oxm", {"a", "cat", "dog", "sat", "the", "thereafter"});
  }
  TempHome home_;
  fs::path folder_;
};

// After a change of another length inside the selection, the rest of the
// text is checked from where the selection now ends, not from the middle of
// a word.
TEST_F(InteractiveCheckText, RestAfterTheSelectionStartsWhereTheChangedSelectionEnds) {
  struct Case {
    std::string replacement;
    std::string after;
  };
  const Case cases[] = {
      {"thereafter", "thereafter cat sat dog"},
      {"a", "a cat sat dog"},
      {"the", "the cat sat dog"},
  };
  for (const Case& c : cases) {
    TOrthexSpell3 spell;
    Configure(spell, folder_, {});
    ScriptedDialog dialog(spell, {{Step::Change, c.replacement}, {Step::Ignore, ""}, {Step::Ignore, ""}}, {true});
    TMemoryTextControl control("teh cat sat dog");
    control.SetSelection(0, 3);
    spell.CheckWinControl(control, TCheckMode::cmSelectionThenRest);
    EXPECT_EQ(dialog.prompts, std::vector<Prompt>{{"teh"}}) << "changed to " << c.replacement;
    EXPECT_EQ(control.Text(), c.after);
    EXPECT_EQ(dialog.questions.size(), 1u);
  }
}

// Undo of a Change All takes back every automatic correction that followed
// it; their number must not be bounded by the stack.
TEST_F(InteractiveCheckText, UndoTakesBackTensOfThousandsOfAutomaticCorrections) {
  constexpr int kRepeats = 60000;
  std::string text = "teh";
  for (int i = 0; i < kRepeats; ++i) text += " teh";
  text += " zzq";
  const std::string before = text;
  TOrthexSpell3 spell;
  Configure(spell, folder_, {});
  ASSERT_EQ(spell.MaxUndo(), -1);
  ScriptedDialog dialog(spell, {{Step::ChangeAll, "the"}, {Step::Undo, ""}, {Step::Cancel, ""}});
  spell.CheckString(text);
  EXPECT_EQ(dialog.prompts, (std::vector<Prompt>{{"teh"}, {"zzq"}, {"teh"}}));
  EXPECT_TRUE(text == before) << "every correction is undone";
  std::string replacement;
  EXPECT_FALSE(spell.InternalDictionary().FindAutoCorrect("teh", replacement));
}

}  // namespace
}  // namespace tovuri
