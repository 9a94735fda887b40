#include "common/settings.h"

#include "tests/fakes/fake_ini_store.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace orvane::common;

namespace {

using orvane::fakes::FakeIniStore;

const std::string kMode(kKeyMusicMode);
const std::string kRepeat(kKeyRepeatTrack);
const std::string kFile(kKeyMusicFile);
const std::string kIni = "C:\\Saver\\Orvane.ini";

TEST(SettingsFile, KeysAreTheCodePage932Bytes) {
  EXPECT_EQ(kMode, "\x42\x47\x4D\x8B\xE6\x95\xAA");
  EXPECT_EQ(kRepeat, "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4");
  EXPECT_EQ(kFile, "\x42\x47\x4D\xCC\xA7\xB2\xD9");
  EXPECT_EQ(SettingsPathIn("C:\\Saver"), kIni);
}

TEST(ReadStoredNumber, StrictReadingCutDownInto16Bits) {
  struct Case {
    const char* text;
    int want;
  };
  const Case cases[] = {
      {"2", 2},           {" 2", 2},        {"2 ", 2},          {"abc", 0},
      {"1.9", 1},         {"2.7", 2},       {"-0.5", -1},       {"", 0},
      {"1 2", 0},         {"32767", 32767}, {"32767.9", 32767}, {"32768", 0},
      {"-32768", -32768}, {"-32768.5", 0},  {"1e2", 100},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadStoredNumber(c.text), c.want) << '"' << c.text << '"';
}

TEST(LoadSettings, ReadsTheKeysInOrderAndFallsBackFromAMissingFile) {
  struct Case {
    const char* name;
    std::map<std::string, std::string> values;
    bool fileOpens;
    int mode, repeat;
    std::string file;
  };
  const std::string song = "C:\\Music\\song.mp3";
  const Case cases[] = {
      {"no file at all", {}, false, 0, 0, ""},
      {"mode 2 with its file", {{kMode, " 2"}, {kRepeat, " 0"}, {kFile, song}}, true, 2, 0, song},
      {"mode 2, file gone", {{kMode, "2"}, {kFile, song}}, false, 0, 0, ""},
      {"mode 2, no file name", {{kMode, "2"}, {kRepeat, "5"}}, false, 0, 5, ""},
      {"mode 1 needs no file", {{kMode, "1"}, {kRepeat, "3"}}, false, 1, 3, ""},
      {"mode 1 drops a missing file", {{kMode, "1"}, {kFile, song}}, false, 1, 0, ""},
      {"mode 0 keeps an existing file", {{kMode, "0"}, {kFile, song}}, true, 0, 0, song},
      {"unreadable numbers", {{kMode, "abc"}, {kRepeat, "x1"}}, false, 0, 0, ""},
      {"fractions cut down", {{kMode, "1.9"}, {kRepeat, "-0.5"}}, false, 1, -1, ""},
      {"no range check on values", {{kMode, "7"}, {kRepeat, "-3"}}, false, 7, -3, ""},
      {"repeat out of 16 bits", {{kMode, "1"}, {kRepeat, "40000"}}, false, 1, 0, ""},
  };
  for (const Case& c : cases) {
    FakeIniStore store;
    store.values = c.values;
    if (c.fileOpens) store.existingFiles.insert(song);
    Settings s = LoadSettings(store, kIni);
    EXPECT_EQ(static_cast<int>(s.musicMode), c.mode) << c.name;
    EXPECT_EQ(s.repeatTrack, c.repeat) << c.name;
    EXPECT_EQ(s.musicFile, c.file) << c.name;
    EXPECT_EQ(store.KeysRead(), (std::vector<std::string>{kMode, kRepeat, kFile})) << c.name;
    for (const FakeIniStore::Read& r : store.reads) {
      EXPECT_EQ(r.section, "Section") << c.name;
      EXPECT_EQ(r.file, kIni) << c.name;
    }
    EXPECT_TRUE(store.writes.empty()) << c.name << ": loading never writes";
  }
}

}  // namespace

// The mode is written back as the number that was read, also a number no
// version of the program ever wrote: a hand-edited file keeps its bytes.
TEST(SaveSettings, WritesTheModeNumberThatWasRead) {
  struct Case {
    const char* stored;
    const char* written;
  };
  const Case cases[] = {{" 0", " 0"},         {"1", " 1"},   {" 2", " 2"},
                        {"7", " 7"},          {"-1", "-1"},  {"32767", " 32767"},
                        {"-32768", "-32768"}, {"2.9", " 2"}, {"abc", " 0"}};
  for (const Case& c : cases) {
    FakeIniStore store;
    store.values = {{kMode, c.stored}, {kFile, "C:\\Music\\song.mp3"}};
    store.everyFileExists = true;
    const Settings loaded = LoadSettings(store, kIni);
    const Result<void> saved = SaveSettings(
        store, [] { return kIni; }, loaded);
    ASSERT_TRUE(saved.Ok()) << c.stored << ": " << saved.Why();
    ASSERT_FALSE(store.writes.empty());
    EXPECT_EQ(store.writes[0].key, kMode);
    EXPECT_EQ(store.writes[0].value, c.written) << '"' << c.stored << '"';
  }
}

// The first write that fails ends the save, and the reason names its file.
TEST(SaveSettings, StopsAtTheFirstFailedWrite) {
  for (int failAt = 1; failAt <= 3; ++failAt) {
    FakeIniStore store;
    store.failAt = failAt;
    int asked = 0;
    const Result<void> saved = SaveSettings(
        store, [&] { return kIni + std::to_string(++asked); },
        Settings{MusicMode::Cd, 4, "C:\\Music\\song.mp3"});
    EXPECT_FALSE(saved.Ok()) << failAt;
    EXPECT_EQ(saved.Why(), kIni + std::to_string(failAt));
    // The failed write was tried; nothing after it.
    EXPECT_EQ(store.writes.size(), static_cast<std::size_t>(failAt)) << failAt;
  }
}
