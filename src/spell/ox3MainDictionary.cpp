#include "spell/ox3MainDictionary.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "spell/ox3Checksum.h"
#include "spell/ox3Encoding.h"

namespace tovuri {
namespace {

constexpr std::size_t kPhoneticResultCap = 500;

// A checksum mark with at most this many bits changed is a mark that was
// damaged: any other 8 bytes lie that close to it once in 10^8 times.
constexpr int kMarkSlack = 8;

uint32_t ReadLE32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void WriteLE32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(v >> (8 * i));
}

// What the 8 bytes at kMainChecksumOffset say of the file.
enum class Mark { kNone, kPresent, kDamaged };

Mark ChecksumMark(const uint8_t* mark) {
  int changed = 0;
  for (std::size_t i = 0; i < kMainChecksumMark.size(); ++i)
    changed += std::popcount(static_cast<uint8_t>(mark[i] ^ static_cast<uint8_t>(kMainChecksumMark[i])));
  return changed == 0 ? Mark::kPresent : changed <= kMarkSlack ? Mark::kDamaged : Mark::kNone;
}

// The CRC-32C of every byte of a file image but its checksum record.
uint32_t MainChecksum(const uint8_t* base, std::size_t size) {
  const auto* bytes = reinterpret_cast<const char*>(base);
  const std::size_t after = kMainChecksumOffset + kMainChecksumSize;
  const uint32_t crc = Crc32c(std::string_view(bytes, kMainChecksumOffset));
  return Crc32c(std::string_view(bytes + after, size - after), crc);
}

// Why a file that carries a checksum is not as it was written, from its
// checksum record, its size and the CRC of its other bytes (computed only
// when a record is there); empty when it is as written, and for a file
// without a checksum.
template <typename ComputeCrc>
std::string RecordProblem(const uint8_t* record, [[maybe_unused]] std::size_t size,
                          [[maybe_unused]] ComputeCrc&& crc) {
  switch (ChecksumMark(record)) {
    case Mark::kNone: return {};
    case Mark::kDamaged: return "its checksum record is damaged";
    case Mark::kPresent: break;
  }
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Fuzzing builds skip the comparisons, so that damaged bytes reach the reader.
  const uint32_t written = ReadLE32(record + 12);
  if (written != static_cast<uint32_t>(size)) {
    if (size < written)
      return "it is cut short: " + std::to_string(size) + " of its " + std::to_string(written) + " bytes are left";
    return "it holds " + std::to_string(size) + " bytes where " + std::to_string(written) + " were written";
  }
  if (ReadLE32(record + 8) != crc()) return "its checksum does not match its contents";
#endif
  return {};
}

// The same for a file image in memory.
std::string ChecksumProblem(const uint8_t* base, std::size_t size) {
  return RecordProblem(base + kMainChecksumOffset, size, [&] { return MainChecksum(base, size); });
}

// Reads a whole file that carries a checksum and checks it; the file's
// version when it matches, else nothing with problem set (and damaged when
// the file was read but is not as written). Read in pieces rather than
// mapped: a copy costs less than a fault per page.
std::optional<FileVersion> VerifyFile(const std::string& path, std::string& problem, bool& damaged) {
  damaged = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    problem = std::string("it cannot be read: ") + std::strerror(errno);
    return std::nullopt;
  }
  std::optional<FileVersion> version;
  struct stat st;
  if (fstat(fd, &st) != 0 || st.st_size <= static_cast<off_t>(kMainBannerBlockSize)) {
    problem = "it cannot be read";
    close(fd);
    return version;
  }
  const auto size = static_cast<std::size_t>(st.st_size);
  constexpr std::size_t kPiece = 64 * 1024;
  static_assert(kPiece >= kMainBannerBlockSize);
  std::vector<uint8_t> piece(kPiece);
  std::array<uint8_t, kMainChecksumSize> record{};
  uint32_t crc = 0;
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = pread(fd, piece.data(), std::min(kPiece, size - done), static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    const auto got = static_cast<std::size_t>(n);
    // The first piece holds the whole banner block, and so the record.
    if (done == 0 && got >= kMainBannerBlockSize) {
      std::memcpy(record.data(), piece.data() + kMainChecksumOffset, kMainChecksumSize);
      crc = Crc32c(std::string_view(reinterpret_cast<const char*>(piece.data()), kMainChecksumOffset));
      const std::size_t after = kMainChecksumOffset + kMainChecksumSize;
      crc = Crc32c(std::string_view(reinterpret_cast<const char*>(piece.data()) + after, got - after), crc);
    } else if (done == 0) {
      break;
    } else {
      crc = Crc32c(std::string_view(reinterpret_cast<const char*>(piece.data()), got), crc);
    }
    done += got;
  }
  close(fd);
  if (done != size) {
    problem = "it cannot be read to its end";
    return version;
  }
  problem = RecordProblem(record.data(), size, [crc] { return crc; });
  damaged = !problem.empty();
  if (!damaged) version = VersionOf(st);
  return version;
}

// One node record, decoded.
struct Node {
  uint8_t ch;
  bool end;
  uint8_t count;  // child count field c (0..7)
  uint32_t link;
  const uint8_t* extra;
  uint32_t extra_len;
};

// Every word of the graph in one open-addressing hash table. A lookup reads
// one slot, and the word's bytes only when the slot's hash agrees, where the
// records below need one read per step: with words in random order most of
// those reads miss the cache, and the misses are what a lookup costs.
class WordTable {
 public:
  bool Empty() const { return slots_.empty(); }
  std::size_t Bytes() const { return slots_.capacity() * sizeof(Slot) + text_.capacity(); }

  // Holds the words that list(add) passes to add; false (and empty) when
  // listing fails or the table would take more than budget bytes.
  template <typename List>
  bool Build(std::size_t budget, List&& list) {
    std::vector<uint64_t> hashes;
    const bool listed = list([&](const uint8_t* w, std::size_t len) {
      if (len > kMaxLength || text_.size() + 1 + len + sizeof(Slot) * 2 * (hashes.size() + 1) > budget)
        return false;
      hashes.push_back(Hash(w, len));
      text_.push_back(static_cast<uint8_t>(len));
      text_.insert(text_.end(), w, w + len);
      return true;
    });
    // At most four fifths full, so that a probe that misses meets an empty
    // slot within a cache line or two.
    const std::size_t slot_count = std::bit_ceil(hashes.size() + hashes.size() / 4 + 1);
    if (!listed || text_.size() + slot_count * sizeof(Slot) > budget || text_.size() >= UINT32_MAX) {
      *this = {};
      return false;
    }
    slots_.assign(slot_count, Slot{});
    mask_ = slot_count - 1;
    std::size_t at = 0;
    for (const uint64_t h : hashes) {
      std::size_t i = h & mask_;
      while (slots_[i].entry != 0) i = (i + 1) & mask_;
      slots_[i] = {static_cast<uint32_t>(at + 1), static_cast<uint32_t>(h >> 32)};
      at += 1 + text_[at];
    }
    text_.shrink_to_fit();
    return true;
  }

