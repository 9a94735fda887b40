#include "linux/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane::linux_program;

namespace {

TEST(ProgramOptions, WindowIds) {
  struct Case {
    const char* text;
    bool valid;
    std::uint32_t id;
  };
  const Case cases[] = {
      {"123", true, 123},
      {"0x1a00007", true, 0x1a00007},
      {"0X1A00007", true, 0x1a00007},
      {"4294967295", true, 0xFFFFFFFFu},
      {"0xffffffff", true, 0xFFFFFFFFu},
      {"007", true, 7},  // leading zeros stay decimal, not octal
      {"4294967296", false, 0},
      {"0x100000000", false, 0},
      {"99999999999999999999999", false, 0},
      {"0", false, 0},
      {"0x0", false, 0},
      {"", false, 0},
      {"0x", false, 0},
      {"-5", false, 0},
      {"+5", false, 0},
      {" 5", false, 0},
      {"5 ", false, 0},
      {"12ab", false, 0},
      {"0x12g", false, 0},
      {"&H10", false, 0},
  };
  for (const Case& c : cases) {
    const auto id = ParseWindowId(c.text);
    EXPECT_EQ(id.has_value(), c.valid) << c.text;
    if (id && c.valid) {
      EXPECT_EQ(*id, c.id) << c.text;
    }
  }
}

TEST(ProgramOptions, CommandLines) {
  struct Case {
    std::vector<std::string> arguments;
    WindowMode mode;
    std::uint32_t windowId;
    bool fps, vsync, help;
  };
  const Case cases[] = {
      {{}, WindowMode::Standalone, 0, false, true, false},
      {{"--root"}, WindowMode::Root, 0, false, true, false},
      {{"-root"}, WindowMode::Root, 0, false, true, false},
      {{"--window-id", "0x400001"}, WindowMode::WindowId, 0x400001, false, true, false},
      {{"-window-id", "77"}, WindowMode::WindowId, 77, false, true, false},
      {{"--window-id=0x10"}, WindowMode::WindowId, 0x10, false, true, false},
      {{"--root", "--fps", "--no-vsync"}, WindowMode::Root, 0, true, false, false},
      {{"--fps"}, WindowMode::Standalone, 0, true, true, false},
      {{"--help"}, WindowMode::Standalone, 0, false, true, true},
      {{"-h"}, WindowMode::Standalone, 0, false, true, true},
      // A settings preview adds its window to the configured line: the window wins.
      {{"--root", "--window-id", "0x400EE5"}, WindowMode::WindowId, 0x400EE5, false, true, false},
      {{"--window-id", "0x400EE5", "--root"}, WindowMode::WindowId, 0x400EE5, false, true, false},
      {{"-root", "--fps", "-window-id=12"}, WindowMode::WindowId, 12, true, true, false},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& a : c.arguments) line += a + " ";
    const ProgramArguments read = ReadProgramArguments(c.arguments);
    ASSERT_TRUE(read.Ok()) << line << ": " << read.Why();
    EXPECT_EQ(read->mode, c.mode) << line;
    EXPECT_EQ(read->windowId, c.windowId) << line;
    EXPECT_EQ(read->showFps, c.fps) << line;
    EXPECT_EQ(read->vsync, c.vsync) << line;
    EXPECT_EQ(read->help, c.help) << line;
  }
}

TEST(ProgramOptions, RefusedCommandLines) {
  struct Case {
    std::vector<std::string> arguments;
    const char* saying;
  };
  const Case cases[] = {
      {{"--window-id"}, "needs a window id"},
      {{"--window-id", "abc"}, "'abc' is not a window id"},
      {{"--window-id", "0"}, "'0' is not a window id"},
      {{"--window-id="}, "'' is not a window id"},
      {{"--root", "--window-id", "0"}, "'0' is not a window id"},
      {{"--music"}, "--music needs a file"},
      {{"--music", "--root"}, "--music needs a file"},
      {{"--music="}, "not an empty name"},
      {{"--music", ""}, "not an empty name"},
      {{"--music", "a.mp3", "b.mp3"}, "unexpected argument 'b.mp3'"},
      {{"--speed", "3"}, "unknown option '--speed'"},
      {{"--fps=1"}, "takes no value"},
      {{"root"}, "unexpected argument 'root'"},
      {{"-"}, "unexpected argument '-'"},
      {{"--"}, "unknown option '--'"},
  };
  for (const Case& c : cases) {
    const ProgramArguments read = ReadProgramArguments(c.arguments);
    EXPECT_FALSE(read.Ok()) << c.saying;
    EXPECT_NE(read.Why().find(c.saying), std::string::npos) << read.Why();
  }
}

TEST(ProgramOptions, MusicFiles) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    const char* file;
    WindowMode mode;
  };
  const Case cases[] = {
      {"none", {"--root"}, "", WindowMode::Root},
      {"separate", {"--root", "--music", "/m/a.mp3"}, "/m/a.mp3", WindowMode::Root},
      {"joined", {"--music=/m/a.wav"}, "/m/a.wav", WindowMode::Standalone},
      {"one dash", {"-music", "a.mp3", "-root"}, "a.mp3", WindowMode::Root},
      {"blanks and quotes",
       {"--music", "/m/my \"song\" 'x'.mp3"},
       "/m/my \"song\" 'x'.mp3",
       WindowMode::Standalone},
      {"non-ASCII",
       {"--music", "/m/\xe6\x9b\xb2 \xc3\xa9t\xc3\xa9.mp3"},
       "/m/\xe6\x9b\xb2 \xc3\xa9t\xc3\xa9.mp3",
       WindowMode::Standalone},
      {"equals inside", {"--music=a=b.mp3"}, "a=b.mp3", WindowMode::Standalone},
      {"dash name through ./", {"--music", "./-x.mp3"}, "./-x.mp3", WindowMode::Standalone},
      {"lone dash is a name", {"--music", "-"}, "-", WindowMode::Standalone},
      {"last one counts",
       {"--music", "a.mp3", "--music", "b.mp3"},
       "b.mp3",
       WindowMode::Standalone},
      {"with the preview pair",
       {"--root", "--music", "a.mp3", "--window-id", "0x5"},
       "a.mp3",
       WindowMode::WindowId},
  };
  for (const Case& c : cases) {
    const ProgramArguments read = ReadProgramArguments(c.arguments);
    ASSERT_TRUE(read.Ok()) << c.name << ": " << read.Why();
    EXPECT_EQ(read->musicFile, c.file) << c.name;
    EXPECT_EQ(read->mode, c.mode) << c.name;
  }
}

}  // namespace
