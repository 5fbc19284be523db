// The library's handler for an exception nobody catches. Every COM method catches everything
// at its boundary, so reaching here is a fault; ending the process at once, without the
// standard library's message naming the exception's type, leaves its demangler out of the file.
#include <cstdlib>

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx
