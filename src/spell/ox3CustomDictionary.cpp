#include "spell/ox3CustomDictionary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "spell/ox3Encoding.h"

namespace tovuri {
namespace {

// The largest prime below each power of two from 2^8 to 2^31: every probe
// step then reaches every slot.
constexpr std::array<uint32_t, 24> kTableSizes = {
    251,       509,       1021,      2039,      4093,       8191,       16381,      32749,
    65521,     131071,    262139,    524287,    1048573,    2097143,    4194301,    8388593,
    16777213,  33554393,  67108859,  134217689, 268435399,  536870909,  1073741789, 2147483647};

constexpr std::size_t kBannerBytes = 120;  // the banner and its zero byte
constexpr std::size_t kHeaderBytes = 141;  // banner, marker byte, four counts, H
constexpr std::size_t kHeapStep = 65535;
constexpr int32_t kDeleted = -1;

uint32_t NextTableSize(uint32_t size) {
  for (uint32_t s : kTableSizes)
    if (s > size) return s;
  return 0;
}

bool IsTableSize(uint32_t size) {
  return size == 0 || std::find(kTableSizes.begin(), kTableSizes.end(), size) != kTableSizes.end();
}

uint32_t ProbeStep(int32_t hash) { return static_cast<uint32_t>(hash % 97) + 1; }

uint32_t ReadLE32(const char* p) {
  const auto* b = reinterpret_cast<const uint8_t*>(p);
  return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

void PutLE32(std::string& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(v >> shift));
}

// Reads exactly n bytes; false on a short read or an error.
bool ReadFully(int fd, char* out, std::size_t n) {
  while (n > 0) {
    const ssize_t got = read(fd, out, n);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    n -= static_cast<std::size_t>(got);
  }
  return true;
}

// Opens the file and checks its banner: the file descriptor, -1 when the
// file cannot be opened, or -2 when it is not a custom dictionary.
int OpenChecked(const std::string& path) {
  if (path.empty()) return -1;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  std::array<char, kBannerBytes + 1> head;
  if (!ReadFully(fd, head.data(), head.size()) ||
      std::string_view(head.data(), kCustomDictionaryBanner.size()) != kCustomDictionaryBanner ||
      head[kCustomDictionaryBanner.size()] != '\0') {
    close(fd);
    return -2;
  }
  return fd;
}

// Whether a file could be created at path: a test file is made beside it
// and removed. Never at path itself, where another process would find an
// empty file for a moment and take it for a damaged dictionary.
bool CanCreate(const std::string& path) {
  std::string probe = path + ".tmpXXXXXX";
  const int fd = mkstemp(probe.data());
  if (fd < 0) return false;
  close(fd);
  unlink(probe.c_str());
  return true;
}

}  // namespace

int32_t CustomDictionaryHash(std::string_view word, int32_t table_size) {
  // Multiplications wrap like two's-complement 32-bit integers; the
  // remainders truncate toward zero like C++'s %.
  const auto wrap = [](uint32_t v) { return static_cast<int32_t>(v); };
  int32_t h = 0;
  int32_t a = 31415;
  const int32_t b = 27183;
  for (char ch : word) {
    const auto c = static_cast<uint8_t>(ch);
    h = wrap(static_cast<uint32_t>(a) * static_cast<uint32_t>(h) + c) % table_size;
    if (h < 0) h = (-h) % table_size;
    a = wrap(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)) % (table_size - 1);
  }
  return h;
}

TCustomDictionary::TCustomDictionary() = default;

TCustomDictionary::~TCustomDictionary() { SetActive(false); }

bool TCustomDictionary::CanOpen(const std::string& path) {
  const int fd = OpenChecked(path);
  if (fd >= 0) {
    close(fd);
    return true;
  }
  if (fd == -2) return false;
  if (path.empty()) return true;
  // Only a missing file may be created; one that exists but cannot be read is refused.
  struct stat st;
  if (stat(path.c_str(), &st) == 0) return false;
  return CanCreate(path);
}

