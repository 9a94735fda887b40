// The pictures of a show with one or several windows, without GL: the random
// sequence across windows, the swap intervals, and the pause while the display is off.
#include "engine/show_pictures.h"

#include "engine/frame_pacing.h"
#include "engine/picture_testing.h"
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

const std::vector<Veil>& VeilsOf(const Picture& picture) { return PictureTesting::Veils(picture); }

// Windows whose drivers offer swap control, on a clock that advances 16 ms a reading.
struct Desk {
  std::vector<std::string> log;
  ScriptedClock clock = ScriptedClock::Stepping(16);
  std::vector<std::unique_ptr<RecordingSurface>> surfaces;  // outlive the pictures
  ShowPictures pictures{clock};

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
    RecordingSurface surface("w0", &log);
    ShowPictures pictures(clock);
    EXPECT_FALSE(pictures.PrimaryWaitsForDisplay());  // nothing to ask yet
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

  const Picture* primary = desk.pictures.PictureAt(0);
  const Picture* other = desk.pictures.PictureAt(1);
  ASSERT_TRUE(primary && other);
  for (int v = 0; v < kVeilCount; ++v) {
    EXPECT_EQ(VeilsOf(*primary)[v].hue, expected[v].hue) << v;
    EXPECT_EQ(VeilsOf(*primary)[v].phase[0], expected[v].phase[0]) << v;
    EXPECT_EQ(VeilsOf(*other)[v].hue, expected[kVeilCount + v].hue) << v;
    EXPECT_EQ(VeilsOf(*other)[v].phase[0], expected[kVeilCount + v].phase[0]) << v;
  }
}

TEST(ShowPictures, DisplayOffDrawsNothingAndResumesWithoutAJump) {
  Desk desk(2);
  desk.pictures.DrawRound();
  desk.pictures.DrawRound();
  const std::uint64_t rounds = desk.pictures.Rounds();
  const float hueBefore = VeilsOf(*desk.pictures.PictureAt(1))[0].hue;

  desk.pictures.ReportDisplayPower(DisplayPower::Off);
  desk.clock.now += 600000;  // ten minutes dark
  desk.pictures.DrawRound();
  EXPECT_EQ(desk.pictures.Rounds(), rounds);
  EXPECT_EQ(VeilsOf(*desk.pictures.PictureAt(1))[0].hue, hueBefore);

  desk.pictures.ReportDisplayPower(DisplayPower::Dimmed);  // dimmed is still seen
  desk.pictures.DrawRound();
  desk.pictures.DrawRound();
  EXPECT_EQ(desk.pictures.Rounds(), rounds + 2);
  for (std::size_t w = 0; w < 2; ++w)
    EXPECT_LT(PictureTesting::LastStep(*desk.pictures.PictureAt(w)), 0.05f) << "window " << w;

  desk.pictures.ReportDisplayPower(DisplayPower::On);
  desk.pictures.DrawRound();
  EXPECT_EQ(desk.pictures.Rounds(), rounds + 3);
}

// Windows paced on their own (each by its compositor's frame callbacks) draw one at a time.
TEST(ShowPictures, DrawOneMovesOnlyThatPicture) {
  Desk desk(3);
  const float hue0 = VeilsOf(*desk.pictures.PictureAt(0))[0].hue;
  const float hue2 = VeilsOf(*desk.pictures.PictureAt(2))[0].hue;
  desk.log.clear();
  desk.pictures.Draw(1);
  desk.pictures.Draw(1);
  EXPECT_THAT(desk.log, ElementsAre("w1 current", "w1 current"));
  EXPECT_EQ(VeilsOf(*desk.pictures.PictureAt(0))[0].hue, hue0);
  EXPECT_EQ(VeilsOf(*desk.pictures.PictureAt(2))[0].hue, hue2);

  desk.pictures.TearDown(1);
  desk.log.clear();
  desk.pictures.Draw(1);  // gone
  desk.pictures.Draw(7);  // never there
  desk.pictures.ReportDisplayPower(DisplayPower::Off);
  desk.pictures.Draw(2);  // dark
  EXPECT_THAT(desk.log, IsEmpty());
}

// Each picture owns its window's context: ending one closes that one alone, ending
// the show closes every one left, once, the primary's last.
TEST(ShowPictures, EachWindowsContextClosesOnceWithItsPicture) {
  Desk desk(3);
  desk.log.clear();
  desk.pictures.TearDown(1);
  EXPECT_THAT(desk.log, ElementsAre("w1 current", "w1 close"));
  desk.log.clear();
  desk.pictures.TearDown(1);  // already gone
  EXPECT_THAT(desk.log, IsEmpty());
  EXPECT_EQ(desk.pictures.Count(), 2u);

  desk.pictures.TearDownAll();
  EXPECT_THAT(desk.log, ElementsAre("w2 current", "w2 close", "w0 close"));
  EXPECT_EQ(desk.pictures.Count(), 0u);
}

TEST(ShowPictures, APictureLeftEndsWithTheShowAndASecondSetUpReplacesTheFirst) {
  std::vector<std::string> log;
  ScriptedClock clock = ScriptedClock::Stepping(16);
  RecordingSurface surface("w0", &log);
  {
    ShowPictures pictures(clock);
    pictures.SetUp(0, surface);
    pictures.SetUp(0, surface);  // the old picture closes its context first
    EXPECT_THAT(log, ElementsAre("w0 close"));
    EXPECT_EQ(surface.opened, 2);
    log.clear();
  }
  EXPECT_THAT(log, ElementsAre("w0 close"));
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
