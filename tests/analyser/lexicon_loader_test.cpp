#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "analyser/lexicon.h"
#include "temp_dir.h"

namespace tovuri {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::TempDir;

// Entry i as "tag|prefix|stem|final|info", so a failure shows the whole entry.
std::string Entry(const Lexicon& lexicon, size_t i) {
  return lexicon.LexClass[i] + "|" + lexicon.LexPrefix[i] + "|" + lexicon.LexStem[i] + "|" +
         lexicon.LexFinal[i] + "|" + lexicon.LexInfo[i];
}

std::vector<std::string> Entries(const Lexicon& lexicon) {
  std::vector<std::string> out;
  for (size_t i = 0; i < lexicon.size(); ++i) out.push_back(Entry(lexicon, i));
  return out;
}

struct Loaded {
  Lexicon lexicon;
  std::vector<std::string> warnings;  // "line: message"
  std::string dictionary;             // full file name of dictionary.txt
};

Loaded Load(std::string_view dictionary, std::string_view passives = "") {
  TempDir dir;
  Loaded result;
  result.dictionary = dir.Write("dictionary.txt", dictionary);
  dir.Write("passives.txt", passives);
  result.lexicon = LoadLexicon(dir.path(), [&](const LexiconWarning& w) {
    result.warnings.push_back(std::to_string(w.line) + ": " + w.message);
  });
  return result;
}

void ExpectParallel(const Lexicon& lexicon) {
  EXPECT_EQ(lexicon.LexPrefix.size(), lexicon.size());
  EXPECT_EQ(lexicon.LexStem.size(), lexicon.size());
  EXPECT_EQ(lexicon.LexFinal.size(), lexicon.size());
  EXPECT_EQ(lexicon.LexInfo.size(), lexicon.size());
}

TEST(LexiconLoader, CommentsAndEmptyLinesGiveAnEmptyLexiconWithoutWarnings) {
  const Loaded loaded = Load("; a comment\r\n\r\n;verb,uku-hamba,,walk\n\n\r");
  EXPECT_THAT(Entries(loaded.lexicon), ElementsAre());
  EXPECT_THAT(loaded.warnings, ElementsAre());
}

TEST(LexiconLoader, ReadsTheFieldsOfEachLineShape) {
  struct Case {
    std::string line;
    std::string first_entry;
  } const cases[] = {
      {"isi/izi,isi-khwama,,bag", "isi/izi|isi|khwam|a|"},
      {"verb,uku-zibona,Reflexive,see oneself", "verb|uku|zibon|a|Reflexive"},
      {"adj,khulu,,big", "adj||khulu||"},
      {"special,oPhezukonke,,the Most High", "special||oPhezukonke||"},
      {"conj,kodwa,,but", "conj||kodwa||"},
      {"verb,uku-hamba,Reflexive", "verb|uku|hamb|a|"},  // attribute without its comma
      {"isi/izi,isi-khwama", "isi/izi|isi|||"},          // word without its comma
      {"verb,ukw-akha,,x", "verb|ukw|akh|a|"},
      {"isi/izi,sitsha,,x", "isi/izi||itsh|a|"},  // no "-": one character skipped
      {"xuku-hamba", "|uku|||"},  // no ",": tag empty, read from the 2nd character
      {"Verb,uku-hamba,,x", "Verb|uku|hamb|a|"},
      {"isi/izi,isi-kolo,word, with blanks ,x", "isi/izi|isi|kol|o|word"},
      {"in/izin,in-ja, blank ,x", "in/izin|in|j|a| blank "},
  };
  for (const Case& c : cases) {
    const Loaded loaded = Load(c.line + "\r\n");
    ASSERT_GE(loaded.lexicon.size(), 1u) << c.line;
    EXPECT_EQ(Entry(loaded.lexicon, 0), c.first_entry) << c.line;
    ExpectParallel(loaded.lexicon);
  }
}

TEST(LexiconLoader, WarnsWithTheExactTexts) {
  struct Case {
    std::string line;
    std::vector<std::string> warnings;  // "{file}" stands for dictionary.txt's full name
  } const cases[] = {
      {"verb,uku-hamba,,walk", {}},
      {"Verb,uku-hamba,,x", {"1: Invalid entry found in dictionary {file} - Verb"}},
      {"verb,ukw-akha,,x", {"1: Start a verb with uku-, not with ukw-"}},
      {"isi/izi,sitsha,,x", {"1: Empty prefix found in word itsha"}},
      {"xyz", {"1: Invalid entry found in dictionary {file} - ",
               "1: Empty prefix found in word "}},
      {"special,ukw-x,,", {}},  // whole words have no prefix to check
      {"nonsense,ukw-enza,,x", {"1: Invalid entry found in dictionary {file} - nonsense",
                                "1: Start a verb with uku-, not with ukw-"}},
  };
  for (const Case& c : cases) {
    const Loaded loaded = Load(c.line + "\n");
    std::vector<std::string> expected;
    for (std::string w : c.warnings) {
      if (const size_t at = w.find("{file}"); at != std::string::npos)
        w.replace(at, 6, loaded.dictionary);
      expected.push_back(w);
    }
    EXPECT_THAT(loaded.warnings, ElementsAreArray(expected)) << c.line;
  }
}

// Lines no sound file holds are said with their numbers, once each; the
// entry is loaded as it reads all the same.
TEST(LexiconLoader, SaysDamagedLinesWithTheirNumbers) {
  struct Case {
    std::string text;
    std::vector<std::string> warnings;  // "{file}" stands for dictionary.txt's full name
  } const cases[] = {
      {"verb,uku-hamba,Reflexive,walk\nperson,u-Themba,,x\nspecial,kodwa-ke,,x\nadj,ka'hle,,x\n"
       "in/izin,in-dlu,Locative:endlini/endlwini,house\nverb,uku-bona,PassiveOnly,x\n"
       "isi/izi,isi-gaba,ShortLocative,x\nplace,e-B\xFClawayo,,x\nperson,u-Strau\xDF,,x\n",
       {}},
      {std::string("verb,uku-hamba,,walk\nverb,uku-ha\0\0a,,go\n", 37),
       {"2: Damaged line 2 in {file}: it holds the control character 0x00, which no text holds"}},
      {"verb,uku-hamba\x0bverb,uku-bona,,see\n",
       {"1: Damaged line 1 in {file}: it holds the control character 0x0B, which no text holds"}},
      {"isi/izi,isi-khwama\n", {"1: Damaged line 1 in {file}: there is no ',' after the word, so the entry can never match"}},
      {"verb,uku-ham%a,,walk\n", {"1: Damaged line 1 in {file}: the word uku-ham%a holds '%', which no word holds"}},
      {"adj,khu.u,,big\n", {"1: Damaged line 1 in {file}: the word khu.u holds '.', which no word holds"}},
      {"verb,uku-hamba,Reflexivm,walk\n",
       {"1: Damaged line 1 in {file}: the verb attribute Reflexivm is neither PassiveOnly nor Reflexive, and is ignored"}},
      {"in/izin,in-dlu,Locative:endl!ni,house\n",
       {"1: Damaged line 1 in {file}: the locative forms endl!ni hold what no word holds"}},
      {"verb,uku-hamba,,walk " + std::string(3000, 'x') + "\n",
       {"1: Damaged line 1 in {file}: it is 3021 bytes long, where an entry takes a few dozen"}},
      {"person,u-Bekezela,lBekezela\n",
       {"1: Damaged line 1 in {file}: the attribute lBekezela has no ',' after it, so it is not read"}},
      {"person,u-Thembelani,,ThembelaniJperson,u-Thembelihle,,Thembelihle\n",
       {"1: Damaged line 1 in {file}: its gloss holds what reads as another entry, person,u-Thembelihle,: a lost "
        "line break?"}},
      {"special,du,,of silence, or emptiness, (ideophone)\nadv,ka-bili,,twice, as in: verb, noun, twice\n", {}},
      {"Verb,uku-h@mba\n", {"1: Invalid entry found in dictionary {file} - Verb"}},  // said once
  };
  for (const Case& c : cases) {
    const Loaded loaded = Load(c.text);
    std::vector<std::string> expected;
    for (std::string w : c.warnings) {
      if (const size_t at = w.find("{file}"); at != std::string::npos) w.replace(at, 6, loaded.dictionary);
      expected.push_back(w);
    }
    EXPECT_THAT(loaded.warnings, ElementsAreArray(expected)) << c.text;
    EXPECT_EQ(loaded.lexicon.DamagedLines, c.warnings.empty() || c.text.starts_with("Verb") ? 0 : 1) << c.text;
  }
}

TEST(LexiconLoader, NamesTenDamagedLinesAndCountsTheRest) {
  std::string text;
  for (int i = 0; i < 15; ++i) text += std::string("verb,uku-\0\0\0,,x\n", 16);
  const Loaded loaded = Load(text);
  ASSERT_EQ(loaded.warnings.size(), 11u);
  EXPECT_EQ(loaded.warnings[9].substr(0, 22), "10: Damaged line 10 in");
  EXPECT_EQ(loaded.warnings[10], "0: " + loaded.dictionary + " has 5 more damaged lines, not named here");
  EXPECT_EQ(loaded.lexicon.DamagedLines, 15);
}

// A file that stops inside an entry, or holds no entry and stops inside a
// line, was cut short; one that stops after a whole entry may have lost no
// more than a gloss, which nothing reads.
TEST(LexiconLoader, SaysALexiconCutShort) {
  struct Case {
    std::string text;
    std::string warning;  // "" for none
  } const cases[] = {
      {"verb,uku-hamba,,walk\nverb,uku-bo", "2: {file} is cut short: its last line, 2, stops inside an entry without a line break"},
      {"verb,uku-hamba,Reflexive", "1: {file} is cut short: its last line, 1, stops inside an entry without a line break"},
      {";", "0: {file} holds no entry and stops inside a line without a line break: it looks cut short, "
            "and only closed-class words are analysed"},
      {"; N", "0: {file} holds no entry and stops inside a line without a line break: it looks cut short, "
              "and only closed-class words are analysed"},
      {"; Ndebele lexicon\n", ""},
      {"", ""},
      {"verb,uku-hamba,,wa", ""},
      {"verb,uku-hamba,,walk\r", ""},
  };
  for (const Case& c : cases) {
    const Loaded loaded = Load(c.text);
    std::string expected = c.warning;
    if (const size_t at = expected.find("{file}"); at != std::string::npos) expected.replace(at, 6, loaded.dictionary);
    EXPECT_THAT(loaded.warnings, ElementsAreArray(expected.empty() ? std::vector<std::string>{}
                                                                   : std::vector<std::string>{expected}))
        << c.text;
  }
}

// The shipped lexicon's first lines cut at every byte: the cut is said, or
// every entry loaded is the sound file's own (nothing but whole lines or a
// gloss was lost).
TEST(LexiconLoader, EveryCutOfASoundLexiconIsSaidOrLosesOnlyWholeLines) {
  std::ifstream in(std::string(TOVURI_SOURCE_DATA_DIR) + "/dictionary.txt", std::ios::binary);
  std::string sound;
  for (std::string line; sound.size() < 1500 && std::getline(in, line);) sound += line + "\n";
  const std::vector<std::string> entries = Entries(Load(sound).lexicon);
  ASSERT_GT(entries.size(), 20u);
  std::vector<size_t> unsaid;
  for (size_t cut = 1; cut < sound.size(); ++cut) {
    const Loaded loaded = Load(sound.substr(0, cut));
    if (!loaded.warnings.empty()) continue;
    const std::vector<std::string> got = Entries(loaded.lexicon);
    if (got.size() > entries.size() || !std::equal(got.begin(), got.end(), entries.begin())) unsaid.push_back(cut);
  }
  EXPECT_THAT(unsaid, ElementsAre()) << "cuts that changed an entry without a word";
}

TEST(LexiconLoader, CountsLinesEndedByCrLfCrOrLf) {
  const Loaded loaded = Load("Bad1\rBad2\nBad3\r\n\r\n;Bad\nBad6");
  std::vector<int> lines;
  for (const std::string& w : loaded.warnings)
    if (w.find("Invalid entry") != std::string::npos) lines.push_back(std::stoi(w));
  EXPECT_THAT(lines, ElementsAre(1, 2, 3, 6));
}

TEST(LexiconLoader, ReadsOnlyAHundredCharactersAfterTheTag) {
  const std::string fits(99, 'a');
  const std::string too_long(100, 'a');
  EXPECT_EQ(Entry(Load("special," + fits + ",x").lexicon, 0), "special||" + fits + "||");
  EXPECT_EQ(Entry(Load("special," + too_long + ",x").lexicon, 0), "special||||");
}

TEST(LexiconLoader, CutsLocativeMarkersOutOfTheAttribute) {
  const Loaded loaded = Load(
      "in/izin,in-dlu,Locative:endlini/endlwini,house\n"
      "isi/izi,isi-gaba,ShortLocative,part\n"
      "isi/izi,isi-kolo,ShortLocativeLocative:esikolo,school\n");
  const Lexicon& lex = loaded.lexicon;
  EXPECT_THAT(lex.LocativeWords, ElementsAre("indlu", "isikolo"));
  EXPECT_THAT(lex.LocativeForms, ElementsAre("endlini/endlwini", "esikolo"));
  EXPECT_THAT(lex.ShortLocativeWords, ElementsAre("isigaba", "isikolo"));
  EXPECT_EQ(lex.LexInfo[0], "endlini/endlwini");
  ASSERT_NE(lex.FindLocativeForms("INDLU"), nullptr);
  EXPECT_EQ(*lex.FindLocativeForms("INDLU"), "endlini/endlwini");
  EXPECT_EQ(lex.FindLocativeForms("indla"), nullptr);
  EXPECT_TRUE(lex.IsShortLocative("IsiGaba"));
  EXPECT_FALSE(lex.IsShortLocative("isigab"));
  for (size_t i = 0; i < lex.size(); ++i)
    if (lex.LexStem[i] == "gab") {
      EXPECT_EQ(lex.LexInfo[i], "") << Entry(lex, i);
    }
}

TEST(LexiconLoader, ShortLocativeWordsAreSortedAndUniqueWithoutRegardToCase) {
  const Loaded loaded = Load(
      "isi/izi,isi-gaba,ShortLocative,x\n"
      "in/izin,in-dlu,ShortLocative,x\n"
      "isi/izi,ISI-GABA,ShortLocative,x\n");
  EXPECT_THAT(loaded.lexicon.ShortLocativeWords, ElementsAre("indlu", "isigaba"));
}

TEST(LexiconLoader, AVerbAddsTwentyExtendedVerbsTheirExceptionsAndADiminutive) {
  const Loaded loaded = Load("verb,uku-hamba,,walk");
  EXPECT_THAT(Entries(loaded.lexicon),
              ElementsAre("verb|uku|hamb|a|", "verb|uku|hambel|a|", "verb|uku|hambis|a|",
                          "verb|uku|hambisis|a|", "verb|uku|hamban|a|",
                          "exc/ana|uku|hamben|e|", "verb|uku|hambek|a|",
                          "verb|uku|hambisel|a|", "verb|uku|hambiselan|a|",
                          "exc/ana|uku|hambiselen|e|", "verb|uku|hambanis|a|",
                          "verb|uku|hambanisel|a|", "verb|uku|hambelan|a|",
                          "exc/ana|uku|hambelen|e|", "verb|uku|hambelelis|a|",
                          "verb|uku|hambisan|a|", "exc/ana|uku|hambisen|e|",
                          "verb|uku|hambelel|a|", "verb|uku|hambiselel|a|",
                          "verb|uku|hambekel|a|", "verb|uku|hambanel|a|",
                          "verb|uku|hambelis|a|", "verb|uku|hambelelel|a|",
                          "verb|uku|hambisisel|a|", "verb|uku|hambisisan|a|",
                          "exc/ana|uku|hambisisen|e|", "uku|uku|hanjan|a|"));
}

// The derived entries that carry an exception tag, in order.
std::vector<std::string> Exceptions(const Lexicon& lexicon) {
  std::vector<std::string> out;
  for (size_t i = 0; i < lexicon.size(); ++i)
    if (lexicon.LexClass[i].rfind("exc", 0) == 0) out.push_back(Entry(lexicon, i));
  return out;
}

TEST(LexiconLoader, VerbsGetTheirPerfectStemExceptionsInOrder) {
  struct Case {
    std::string line;
    std::vector<std::string> exceptions;
  } const cases[] = {
      {"verb,uku-hlala,,stay", {"exc/hlezi|uku|hlez|i|", "exc/hlezi|uku|suth|i|",
                                "exc/ana|uku|hlalen|e|", "exc/ana|uku|hlaliselen|e|",
                                "exc/ana|uku|hlalelen|e|", "exc/ana|uku|hlalisen|e|",
                                "exc/ana|uku|hlalisisen|e|"}},
      {"verb,uku-lala,,sleep", {"exc/ala|uku|lel|e|", "exc/ana|uku|lalen|e|",
                                "exc/ana|uku|laliselen|e|", "exc/ana|uku|lalelen|e|",
                                "exc/ana|uku|lalisen|e|", "exc/ana|uku|lalisisen|e|"}},
      {"verb,uku-thatha,,take", {"exc/thatha|uku|theth|e|", "exc/thatha|uku|thathen|e|",
                                 "exc/ana|uku|thathen|e|", "exc/ana|uku|thathiselen|e|",
                                 "exc/ana|uku|thathelen|e|", "exc/ana|uku|thathisen|e|",
                                 "exc/ana|uku|thathisisen|e|"}},
      {"verb,uku-qukatha,,contain", {"exc/thatha|uku|quketh|e|", "exc/ana|uku|qukathen|e|",
                                     "exc/ana|uku|qukathiselen|e|", "exc/ana|uku|qukathelen|e|",
                                     "exc/ana|uku|qukathisen|e|", "exc/ana|uku|qukathisisen|e|"}},
      {"verb,uku-thakatha,,bewitch", {"exc/ana|uku|thakathen|e|",
                                      "exc/ana|uku|thakathiselen|e|", "exc/ana|uku|thakathelen|e|",
                                      "exc/ana|uku|thakathisen|e|", "exc/ana|uku|thakathisisen|e|"}},
      {"verb,uku-khama,,squeeze", {"exc/ama|uku|khem|e|", "exc/ana|uku|khamen|e|",
                                   "exc/ana|uku|khamiselen|e|", "exc/ana|uku|khamelen|e|",
                                   "exc/ana|uku|khamisen|e|", "exc/ana|uku|khamisisen|e|"}},
      {"verb,uku-bonana,,meet", {"exc/ana|uku|bonen|e|", "exc/ana|uku|bonanen|e|",
                                 "exc/ana|uku|bonaniselen|e|", "exc/ana|uku|bonanelen|e|",
                                 "exc/ana|uku|bonanisen|e|", "exc/ana|uku|bonanisisen|e|"}},
      {"verb,uku-khuluma,,speak", {"exc/ana|uku|khulumen|e|",
                                   "exc/ana|uku|khulumiselen|e|", "exc/ana|uku|khulumelen|e|",
                                   "exc/ana|uku|khulumisen|e|", "exc/ana|uku|khulumisisen|e|"}},
      {"verb,uku-vama,,x", {"exc/ana|uku|vamen|e|", "exc/ana|uku|vamiselen|e|",
                            "exc/ana|uku|vamelen|e|", "exc/ana|uku|vamisen|e|",
                            "exc/ana|uku|vamisisen|e|"}},
  };
  for (const Case& c : cases)
    EXPECT_THAT(Exceptions(Load(c.line).lexicon), ElementsAreArray(c.exceptions)) << c.line;
}

TEST(LexiconLoader, DiminutiveEntriesFollowTheStemChanges) {
  struct Case {
    std::string line;
    std::string diminutive;  // the last entry of the line
  } const cases[] = {
      {"in/izin,in-ja,,dog", "in/izin|in|jan|a|"},
      {"in/izin,in-to,,thing", "in/izin|in|twan|a|"},
      {"um/aba,um-fana,,boy", "um/aba|um|fanyan|a|"},
      {"verb,uku-enza,,do", "uku|ukw|enzan|a|"},
      {"verb,uku-osa,,roast", "uku|uk|osan|a|"},
      {"adj,khulu,,big", "adj||khudlwana||"},
      {"rel,mnyama,,black", "rel||mnyamana||"},
      {"u/o,u-phuphu,,x", "u/o|u|phutshwan|a|"},
      {"in/izin,in-puphu,,x", "in/izin|in|putshan|a|"},
      {"um/aba,um-doda,,x", "um/aba|um|dojelan|a|"},
      {"adj,fitshane,,short", "adj||fitshazana||"},
      {"isi/izi,isi-tsha,,dish", "isi/izi|isi|tshan|a|"},
      {"in/izin,in-komo,,cow", "in/izin|in|konyan|a|"},
      {"in/izin,in-dlu,,house", "in/izin|in|dlwan|a|"},  // not "dlwwan"
      {"isi/izi,isi-dla,,x", "isi/izi|isi|dlwan|a|"},
      {"isi/izi,isi-gubhu,,drum", "isi/izi|isi|gujan|a|"},
      {"in/izin,in-thabo,,x", "in/izin|in|thatshan|a|"},
      {"ili/ama,i-khala,,nose", "ili/ama|i|khadlan|a|"},
      {"um/imi,umu-thi,,tree", "um/imi|umu|tshan|a|"},
  };
  for (const Case& c : cases) {
    const Lexicon lexicon = Load(c.line).lexicon;
    ASSERT_GE(lexicon.size(), 2u) << c.line;
    EXPECT_EQ(Entry(lexicon, lexicon.size() - 1), c.diminutive) << c.line;
  }
}

TEST(LexiconLoader, NounsAndQualifiersAlsoGetADiminutiveInAne) {
  struct Case {
    std::string line;
    std::string ane;  // the entry before the last
  } const cases[] = {
      {"isi/izi,isi-tsha,,dish", "isi/izi|isi|tshan|e|"},
      {"in/izin,in-komo,,cow", "in/izin|in|konyan|e|"},
      {"adj,khulu,,big", "adj||khudlwane||"},
      {"adj,lutshwana,,few", "adj||lutshwanyane||"},
  };
  for (const Case& c : cases) {
    const Lexicon lexicon = Load(c.line).lexicon;
    ASSERT_GE(lexicon.size(), 3u) << c.line;
    EXPECT_EQ(Entry(lexicon, lexicon.size() - 2), c.ane) << c.line;
  }
  EXPECT_THAT(Entries(Load("adj,lutshwana,,few").lexicon), ::testing::Contains("adj||lutshwane||"));
  EXPECT_THAT(Entries(Load("verb,uku-hamba,,walk").lexicon), ::testing::Not(::testing::Contains("uku|uku|hanjan|e|")));
}

TEST(LexiconLoader, SomeTagsGetNoDiminutive) {
  for (std::string line : {"ubu,ubu-hle,,x", "special,kodwa,,x", "adv,ka-khulu,,x",
                           "conj,kumbe,,x", "person,u-Themba,,x", "place,e-Bulawayo,,x",
                           "uku,uku-dla,,x", "defverb,uku-thi,,x", "Verb,uku-hamba,,x"})
    EXPECT_EQ(Load(line).lexicon.size(), 1u) << line;
}

TEST(LexiconLoader, NothingIsDerivedFromAnEmptyStem) {
  for (std::string line : {"verb,uku-a,,x", "verb,uku-hamba", "verb,uku-,,x", "adj,a,,x",
                           "in/izin,in-a,,x", "verb,,,", "verb,-a,,"})
    EXPECT_THAT(Entries(Load(line).lexicon), ::testing::SizeIs(1)) << line;
}

TEST(LexiconLoader, SurvivesMalformedAndHugeLines) {
  std::string text;
  const char* lines[] = {",", "-", ",,,,", "verb,", "verb,-", "verb,uku-", "adj,", "special,",
                         "verb,uku-\xE9\xFF\x80,\xC0,x", "\xFF\xFE,\x80-\x81,,", "verb,-,-,-",
                         "verb,uku-a-b-c,,", ";", " "};
  for (const char* line : lines) text += std::string(line) + "\r\n";
  text += std::string(1 << 20, 'x') + "\n";
  text += "verb,uku-" + std::string(1 << 20, 'y') + ",,x\n";
  text += std::string(1 << 20, ',') + "\n";
  text += "in/izin,in-ja,,dog";
  const Loaded loaded = Load(text);
  ExpectParallel(loaded.lexicon);
  EXPECT_EQ(Entry(loaded.lexicon, loaded.lexicon.size() - 3), "in/izin|in|j|a|");  // then its two diminutives
  EXPECT_GE(loaded.lexicon.size(), std::size(lines) + 3);
}

TEST(LexiconLoader, ReadsPassiveExceptions) {
  const Loaded loaded = Load("", "ukubona\r\nukwaba,ukwabiwa\n;ukuthuma\nukuthi,ukuthiwa\n");
  const Lexicon& lex = loaded.lexicon;
  EXPECT_THAT(lex.PassiveStems, ElementsAre("ab", "bon", "th"));
  EXPECT_THAT(lex.PassiveForms, ElementsAre("abi", "", "thi"));
  ASSERT_NE(lex.FindPassiveForm("AB"), nullptr);
  EXPECT_EQ(*lex.FindPassiveForm("AB"), "abi");
  ASSERT_NE(lex.FindPassiveForm("bon"), nullptr);
  EXPECT_EQ(*lex.FindPassiveForm("bon"), "");
  EXPECT_EQ(lex.FindPassiveForm("thum"), nullptr);
  EXPECT_THAT(loaded.warnings, ElementsAre());
}

TEST(LexiconLoader, KeepsTheFirstOfTwoPassiveLinesForOneStem) {
  const Loaded loaded = Load("", "ukubona\nukuBONA,ukubonwa\n");
  EXPECT_THAT(loaded.lexicon.PassiveStems, ElementsAre("bon"));
  EXPECT_THAT(loaded.lexicon.PassiveForms, ElementsAre(""));
}

TEST(LexiconLoader, SkipsPassiveLinesThatLeaveNoStem) {
  const Loaded loaded = Load("", "uk\nab\nuku\nukwa\nukubona,uk\nukubona,ukwa\n,\nukwaba,ukwabiwa");
  EXPECT_THAT(loaded.lexicon.PassiveStems, ElementsAre("ab"));
  EXPECT_THAT(loaded.lexicon.PassiveForms, ElementsAre("abi"));
  EXPECT_EQ(loaded.warnings.size(), 7u) << ::testing::PrintToString(loaded.warnings);
}

TEST(LexiconLoader, WarnsWhenPassivesAreMissing) {
  TempDir dir;
  dir.Write("dictionary.txt", "verb,uku-hamba,,walk");
  std::vector<LexiconWarning> warnings;
  const Lexicon lexicon =
      LoadLexicon(dir.path(), [&](const LexiconWarning& w) { warnings.push_back(w); });
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].message, "List of passive exceptions not found");
  EXPECT_EQ(warnings[0].file, dir.path() + "passives.txt");
  EXPECT_EQ(warnings[0].line, 0);
  EXPECT_TRUE(lexicon.PassiveStems.empty());
  EXPECT_GT(lexicon.size(), 0u);
}

