// The command line of the Linux program `orvane`, read without touching X.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"

namespace orvane::engine {

enum class HackMode {
  Standalone,  // a full-screen window of its own that ends on input
  Root,        // the virtual root the screen saver names, else the real root
  WindowId,    // a window someone else made
};

// Which display server the program speaks; Automatic leaves it to the environment.
enum class HackDisplayServer { Automatic, X11, Wayland };

struct HackOptions {
  HackMode mode = HackMode::Standalone;
  HackDisplayServer server = HackDisplayServer::Automatic;
  std::uint32_t windowId = 0;  // for HackMode::WindowId
  bool showFps = false;
  bool vsync = true;
  bool help = false;
  std::string musicFile;  // played in a loop while the veils run; empty: no sound at all
};

// Either the options or one line saying what is wrong with the command line.
using HackArguments = common::Result<HackOptions>;

// Options may start with one dash or two ("-root" as in older screen-saver
// configurations, "--root" as in newer ones); "--window-id=ID" and
// "--music=FILE" also work. With both --root and --window-id the window id wins,
// as screen-saver settings previews add it to the configured command line.
HackArguments ReadHackArguments(const std::vector<std::string>& arguments);

// A window id in decimal or 0x hexadecimal; nothing for 0, signs, blanks,
// trailing text or anything beyond 32 bits.
std::optional<std::uint32_t> ParseWindowId(const std::string& text);

extern const char kHackUsage[];

}  // namespace orvane::engine
