#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spell/ox3MemoryTextControl.h"
#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;
using enum TSpellOption;

const std::vector<std::string> kWords = {"the", "cat", "sat", "on", "mat", "dog", "colour"};

class InteractiveCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = home_.Folder("dicts");
    WriteMainDictionary(folder_ / "Test.oxm", kWords);
  }
  void Setup(TOrthexSpell3Base& spell, TSpellOptions options = {}) { Configure(spell, folder_, options); }

  TempHome home_;
  fs::path folder_;
};

TEST_F(InteractiveCheck, RepeatedWordPromptsOnlyAfterOneSpaceAndTheSameCase) {
  struct Case {
    std::string text;
    std::vector<Prompt> prompts;
    std::string after;  // the text after the user deletes the repetition
  };
  const Case cases[] = {
      {"the cat cat sat", {{"cat cat", true}}, "the cat sat"},
      {"the cat  cat sat", {}, "the cat  cat sat"},
      {"the cat Cat sat", {}, "the cat Cat sat"},
  };
  for (const Case& c : cases) {
    TOrthexSpell3 spell;
    Setup(spell, {soRepeated});
    ScriptedDialog dialog(spell, {{Step::DeleteRepeated, ""}});
    std::string text = c.text;
    spell.CheckString(text);
    EXPECT_EQ(dialog.prompts, c.prompts) << "text: " << c.text;
    EXPECT_EQ(text, c.after) << "text: " << c.text;
    EXPECT_FALSE(spell.IsChecking());
  }
}

TEST_F(InteractiveCheck, RepeatedModeRefusesCommandsForSingleWords) {
  TOrthexSpell3 spell;
  Setup(spell, {soRepeated});
  // Add and Change do nothing in repeated mode; Ignore moves on.
  ScriptedDialog dialog(spell, {{Step::Add, ""}, {Step::Change, "dog"}, {Step::IgnoreRepeated, ""}});
  std::string text = "the cat cat sat";
  spell.CheckString(text);
  EXPECT_EQ(dialog.prompts, (std::vector<Prompt>{{"cat cat", true}}));
  EXPECT_EQ(text, "the cat cat sat");
  EXPECT_FALSE(spell.ActiveCustomDictionary()->Contains("cat cat"));
}

TEST_F(InteractiveCheck, EngineHooksSkipAddressesAndMarkup) {
  struct Case {
    TSpellOptions options;
    std::string text;
    std::vector<Prompt> prompts;
  };
  const Case cases[] = {
      {{soInternet}, "see http://www.qqexample.com/qqpath cat xx", {{"see"}, {"xx"}}},
      {{soHTML}, "<qqtag qqattr=zzz>cat</qqtag> xx", {{"xx"}}},
      {{}, "<qqtag>cat xx", {{"qqtag"}, {"xx"}}},
  };
  for (const Case& c : cases) {
    TOrthexSpell3 spell;
    Setup(spell, c.options);
    ScriptedDialog dialog(spell, {{Step::Ignore, ""}, {Step::Ignore, ""}, {Step::Ignore, ""}});
    std::string text = c.text;
    spell.CheckString(text);
    EXPECT_EQ(dialog.prompts, c.prompts) << c.text;
  }
}

TEST_F(InteractiveCheck, ExcludedWordWithAutoCorrectPairIsReplacedWithoutPrompt) {
  struct Case {
    bool with_pair;
    std::vector<Prompt> prompts;
    std::string after;
  };
  const Case cases[] = {
      {true, {}, "the color"},
      {false, {{"colour", false}}, "the colour"},
  };
  for (const Case& c : cases) {
    TOrthexSpell3 spell;
    Setup(spell);
    ScriptedDialog dialog(spell, {{Step::Ignore, ""}});
    spell.ActiveCustomDictionary()->AddExcluded("colour");
    if (c.with_pair) spell.InternalDictionary().AddAutoCorrect("colour", "color");
    std::string text = "the colour";
    spell.CheckString(text);
    EXPECT_EQ(dialog.prompts, c.prompts) << "with pair: " << c.with_pair;
    EXPECT_EQ(text, c.after) << "with pair: " << c.with_pair;
  }
}

