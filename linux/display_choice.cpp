#include "linux/display_choice.h"

namespace orvane::linux_program {

DisplayServer ChooseDisplayServer(const ProgramOptions& options, bool waylandNamed,
                                  const std::function<bool()>& xReachable) {
  switch (options.server) {
    case RequestedServer::X11:
      return DisplayServer::X11;
    case RequestedServer::Wayland:
      return DisplayServer::Wayland;
    case RequestedServer::Automatic:
      break;
  }
  if (options.mode != WindowMode::Standalone || !waylandNamed) return DisplayServer::X11;
  return xReachable() ? DisplayServer::X11 : DisplayServer::Wayland;
}

}  // namespace orvane::linux_program
