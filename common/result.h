#pragma once
// A value, or a text saying why there is none: what a step that can fail gives
// back, so that its caller holds one thing instead of a flag and a string that
// may disagree. Pure, header only.
#include <string>
#include <utility>

namespace orvane::common {

// Why a step failed, in words its caller may show as they are.
struct Reason {
  std::string text;
};

template <typename T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
  Result(Reason why)
      : why_(std::move(why.text)), ok_(false) {}  // NOLINT(google-explicit-constructor)

  bool Ok() const { return ok_; }
  explicit operator bool() const { return ok_; }
  // Only when Ok().
  const T& Value() const { return value_; }
  T& Value() { return value_; }
  const T& operator*() const { return value_; }
  const T* operator->() const { return &value_; }
  // Only when not Ok().
  const std::string& Why() const { return why_; }

 private:
  T value_{};
  std::string why_;
  bool ok_ = true;
};

// A step that gives nothing back but may fail.
template <>
class Result<void> {
 public:
  Result() = default;
  Result(Reason why)
      : why_(std::move(why.text)), ok_(false) {}  // NOLINT(google-explicit-constructor)

  bool Ok() const { return ok_; }
  explicit operator bool() const { return ok_; }
  const std::string& Why() const { return why_; }

 private:
  std::string why_;
  bool ok_ = true;
};

}  // namespace orvane::common