  bool Contains(const uint8_t* w, std::size_t len) const {
    const uint64_t h = Hash(w, len);
    const auto tag = static_cast<uint32_t>(h >> 32);
    // The table always has empty slots, so the probe ends.
    for (std::size_t i = h & mask_;; i = (i + 1) & mask_) {
      const Slot slot = slots_[i];
      if (slot.entry == 0) return false;
      if (slot.hash != tag) continue;
      const uint8_t* stored = &text_[slot.entry - 1];
      if (stored[0] == len && std::memcmp(stored + 1, w, len) == 0) return true;
    }
  }

 private:
  // Longer words are not held: a graph with one keeps its records instead.
  static constexpr std::size_t kMaxLength = 255;

  struct Slot {
    uint32_t entry = 0;  // offset + 1 of the word's length byte in text_; 0: empty
    uint32_t hash = 0;   // the high half of the word's hash
  };

  static uint64_t Hash(const uint8_t* w, std::size_t len) {
    constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    uint64_t h = len * kMultiplier;
    std::size_t i = 0;
    for (; i + 8 <= len; i += 8) {
      uint64_t piece;
      std::memcpy(&piece, w + i, 8);
      h = std::rotl((h ^ piece) * kMultiplier, 29);
    }
    uint64_t last = 0;
    for (std::size_t k = 0; i + k < len; ++k) last |= uint64_t{w[i + k]} << (8 * k);
    h = (h ^ last) * kMultiplier;
    h ^= h >> 32;
    h *= 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 29);
  }

  std::vector<Slot> slots_;
  std::vector<uint8_t> text_;  // each word: its length byte, then its bytes
  std::size_t mask_ = 0;
};

// The word graph decoded once per mapping, for Lookup. Walking the file
// itself costs, per letter, a child list whose 2- or 3-byte indexes must be
// decoded one after another and a visit to the record of every child until
// the letter matches: about 30 scattered reads for a typical word. Here each
// node reachable from the root table is one packed record that holds
// everything a step needs, so a step reads one record, usually one cache
// line. Records are laid out depth-first: a record's first child often
// comes right after it, and then needs no offset.
//
// A record at byte offset r of bytes_:
//   r[0]        bit 7: a word ends here; bit 6: the first child's record
//               follows this one; bits 0-3: n, the chain length
//   r[1]        k, the number of children (distinct characters, stored order)
//   r[2 ..]     the k children's characters
//   then        the n chain bytes
//   then        3-byte offsets of the children's records, except the
//               first child's when it follows
class LookupIndex {
 public:
  bool Empty() const { return bytes_.empty() && words_.Empty(); }
  std::size_t Bytes() const { return bytes_.capacity() + words_.Bytes() + sizeof(*this); }

  // Builds the index from the mapped file; false (and empty) when it would
  // take far more memory than a sound file of that size needs (a damaged
  // file), so that lookups walk the file instead.
  template <bool kWide>
  bool Build(const TMainDictionary::View& v);

  // Exactly the answer of the walk over the file (LookupIn below).
  bool Lookup(const uint8_t* w, std::size_t len) const {
    if (!words_.Empty()) return words_.Contains(w, len);
    if (len > kPaddedWord) return Walk<false>(w, len);
    // A copy with spare bytes lets the chain comparison read whole words.
    std::array<uint8_t, kPaddedWord + 16> padded{};
    CopyShort(padded.data(), w, len);
    return Walk<true>(padded.data(), len);
  }

 private:
  static constexpr uint8_t kEndBit = 0x80;
  static constexpr uint8_t kFirstFollows = 0x40;
  static constexpr uint8_t kChainMask = 0x0F;
  static constexpr uint32_t kMaxChain = kChainMask;
  static constexpr std::size_t kPaddedWord = 48;
  static constexpr std::size_t kSpareBytes = 16;  // after the last record
  // Offsets of records take 3 bytes (little-endian), so the index is
  // limited to 16 MB; node indexes from the file always fit too.
  static constexpr uint32_t kOffsetBytes = 3;
  static constexpr uint32_t kOffsetLimit = 1u << 24;

