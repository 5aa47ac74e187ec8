#include "spell/ox3MainDictionary.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "spell/ox3Encoding.h"

namespace tovuri {
namespace {

constexpr std::size_t kPhoneticResultCap = 500;

uint32_t ReadLE32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
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
// walk visits more words than the header counts. A walk that breaks either
// bound is in a corrupt graph (links that loop or lead nowhere) and stops,
// instead of running for an exponential time.
class Walker {
 public:
  Walker(const TMainDictionary::View& v, const WordVisitor& visit, uint32_t word_count)
      : v_(v), visit_(visit), max_visits_(word_count) {}

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
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const auto size = static_cast<uint64_t>(in.tellg());
  if (!in || size <= kMainBannerBlockSize) return false;
  in.seekg(0);

  std::array<char, kMainBannerBlockSize> banner;
  if (!in.read(banner.data(), banner.size())) return false;
  if (std::string_view(banner.data(), kMainDictionaryBanner.size()) != kMainDictionaryBanner)
    return false;

  uint8_t title_units = 0;
  if (!in.read(reinterpret_cast<char*>(&title_units), 1)) return false;
  std::string raw_title(std::size_t{title_units} * 2 + 2, '\0');
  if (!in.read(raw_title.data(), static_cast<std::streamsize>(raw_title.size()))) return false;
  std::u16string title16;
  for (std::size_t i = 0; i < title_units; ++i)
    title16.push_back(static_cast<char16_t>(static_cast<uint8_t>(raw_title[2 * i]) |
                                            static_cast<uint8_t>(raw_title[2 * i + 1]) << 8));

  std::array<uint8_t, 12 + 4 * kMainGroupCount> fields;
  if (!in.read(reinterpret_cast<char*>(fields.data()), fields.size())) return false;
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
  if (first[kMainGroupCount] > UINT32_MAX) return false;

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
  if (was_active) SetActive(true);
  return true;
}

std::unique_ptr<TMainDictionary::View> TMainDictionary::Map() const {
  if (filename_.empty()) return nullptr;
  auto v = std::make_unique<View>();
  v->fd = ::open(filename_.c_str(), O_RDONLY | O_CLOEXEC);
  if (v->fd < 0) return nullptr;
  struct stat st;
  if (fstat(v->fd, &st) != 0 || st.st_size <= static_cast<off_t>(kMainBannerBlockSize))
    return nullptr;
  const auto size = static_cast<uint64_t>(st.st_size);
  void* p = mmap(nullptr, size, PROT_READ, MAP_SHARED, v->fd, 0);
  if (p == MAP_FAILED) return nullptr;
  v->base = static_cast<const uint8_t*>(p);
  v->size = size;
  // The file may have been replaced since Open; its banner must still be ours.
  if (std::memcmp(v->base, kMainDictionaryBanner.data(), kMainDictionaryBanner.size()) != 0)
    return nullptr;

  const uint64_t node_end = group_offsets_[kMainGroupCount];
  if (node_end + 4 >= size) return nullptr;
  const uint32_t linkage_size = ReadLE32(v->base + node_end);
  if (size < node_end + linkage_size + 3076) return nullptr;

  v->linkage = v->base + node_end + 4;
  v->linkage_size = linkage_size;
  std::memcpy(v->root.data(), v->linkage + linkage_size, kMainRootTableSize);
  std::memcpy(v->trailer.data(), v->linkage + linkage_size + kMainRootTableSize, kMainTrailerSize);
  for (int g = 0; g < kMainGroupCount; ++g) v->group_base[g] = v->base + group_offsets_[g];
  v->first = group_first_index_;
  v->total_nodes = group_first_index_[kMainGroupCount];
  v->wide = node_count_ >= kMainWideIndexNodes;
  v->BuildGroupHints();
  return v;
}

bool TMainDictionary::SetActive(bool active) {
  std::lock_guard lock(mutex_);
  if (active == (view_ != nullptr)) return active;
  if (!active) {
    active_view_.store(nullptr, std::memory_order_release);
    view_.reset();
    return false;
  }
  view_ = Map();
  active_view_.store(view_.get(), std::memory_order_release);
  return view_ != nullptr;
}

bool TMainDictionary::Active() const { return active_view_.load(std::memory_order_acquire) != nullptr; }

const TMainDictionary::View* TMainDictionary::EnsureActive() const {
  const View* v = active_view_.load(std::memory_order_acquire);
  if (v) return v;
  std::lock_guard lock(mutex_);
  if (!view_) {
    view_ = Map();
    active_view_.store(view_.get(), std::memory_order_release);
  }
  return view_.get();
}

namespace {

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
    uint32_t index;
    if constexpr (!kWide) {
      index = uint32_t{list[0]} | uint32_t{list[1]} << 8;
      list += 2;
    } else {
      const uint32_t b0 = list[0], b1 = list[1], b2 = list[2];
      const bool two_bytes = (b0 & 0x80) != 0;
      index = two_bytes ? ((b0 & 0x7F) << 8 | b1) : (b0 << 16 | b1 << 8 | b2);
      list += two_bytes ? 2 : 3;
    }
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

bool TMainDictionary::Lookup(std::string_view word) const {
  if (word.empty()) return false;
  const View* v = EnsureActive();
  if (!v) return false;
  const auto* w = reinterpret_cast<const uint8_t*>(word.data());
  return v->wide ? LookupIn<true>(*v, w, word.size()) : LookupIn<false>(*v, w, word.size());
}

void TMainDictionary::EnumeratePrefix(std::string_view prefix, const WordVisitor& visit) const {
  const View* v = EnsureActive();
  if (!v || prefix.size() > kMainMaxWordBytes) return;
  Node n;
  if (!v->NodeAt(0, n)) return;
  Walker walker(*v, visit, word_count_);
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

}  // namespace tovuri
