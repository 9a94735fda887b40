#include "linux/options.h"

namespace orvane::linux_program {

const char kProgramUsage[] =
    "usage: orvane [--root] [--window-id ID] [--music FILE] [--fps] [--no-vsync]\n"
    "              [--x11 | --wayland]\n"
    "  Draws the Orvane veils with OpenGL.\n"
    "  --root          draw on the screen saver's window (XSCREENSAVER_WINDOW),\n"
    "                  else on the root window\n"
    "  --window-id ID  draw into the window ID (decimal or 0x hexadecimal);\n"
    "                  it wins over --root\n"
    "  (neither)       a full-screen window that closes on a key, a button,\n"
    "                  a mouse movement or loss of focus\n"
    "  --music FILE    play an MP3 or WAV file in a loop while the veils run\n"
    "  --fps           print frames per second on stderr once a second\n"
    "  --no-vsync      draw as fast as possible instead of at the display's rate\n"
    "  --x11           speak X11 (the choice when an X display is reachable)\n"
    "  --wayland       speak Wayland: one surface over each output; the choice\n"
    "                  when WAYLAND_DISPLAY is set and no X display is reachable\n"
    "  --help          print this text\n";

namespace {

bool IsOptionLike(const std::string& text) { return text.size() > 1 && text[0] == '-'; }

}  // namespace

std::optional<std::uint32_t> ParseWindowId(const std::string& text) {
  std::size_t at = 0;
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    at = 2;
    base = 16;
  }
  if (at == text.size()) return std::nullopt;
  std::uint64_t value = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  if (value == 0) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

ProgramArguments ReadProgramArguments(const std::vector<std::string>& arguments) {
  ProgramOptions o;
  bool rootSeen = false, windowSeen = false;
  for (std::size_t n = 0; n < arguments.size(); ++n) {
    std::string name = arguments[n];
    if (name.size() > 2 && name.compare(0, 2, "--") == 0)
      name.erase(0, 2);
    else if (name.size() > 1 && name[0] == '-')
      name.erase(0, 1);
    else
      return common::Reason{"unexpected argument '" + arguments[n] + "'"};

    std::optional<std::string> value;
    const std::size_t equals = name.find('=');
    if (equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.erase(equals);
    }
    if (name == "window-id") {
      if (!value) {
        if (n + 1 == arguments.size()) return common::Reason{"--window-id needs a window id"};
        value = arguments[++n];
      }
      const std::optional<std::uint32_t> id = ParseWindowId(*value);
      if (!id)
        return common::Reason{"'" + *value + "' is not a window id (decimal or 0x hexadecimal)"};
      o.windowId = *id;
      windowSeen = true;
      continue;
    }
    if (name == "music") {
      if (!value) {
        // A following option is a forgotten file name, not a file called "--root".
        if (n + 1 == arguments.size() || IsOptionLike(arguments[n + 1]))
          return common::Reason{
              "--music needs a file (an MP3 or WAV file; ./-name for a name with a dash)"};
        value = arguments[++n];
      }
      if (value->empty()) return common::Reason{"--music needs a file, not an empty name"};
      if (value->find('\0') != std::string::npos)
        return common::Reason{"--music: the file name holds a NUL"};
      o.musicFile = *value;
      continue;
    }
    if (value) return common::Reason{"--" + name + " takes no value"};
    if (name == "root")
      rootSeen = true;
    else if (name == "fps")
      o.showFps = true;
    else if (name == "no-vsync")
      o.vsync = false;
    else if (name == "x11" || name == "wayland") {
      const auto server = name == "x11" ? RequestedServer::X11 : RequestedServer::Wayland;
      if (o.server != RequestedServer::Automatic && o.server != server)
        return common::Reason{"--x11 and --wayland exclude each other"};
      o.server = server;
    } else if (name == "help" || name == "h")
      o.help = true;
    else
      return common::Reason{"unknown option '" + arguments[n] + "'"};
  }
  o.mode = windowSeen ? WindowMode::WindowId : rootSeen ? WindowMode::Root : WindowMode::Standalone;
  // A window someone else owns is an X window: Wayland has no such thing to draw into.
  if (o.server == RequestedServer::Wayland && o.mode != WindowMode::Standalone)
    return common::Reason{
        "--root and --window-id are X11 options; --wayland covers the outputs itself"};
  return o;
}

}  // namespace orvane::linux_program