  static uint32_t ReadOffset(const uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) return Load<uint32_t>(p) & 0xFFFFFF;
    else return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
  }
  static void WriteOffset(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
  }

  // The steps avoid branches that depend on the word where they can: with
  // words in random order such branches are mispredicted often, and each
  // misprediction costs about as much as a step.
  template <bool kPadded>
  bool Walk(const uint8_t* w, std::size_t len) const {
    const uint8_t* base = bytes_.data();
    const uint8_t* r = base + roots_[w[0]];
    if (len == 1) return (r[0] & kEndBit) != 0;
    for (std::size_t i = 1;;) {
      const uint32_t k = r[1];
      const uint32_t j = FindChar(r + 2, k, w[i]);
      if (j == k) return false;
      const uint8_t* offsets = r + 2 + k + (r[0] & kChainMask);
      const uint32_t follows = (r[0] & kFirstFollows) != 0;
      const bool adjacent = j < follows;
      // Both candidates are read; the second stays inside this record or,
      // when only the adjacent child exists, inside that child's record.
      const auto next = static_cast<std::size_t>(offsets + kOffsetBytes * (k - follows) - base);
      const uint32_t stored = ReadOffset(offsets + kOffsetBytes * (j - follows + adjacent));
      r = base + (adjacent ? next : stored);
      if (i == len - 1) return (r[0] & kEndBit) != 0;
      // No word ends inside a node's chain or at its last byte.
      const uint32_t n = r[0] & kChainMask;
      if (len - i - 1 <= n) return false;
      if (!ChainMatches<kPadded>(r + 2 + r[1], w + i + 1, n)) return false;
      i += 1 + n;
    }
  }

  template <typename T>
  static T Load(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }

  // memcpy for 8 to kPaddedWord bytes without a library call or a branch on
  // the length: 8-byte pieces, overlapping at the end, all within the len
  // bytes. Shorter words go byte by byte.
  static void CopyShort(uint8_t* to, const uint8_t* from, std::size_t len) {
    if (len < 8) {
      for (std::size_t at = 0; at < len; ++at) to[at] = from[at];
      return;
    }
    static_assert(kPaddedWord <= 48);
    for (std::size_t piece = 0; piece < 48; piece += 8) {
      const std::size_t at = std::min(piece, len - 8);
      std::memcpy(to + at, from + at, 8);
    }
  }

  // Masks that keep the first n bytes of two 8-byte loads, for n up to 15.
  static constexpr std::array<std::array<uint64_t, 2>, 16> kByteMasks = [] {
    std::array<std::array<uint64_t, 2>, 16> masks{};
    auto first = [](uint32_t m) -> uint64_t {
      if (m == 0) return 0;
      if (m >= 8) return ~uint64_t{0};
      return std::endian::native == std::endian::little ? (uint64_t{1} << (8 * m)) - 1
                                                       : ~uint64_t{0} << (64 - 8 * m);
    };
    for (uint32_t n = 0; n < 16; ++n) masks[n] = {first(n), first(n > 8 ? n - 8 : 0)};
    return masks;
  }();

  // Whether the n chain bytes at chain equal those at word. A padded word
  // and the spare bytes after the last record allow 16-byte reads.
  template <bool kPadded>
  static bool ChainMatches(const uint8_t* chain, const uint8_t* word, uint32_t n) {
    if constexpr (kPadded) {
      const uint64_t low = (Load<uint64_t>(chain) ^ Load<uint64_t>(word)) & kByteMasks[n][0];
      const uint64_t high = (Load<uint64_t>(chain + 8) ^ Load<uint64_t>(word + 8)) & kByteMasks[n][1];
      return (low | high) == 0;
    } else {
      return std::memcmp(chain, word, n) == 0;
    }
  }

  // The position of ch among the k characters at chars, or k. Eight
  // characters per comparison: x has a zero byte where a character matches.
  // Reading up to seven bytes past the characters is safe: bytes_ ends with
  // spare bytes.
  static uint32_t FindChar(const uint8_t* chars, uint32_t k, uint8_t ch) {
    constexpr uint32_t kNone = UINT32_MAX;
    const uint64_t pattern = uint64_t{ch} * 0x0101010101010101u;
    auto position = [&](uint32_t at) {
      const uint64_t x = Load<uint64_t>(chars + at) ^ pattern;
      if constexpr (std::endian::native == std::endian::little) {
        // Flags every zero byte, and perhaps a byte above one (a borrow):
        // the lowest flag is always a true zero.
        const uint64_t zero = (x - 0x0101010101010101u) & ~x & 0x8080808080808080u;
        return zero ? at + static_cast<uint32_t>(std::countr_zero(zero)) / 8 : kNone;
      } else {
        constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
        const uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);  // exactly the zero bytes
        return zero ? at + static_cast<uint32_t>(std::countl_zero(zero)) / 8 : kNone;
      }
    };
    uint32_t j = kNone;
    for (uint32_t at = 0; j == kNone && at < k; at += 8) j = position(at);
    return std::min(j, k);  // a match past k is no child
  }

  // One node's children as the walk over the file sees them.
  struct Children {
    uint32_t count = 0;
    std::array<uint8_t, 256> chars;
    std::array<uint32_t, 256> nodes;
  };
  template <bool kWide>
  static void ReadChildren(const TMainDictionary::View& v, uint32_t count, uint32_t link, bool counted,
                           Children& out);
  void Append(uint8_t flags, const uint8_t* chain, const Children& children);
  static Node NodeOf(const TMainDictionary::View& v, uint32_t i);

  // Calls add(word, length) with every word that Walk accepts, in no
  // particular order; false when add refuses one or the listing would visit
  // more than max_visits records (the listing then stops).
  template <typename Add>
  bool ForEachWord(std::size_t max_visits, Add&& add) const;

  std::vector<uint8_t> bytes_;
  std::array<uint32_t, 256> roots_{};  // record offset by first byte, from the root table
  // Every word, once the records above are built; they are then released.
  WordTable words_;
};

template <typename Add>
bool LookupIndex::ForEachWord(std::size_t max_visits, Add&& add) const {
  // A word is its first byte, then for each record on its way the child's
  // character and, unless the word ends at that record, the record's chain.
  // A record is pushed with the length of the word that reaches it; the
  // letters before that length stay in place until its subtree is done.
  constexpr std::size_t kLongest = 255;
  std::array<uint8_t, kLongest + kMaxChain + 2> word{};
  struct Step {
    uint32_t record;
    uint32_t length;  // of the word that ends at the record's character
    uint8_t ch;       // that character
  };
  std::vector<Step> stack;
  std::size_t visits = 0;
  for (std::size_t b = 0; b < 256; ++b) {
    stack.push_back({roots_[b], 1, static_cast<uint8_t>(b)});
    while (!stack.empty()) {
      // Each visit is a distinct prefix of a listed word, so a sound graph
      // needs fewer visits than its words have letters; a damaged one whose
      // records loop could otherwise take exponential time.
      if (++visits > max_visits) return false;
      const Step step = stack.back();
      stack.pop_back();
      const uint8_t* r = bytes_.data() + step.record;
      word[step.length - 1] = step.ch;
      if ((r[0] & kEndBit) != 0 && !add(word.data(), step.length)) return false;
      const uint32_t k = r[1];
      const uint32_t n = r[0] & kChainMask;
      const uint32_t next = step.length + n + 1;
      if (k == 0) continue;
      if (next > kLongest) return false;
      std::memcpy(&word[step.length], r + 2 + k, n);
      const uint8_t* offsets = r + 2 + k + n;
      const uint32_t follows = (r[0] & kFirstFollows) != 0;
      for (uint32_t j = k; j-- > 0;) {
        const std::size_t child = j < follows ? static_cast<std::size_t>(offsets + kOffsetBytes * (k - follows) - bytes_.data())
                                              : ReadOffset(offsets + kOffsetBytes * (j - follows));
        stack.push_back({static_cast<uint32_t>(child), next, r[2 + j]});
      }
    }
  }
  return true;
}

bool CountWords(const TMainDictionary::View& v, uint64_t& count);

}  // namespace

// Everything that depends on the mapped file.
struct TMainDictionary::View {
  int fd = -1;
  const uint8_t* base = nullptr;
  std::size_t size = 0;
  std::array<const uint8_t*, kMainGroupCount> group_base{};
  std::array<uint32_t, kMainGroupCount + 1> first{};
  uint32_t total_nodes = 0;
  const uint8_t* linkage = nullptr;
  uint32_t linkage_size = 0;
  bool wide = false;  // 2- or 3-byte big-endian child indexes
  std::array<uint8_t, kMainRootTableSize> root{};
  std::array<uint8_t, kMainTrailerSize> trailer{};
  // The lookup index, built by the lookup that finds the count of walks
  // over the file reaching kIndexAfterWalks: a dictionary that is mapped
  // for a few lookups only (the checker reopens its dictionaries after each
  // word the analyser accepts) does not pay for it. Published once through
  // index_ready; stays null when the file is too damaged for an index.
  mutable std::unique_ptr<LookupIndex> index;
  mutable std::atomic<const LookupIndex*> index_ready{nullptr};
  mutable std::atomic<uint64_t> walks{0};
  static constexpr uint64_t kIndexAfterWalks = 2000;