TEST(LexiconLoader, CreatesAMissingDictionaryAndSaysSo) {
  TempDir dir;
  dir.Write("passives.txt", "");
  std::vector<LexiconWarning> warnings;
  const Lexicon lexicon = LoadLexicon(dir.path().substr(0, dir.path().size() - 1),
                                      [&](const LexiconWarning& w) { warnings.push_back(w); });
  EXPECT_EQ(lexicon.size(), 0u);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].file, dir.path() + "dictionary.txt");
  EXPECT_EQ(warnings[0].message,
            "Lexicon not found; an empty one was created, so only closed-class words are analysed");
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() + "dictionary.txt"));
  EXPECT_EQ(std::filesystem::file_size(dir.path() + "dictionary.txt"), 0u);
}

TEST(LexiconLoader, RaisesWhenTheDictionaryCannotBeCreatedOrRead) {
  TempDir dir;
  EXPECT_THROW(LoadLexicon(dir.path() + "no/such/dir", nullptr), LexiconError);
  std::filesystem::create_directory(dir.path() + "dictionary.txt");
  EXPECT_THROW(LoadLexicon(dir.path(), nullptr), LexiconError);
}

TEST(LexiconLoader, BuildLexiconInstallsTheLexiconAndKeepsItOnFailure) {
  TempDir dir;
  dir.Write("dictionary.txt", "special,kodwa,,but\n");
  dir.Write("passives.txt", "ukubona\n");
  BuildLexicon(dir.path(), nullptr);
  EXPECT_THAT(TheLexicon().LexStem, ElementsAre("kodwa"));
  EXPECT_THROW(BuildLexicon(dir.path() + "missing/", nullptr), LexiconError);
  EXPECT_THAT(TheLexicon().LexStem, ElementsAre("kodwa"));
  InstallLexicon(Lexicon{});
  EXPECT_EQ(TheLexicon().size(), 0u);
}

TEST(LexiconLoader, ProgramDirIsTheBuildTreesProgramFolder) {
  // The build copies the data files beside the programs, this test included.
  const std::string dir = ProgramDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_EQ(std::filesystem::canonical(dir), std::filesystem::canonical(TOVURI_BIN_DIR)) << dir;
}

}  // namespace
}  // namespace tovuri
