#pragma once

namespace velmora {

// Raises a flag for as long as it lives and lowers it on every way out, a failure's included.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

// Counts one more for as long as it lives.
class CountScope {
 public:
  explicit CountScope(int& count) : count_(count) { ++count_; }
  ~CountScope() { --count_; }
  CountScope(const CountScope&) = delete;
  CountScope& operator=(const CountScope&) = delete;

 private:
  int& count_;
};

}  // namespace velmora
