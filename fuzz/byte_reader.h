#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::fuzz {

// Reads the fuzz input front to back. Past the end every read gives zero, so any input, even an
// empty one, decodes to a finite sequence of operations.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool AtEnd() const { return next_ >= size_; }

  std::uint8_t Byte() { return AtEnd() ? 0 : data_[next_++]; }

  std::uint16_t Word() {
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
  }

  bool Flag() { return (Byte() & 1) != 0; }

  // One of `count` alternatives (count > 0).
  std::size_t Choice(std::size_t count) { return Byte() % count; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

}  // namespace velmora::fuzz
