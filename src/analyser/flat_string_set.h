#pragma once
// A set of short strings kept in one buffer with an open-addressing table of
// offsets: a fraction of the memory of a node-based set of std::string.
// Filled once, then only read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tovuri {

class FlatStringSet {
 public:
  void Insert(std::string_view s) {
    if (2 * (count_ + 1) > slots_.size()) Grow();
    uint32_t* slot = Find(s);
    if (*slot != 0) return;
    const uint32_t length = static_cast<uint32_t>(s.size());
    *slot = static_cast<uint32_t>(text_.size()) + 1;
    lengths_ |= LengthBit(s.size());
    text_.append(reinterpret_cast<const char*>(&length), sizeof length);
    text_.append(s);
    ++count_;
  }

  bool Contains(std::string_view s) const {
    // Most strings looked for have a length that no held string has.
    if ((lengths_ & LengthBit(s.size())) == 0) return false;
    return *const_cast<FlatStringSet*>(this)->Find(s) != 0;
  }

  size_t size() const { return count_; }
  // Calls f with each string held, in no particular order.
  template <typename F>
  void ForEach(F&& f) const {
    for (uint32_t slot : slots_)
      if (slot != 0) f(At(slot));
  }
  size_t ByteEstimate() const { return text_.capacity() + slots_.capacity() * sizeof(uint32_t); }

 private:
  // Lengths from 63 up share one bit.
  static uint64_t LengthBit(size_t length) { return uint64_t{1} << std::min<size_t>(length, 63); }

  std::string_view At(uint32_t slot) const {
    uint32_t length = 0;
    std::memcpy(&length, text_.data() + slot - 1, sizeof length);
    return std::string_view(text_).substr(slot - 1 + sizeof length, length);
  }

  // The slot holding s, or the empty slot where it would go.
  uint32_t* Find(std::string_view s) {
    const size_t mask = slots_.size() - 1;
    for (size_t i = std::hash<std::string_view>{}(s) & mask;; i = (i + 1) & mask)
      if (slots_[i] == 0 || At(slots_[i]) == s) return &slots_[i];
  }

  void Grow() {
    std::vector<uint32_t> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : 2 * old.size(), 0);
    for (uint32_t slot : old)
      if (slot != 0) *Find(At(slot)) = slot;
  }

  std::string text_;             // each string as its 4-byte length, then its bytes
  std::vector<uint32_t> slots_;  // offset + 1 into text_, 0 for an empty slot
  size_t count_ = 0;
  uint64_t lengths_ = 0;  // bit n set when a string of length n is held
};

}  // namespace tovuri
