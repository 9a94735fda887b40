// The X11 show of the program `orvane`, which its main starts when it speaks X11.
#pragma once

#include "linux/options.h"

#include <functional>
#include <string>

namespace orvane::linux_program {

// Runs the show on the X display named by DISPLAY: 0 when it ended as a show
// does, 1 with one line given to `report` (the program's reporter) when it
// could not start.
int RunX11Show(const ProgramOptions& options,
               const std::function<void(const std::string&)>& report);

}  // namespace orvane::linux_program
