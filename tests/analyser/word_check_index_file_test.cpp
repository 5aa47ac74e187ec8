// The word check index file: a sound file is mapped and gives the verdicts of
// the index built in memory; a missing, stale, truncated or damaged one is
// refused with a reason, and the process then builds the index itself.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "analyser/form_sink.h"
#include "analyser/lexicon.h"
#include "analyser/word_check.h"
#include "analyser/word_check_index.h"
#include "analyser/word_check_layout.h"
#include "temp_dir.h"

namespace tovuri {
namespace {

using testing::TempDir;

constexpr std::string_view kDictionary =
    "verb,uku-bona,,see\n"
    "verb,uku-hamba,,go\n"
    "verb,uku-thanda,,love\n"
    "verb,uku-akha,,build\n"
    "verb,uku-dla,,eat\n"
    "um/aba,um-ntu,,person\n"
    "isi/izi,isi-hlalo,,chair\n"
    "in/izin,in-kosi,,chief\n"
    "ili/ama,ili-zwi,,word\n"
    "adj,kuhle,,good\n"
    "adv,ka-khulu,,much\n"
    "conj,kodwa,,but\n";
constexpr std::string_view kPassives = "ukubona\n";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return std::move(bytes).str();
}

void WriteAll(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A lexicon folder with its index file written beside it.
class IndexFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("dictionary.txt", kDictionary);
    dir_.Write("passives.txt", kPassives);
    lexicon_ = LoadLexicon(dir_.path(), nullptr);
    std::string problem;
    ASSERT_TRUE(WriteWordCheckIndex(lexicon_, IndexPath(), problem)) << problem;
    sound_ = ReadAll(IndexPath());
  }
  void TearDown() override { InstallLexicon(Lexicon{}); }

  std::string IndexPath() const { return dir_.path() + std::string(kWordCheckIndexFile); }

  // Open's reason for refusing the file as it now is; empty when it opens.
  std::string Refusal() const {
    std::string problem;
    const std::unique_ptr<WordCheckIndex> index = WordCheckIndex::Open(IndexPath(), lexicon_, problem);
    return index ? std::string() : problem.empty() ? "(no reason given)" : problem;
  }

  // Forms of every entry's passes, their capitalised and upper-case
  // spellings, and one-letter edits of them.
  std::vector<std::string> SampleWords() const {
    std::vector<std::string> words = {"", "xyz", "Kodwa", "KODWA", "kuhle"};
    for (size_t i = 0; i < lexicon_.size(); ++i) {
      for (const EntryPass& pass : PassesForEntry(lexicon_, i)) {
        FormList list;
        GenerateFormsForTag(pass.tag, pass.prefix, pass.stem, pass.final, pass.attribute, list);
        // Four forms spread over the pass: the reference path is slow.
        for (size_t f = 0; f < list.forms.size(); f += list.forms.size() / 4 + 1) {
          std::string form = list.forms[f];
          if (form.empty()) continue;
          words.push_back(form);
          std::string upper = form;
          for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          words.push_back(upper);
          words.push_back(form + "a");
          words.push_back(form.substr(1));
        }
      }
    }
    return words;
  }

  TempDir dir_;
  Lexicon lexicon_;
  std::string sound_;  // the file as written
};

// Every sample word against the index built in memory; every 25th also
// against the generate-and-collect reference (seconds a word on a busy machine).
TEST_F(IndexFile, MappedIndexGivesTheVerdictsOfTheBuiltIndexAndTheReference) {
  std::string problem;
  const std::unique_ptr<WordCheckIndex> mapped = WordCheckIndex::Open(IndexPath(), lexicon_, problem);
  ASSERT_NE(mapped, nullptr) << problem;
  const WordCheckIndex built(lexicon_);
  InstallLexicon(lexicon_);  // the reference path reads the process-wide lexicon
  std::vector<std::string> differences;
  size_t accepted = 0;
  const std::vector<std::string> words = SampleWords();
  for (size_t k = 0; k < words.size(); ++k) {
    const std::string& word = words[k];
    const bool verdict = mapped->IsWord(word);
    accepted += verdict;
    if (verdict != built.IsWord(word) || (k % 25 == 0 && verdict != IsNdebeleWordReference(word)))
      differences.push_back(word + (verdict ? " (mapped yes)" : " (mapped no)"));
    ASSERT_EQ(mapped->Candidates(word), built.Candidates(word)) << word;
  }
  EXPECT_TRUE(differences.empty()) << differences.size() << " differences, first "
                                   << differences.front();
  EXPECT_GT(accepted, words.size() / 4);
  EXPECT_LT(accepted, words.size());
}

