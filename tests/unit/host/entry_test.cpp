#include "host/entry.h"

#include "tests/fakes/fake_entry_port.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane::host;
using orvane::common::MusicMode;
using orvane::common::Settings;

namespace {

TEST(ArgumentText, DropsTheProgramPathAndTheBlanksAfterIt) {
  struct Case {
    const char* line;
    const char* want;
  };
  const Case cases[] = {
      {"Orvane.scr /p 1234", "/p 1234"},
      {"\"C:\\Program Files\\Orvane.scr\" /s", "/s"},
      {"\"C:\\Program Files\\Orvane.scr\"/s", "/s"},
      {"C:\\WINDOWS\\ORVANE~1.SCR   /c:1234", "/c:1234"},
      {"  Orvane.scr\t/S ", "/S "},
      {"Orvane.scr", ""},
      {"\"C:\\Orvane.scr\"", ""},
      {"\"C:\\Orvane.scr\"   ", ""},
      {"\"C:\\unclosed /s", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ArgumentText(c.line), c.want) << c.line;
}

// Windows starts a saver by the path stored for it, as it is stored: long or
// short, quoted or not, in any case. Without 8.3 names the long path with its
// blanks stands unquoted at the start of the line.
TEST(ArgumentText, RecognisesTheProgramsOwnPathHoweverSpelt) {
  const std::string longPath =
      "C:\\Users\\Home Office\\AppData\\Local\\Programs\\Orvane\\Orvane.scr";
  const std::string shortPath = "C:\\Users\\HOMEOF~1\\AppData\\Local\\Programs\\Orvane\\Orvane.scr";
  const std::string savers = "C:\\My Screen Savers\\Orvane.scr";
  const std::vector<std::string> own = {longPath, shortPath, savers};
  struct Case {
    std::string line;
    const char* want;
  };
  const Case cases[] = {
      {longPath + " /s", "/s"},
      {longPath + "   /s", "/s"},
      {"\"" + longPath + "\" /s", "/s"},
      {"\"" + longPath + "\"/s", "/s"},
      {shortPath + " /s", "/s"},
      {"C:\\USERS\\home office\\APPDATA\\local\\programs\\orvane\\ORVANE.SCR /S", "/S"},
      {longPath + " /p 1234", "/p 1234"},
      {longPath + " /c:1234", "/c:1234"},
      {longPath, ""},
      {longPath + " ", ""},
      {"  " + longPath + "\t/s", "/s"},
      {savers + " /s", "/s"},
      {savers + " /c", "/c"},
      {"\"" + savers + "\" /p 99", "/p 99"},
      // Not the program's own path: the first word or quoted text, as before.
      {"Orvane.scr /p 1234", "/p 1234"},
      {longPath + "x /s", "Office\\AppData\\Local\\Programs\\Orvane\\Orvane.scrx /s"},
      {"\"" + longPath + " /s", ""},
      {"C:\\Other Folder\\Orvane.scr /s", "Folder\\Orvane.scr /s"},
  };
  for (const Case& c : cases) EXPECT_EQ(ArgumentText(c.line, own), c.want) << c.line;
  // Without the program's own spellings, only the first word goes.
  EXPECT_EQ(ArgumentText(savers + " /s"), "Screen Savers\\Orvane.scr /s");
  EXPECT_EQ(ModeLetter(ArgumentText(savers + " /s")), "C") << "why the dialog opened";
}

TEST(ArgumentText, TheLongestSpellingThatStandsThereWins) {
  const std::vector<std::string> own = {"C:\\A", "C:\\A B\\Orvane.scr"};
  EXPECT_EQ(ArgumentText("C:\\A B\\Orvane.scr /s", own), "/s");
  EXPECT_EQ(ArgumentText("C:\\A /s", own), "/s");
  // The file system's own comparison decides what counts as the same name.
  const auto exact = [](std::string_view a, std::string_view b) { return a == b; };
  EXPECT_EQ(ArgumentText("c:\\a b\\orvane.scr /s", own, exact), "b\\orvane.scr /s");
}

TEST(ModeLetter, IsCharacterTwoUpperCased) {
  struct Case {
    const char* args;
    const char* want;
  };
  const Case cases[] = {
      {"/p 1234", "P"},
      {"/P:1234", "P"},
      {"/c", "C"},
      {"-s", "S"},
      {"xs", "S"},
      {"/", ""},
      {"", ""},
      {"/a", "A"},
      {"s", ""},
      {"\xEF\xBD\x98s", "S"},             // "ｘs"
      {"/\xEF\xBD\x93", "\xEF\xBD\x93"},  // a full-width letter is not "S"
  };
  for (const Case& c : cases) EXPECT_EQ(ModeLetter(c.args), c.want) << c.args;
}

TEST(PreviewParentHandle, ReadsFromCharacterFourLeniently) {
  struct Case {
    const char* args;
    std::uint32_t want;
  };
  const Case cases[] = {
      {"/p 1234", 1234},      {"/p:1234", 1234},
      {"/p1234", 234},        {"/p 12 34", 1234},
      {"/p 1234abc", 1234},   {"/p", 0},
      {"/p abc", 0},          {"/p 1234.5", 1234},
      {"/p 1235.5", 1236},    {"/p 4294967295", 0xFFFFFFFFu},
      {"/p -2", 0xFFFFFFFEu}, {"/p 4294967296", 0},
      {"/p 1e99", 0},         {"/p &H10", 0},
      {"/p &O20", 0},         {"/p 1e3", 1000},
  };
  for (const Case& c : cases) EXPECT_EQ(PreviewParentHandle(c.args), c.want) << c.args;
}

// The shared fake, reading settings whose music mode shows in the calls.
struct RecordingPort : orvane::fakes::FakeEntryPort {
  RecordingPort() { loaded.musicMode = orvane::common::MusicMode::File; }
};

using Calls = std::vector<std::string>;
const Calls kLookups = {"find Orvane_Main", "find <Orvane>"};

Calls After(Calls tail) {
  Calls all = kLookups;
  all.insert(all.end(), tail.begin(), tail.end());
  return all;
}

TEST(RunEntry, FollowsTheModeTable) {
  struct Case {
    const char* args;
    bool engineFile;
    EntryResult result;
    Calls calls;
  };
  const Case cases[] = {
      {"/p 1234", true, EntryResult::RunWindowLoop, After({"preview 1234"})},
      {"/P:1234", false, EntryResult::RunWindowLoop, After({"preview 1234"})},
      {"/c", true, EntryResult::EndNow, After({"settings", "engine?", "dialog 2"})},
      {"/c:1234", true, EntryResult::EndNow, After({"settings", "engine?", "dialog 2"})},
      {"/s", true, EntryResult::RunWindowLoop,
       After({"settings", "engine?", "hide cursor", "saver 2 role S"})},
      {"/S", true, EntryResult::RunWindowLoop,
       After({"settings", "engine?", "hide cursor", "saver 2 role S"})},
      {"", true, EntryResult::RunWindowLoop, After({"settings", "engine?", "saver 2 role "})},
      {"/a", true, EntryResult::EndNow, After({"settings", "engine?"})},
      {"/", true, EntryResult::EndNow, After({"settings", "engine?"})},
      {"/s", false, EntryResult::EndNow, After({"settings", "engine?", "message"})},
      {"/c", false, EntryResult::EndNow, After({"settings", "engine?", "message"})},
      {"", false, EntryResult::EndNow, After({"settings", "engine?", "message"})},
  };
  for (const Case& c : cases) {
    RecordingPort port;
    port.engineFile = c.engineFile;
    EXPECT_EQ(RunEntry(c.args, port), c.result) << '"' << c.args << '"';
    EXPECT_EQ(port.calls, c.calls) << '"' << c.args << '"';
  }
}

TEST(RunEntry, ARunningShowOrOpenDialogEndsEveryStart) {
  for (const char* title : {"Orvane_Main", "<Orvane>"}) {
    for (const char* args : {"/s", "/c", "/p 1234", ""}) {
      RecordingPort port;
      port.windows.insert(title);
      EXPECT_EQ(RunEntry(args, port), EntryResult::EndNow) << title << ' ' << args;
      EXPECT_EQ(port.calls, kLookups) << title << ' ' << args;
    }
  }
}

TEST(RunEntry, ARoleWhoseWindowCannotBeMadeEnds) {
  RecordingPort port;
  port.previewParentIsWindow = false;
  EXPECT_EQ(RunEntry("/p 0", port), EntryResult::EndNow);
  EXPECT_EQ(port.calls, After({"preview 0"}));

  RecordingPort show;
  show.saverWindowMade = false;
  EXPECT_EQ(RunEntry("/s", show), EntryResult::EndNow);
}

}  // namespace
