#pragma once
// Read-only access to a compiled main dictionary (".oxm"): a word graph whose
// equal subtrees are shared, mapped into memory rather than loaded.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "spell/ox3FileIO.h"

namespace tovuri {

// The fixed text at the start of every main dictionary file; reader and
// compiler share it byte for byte.
inline constexpr std::string_view kMainDictionaryBanner =
    "Orthex Dictionary Compiler, Version 4.0\r\n"
    "Tovuri main dictionary: a word graph of Windows-1252 words.\r\n"
    "Binary word data.\r\n"
    "\r\n";
static_assert(kMainDictionaryBanner.size() == 123);

// Layout facts of the file that the compiler must meet.
inline constexpr std::size_t kMainBannerBlockSize = 1024;
inline constexpr std::size_t kMainRootTableSize = 256 * 8;
inline constexpr std::size_t kMainTrailerSize = 1024;
inline constexpr int kMainGroupCount = 9;        // groups 0..8: records of 4 + g bytes
inline constexpr uint32_t kMainNoChildren = 0xFFFFF;
// From this node count on, child indexes use the 2- or 3-byte big-endian form.
inline constexpr uint32_t kMainWideIndexNodes = 0xFFFF;
// Longest word that a prefix walk builds, in bytes.
inline constexpr std::size_t kMainMaxWordBytes = 512;

// The compiler keeps a checksum in the banner block, whose bytes after the
// banner text no reader looks at: at kMainChecksumOffset stand the 8 bytes
// of kMainChecksumMark, the CRC-32C of every other byte of the file, and the
// file's size (low 32 bits), both little-endian. A file with anything else
// there (older files of ours hold zeros, other compilers may hold anything)
// has no checksum and is read as it always was; a file with one is used
// only when the checksum and size match.
inline constexpr std::size_t kMainChecksumOffset = 1008;
inline constexpr std::size_t kMainChecksumSize = 16;
inline constexpr std::string_view kMainChecksumMark{"CRC-32C\x1A", 8};
static_assert(kMainChecksumOffset >= kMainDictionaryBanner.size() &&
              kMainChecksumOffset + kMainChecksumSize <= kMainBannerBlockSize);

// Writes the checksum into a file image that is otherwise complete.
void SealMainDictionary(std::string& image);

// What the phonetic search needs of a phonetics map; TPhoneticsMap implements it.
class PhoneticEncoder {
 public:
  virtual ~PhoneticEncoder() = default;
  // The word's phonetic code.
  virtual std::string Encode(std::string_view word) const = 0;
  // How many leading characters of a word the search takes as typed (the
  // map's start depth).
  virtual int PhoneticDepth() const = 0;
};

// Called with each stored word under a prefix; answering true skips the
// words that continue it (its siblings are still visited).
using WordVisitor = std::function<bool(std::string_view word)>;

// A main dictionary file: exact lookups and walks over the words under a
// prefix. Lookups map the file on first use and are safe from several
// threads; Open and SetActive must not run while another thread looks up.
class TMainDictionary {
 public:
  TMainDictionary();
  ~TMainDictionary();
  TMainDictionary(const TMainDictionary&) = delete;
  TMainDictionary& operator=(const TMainDictionary&) = delete;

  // Reads and checks the header, and the checksum of a file that has one;
  // on success Filename() is path. A missing, short, foreign or damaged file
  // answers false and changes nothing but Problem().
  bool Open(const std::string& path);
  // Maps or unmaps the file; answers whether the dictionary is now active.
  // A file that breaks the size rules cannot be activated.
  bool SetActive(bool active);
  bool Active() const;

  // Exact, case-sensitive match of the word's bytes.
  bool Lookup(std::string_view word) const;
  // Lookup's answer found by walking the file's records rather than the
  // in-memory index that Lookup builds once a mapping has served a few
  // thousand lookups; tests compare the two.
  bool LookupInFile(std::string_view word) const;
  // Heap bytes of that index; 0 before it is built, while inactive, and for
  // a damaged file that would need far more memory than its size.
  std::size_t LookupIndexBytes() const;
  // Visits every stored word that starts with prefix, depth-first with
  // children in stored order (byte order for files from our compiler).
  void EnumeratePrefix(std::string_view prefix, const WordVisitor& visit) const;
  // Adds to results the stored words that start with the word's first
  // PhoneticDepth() characters and share its phonetic code; stops growing
  // the list at about 500 words.
  void EnumeratePhonetic(std::string_view word, const PhoneticEncoder& map,
                         std::vector<std::string>& results) const;

  // Why the last Open, or the last mapping of the file, failed: empty after
  // a success. Damaged() tells a damaged file (checksum or sizes that do not
  // match the file) from a missing or foreign one.
  std::string Problem() const;
  bool Damaged() const;

  const std::string& Filename() const { return filename_; }
  const std::string& Title() const { return title_; }
  int32_t Language() const { return language_; }
  uint32_t WordCount() const { return word_count_; }
  uint32_t NodeCount() const { return node_count_; }
  // Lookups answered by this dictionary since it was opened; the checker counts them.
  uint32_t HitCount() const { return hit_count_.load(std::memory_order_relaxed); }
  void CountHit() { hit_count_.fetch_add(1, std::memory_order_relaxed); }

  // The mapped file; defined and used only by the implementation.
  struct View;

 private:
  const View* EnsureActive() const;
  std::unique_ptr<View> Map() const;

  std::string filename_;
  std::string title_;
  int32_t language_ = 0;
  uint32_t word_count_ = 0;
  uint32_t node_count_ = 0;
  std::array<uint32_t, kMainGroupCount> group_counts_{};
  std::array<uint64_t, kMainGroupCount + 1> group_offsets_{};
  std::array<uint32_t, kMainGroupCount + 1> group_first_index_{};
  std::atomic<uint32_t> hit_count_{0};
  // The file's size, time and identity when its checksum last matched, so
  // that mapping the same file again does not read it all again.
  mutable FileVersion verified_;  // guarded by mutex_ once open
  mutable std::string problem_;  // guarded by mutex_ once open
  mutable bool damaged_ = false;  // guarded by mutex_ once open

  // The mapping, created lazily by the first lookup; guarded by mutex_.
  mutable std::mutex mutex_;
  mutable std::unique_ptr<View> view_;
  mutable bool map_failed_ = false;  // guarded by mutex_
  mutable std::atomic<const View*> active_view_{nullptr};
};

}  // namespace tovuri