  const LookupIndex* Index() const {
    const LookupIndex* index_now = index_ready.load(std::memory_order_acquire);
    if (index_now || walks.fetch_add(1, std::memory_order_relaxed) + 1 != kIndexAfterWalks) return index_now;
    // Exactly one lookup sees the count reach the mark, so one thread builds
    // while the others go on walking the file.
    std::unique_ptr<LookupIndex> built;
    try {
      built = std::make_unique<LookupIndex>();
      if (!(wide ? built->Build<true>(*this) : built->Build<false>(*this))) return nullptr;
    } catch (const std::bad_alloc&) {
      return nullptr;  // a lookup never throws; this mapping keeps walking the file
    }
    index = std::move(built);
    index_ready.store(index.get(), std::memory_order_release);
    return index.get();
  }

  // The words below the root, counted by the first walk (none when the
  // graph's links loop): walks are bounded by it, lookups never need it.
  mutable std::once_flag words_counted;
  mutable uint64_t words = 0;
  uint64_t Words() const {
    std::call_once(words_counted, [this] {
      if (!CountWords(*this, words)) words = 0;
    });
    return words;
  }

  ~View() {
    if (base) munmap(const_cast<uint8_t*>(base), size);
    if (fd >= 0) close(fd);
  }

  // The group of the first node of each bucket of 2^hint_shift indexes, so
  // that finding a node's group costs one table read and, in the few buckets
  // that straddle a group boundary, a step or two.
  std::array<uint8_t, 1024> group_hint{};
  uint32_t hint_shift = 0;

  void BuildGroupHints() {
    while ((uint64_t{total_nodes} >> hint_shift) >= group_hint.size()) ++hint_shift;
    uint32_t g = 0;
    for (std::size_t b = 0; b < group_hint.size(); ++b) {
      const uint64_t i = uint64_t{b} << hint_shift;
      while (g < kMainGroupCount - 1 && i >= first[g + 1]) ++g;
      group_hint[b] = static_cast<uint8_t>(g);
    }
  }

  // The record of node i (which must be below total_nodes) and its group,
  // the last group whose first index is not above i.
  const uint8_t* Record(uint32_t i, uint32_t& group) const {
    uint32_t g = group_hint[i >> hint_shift];
    while (g < kMainGroupCount - 1 && i >= first[g + 1]) ++g;
    group = g;
    return group_base[g] + std::size_t{i - first[g]} * (4 + g);
  }

  // Corrupt files must not lead reads outside the mapping, so every index
  // and offset taken from the file is checked before use.
  bool NodeAt(uint32_t i, Node& n) const {
    if (i >= total_nodes) return false;
    uint32_t g = 0;
    const uint8_t* record = Record(i, g);
    Decode(record, g, n);
    return true;
  }

  static void Decode(const uint8_t* p, uint32_t group, Node& n) {
    const uint32_t w = ReadLE32(p);
    n.ch = static_cast<uint8_t>(w & 0xFF);
    n.link = (w >> 8) & 0xFFFFF;
    n.count = static_cast<uint8_t>((w >> 28) & 7);
    n.end = (w >> 31) != 0;
    n.extra = p + 4;
    n.extra_len = group;
  }
};

namespace {

// The children of a node (or of a root table entry), read one by one.
class ChildCursor {
 public:
  ChildCursor() = default;
  static ChildCursor Single(uint32_t index) {
    ChildCursor c;
    c.remaining_ = 1;
    c.single_ = true;
    c.index_ = index;
    return c;
  }
  static ChildCursor List(const TMainDictionary::View& v, uint32_t offset, uint32_t count) {
    ChildCursor c;
    if (offset > v.linkage_size) return c;
    c.remaining_ = count;
    c.pos_ = v.linkage + offset;
    c.end_ = v.linkage + v.linkage_size;
    c.wide_ = v.wide;
    return c;
  }
  static ChildCursor OfNode(const TMainDictionary::View& v, const Node& n) {
    if (n.count == 1) return Single(n.link);
    if (n.count >= 2) return List(v, n.link, n.count);
    if (n.link == kMainNoChildren || n.link >= v.linkage_size) return {};
    return List(v, n.link + 1, v.linkage[n.link]);
  }
  bool Empty() const { return remaining_ == 0; }
  bool Next(uint32_t& index) {
    if (remaining_ == 0) return false;
    --remaining_;
    if (single_) {
      index = index_;
      return true;
    }
    if (end_ - pos_ < 2) return Stop();
    if (!wide_) {
      index = uint32_t{pos_[0]} | uint32_t{pos_[1]} << 8;
      pos_ += 2;
    } else if (pos_[0] & 0x80) {
      index = uint32_t{pos_[0] & 0x7Fu} << 8 | pos_[1];
      pos_ += 2;
    } else {
      if (end_ - pos_ < 3) return Stop();
      index = uint32_t{pos_[0]} << 16 | uint32_t{pos_[1]} << 8 | pos_[2];
      pos_ += 3;
    }
    return true;
  }