TEST_F(IndexFile, SameLexiconGivesTheSameBytes) {
  std::string problem;
  ASSERT_TRUE(WriteWordCheckIndex(LoadLexicon(dir_.path(), nullptr), IndexPath(), problem));
  EXPECT_TRUE(ReadAll(IndexPath()) == sound_);
}

TEST_F(IndexFile, MissingFileIsRefused) {
  std::filesystem::remove(IndexPath());
  EXPECT_EQ(Refusal(), "missing");
}

TEST_F(IndexFile, TruncatedFilesAreRefused) {
  for (const size_t size : {size_t{0}, size_t{7}, sizeof(IndexFileHeader) - 1,
                            sizeof(IndexFileHeader), sound_.size() / 2, sound_.size() - 1}) {
    WriteAll(IndexPath(), std::string_view(sound_).substr(0, size));
    EXPECT_NE(Refusal().find("truncated"), std::string::npos) << "cut to " << size << " bytes: "
                                                               << Refusal();
  }
}

TEST_F(IndexFile, EveryFlippedBitIsRefused) {
  // Every bit of the header, and bits spread over the laid-out bytes.
  std::vector<size_t> bits;
  for (size_t bit = 0; bit < 8 * sizeof(IndexFileHeader); ++bit) bits.push_back(bit);
  std::mt19937 random(5);
  for (int k = 0; k < 300; ++k)
    bits.push_back(8 * sizeof(IndexFileHeader) +
                   std::uniform_int_distribution<size_t>(0, 8 * (sound_.size() - sizeof(IndexFileHeader)) - 1)(random));
  for (const size_t bit : bits) {
    std::string flipped = sound_;
    flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
    WriteAll(IndexPath(), flipped);
    ASSERT_NE(Refusal(), "") << "bit " << bit << " flipped";
  }
}

TEST_F(IndexFile, FileOfChangedLexiconIsStale) {
  dir_.Write("dictionary.txt", std::string(kDictionary) + "verb,uku-gijima,,run\n");
  lexicon_ = LoadLexicon(dir_.path(), nullptr);
  EXPECT_NE(Refusal().find("stale"), std::string::npos) << Refusal();
  dir_.Write("dictionary.txt", kDictionary);
  dir_.Write("passives.txt", "ukuthanda\n");
  lexicon_ = LoadLexicon(dir_.path(), nullptr);
  EXPECT_NE(Refusal().find("stale"), std::string::npos) << Refusal();
}

// A lexicon the loader finds damaged is what is said, not the index made
// from the sound file: cut short, or with a line of zeros.
TEST_F(IndexFile, FileOfADamagedLexiconBlamesTheLexicon) {
  const std::string dictionary = dir_.path() + "dictionary.txt";
  std::string zeroed(kDictionary);
  std::fill_n(zeroed.begin() + 40, 12, '\0');
  for (const std::string& damaged : {std::string(kDictionary.substr(0, 30)), std::string(kDictionary.substr(0, 1)),
                                     zeroed}) {
    dir_.Write("dictionary.txt", damaged);
    lexicon_ = LoadLexicon(dir_.path(), nullptr);
    EXPECT_EQ(Refusal(), "does not match " + dictionary + ", which is damaged (as said above)") << damaged;
  }
}

// A file whose checksum is right but whose records are garbage (made by
// hand, not by a fault) must still never be read outside: open it, and if
// it opens, put words to it.
TEST_F(IndexFile, GarbageWithARightChecksumIsNeverReadOutside) {
  std::mt19937 random(9);
  IndexFileHeader header;
  std::memcpy(&header, sound_.data(), sizeof header);
  const std::string payload = sound_.substr(sizeof header);
  size_t opened = 0;
  for (int round = 0; round < 200; ++round) {
    std::string garbage = payload;
    // Overwrite a stretch of records with random bytes; point the root
    // anywhere now and then.
    const size_t at = std::uniform_int_distribution<size_t>(0, garbage.size() - 1)(random);
    for (size_t i = at; i < garbage.size() && i < at + 64; ++i)
      garbage[i] = static_cast<char>(random());
    IndexFileHeader forged = header;
    if (round % 4 == 0) forged.root = std::uniform_int_distribution<uint64_t>(0, garbage.size())(random) & ~uint64_t{7};
    forged.payload_checksum = IndexPayloadChecksum(garbage, forged.root);
    WriteAll(IndexPath(), std::string(reinterpret_cast<const char*>(&forged), sizeof forged) + garbage);
    std::string problem;
    const std::unique_ptr<WordCheckIndex> index = WordCheckIndex::Open(IndexPath(), lexicon_, problem);
    if (!index) continue;
    ++opened;
    for (std::string_view word : {"ngiyabona", "abantu", "isihlalo", "kakhulu", "xyz"})
      index->IsWord(word);
  }
  EXPECT_GT(opened, 0u);
}

