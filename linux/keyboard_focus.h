// Whether the keyboard has gone from the show to another client. Wayland says
// only that the keyboard left one of the show's surfaces and entered another:
// moving between the show's own outputs is a leave followed at once by an enter,
// and a compositor may hand the keyboard to a new window and straight back. So a
// leave counts once no show surface has had the keyboard back for a short grace.
#pragma once

#include <optional>

namespace orvane::linux_program {

class KeyboardFocus {
 public:
  static constexpr double kGrace = 0.25;  // seconds

  // `surface` identifies one of the show's surfaces; times are seconds.
  void Entered(const void* surface) { holder_ = surface; }
  void Left(const void* surface, double now) {
    if (!surface || surface != holder_) return;
    holder_ = nullptr;
    leaving_ = true;
    leftAt_ = now;
  }
  // The surface went (its output did): no keyboard to follow there any more.
  void Gone(const void* surface) {
    if (surface == holder_) holder_ = nullptr;
  }
  // True once when the grace after a leave has passed with no surface entered.
  bool LostToAnotherClient(double now) {
    if (holder_ || !leaving_ || now < leftAt_ + kGrace) return false;
    leaving_ = false;
    return true;
  }
  // How long the loop may wait before asking again; none: as long as it likes.
  std::optional<double> WaitLimit(double now) const {
    if (holder_ || !leaving_) return std::nullopt;
    return leftAt_ + kGrace > now ? leftAt_ + kGrace - now : 0.0;
  }

 private:
  const void* holder_ = nullptr;  // the show's surface with the keyboard
  bool leaving_ = false;          // it left, and neither came back nor was said lost
  double leftAt_ = 0;             // when it left
};

}  // namespace orvane::linux_program