 private:
  bool Stop() {
    remaining_ = 0;
    return false;
  }
  uint32_t remaining_ = 0;
  bool single_ = false;
  bool wide_ = false;
  uint32_t index_ = 0;
  const uint8_t* pos_ = nullptr;
  const uint8_t* end_ = nullptr;
};

// Every child a cursor lists is a node other than the root, and the list
// lies wholly inside the linkage area.
bool ChildrenHoldTogether(const TMainDictionary::View& v, ChildCursor children, uint32_t expected) {
  uint32_t index = 0;
  uint32_t seen = 0;
  while (children.Next(index)) {
    if (index == 0 || index >= v.total_nodes) return false;
    ++seen;
  }
  return seen == expected;
}

// A sound graph has no NUL in any label (words are zero-terminated text),
// no link outside the file, and a word end at every node without children.
// A file that breaks any of these is damaged; checking once per mapping
// keeps walks from listing words that lookups can never find.
bool RecordsHoldTogether(const TMainDictionary::View& v) {
  if (v.total_nodes == 0) return false;
  for (uint32_t b = 0; b < 256; ++b) {
    const uint8_t* entry = &v.root[std::size_t{b} * 8];
    const uint32_t count = entry[1];
    const uint32_t link = ReadLE32(entry + 4);
    if (b == 0 && (entry[0] != 0 || count != 0)) return false;
    if (count == 1 && (link == 0 || link >= v.total_nodes)) return false;
    if (count >= 2 && !ChildrenHoldTogether(v, ChildCursor::List(v, link, count), count)) return false;
  }
  Node n;
  for (uint32_t i = 0; i < v.total_nodes; ++i) {
    if (!v.NodeAt(i, n)) return false;
    if (i > 0 && n.ch == 0) return false;
    if (std::memchr(n.extra, 0, n.extra_len) != nullptr) return false;
    uint32_t expected = n.count;
    if (n.count == 0) {
      if (n.link == kMainNoChildren) {
        if (i > 0 && !n.end) return false;
        continue;
      }
      if (n.link >= v.linkage_size) return false;
      expected = v.linkage[n.link];
    }
    if (!ChildrenHoldTogether(v, ChildCursor::OfNode(v, n), expected)) return false;
  }
  return true;
}

// Counts the words below the root node; false when a path comes back to a
// node it has passed, which no sound file has. Walks are bounded by this
// count as well as the header's, so a damaged file whose links loop under a
// header that claims billions of words cannot hold a walk for hours.
bool CountWords(const TMainDictionary::View& v, uint64_t& count) {
  constexpr uint64_t kTooMany = uint64_t{1} << 33;  // more than any header can count
  enum : uint8_t { kUnseen, kOnPath, kDone };
  std::vector<uint8_t> state(v.total_nodes, kUnseen);
  std::vector<uint64_t> words(v.total_nodes, 0);  // at and below each finished node
  struct Step {
    uint32_t node;
    ChildCursor children;
    uint64_t words;
  };
  std::vector<Step> path;
  Node n;
  if (!v.NodeAt(0, n)) return false;
  state[0] = kOnPath;
  path.push_back({0, ChildCursor::OfNode(v, n), 0});  // the empty word is no word
  while (!path.empty()) {
    uint32_t child;
    if (path.back().children.Next(child)) {
      if (child >= v.total_nodes || state[child] == kOnPath) return false;
      if (state[child] == kDone) {
        path.back().words = std::min(path.back().words + words[child], kTooMany);
        continue;
      }
      if (!v.NodeAt(child, n)) return false;
      state[child] = kOnPath;
      path.push_back({child, ChildCursor::OfNode(v, n), n.end ? 1u : 0u});
      continue;
    }
    const Step done = path.back();
    path.pop_back();
    state[done.node] = kDone;
    words[done.node] = done.words;
    if (!path.empty()) path.back().words = std::min(path.back().words + done.words, kTooMany);
  }
  count = words[0];
  return true;
}

bool FindChild(const TMainDictionary::View& v, ChildCursor children, uint8_t ch, Node& found) {
  uint32_t index;
  while (children.Next(index))
    if (v.NodeAt(index, found) && found.ch == ch) return true;
  return false;
}

// Depth-first walk below a node whose text is already in word.
//
// In a sound graph every node leads to a word end, so each node entered is
// one of the at most 512 nodes on the way to a word that is visited, and no
// walk visits more words than the graph holds and the header counts. A walk
// that breaks either bound is in a corrupt graph (links that lead nowhere, a
// header that counts fewer words) and stops, instead of running for an
// exponential time.
class Walker {
 public:
  Walker(const TMainDictionary::View& v, const WordVisitor& visit, uint64_t max_visits)
      : v_(v), visit_(visit), max_visits_(max_visits) {}

  void Children(ChildCursor children, std::string& word) {
    uint32_t index;
    Node n;
    while (!stopped_ && children.Next(index))
      if (v_.NodeAt(index, n)) Enter(n, word);
  }

  void Enter(const Node& n, std::string& word) {
    if (word.size() + 1 + n.extra_len > kMainMaxWordBytes) return;
    if (++entered_ > (kMainMaxWordBytes + 1) * (visits_ + 1)) stopped_ = true;
    if (stopped_) return;
    const std::size_t mark = word.size();
    word.push_back(static_cast<char>(n.ch));
    bool skip = false;
    if (n.end) {
      if (++visits_ > max_visits_) stopped_ = true;
      else skip = visit_(word);
    }
    if (!skip && !stopped_) {
      word.append(reinterpret_cast<const char*>(n.extra), n.extra_len);
      Children(ChildCursor::OfNode(v_, n), word);
    }
    word.resize(mark);
  }

 private:
  const TMainDictionary::View& v_;
  const WordVisitor& visit_;
  uint64_t max_visits_;
  uint64_t visits_ = 0;
  uint64_t entered_ = 0;
  bool stopped_ = false;
};

}  // namespace

TMainDictionary::TMainDictionary() = default;
TMainDictionary::~TMainDictionary() { SetActive(false); }

bool TMainDictionary::Open(const std::string& path) {
  const auto fail = [this](std::string problem, bool damaged) {
    std::lock_guard lock(mutex_);
    problem_ = std::move(problem);
    damaged_ = damaged;
    return false;
  };
  std::ifstream in(path, std::ios::binary);
  if (!in) return fail("it cannot be read", false);
  in.seekg(0, std::ios::end);
  const auto size = static_cast<uint64_t>(in.tellg());
  if (!in || size <= kMainBannerBlockSize) return fail("it is no main dictionary (too short)", false);
  in.seekg(0);

  std::array<char, kMainBannerBlockSize> banner;
  if (!in.read(banner.data(), banner.size())) return fail("it cannot be read", false);
  if (std::string_view(banner.data(), kMainDictionaryBanner.size()) != kMainDictionaryBanner)
    return fail("it is no main dictionary (its banner differs)", false);

  uint8_t title_units = 0;
  if (!in.read(reinterpret_cast<char*>(&title_units), 1)) return fail("it is cut short in its header", true);
  std::string raw_title(std::size_t{title_units} * 2 + 2, '\0');
  if (!in.read(raw_title.data(), static_cast<std::streamsize>(raw_title.size())))
    return fail("it is cut short in its header", true);
  std::u16string title16;
  for (std::size_t i = 0; i < title_units; ++i)
    title16.push_back(static_cast<char16_t>(static_cast<uint8_t>(raw_title[2 * i]) |
                                            static_cast<uint8_t>(raw_title[2 * i + 1]) << 8));

  std::array<uint8_t, 12 + 4 * kMainGroupCount> fields;
  if (!in.read(reinterpret_cast<char*>(fields.data()), fields.size()))
    return fail("it is cut short in its header", true);
  std::array<uint32_t, kMainGroupCount> counts;
  for (int g = 0; g < kMainGroupCount; ++g) counts[g] = ReadLE32(&fields[12 + 4 * g]);

  std::array<uint64_t, kMainGroupCount + 1> offsets;
  std::array<uint64_t, kMainGroupCount + 1> first;
  offsets[0] = static_cast<uint64_t>(in.tellg());
  first[0] = 0;
  for (int g = 1; g <= kMainGroupCount; ++g) {
    offsets[g] = offsets[g - 1] + uint64_t{counts[g - 1]} * (g + 3);
    first[g] = first[g - 1] + counts[g - 1];
  }
  // Node indexes are 32-bit; more nodes than that cannot be a real file.
  if (first[kMainGroupCount] > UINT32_MAX) return fail("its node counts are beyond any real file", true);

  // Only a file that carries a checksum is read whole here; the others cost
  // what they always did.
  FileVersion verified;
  if (ChecksumMark(reinterpret_cast<const uint8_t*>(banner.data() + kMainChecksumOffset)) != Mark::kNone) {
    std::string problem;
    bool damaged = false;
    const std::optional<FileVersion> version = VerifyFile(path, problem, damaged);
    if (!version) return fail(std::move(problem), damaged);
    verified = *version;
  }

  const bool was_active = Active();
  SetActive(false);
  hit_count_.store(0, std::memory_order_relaxed);
  title_ = Utf16ToWindows1252(title16);
  language_ = static_cast<int32_t>(ReadLE32(&fields[0]));
  word_count_ = ReadLE32(&fields[4]);
  node_count_ = ReadLE32(&fields[8]);
  group_counts_ = counts;
  group_offsets_ = offsets;
  for (int g = 0; g <= kMainGroupCount; ++g) group_first_index_[g] = static_cast<uint32_t>(first[g]);
  filename_ = path;
  {
    std::lock_guard lock(mutex_);
    verified_ = verified;
    problem_.clear();
    damaged_ = false;
  }
  if (was_active) SetActive(true);
  return true;
}

