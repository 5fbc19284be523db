#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace velmora {

// The one failure type of the project. Ports throw it; the core never catches it, so it ends
// the running member and reaches whoever called in (the COM boundary turns it into an HRESULT).
class Failure : public std::exception {
 public:
  // Codes follow the automation error numbers a host already knows.
  enum Code : std::int32_t {
    kIndexOutOfRange = 9,
    kTypeMismatch = 13,
    kInvalidArgument = 5,
    kPlatform = 1000,
  };

  Failure(std::int32_t code, std::string reason) : reason_(std::move(reason)), code_(code) {}

  std::int32_t code() const { return code_; }
  const char* what() const noexcept override { return reason_.c_str(); }

 private:
  std::string reason_;
  std::int32_t code_;
};

}  // namespace velmora
