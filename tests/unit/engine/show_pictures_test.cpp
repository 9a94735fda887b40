// The pictures of a show with one or several windows, without GL: the random
// sequence across windows, the swap intervals, and the pause while the display is off.
#include "engine/show_pictures.h"

#include "engine/frame_pacing.h"
#include "tests/fakes/fake_picture_ports.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace orvane::engine;
using orvane::fakes::RecordingSurface;
using orvane::fakes::ScriptedClock;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Windows whose drivers offer swap control, on a clock that advances 16 ms a reading.
struct Desk {
  std::vector<std::string> log;
  ScriptedClock clock = ScriptedClock::Stepping(16);
  ShowPictures pictures{clock};
  std::vector<std::unique_ptr<RecordingSurface>> surfaces;

  explicit Desk(int windows) {
    for (int n = 0; n < windows; ++n) {
      surfaces.push_back(std::make_unique<RecordingSurface>("w" + std::to_string(n), &log));
      surfaces.back()->swapControl = true;
      pictures.SetUp(n, *surfaces.back());
    }
  }
};

TEST(ShowPictures, OneWindowIsLeftAsItAlwaysWas) {
  Desk desk(1);
  desk.pictures.DrawRound();
  desk.pictures.DrawRound();
  // No swap interval chosen and no context switching: the single window as before.
  EXPECT_THAT(desk.log, IsEmpty());
}

TEST(ShowPictures, OnlyThePrimaryWaitsForTheDisplay) {
  Desk desk(3);
  EXPECT_THAT(desk.log, ElementsAre("w0 interval 1", "w1 interval 0",  // second window joins
                                    "w0 interval 1", "w1 interval 0", "w2 interval 0"));
  desk.log.clear();
  desk.pictures.DrawRound();
  EXPECT_THAT(desk.log, ElementsAre("w0 current", "w1 current", "w2 current"));
}

TEST(ShowPictures, ASurfaceWithoutSwapControlIsPacedToTheRefresh) {
  for (const bool swapControl : {false, true}) {
    std::vector<std::string> log;
    ScriptedClock clock = ScriptedClock::Stepping(16);
    ShowPictures pictures(clock);
    EXPECT_FALSE(pictures.PrimaryWaitsForDisplay());  // nothing to ask yet
    RecordingSurface surface("w0", &log);
    surface.swapControl = swapControl;
    pictures.SetUp(0, surface);
    EXPECT_EQ(pictures.PrimaryWaitsForDisplay(), swapControl);
    // Frames of 2 ms: paced to 60 a second without swap control, left to the swap with it.
    const DisplayPacing pacing(60, pictures.PrimaryWaitsForDisplay(), 0.0);
    EXPECT_EQ(pacing.Pacing(), !swapControl);
  }
}

TEST(ShowPictures, EachWindowContinuesTheOneRandomSequence) {
  Desk desk(2);
  RandomGenerator random;
  SeedRandom(random, 1700000000);
  for (int n = 0; n < 20; ++n) NextRandom(random);
  std::vector<Veil> expected;
  for (int n = 0; n < 2 * kVeilCount; ++n) expected.push_back(CreateVeil(random));

  const Rendering* primary = desk.pictures.Picture(0);
  const Rendering* other = desk.pictures.Picture(1);
  ASSERT_TRUE(primary && other);
  for (int v = 0; v < kVeilCount; ++v) {
    EXPECT_EQ(primary->veils[v].hue, expected[v].hue) << v;
    EXPECT_EQ(primary->veils[v].phase[0], expected[v].phase[0]) << v;
    EXPECT_EQ(other->veils[v].hue, expected[kVeilCount + v].hue) << v;
    EXPECT_EQ(other->veils[v].phase[0], expected[kVeilCount + v].phase[0]) << v;
  }
}

TEST(ShowPictures, DisplayOffDrawsNothingAndResumesWithoutAJump) {
  Desk desk(2);
  desk.pictures.DrawRound();
  desk.pictures.DrawRound();
  const std::uint64_t rounds = desk.pictures.Rounds();
  const float hueBefore = desk.pictures.Picture(1)->veils[0].hue;

  desk.pictures.ReportDisplayPower(DisplayPower::Off);
  desk.clock.now += 600000;  // ten minutes dark
  desk.pictures.DrawRound();
  EXPECT_EQ(desk.pictures.Rounds(), rounds);
  EXPECT_EQ(desk.pictures.Picture(1)->veils[0].hue, hueBefore);

  desk.pictures.ReportDisplayPower(DisplayPower::Dimmed);  // dimmed is still seen
  desk.pictures.DrawRound();
  desk.pictures.DrawRound();
  EXPECT_EQ(desk.pictures.Rounds(), rounds + 2);
  for (std::size_t w = 0; w < 2; ++w)
    EXPECT_LT(desk.pictures.Picture(w)->frameClock.dt, 0.05f) << "window " << w;

  desk.pictures.ReportDisplayPower(DisplayPower::On);
  desk.pictures.DrawRound();
  EXPECT_EQ(desk.pictures.Rounds(), rounds + 3);
}

// Windows paced on their own (each by its compositor's frame callbacks) draw one at a time.
TEST(ShowPictures, DrawOneMovesOnlyThatPicture) {
  Desk desk(3);
  const float hue0 = desk.pictures.Picture(0)->veils[0].hue;
  const float hue2 = desk.pictures.Picture(2)->veils[0].hue;
  desk.log.clear();
  desk.pictures.Draw(1);
  desk.pictures.Draw(1);
  EXPECT_THAT(desk.log, ElementsAre("w1 current", "w1 current"));
  EXPECT_EQ(desk.pictures.Picture(0)->veils[0].hue, hue0);
  EXPECT_EQ(desk.pictures.Picture(2)->veils[0].hue, hue2);

  desk.pictures.TearDown(1);
  desk.log.clear();
  desk.pictures.Draw(1);  // gone
  desk.pictures.Draw(7);  // never there
  desk.pictures.ReportDisplayPower(DisplayPower::Off);
  desk.pictures.Draw(2);  // dark
  EXPECT_THAT(desk.log, IsEmpty());
}

struct PowerCase {
  const char* name;
  std::vector<DisplayPower> reports;
  bool dark;
  bool resumed;
};

class DisplayPowerStates : public ::testing::TestWithParam<PowerCase> {};

TEST_P(DisplayPowerStates, DarkOnlyWhileOff) {
  DisplayPowerState state;
  for (DisplayPower power : GetParam().reports) state.Report(power);
  EXPECT_EQ(state.Dark(), GetParam().dark);
  EXPECT_EQ(state.TakeResumed(), GetParam().resumed);
  EXPECT_FALSE(state.TakeResumed());
}

INSTANTIATE_TEST_SUITE_P(
    Reports, DisplayPowerStates,
    ::testing::Values(
        PowerCase{"StartsLit", {}, false, false},
        PowerCase{"Off", {DisplayPower::Off}, true, false},
        PowerCase{"OffThenOn", {DisplayPower::Off, DisplayPower::On}, false, true},
        PowerCase{"OffThenDimmed", {DisplayPower::Off, DisplayPower::Dimmed}, false, true},
        PowerCase{"DimmedIsNoResume", {DisplayPower::Dimmed, DisplayPower::On}, false, false},
        PowerCase{"OffTwice", {DisplayPower::Off, DisplayPower::Off}, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