bool TCustomDictionary::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (!CanOpen(path)) return false;
  const bool was_active = c_.active;
  if (!SetActive(false)) return false;
  filename_ = path;
  if (was_active) SetActive(true);
  return true;
}

bool TCustomDictionary::Active() const {
  std::lock_guard lock(mutex_);
  return c_.active;
}

bool TCustomDictionary::Modified() const {
  std::lock_guard lock(mutex_);
  return c_.modified;
}

bool TCustomDictionary::SetActive(bool active) {
  std::lock_guard lock(mutex_);
  if (active == c_.active) return true;
  if (active) return Activate();
  if (c_.modified && !filename_.empty() && !SaveLocked()) return false;
  Unload();
  return true;
}

bool TCustomDictionary::Activate() const {
  if (c_.active) return true;
  if (filename_.empty()) {
    c_.active = true;
    return true;
  }
  return Load();
}

void TCustomDictionary::Unload() const { c_ = Contents{}; }

bool TCustomDictionary::Load() const {
  const int fd = OpenChecked(filename_);
  if (fd == -2) return false;
  if (fd < 0) {
    // No file yet: an empty dictionary whose first save creates it.
    if (!CanOpen(filename_)) return false;
    c_ = Contents{};
    c_.active = true;
    c_.modified = true;
    return true;
  }
  Contents loaded;
  bool ok = false;
  struct stat st;
  if (fstat(fd, &st) == 0) {
    loaded.loaded_version = FileVersion{
        int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec,
        static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
        static_cast<int64_t>(st.st_size)};
    ok = true;
  }
  // Every count and size is checked against the file before anything is
  // allocated, and every slot against the heap before it is used.
  const uint64_t file_size = ok ? static_cast<uint64_t>(st.st_size) : 0;
  std::array<char, kHeaderBytes - kBannerBytes - 1> fields;
  ok = ok && file_size >= kHeaderBytes + 4 && ReadFully(fd, fields.data(), fields.size());
  uint32_t counts[4] = {};
  uint32_t slots = 0;
  if (ok) {
    for (int i = 0; i < 4; ++i) counts[i] = ReadLE32(&fields[4 * i]);
    slots = ReadLE32(&fields[16]);
    ok = IsTableSize(slots) && uint64_t{slots} * 4 + kHeaderBytes + 4 <= file_size &&
         counts[3] <= slots;
  }
  if (ok) {
    loaded.table.resize(slots);
    ok = ReadFully(fd, reinterpret_cast<char*>(loaded.table.data()), std::size_t{slots} * 4);
    for (int32_t& v : loaded.table) v = static_cast<int32_t>(ReadLE32(reinterpret_cast<char*>(&v)));
  }
  char used_bytes[4];
  uint64_t heap_used = 0;
  if (ok) ok = ReadFully(fd, used_bytes, 4);
  if (ok) {
    heap_used = ReadLE32(used_bytes);
    ok = heap_used <= file_size - (kHeaderBytes + 4 + uint64_t{slots} * 4) && heap_used <= INT32_MAX;
  }
  if (ok) {
    loaded.heap.reserve(heap_used / kHeapStep * kHeapStep + kHeapStep);
    loaded.heap.resize(heap_used);
    ok = ReadFully(fd, loaded.heap.data(), heap_used);
  }
  close(fd);
  if (!ok) return false;

  // Each live slot must name a whole record of a known kind, and the counts
  // must be those of the live slots.
  uint32_t tally[3] = {};
  for (int32_t& v : loaded.table) {
    if (v == 0) continue;
    if (v == kDeleted) {
      ++loaded.dead_slots;
      continue;
    }
    if (v < 1 || static_cast<uint64_t>(v) >= heap_used) return false;
    const char* rec = loaded.heap.data() + v;
    const std::size_t room = heap_used - static_cast<std::size_t>(v);
    const auto* zero = static_cast<const char*>(std::memchr(rec, 0, room));
    if (!zero) return false;
    switch (static_cast<EntryKind>(rec[-1])) {
      case EntryKind::Added: ++tally[0]; break;
      case EntryKind::Excluded: ++tally[1]; break;
      case EntryKind::AutoCorrect: {
        const std::size_t after = static_cast<std::size_t>(zero - rec) + 1;
        if (after >= room || !std::memchr(zero + 1, 0, room - after)) return false;
        ++tally[2];
        break;
      }
      default: return false;
    }
  }
  if (tally[0] != counts[0] || tally[1] != counts[1] || tally[2] != counts[2] ||
      tally[0] + tally[1] + tally[2] != counts[3])
    return false;

  loaded.added_count = counts[0];
  loaded.excluded_count = counts[1];
  loaded.autocorrect_count = counts[2];
  loaded.entry_count = counts[3];
  loaded.active = true;
  c_ = std::move(loaded);
  // Every live slot must be the one that a lookup of its word reaches: two
  // slots for one word, or a slot off its word's probe sequence, would leave
  // entries that cannot be found or removed.
  for (uint32_t s = 0; s < c_.table.size(); ++s) {
    const int32_t v = c_.table[s];
    uint32_t found = 0;
    if (v > 0 && (!FindEntry(EntryKind::Any, EntryText(v), nullptr, &found) || found != s)) {
      c_ = Contents{};
      return false;
    }
  }
  return true;
}