std::string TMainDictionary::Problem() const {
  std::lock_guard lock(mutex_);
  return problem_;
}

bool TMainDictionary::Damaged() const {
  std::lock_guard lock(mutex_);
  return damaged_;
}

std::unique_ptr<TMainDictionary::View> TMainDictionary::Map() const {
  if (filename_.empty()) return nullptr;
  const auto fail = [this](std::string problem, bool damaged) -> std::unique_ptr<View> {
    problem_ = std::move(problem);
    damaged_ = damaged;
    return nullptr;
  };
  auto v = std::make_unique<View>();
  v->fd = ::open(filename_.c_str(), O_RDONLY | O_CLOEXEC);
  if (v->fd < 0) return fail(std::string("it cannot be read: ") + std::strerror(errno), false);
  struct stat st;
  if (fstat(v->fd, &st) != 0 || st.st_size <= static_cast<off_t>(kMainBannerBlockSize))
    return fail("it is cut short", true);
  const auto size = static_cast<uint64_t>(st.st_size);
  void* p = mmap(nullptr, size, PROT_READ, MAP_SHARED, v->fd, 0);
  if (p == MAP_FAILED) return fail(std::string("it cannot be mapped: ") + std::strerror(errno), false);
  v->base = static_cast<const uint8_t*>(p);
  v->size = size;
  // The file may have been replaced since Open; its banner must still be ours.
  if (std::memcmp(v->base, kMainDictionaryBanner.data(), kMainDictionaryBanner.size()) != 0)
    return fail("it is no main dictionary (its banner differs)", false);
  // Mapping a file again (after each check, unless dictionaries are kept
  // active) reads it whole only when it changed since its checksum was read.
  const FileVersion version = VersionOf(st);
  if (!(version == verified_)) {
    std::string problem = ChecksumProblem(v->base, size);
    if (!problem.empty()) return fail(std::move(problem), true);
    verified_ = version;
  }

  const uint64_t node_end = group_offsets_[kMainGroupCount];
  if (node_end + 4 >= size) return fail("it is cut short in its node records", true);
  const uint32_t linkage_size = ReadLE32(v->base + node_end);
  if (size < node_end + linkage_size + 3076) return fail("it is cut short after its node records", true);

  v->linkage = v->base + node_end + 4;
  v->linkage_size = linkage_size;
  std::memcpy(v->root.data(), v->linkage + linkage_size, kMainRootTableSize);
  std::memcpy(v->trailer.data(), v->linkage + linkage_size + kMainRootTableSize, kMainTrailerSize);
  for (int g = 0; g < kMainGroupCount; ++g) v->group_base[g] = v->base + group_offsets_[g];
  v->first = group_first_index_;
  v->total_nodes = group_first_index_[kMainGroupCount];
  v->wide = node_count_ >= kMainWideIndexNodes;
  v->BuildGroupHints();
  if (!RecordsHoldTogether(*v)) return fail("its records do not hold together", true);
  problem_.clear();
  damaged_ = false;
  return v;
}

bool TMainDictionary::SetActive(bool active) {
  std::lock_guard lock(mutex_);
  if (!active) map_failed_ = false;
  if (active == (view_ != nullptr)) return active;
  if (!active) {
    active_view_.store(nullptr, std::memory_order_release);
    view_.reset();
    return false;
  }
  view_ = Map();
  map_failed_ = view_ == nullptr;
  active_view_.store(view_.get(), std::memory_order_release);
  return view_ != nullptr;
}

bool TMainDictionary::Active() const { return active_view_.load(std::memory_order_acquire) != nullptr; }

const TMainDictionary::View* TMainDictionary::EnsureActive() const {
  const View* v = active_view_.load(std::memory_order_acquire);
  if (v) return v;
  std::lock_guard lock(mutex_);
  // A file that failed to map is not tried again at every lookup, only
  // after it was reopened or released.
  if (!view_ && !map_failed_) {
    view_ = Map();
    map_failed_ = view_ == nullptr;
    active_view_.store(view_.get(), std::memory_order_release);
  }
  return view_.get();
}

