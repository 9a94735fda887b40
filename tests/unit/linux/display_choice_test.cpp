#include "linux/display_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane::linux_program;
using namespace orvane::linux_program;

namespace {

TEST(DisplayChoice, FlagsEnvironmentAndReach) {
  struct Case {
    std::vector<std::string> arguments;
    bool waylandNamed;
    bool xReachable;
    DisplayServer expected;
    bool asksX;  // whether the answer needed a connection to X
  };
  const Case cases[] = {
      // A plain X11 session, and a Wayland session that runs X11 programs too.
      {{}, false, true, DisplayServer::X11, false},
      {{}, true, true, DisplayServer::X11, true},
      // A Wayland session without X11: the only way to show anything.
      {{}, true, false, DisplayServer::Wayland, true},
      // Nothing reachable at all: X11, which says it cannot open the display.
      {{}, false, false, DisplayServer::X11, false},
      // Forced either way, without asking X.
      {{"--wayland"}, true, true, DisplayServer::Wayland, false},
      {{"--wayland"}, false, true, DisplayServer::Wayland, false},
      {{"-wayland"}, true, true, DisplayServer::Wayland, false},
      {{"--x11"}, true, false, DisplayServer::X11, false},
      {{"--x11", "--x11"}, true, false, DisplayServer::X11, false},
      // Windows someone else owns are X windows.
      {{"--root"}, true, false, DisplayServer::X11, false},
      {{"--window-id", "0x400001"}, true, false, DisplayServer::X11, false},
  };
  for (const Case& c : cases) {
    const ProgramArguments arguments = ReadProgramArguments(c.arguments);
    ASSERT_TRUE(arguments.Ok()) << arguments.Why();
    bool asked = false;
    const DisplayServer chosen = ChooseDisplayServer(*arguments, c.waylandNamed, [&] {
      asked = true;
      return c.xReachable;
    });
    const std::string what = (c.arguments.empty() ? std::string("(none)") : c.arguments[0]) +
                             " wayland=" + std::to_string(c.waylandNamed) +
                             " x=" + std::to_string(c.xReachable);
    EXPECT_EQ(chosen, c.expected) << what;
    EXPECT_EQ(asked, c.asksX) << what;
  }
}

TEST(DisplayChoice, ContradictoryFlagsRefused) {
  const std::vector<std::vector<std::string>> refused = {
      {"--x11", "--wayland"},  {"--wayland", "--x11"},
      {"--wayland", "--root"}, {"--window-id", "7", "--wayland"},
      {"--wayland=1"},
  };
  for (const auto& arguments : refused) {
    const ProgramArguments read = ReadProgramArguments(arguments);
    EXPECT_FALSE(read.Ok()) << arguments[0] << " " << arguments.back();
  }
}

}  // namespace
