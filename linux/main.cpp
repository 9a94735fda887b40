// orvane: the veils as a native Linux program, on X11 (an xscreensaver hack, or
// a full-screen show of its own) or on a Wayland desktop (a surface over each output).
#include "linux/options.h"
#include "linux/x11_show.h"
#include "linux/display_choice.h"
#include "linux/wayland_show.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool XDisplayReachable() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XCloseDisplay(display);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orvane;
  const linux_program::ProgramArguments arguments =
      linux_program::ReadProgramArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!arguments.Ok()) {
    std::fprintf(stderr, "orvane: %s (--help lists the options)\n", arguments.error.c_str());
    return 1;
  }
  if (arguments.options.help) {
    std::fputs(linux_program::kProgramUsage, stdout);
    return 0;
  }
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const auto server =
      linux_program::ChooseDisplayServer(arguments.options, wayland && *wayland, XDisplayReachable);
  if (server == linux_program::DisplayServer::X11)
    return linux_program::RunX11Show(arguments.options);
  const int status = linux_program::RunWaylandShow(arguments.options);
  // Everything of the show is released by now: its surfaces, the sound, the
  // connection. What is left is the GL driver's own teardown at exit, which took
  // seconds on a loaded machine and would keep an idle daemon waiting for nothing.
  std::fflush(nullptr);
  std::_Exit(status);
}
