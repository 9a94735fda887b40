// orvane: the veils as a native X11 program, a hack that xscreensaver can run.
// --root and --window-id draw into a window someone else owns and take no
// input; without them the program opens a full-screen window of its own that
// ends by the same rules as the Windows engine.
#include "engine/glx_surface.h"
#include "engine/hack_options.h"
#include "engine/posix_clock.h"
#include "engine/render.h"
#include "engine/shell_policy.h"
#include "music/gst_music_player.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Set from signal handlers and the X error handler, which can reach nothing else.
volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t xErrorSeen = 0;

void onStopSignal(int) { stopRequested = 1; }

int onXError(Display*, XErrorEvent*) {
  xErrorSeen = 1;
  return 0;
}

int onXIoError(Display*) {
  static const char message[] = "orvane: lost the connection to the X display\n";
  (void)!write(2, message, sizeof message - 1);
  _exit(1);
}

void fail(const std::string& message) { std::fprintf(stderr, "orvane: %s\n", message.c_str()); }

// Whether `window` exists, without the default handler ending the program.
bool windowExists(Display* display, Window window, XWindowAttributes& attributes) {
  XSync(display, False);
  xErrorSeen = 0;
  const Status status = XGetWindowAttributes(display, window, &attributes);
  XSync(display, False);
  return status != 0 && !xErrorSeen;
}

// The window the screen saver draws on: XSCREENSAVER_WINDOW, else a virtual
// root marked __SWM_VROOT, else the real root.
Window virtualRoot(Display* display) {
  const Window root = DefaultRootWindow(display);
  if (const char* named = std::getenv("XSCREENSAVER_WINDOW")) {
    XWindowAttributes attributes;
    if (const auto id = parseWindowId(named); id && windowExists(display, *id, attributes))
      return *id;
  }
  const Atom vroot = XInternAtom(display, "__SWM_VROOT", False);
  Window rootReturn, parent, *children = nullptr;
  unsigned count = 0;
  Window found = root;
  if (XQueryTree(display, root, &rootReturn, &parent, &children, &count)) {
    for (unsigned n = 0; n < count && found == root; ++n) {
      Atom type;
      int format;
      unsigned long items, after;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(display, children[n], vroot, 0, 1, False, XA_WINDOW, &type, &format,
                             &items, &after, &data) == Success &&
          type == XA_WINDOW && items == 1 && data)
        found = *reinterpret_cast<Window*>(data);
      if (data) XFree(data);
    }
    if (children) XFree(children);
  }
  return found;
}

// A full-screen window with a GL visual, for the standalone mode.
Window makeStandaloneWindow(Display* display, std::string& error) {
  const int screen = DefaultScreen(display);
  const Window window = GlxSurface::createWindow(
      display, DisplayWidth(display, screen), DisplayHeight(display, screen), false,
      KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask | StructureNotifyMask,
      error);
  if (window == None) return None;

  XStoreName(display, window, "Orvane");
  XClassHint hint = {const_cast<char*>("orvane"), const_cast<char*>("Orvane")};
  XSetClassHint(display, window, &hint);
  // Full screen where a window manager runs; without one the geometry does it.
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&fullScreen), 1);
  // No pointer over the picture.
  static const char empty[1] = {0};
  const Pixmap blank = XCreateBitmapFromData(display, window, empty, 1, 1);
  XColor black = {};
  const Cursor cursor = XCreatePixmapCursor(display, blank, blank, &black, &black, 0, 0);
  XDefineCursor(display, window, cursor);
  XFreePixmap(display, blank);
  return window;
}

class X11Shell final : public ShellPlatform {
 public:
  X11Shell(Display* display, Window window, bool vsync)
      : display_(display), window_(window), surface_(display, window), vsync_(vsync) {}

  bool prepare(std::string& error) { return surface_.prepare(error); }
  Rendering* rendering() { return rendering_.get(); }
  bool pacedBySwap() const { return pacedBySwap_; }

  ShellPoint cursorPosition() override {
    Window rootReturn, child;
    int rootX = 0, rootY = 0, x, y;
    unsigned mask;
    XQueryPointer(display_, window_, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
    return {rootX, rootY};
  }
  void hideCursor() override {}  // the window's cursor is blank from the start
  void setRunTitle() override {}
  void lowerThreadPriority() override {}  // a hack runs at the priority its starter gives it
  void setUpRendering() override {
    rendering_ = ::setUpRendering(surface_, clock_);
    pacedBySwap_ = rendering_->drawing && surface_.setVsync(vsync_) && vsync_;
  }
  void tearDownRendering() override {
    if (rendering_) ::tearDownRendering(*rendering_);
  }
  void postQuit() override { quit = true; }
  void postClose() override { ++pendingCloses; }
  // Locking belongs to the screen saver daemon; a close is never refused here.
  bool verifyPassword() override { return true; }

  bool quit = false;
  int pendingCloses = 0;

 private:
  Display* display_;
  Window window_;
  MonotonicClock clock_;
  GlxSurface surface_;
  std::unique_ptr<Rendering> rendering_;
  bool vsync_;
  bool pacedBySwap_ = false;
};

// Frames per second on stderr, once a second.
class FpsReport {
 public:
  void frame(double now) {
    if (start_ < 0) start_ = now;
    ++frames_;
    if (now - start_ >= 1.0) {
      std::fprintf(stderr, "orvane: %.1f fps\n", frames_ / (now - start_));
      start_ = now;
      frames_ = 0;
    }
  }

