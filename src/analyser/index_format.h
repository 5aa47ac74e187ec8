#pragma once
// The building blocks of the word check index file: a writer that lays out
// records and arrays at aligned offsets, a bounds-checked view of the laid-out
// bytes, and string sets that are looked up in place. Offsets are 32-bit and
// relative to the start of the laid-out bytes, so the bytes mean the same
// wherever they are mapped.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace tovuri {

// A 64-bit hash of short strings, fixed by this file (never the library's).
uint64_t HashBytes(std::string_view bytes, uint64_t seed = 0);

// A checksum of a large block, four times as fast as HashBytes; a long
// stream is checksummed block by block, each block's seed the one before.
uint64_t ChecksumBytes(std::string_view bytes, uint64_t seed);

// An array in the laid-out bytes: where it starts and how many elements it has.
struct IndexRef {
  uint32_t offset = 0;
  uint32_t count = 0;
};

// Appends records and arrays, each at an offset aligned to 8 bytes.
class IndexWriter {
 public:
  template <typename T>
  IndexRef Array(std::span<const T> items) {
    static_assert(std::is_trivially_copyable_v<T>);
    return {Append(items.data(), items.size_bytes()), static_cast<uint32_t>(items.size())};
  }
  IndexRef Bytes(std::string_view bytes) {
    return {Append(bytes.data(), bytes.size()), static_cast<uint32_t>(bytes.size())};
  }
  template <typename T>
  uint32_t Record(const T& record) {
    static_assert(std::is_trivially_copyable_v<T>);
    return Append(&record, sizeof record);
  }
  // Overwrites a record written before, once what it refers to is laid out.
  template <typename T>
  void Patch(uint32_t offset, const T& record) {
    std::memcpy(bytes_.data() + offset, &record, sizeof record);
  }
  size_t size() const { return bytes_.size(); }
  // False once the laid-out bytes outgrow 32-bit offsets.
  bool fits() const { return fits_; }
  std::string Take() { return std::move(bytes_); }

 private:
  uint32_t Append(const void* data, size_t size);
  std::string bytes_;
  bool fits_ = true;
};

// Laid-out bytes, read in place. Every access is checked against their size:
// a reference that points outside gives nothing, never a read outside.
class IndexBytes {
 public:
  IndexBytes() = default;
  // data must be aligned to 8 bytes.
  IndexBytes(const char* data, size_t size) : data_(data), size_(size) {}

  template <typename T>
  std::span<const T> Array(IndexRef ref) const {
    static_assert(std::is_trivially_copyable_v<T>);
    if (ref.offset % alignof(T) != 0 || ref.offset > size_ ||
        (size_ - ref.offset) / sizeof(T) < ref.count)
      return {};
    return {reinterpret_cast<const T*>(data_ + ref.offset), ref.count};
  }
  std::string_view Bytes(IndexRef ref) const {
    if (ref.offset > size_ || size_ - ref.offset < ref.count) return {};
    return {data_ + ref.offset, ref.count};
  }
  // The record at offset, or null when it does not fit.
  template <typename T>
  const T* Record(uint32_t offset) const {
    const std::span<const T> one = Array<T>({offset, 1});
    return one.empty() ? nullptr : one.data();
  }
  size_t size() const { return size_; }

 private:
  const char* data_ = nullptr;
  size_t size_ = 0;
};

// One slot of a laid-out string set: the entry's offset + 1 within the text
// (0 for an empty slot) and the high half of its string's hash, so that a
// probe reads the text only when the hashes agree.
struct StringSetSlot {
  uint32_t entry = 0;
  uint32_t hash = 0;
};

// A laid-out string set (optionally mapping each string to a 32-bit value):
// an open-addressing table of slots pointing at entries of [value] length bytes.
struct StringSetRecord {
  IndexRef slot_table;  // StringSetSlot
  IndexRef text;
  uint64_t lengths = 0;  // bit n set when a string of length n (63: 63 or more) is held
  uint32_t count = 0;
  uint32_t with_values = 0;
};

// Lays out the strings (and their values, when given) as a set.
StringSetRecord WriteStringSet(IndexWriter& writer, const std::vector<std::string_view>& strings,
                               const std::vector<uint32_t>* values = nullptr);

// A laid-out string set, read in place; an empty set when default-made.
class StringSetView {
 public:
  StringSetView() = default;
  StringSetView(const IndexBytes& bytes, const StringSetRecord& record);
  bool Contains(std::string_view s) const { return FindEntry(s) != kMissing; }
  // The value stored with s, or nothing.
  std::optional<uint32_t> Find(std::string_view s) const;
  size_t size() const { return count_; }

 private:
  static constexpr size_t kMissing = ~size_t{0};
  static uint64_t LengthBit(size_t length) { return uint64_t{1} << (length < 63 ? length : 63); }
  // Offset of s's length byte within text_, or kMissing.
  size_t FindEntry(std::string_view s) const;

  std::span<const StringSetSlot> slots_;
  std::string_view text_;
  uint64_t lengths_ = 0;
  size_t count_ = 0;
  bool with_values_ = false;
};

}  // namespace tovuri
