// The show's rules: which input ends it, which system commands are swallowed, and
// when a frame may be drawn. Platform-free and spoken in events: each back end
// (the Win32 window procedure, the X11 event loop) turns its own events into the
// calls below, so the rules are tested natively. One set of rules serves every
// window of a show, so input on any of them counts alike.
#pragma once

#include <cstdint>

namespace orvane::engine {

// Largest Manhattan distance between two pointer readings that does not end the show,
// in pixels of a 96-DPI display: on a scaled monitor the same hand movement covers
// more physical pixels, so the tolerance grows with the monitor's DPI.
constexpr int kMouseTolerance = 4;
constexpr int kReferenceDpi = 96;

// Whether a pointer movement of `distance` physical pixels on a monitor of `dpi`
// dots per inch goes beyond the tolerance (4 at 96 DPI, 6 at 144, 8 at 192).
constexpr bool BeyondMouseTolerance(long long distance, int dpi) {
  // Compared in whole numbers, so 125 % (120 DPI: 5 pixels) is exact too.
  return distance * kReferenceDpi > static_cast<long long>(kMouseTolerance) * dpi;
}

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// The system commands the rules tell apart; every other command is Other.
enum class SystemCommand { NextWindow, PreviousWindow, ScreenSave, Other };

// One window of the show; the primary carries the run-time title the host looks for.
using ShowWindowId = int;
constexpr ShowWindowId kPrimaryWindow = 0;

// What the rules ask of the platform.
class ShowPlatform {
 public:
  virtual ~ShowPlatform() = default;
  virtual ScreenPoint CursorPosition() = 0;  // screen pixels
  // Dots per inch of the monitor that holds `where` (96 where the platform does not scale).
  virtual int DpiAt(ScreenPoint /*where*/) { return kReferenceDpi; }
  virtual void HideCursor() = 0;
  virtual void SetRunTitle() = 0;  // the primary's title the host looks for
  virtual void LowerThreadPriority() = 0;
  virtual void SetUpWindowPicture(ShowWindowId window) = 0;
  virtual void TearDownWindowPicture(ShowWindowId window) = 0;
  virtual void PostQuit() = 0;
  // Queues a close request to the show, delivered after the event being handled.
  virtual void PostClose() = 0;
  // The platform's screen-saver password prompt; true lets the close go ahead.
  // May deliver events to the rules while it runs.
  virtual bool VerifyPassword() = 0;
};

class ShowRules {
 public:
  explicit ShowRules(ShowPlatform& platform) : platform_(platform) {}

  // A window of the show exists; the primary's creation starts the show.
  void OnCreated(ShowWindowId window);
  // A window of the show is gone; the primary's end ends the loop.
  void OnDestroyed(ShowWindowId window);
  // A close request to any window of the show, posted by these rules or sent from
  // outside. True when it goes ahead: the back end then removes every window.
  bool OnCloseRequested();
  // True when the command is swallowed rather than carried out.
  static bool SwallowsSystemCommand(SystemCommand command);

  // The input events below do nothing while the password prompt is open: it owns the input.
  void OnShown();
  // The platform asks which cursor to show; true when the rules hid it and the
  // platform's own choice must not follow.
  bool OnCursorQuery();
  // Activation went to another application (not to another window of the show).
  void OnFocusLostToOtherApplication();
  void OnKeyPressed();
  // Left, right or middle button; releases and the wheel are not events of the rules.
  void OnButtonPressed();
  // The pointer moved; `where` is its position in screen pixels across all monitors.
  void OnPointerMoved(ScreenPoint where);
  // The pointer moved, and the rules read where it is now from the platform (a
  // message's own coordinates may be stale or relative to another window).
  void OnPointerMoved();
  // Where a platform cannot ask for the pointer (Wayland tells a client only when
  // the pointer enters its surface), the first position it learns is the reading
  // later moves are measured from, as the first move is forgiven elsewhere.
  void OnPointerFound(ScreenPoint where);

  // The idle loop draws only while the pictures are up and no password prompt is open.
  bool FrameDue() const { return running_ && !passwordPromptActive_; }
  bool PromptOpen() const { return passwordPromptActive_; }
  bool CloseArmed() const { return closeArmed_; }
  ScreenPoint SavedCursor() const { return savedCursor_; }

 private:
  void ArmAndClose();

  ShowPlatform& platform_;
  ScreenPoint savedCursor_;
  bool closeArmed_ = false;
  bool firstMoveSeen_ = false;
  bool passwordPromptActive_ = false;
  bool running_ = false;
};

// Close requests posted by the rules, for back ends without a message queue that
// carries them (the X11 program, the tests): each is delivered after the event that
// posted it, and an accepted one ends the show once.
class PostedCloses {
 public:
  void Post() { ++pending_; }
  bool Ended() const { return ended_; }

  // Delivers the waiting requests in order; `endShow` runs once, for the first accepted one.
  template <typename EndShow>
  void Deliver(ShowRules& rules, EndShow endShow) {
    while (pending_ > 0 && !ended_) {
      --pending_;
      if (rules.OnCloseRequested()) EndOnce(endShow);
    }
  }
  // A close request from outside (a window manager's, say), handled at once.
  template <typename EndShow>
  void Request(ShowRules& rules, EndShow endShow) {
    if (!ended_ && rules.OnCloseRequested()) EndOnce(endShow);
  }
  // The show ended by other means (its window went away, a signal).
  template <typename EndShow>
  void EndOnce(EndShow endShow) {
    if (ended_) return;
    ended_ = true;
    endShow();
  }

 private:
  int pending_ = 0;
  bool ended_ = false;
};

}  // namespace orvane::engine
