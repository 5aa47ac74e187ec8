// Checks on the shipped lexicon (data/dictionary.txt and data/passives.txt):
// it loads cleanly, its derived entries are usable, and with it the analyser
// accepts everyday Ndebele words and rejects plain misspellings of them.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "analyser/lexicon.h"
#include "analyser/morpheme_ops.h"
#include "analyser/word_check.h"

namespace tovuri {
namespace {

const std::string kDataDir = TOVURI_SOURCE_DATA_DIR;

const std::set<std::string> kAcceptedTags = {
    "verb", "in/izin", "isi/izi", "isi", "izi", "u/o", "u", "um", "um/aba", "um/ama", "umu",
    "um/imi", "imi", "ili/ama", "ili", "ama", "in/ama", "ulu/izin", "ulu", "ubu", "u/o/ama",
    "special", "adv", "adj", "conj", "rel", "person", "place", "in", "im", "uku", "defverb"};
const std::set<std::string> kWholeWordTags = {"special", "rel", "conj", "adj"};

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != ';') lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t comma; (comma = line.find(separator, start)) != std::string::npos; start = comma + 1)
    fields.push_back(line.substr(start, comma - start));
  fields.push_back(line.substr(start));
  return fields;
}

// The stem that passives.txt names: the infinitive without "uku"/"ukw" and its final vowel.
std::string PassivesStem(const std::string& infinitive, size_t drop) {
  std::string s = infinitive.size() > 2 ? infinitive.substr(2) : "";
  if (!s.empty() && (s[0] == 'u' || s[0] == 'w')) s.erase(0, 1);
  return s.size() >= drop ? s.substr(0, s.size() - drop) : "";
}

// Loads the shipped files once and installs them for the word checks.
class ShippedLexicon : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    warnings_ = new std::vector<LexiconWarning>;
    lexicon_ = new Lexicon(
        LoadLexicon(kDataDir, [](const LexiconWarning& w) { warnings_->push_back(w); }));
    InstallLexicon(*lexicon_);
  }
  static void TearDownTestSuite() {
    InstallLexicon(Lexicon{});
    delete lexicon_;
    delete warnings_;
  }

  static std::vector<std::string> Rejected(const std::vector<std::string>& words) {
    std::vector<std::string> rejected;
    for (const std::string& w : words)
      if (!IsNdebeleWord(w)) rejected.push_back(w);
    return rejected;
  }
  static std::vector<std::string> Accepted(const std::vector<std::string>& words) {
    std::vector<std::string> accepted;
    for (const std::string& w : words)
      if (IsNdebeleWord(w)) accepted.push_back(w);
    return accepted;
  }

  static Lexicon* lexicon_;
  static std::vector<LexiconWarning>* warnings_;
};

Lexicon* ShippedLexicon::lexicon_ = nullptr;
std::vector<LexiconWarning>* ShippedLexicon::warnings_ = nullptr;

