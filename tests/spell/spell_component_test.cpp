#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "spell/ox3Ignore.h"
#include "spell/ox3UserRegistry.h"
#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;
using enum TSpellOption;

class SpellComponent : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = home_.Folder("dicts");
    WriteMainDictionary(folder_ / "Test.oxm", {"house", "London", "cat"});
  }
  TempHome home_;
  fs::path folder_;
};

TEST_F(SpellComponent, WordVerdictFollowsItsSteps) {
  struct Case {
    std::string word;
    bool acceptable;
  };
  const Case cases[] = {
      {"house", true},  {"House", true}, {"HOUSE", true},     {"London", true},   {"london", false},
      {"3.14", true},   {"1e5", true},   {"2.5E-3", true},    {"42", true},       {".5", true},
      {"inf", false},   {"nan", false},  {"infinity", false}, {"0x1p3", false},   {"1e", false},
      {"1.2.3", false}, {"x", true},     {"NASA", false},     {"house's", false},
  };
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  for (const Case& c : cases) EXPECT_EQ(spell.IsWordAcceptable(c.word), c.acceptable) << c.word;
}

TEST_F(SpellComponent, AClosingQuoteAfterAKnownWordClosesAQuotation) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  EXPECT_TRUE(spell.IsWordAcceptable("cat\x92"));
  EXPECT_TRUE(spell.IsWordAcceptable("House\x92\x92"));
  EXPECT_FALSE(spell.IsWordAcceptable("zzz\x92"));
  EXPECT_FALSE(spell.IsWordAcceptable("\x92\x92")) << "quotes alone are no word";
  EXPECT_FALSE(spell.IsWordAcceptable("ca\x92t")) << "only closing quotes come off";
  EXPECT_EQ(WithoutClosingQuotes("cat"), "") << "nothing to take off";

  // A word the user excluded stays reported behind a quote too.
  ASSERT_NE(spell.ActiveCustomDictionary(), nullptr);
  spell.ActiveCustomDictionary()->AddExcluded("house");
  EXPECT_FALSE(spell.IsWordAcceptable("house\x92"));
}

TEST_F(SpellComponent, RulesJudgeWordsOutsideACheck) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {soUpcase, soNumbers, soQuoted});
  EXPECT_TRUE(spell.IsWordAcceptable("NASA"));
  EXPECT_TRUE(spell.IsWordAcceptable("0x1p3")) << "a word with digits, ignored by the numbers rule";
  EXPECT_FALSE(spell.IsWordAcceptable("zzz"));
  EXPECT_FALSE(spell.IsIgnoredByRules("zzz", nullptr));
  EXPECT_TRUE(spell.IsLineIgnored("> quoted"));
  EXPECT_FALSE(spell.IsLineIgnored("plain"));
}

TEST_F(SpellComponent, PossessiveNeedsAnEnglishMainDictionary) {
  WriteMainDictionary(folder_ / "English.oxm", {"house", "London"}, 9);
  struct Case {
    std::string main;
    std::string word;
    bool acceptable;
  };
  const Case cases[] = {
      {"English.oxm", "London's", true}, {"English.oxm", "house's", true}, {"English.oxm", "HOUSE'S", true},
      {"English.oxm", "cat's", false},   {"Test.oxm", "London's", false},
  };
  for (const Case& c : cases) {
    TOrthexSpell3Base spell;
    Configure(spell, folder_, {});
    spell.SetConfigDefaultMain({c.main});
    EXPECT_EQ(spell.IsWordAcceptable(c.word), c.acceptable) << c.main << " " << c.word;
  }
}

TEST_F(SpellComponent, ApplyOptionsCreatesTheRulesInOrder) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {soAbbreviations, soQuoted, soHTML, soNumbers, soUpcase, soInternet, soRepeated});
  spell.ApplyOptions(true);
  const std::vector<std::string> expected = {
      typeid(TURLIgnore).name(),  typeid(TUppercaseWordIgnore).name(), typeid(TNumbersIgnore).name(),
      typeid(THTMLIgnore).name(), typeid(TQuotedLineIgnore).name(),    typeid(TAbbreviationsIgnore).name()};
  std::vector<std::string> actual;
  for (size_t i = 0; i < spell.IgnoreRuleCount(); ++i) actual.push_back(typeid(spell.IgnoreRule(i)).name());
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(spell.CharRuleCount(), 2u) << "Internet addresses and markup";
  EXPECT_EQ(spell.LineRuleCount(), 1u) << "quoted lines";
  EXPECT_TRUE(spell.PromptRepeated());
  EXPECT_FALSE(spell.PrimaryOnly());
  EXPECT_FALSE(spell.LiveSpelling());
}

