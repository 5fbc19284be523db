#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velmora {

// The one failure type of the project. Ports throw it; the core never catches it, so it ends
// the running member and reaches whoever called in (the COM boundary turns it into an HRESULT).
class Failure : public std::runtime_error {
 public:
  // Codes follow the automation error numbers a host already knows.
  enum Code : std::int32_t {
    kIndexOutOfRange = 9,
    kTypeMismatch = 13,
    kInvalidArgument = 5,
    kPlatform = 1000,
  };

  Failure(std::int32_t code, const std::string& reason) : std::runtime_error(reason), code_(code) {}

  std::int32_t code() const { return code_; }

 private:
  std::int32_t code_;
};

}  // namespace velmora