namespace {

// Reads one child index of a linkage list and steps past it: 2 bytes little
// endian in narrow files; 2 bytes (top bit set) or 3 bytes big endian in wide ones.
template <bool kWide>
uint32_t ReadChildIndex(const uint8_t*& list) {
  if constexpr (!kWide) {
    const uint32_t index = uint32_t{list[0]} | uint32_t{list[1]} << 8;
    list += 2;
    return index;
  } else {
    const uint32_t b0 = list[0], b1 = list[1], b2 = list[2];
    const bool two_bytes = (b0 & 0x80) != 0;
    list += two_bytes ? 2 : 3;
    return two_bytes ? ((b0 & 0x7F) << 8 | b1) : (b0 << 16 | b1 << 8 | b2);
  }
}

// Finds among count child indexes at list the node with character ch. The
// lookup's inner loop, so it is specialised for the index encoding and has
// no branch on the width of an index. It needs no bounds check on the list
// either: a list starts inside the linkage area, holds at most 255 indexes
// of at most 3 bytes, and the 3,072 bytes of root table and trailer always
// follow the linkage area in the mapping. Indexes read past the area's end
// in a corrupt file are garbage, and garbage is caught by the node count.
template <bool kWide>
bool ScanChildren(const TMainDictionary::View& v, const uint8_t* list, uint32_t count, uint8_t ch,
                  Node& found) {
  for (; count > 0; --count) {
    const uint32_t index = ReadChildIndex<kWide>(list);
    if (index >= v.total_nodes) continue;
    uint32_t group;
    const uint8_t* record = v.Record(index, group);
    if (record[0] == ch) {
      TMainDictionary::View::Decode(record, group, found);
      return true;
    }
  }
  return false;
}

// Finds the child with character ch of a node whose child count field is
// count and whose link is link (a root table entry passes its own count).
template <bool kWide>
bool FindChildFast(const TMainDictionary::View& v, uint32_t count, uint32_t link, bool counted,
                   uint8_t ch, Node& found) {
  if (count == 1) return v.NodeAt(link, found) && found.ch == ch;
  if (count == 0) {
    if (!counted || link == kMainNoChildren || link >= v.linkage_size) return false;
    count = v.linkage[link];
    ++link;
  }
  if (link > v.linkage_size) return false;
  return ScanChildren<kWide>(v, v.linkage + link, count, ch, found);
}

template <bool kWide>
bool LookupIn(const TMainDictionary::View& v, const uint8_t* w, std::size_t len) {
  const uint8_t* root = &v.root[std::size_t{w[0]} * 8];
  if (len == 1) return root[0] != 0;
  uint32_t count = root[1];
  uint32_t link = ReadLE32(root + 4);
  if (count == 0) return false;
  bool counted = false;  // root entries give the count themselves
  std::size_t i = 1;
  Node n;
  for (;;) {
    if (!FindChildFast<kWide>(v, count, link, counted, w[i], n)) return false;
    if (i == len - 1) return n.end;
    // No word ends inside a node's chain or at its last byte.
    if (len - i - 1 <= n.extra_len) return false;
    for (uint32_t k = 0; k < n.extra_len; ++k)
      if (n.extra[k] != w[i + 1 + k]) return false;
    i += 1 + n.extra_len;
    count = n.count;
    link = n.link;
    counted = true;
    if (count == 0 && link == kMainNoChildren) return false;
  }
}

}  // namespace

template <bool kWide>
void LookupIndex::ReadChildren(const TMainDictionary::View& v, uint32_t count, uint32_t link, bool counted,
                               Children& out) {
  // The same reading of count and link as FindChildFast and ScanChildren.
  out.count = 0;
  uint32_t group = 0;
  if (count == 1) {
    if (link < v.total_nodes) {
      out.chars[0] = v.Record(link, group)[0];
      out.nodes[0] = link;
      out.count = 1;
    }
    return;
  }
  if (count == 0) {
    if (!counted || link == kMainNoChildren || link >= v.linkage_size) return;
    count = v.linkage[link];
    ++link;
  }
  if (link > v.linkage_size) return;
  // Stored order, the first child of each character only: the walk over the
  // file answers with the first match.
  std::array<bool, 256> seen{};
  const uint8_t* list = v.linkage + link;
  for (; count > 0; --count) {
    const uint32_t index = ReadChildIndex<kWide>(list);
    if (index >= v.total_nodes) continue;
    const uint8_t ch = v.Record(index, group)[0];
    if (seen[ch]) continue;
    seen[ch] = true;
    out.chars[out.count] = ch;
    out.nodes[out.count++] = index;
  }
}

Node LookupIndex::NodeOf(const TMainDictionary::View& v, uint32_t i) {
  uint32_t group = 0;
  const uint8_t* record = v.Record(i, group);
  Node n;
  TMainDictionary::View::Decode(record, group, n);
  return n;
}

// Appends a record whose child offsets are, for now, node indexes.
void LookupIndex::Append(uint8_t flags, const uint8_t* chain, const Children& children) {
  const uint32_t k = children.count;
  const uint32_t follows = (flags & kFirstFollows) != 0;
  bytes_.push_back(flags);
  bytes_.push_back(static_cast<uint8_t>(k));
  bytes_.insert(bytes_.end(), children.chars.begin(), children.chars.begin() + k);
  bytes_.insert(bytes_.end(), chain, chain + (flags & kChainMask));
  const std::size_t at = bytes_.size();
  bytes_.resize(at + kOffsetBytes * std::size_t{k - follows});
  for (uint32_t j = follows; j < k; ++j) WriteOffset(&bytes_[at + kOffsetBytes * (j - follows)], children.nodes[j]);
}

