#include "dialog/music_choice.h"

#include "tests/fakes/fake_ini_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace orvane::dialog;
using orvane::common::MusicMode;
using orvane::common::Settings;

namespace orvane::dialog {
namespace {

TEST(MusicChoice, LookPerMode) {
  struct Case {
    int mode;
    int indicator;
    bool repeat;
    bool browse;
  };
  for (const Case& c : std::vector<Case>{{0, 0, false, false},
                                         {1, 1, true, false},
                                         {2, 2, false, true},
                                         {3, -1, false, false},
                                         {-1, -1, false, false},
                                         {32767, -1, false, false}}) {
    const ModeLook look = LookForMode(static_cast<MusicMode>(c.mode));
    EXPECT_EQ(look.selectedIndicator, c.indicator) << c.mode;
    EXPECT_EQ(look.repeatEnabled, c.repeat) << c.mode;
    EXPECT_EQ(look.browseEnabled, c.browse) << c.mode;
  }
}

TEST(MusicChoice, ArrowKeysFollowTheChoicesOnScreen) {
  struct Case {
    int from;
    bool down;
    int to;
  };
  // On screen: 音楽CD (1), 無し (0), MP3、WAV (2).
  for (const Case& c : {Case{1, true, 0},
                        {0, true, 2},
                        {2, true, 1},
                        {1, false, 2},
                        {0, false, 1},
                        {2, false, 0},
                        {3, true, 1},
                        {-1, false, 2}}) {
    EXPECT_EQ(static_cast<int>(NextModeOnScreen(static_cast<MusicMode>(c.from), c.down)), c.to)
        << c.from << (c.down ? " down" : " up");
  }
}

TEST(MusicChoice, RepeatBoxTextsAndList) {
  EXPECT_EQ(RepeatBoxText(0), "");
  EXPECT_EQ(RepeatBoxText(12), "12");
  EXPECT_EQ(RepeatBoxText(-3), "-3");
  const std::vector<std::string> list = RepeatBoxList();
  ASSERT_EQ(list.size(), 31u);
  EXPECT_EQ(list[0], "");
  EXPECT_EQ(list[1], "1");
  EXPECT_EQ(list[30], "30");
}

TEST(MusicChoice, ReadingTheRepeatText) {
  struct Case {
    const char* text;
    bool inRange;
    int track;
  };
  for (const Case& c : std::vector<Case>{{"7", true, 7},
                                         {"", true, 0},
                                         {"abc", true, 0},
                                         {"7x", true, 0},
                                         {" 12 ", true, 12},
                                         {"3.5", true, 4},
                                         {"2.5", true, 2},
                                         {"-4", true, -4},
                                         {"1e3", true, 1000},
                                         {"32767", true, 32767},
                                         {"32767.5", false, 0},
                                         {"32768", false, 0},
                                         {"-32768", true, -32768},
                                         {"-32769", false, 0},
                                         {"1e10", false, 0}}) {
    const RepeatReading r = ReadRepeatText(c.text);
    EXPECT_EQ(r.inRange, c.inRange) << '"' << c.text << '"';
    EXPECT_EQ(r.track, c.track) << '"' << c.text << '"';
  }
}

using orvane::fakes::FakeIniStore;
using Write = FakeIniStore::Write;

// The settings file's path, numbered by each ask, so a test sees that every
// write names the file afresh.
std::function<std::string()> NumberedPath(int& asked) {
  return [&asked] { return "C:\\Saver\\Orvane.ini#" + std::to_string(++asked); };
}

Settings Choice(int16_t mode, const char* file, int16_t track) {
  Settings s;
  s.musicMode = static_cast<MusicMode>(mode);
  s.musicFile = file;
  s.repeatTrack = track;
  return s;
}

const std::string kKeyMode = "BGM\x8B\xE6\x95\xAA";
const std::string kKeyRepeat = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string kKeyFile = "BGM\xCC\xA7\xB2\xD9";

TEST(MusicChoice, SaveWritesTheThreeKeysInOrder) {
  struct Case {
    int16_t mode;
    const char* repeatText;
    const char* modeText;
    const char* repeatValue;
    int16_t track;
  };
  for (const Case& c : std::vector<Case>{{1, "7", " 1", " 7", 7},
                                         {2, "abc", " 2", " 0", 0},
                                         {0, "", " 0", " 0", 0},
                                         {-1, "-2.5", "-1", "-2", -2}}) {
    FakeIniStore ini;
    int asked = 0;
    Settings settings = Choice(c.mode, "C:\\Music\\song.mp3", 99);
    const SaveOutcome out = SaveMusicChoice(settings, c.repeatText, ini, NumberedPath(asked));
    EXPECT_EQ(out.kind, SaveOutcome::kSaved);
    EXPECT_EQ(settings.repeatTrack, c.track);
    // Each write names the settings file afresh.
    const std::vector<Write> expected{
        {"Section", kKeyMode, c.modeText, "C:\\Saver\\Orvane.ini#1"},
        {"Section", kKeyRepeat, c.repeatValue, "C:\\Saver\\Orvane.ini#2"},
        {"Section", kKeyFile, "C:\\Music\\song.mp3", "C:\\Saver\\Orvane.ini#3"}};
    EXPECT_EQ(ini.writes, expected) << c.repeatText;
    EXPECT_TRUE(ini.reads.empty() && ini.existsAsked.empty()) << "saving only writes";
  }
}

TEST(MusicChoice, OutOfRangeRepeatWritesNothing) {
  FakeIniStore ini;
  int asked = 0;
  Settings settings = Choice(1, "", 5);
  const SaveOutcome out = SaveMusicChoice(settings, "40000", ini, NumberedPath(asked));
  EXPECT_EQ(out.kind, SaveOutcome::kRepeatOutOfRange);
  EXPECT_TRUE(ini.writes.empty());
  EXPECT_EQ(settings.repeatTrack, 5);
}

TEST(MusicChoice, FailedWriteStopsAndNamesTheFile) {
  for (int failAt = 1; failAt <= 3; ++failAt) {
    FakeIniStore ini;
    int asked = 0;
    ini.failAt = failAt;
    Settings settings = Choice(2, "D:\\a.wav", 0);
    const SaveOutcome out = SaveMusicChoice(settings, "3", ini, NumberedPath(asked));
    EXPECT_EQ(out.kind, SaveOutcome::kWriteFailed) << failAt;
    EXPECT_EQ(out.failedFile, "C:\\Saver\\Orvane.ini#" + std::to_string(failAt));
    EXPECT_EQ(static_cast<int>(ini.writes.size()), failAt) << "no write after the failing one";
  }
}

}  // namespace
}  // namespace orvane::dialog