std::string Join(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

TEST_F(ShippedLexicon, LoadsWithoutWarnings) {
  std::vector<std::string> shown;
  for (const LexiconWarning& w : *warnings_)
    shown.push_back(w.file + ":" + std::to_string(w.line) + ": " + w.message);
  EXPECT_TRUE(shown.empty()) << Join(shown);
  EXPECT_GT(lexicon_->size(), 2500u * 3);
}

TEST_F(ShippedLexicon, DictionaryLinesAreWellFormed) {
  const std::vector<std::string> lines = ReadLines(kDataDir + "/dictionary.txt");
  EXPECT_GE(lines.size(), 2500u);
  std::vector<std::string> bad;
  std::set<std::string> seen;
  std::map<std::string, int> per_tag;
  for (const std::string& line : lines) {
    const std::vector<std::string> f = Split(line, ',');
    const std::string& tag = f[0];
    const bool whole = kWholeWordTags.count(tag) > 0;
    std::string why;
    if (f.size() < 4 || f[3].empty())
      why = "no gloss after the attribute";
    else if (!kAcceptedTags.count(tag))
      why = "unknown tag";
    else if (line.size() - tag.size() - 1 > 100)
      why = "longer than the 100 characters read after the tag";
    else if (whole != (f[1].find('-') == std::string::npos))
      why = whole ? "a whole word holds a '-'" : "no prefix-stem split";
    else if ((tag == "verb" || tag == "defverb") && f[1].rfind("uku-", 0) != 0)
      why = "a verb not written uku-";
    else if (!seen.insert(tag + "," + f[1]).second)
      why = "twice in the file";
    for (unsigned char c : line)
      if (c > 127) why = "a byte outside ASCII";
    if (!why.empty()) bad.push_back(line + " (" + why + ")");
    ++per_tag[tag];
  }
  EXPECT_TRUE(bad.empty()) << Join(bad);
  // Every tag of the format is used, so every generator sees real data.
  std::vector<std::string> unused;
  for (const std::string& tag : kAcceptedTags)
    if (!per_tag.count(tag)) unused.push_back(tag);
  EXPECT_TRUE(unused.empty()) << Join(unused);
}

TEST_F(ShippedLexicon, DerivedEntriesHaveStems) {
  size_t verb_lines = 0, uku_lines = 0;
  for (const std::string& line : ReadLines(kDataDir + "/dictionary.txt")) {
    verb_lines += line.rfind("verb,", 0) == 0;
    uku_lines += line.rfind("uku,", 0) == 0;
  }
  std::vector<std::string> empty;
  size_t verbs = 0, exceptions = 0, verb_diminutives = 0;
  for (size_t i = 0; i < lexicon_->size(); ++i) {
    const std::string& tag = lexicon_->LexClass[i];
    const bool whole = kWholeWordTags.count(tag) > 0;
    verbs += tag == "verb";
    exceptions += tag.rfind("exc", 0) == 0;
    verb_diminutives += tag == "uku";
    if (lexicon_->LexStem[i].empty() || (!whole && lexicon_->LexFinal[i].empty()))
      empty.push_back(std::to_string(i) + " " + tag + "," + lexicon_->LexPrefix[i] + "-" +
                      lexicon_->LexStem[i] + lexicon_->LexFinal[i]);
  }
  EXPECT_TRUE(empty.empty()) << Join(empty);
  // Each verb line stands for itself and its twenty extended verbs, and adds a
  // diminutive infinitive (tag "uku") besides the class 15 lines of the file.
  EXPECT_EQ(verbs, verb_lines * 21);
  EXPECT_EQ(verb_diminutives, verb_lines + uku_lines);
  EXPECT_GT(exceptions, 100u);  // the perfects of -ala, -ana, -ama and thatha verbs
}

TEST_F(ShippedLexicon, PassivesNameLexiconVerbs) {
  std::set<std::string> verb_stems;
  for (const std::string& line : ReadLines(kDataDir + "/dictionary.txt")) {
    const std::vector<std::string> f = Split(line, ',');
    if (f[0] == "verb" && f.size() > 1 && f[1].size() > 5) verb_stems.insert(f[1].substr(4));
  }
  std::vector<std::string> bad;
  for (const std::string& line : ReadLines(kDataDir + "/passives.txt")) {
    const std::vector<std::string> f = Split(line, ',');
    const std::string stem = PassivesStem(f[0], 1);
    // The dictionary writes every verb uku-stem, also before a vowel (uku-aba for ukwaba).
    const bool long_prefix = f[0].rfind("uku", 0) == 0 || f[0].rfind("ukw", 0) == 0;
    const std::string word = f[0].substr(long_prefix ? 3 : 2);
    if (!verb_stems.count(word)) bad.push_back(line + " (not a verb of dictionary.txt)");
    // A verb whose passive already takes the glide "iw" (one vowel, or vowel-initial with two)
    // must not name an irregular passive: the glide would be added to it again (abiiwa).
    const int vowels = CountVowels(word);
    const bool glide_iw = vowels == 1 || (IsVowel(word[0]) && vowels == 2);
    if (f.size() > 1 && glide_iw) bad.push_back(line + " (irregular passive on an iw verb)");
    if (stem.empty()) bad.push_back(line + " (no stem)");
  }
  EXPECT_TRUE(bad.empty()) << Join(bad);
}

TEST_F(ShippedLexicon, AcceptsEverydayWords) {
  const std::map<std::string, std::vector<std::string>> words = {
      {"present", {"ngiyahamba", "uyabona", "bayasebenza", "siyafunda", "liyana", "ngiyazi"}},
      {"past", {"wahamba", "babona", "sasebenza", "ngafunda", "kwathi", "wayehamba"}},
      {"perfect", {"ngihambile", "ufikile", "ngikhathele", "uhlezi", "ulele", "sebehambile"}},
      {"future and potential", {"uzafika", "bazahamba", "ngingahamba"}},
      {"negative", {"angihambi", "kabahambanga", "kasisebenzi", "akukho", "angazi"}},
      {"relative", {"ohambayo", "abasebenzayo", "olwalotshwa"}},
      {"passive", {"ukwenziwa", "kwenziwa", "ubizwa"}},
      {"infinitive", {"ukuhamba", "ngokuthi", "lokuthi", "ekwenzeni"}},
      {"locative", {"endlini", "esikolweni", "emzini", "ekhaya", "emakhaya", "elizweni",
                    "empilweni", "ebusuku", "waseBulawayo", "eZimbabwe"}},
      {"possessive", {"womuntu", "wabantu", "lesikolo", "kwabantu", "yelizwe"}},
      {"copulative", {"ngumuntu", "yinkomo", "ngabantu", "yisikolo", "yilizwe"}},
      {"noun", {"umsebenzi", "imisebenzi", "izinto", "abantwana", "amakhosi", "amadoda",
                "izinkomo", "uMzilikazi"}},
      {"adjective and relative", {"abakhulu", "omkhulu", "enkulu", "omuhle", "ezinengi",
                                  "omnyama", "kunzima", "kumnandi"}},
      {"adverb and conjunction", {"kakhulu", "phakathi", "ngaphansi", "lapho", "ngoba", "kodwa",
                                  "njalo", "kumbe", "nxa"}},
      {"closed class and defective", {"mina", "lokhu", "bonke", "wonke", "kaze", "ngisuke"}},
  };
  for (const auto& [kind, list] : words)
    EXPECT_TRUE(Rejected(list).empty()) << kind << " rejected: " << Join(Rejected(list));
}

TEST_F(ShippedLexicon, RejectsMisspellings) {
  const std::vector<std::string> misspelt = {
      "ngiyahambaa", "abanttu",     "umunthu",   "esikolweeni", "kakhullu",   "ngobaa",
      "endlinii",    "womumtu",     "ngihambille", "bayasebenzza", "ngiyahambe", "ukuhambaa",
      "abaantu",     "enkullu",     "yinkommo",  "ngumuuntu",   "empilwenii", "wahambaa",
      "abakhuulu",   "ngiyabongaa", "omnyamaa",  "kodwaa"};
  EXPECT_TRUE(Accepted(misspelt).empty()) << "accepted: " << Join(Accepted(misspelt));
}

}  // namespace
}  // namespace tovuri
