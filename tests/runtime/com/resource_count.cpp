#include "resource_count.h"

#include <cstdio>

namespace velmora::testing {
namespace {

// GDI handles are table indexes in their low word; an index alone names a live object of
// any generation, so every object the process holds answers once.
long CountGdiObjects() {
  long count = 0;
  for (std::uintptr_t index = 1; index <= 0xFFFF; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
  }
  return count;
}

BOOL CALLBACK CountIfOurs(HWND window, LPARAM count) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) {
    ++*reinterpret_cast<long*>(count);
    EnumChildWindows(window, CountIfOurs, count);
  }
  return TRUE;
}

long CountWindows() {
  long count = 0;
  EnumWindows(CountIfOurs, reinterpret_cast<LPARAM>(&count));
  for (HWND window = nullptr;
       (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr;) {
    CountIfOurs(window, reinterpret_cast<LPARAM>(&count));
  }
  return count;
}

// Kernel handles are multiples of four from four up, handed out lowest free first, so the
// walk ends after a long run of values that name nothing.
long CountKernelHandles() {
  constexpr std::uintptr_t kGap = 2048;
  long count = 0;
  DWORD flags = 0;
  for (std::uintptr_t value = 4, last = 0; value <= last + kGap; value += 4) {
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++count;
      last = value;
    }
  }
  return count;
}

std::uint64_t CommittedPrivateBytes() {
  std::uint64_t total = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* address = nullptr;
       VirtualQuery(address, &region, sizeof region) == sizeof region;) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= address) break;
    address = next;
  }
  return total;
}

}  // namespace

ResourceCount ResourceCount::Now() {
  // The first walk makes objects of the system's own (the desktop's device context and such);
  // they are there before any count is compared.
  static const bool warmed = (CountGdiObjects(), CountWindows(), true);
  (void)warmed;
  return {CountGdiObjects(), CountWindows(), CountKernelHandles(), CommittedPrivateBytes()};
}

std::string ResourceCount::Describe() const {
  char text[160];
  std::snprintf(text, sizeof text, "gdi=%ld windows=%ld handles=%ld private=%llu KB", gdi_objects,
                windows, kernel_handles, static_cast<unsigned long long>(private_bytes / 1024));
  return text;
}

bool Grew(const ResourceCount& before, const ResourceCount& after, std::uint64_t memory_allowance) {
  return after.gdi_objects > before.gdi_objects || after.windows > before.windows ||
         after.kernel_handles > before.kernel_handles ||
         after.private_bytes > before.private_bytes + memory_allowance;
}

}  // namespace velmora::testing
