// The rendering state object without a GL context: what set-up builds from the
// ports, how frames take their time from the clock port, and what teardown leaves.
#include "engine/picture.h"
#include "tests/fakes/fake_picture_ports.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvane::engine;
using orvane::fakes::RecordingSurface;
using orvane::fakes::ScriptedClock;

namespace {

// The engine's start: the calendar second as seed, 20 draws thrown away, then the veils.
std::vector<Veil> ExpectedVeils(std::uint32_t second) {
  RandomGenerator random;
  SeedRandom(random, second);
  for (int n = 0; n < 20; ++n) NextRandom(random);
  std::vector<Veil> veils;
  for (int n = 0; n < kVeilCount; ++n) veils.push_back(CreateVeil(random));
  return veils;
}

void ExpectSameVeils(const std::vector<Veil>& actual, const std::vector<Veil>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t v = 0; v < actual.size(); ++v) {
    for (int k = 0; k < kWaveCount; ++k) {
      EXPECT_EQ(actual[v].coefficient[k], expected[v].coefficient[k]) << v << " " << k;
      EXPECT_EQ(actual[v].phase[k], expected[v].phase[k]) << v << " " << k;
      EXPECT_EQ(actual[v].phaseSpeed[k], expected[v].phaseSpeed[k]) << v << " " << k;
    }
    EXPECT_EQ(actual[v].hue, expected[v].hue) << v;
    EXPECT_EQ(actual[v].saturation, expected[v].saturation) << v;
    EXPECT_EQ(actual[v].hueSpeed, expected[v].hueSpeed) << v;
    EXPECT_EQ(actual[v].saturationSpeed, expected[v].saturationSpeed) << v;
  }
}

TEST(RenderingState, SameCalendarSecondSameVeilsWhateverRanBefore) {
  RecordingSurface surface;
  ScriptedClock clock;
  clock.readings = {0, 0, 16, 32, 48};
  auto first = SetUpRendering(surface, clock);
  ExpectSameVeils(first->veils, ExpectedVeils(clock.second));
  EXPECT_EQ(surface.opened, 1);
  // A picture set up later from the same second starts alike, whatever the first one drew.
  for (int n = 0; n < 4; ++n) FrameStep(*first);
  NextRandom(first->random);
  auto second = SetUpRendering(surface, clock);
  ExpectSameVeils(second->veils, ExpectedVeils(clock.second));

  clock.second = 1700000001;
  auto later = SetUpRendering(surface, clock);
  EXPECT_NE(later->veils[0].hue, second->veils[0].hue);
}

TEST(RenderingState, FramesStepByTheClockPort) {
  RecordingSurface surface;
  ScriptedClock clock;
  clock.readings = {5000, 5000, 5250};
  auto rendering = SetUpRendering(surface, clock);
  const Veil before = rendering->veils[0];

  FrameStep(*rendering);  // the first frame reads twice: a step of 0
  EXPECT_EQ(rendering->frameClock.dt, 0);
  EXPECT_EQ(rendering->veils[0].hue, before.hue);
  FrameStep(*rendering);
  EXPECT_FLOAT_EQ(rendering->frameClock.dt, 0.25f);
  EXPECT_FLOAT_EQ(rendering->veils[0].hue, before.hue + 0.25f * before.hueSpeed);
  EXPECT_EQ(clock.next, 3u);
  EXPECT_EQ(surface.presented, 0) << "nothing to present without a context";
}

TEST(RenderingState, TeardownClosesOnceAndLaterFramesDoNothing) {
  RecordingSurface surface;
  ScriptedClock clock;
  auto rendering = SetUpRendering(surface, clock);
  TearDownRendering(*rendering);
  EXPECT_EQ(surface.closed, 1);
  EXPECT_TRUE(rendering->veils.empty());
  FrameStep(*rendering);  // would throw on reading the empty script
  TearDownRendering(*rendering);
  EXPECT_EQ(surface.closed, 1);
}

}  // namespace