TEST_F(InteractiveCheck, UndoAfterAutomaticCorrectionUndoesTheDecisionBeforeIt) {
  TOrthexSpell3 spell;
  Setup(spell);
  ScriptedDialog dialog(spell, {{Step::Ignore, ""}, {Step::Undo, ""}, {Step::Cancel, ""}});
  spell.InternalDictionary().AddAutoCorrect("teh", "the");
  std::string text = "xqz teh dog zzq";
  spell.CheckString(text);
  // Undo at "zzq" restores "teh" and goes back to "xqz", the decision before it.
  EXPECT_EQ(dialog.prompts, (std::vector<Prompt>{{"xqz"}, {"zzq"}, {"xqz"}}));
  EXPECT_EQ(text, "xqz teh dog zzq");
  EXPECT_TRUE(spell.Cancelled());
}

TEST_F(InteractiveCheck, UndoOfChangeRestoresTheWordExactly) {
  TOrthexSpell3 spell;
  Setup(spell);
  ScriptedDialog dialog(spell, {{Step::Change, "sat"}, {Step::Undo, ""}, {Step::Cancel, ""}});
  std::string text = "the cat sta on the mat zz";
  spell.CheckString(text);
  EXPECT_EQ(dialog.prompts, (std::vector<Prompt>{{"sta"}, {"zz"}, {"sta"}}));
  EXPECT_EQ(text, "the cat sta on the mat zz");
}

TEST_F(InteractiveCheck, MaxUndoKeepsOnlyTheNewestDecisions) {
  TOrthexSpell3 spell;
  Setup(spell);
  spell.SetMaxUndo(2);
  ScriptedDialog dialog(spell, {{Step::Ignore, ""},
                                {Step::Ignore, ""},
                                {Step::Ignore, ""},
                                {Step::Undo, ""},
                                {Step::Undo, ""},
                                {Step::Undo, ""},
                                {Step::Cancel, ""}});
  std::string text = "aa bb cc dd";
  spell.CheckString(text);
  // The third Undo finds nothing left and changes nothing.
  EXPECT_EQ(dialog.prompts, (std::vector<Prompt>{{"aa"}, {"bb"}, {"cc"}, {"dd"}, {"cc"}, {"bb"}}));
  EXPECT_EQ(dialog.StepsLeft(), 0u);
  EXPECT_FALSE(dialog.ran_dry);
  spell.SetMaxUndo(-5);
  EXPECT_EQ(spell.MaxUndo(), 2) << "values below -1 are refused";
}

TEST_F(InteractiveCheck, SelectionThenRestWithEmptySelectionWrapsAroundWithOneEndMessage) {
  TOrthexSpell3 spell;
  Setup(spell);
  ScriptedDialog dialog(spell,
                        {{Step::Ignore, ""}, {Step::Ignore, ""}, {Step::Ignore, ""}, {Step::Ignore, ""}});
  TMemoryTextControl control("aa bb cc dd");
  control.SetSelection(6, 6);
  spell.CheckWinControl(control, TCheckMode::cmSelectionThenRest);
  EXPECT_EQ(dialog.prompts, (std::vector<Prompt>{{"cc"}, {"dd"}, {"aa"}, {"bb"}}));
  EXPECT_EQ(dialog.messages, std::vector<std::string>{kEndMessage});
  EXPECT_TRUE(dialog.questions.empty());
  EXPECT_FALSE(spell.IsChecking());
  EXPECT_FALSE(spell.InMultiCheck());
  EXPECT_FALSE(spell.KeepDictionariesActive());
}

TEST_F(InteractiveCheck, SelectionThenRestAsksAndNoCountsAsCancelled) {
  struct Case {
    bool answer;
    std::vector<Prompt> prompts;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {false, {{"aa"}}, {}},
      {true, {{"aa"}, {"cc"}, {"bb"}}, {kEndMessage}},
  };
  for (const Case& c : cases) {
    TOrthexSpell3 spell;
    Setup(spell);
    ScriptedDialog dialog(spell, {{Step::Ignore, ""}, {Step::Ignore, ""}, {Step::Ignore, ""}}, {c.answer});
    TMemoryTextControl control("bb aa cc");
    control.SetSelection(3, 5);
    spell.CheckWinControl(control, TCheckMode::cmSelectionThenRest);
    EXPECT_EQ(dialog.prompts, c.prompts) << "answer: " << c.answer;
    EXPECT_EQ(dialog.messages, c.messages) << "answer: " << c.answer;
    EXPECT_EQ(dialog.questions,
              std::vector<std::string>{"Spelling: The selection has been checked.  Would you like to "
                                       "check the remainder of the document?"});
    EXPECT_EQ(spell.Cancelled(), !c.answer);
  }
}

