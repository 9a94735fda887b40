// Which display server `orvane` speaks, decided before it connects to either.
#pragma once

#include "linux/options.h"

#include <functional>

namespace orvane::linux_program {

enum class DisplayServer { X11, Wayland };

// --x11 and --wayland decide. Otherwise Wayland only where a Wayland display is
// named (WAYLAND_DISPLAY) and no X display can be reached: a desktop that offers
// both also runs X11 programs, and the X11 show is the one screen-saver daemons
// know. --root and --window-id name X windows, so they always mean X11.
// `xReachable` is asked only when the answer depends on it (it opens a connection).
DisplayServer ChooseDisplayServer(const ProgramOptions& options, bool waylandNamed,
                                  const std::function<bool()>& xReachable);

}  // namespace orvane::linux_program