TEST_F(SpellComponent, WordInDictionariesCountsHitsAndPromotionPutsTheBestFirst) {
  WriteMainDictionary(folder_ / "Second.oxm", {"dog", "bird"});
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  spell.SetConfigDefaultMain({"Test.oxm", "Second.oxm"});
  ASSERT_TRUE(spell.WordInDictionaries("dog"));
  ASSERT_TRUE(spell.WordInMainDictionaries("bird"));
  ASSERT_TRUE(spell.WordInDictionaries("cat"));
  ASSERT_EQ(spell.MainDictionaries().size(), 2u);
  EXPECT_EQ(spell.MainDictionaries()[0]->HitCount(), 1u);
  EXPECT_EQ(spell.MainDictionaries()[1]->HitCount(), 2u);
  spell.PromoteBestMainDictionary();
  EXPECT_EQ(fs::path(spell.MainDictionaries()[0]->Filename()).filename(), "Second.oxm");
}

TEST_F(SpellComponent, AutoCorrectLookupOrder) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  spell.InternalDictionary().AddAutoCorrect("teh", "internal");
  spell.ActiveCustomDictionary()->AddAutoCorrect("teh", "active");
  std::string replacement;
  ASSERT_TRUE(spell.FindAutoCorrect("teh", replacement));
  EXPECT_EQ(replacement, "active");
  spell.ActiveCustomDictionary()->RemoveAutoCorrect("teh");
  ASSERT_TRUE(spell.FindAutoCorrect("teh", replacement));
  EXPECT_EQ(replacement, "internal");
  EXPECT_FALSE(spell.IsExcludedWord("teh")) << "the internal dictionary lists no exclusions";
}

TEST_F(SpellComponent, SuggestionsComeFromTheDictionaries) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  std::vector<std::string> list;
  spell.GetSuggestions("hous", list);
  EXPECT_EQ(list, std::vector<std::string>{"house"});
}

TEST_F(SpellComponent, PropertiesTakeEffect) {
  {
    TOrthexSpell3Base spell;
    Configure(spell, folder_, {soQuoted});
    EXPECT_TRUE(spell.IsLineIgnored("> quoted"));
    spell.SetQuoteChars("#|");
    EXPECT_FALSE(spell.IsLineIgnored("> quoted"));
    EXPECT_TRUE(spell.IsLineIgnored("| quoted"));
  }
  {
    TCustomDictionary map;
    ASSERT_TRUE(map.Open((folder_ / "Map.oxu").string()));
    ASSERT_TRUE(map.AddAutoCorrect("colour", "color"));
    ASSERT_TRUE(map.Save());
    TOrthexSpell3Base spell;
    Configure(spell, folder_, {});
    EXPECT_FALSE(spell.IsExcludedWord("colour"));
    spell.SetMappingDictionaryName("Map.oxu");
    EXPECT_NE(spell.MappingDictionary(), nullptr);
    EXPECT_TRUE(spell.IsExcludedWord("colour")) << "a mapping pair excludes its word";
    std::string replacement;
    EXPECT_TRUE(spell.FindAutoCorrect("colour", replacement));
    EXPECT_EQ(replacement, "color");
    spell.MappingAutoReplace = false;
    EXPECT_FALSE(spell.FindAutoCorrect("colour", replacement));
  }
  {
    TOrthexSpell3Base spell;
    Configure(spell, folder_, {});
    spell.SetSuggestionsLearningDict((folder_ / "learn.oxl").string());
    spell.SetSuggestionsLearning(true);
    EXPECT_TRUE(spell.IsWordAcceptable("cat"));
    ASSERT_NE(spell.LearningDictionary(), nullptr);
    spell.LearnReplacement("kat", "cat");
    std::string replacement;
    EXPECT_FALSE(spell.FindAutoCorrect("kat", replacement)) << "learnt pairs need SuggestionsAutoReplace";
    spell.SuggestionsAutoReplace = true;
    EXPECT_TRUE(spell.FindAutoCorrect("kat", replacement));
    spell.SetSuggestionsLearning(false);
    EXPECT_EQ(spell.LearningDictionary(), nullptr);
  }
}

TEST_F(SpellComponent, DictionariesAreReleasedAfterACheckUnlessKeptActive) {
  for (const bool keep : {false, true}) {
    TOrthexSpell3Base spell;
    Configure(spell, folder_, {});
    spell.SetKeepDictionariesActive(keep);
    std::string text = "the cat";
    spell.CheckString(text);
    ASSERT_EQ(spell.MainDictionaries().size(), 1u);
    EXPECT_EQ(spell.MainDictionaries()[0]->Active(), keep) << "keep " << keep;
    spell.SetKeepDictionariesActive(false);
    EXPECT_FALSE(spell.MainDictionaries()[0]->Active());
    EXPECT_TRUE(spell.IsWordAcceptable("cat")) << "a released dictionary reactivates on its next lookup";
  }
}

