#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace velmora::testing {

// What the process holds: counted by walking what exists, not by asking the system for totals,
// which Wine does not keep.
struct ResourceCount {
  long gdi_objects = 0;
  long windows = 0;
  long kernel_handles = 0;
  std::uint64_t private_bytes = 0;  // committed private memory

  static ResourceCount Now();
  std::string Describe() const;
};

// Whether `after` holds more than `before` beyond a small allowance for memory, which heaps
// keep in pieces.
bool Grew(const ResourceCount& before, const ResourceCount& after, std::uint64_t memory_allowance);

}  // namespace velmora::testing
