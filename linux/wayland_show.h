// The show on a Wayland desktop: one overlay layer surface over each output,
// each with its own EGL surface and veils, paced by the compositor's frame
// callbacks, ended by the shared show rules.
#pragma once

#include "linux/options.h"

#include <functional>
#include <string>

namespace orvane::linux_program {

// Runs the show until input, a signal or the compositor ends it. 0 when it ended
// as a show does; 1 with one line given to `report` (the program's reporter)
// when it could not start or the compositor went away.
int RunWaylandShow(const ProgramOptions& options,
                   const std::function<void(const std::string&)>& report);

}  // namespace orvane::linux_program