std::string_view TCustomDictionary::EntryText(int32_t position) const {
  if (position < 1 || static_cast<std::size_t>(position) >= c_.heap.size()) return {};
  const char* p = c_.heap.data() + position;
  const auto* zero = static_cast<const char*>(std::memchr(p, 0, c_.heap.size() - position));
  return zero ? std::string_view(p, static_cast<std::size_t>(zero - p)) : std::string_view();
}

bool TCustomDictionary::FindEntry(EntryKind kind, std::string_view word, int32_t* position,
                                  uint32_t* slot) const {
  if (!Activate() || c_.table.empty() || word.empty()) return false;
  const auto size = static_cast<int32_t>(c_.table.size());
  const int32_t h = CustomDictionaryHash(word, size);
  const uint32_t step = ProbeStep(h);
  uint32_t s = static_cast<uint32_t>(h);
  // At most one visit per slot, so even a table without empty slots ends.
  for (uint32_t tries = 0; tries < c_.table.size(); ++tries) {
    const int32_t v = c_.table[s];
    if (v == 0) return false;
    if (v != kDeleted && EntryText(v) == word) {
      if (kind != EntryKind::Any && static_cast<EntryKind>(c_.heap[v - 1]) != kind) return false;
      if (position) *position = v;
      if (slot) *slot = s;
      return true;
    }
    s = static_cast<uint32_t>((uint64_t{s} + step) % c_.table.size());
  }
  return false;
}

void TCustomDictionary::PlaceInTable(std::vector<int32_t>& table, std::string_view word,
                                     int32_t position) const {
  const int32_t h = CustomDictionaryHash(word, static_cast<int32_t>(table.size()));
  const uint32_t step = ProbeStep(h);
  uint32_t s = static_cast<uint32_t>(h);
  if (table[s] == kDeleted) {
    table[s] = position;
    --c_.dead_slots;
    return;
  }
  for (uint32_t tries = 0; tries < table.size(); ++tries) {
    if (table[s] == 0) {
      table[s] = position;
      return;
    }
    s = static_cast<uint32_t>((uint64_t{s} + step) % table.size());
  }
}

bool TCustomDictionary::InsertEntry(std::string_view word, int32_t position) {
  const uint64_t size = c_.table.size();
  // Grow at a quarter full. Removal marks also lengthen probe sequences, and
  // enough of them would leave no empty slot to end a search, so a table
  // that is half marks and entries is rebuilt at its own size.
  uint64_t rebuild = 0;
  if (uint64_t{c_.entry_count} * 4 >= size) {
    const uint32_t next = NextTableSize(static_cast<uint32_t>(size));
    rebuild = next ? next : size;  // the largest size only sheds its marks
  } else if ((uint64_t{c_.entry_count} + c_.dead_slots) * 2 >= size) {
    rebuild = size;
  }
  if (rebuild) {
    std::vector<int32_t> table;
    try {
      table.assign(rebuild, 0);
    } catch (const std::bad_alloc&) {
      return false;
    }
    c_.dead_slots = 0;
    for (int32_t v : c_.table)
      if (v > 0) PlaceInTable(table, EntryText(v), v);
    c_.table = std::move(table);
    c_.index_lists_valid = false;
  }
  PlaceInTable(c_.table, word, position);
  return true;
}

