// orvane: the veils as a native X11 program, a hack that xscreensaver can run.
// --root and --window-id draw into a window someone else owns and take no
// input; without them the program opens a full-screen window of its own that
// ends by the same rules as the Windows engine.
#include "engine/frame_pacing.h"
#include "engine/glx_surface.h"
#include "engine/hack_options.h"
#include "engine/posix_clock.h"
#include "engine/render.h"
#include "engine/shell_rules.h"
#include "engine/x11_windows.h"

#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace orvane::engine {
namespace {

// Set from the signal handlers, which can reach nothing else.
volatile std::sig_atomic_t stopRequested = 0;

void OnStopSignal(int) { stopRequested = 1; }

void Fail(const std::string& message) { std::fprintf(stderr, "orvane: %s\n", message.c_str()); }

// The platform side of the rules for one X window and its picture.
class X11Show final : public ShellPlatform {
 public:
  X11Show(Display* display, Window window, bool vsync)
      : display_(display), window_(window), surface_(display, window), vsync_(vsync) {}

  bool Prepare(std::string& error) { return surface_.prepare(error); }
  ShellRules& Rules() { return rules_; }
  PostedCloses& Closes() { return closes_; }
  bool Quit() const { return quit_; }
  bool PacedBySwap() const { return pacedBySwap_; }

  void DrawFrame() {
    if (rules_.FrameDue()) frameStep(*rendering_);
  }
  void Resize(SurfaceSize size) {
    if (rendering_) resizeRendering(*rendering_, size);
  }
  // Ends the show once, whichever way it ends.
  void End() {
    closes_.EndOnce([this] { rules_.OnDestroyed(kPrimaryWindow); });
  }
  void DeliverPostedCloses() {
    closes_.Deliver(rules_, [this] { rules_.OnDestroyed(kPrimaryWindow); });
  }

  ScreenPoint CursorPosition() override {
    Window rootReturn, child;
    int rootX = 0, rootY = 0, x, y;
    unsigned mask;
    XQueryPointer(display_, window_, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
    return {rootX, rootY};
  }
  void HideCursor() override {}  // the window's cursor is blank from the start
  void SetRunTitle() override {}
  void LowerThreadPriority() override {}  // a hack runs at the priority its starter gives it
  void SetUpRendering(ShowWindowId) override {
    rendering_ = ::setUpRendering(surface_, clock_);
    pacedBySwap_ = rendering_->drawing && surface_.setVsync(vsync_) && vsync_;
  }
  void TearDownRendering(ShowWindowId) override {
    if (rendering_) ::tearDownRendering(*rendering_);
  }
  void PostQuit() override { quit_ = true; }
  void PostClose() override { closes_.Post(); }
  // Locking belongs to the screen saver daemon; a close is never refused here.
  bool VerifyPassword() override { return true; }

 private:
  Display* display_;
  Window window_;
  MonotonicClock clock_;
  GlxSurface surface_;
  std::unique_ptr<Rendering> rendering_;
  ShellRules rules_{*this};
  PostedCloses closes_;
  bool vsync_;
  bool pacedBySwap_ = false;
  bool quit_ = false;
};

// Turns one X event into the rules' events. Returns false when the window went away.
bool HandleEvent(const XEvent& event, Window window, bool standalone, X11Show& show) {
  ShellRules& rules = show.Rules();
  switch (event.type) {
    case DestroyNotify:
      return event.xdestroywindow.window != window;
    case ConfigureNotify:
      if (event.xconfigure.window == window)
        show.Resize({event.xconfigure.width, event.xconfigure.height});
      break;
    case KeyPress:
      if (standalone) rules.OnKeyPressed();
      break;
    case ButtonPress:
      // Left, middle and right press; the wheel (4 to 7) and extra buttons do not end it.
      if (standalone && event.xbutton.button >= Button1 && event.xbutton.button <= Button3)
        rules.OnButtonPressed();
      break;
    case MotionNotify:
      if (standalone) rules.OnPointerMoved({event.xmotion.x_root, event.xmotion.y_root});
      break;
    case FocusOut:
      // Another window took the focus; grabs and moves inside the window are not that.
      if (standalone && event.xfocus.mode == NotifyNormal &&
          event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer)
        rules.OnFocusLostToOtherApplication();
      break;
    case MapNotify:
      if (standalone && event.xmap.window == window) rules.OnShown();
      break;
  }
  return true;
}

void Pause(double seconds) {
  timespec pause = {static_cast<time_t>(seconds),
                    static_cast<long>((seconds - static_cast<long>(seconds)) * 1e9)};
  nanosleep(&pause, nullptr);  // a signal cuts it short
}

int Run(const HackOptions& options) {
  // From the start, so that a stop during set-up still ends with the context torn down.
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    const char* name = std::getenv("DISPLAY");
    Fail(std::string("cannot open display '") + (name ? name : "") + "'");
    return 1;
  }
  InstallXErrorHandlers();

  const bool standalone = options.mode == HackMode::Standalone;
  std::string error;
  const Window window = standalone ? MakeStandaloneWindow(display, error)
                                   : ChooseForeignWindow(display, options, error);
  if (window == None) {
    Fail(error);
    XCloseDisplay(display);
    return 1;
  }

  X11Show show(display, window, options.vsync);
  if (!show.Prepare(error)) {
    Fail(error);
    if (standalone) XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 1;
  }
  if (standalone) MapAndFocus(display, window);
  show.Rules().OnCreated(kPrimaryWindow);

  // Without a swap that waits for the display, frames are paced to about 60 Hz.
  const bool pace = options.vsync && !show.PacedBySwap();
  FramePacer pacer(1.0 / 60, monotonicSeconds());
  FpsCounter fps;
  bool windowGone = false;

  while (!show.Quit() && !stopRequested && !windowGone) {
    while (XPending(display) && !windowGone) {
      XEvent event;
      XNextEvent(display, &event);
      windowGone = !HandleEvent(event, window, standalone, show);
      // Closes are posted by the rules and delivered after the event that posted them.
      show.DeliverPostedCloses();
    }
    // A window we do not own may go between two frames (its DestroyNotify may follow).
    if (TakeXError() && !standalone) windowGone = !WindowExists(display, window);
    if (show.Quit() || stopRequested || windowGone) break;
    show.DrawFrame();
    if (options.showFps) {
      if (const auto rate = fps.Frame(monotonicSeconds()))
        std::fprintf(stderr, "orvane: %.1f fps\n", *rate);
    }
    if (pace) {
      if (const double wait = pacer.WaitAfterFrame(monotonicSeconds()); wait > 0) Pause(wait);
    }
  }

  show.End();
  if (standalone) XDestroyWindow(display, window);
  XCloseDisplay(display);
  return 0;
}

}  // namespace
}  // namespace orvane::engine

int main(int argc, char** argv) {
  const HackArguments arguments =
      readHackArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!arguments.ok()) {
    orvane::engine::Fail(arguments.error + " (--help lists the options)");
    return 1;
  }
  if (arguments.options.help) {
    std::fputs(hackUsage, stdout);
    return 0;
  }
  return orvane::engine::Run(arguments.options);
}
