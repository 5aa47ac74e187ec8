#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spell_test_support.h"

namespace tovuri {
namespace {

using namespace tovuri::testing;

struct Failure {
  std::string file;
  bool has_reason = false;
  friend bool operator==(const Failure&, const Failure&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Failure& f) {
    return out << f.file << (f.has_reason ? " (with a reason)" : " (no reason)");
  }
};

bool FileHolds(const fs::path& file, const std::string& word) {
  TCustomDictionary dictionary;
  return dictionary.Open(file.string()) && dictionary.Contains(word);
}

// A learnt word whose save fails is reported, survives the reopening that
// replaces the dictionary object, and is written once the folder is back.
TEST(DictionarySaveFailure, IsReportedAndTheWordsAreWrittenByALaterSave) {
  TempHome home;
  const fs::path folder = home.Folder("dicts");
  const fs::path away = home.Root() / "away";
  WriteMainDictionary(folder / "Test.oxm", {"the"});
  const fs::path file = folder / "Test.oxu";
  std::vector<Failure> failures;
  {
    TOrthexSpell3Base spell;
    Configure(spell, folder, {});
    spell.OnDictionarySaveFailed = [&](TOrthexSpell3Base&, const std::string& name, const std::string& reason) {
      failures.push_back({name, !reason.empty()});
    };
    ASSERT_NE(spell.ActiveCustomDictionary(), nullptr);
    ASSERT_TRUE(spell.ActiveCustomDictionary()->AddWord("umuzi"));
    EXPECT_TRUE(spell.SaveCustomDictionaries());
    ASSERT_TRUE(spell.ActiveCustomDictionary()->AddWord("ngiyabonga"));

    // The folder is replaced by a file: nothing can be written or created there.
    fs::rename(folder, away);
    std::ofstream(folder) << "x";
    EXPECT_FALSE(spell.SaveCustomDictionaries());
    spell.ApplyConfiguration(true);  // frees the object that holds the unsaved word
    EXPECT_EQ(spell.ActiveCustomDictionary(), nullptr) << "no dictionary can be opened there now";
    spell.DeactivateDictionaries();
    EXPECT_EQ(failures, (std::vector<Failure>(3, {file.string(), true})));

    fs::remove(folder);
    fs::rename(away, folder);
    spell.ApplyConfiguration(true);
    ASSERT_NE(spell.ActiveCustomDictionary(), nullptr);
    EXPECT_TRUE(spell.ActiveCustomDictionary()->Contains("ngiyabonga")) << "kept in memory";
    EXPECT_TRUE(spell.SaveCustomDictionaries());
  }
  EXPECT_EQ(failures.size(), 3u) << "nothing failed after the folder came back";
  EXPECT_TRUE(FileHolds(file, "umuzi"));
  EXPECT_TRUE(FileHolds(file, "ngiyabonga"));
}

TEST(DictionarySaveFailure, ComponentGoingAwayReportsWhatItCouldNotSave) {
  TempHome home;
  const fs::path folder = home.Folder("dicts");
  WriteMainDictionary(folder / "Test.oxm", {"the"});
  std::vector<Failure> failures;
  {
    TOrthexSpell3Base spell;
    Configure(spell, folder, {});
    spell.OnDictionarySaveFailed = [&](TOrthexSpell3Base&, const std::string& name, const std::string& reason) {
      failures.push_back({name, !reason.empty()});
    };
    ASSERT_TRUE(spell.ActiveCustomDictionary()->AddWord("umuzi"));
    fs::rename(folder, home.Root() / "away");
  }
  EXPECT_EQ(failures, (std::vector<Failure>{{(folder / "Test.oxu").string(), true}}));
}

}  // namespace
}  // namespace tovuri
