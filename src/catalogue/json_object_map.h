#pragma once
// The object type of our JSON documents: members in the order they were read, like
// nlohmann's ordered_map, but found through a hash index once an object is large.
// ordered_map looks keys up by scanning, so parsing an object of n members costs n^2
// comparisons; a heavy Chrome profile holds objects of ten thousand site entries, where
// that made parsing eight times slower than with an unordered map.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo {

template <class Key, class T, class IgnoredLess = std::less<Key>,
          class Allocator = std::allocator<std::pair<const Key, T>>>
struct JsonObjectMap : std::vector<std::pair<const Key, T>, Allocator> {
  using key_type = Key;
  using mapped_type = T;
  using Container = std::vector<std::pair<const Key, T>, Allocator>;
  using iterator = typename Container::iterator;
  using const_iterator = typename Container::const_iterator;
  using size_type = typename Container::size_type;
  using value_type = typename Container::value_type;
  using key_compare = std::equal_to<>;

  JsonObjectMap() = default;
  // Copies rebuild their index when they need one; moves take it along.
  JsonObjectMap(const JsonObjectMap& other) : Container(other) {}
  JsonObjectMap(JsonObjectMap&&) noexcept = default;
  JsonObjectMap& operator=(const JsonObjectMap& other) {
    if (this != &other) {
      Container::operator=(other);
      slots_.reset();
    }
    return *this;
  }
  JsonObjectMap& operator=(JsonObjectMap&&) noexcept = default;
  template <class It>
  JsonObjectMap(It first, It last) {
    for (; first != last; ++first) emplace(first->first, T(first->second));
  }
  JsonObjectMap(std::initializer_list<value_type> init) {
    for (const auto& v : init) emplace(v.first, T(v.second));
  }

  template <class K>
  std::pair<iterator, bool> emplace(K&& key, T&& value) {
    const std::string_view k(key);
    const size_t at = Lookup(k);
    if (at != kNone) return {this->begin() + static_cast<std::ptrdiff_t>(at), false};
    Container::emplace_back(std::forward<K>(key), std::move(value));
    if (slots_) Insert(this->size() - 1);
    return {std::prev(this->end()), true};
  }

  template <class K>
  T& operator[](K&& key) {
    return emplace(std::forward<K>(key), T{}).first->second;
  }
  template <class K>
  const T& operator[](K&& key) const {
    return at(std::forward<K>(key));
  }

  template <class K>
  T& at(K&& key) {
    const size_t i = Lookup(std::string_view(key));
    if (i == kNone) throw std::out_of_range("key not found");
    return (*this)[i].second;
  }
  template <class K>
  const T& at(K&& key) const {
    const size_t i = Lookup(std::string_view(key));
    if (i == kNone) throw std::out_of_range("key not found");
    return Container::operator[](i).second;
  }

  template <class K>
  iterator find(K&& key) {
    const size_t i = Lookup(std::string_view(key));
    return i == kNone ? this->end() : this->begin() + static_cast<std::ptrdiff_t>(i);
  }
  template <class K>
  const_iterator find(K&& key) const {
    const size_t i = Lookup(std::string_view(key));
    return i == kNone ? this->end() : this->begin() + static_cast<std::ptrdiff_t>(i);
  }

  template <class K>
  size_type count(K&& key) const {
    return Lookup(std::string_view(key)) == kNone ? 0 : 1;
  }

  template <class K, class = std::enable_if_t<!std::is_same_v<std::decay_t<K>, iterator> &&
                                              !std::is_same_v<std::decay_t<K>, const_iterator>>>
  size_type erase(K&& key) {
    const auto it = find(std::forward<K>(key));
    if (it == this->end()) return 0;
    erase(it);
    return 1;
  }

