#include "analyser/index_format.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace tovuri {
namespace {

constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

uint64_t Mix(uint64_t h) {
  h ^= h >> 32;
  h *= 0xFF51AFD7ED558CCDull;
  return h ^ (h >> 29);
}

// Strings longer than this keep their length in four bytes after a marker byte.
constexpr unsigned char kLongLength = 0xFF;

void AppendLength(std::string& text, size_t length) {
  if (length < kLongLength) {
    text += static_cast<char>(length);
    return;
  }
  text += static_cast<char>(kLongLength);
  const auto long_length = static_cast<uint32_t>(length);
  text.append(reinterpret_cast<const char*>(&long_length), sizeof long_length);
}

}  // namespace

uint64_t HashBytes(std::string_view bytes, uint64_t seed) {
  uint64_t h = seed ^ (bytes.size() * kMultiplier);
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    h = std::rotl((h ^ word) * kMultiplier, 27);
  }
  uint64_t last = 0;
  // An empty view may have no data pointer, which memcpy must never see.
  if (i < bytes.size()) std::memcpy(&last, bytes.data() + i, bytes.size() - i);
  return Mix((h ^ last) * kMultiplier);
}

uint64_t ChecksumBytes(std::string_view bytes, uint64_t seed) {
  uint64_t lanes[4] = {seed, seed ^ 1, seed ^ 2, seed ^ 3};
  size_t i = 0;
  for (; i + 32 <= bytes.size(); i += 32) {
    for (size_t lane = 0; lane < 4; ++lane) {
      uint64_t word;
      std::memcpy(&word, bytes.data() + i + 8 * lane, 8);
      lanes[lane] = std::rotl((lanes[lane] ^ word) * kMultiplier, 27);
    }
  }
  uint64_t h = HashBytes(bytes.substr(i), bytes.size());
  for (uint64_t lane : lanes) h = Mix((h ^ lane) * kMultiplier);
  return h;
}

uint32_t IndexWriter::Append(const void* data, size_t size) {
  bytes_.resize((bytes_.size() + 7) & ~size_t{7}, '\0');
  const size_t offset = bytes_.size();
  bytes_.append(static_cast<const char*>(data), size);
  if (bytes_.size() > std::numeric_limits<uint32_t>::max()) fits_ = false;
  return static_cast<uint32_t>(offset);
}

StringSetRecord WriteStringSet(IndexWriter& writer, const std::vector<std::string_view>& strings,
                               const std::vector<uint32_t>* values) {
  StringSetRecord record;
  record.with_values = values != nullptr;
  record.count = static_cast<uint32_t>(strings.size());
  // A table at most two thirds full keeps probes short.
  const size_t slot_count = strings.empty() ? 1 : std::bit_ceil(strings.size() * 3 / 2 + 1);
  std::vector<StringSetSlot> slots(slot_count);
  std::string text;
  for (size_t k = 0; k < strings.size(); ++k) {
    const std::string_view s = strings[k];
    const uint64_t hash = HashBytes(s);
    size_t i = hash & (slot_count - 1);
    while (slots[i].entry != 0) i = (i + 1) & (slot_count - 1);
    slots[i] = {static_cast<uint32_t>(text.size() + 1), static_cast<uint32_t>(hash >> 32)};
    if (values) text.append(reinterpret_cast<const char*>(&(*values)[k]), sizeof(uint32_t));
    AppendLength(text, s.size());
    text += s;
    record.lengths |= uint64_t{1} << std::min<size_t>(s.size(), 63);
  }
  record.slot_table = writer.Array(std::span<const StringSetSlot>(slots));
  record.text = writer.Bytes(text);
  return record;
}

StringSetView::StringSetView(const IndexBytes& bytes, const StringSetRecord& record)
    : slots_(bytes.Array<StringSetSlot>(record.slot_table)),
      text_(bytes.Bytes(record.text)),
      lengths_(record.lengths),
      count_(record.count),
      with_values_(record.with_values != 0) {
  // A table whose size is not a power of two cannot be probed: treat it as empty.
  if (!std::has_single_bit(slots_.size())) slots_ = {};
}

size_t StringSetView::FindEntry(std::string_view s) const {
  if ((lengths_ & LengthBit(s.size())) == 0 || slots_.empty()) return kMissing;
  const size_t mask = slots_.size() - 1;
  const size_t skip = with_values_ ? sizeof(uint32_t) : 0;
  const uint64_t hash = HashBytes(s);
  const auto high = static_cast<uint32_t>(hash >> 32);
  size_t i = hash & mask;
  // Never more probes than slots, whatever the file holds.
  for (size_t probes = 0; probes < slots_.size(); ++probes, i = (i + 1) & mask) {
    const uint32_t slot = slots_[i].entry;
    if (slot == 0) return kMissing;
    if (slots_[i].hash != high) continue;
    size_t at = size_t{slot} - 1 + skip;
    if (at >= text_.size()) return kMissing;
    size_t length = static_cast<unsigned char>(text_[at++]);
    if (length == kLongLength) {
      uint32_t long_length = 0;
      if (text_.size() - at < sizeof long_length) return kMissing;
      std::memcpy(&long_length, text_.data() + at, sizeof long_length);
      at += sizeof long_length;
      length = long_length;
    }
    if (length == s.size() && text_.size() - at >= length &&
        std::memcmp(text_.data() + at, s.data(), length) == 0)
      return size_t{slot} - 1;
  }
  return kMissing;
}

std::optional<uint32_t> StringSetView::Find(std::string_view s) const {
  const size_t entry = FindEntry(s);
  if (entry == kMissing || !with_values_) return std::nullopt;
  uint32_t value = 0;
  std::memcpy(&value, text_.data() + entry, sizeof value);
  return value;
}

}  // namespace tovuri
