#include "linux/x11_windows.h"

#include "linux/glx_surface.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace orvane::linux_program {

namespace {

// Set from the X error handler, which can reach nothing else.
volatile std::sig_atomic_t xErrorSeen = 0;

int OnXError(Display*, XErrorEvent*) {
  xErrorSeen = 1;
  return 0;
}

int OnXIoError(Display*) {
  static const char kMessage[] = "orvane: lost the connection to the X display\n";
  (void)!write(2, kMessage, sizeof kMessage - 1);
  _exit(1);
}

}  // namespace

void InstallXErrorHandlers() {
  XSetErrorHandler(OnXError);
  XSetIOErrorHandler(OnXIoError);
}

bool TakeXError() {
  const bool seen = xErrorSeen != 0;
  xErrorSeen = 0;
  return seen;
}

bool WindowExists(Display* display, Window window) {
  XSync(display, False);
  xErrorSeen = 0;
  XWindowAttributes attributes;
  const Status status = XGetWindowAttributes(display, window, &attributes);
  XSync(display, False);
  return status != 0 && !xErrorSeen;
}

Window VirtualRoot(Display* display) {
  const Window root = DefaultRootWindow(display);
  if (const char* named = std::getenv("XSCREENSAVER_WINDOW")) {
    if (const auto id = ParseWindowId(named); id && WindowExists(display, *id)) return *id;
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

Window ChooseForeignWindow(Display* display, const ProgramOptions& options, std::string& error) {
  const Window window = options.mode == WindowMode::Root ? VirtualRoot(display) : options.windowId;
  if (!WindowExists(display, window)) {
    char text[64];
    std::snprintf(text, sizeof text, "0x%lx is not a window", window);
    error = text;
    return None;
  }
  // Only the structure of a window we do not own: its size and its end.
  XSelectInput(display, window, StructureNotifyMask);
  return window;
}

std::vector<engine::MonitorInfo> ListMonitors(Display* display) {
  std::vector<engine::MonitorInfo> monitors;
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (XRRQueryExtension(display, &eventBase, &errorBase) &&
      XRRQueryVersion(display, &major, &minor) && (major > 1 || (major == 1 && minor >= 5))) {
    int count = 0;
    if (XRRMonitorInfo* list = XRRGetMonitors(display, DefaultRootWindow(display), True, &count)) {
      for (int n = 0; n < count; ++n)
        monitors.push_back(
            {{list[n].x, list[n].y, list[n].x + list[n].width, list[n].y + list[n].height},
             list[n].primary != 0});
      XRRFreeMonitors(list);
    }
    if (!monitors.empty()) return monitors;
  }
  if (XineramaIsActive(display)) {
    int count = 0;
    if (XineramaScreenInfo* heads = XineramaQueryScreens(display, &count)) {
      // Xinerama names no primary; its first head is where the desktop starts.
      for (int n = 0; n < count; ++n)
        monitors.push_back({{heads[n].x_org, heads[n].y_org, heads[n].x_org + heads[n].width,
                             heads[n].y_org + heads[n].height},
                            n == 0});
      XFree(heads);
    }
  }
  return monitors;
}

Window MakeStandaloneWindow(Display* display, const engine::MonitorRect& rect, bool primary,
                            std::string& error) {
  const Window window = GlxSurface::CreateWindow(
      display, rect.left, rect.top, rect.Width(), rect.Height(), false,
      KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask | StructureNotifyMask,
      error);
  if (window == None) return None;

  if (!primary) {
    // Where a window manager runs, the position is the program's own choice.
    XSizeHints hints = {};
    hints.flags = USPosition | USSize;
    hints.x = rect.left;
    hints.y = rect.top;
    hints.width = rect.Width();
    hints.height = rect.Height();
    XSetWMNormalHints(display, window, &hints);
  }
  XStoreName(display, window, primary ? "Orvane" : "Orvane monitor");
  XClassHint hint = {const_cast<char*>("orvane"), const_cast<char*>("Orvane")};
  XSetClassHint(display, window, &hint);
  // Full screen where a window manager runs; without one the geometry does it.
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&fullScreen), 1);
  // No pointer over the picture.
  static const char kEmpty[1] = {0};
  const Pixmap blank = XCreateBitmapFromData(display, window, kEmpty, 1, 1);
  XColor black = {};
  const Cursor cursor = XCreatePixmapCursor(display, blank, blank, &black, &black, 0, 0);
  XDefineCursor(display, window, cursor);
  XFreePixmap(display, blank);
  return window;
}

void MapAndFocus(Display* display, Window window, bool focus) {
  XMapRaised(display, window);
  // Focus can only be given to a window that is viewable.
  XEvent event;
  XIfEvent(
      display, &event,
      [](Display*, XEvent* e, XPointer w) -> Bool {
        return e->type == MapNotify && e->xmap.window == *reinterpret_cast<Window*>(w);
      },
      reinterpret_cast<XPointer>(&window));
  if (focus) XSetInputFocus(display, window, RevertToParent, CurrentTime);
}

}  // namespace orvane::linux_program