TEST(EventList, RegistersOnceNotifiesInOrderAndUnregisters) {
  TOrthexSpell3Base spell;
  TEventList list;
  std::vector<int> calls;
  int a = 0, b = 0, c = 0;
  list.Register(&b, [&](TOrthexSpell3Base&) { calls.push_back(2); });
  list.Register(&a, [&](TOrthexSpell3Base&) { calls.push_back(1); });
  list.Register(&b, [&](TOrthexSpell3Base&) { calls.push_back(99); });
  list.Register(&c, [&](TOrthexSpell3Base&) { calls.push_back(3); });
  list.Notify(spell);
  EXPECT_EQ(calls, (std::vector<int>{2, 1, 3}));
  list.Unregister(&a);
  list.Unregister(&a);
  calls.clear();
  list.Notify(spell);
  EXPECT_EQ(calls, (std::vector<int>{2, 3}));
  EXPECT_EQ(list.Count(), 2u);
}

TEST_F(SpellComponent, ConfigurationChangesReachListenersAndEvents) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  int changed = 0, rebuilt = 0, event = 0;
  spell.ConfigChangedListeners().Register(&changed, [&](TOrthexSpell3Base&) { ++changed; });
  spell.RulesRebuiltListeners().Register(&rebuilt, [&](TOrthexSpell3Base&) { ++rebuilt; });
  spell.OnConfigChanged = [&](TOrthexSpell3Base&) { ++event; };
  spell.Configuration().SetSpellOptions({soUpcase});
  EXPECT_GE(changed, 1);
  EXPECT_EQ(changed, event);
  EXPECT_GE(rebuilt, 1);
  EXPECT_TRUE(spell.IsWordAcceptable("NASA"));
}

// ---- The dictionary set ------------------------------------------------------------

TEST_F(SpellComponent, FirstFolderWinsForOneMainDictionaryName) {
  const fs::path first = home_.Folder("first");
  const fs::path second = home_.Folder("second");
  WriteMainDictionary(first / "Main.oxm", {"alpha"});
  WriteMainDictionary(second / "Main.oxm", {"beta"});
  WriteMainDictionary(second / "Other.oxm", {"gamma"});
  TOrthexSpell3Base spell;
  Configure(spell, first, {});
  spell.SetConfigDictionaryDir({first.string(), second.string() + "\\"});
  spell.SetConfigDefaultMain({"Main.oxm"});
  EXPECT_TRUE(spell.IsWordAcceptable("alpha"));
  EXPECT_FALSE(spell.IsWordAcceptable("beta"));
  EXPECT_EQ(spell.AvailableMainDictionaries(), (std::vector<std::string>{"Main.oxm", "Other.oxm"}));
}

TEST_F(SpellComponent, SiblingOfTheActiveDictionarySeesItsWords) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  TCustomDictionary* active = spell.ActiveCustomDictionary();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(fs::path(active->Filename()), folder_ / "Test.oxu");
  ASSERT_TRUE(active->AddWord("sibling"));
  const std::unique_ptr<TCustomDictionary> sibling = spell.OpenCustomDictionary("Test.oxu");
  ASSERT_NE(sibling, nullptr);
  EXPECT_TRUE(sibling->Contains("sibling"));
}

TEST_F(SpellComponent, DisablingTheActiveDictionaryActivatesTheFirstRemaining) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  spell.SetConfigDefaultCustom({"Second.oxu", "Third.oxu"});
  spell.EnableCustomDictionary("Test.oxu", false);
  EXPECT_EQ(spell.Configuration().ActiveCustomName(), "Second.oxu");
  EXPECT_EQ(spell.Configuration().CustomList().Items(),
            (std::vector<std::string>{"Second.oxu", "Third.oxu"}));
  ASSERT_NE(spell.ActiveCustomDictionary(), nullptr);
  EXPECT_EQ(fs::path(spell.ActiveCustomDictionary()->Filename()), folder_ / "Second.oxu");
  ASSERT_EQ(spell.OtherCustomDictionaries().size(), 1u);
  EXPECT_EQ(fs::path(spell.OtherCustomDictionaries()[0]->Filename()), folder_ / "Third.oxu");
  spell.EnableCustomDictionary("Second.oxu", false);
  spell.EnableCustomDictionary("Third.oxu", false);
  EXPECT_EQ(spell.ActiveCustomDictionary(), nullptr);
}

TEST_F(SpellComponent, ReopeningKeepsAWordAddedBefore) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  TCustomDictionary* before = spell.ActiveCustomDictionary();
  ASSERT_TRUE(before->AddWord("ngiyabonga"));
  spell.ApplyConfiguration(true);
  EXPECT_TRUE(spell.IsWordAcceptable("ngiyabonga"));
  EXPECT_TRUE(spell.ActiveCustomDictionary()->Contains("ngiyabonga"));
}