template <bool kWide>
bool LookupIndex::Build(const TMainDictionary::View& v) {
  // A sound file's records take about as many bytes here as the file (each
  // child costs at most 5 bytes against at least 2 in the file). A damaged
  // file whose records point into one long list at random could need
  // hundreds of times more; it goes without.
  const uint64_t budget = std::min<uint64_t>(uint64_t{v.size} * 4 + (1u << 20), kOffsetLimit - kSpareBytes);
  constexpr uint32_t kUnplaced = UINT32_MAX;
  std::vector<uint32_t> offset_of(v.total_nodes, kUnplaced);
  // Depth-first order places a record's first child next, unless it is
  // already placed (a child shared with an earlier parent).
  std::vector<uint32_t> stack;
  auto FirstFollows = [&](const Children& c) {
    return c.count > 0 && offset_of[c.nodes[0]] == kUnplaced ? kFirstFollows : 0;
  };
  auto Abandon = [this] {
    bytes_ = {};
    return false;
  };
  Children children;
  const uint8_t no_chain[1] = {};
  bytes_.reserve(std::min<uint64_t>(budget, uint64_t{v.size} * 2));

  // Root records first, then depth-first from each root's children.
  for (std::size_t b = 0; b < 256; ++b) {
    const uint8_t* root = &v.root[b * 8];
    ReadChildren<kWide>(v, root[1], ReadLE32(root + 4), false, children);
    roots_[b] = static_cast<uint32_t>(bytes_.size());
    Append(static_cast<uint8_t>((root[0] != 0 ? kEndBit : 0) | FirstFollows(children)), no_chain, children);
    if (bytes_.size() > budget) return Abandon();
    for (uint32_t j = children.count; j > 0; --j) stack.push_back(children.nodes[j - 1]);
    while (!stack.empty()) {
      const uint32_t i = stack.back();
      stack.pop_back();
      if (offset_of[i] != kUnplaced) continue;
      offset_of[i] = static_cast<uint32_t>(bytes_.size());
      Node n = NodeOf(v, i);
      ReadChildren<kWide>(v, n.count, n.link, true, children);
      std::array<uint8_t, kMaxChain> chain;
      std::memcpy(chain.data(), n.extra, n.extra_len);
      uint32_t chain_len = n.extra_len;
      // A lone child at which no word ends continues the chain, so the
      // lookup reads one record where the file has two. (The file cannot do
      // this when the child is shared with other parents; a copy here can.)
      while (children.count == 1) {
        const Node next = NodeOf(v, children.nodes[0]);
        if (next.end || chain_len + 1 + next.extra_len > kMaxChain) break;
        chain[chain_len] = next.ch;
        std::memcpy(&chain[chain_len + 1], next.extra, next.extra_len);
        chain_len += 1 + next.extra_len;
        ReadChildren<kWide>(v, next.count, next.link, true, children);
      }
      Append(static_cast<uint8_t>((n.end ? kEndBit : 0) | FirstFollows(children) | chain_len), chain.data(),
             children);
      if (bytes_.size() > budget) return Abandon();
      for (uint32_t j = children.count; j > 0; --j)
        if (offset_of[children.nodes[j - 1]] == kUnplaced) stack.push_back(children.nodes[j - 1]);
    }
  }

  // Every child of a placed record was placed too: turn indexes into offsets.
  for (std::size_t r = 0; r < bytes_.size();) {
    const uint32_t count = bytes_[r + 1] - ((bytes_[r] & kFirstFollows) != 0);
    uint8_t* offsets = &bytes_[r + 2 + bytes_[r + 1] + (bytes_[r] & kChainMask)];
    for (uint32_t j = 0; j < count; ++j)
      WriteOffset(offsets + kOffsetBytes * j, offset_of[ReadOffset(offsets + kOffsetBytes * j)]);
    r = static_cast<std::size_t>(offsets + kOffsetBytes * count - bytes_.data());
  }
  bytes_.resize(bytes_.size() + kSpareBytes, 0);  // for whole-word reads
  bytes_.shrink_to_fit();
  // The table replaces the records when it takes at most twice what they and
  // the mapping take together. A graph that shares much (a real word list)
  // keeps its records: they are then small enough for the nearer caches,
  // where a walk is faster than a table that is not.
  const std::size_t table_budget = v.size + 2 * bytes_.size();
  if (words_.Build(table_budget, [&](auto add) { return ForEachWord(table_budget, add); })) bytes_ = {};
  return true;
}

bool TMainDictionary::Lookup(std::string_view word) const {
  if (word.empty()) return false;
  const View* v = EnsureActive();
  if (!v) return false;
  const auto* w = reinterpret_cast<const uint8_t*>(word.data());
  if (const LookupIndex* index = v->Index()) return index->Lookup(w, word.size());
  return v->wide ? LookupIn<true>(*v, w, word.size()) : LookupIn<false>(*v, w, word.size());
}

bool TMainDictionary::LookupInFile(std::string_view word) const {
  if (word.empty()) return false;
  const View* v = EnsureActive();
  if (!v) return false;
  const auto* w = reinterpret_cast<const uint8_t*>(word.data());
  return v->wide ? LookupIn<true>(*v, w, word.size()) : LookupIn<false>(*v, w, word.size());
}

std::size_t TMainDictionary::LookupIndexBytes() const {
  const View* v = active_view_.load(std::memory_order_acquire);
  const LookupIndex* index = v ? v->index_ready.load(std::memory_order_acquire) : nullptr;
  return index ? index->Bytes() : 0;
}

void TMainDictionary::EnumeratePrefix(std::string_view prefix, const WordVisitor& visit) const {
  const View* v = EnsureActive();
  if (!v || prefix.size() > kMainMaxWordBytes) return;
  Node n;
  if (!v->NodeAt(0, n)) return;
  Walker walker(*v, visit, std::min<uint64_t>(v->Words(), word_count_));
  std::string word;
  word.reserve(kMainMaxWordBytes + 1);
  if (prefix.empty()) {
    walker.Children(ChildCursor::OfNode(*v, n), word);
    return;
  }

  const auto* p = reinterpret_cast<const uint8_t*>(prefix.data());
  ChildCursor children = ChildCursor::OfNode(*v, n);
  std::size_t i = 0;
  for (;;) {
    if (!FindChild(*v, children, p[i], n)) return;
    if (i == prefix.size() - 1) {
      word.assign(prefix.substr(0, i));
      walker.Enter(n, word);
      return;
    }
    const std::size_t rest = prefix.size() - i - 1;
    if (rest <= n.extra_len) {
      // The prefix ends inside this node's chain: its words are those below
      // the node, once the chain matches the rest of the prefix.
      if (std::memcmp(n.extra, p + i + 1, rest) != 0) return;
      word.assign(prefix);
      word.append(reinterpret_cast<const char*>(n.extra) + rest, n.extra_len - rest);
      walker.Children(ChildCursor::OfNode(*v, n), word);
      return;
    }
    if (n.extra_len && std::memcmp(n.extra, p + i + 1, n.extra_len) != 0) return;
    i += 1 + n.extra_len;
    children = ChildCursor::OfNode(*v, n);
  }
}

void TMainDictionary::EnumeratePhonetic(std::string_view word, const PhoneticEncoder& map,
                                        std::vector<std::string>& results) const {
  const std::string code = map.Encode(word);
  if (code.size() <= 1) return;
  const std::size_t depth = static_cast<std::size_t>(std::max(1, map.PhoneticDepth()));
  const std::string_view prefix = word.substr(0, std::min(depth, word.size()));
  EnumeratePrefix(prefix, [&](std::string_view candidate) {
    const std::string candidate_code = map.Encode(candidate);
    // Codes only grow as a word grows, so a longer code rules out the subtree.
    if (candidate_code != code) return candidate_code.size() > code.size();
    if (results.size() > kPhoneticResultCap) return true;
    if (std::find(results.begin(), results.end(), candidate) == results.end())
      results.emplace_back(candidate);
    return false;
  });
}

void SealMainDictionary(std::string& image) {
  if (image.size() <= kMainBannerBlockSize) return;
  char* record = image.data() + kMainChecksumOffset;
  std::memcpy(record, kMainChecksumMark.data(), kMainChecksumMark.size());
  const auto* base = reinterpret_cast<const uint8_t*>(image.data());
  WriteLE32(record + 8, MainChecksum(base, image.size()));
  WriteLE32(record + 12, static_cast<uint32_t>(image.size()));
}

}  // namespace tovuri
