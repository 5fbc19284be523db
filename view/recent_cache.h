#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <utility>

namespace velmora {

// Values kept by key, at most `capacity` of them: the least recently used goes (and is handed
// to `release`) when a new one would exceed it. For things made per size, such as fonts, so
// that the sizes in use stay at hand and a run of sizes cannot pile up.
template <class Key, class Value>
class RecentCache {
 public:
  using Release = std::function<void(Value&)>;

  RecentCache(std::size_t capacity, Release release)
      : capacity_(capacity), release_(std::move(release)) {}
  ~RecentCache() {
    for (auto& [key, value] : entries_) release_(value);
  }
  RecentCache(const RecentCache&) = delete;
  RecentCache& operator=(const RecentCache&) = delete;

  // The value for `key`, made by `make()` when it is not held. The reference stays good until
  // `capacity` other keys have been asked for.
  template <class Make>
  Value& Get(const Key& key, Make&& make) {
    for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
      if (entry->first == key) {
        entries_.splice(entries_.begin(), entries_, entry);
        return entries_.front().second;
      }
    }
    entries_.emplace_front(key, make());
    if (entries_.size() > capacity_) {
      release_(entries_.back().second);
      entries_.pop_back();
    }
    return entries_.front().second;
  }

  std::size_t size() const { return entries_.size(); }

 private:
  std::size_t capacity_;
  Release release_;
  std::list<std::pair<Key, Value>> entries_;  // most recently used first
};

}  // namespace velmora
