// The command line of the Linux program `orvane`, read without touching X.
#pragma once

#include "common/result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane::linux_program {

enum class WindowMode {
  Standalone,  // a full-screen window of its own that ends on input
  Root,        // the virtual root the screen saver names, else the real root
  WindowId,    // a window someone else made
};

// Which display server the program speaks; Automatic leaves it to the environment.
enum class RequestedServer { Automatic, X11, Wayland };

struct ProgramOptions {
  WindowMode mode = WindowMode::Standalone;
  RequestedServer server = RequestedServer::Automatic;
  std::uint32_t windowId = 0;  // for WindowMode::WindowId
  bool showFps = false;
  bool vsync = true;
  bool help = false;
  std::string musicFile;  // played in a loop while the veils run; empty: no sound at all
};

// Either the options or one line saying what is wrong with the command line.
using ProgramArguments = common::Result<ProgramOptions>;

// Options may start with one dash or two ("-root" as in older screen-saver
// configurations, "--root" as in newer ones); "--window-id=ID" and
// "--music=FILE" also work. With both --root and --window-id the window id wins,
// as screen-saver settings previews add it to the configured command line.
ProgramArguments ReadProgramArguments(const std::vector<std::string>& arguments);

// A window id in decimal or 0x hexadecimal; nothing for 0, signs, blanks,
// trailing text or anything beyond 32 bits.
std::optional<std::uint32_t> ParseWindowId(const std::string& text);

extern const char kProgramUsage[];

}  // namespace orvane::linux_program
