// SIGTERM and SIGINT, which an idle daemon or a terminal sends to end the show.
#pragma once

#include <csignal>

namespace orvane::linux_program {

// Both stop signals go to `handler`, from the start of the show, so that a stop
// during set-up is handled too.
inline void HandleStopSignals(void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace orvane::linux_program