bool TCustomDictionary::AddEntry(EntryKind kind, std::string_view word, std::string_view replacement) {
  if (!Activate()) return false;
  if (word.size() + replacement.size() > kMaxCustomEntryBytes) return false;
  // A zero byte would end the stored text early.
  if (word.empty() || word.find('\0') != std::string_view::npos ||
      replacement.find('\0') != std::string_view::npos)
    return false;
  if (FindEntry(EntryKind::Any, word, nullptr, nullptr)) return false;
  if (c_.heap.size() + word.size() + replacement.size() + 3 > INT32_MAX) return false;

  const auto position = static_cast<int32_t>(c_.heap.size() + 1);
  if (c_.heap.size() + word.size() + replacement.size() + 3 > c_.heap.capacity())
    c_.heap.reserve(c_.heap.capacity() + kHeapStep);
  c_.heap.push_back(static_cast<char>(kind));
  c_.heap.append(word);
  c_.heap.push_back('\0');
  if (kind == EntryKind::AutoCorrect) {
    c_.heap.append(replacement);
    c_.heap.push_back('\0');
  }
  ++c_.entry_count;
  if (!InsertEntry(word, position)) {
    // Out of memory for a larger table: the record stays unreachable.
    --c_.entry_count;
    return false;
  }
  if (c_.index_lists_valid) {
    switch (kind) {
      case EntryKind::Added: c_.added_index.push_back(position); break;
      case EntryKind::Excluded: c_.excluded_index.push_back(position); break;
      default: c_.autocorrect_index.push_back(position); break;
    }
  }
  return true;
}

bool TCustomDictionary::RemoveEntry(EntryKind kind, std::string_view word) {
  uint32_t slot = 0;
  if (!FindEntry(kind, word, nullptr, &slot)) return false;
  c_.table[slot] = kDeleted;
  ++c_.dead_slots;
  --c_.entry_count;
  c_.index_lists_valid = false;
  return true;
}

bool TCustomDictionary::Add(EntryKind kind, std::string_view word, std::string_view replacement) {
  // A stand-in for a character Windows-1252 lacks would be kept for good as
  // a character the user never wrote.
  if (HasForeignChar(word) || HasForeignChar(replacement)) return false;
  std::lock_guard lock(mutex_);
  if (!AddEntry(kind, word, replacement)) return false;
  if (!filename_.empty())
    c_.changes.push_back({ChangeOp::Add, kind, std::string(word), std::string(replacement)});
  c_.modified = true;
  switch (kind) {
    case EntryKind::Added: ++c_.added_count; break;
    case EntryKind::Excluded: ++c_.excluded_count; break;
    default: ++c_.autocorrect_count; break;
  }
  return true;
}

bool TCustomDictionary::Remove(EntryKind kind, std::string_view word) {
  std::lock_guard lock(mutex_);
  if (!RemoveEntry(kind, word)) return false;
  if (!filename_.empty()) c_.changes.push_back({ChangeOp::Remove, kind, std::string(word), {}});
  c_.modified = true;
  switch (kind) {
    case EntryKind::Added: --c_.added_count; break;
    case EntryKind::Excluded: --c_.excluded_count; break;
    default: --c_.autocorrect_count; break;
  }
  return true;
}