TEST_F(SpellComponent, CustomDictionaryIsCreatedInTheFirstFolderWhenFoundNowhere) {
  const fs::path user = home_.Root() / "user" / "Tovuri";  // does not exist yet
  const fs::path shipped = home_.Folder("shipped");
  WriteMainDictionary(shipped / "Test.oxm", {"house"});
  TOrthexSpell3Base spell;
  Configure(spell, shipped, {});
  spell.SetConfigDictionaryDir({user.string(), shipped.string()});
  EXPECT_TRUE(spell.IsWordAcceptable("house"));
  ASSERT_NE(spell.ActiveCustomDictionary(), nullptr);
  EXPECT_EQ(fs::path(spell.ActiveCustomDictionary()->Filename()), user / "Test.oxu");
  spell.ActiveCustomDictionary()->AddWord("umuzi");
  spell.DeactivateDictionaries();
  EXPECT_TRUE(fs::exists(user / "Test.oxu"));
}

TEST_F(SpellComponent, NewRenameAndDeleteCustomDictionaries) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  spell.NewCustomDictionary("Names.txt");
  EXPECT_TRUE(fs::exists(folder_ / "Names.oxu"));
  EXPECT_TRUE(spell.Configuration().CustomList().Contains("Names.oxu"));
  const std::vector<std::string>& available = spell.AvailableCustomDictionaries();
  EXPECT_NE(std::find(available.begin(), available.end(), "Names.oxu"), available.end());

  EXPECT_FALSE(spell.RenameCustomDictionary("Names.oxu", "Names.oxu"));
  EXPECT_FALSE(spell.RenameCustomDictionary("Missing.oxu", "Other"));
  ASSERT_TRUE(spell.RenameCustomDictionary("Names.oxu", "People"));
  EXPECT_FALSE(fs::exists(folder_ / "Names.oxu"));
  EXPECT_TRUE(fs::exists(folder_ / "People.oxu"));
  EXPECT_TRUE(spell.Configuration().CustomList().Contains("People.oxu"));
  EXPECT_FALSE(spell.Configuration().CustomList().Contains("Names.oxu"));
  spell.NewCustomDictionary("Taken");
  EXPECT_FALSE(spell.RenameCustomDictionary("People.oxu", "Taken")) << "the target exists";

  // Renaming the active dictionary moves the active name along.
  spell.ActiveCustomDictionary()->AddWord("kept");
  ASSERT_TRUE(spell.RenameCustomDictionary("Test.oxu", "Mine"));
  EXPECT_EQ(spell.Configuration().ActiveCustomName(), "Mine.oxu");
  EXPECT_TRUE(spell.IsWordAcceptable("kept"));

  spell.DeleteCustomDictionary("People.oxu");
  EXPECT_FALSE(fs::exists(folder_ / "People.oxu"));
  EXPECT_FALSE(spell.Configuration().CustomList().Contains("People.oxu"));
}

TEST_F(SpellComponent, WordProcessorListReadsEmpty) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  EXPECT_TRUE(spell.MSWordCustomDictionaryFiles().empty());
  EXPECT_TRUE(spell.MSWordDictionaries().empty());
}

TEST_F(SpellComponent, PathsExpandMacrosAndEitherSeparator) {
  TOrthexSpell3Base spell;
  Configure(spell, folder_, {});
  spell.SetConfigID("%AppName%-cfg");
  spell.PathMacros().SetAppName("tovuri");
  EXPECT_EQ(spell.ExpandConfigID(), "tovuri-cfg");
  EXPECT_EQ(spell.ExpandPath("%AppDir%\\sub\\%ConfigID%.oxu"), folder_.string() + "/sub/tovuri-cfg.oxu");
  EXPECT_EQ(spell.ExpandPath("%AppData%/Tovuri"), (home_.Root() / "home/.local/share/Tovuri").string());
}

TEST_F(SpellComponent, RegistryConfigurationIsWrittenUnderTheTemporaryHome) {
  {
    TOrthexSpell3Base spell;
    Configure(spell, folder_, {soUpcase}, TConfigStorage::csRegistry);
    spell.SetConfigID("Ndebele");
    EXPECT_TRUE(spell.IsWordAcceptable("house"));
  }
  const fs::path file = home_.Root() / "home/.config/Tovuri/Ndebele.reg";
  ASSERT_TRUE(fs::exists(file));
  TUserRegistryKey key(file);
  key.Load();
  EXPECT_EQ(key.Read("_FirstRun").value_or("?"), "+");
  EXPECT_EQ(key.Read("_ActiveCustom").value_or("?"), "Ndebele.oxu");
  EXPECT_EQ(key.Read("_soUpcase").value_or("?"), "+");
}

}  // namespace
}  // namespace tovuri
