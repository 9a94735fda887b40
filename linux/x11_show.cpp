// The veils as a native X11 program, which xscreensaver can run.
// --root and --window-id draw into a window someone else owns and take no
// input; without them the program opens a full-screen window of its own that
// ends by the same rules as the Windows engine.
#include "linux/x11_show.h"

#include "engine/frame_pacing.h"
#include "engine/picture.h"
#include "engine/show_pictures.h"
#include "engine/show_rules.h"
#include "linux/glx_surface.h"
#include "linux/options.h"
#include "linux/posix_clock.h"
#include "linux/stop_signals.h"
#include "linux/x11_windows.h"
#include "music/gst_music_player.h"

#include <X11/Xlib.h>

#include <csignal>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane::linux_program {
namespace {

// Set from the signal handlers, which can reach nothing else.
volatile std::sig_atomic_t stopRequested = 0;

void OnStopSignal(int) { stopRequested = 1; }

// The platform side of the rules: the show's X windows (one, or one per monitor
// in the standalone mode) and their pictures.
class X11Show final : public engine::ShowPlatform {
 public:
  X11Show(Display* display, bool vsync) : display_(display), vsync_(vsync) {}

  // Adds a window to draw on; false with a reason when it cannot carry GL.
  bool Add(Window window, std::string& error) {
    auto surface = std::make_unique<GlxSurface>(display_, window);
    if (!surface->Prepare(error)) return false;
    windows_.push_back({window, std::move(surface)});
    return true;
  }
  std::size_t Count() const { return windows_.size(); }
  Window WindowAt(std::size_t index) const { return windows_[index].window; }
  bool Owns(Window window) const { return IndexOf(window) < windows_.size(); }

  // Starts the show: the primary first, then the others.
  void Start() {
    for (std::size_t n = 0; n < windows_.size(); ++n) rules_.OnCreated(static_cast<int>(n));
    GlxSurface& primary = *windows_[0].surface;
    const engine::Picture* picture = pictures_.PictureAt(0);
    if (!vsync_) {
      for (auto& w : windows_) w.surface->SetSwapInterval(0);
    } else if (picture && picture->Drawing()) {
      pacedBySwap_ = windows_.size() > 1 ? primary.SetSwapInterval(1) : primary.SetVsync(true);
    }
  }

  engine::ShowRules& Rules() { return rules_; }
  bool Quit() const { return quit_; }
  bool PacedBySwap() const { return pacedBySwap_; }

  void DrawFrame() {
    if (rules_.FrameDue()) pictures_.DrawRound();
  }
  void Resize(Window window, engine::SurfaceSize size) { pictures_.Resize(IndexOf(window), size); }
  // Ends the show once, whichever way it ends.
  void End() {
    closes_.EndOnce([this] { EndShow(); });
  }
  void DeliverPostedCloses() {
    closes_.Deliver(rules_, [this] { EndShow(); });
  }

  engine::ScreenPoint CursorPosition() override {
    Window rootReturn, child;
    int rootX = 0, rootY = 0, x, y;
    unsigned mask;
    XQueryPointer(display_, windows_[0].window, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
    return {rootX, rootY};
  }
  void HideCursor() override {}  // the windows' cursor is blank from the start
  void SetRunTitle() override {}
  void LowerThreadPriority() override {}  // the program runs at the priority its starter gives it
  void SetUpWindowPicture(engine::ShowWindowId window) override {
    pictures_.SetUp(static_cast<std::size_t>(window), *windows_.at(window).surface);
  }
  void TearDownWindowPicture(engine::ShowWindowId window) override {
    pictures_.TearDown(static_cast<std::size_t>(window));
  }
  void PostQuit() override { quit_ = true; }
  void PostClose() override { closes_.Post(); }
  // Locking belongs to the screen saver daemon; a close is never refused here.
  bool VerifyPassword() override { return true; }

 private:
  struct ShowWindow {
    Window window;
    std::unique_ptr<GlxSurface> surface;
  };

  std::size_t IndexOf(Window window) const {
    for (std::size_t n = 0; n < windows_.size(); ++n)
      if (windows_[n].window == window) return n;
    return windows_.size();
  }
  void EndShow() {
    for (std::size_t n = windows_.size(); n-- > 1;) rules_.OnDestroyed(static_cast<int>(n));
    rules_.OnDestroyed(engine::kPrimaryWindow);
  }

  Display* display_;
  MonotonicClock clock_;
  std::vector<ShowWindow> windows_;
  // After the windows: pictures end before the surfaces they draw on.
  engine::ShowPictures pictures_{clock_};
  engine::ShowRules rules_{*this};
  engine::PostedCloses closes_;
  bool vsync_;
  bool pacedBySwap_ = false;
  bool quit_ = false;
};

// Turns one X event into the rules' events. Returns false when a window of the
// show went away.
bool HandleEvent(Display* display, const XEvent& event, bool standalone, X11Show& show) {
  engine::ShowRules& rules = show.Rules();
  switch (event.type) {
    case DestroyNotify:
      return !show.Owns(event.xdestroywindow.window);
    case ConfigureNotify:
      if (show.Owns(event.xconfigure.window))
        show.Resize(event.xconfigure.window, {event.xconfigure.width, event.xconfigure.height});
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
      // Root coordinates: one measure across every monitor's window.
      if (standalone) rules.OnPointerMoved({event.xmotion.x_root, event.xmotion.y_root});
      break;
    case FocusOut: {
      // Another window took the focus; grabs and moves inside the window are not that,
      // nor the focus going to another window of the show.
      if (!standalone || event.xfocus.mode != NotifyNormal ||
          event.xfocus.detail == NotifyInferior || event.xfocus.detail == NotifyPointer)
        break;
      Window focus = None;
      int revert = 0;
      XGetInputFocus(display, &focus, &revert);
      if (!show.Owns(focus)) rules.OnFocusLostToOtherApplication();
      break;
    }
    case MapNotify:
      if (standalone && event.xmap.window == show.WindowAt(0)) rules.OnShown();
      break;
  }
  return true;
}

void Pause(double seconds) {
  timespec pause = {static_cast<time_t>(seconds),
                    static_cast<long>((seconds - static_cast<long>(seconds)) * 1e9)};
  nanosleep(&pause, nullptr);  // a signal cuts it short
}

}  // namespace

int RunX11Show(const ProgramOptions& options,
               const std::function<void(const std::string&)>& report) {
  // From the start, so that a stop during set-up still ends with the context torn down.
  HandleStopSignals(OnStopSignal);

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    const char* name = std::getenv("DISPLAY");
    report(std::string("cannot open display '") + (name ? name : "") + "'");
    return 1;
  }
  InstallXErrorHandlers();