TEST_F(InteractiveCheck, EndMessageFollowsTheSetting) {
  struct Case {
    TSpellEndMessage setting;
    bool cancel;
    bool word_count;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {TSpellEndMessage::emExceptCancel, false, false, {kEndMessage}},
      {TSpellEndMessage::emExceptCancel, true, false, {}},
      {TSpellEndMessage::emAlways, true, false, {kEndMessage}},
      {TSpellEndMessage::emNever, false, false, {}},
      {TSpellEndMessage::emNoDialog, false, false, {kEndMessage}},
      {TSpellEndMessage::emAlways, false, true, {std::string(kEndMessage) + "\r\n\r\nWords checked: 3"}},
  };
  for (const Case& c : cases) {
    TOrthexSpell3 spell;
    Setup(spell);
    spell.EndMessage = c.setting;
    spell.EndMessageWordCount = c.word_count;
    ScriptedDialog dialog(spell, {{c.cancel ? Step::Cancel : Step::Ignore, ""}});
    std::string text = "the xx cat";
    spell.CheckString(text);
    EXPECT_EQ(dialog.messages, c.messages)
        << "setting " << static_cast<int>(c.setting) << " cancel " << c.cancel;
  }
}

TEST_F(InteractiveCheck, HandlerAcceptingAWordLetsTheLoopGoOnAndTheWordIsLearnt) {
  TOrthexSpell3 spell;
  Setup(spell);
  int asked = 0;
  // As the program does: accept the word, add it, reopen the dictionaries.
  spell.OnWordCheck = [&](TOrthexSpell3Base& sender, const std::string& word, TWordCheckType& type,
                          std::string&) {
    if (type != TWordCheckType::wctMisspelled || word != "ngiyabonga") return;
    ++asked;
    sender.ActiveCustomDictionary()->AddWord(word);
    sender.ApplyConfiguration(true);
    type = TWordCheckType::wctAccepted;
  };
  ScriptedDialog dialog(spell, {{Step::Cancel, ""}});
  std::string text = "ngiyabonga dog ngiyabonga qqq";
  spell.CheckString(text);
  EXPECT_EQ(dialog.prompts, (std::vector<Prompt>{{"qqq"}}));
  EXPECT_EQ(asked, 1) << "the second occurrence comes from the custom dictionary";
  ASSERT_NE(spell.ActiveCustomDictionary(), nullptr);
  EXPECT_TRUE(spell.ActiveCustomDictionary()->Contains("ngiyabonga"));
}

TEST_F(InteractiveCheck, CommandsChangeTheTextAndTheDictionaries) {
  TOrthexSpell3 spell;
  Setup(spell);
  ScriptedDialog dialog(
      spell, {{Step::ChangeAll, "cat"}, {Step::Add, ""}, {Step::IgnoreAll, ""}, {Step::AutoCorrect, "mat"}});
  std::string text = "kat zulu kat quux zulu quux maat";
  spell.CheckString(text);
  EXPECT_EQ(dialog.prompts, (std::vector<Prompt>{{"kat"}, {"zulu"}, {"quux"}, {"maat"}}));
  EXPECT_EQ(text, "cat zulu cat quux zulu quux mat");
  EXPECT_TRUE(spell.ActiveCustomDictionary()->Contains("zulu"));
  EXPECT_TRUE(spell.InternalDictionary().Contains("quux"));
  std::string replacement;
  EXPECT_TRUE(spell.ActiveCustomDictionary()->FindAutoCorrect("maat", replacement));
  EXPECT_EQ(replacement, "mat");
  EXPECT_EQ(dialog.messages, std::vector<std::string>{kEndMessage});
}

TEST_F(InteractiveCheck, CommandsOutsideACheckDoNothing) {
  TOrthexSpell3 spell;
  Setup(spell);
  ScriptedDialog dialog(spell);
  spell.CmdIgnore();
  spell.CmdAdd();
  spell.CmdCancel();
  spell.CmdUndo();
  EXPECT_FALSE(spell.IsChecking());
  EXPECT_TRUE(dialog.messages.empty());
}

