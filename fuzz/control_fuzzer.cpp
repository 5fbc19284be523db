// Drives one control with operations decoded from the fuzz input and aborts on the first
// broken promise (see control_harness.h for the operations, invariants.h for the checks).
#include <cstddef>
#include <cstdint>

#include "fuzz/byte_reader.h"
#include "fuzz/control_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velmora::fuzz::ByteReader in(data, size);
  velmora::fuzz::ControlHarness harness;
  harness.Run(in);
  return 0;
}
