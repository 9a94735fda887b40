#include "host/saver_show.h"

#include "host/saver_show_testing.h"
#include "tests/fakes/fake_music_ports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace orvane::host;
using orvane::common::MusicMode;
using orvane::common::Settings;

namespace {

using orvane::fakes::FakeMci;
using orvane::fakes::FakeSound;

// The show's platform; its music devices write into the same list of calls,
// so that one list shows the order of timers, engine and music commands.
class FakeShowPort : public ShowPort {
 public:
  bool engineStarts = true;
  bool engineRunning = true;
  bool engineWindow = false;
  std::uint32_t now = 1000;
  bool ended = false;
  std::vector<std::string> calls;

  bool StartEngine() override {
    calls.push_back("start engine");
    return engineStarts;
  }
  bool EngineRunning() override { return engineRunning; }
  bool EngineWindowExists() override { return engineWindow; }
  std::uint32_t NowMs() override { return now; }
  void EnableTimer(ShowTimer t, bool on) override {
    calls.push_back(std::string(on ? "enable " : "disable ") +
                    (t == ShowTimer::Mp3KeepAlive ? "Timer1"
                     : t == ShowTimer::CdPoll     ? "Timer2"
                                                  : "Timer3"));
  }
  void ShowCursor() override { calls.push_back("show cursor"); }
  void EndProgram() override {
    calls.push_back("end");
    ended = true;
  }
};

// A show over the recorder for its music too.
struct Show {
  FakeShowPort port;
  FakeMci mci{&port.calls};
  FakeSound sound{&port.calls};
  SaverShow show;
  explicit Show(const Settings& settings, const char* role = "S")
      : show(port, mci, sound, settings,
             std::string(role) == "S" ? ShowRole::ScreenSaver : ShowRole::WithoutArguments) {}
};

using Calls = std::vector<std::string>;

Settings Choice(int mode, std::string file = "", int track = 0) {
  Settings s;
  s.musicMode = static_cast<MusicMode>(mode);
  s.repeatTrack = static_cast<std::int16_t>(track);
  s.musicFile = std::move(file);
  return s;
}

TEST(KindOfMusicFile, OnlyTheLastThreeCharactersCount) {
  EXPECT_EQ(KindOfMusicFile("mp"), MusicFileKind::None);
  EXPECT_EQ(KindOfMusicFile("xmp3"), MusicFileKind::Mp3);  // no dot needed
}

TEST(SaverShow, StartAndEndFollowTheMusicChoice) {
  struct Case {
    const char* name;
    Settings settings;
    const char* role;
    Calls load;
    Calls unload;  // after the engine window has come and gone
  };
  const std::string mp3Open = "mci open \"C:\\a.Mp3\" type MPEGVideo Alias MP3Play";
  const Case cases[] = {
      {"no music", Choice(0), "S", {"start engine"}, {"disable Timer3", "show cursor", "end"}},
      {"no music, pointer never hidden",
       Choice(0),
       "",
       {"start engine"},
       {"disable Timer3", "end"}},
      {"audio CD",
       Choice(1, "", 3),
       "S",
       {"start engine", "mci open cdaudio", "mci set cdaudio time format tmsf", "enable Timer2"},
       {"disable Timer3", "disable Timer2", "mci stop cdaudio", "mci close cdaudio", "show cursor",
        "end"}},
      {"MP3",
       Choice(2, "C:\\a.Mp3"),
       "S",
       {"start engine", mp3Open, "mci play MP3Play", "enable Timer1"},
       {"disable Timer3", "mci stop MP3Play", "mci close MP3Play", "show cursor", "end"}},
      {"WAV",
       Choice(2, "C:\\a.wav"),
       "S",
       {"start engine", "sound C:\\a.wav"},
       {"disable Timer3", "sound stop", "show cursor", "end"}},
      {"MIDI plays nothing",
       Choice(2, "C:\\a.mid"),
       "S",
       {"start engine"},
       {"disable Timer3", "show cursor", "end"}},
      {"unknown mode",
       Choice(5, "C:\\a.mp3"),
       "S",
       {"start engine"},
       {"disable Timer3", "show cursor", "end"}},
  };
  for (const Case& c : cases) {
    Show s(c.settings, c.role);
    s.show.Load();
    EXPECT_EQ(s.port.calls, c.load) << c.name;
    EXPECT_TRUE(SaverShowTesting::TimerEnabled(s.show, ShowTimer::EngineWatch)) << c.name;
    s.port.calls.clear();
    s.port.engineWindow = true;
    s.show.EngineWatchTick();
    EXPECT_TRUE(s.port.calls.empty()) << c.name;
    s.port.engineWindow = false;
    s.show.EngineWatchTick();
    EXPECT_EQ(s.port.calls, c.unload) << c.name;
  }
}

TEST(SaverShow, CdPollingStopsAtTheFirstFailureAndThenTheDeviceIsLeftAlone) {
  Show s(Choice(1, "", 4));
  s.show.Load();
  s.port.calls.clear();
  // On track 3 while track 4 repeats: back to track 4.
  s.mci.Answer("status cdaudio current track", 0, "3");
  s.mci.Answer("status cdaudio position track 4", 0, "04:00:00:00");
  s.show.CdPollTick();
  s.mci.Answer("status cdaudio current track", 263);
  s.show.CdPollTick();
  EXPECT_FALSE(SaverShowTesting::TimerEnabled(s.show, ShowTimer::CdPoll));
  s.show.UnloadRequest();
  EXPECT_EQ(s.port.calls,
            (Calls{"mci status cdaudio current track", "mci status cdaudio number of tracks",
                   "mci status cdaudio mode", "mci status cdaudio position track 4",
                   "mci play cdaudio from 04:00:00:00", "mci status cdaudio current track",
                   "disable Timer2", "show cursor", "end"}));
}

// The poll timer is switched on once: switching it on again at every poll
// would restart its period each time, stretching it by the poll's own time.
TEST(SaverShow, CdPollTimerIsSwitchedOnOnlyWhenItWasOff) {
  Show s(Choice(1, "", 0));
  s.show.Load();
  s.mci.Answer("status cdaudio current track", 0, "1");
  s.mci.Answer("status cdaudio mode", 0, "playing");
  for (int i = 0; i < 3; ++i) s.show.CdPollTick();
  const auto count = [&](const std::string& call) {
    return std::count(s.port.calls.begin(), s.port.calls.end(), call);
  };
  EXPECT_EQ(count("enable Timer2"), 1) << "only at load";
  EXPECT_EQ(count("disable Timer2"), 0);
  EXPECT_TRUE(SaverShowTesting::TimerEnabled(s.show, ShowTimer::CdPoll));
  s.show.UnloadRequest();
  EXPECT_EQ(count("disable Timer2"), 1);
  EXPECT_EQ(count("mci close cdaudio"), 1);
}

TEST(SaverShow, Mp3TickKeepsTheFileAlive) {
  Show s(Choice(2, "a.mp3"));
  s.show.Load();
  s.port.calls.clear();
  s.mci.Answer("status MP3Play mode", 0, "stopped");
  s.show.Mp3KeepAliveTick();
  EXPECT_EQ(s.port.calls,
            (Calls{"mci status MP3Play mode", "mci stop MP3Play", "mci play MP3Play from 0"}));
}

// The engine watch: when does a tick without the engine window end the show?
TEST(SaverShow, EngineWatchWaitsForASlowEngineButNotForAGoneOne) {
  struct Case {
    const char* name;
    bool starts;
    bool running;
    std::uint32_t elapsedMs;
    bool windowSeenBefore;
    bool ends;
  };
  const Case cases[] = {
      {"engine still opening its window", true, true, 60, false, false},
      {"slow but within the grace period", true, true, 9999, false, false},
      {"grace period over", true, true, 10000, false, true},
      {"engine could not start", false, false, 60, false, true},
      {"engine ended without a window", true, false, 60, false, true},
      {"window seen, now gone", true, true, 60, true, true},
      {"window seen, engine ended", true, false, 60, true, true},
  };
  for (const Case& c : cases) {
    Show s(Choice(0));
    FakeShowPort& port = s.port;
    SaverShow& show = s.show;
    port.engineStarts = c.starts;
    show.Load();
    if (c.windowSeenBefore) {
      port.engineWindow = true;
      show.EngineWatchTick();
      port.engineWindow = false;
    }
    port.engineRunning = c.running;
    port.now += c.elapsedMs;
    show.EngineWatchTick();
    EXPECT_EQ(port.ended, c.ends) << c.name;
    EXPECT_EQ(SaverShowTesting::TimerEnabled(show, ShowTimer::EngineWatch), !c.ends) << c.name;
  }
}

TEST(SaverShow, AWindowLeftFromAnEarlierRunKeepsTheShowGoing) {
  Show s(Choice(0));
  s.port.engineWindow = true;
  s.show.Load();
  FakeShowPort& port = s.port;
  SaverShow& show = s.show;
  port.engineRunning = false;  // the new engine found the old one and ended
  port.now += 60000;
  show.EngineWatchTick();
  EXPECT_FALSE(port.ended);
}

}  // namespace