// Found by fuzzing: a pass whose prefix reaches over the rest of the file
// (within it, under a right checksum) made one verdict take 22 seconds. Such
// a pass is damage, and is passed over; the other entries still answer.
TEST_F(IndexFile, APassWithAnOverlongFieldIsPassedOver) {
  IndexFileHeader header;
  std::memcpy(&header, sound_.data(), sizeof header);
  std::string payload = sound_.substr(sizeof header);
  RootRecord root;
  std::memcpy(&root, payload.data() + header.root, sizeof root);
  ASSERT_GT(root.passes.count, 0u);
  PassRecord first;  // entry 0's own pass: bona as a verb
  std::memcpy(&first, payload.data() + root.passes.offset, sizeof first);
  ASSERT_EQ(payload.substr(first.tag.offset, first.tag.count), "verb");
  first.prefix.count = static_cast<uint32_t>(payload.size() - first.prefix.offset);
  std::memcpy(payload.data() + root.passes.offset, &first, sizeof first);
  header.payload_checksum = IndexPayloadChecksum(payload, header.root);
  WriteAll(IndexPath(), std::string(reinterpret_cast<const char*>(&header), sizeof header) + payload);

  std::string problem;
  const std::unique_ptr<WordCheckIndex> index = WordCheckIndex::Open(IndexPath(), lexicon_, problem);
  ASSERT_NE(index, nullptr) << problem;
  EXPECT_FALSE(index->IsWord("ngiyabona")) << "made only by the damaged pass";
  EXPECT_TRUE(index->IsWord("ngiyahamba"));
  EXPECT_TRUE(index->IsWord("abantu"));
}

// Threads that start checking together race to map the process-wide index:
// one mapping is made, shared, and gives each thread the verdicts of one.
TEST_F(IndexFile, ThreadsStartingTogetherShareOneMappedIndex) {
  const std::vector<std::string> words = SampleWords();
  const WordCheckIndex built(lexicon_);
  std::vector<bool> expected;
  for (const std::string& word : words) expected.push_back(built.IsWord(word));
  BuildLexicon(dir_.path(), nullptr);
  constexpr size_t kThreads = 4;
  std::vector<std::vector<bool>> verdicts(kThreads, std::vector<bool>(words.size()));
  std::vector<std::thread> threads;
  for (size_t t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      // Each thread walks the words from a different place.
      for (size_t k = 0; k < words.size(); ++k) {
        const size_t i = (k + t * words.size() / kThreads) % words.size();
        verdicts[t][i] = IsNdebeleWord(words[i]);
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_TRUE(WordCheckIndexIsMapped());
  for (size_t t = 0; t < kThreads; ++t) EXPECT_EQ(verdicts[t], expected) << "thread " << t;
}

TEST_F(IndexFile, ProcessUsesASoundFileAndBuildsInMemoryOtherwiseSayingWhyOnce) {
  std::vector<std::string> notices;
  SetWordCheckIndexNotice([&](const std::string& message) { notices.push_back(message); });
  BuildLexicon(dir_.path(), nullptr);
  EXPECT_TRUE(IsNdebeleWord("ngiyabona"));
  EXPECT_TRUE(WordCheckIndexIsMapped());
  EXPECT_TRUE(notices.empty());

  std::string damaged = sound_;
  damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 0x10);
  WriteAll(IndexPath(), damaged);
  BuildLexicon(dir_.path(), nullptr);
  EXPECT_TRUE(IsNdebeleWord("ngiyabona"));
  EXPECT_FALSE(IsNdebeleWord("ngiyabonaq"));
  EXPECT_FALSE(WordCheckIndexIsMapped());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find(IndexPath()), std::string::npos) << notices[0];
  EXPECT_NE(notices[0].find("damaged"), std::string::npos) << notices[0];
  SetWordCheckIndexNotice(nullptr);
}

}  // namespace
}  // namespace tovuri
