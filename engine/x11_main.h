// The X11 show of the program `orvane`, which its main starts when it speaks X11.
#pragma once

#include "engine/hack_options.h"

namespace orvane::engine {

// Runs the show on the X display named by DISPLAY: 0 when it ended as a show
// does, 1 with one line on stderr when it could not start.
int RunX11Show(const HackOptions& options);

}  // namespace orvane::engine