bool TCustomDictionary::AddWord(std::string_view word) { return Add(EntryKind::Added, word, {}); }
bool TCustomDictionary::AddExcluded(std::string_view word) { return Add(EntryKind::Excluded, word, {}); }
bool TCustomDictionary::AddAutoCorrect(std::string_view word, std::string_view replacement) {
  return Add(EntryKind::AutoCorrect, word, replacement);
}
bool TCustomDictionary::RemoveWord(std::string_view word) { return Remove(EntryKind::Added, word); }
bool TCustomDictionary::RemoveExcluded(std::string_view word) {
  return Remove(EntryKind::Excluded, word);
}
bool TCustomDictionary::RemoveAutoCorrect(std::string_view word) {
  return Remove(EntryKind::AutoCorrect, word);
}

bool TCustomDictionary::Contains(std::string_view word) const {
  std::lock_guard lock(mutex_);
  return FindEntry(EntryKind::Added, word, nullptr, nullptr);
}

bool TCustomDictionary::IsExcluded(std::string_view word) const {
  std::lock_guard lock(mutex_);
  return FindEntry(EntryKind::Excluded, word, nullptr, nullptr);
}

bool TCustomDictionary::FindAutoCorrect(std::string_view word, std::string& replacement) const {
  std::lock_guard lock(mutex_);
  int32_t position = 0;
  if (!FindEntry(EntryKind::AutoCorrect, word, &position, nullptr)) return false;
  replacement.assign(EntryText(position + static_cast<int32_t>(word.size()) + 1));
  return true;
}

void TCustomDictionary::BuildIndexLists() const {
  if (c_.index_lists_valid || !Activate()) return;
  for (auto* list : {&c_.added_index, &c_.excluded_index, &c_.autocorrect_index}) list->clear();
  c_.added_index.reserve(c_.added_count + 256);
  c_.excluded_index.reserve(c_.excluded_count + 256);
  c_.autocorrect_index.reserve(c_.autocorrect_count + 256);
  for (int32_t v : c_.table) {
    if (v <= 0) continue;
    switch (static_cast<EntryKind>(c_.heap[v - 1])) {
      case EntryKind::Added: c_.added_index.push_back(v); break;
      case EntryKind::Excluded: c_.excluded_index.push_back(v); break;
      default: c_.autocorrect_index.push_back(v); break;
    }
  }
  c_.index_lists_valid = true;
}

int TCustomDictionary::AddedWordCount() const {
  std::lock_guard lock(mutex_);
  BuildIndexLists();
  return static_cast<int>(c_.added_index.size());
}

int TCustomDictionary::ExcludedWordCount() const {
  std::lock_guard lock(mutex_);
  BuildIndexLists();
  return static_cast<int>(c_.excluded_index.size());
}

int TCustomDictionary::AutoCorrectPairCount() const {
  std::lock_guard lock(mutex_);
  BuildIndexLists();
  return static_cast<int>(c_.autocorrect_index.size());
}

std::string TCustomDictionary::AddedWordAt(int index) const {
  std::lock_guard lock(mutex_);
  BuildIndexLists();
  if (index < 0 || static_cast<std::size_t>(index) >= c_.added_index.size()) return {};
  return std::string(EntryText(c_.added_index[index]));
}

std::string TCustomDictionary::ExcludedWordAt(int index) const {
  std::lock_guard lock(mutex_);
  BuildIndexLists();
  if (index < 0 || static_cast<std::size_t>(index) >= c_.excluded_index.size()) return {};
  return std::string(EntryText(c_.excluded_index[index]));
}

bool TCustomDictionary::AutoCorrectPairAt(int index, std::string& word, std::string& replacement) const {
  std::lock_guard lock(mutex_);
  BuildIndexLists();
  if (index < 0 || static_cast<std::size_t>(index) >= c_.autocorrect_index.size()) return false;
  const int32_t position = c_.autocorrect_index[index];
  word.assign(EntryText(position));
  replacement.assign(EntryText(position + static_cast<int32_t>(word.size()) + 1));
  return true;
}

std::unique_ptr<TCustomDictionary> TCustomDictionary::CreateSibling() const {
  return std::make_unique<TCustomDictionary>();
}

bool TCustomDictionary::Replay(const Change& change) {
  if (change.op == ChangeOp::Add) return Add(change.kind, change.word, change.replacement);
  return Remove(change.kind, change.word);
}

