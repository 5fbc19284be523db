#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmora {

// An unsigned integer of up to 4,480 bits: enough to compare any decimal text of up to 800
// digits with any double exactly, and to generate a double's digits. Plain value, no heap.
class BigInteger {
 public:
  explicit BigInteger(std::uint64_t value = 0) {
    words_[0] = static_cast<std::uint32_t>(value);
    words_[1] = static_cast<std::uint32_t>(value >> 32);
    size_ = words_[1] ? 2 : (words_[0] ? 1 : 0);
  }

  BigInteger& MultiplyBy(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < size_; ++i) {
      carry += static_cast<std::uint64_t>(words_[i]) * factor;
      words_[i] = static_cast<std::uint32_t>(carry);
      carry >>= 32;
    }
    if (carry) words_[size_++] = static_cast<std::uint32_t>(carry);
    return *this;
  }

  BigInteger& MultiplyByPowerOfTen(int exponent) {
    for (; exponent >= 9; exponent -= 9) MultiplyBy(1000000000);
    for (; exponent > 0; --exponent) MultiplyBy(10);
    return *this;
  }

  BigInteger& ShiftLeft(int bits) {
    if (size_ == 0 || bits <= 0) return *this;
    const auto words = static_cast<std::size_t>(bits / 32);
    const int rest = bits % 32;
    words_[size_] = 0;
    for (std::size_t i = size_ + 1; i-- > 0;) {
      std::uint32_t word = words_[i] << rest;
      if (rest && i > 0) word |= words_[i - 1] >> (32 - rest);
      words_[i + words] = word;
    }
    for (std::size_t i = 0; i < words; ++i) words_[i] = 0;
    size_ += words + 1;
    Trim();
    return *this;
  }

  BigInteger& Add(const BigInteger& other) {
    std::uint64_t carry = 0;
    const std::size_t size = size_ > other.size_ ? size_ : other.size_;
    for (std::size_t i = 0; i < size; ++i) {
      carry += static_cast<std::uint64_t>(Word(i)) + other.Word(i);
      words_[i] = static_cast<std::uint32_t>(carry);
      carry >>= 32;
    }
    size_ = size;
    if (carry) words_[size_++] = static_cast<std::uint32_t>(carry);
    return *this;
  }

  // Requires other <= *this.
  BigInteger& Subtract(const BigInteger& other) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < size_; ++i) {
      std::int64_t word = static_cast<std::int64_t>(words_[i]) - other.Word(i) - borrow;
      borrow = word < 0;
      words_[i] = static_cast<std::uint32_t>(word + (borrow << 32));
    }
    Trim();
    return *this;
  }

  // Divides by `divisor` and returns the remainder.
  std::uint32_t DivideBy(std::uint32_t divisor) {
    std::uint64_t remainder = 0;
    for (std::size_t i = size_; i-- > 0;) {
      remainder = (remainder << 32) | words_[i];
      words_[i] = static_cast<std::uint32_t>(remainder / divisor);
      remainder %= divisor;
    }
    Trim();
    return static_cast<std::uint32_t>(remainder);
  }

  bool IsZero() const { return size_ == 0; }

  friend int Compare(const BigInteger& a, const BigInteger& b) {
    if (a.size_ != b.size_) return a.size_ < b.size_ ? -1 : 1;
    for (std::size_t i = a.size_; i-- > 0;) {
      if (a.words_[i] != b.words_[i]) return a.words_[i] < b.words_[i] ? -1 : 1;
    }
    return 0;
  }

 private:
  std::uint32_t Word(std::size_t i) const { return i < size_ ? words_[i] : 0; }
  void Trim() {
    while (size_ > 0 && words_[size_ - 1] == 0) --size_;
  }

  std::array<std::uint32_t, 141> words_{};
  std::size_t size_ = 0;
};

}  // namespace velmora
