#include "engine/frame_pacing.h"

#include <gtest/gtest.h>

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
