#include "host/saver_show.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FakeShowPort : public ShowPort {
 public:
  bool engineStarts = true;
  bool engineRunning = true;
  bool engineWindow = false;
  bool cdPollResult = true;
  std::uint32_t now = 1000;
  std::string args = "/s";
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
    calls.push_back(std::string(on ? "enable " : "disable ") + (t == ShowTimer::Timer1 ? "Timer1"
                                                                : t == ShowTimer::Timer2
                                                                    ? "Timer2"
                                                                    : "Timer3"));
  }
  std::string ArgumentText() override { return args; }
  void ShowCursor() override { calls.push_back("show cursor"); }
  void EndProgram() override {
    calls.push_back("end");
    ended = true;
  }
  void CdOpen() override { calls.push_back("CdOpen"); }
  bool CdPoll(std::int16_t track) override {
    calls.push_back("CdPoll " + std::to_string(track));
    return cdPollResult;
  }
  void CdClose() override { calls.push_back("CdClose"); }
  void WavPlay(const std::string& f) override { calls.push_back("WavPlay " + f); }
  void WavStop() override { calls.push_back("WavStop"); }
  void Mp3Open(const std::string& f) override { calls.push_back("Mp3Open " + f); }
  void Mp3KeepAlive() override { calls.push_back("Mp3KeepAlive"); }
  void Mp3Close() override { calls.push_back("Mp3Close"); }
};

using Calls = std::vector<std::string>;

Settings Music(int mode, std::string file = "", int track = 0) {
  Settings s;
  s.MusicMode = static_cast<std::int16_t>(mode);
  s.RepeatTrack = static_cast<std::int16_t>(track);
  s.MusicFile = std::move(file);
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
    const char* args;
    Calls load;
    Calls unload;  // after the engine window has come and gone
  };
  const Case cases[] = {
      {"no music", Music(0), "/s", {"start engine"}, {"disable Timer3", "show cursor", "end"}},
      {"no music, pointer never hidden", Music(0), "", {"start engine"}, {"disable Timer3", "end"}},
      {"audio CD",
       Music(1, "", 3),
       "/s",
       {"start engine", "CdOpen", "enable Timer2"},
       {"disable Timer3", "disable Timer2", "CdClose", "show cursor", "end"}},
      {"MP3",
       Music(2, "C:\\a.Mp3"),
       "/S",
       {"start engine", "Mp3Open C:\\a.Mp3", "enable Timer1"},
       {"disable Timer3", "Mp3Close", "show cursor", "end"}},
      {"WAV",
       Music(2, "C:\\a.wav"),
       "/s",
       {"start engine", "WavPlay C:\\a.wav"},
       {"disable Timer3", "WavStop", "show cursor", "end"}},
      {"MIDI plays nothing",
       Music(2, "C:\\a.mid"),
       "/s",
       {"start engine"},
       {"disable Timer3", "show cursor", "end"}},
      {"unknown mode",
       Music(5, "C:\\a.mp3"),
       "/s",
       {"start engine"},
       {"disable Timer3", "show cursor", "end"}},
  };
  for (const Case& c : cases) {
    FakeShowPort port;
    port.args = c.args;
    SaverShow show(port, c.settings);
    show.Load();
    EXPECT_EQ(port.calls, c.load) << c.name;
    EXPECT_TRUE(show.TimerEnabled(ShowTimer::Timer3)) << c.name;
    port.calls.clear();
    port.engineWindow = true;
    show.Timer3Tick();
    EXPECT_TRUE(port.calls.empty()) << c.name;
    port.engineWindow = false;
    show.Timer3Tick();
    EXPECT_EQ(port.calls, c.unload) << c.name;
  }
}

TEST(SaverShow, CdPollingStopsAtTheFirstFailureAndThenTheDeviceIsLeftAlone) {
  FakeShowPort port;
  SaverShow show(port, Music(1, "", 4));
  show.Load();
  port.calls.clear();
  show.Timer2Tick();
  port.cdPollResult = false;
  show.Timer2Tick();
  EXPECT_FALSE(show.TimerEnabled(ShowTimer::Timer2));
  show.UnloadRequest();
  EXPECT_EQ(port.calls, (Calls{"CdPoll 4", "enable Timer2", "CdPoll 4", "disable Timer2",
                               "show cursor", "end"}));
}

TEST(SaverShow, Mp3TickKeepsTheFileAlive) {
  FakeShowPort port;
  SaverShow show(port, Music(2, "a.mp3"));
  show.Load();
  port.calls.clear();
  show.Timer1Tick();
  EXPECT_EQ(port.calls, Calls{"Mp3KeepAlive"});
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
    FakeShowPort port;
    port.engineStarts = c.starts;
    SaverShow show(port, Music(0));
    show.Load();
    if (c.windowSeenBefore) {
      port.engineWindow = true;
      show.Timer3Tick();
      port.engineWindow = false;
    }
    port.engineRunning = c.running;
    port.now += c.elapsedMs;
    show.Timer3Tick();
    EXPECT_EQ(port.ended, c.ends) << c.name;
    EXPECT_EQ(show.TimerEnabled(ShowTimer::Timer3), !c.ends) << c.name;
  }
}

TEST(SaverShow, AWindowLeftFromAnEarlierRunKeepsTheShowGoing) {
  FakeShowPort port;
  port.engineWindow = true;
  SaverShow show(port, Music(0));
  show.Load();
  port.engineRunning = false;  // the new engine found the old one and ended
  port.now += 60000;
  show.Timer3Tick();
  EXPECT_FALSE(port.ended);
}

}  // namespace
