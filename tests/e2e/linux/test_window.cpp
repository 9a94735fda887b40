// A plain X window for the scenarios to hand to orvane: prints its id, then
// lives until SIGTERM, when it and its window go away.
//   test_window WIDTH HEIGHT [--vroot]   (--vroot marks it as a virtual root)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
volatile std::sig_atomic_t stop = 0;
void OnSignal(int) { stop = 1; }
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: test_window WIDTH HEIGHT [--vroot]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  const Window window = XCreateSimpleWindow(
      display, root, 40, 30, static_cast<unsigned>(std::atoi(argv[1])),
      static_cast<unsigned>(std::atoi(argv[2])), 0, 0, BlackPixel(display, screen));
  XStoreName(display, window, "orvane test window");
  if (argc > 3 && std::strcmp(argv[3], "--vroot") == 0) {
    const Atom vroot = XInternAtom(display, "__SWM_VROOT", False);
    XChangeProperty(display, window, vroot, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&window), 1);
  }
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);
  for (XEvent event;;) {
    XNextEvent(display, &event);
    if (event.type == MapNotify) break;
  }
  std::printf("0x%lx\n", window);
  std::fflush(stdout);

  std::signal(SIGTERM, OnSignal);
  std::signal(SIGINT, OnSignal);
  while (!stop) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
    }
    usleep(20000);
  }
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  return 0;
}
