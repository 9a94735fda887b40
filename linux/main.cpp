// orvane: the veils as a native Linux program, on X11 (an xscreensaver hack, or
// a full-screen show of its own) or on a Wayland desktop (a surface over each output).
#include "engine/hack_options.h"
#include "engine/x11_main.h"
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
  const engine::HackArguments arguments =
      engine::ReadHackArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!arguments.Ok()) {
    std::fprintf(stderr, "orvane: %s (--help lists the options)\n", arguments.error.c_str());
    return 1;
  }
  if (arguments.options.help) {
    std::fputs(engine::kHackUsage, stdout);
    return 0;
  }
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const auto server =
      linux_program::ChooseDisplayServer(arguments.options, wayland && *wayland, XDisplayReachable);
  return server == linux_program::DisplayServer::Wayland
             ? linux_program::RunWaylandShow(arguments.options)
             : engine::RunX11Show(arguments.options);
}