  iterator erase(iterator pos) { return erase(pos, std::next(pos)); }
  iterator erase(iterator first, iterator last) {
    if (first == last) return first;
    const auto removed = std::distance(first, last);
    const auto offset = std::distance(this->begin(), first);
    // Pairs hold a const key, so the tail is rebuilt in place rather than assigned.
    for (auto it = first; std::next(it, removed) != this->end(); ++it) {
      it->~value_type();
      new (&*it) value_type{std::move(*std::next(it, removed))};
    }
    Container::resize(this->size() - static_cast<size_type>(removed));
    slots_.reset();  // positions moved; rebuilt on the next lookup
    return this->begin() + offset;
  }

  std::pair<iterator, bool> insert(value_type&& value) {
    return emplace(value.first, std::move(value.second));
  }
  std::pair<iterator, bool> insert(const value_type& value) {
    return emplace(value.first, T(value.second));
  }
  template <class It>
  void insert(It first, It last) {
    for (; first != last; ++first) insert(*first);
  }

  // Puts a member back at `index`, where an erase took it from (no member of that name may
  // be left): undoes a change that could not be saved.
  template <class K>
  iterator emplace_at(size_type index, K&& key, T&& value) {
    Container::emplace_back(std::forward<K>(key), std::move(value));
    // Pairs hold a const key, so the new member moves down by rebuilding pairs in place.
    for (size_type i = this->size() - 1; i > index && i > 0; --i) {
      value_type* lower = &Container::operator[](i - 1);
      value_type* upper = &Container::operator[](i);
      value_type moving{std::move(*upper)};
      std::destroy_at(upper);
      std::construct_at(upper, std::move(*lower));
      std::destroy_at(lower);
      std::construct_at(lower, std::move(moving));
    }
    slots_.reset();
    return this->begin() + static_cast<std::ptrdiff_t>(std::min(index, this->size() - 1));
  }

  void reserve(size_type n) { Container::reserve(n); }

  void clear() noexcept {
    Container::clear();
    slots_.reset();
  }

 private:
  static constexpr size_t kNone = ~size_t(0);
  static constexpr size_t kIndexFrom = 16;  // small objects are faster to scan

  static size_t Hash(std::string_view k) { return std::hash<std::string_view>{}(k); }

  size_t Lookup(std::string_view key) const {
    if (this->size() < kIndexFrom) {
      for (size_t i = 0; i < this->size(); ++i) {
        if (Container::operator[](i).first == key) return i;
      }
      return kNone;
    }
    if (!slots_) Rebuild();
    const std::vector<uint32_t>& slots = *slots_;
    const size_t mask = slots.size() - 1;
    for (size_t s = Hash(key) & mask;; s = (s + 1) & mask) {
      const uint32_t v = slots[s];
      if (v == 0) return kNone;
      if (Container::operator[](v - 1).first == key) return v - 1;
    }
  }

  void Insert(size_t index) const {
    std::vector<uint32_t>& slots = *slots_;
    if ((index + 1) * 2 > slots.size()) {
      Rebuild();
      return;
    }
    const size_t mask = slots.size() - 1;
    size_t s = Hash(Container::operator[](index).first) & mask;
    while (slots[s] != 0) s = (s + 1) & mask;
    slots[s] = static_cast<uint32_t>(index + 1);
  }

  void Rebuild() const {
    size_t capacity = 32;
    while (capacity < this->size() * 2 + 2) capacity *= 2;
    slots_ = std::make_unique<std::vector<uint32_t>>(capacity, 0);
    std::vector<uint32_t>& slots = *slots_;
    const size_t mask = capacity - 1;
    for (size_t i = 0; i < this->size(); ++i) {
      size_t s = Hash(Container::operator[](i).first) & mask;
      while (slots[s] != 0) s = (s + 1) & mask;
      slots[s] = static_cast<uint32_t>(i + 1);
    }
  }

  // Open addressing: 0 is empty, else the member's position + 1. Only large objects have
  // one, so small ones pay a pointer for it, not a vector.
  mutable std::unique_ptr<std::vector<uint32_t>> slots_;
};

}  // namespace orvo
