// How the standard library's own failures end inside the library. The standard containers
// report them through these functions; defining them here keeps the standard library's
// exception classes, and the second string implementation they carry, out of the file (about
// 85 KB of a 32-bit library). Every COM method catches at its boundary, so each becomes the
// HRESULT a host already knows: out of memory, or the failure the core would report.
#include <cstdlib>
#include <new>

#include "board/failure.h"

namespace std {

[[noreturn]] void __throw_bad_alloc() {
  throw std::bad_alloc();
}

[[noreturn]] void __throw_bad_array_new_length() {
  throw std::bad_alloc();
}

// A container asked to grow past its largest size is out of memory to the host.
[[noreturn]] void __throw_length_error(const char*) {
  throw std::bad_alloc();
}

[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) {
  throw velmora::Failure(velmora::Failure::kIndexOutOfRange, "Subscript out of range");
}

[[noreturn]] void __throw_logic_error(const char*) {
  throw velmora::Failure(velmora::Failure::kInvalidArgument, "Invalid procedure call or argument");
}

[[noreturn]] void __throw_bad_function_call() {
  throw velmora::Failure(velmora::Failure::kInvalidArgument, "Invalid procedure call or argument");
}

}  // namespace std

namespace __gnu_cxx {

// An exception nobody catches is a fault: the process ends at once, without the standard
// library's message naming the exception's type, which leaves its demangler out of the file.
void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx
