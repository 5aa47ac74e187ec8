#pragma once
// A bounded memory of answers: the least recently used goes first, so a
// long-lived checker's memory stays flat whatever text it is given.
#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tovuri {

template <typename Value>
class TLruMemo {
 public:
  explicit TLruMemo(size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

  // The value remembered for key, now the most recently used.
  const Value* Find(std::string_view key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, found->second);
    return &found->second->second;
  }

  void Remember(std::string_view key, Value value) {
    if (const auto found = index_.find(key); found != index_.end()) {
      found->second->second = std::move(value);
      order_.splice(order_.begin(), order_, found->second);
      return;
    }
    if (order_.size() == capacity_) {
      index_.erase(std::string_view(order_.back().first));
      order_.pop_back();
    }
    order_.emplace_front(std::string(key), std::move(value));
    index_.emplace(std::string_view(order_.front().first), order_.begin());
  }

  void Forget(std::string_view key) {
    if (const auto found = index_.find(key); found != index_.end()) {
      order_.erase(found->second);
      index_.erase(found);
    }
  }

  void Clear() {
    index_.clear();
    order_.clear();
  }
  size_t Size() const { return order_.size(); }
  size_t Capacity() const { return capacity_; }

 private:
  using Entry = std::pair<std::string, Value>;
  size_t capacity_;
  std::list<Entry> order_;  // most recently used first; the keys the index views
  std::unordered_map<std::string_view, typename std::list<Entry>::iterator> index_;
};

}  // namespace tovuri
