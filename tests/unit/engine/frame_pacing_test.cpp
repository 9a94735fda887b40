#include "engine/frame_pacing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

using namespace orvane::engine;

namespace {

using orvane::engine::FpsCounter;
using orvane::engine::FramePacer;

struct PacingCase {
  const char* name;
  std::vector<double> frameEnds;  // when each frame finished, from a start at 0
  std::vector<double> waits;      // what the pacer asks for after each
};

class Pacing : public ::testing::TestWithParam<PacingCase> {};

TEST_P(Pacing, WaitsUntilTheNextPeriod) {
  FramePacer pacer(0.1, 0.0);
  const PacingCase& c = GetParam();
  for (size_t i = 0; i < c.frameEnds.size(); ++i)
    EXPECT_NEAR(pacer.WaitAfterFrame(c.frameEnds[i]), c.waits[i], 1e-9) << "frame " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, Pacing,
    ::testing::Values(
        // Quick frames fill each period up to its end, without drift.
        PacingCase{"QuickFrames", {0.02, 0.13, 0.21}, {0.08, 0.07, 0.09}},
        // A late frame waits nothing and the next period counts from its end: no burst.
        PacingCase{"LateFrameNoBurst", {0.35, 0.36, 0.47}, {0.0, 0.09, 0.08}},
        PacingCase{"ExactlyOnTime", {0.1, 0.2}, {0.0, 0.0}}),
    [](const auto& info) { return std::string(info.param.name); });

// A show of two seconds, simulated: each frame costs `frameCost` seconds to draw;
// a swap that honours vertical sync returns at the next refresh, one that does not
// returns at once. Then the pacing decides the wait before the next frame.
struct DisplayCase {
  const char* name;
  double refreshHz;
  bool swapWaits;         // the driver took the request to wait for the display
  bool driverSyncs;       // and honours it
  double frameCost;       // seconds
  bool pacing;            // expected at the end
  double lastSecondRate;  // frames in the second second
};

class DisplayPaced : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayPaced, FramesFollowTheRefresh) {
  const DisplayCase& c = GetParam();
  const double period = 1.0 / c.refreshHz;
  DisplayPacing pacing(c.refreshHz, c.swapWaits, 0.0);
  double now = 0;
  int lastSecondFrames = 0;
  while (now < 2.0) {
    now += c.frameCost;
    if (c.driverSyncs) now = std::ceil(now / period - 1e-9) * period;
    pacing.FrameDone(now);
    if (now >= 1.0 && now < 2.0) ++lastSecondFrames;
    now += pacing.WaitBefore(now);
  }
  EXPECT_EQ(pacing.Pacing(), c.pacing);
  EXPECT_NEAR(lastSecondFrames, c.lastSecondRate, 1.5);
}

INSTANTIATE_TEST_SUITE_P(
    Swaps, DisplayPaced,
    ::testing::Values(
        // No swap control at all: paced from the first frame.
        DisplayCase{"NoSwapControlQuickFrames", 60, false, false, 0.002, true, 60},
        DisplayCase{"NoSwapControlAt144", 144, false, false, 0.002, true, 144},
        // A frame slower than the refresh waits nothing: the show runs as fast as it can.
        DisplayCase{"NoSwapControlSlowFrames", 60, false, false, 0.025, true, 40},
        // A swap that waits is left alone.
        DisplayCase{"SwapSyncs", 60, true, true, 0.002, false, 60},
        DisplayCase{"SwapSyncsAt144", 144, true, true, 0.002, false, 144},
        // Taken, but vsync is off in the driver: paced once the rate gives it away.
        DisplayCase{"DriverSwitchedSyncOff", 60, true, false, 0.002, true, 60},
        // A little faster than the refresh is no proof of a swap that does not wait.
        DisplayCase{"SomewhatFasterLeftAlone", 60, true, false, 0.012, false, 83}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DisplayPaced, RefreshRateReportedOrSixty) {
  EXPECT_EQ(RefreshRateOrDefault(0), 60);  // the hardware's default
  EXPECT_EQ(RefreshRateOrDefault(1), 60);
  EXPECT_EQ(RefreshRateOrDefault(-5), 60);
  EXPECT_EQ(RefreshRateOrDefault(59), 59);
  EXPECT_EQ(RefreshRateOrDefault(144), 144);
  EXPECT_EQ(RefreshRateOrDefault(100000), 60);
}

TEST(FpsCounter, ReportsOncePerSecondOfFrames) {
  FpsCounter fps;
  std::vector<double> reports;
  // 30 frames a second for 2.5 seconds.
  for (int frame = 0; frame <= 75; ++frame)
    if (const auto rate = fps.Frame(frame / 30.0)) reports.push_back(*rate);
  ASSERT_EQ(reports.size(), 2u);
  // The frame that opens a second is not counted in it: 30 frames in one second, not 31.
  EXPECT_NEAR(reports[0], 30.0, 1e-6);
  EXPECT_NEAR(reports[1], 30.0, 1e-6);
}

TEST(FpsCounter, SlowFramesReportEachFrame) {
  FpsCounter fps;
  EXPECT_FALSE(fps.Frame(10.0));
  EXPECT_NEAR(fps.Frame(12.0).value_or(-1), 0.5, 1e-9);  // one frame in two seconds
  EXPECT_NEAR(fps.Frame(14.0).value_or(-1), 0.5, 1e-9);
}

}  // namespace