 private:
  double start_ = -1;
  int frames_ = 0;
};

int run(const HackOptions& options) {
  // From the start, so that a stop during set-up still ends with the context torn down.
  struct sigaction action = {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    const char* name = std::getenv("DISPLAY");
    fail(std::string("cannot open display '") + (name ? name : "") + "'");
    return 1;
  }
  XSetErrorHandler(onXError);
  XSetIOErrorHandler(onXIoError);

  const bool standalone = options.mode == HackMode::Standalone;
  Window window = None;
  std::string error;
  if (standalone) {
    window = makeStandaloneWindow(display, error);
  } else {
    window = options.mode == HackMode::Root ? virtualRoot(display) : options.windowId;
    XWindowAttributes attributes;
    if (!windowExists(display, window, attributes)) {
      char text[64];
      std::snprintf(text, sizeof text, "0x%lx is not a window", window);
      error = text;
      window = None;
    } else {
      // Only the structure of a window we do not own: its size and its end.
      XSelectInput(display, window, StructureNotifyMask);
    }
  }
  if (window == None) {
    fail(error);
    XCloseDisplay(display);
    return 1;
  }

  X11Shell shell(display, window, options.vsync);
  if (!shell.prepare(error)) {
    fail(error);
    if (standalone) XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 1;
  }
  ShellPolicy policy(shell);

  if (standalone) {
    XMapRaised(display, window);
    // Focus can only be given to a window that is viewable.
    XEvent event;
    XIfEvent(
        display, &event,
        [](Display*, XEvent* e, XPointer w) -> Bool {
          return e->type == MapNotify && e->xmap.window == *reinterpret_cast<Window*>(w);
        },
        reinterpret_cast<XPointer>(&window));
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
  }
  policy.handle(ShellMessage::Create, 0);

  // Sound only when asked for: without --music no audio library is initialised.
  std::unique_ptr<orvane::music::GstMusicPlayer> music;
  if (!options.musicFile.empty())
    music = std::make_unique<orvane::music::GstMusicPlayer>(options.musicFile);

  // Without a swap that waits for the display, frames are paced to about 60 Hz
  // in software, so the picture never takes a whole core for nothing.
  const bool pace = options.vsync && !shell.pacedBySwap();
  const double period = 1.0 / 60;
  double nextFrame = monotonicSeconds();
  FpsReport fps;
  bool windowGone = false;
  bool destroyed = false;
  auto destroy = [&] {
    if (destroyed) return;
    destroyed = true;
    policy.handle(ShellMessage::Destroy, 0);
  };

  while (!shell.quit && !stopRequested && !windowGone) {
    while (XPending(display) && !windowGone) {
      XEvent event;
      XNextEvent(display, &event);
      switch (event.type) {
        case DestroyNotify:
          if (event.xdestroywindow.window == window) windowGone = true;
          break;
        case ConfigureNotify:
          if (event.xconfigure.window == window && shell.rendering())
            resizeRendering(*shell.rendering(), {event.xconfigure.width, event.xconfigure.height});
          break;
        case KeyPress:
          if (standalone) policy.handle(ShellMessage::KeyDown, 0);
          break;
        case ButtonPress: {
          // Left, middle and right press; the wheel (4 to 7) and extra buttons do not end it.
          const unsigned button = event.xbutton.button;
          const unsigned message = button == Button1   ? ShellMessage::LButtonDown
                                   : button == Button2 ? ShellMessage::MButtonDown
                                   : button == Button3 ? ShellMessage::RButtonDown
                                                       : 0;
          if (standalone && message) policy.handle(message, 0);
          break;
        }
        case MotionNotify:
          if (standalone) policy.handle(ShellMessage::MouseMove, 0);
          break;
        case FocusOut:
          // Another window took the focus; grabs and moves inside the window are not that.
          if (standalone && event.xfocus.mode == NotifyNormal &&
              event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer)
            policy.handle(ShellMessage::ActivateApp, 0);
          break;
        case MapNotify:
          if (standalone && event.xmap.window == window) policy.handle(ShellMessage::ShowWindow, 1);
          break;
      }
      // Closes are posted by the rules and delivered after the message that posted them.
      while (shell.pendingCloses > 0 && !destroyed) {
        --shell.pendingCloses;
        if (policy.handle(ShellMessage::Close, 0).defaultProcessing) destroy();
      }
    }
    if (xErrorSeen && !standalone) {
      // The window went away between two frames (its DestroyNotify may follow).
      XWindowAttributes attributes;
      windowGone = !windowExists(display, window, attributes);
      xErrorSeen = 0;
    }
    if (shell.quit || stopRequested || windowGone) break;
    if (policy.frameDue()) {
      frameStep(*shell.rendering());
      if (options.showFps) fps.frame(monotonicSeconds());
    }
    if (pace) {
      nextFrame += period;
      const double now = monotonicSeconds();
      if (nextFrame < now) {
        nextFrame = now;  // behind: no burst to catch up
      } else {
        const double wait = nextFrame - now;
        timespec pause = {static_cast<time_t>(wait),
                          static_cast<long>((wait - static_cast<long>(wait)) * 1e9)};
        nanosleep(&pause, nullptr);  // a signal cuts it short
      }
    }
  }

  music.reset();  // silence first; tearing the picture down takes longer
  destroy();
  if (standalone) XDestroyWindow(display, window);
  XCloseDisplay(display);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const HackArguments arguments =
      readHackArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!arguments.ok()) {
    fail(arguments.error + " (--help lists the options)");
    return 1;
  }
  if (arguments.options.help) {
    std::fputs(hackUsage, stdout);
    return 0;
  }
  return run(arguments.options);
}
