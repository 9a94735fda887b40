// orvane: the veils as a native Linux program, on X11 (an xscreensaver hack, or
// a full-screen show of its own) or on a Wayland desktop (a surface over each output).
#include "linux/display_choice.h"
#include "linux/options.h"
#include "linux/wayland_show.h"
#include "linux/x11_show.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The program's one way to speak to its user, handed to every part that has
// something to say: one line on stderr, named for the program, so that the
// screen saver daemon's log and a terminal show whose line it is.
void Report(const std::string& line) { std::fprintf(stderr, "orvane: %s\n", line.c_str()); }

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
    Report(arguments.Why() + " (--help lists the options)");
    return 1;
  }
  if (arguments->help) {
    std::fputs(linux_program::kProgramUsage, stdout);
    return 0;
  }
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const auto server =
      linux_program::ChooseDisplayServer(*arguments, wayland && *wayland, XDisplayReachable);
  if (server == linux_program::DisplayServer::X11)
    return linux_program::RunX11Show(*arguments, Report);
  const int status = linux_program::RunWaylandShow(*arguments, Report);
  // Everything of the show is released by now: its surfaces, the sound, the
  // connection. What is left is the GL driver's own teardown at exit, which took
  // seconds on a loaded machine and would keep an idle daemon waiting for nothing.
  std::fflush(nullptr);
  std::_Exit(status);
}
