#include "linux/display_choice.h"

namespace orvane::linux_program {

DisplayServer ChooseDisplayServer(const engine::HackOptions& options, bool waylandNamed,
                                  const std::function<bool()>& xReachable) {
  switch (options.server) {
    case engine::HackDisplayServer::X11:
      return DisplayServer::X11;
    case engine::HackDisplayServer::Wayland:
      return DisplayServer::Wayland;
    case engine::HackDisplayServer::Automatic:
      break;
  }
  if (options.mode != engine::HackMode::Standalone || !waylandNamed) return DisplayServer::X11;
  return xReachable() ? DisplayServer::X11 : DisplayServer::Wayland;
}

}  // namespace orvane::linux_program
