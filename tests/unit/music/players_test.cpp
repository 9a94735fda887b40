#include "music/music.h"
#include "music/music_testing.h"
#include "tests/unit/music/music_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace orvane::music;
using orvane::fakes::FakeAnswer;
using orvane::fakes::FakeMci;
using orvane::fakes::FakeSound;

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Strings = std::vector<std::string>;

namespace {

using Players = MusicTest;

// ---- WAV ----

TEST_F(Players, WavLoopsByNameOnlyAndStops) {
  music_.WavPlay("C:\\Music\\rain.Wav");
  music_.WavStop();
  // 0x20000 | 0x8 | 0x2 | 0x1: a file that cannot be played stays silent.
  EXPECT_THAT(sound_.calls, ElementsAre(FakeSound::Call{true, "C:\\Music\\rain.Wav", 0x2000B},
                                        FakeSound::Call{false, "", 0}));
  EXPECT_TRUE(mci_.calls.empty());
}

TEST_F(Players, WavWithoutDeviceTouchesNothing) {
  sound_.devices = 0;
  music_.WavPlay("C:\\Music\\rain.wav");
  EXPECT_TRUE(sound_.calls.empty());
}

// ---- MP3 ----

const char* const kOpen = "open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play";

TEST_F(Players, Mp3OpenQuotesThePathAndPlaysOnlyAfterOpen) {
  music_.Mp3Open("C:\\My Music\\a b.mp3");
  EXPECT_THAT(mci_.calls, ElementsAre(FakeMci::Call{kOpen, 0}, FakeMci::Call{"play MP3Play", 0}));

  mci_.calls.clear();
  mci_.Fail(kOpen, 277);
  music_.Mp3Open("C:\\My Music\\a b.mp3");
  EXPECT_THAT(mci_.Commands(), ElementsAre(kOpen));
}

TEST_F(Players, Mp3CloseStopsThenCloses) {
  music_.Mp3Close();
  EXPECT_THAT(mci_.Commands(), ElementsAre("stop MP3Play", "close MP3Play"));
}

struct KeepAliveRow {
  const char* name;
  const char* previousMode;  // reply of an earlier query, or null for none
  FakeAnswer mode;           // this tick's "status MP3Play mode"
  bool restarts;
};

class Mp3KeepAliveTable : public Players, public ::testing::WithParamInterface<KeepAliveRow> {};

TEST_P(Mp3KeepAliveTable, RestartsUnlessPlaying) {
  const KeepAliveRow& row = GetParam();
  if (row.previousMode) {
    mci_.Answer("status MP3Play mode", 0, row.previousMode);
    music_.Mp3KeepAlive();
    mci_.calls.clear();
  }
  mci_.answers["status MP3Play mode"] = row.mode;
  EXPECT_EQ(music_.Mp3KeepAlive(), row.restarts);
  Strings expected = {"status MP3Play mode"};
  if (row.restarts) {
    expected.push_back("stop MP3Play");
    expected.push_back("play MP3Play from 0");
  }
  EXPECT_THAT(mci_.Commands(), ElementsAreArray(expected));
  EXPECT_EQ(mci_.calls[0].replyLength, 30u);
  EXPECT_EQ(music_.Mp3IsPlaying(), !row.restarts);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Mp3KeepAliveTable,
    ::testing::Values(KeepAliveRow{"playing", nullptr, {0, "playing", true}, false},
                      KeepAliveRow{"stopped_at_end", nullptr, {0, "stopped", true}, true},
                      KeepAliveRow{"paused", nullptr, {0, "paused", true}, true},
                      KeepAliveRow{"case_matters", nullptr, {0, "Playing", true}, true},
                      KeepAliveRow{"open_failed_first_tick", nullptr, {263, "", false}, true},
                      // A failing query leaves the buffer: the last mode seen still counts.
                      KeepAliveRow{
                          "failed_query_keeps_playing", "playing", {263, "", false}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- CD ----

TEST_F(Players, CdOpenAndClose) {
  music_.CdOpen();
  music_.CdClose();
  EXPECT_THAT(mci_.calls,
              ElementsAre(FakeMci::Call{"open cdaudio", 0},
                          FakeMci::Call{"set cdaudio time format tmsf", 0},
                          FakeMci::Call{"stop cdaudio", 0}, FakeMci::Call{"close cdaudio", 0}));
}

const char* const kCurrent = "status cdaudio current track";
const char* const kCount = "status cdaudio number of tracks";
const char* const kMode = "status cdaudio mode";

struct PollRow {
  const char* name;
  std::int16_t repeat;
  std::map<std::string, FakeAnswer> answers;
  Strings sent;  // after the three status queries unless the poll ended earlier
  bool keepPolling;
  const char* previousMode = nullptr;  // mode reply of an earlier poll
};

class CdPollTable : public Players, public ::testing::WithParamInterface<PollRow> {};

TEST_P(CdPollTable, SendsExactlyTheseCommands) {
  const PollRow& row = GetParam();
  if (row.previousMode) {
    mci_.Answer(kCurrent, 0, "1");
    mci_.Answer(kCount, 0, "9");
    mci_.Answer(kMode, 0, row.previousMode);
    music_.CdPoll(0);
    mci_.calls.clear();
    mci_.answers.clear();
  }
  mci_.answers = row.answers;
  EXPECT_EQ(music_.CdPoll(row.repeat), row.keepPolling);
  EXPECT_EQ(MusicTesting::KeepPolling(music_), row.keepPolling);
  EXPECT_THAT(mci_.Commands(), ElementsAreArray(row.sent));
  for (const FakeMci::Call& c : mci_.calls) {
    EXPECT_EQ(c.replyLength, c.command == kMode ? 255u : 512u) << c.command;
  }
}

FakeAnswer Ok(const char* reply) { return {0, reply, true}; }
FakeAnswer Fails(std::int32_t code) { return {code, "", false}; }

std::map<std::string, FakeAnswer> Disc(const char* current, const char* mode) {
  return {{kCurrent, Ok(current)},
          {kCount, Ok("12")},
          {kMode, Ok(mode)},
          {"status cdaudio position track 3", Ok("03:00:00:00")}};
}

const Strings kStatus = {kCurrent, kCount, kMode};
Strings Then(Strings more) {
  Strings s = kStatus;
  s.insert(s.end(), more.begin(), more.end());
  return s;
}
const Strings kBackToTrack3 =
    Then({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"});

INSTANTIATE_TEST_SUITE_P(
    Branches, CdPollTable,
    ::testing::Values(
        PollRow{"no_disc", 0, {{kCurrent, Fails(256)}}, {kCurrent}, false},
        PollRow{"unreadable_disc",
                3,
                {{kCurrent, Ok("1")}, {kCount, Fails(256)}},
                {kCurrent, kCount},
                false},
        PollRow{"error_reply_in_any_case", 0, {{kCurrent, Ok("error")}}, {kCurrent}, false},
        PollRow{"whole_disc_stopped", 0, Disc("12", "stopped"), Then({"play cdaudio"}), true},
        PollRow{"whole_disc_playing_left_alone", 0, Disc("5", "playing"), kStatus, true},
        PollRow{"whole_disc_stopped_case_matters", 0, Disc("5", "Stopped"), kStatus, true},
        PollRow{"whole_disc_current_not_needed", 0, Disc("??", "playing"), kStatus, true},
        PollRow{"repeat3_paused_in_track3", 3, Disc("3", "paused"), kStatus, true},
        PollRow{"repeat3_paused_in_track4", 3, Disc("4", "paused"), kBackToTrack3, true},
        PollRow{"repeat3_stopped_in_track3", 3, Disc("3", "stopped"), kBackToTrack3, true},
        PollRow{"repeat3_blanks_around_number", 3, Disc(" 3 ", "playing"), kStatus, true},
        PollRow{"track_the_disc_lacks",
                15,
                {{kCurrent, Ok("1")},
                 {kCount, Ok("12")},
                 {kMode, Ok("stopped")},
                 {"status cdaudio position track 15", Fails(263)},
                 {"play cdaudio from Error:263", Fails(263)}},
                Then({"status cdaudio position track 15", "play cdaudio from Error:263"}),
                true},
        // A start of more than one word would bring flags of its own into the play command.
        PollRow{"start_with_a_flag_not_played",
                3,
                {{kCurrent, Ok("4")},
                 {kCount, Ok("12")},
                 {kMode, Ok("playing")},
                 {"status cdaudio position track 3", Ok("03:00:00:00 wait")}},
                Then({"status cdaudio position track 3"}),
                true},
        PollRow{"start_with_a_line_end_not_played",
                3,
                {{kCurrent, Ok("4")},
                 {kCount, Ok("12")},
                 {kMode, Ok("stopped")},
                 {"status cdaudio position track 3", Ok("03:00:00:00\r\n")}},
                Then({"status cdaudio position track 3"}),
                true},
        PollRow{"current_not_a_number", 3, Disc("three", "playing"), kStatus, false},
        PollRow{"current_not_a_number_while_stopped", 3, Disc("3x", "stopped"), kStatus, false},
        PollRow{"current_empty", 3, Disc("", "playing"), kStatus, false},
        PollRow{"current_huge", 3, Disc("99999999999999", "playing"), kBackToTrack3, true},
        // The mode buffer is not cleared: a failed mode query reuses the last mode.
        PollRow{"failed_mode_query_keeps_stopped",
                0,
                {{kCurrent, Ok("2")}, {kCount, Ok("12")}, {kMode, Fails(263)}},
                Then({"play cdaudio"}),
                true,
                "stopped"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Players, EndOfDiscRestartsAtEveryStoppedPoll) {
  mci_.answers = Disc("12", "stopped");
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(music_.CdPoll(0));
  int plays = 0;
  for (const std::string& c : mci_.Commands()) plays += c == "play cdaudio";
  EXPECT_EQ(plays, 3);
}

}  // namespace