TEST_F(InteractiveCheck, SynchronousCheckWithNobodyToAnswerEndsCancelled) {
  TOrthexSpell3Base spell;  // silent, no dialog
  Setup(spell);
  std::string text = "the xx cat";
  spell.CheckString(text);
  EXPECT_FALSE(spell.IsChecking());
  EXPECT_TRUE(spell.Cancelled());
}

TEST_F(InteractiveCheck, AsynchronousCheckKeepsItsParserUntilTheEnd) {
  TOrthexSpell3 spell;
  Setup(spell);
  spell.SynchronousCheck = false;
  spell.OwnsParser = false;
  ScriptedDialog dialog(spell);
  TMemoryTextControl control("the xx cat yy");
  spell.CheckWinControl(control, TCheckMode::cmAll);
  ASSERT_TRUE(spell.IsChecking());
  ASSERT_NE(spell.CurrentParser(), nullptr);
  spell.CmdChange("dog");
  spell.CmdIgnore();
  EXPECT_FALSE(spell.IsChecking());
  EXPECT_EQ(control.Text(), "the dog cat yy");
  EXPECT_EQ(dialog.prompts, (std::vector<Prompt>{{"xx"}, {"yy"}}));
}

TEST_F(InteractiveCheck, ResumeAfterTheUserEditedReadsTheNewText) {
  TOrthexSpell3 spell;
  Setup(spell);
  spell.SynchronousCheck = false;
  ScriptedDialog dialog(spell);
  TMemoryTextControl control("the xx cat yy");
  spell.CheckWinControl(control, TCheckMode::cmAll);
  ASSERT_EQ(dialog.prompts, (std::vector<Prompt>{{"xx"}}));
  // The user leaves the dialog, retypes the word and comes back.
  spell.DialogDeactivated();
  control.SetText("the zz cat yy");
  control.SetSelection(4, 4);
  spell.DialogActivated();
  EXPECT_EQ(dialog.prompts, (std::vector<Prompt>{{"xx"}, {"zz"}}));
  spell.CmdCancel();
  EXPECT_FALSE(spell.IsChecking());
}

TEST_F(InteractiveCheck, WordCountsOnlyForSelectionAndAll) {
  struct Case {
    TCheckMode mode;
    int words;
  };
  const Case cases[] = {
      {TCheckMode::cmAll, 5},         {TCheckMode::cmSelection, 2},
      {TCheckMode::cmFromCaret, 0},   {TCheckMode::cmSelectionThenRest, 0},
      {TCheckMode::cmPresetRange, 0},
  };
  for (const Case& c : cases) {
    TOrthexSpell3 spell;
    Setup(spell);
    TMemoryTextControl control("the cat sat\non the");
    control.SetSelection(4, 11);
    EXPECT_EQ(spell.CountWinControlWords(control, c.mode), c.words) << "mode " << static_cast<int>(c.mode);
  }
  TOrthexSpell3 spell;
  Setup(spell);
  EXPECT_EQ(spell.CountStringWords("one two, three."), 3);
}

TEST_F(InteractiveCheck, ListenersAndEventsSeeIgnoresAndReplacements) {
  TOrthexSpell3 spell;
  Setup(spell);
  std::vector<std::string> seen;
  int listener = 0;
  spell.WordIgnoredListeners().Register(&listener, [&](TOrthexSpell3Base&) {
    seen.push_back("ignored " + std::to_string(spell.WordIgnoredListeners().State) +
                   (spell.WordIgnoredListeners().Before ? " before" : " after"));
  });
  spell.OnParserReplaceWord = [&](TOrthexSpell3Base&, bool before, const std::string& text, int state) {
    seen.push_back("replace " + text + " " + std::to_string(state) + (before ? " before" : " after"));
  };
  spell.OnBeforeChange = [&](TOrthexSpell3Base&) { seen.push_back("before change"); };
  ScriptedDialog dialog(spell, {{Step::IgnoreAll, ""}, {Step::Change, "cat"}});
  std::string text = "xx kat";
  spell.CheckString(text);
  EXPECT_EQ(seen, (std::vector<std::string>{"ignored 11 before", "ignored 11 after", "before change",
                                            "replace cat 0 before", "replace cat 0 after"}));
}

}  // namespace
}  // namespace tovuri