  const bool standalone = options.mode == WindowMode::Standalone;
  std::string error;
  X11Show show(display, options.vsync);
  std::vector<Window> made;  // the standalone windows, destroyed at the end
  bool ok = true;
  if (standalone) {
    // Each monitor its own window and veils; one monitor, one window over the screen.
    const int screen = DefaultScreen(display);
    const engine::ScreenCover cover = engine::PlanScreenCover(
        ListMonitors(display), DisplayWidth(display, screen), DisplayHeight(display, screen));
    const Window primary = MakeStandaloneWindow(display, cover.primary, true, error);
    ok = primary != None && show.Add(primary, error);
    if (primary != None) made.push_back(primary);
    for (std::size_t n = 0; ok && n < cover.others.size(); ++n) {
      std::string otherError;
      const Window other = MakeStandaloneWindow(display, cover.others[n], false, otherError);
      if (other != None) made.push_back(other);
      // A monitor left uncovered is said, and the rest of the show runs on.
      if (other == None || !show.Add(other, otherError))
        report("no window for monitor " + std::to_string(n + 2) + ": " + otherError);
    }
  } else {
    const Window window = ChooseForeignWindow(display, options, error);
    ok = window != None && show.Add(window, error);
  }
  if (!ok) {
    report(error);
    for (Window window : made) XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 1;
  }
  if (standalone) {
    for (std::size_t n = show.Count(); n-- > 0;) MapAndFocus(display, show.WindowAt(n), n == 0);
  }
  show.Start();

  // Sound only when asked for: without --music no audio library is initialised.
  std::unique_ptr<music::GstMusicPlayer> music;
  if (!options.musicFile.empty())
    music = std::make_unique<music::GstMusicPlayer>(options.musicFile, report);

  // Where the swap does not wait for the display (no swap control, or frames that
  // still come much faster than the refresh), frames are paced to about 60 Hz.
  std::optional<engine::DisplayPacing> pacing;
  if (options.vsync)
    pacing.emplace(engine::RefreshRateOrDefault(0), show.PacedBySwap(), MonotonicSeconds());
  engine::FpsCounter fps;
  bool windowGone = false;

  while (!show.Quit() && !stopRequested && !windowGone) {
    while (XPending(display) && !windowGone) {
      XEvent event;
      XNextEvent(display, &event);
      windowGone = !HandleEvent(display, event, standalone, show);
      // Closes are posted by the rules and delivered after the event that posted them.
      show.DeliverPostedCloses();
    }
    // A window we do not own may go between two frames (its DestroyNotify may follow).
    if (TakeXError() && !standalone) windowGone = !WindowExists(display, show.WindowAt(0));
    if (show.Quit() || stopRequested || windowGone) break;
    show.DrawFrame();
    if (options.showFps) {
      if (const auto rate = fps.Frame(MonotonicSeconds())) report(engine::FpsText(*rate));
    }
    if (pacing) {
      const double now = MonotonicSeconds();
      pacing->FrameDone(now);
      if (const double wait = pacing->WaitBefore(now); wait > 0) Pause(wait);
    }
  }

  music.reset();  // silence first; tearing the picture down takes longer
  show.End();
  for (Window window : made) XDestroyWindow(display, window);
  XCloseDisplay(display);
  return 0;
}

}  // namespace orvane::linux_program