bool TCustomDictionary::Save() {
  std::lock_guard lock(mutex_);
  return SaveLocked();
}

std::string TCustomDictionary::SaveError() const {
  std::lock_guard lock(mutex_);
  return save_error_;
}

bool TCustomDictionary::SaveFailed(std::string reason) {
  save_error_ = std::move(reason);
  return false;
}

bool TCustomDictionary::SaveLocked() {
  if (!c_.modified || filename_.empty()) {
    save_error_.clear();
    return true;
  }
  // Held from the look at the file's version to the rename of the new one,
  // so that no other process's save can fall in between and be overwritten.
  const FileLock file_lock(filename_ + ".lock");
  if (!file_lock.Held()) return SaveFailed(std::string("cannot lock it: ") + std::strerror(errno));
  if (!SaveUnderFileLock()) return false;
  save_error_.clear();
  c_.modified = false;
  c_.changes.clear();
  return true;
}

bool TCustomDictionary::SaveUnderFileLock() {
  // Any temporary file of ours is left over from a save that was killed.
  RemoveStaleTemporaries(filename_);
  if (!CanOpen(filename_)) return SaveFailed("the file is not a custom dictionary or cannot be created");
  const std::optional<FileVersion> now = FileStamp(filename_);
  if (!now || now == c_.loaded_version) {
    if (!WriteFile(filename_)) return SaveFailed(std::strerror(errno));
    return true;
  }
  // Another process saved the file since we loaded it: apply our changes,
  // in the order they were made, to its version.
  auto sibling = CreateSibling();
  if (!sibling->Open(filename_) || !sibling->SetActive(true))
    return SaveFailed("the file was changed by another program and cannot be read back");
  for (const Change& change : c_.changes) sibling->Replay(change);
  const bool written = sibling->WriteFile(filename_);
  const int error = errno;
  // The sibling must not save again when it goes: that would wait for the lock held here.
  sibling->c_.modified = false;
  sibling->c_.changes.clear();
  if (!written) return SaveFailed(std::strerror(error));
  return true;
}

bool TCustomDictionary::TakePendingChanges(TCustomDictionary& from) {
  if (&from == this) return true;
  std::scoped_lock lock(mutex_, from.mutex_);
  if (!Activate()) return false;
  for (const Change& change : from.c_.changes) Replay(change);
  from.c_.changes.clear();
  from.c_.modified = false;
  return true;
}

bool TCustomDictionary::SaveAs(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (!Activate()) return false;
  return WriteFile(path);
}

bool TCustomDictionary::WriteFile(const std::string& path) const {
  std::string out;
  out.reserve(kHeaderBytes + 4 * c_.table.size() + 4 + c_.heap.size());
  out.append(kCustomDictionaryBanner);
  out.push_back('\0');
  out.push_back('\x1A');
  PutLE32(out, c_.added_count);
  PutLE32(out, c_.excluded_count);
  PutLE32(out, c_.autocorrect_count);
  PutLE32(out, c_.entry_count);
  PutLE32(out, static_cast<uint32_t>(c_.table.size()));
  for (int32_t v : c_.table) PutLE32(out, static_cast<uint32_t>(v));
  PutLE32(out, static_cast<uint32_t>(c_.heap.size()));
  out.append(c_.heap);
  return WriteFileAtomically(path, out);
}

void TCustomDictionary::Clear() {
  std::lock_guard lock(mutex_);
  if (!Activate()) return;
  const bool modified = c_.modified;
  const auto version = c_.loaded_version;
  c_ = Contents{};
  c_.active = true;
  c_.modified = modified;
  c_.loaded_version = version;
}

uint32_t TCustomDictionary::EntryCount() const {
  std::lock_guard lock(mutex_);
  return c_.entry_count;
}

uint32_t TCustomDictionary::TableSize() const {
  std::lock_guard lock(mutex_);
  return static_cast<uint32_t>(c_.table.size());
}

uint32_t TCustomDictionary::HeapUsed() const {
  std::lock_guard lock(mutex_);
  return static_cast<uint32_t>(c_.heap.size());
}

}  // namespace tovuri
