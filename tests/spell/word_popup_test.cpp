#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "spell/ox3MemoryTextControl.h"
#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;
using enum TSpellPopupOption;

// A menu that records its entries and chooses one by caption path.
class MenuPicker final : public TSpellUserInterface {
 public:
  void ShowSpellDialog(bool) override {}
  void HideSpellDialog() override {}
  void PromptSpellDialog(const std::string&, bool) override {}
  void PlaceSpellDialog(const TDialogPlace&) override {}
  void AvoidSelection(TSpellDialogAvoidPos, const TScreenRect&) override {}
  bool SpellDialogPosition(int&, int&) override { return false; }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void ShowInformation(const std::string&, const std::string&) override {}
  void SetBusyCursor() override {}
  void RestoreCursor() override {}
  bool ProcessPendingEvents() override { return false; }
  const TPopupMenuItem* ShowPopupMenu(const std::vector<TPopupMenuItem>& items, TScreenPoint) override {
    entries.clear();
    for (const TPopupMenuItem& item : items)
      entries.push_back(item.Caption.empty() ? "-" : item.Caption + (item.Enabled ? "" : " (disabled)"));
    if (while_open) while_open();
    const std::vector<TPopupMenuItem>* level = &items;
    const TPopupMenuItem* chosen = nullptr;
    for (const std::string& caption : path) {
      chosen = nullptr;
      for (const TPopupMenuItem& item : *level)
        if (item.Caption == caption) chosen = &item;
      if (chosen == nullptr) return nullptr;
      level = &chosen->Items;
    }
    return chosen;
  }

  std::vector<std::string> path;
  std::vector<std::string> entries;
  std::function<void()> while_open;
};

class WordPopup : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = home_.Folder("dicts");
    WriteMainDictionary(folder_ / "Test.oxm", {"the", "cat", "dog"});
    Configure(spell_, folder_, {});
    spell_.SetUserInterface(&menu_);
  }
  TSpellPopupOption Choose(std::vector<std::string> path, std::string& word,
                           TSpellPopupOptions options = TSpellPopupOptions::FromBits(254)) {
    menu_.path = std::move(path);
    return spell_.ShowWordPopup(control_, options, word, {0, 0});
  }

  TempHome home_;
  fs::path folder_;
  TOrthexSpell3 spell_;
  MenuPicker menu_;
  TMemoryTextControl control_;
};

TEST_F(WordPopup, EntriesFollowTheMenuOptions) {
  struct Case {
    TSpellPopupOptions options;
    std::string word;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {TSpellPopupOptions::FromBits(254), "dgo",
       {"dog", "-", "I&gnore", "&Ignore All", "&Add", "-", "&Change All", "A&uto Correct", "&Spelling ..."}},
      {TSpellPopupOptions::FromBits(254), "qqqqqqqq",
       {"(no suggestions) (disabled)", "-", "I&gnore", "&Ignore All", "&Add", "-", "&Spelling ..."}},
      {{spIgnore, spDialog}, "dgo", {"I&gnore", "-", "&Spelling ..."}},
      {{spReplace}, "dgo", {"dog"}},
  };
  for (const Case& c : cases) {
    std::string word = c.word;
    EXPECT_EQ(Choose({}, word, c.options), spCancel);
    EXPECT_EQ(menu_.entries, c.entries) << c.word << " with options " << int(c.options.Bits());
    EXPECT_EQ(word, c.word);
  }
}

TEST_F(WordPopup, TheChoiceIsAppliedBeforeItIsReturned) {
  std::string word = "dgo";
  EXPECT_EQ(Choose({"dog"}, word), spReplace);
  EXPECT_EQ(word, "dog");

  word = "dgo";
  EXPECT_EQ(Choose({"&Change All", "dog"}, word), spChangeAll);
  EXPECT_EQ(word, "dog");
  std::string pair;
  EXPECT_TRUE(spell_.InternalDictionary().FindAutoCorrect("dgo", pair));

  word = "cta";
  EXPECT_EQ(Choose({"A&uto Correct", "cat"}, word), spAutoCorrect);
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->FindAutoCorrect("cta", pair));
  EXPECT_EQ(pair, "cat");

  word = "zork";
  EXPECT_EQ(Choose({"&Add"}, word), spAdd);
  EXPECT_TRUE(spell_.ActiveCustomDictionary()->Contains("zork"));
  word = "blorp";
  EXPECT_EQ(Choose({"&Ignore All"}, word), spIgnoreAll);
  EXPECT_TRUE(spell_.InternalDictionary().Contains("blorp"));
  word = "snurk";
  EXPECT_EQ(Choose({"I&gnore"}, word), spIgnore);
  EXPECT_FALSE(spell_.IsWordAcceptable("snurk"));
  EXPECT_EQ(spell_.PopupCaption(), "I&gnore");
  EXPECT_EQ(spell_.PopupTag(), 6);
}

TEST_F(WordPopup, ResultListenersAndTheResultEventSeeTheChoice) {
  std::vector<std::string> heard;
  spell_.PopupResultListeners().Register(this, [&](TOrthexSpell3Base& sender) {
    const TPopupResultEventList& list = sender.PopupResultListeners();
    heard.push_back(std::to_string(static_cast<int>(list.Option)) + " " + list.Word + " " + list.Replacement);
  });
  spell_.OnPopupResult = [](TOrthexSpell3Base&, TSpellPopupOption& result, std::string& replacement) {
    if (result == spReplace) replacement = "DOG";
  };
  std::string word = "dgo";
  EXPECT_EQ(Choose({"dog"}, word), spReplace);
  EXPECT_EQ(word, "DOG");
  EXPECT_EQ(heard, (std::vector<std::string>{"7 dgo DOG"}));
}

TEST_F(WordPopup, OnlyOneMenuIsOpenAtATime) {
  TSpellPopupOption nested = spDialog;
  menu_.while_open = [&] {
    menu_.while_open = nullptr;
    std::string other = "cta";
    nested = spell_.ShowWordPopup(control_, TSpellPopupOptions::FromBits(254), other, {0, 0});
  };
  std::string word = "dgo";
  EXPECT_EQ(Choose({"dog"}, word), spReplace);
  EXPECT_EQ(nested, spCancel);
}

TEST_F(WordPopup, AddIsDisabledWithoutAnActiveCustomDictionary) {
  spell_.Configuration().SetActiveCustom("");
  ASSERT_EQ(spell_.ActiveCustomDictionary(), nullptr);
  std::string word = "dgo";
  Choose({}, word);
  EXPECT_EQ(menu_.entries, (std::vector<std::string>{"dog", "-", "I&gnore", "&Ignore All", "&Add (disabled)", "-",
                                                     "&Change All", "&Spelling ..."}));
}

}  // namespace
}  // namespace tovuri
