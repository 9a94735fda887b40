// The picture without a GL context: what set-up builds from the ports, how frames
// take their time from the clock port, and what its end leaves.
#include "engine/picture.h"
#include "engine/picture_testing.h"
#include "tests/fakes/fake_picture_ports.h"

#include <gtest/gtest.h>

#include <memory>
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

const std::vector<Veil>& VeilsOf(const Picture& picture) { return PictureTesting::Veils(picture); }

TEST(PictureState, SameCalendarSecondSameVeilsWhateverRanBefore) {
  RecordingSurface surface;
  ScriptedClock clock;
  clock.readings = {0, 0, 16, 32, 48};
  auto first = std::make_unique<Picture>(surface, clock);
  ExpectSameVeils(VeilsOf(*first), ExpectedVeils(clock.second));
  EXPECT_EQ(surface.opened, 1);
  // A picture set up later from the same second starts alike, whatever the first one drew.
  for (int n = 0; n < 4; ++n) first->Step();
  auto second = std::make_unique<Picture>(surface, clock);
  ExpectSameVeils(VeilsOf(*second), ExpectedVeils(clock.second));

  clock.second = 1700000001;
  auto later = std::make_unique<Picture>(surface, clock);
  EXPECT_NE(VeilsOf(*later)[0].hue, VeilsOf(*second)[0].hue);
}

// A second window's picture draws its veils on from where the first one's ended,
// and leaves the sequence after its own.
TEST(PictureState, ContinuedSequenceIsAdvancedPastTheVeils) {
  RecordingSurface surface;
  ScriptedClock clock;
  RandomGenerator sequence = CalendarSeededRandom(clock);
  const Picture first(surface, clock, sequence);
  const Picture second(surface, clock, sequence);

  RandomGenerator expected;
  SeedRandom(expected, clock.second);
  for (int n = 0; n < 20; ++n) NextRandom(expected);
  std::vector<Veil> firstVeils, secondVeils;
  for (int n = 0; n < kVeilCount; ++n) firstVeils.push_back(CreateVeil(expected));
  for (int n = 0; n < kVeilCount; ++n) secondVeils.push_back(CreateVeil(expected));
  ExpectSameVeils(VeilsOf(first), firstVeils);
  ExpectSameVeils(VeilsOf(second), secondVeils);
  EXPECT_EQ(NextRandom(sequence), NextRandom(expected))
      << "the sequence was not left after the veils";
}

TEST(PictureState, FramesStepByTheClockPort) {
  RecordingSurface surface;
  ScriptedClock clock;
  clock.readings = {5000, 5000, 5250};
  Picture picture(surface, clock);
  const Veil before = VeilsOf(picture)[0];

  picture.Step();  // the first frame reads twice: a step of 0
  EXPECT_EQ(PictureTesting::LastStep(picture), 0);
  EXPECT_EQ(VeilsOf(picture)[0].hue, before.hue);
  picture.Step();
  EXPECT_FLOAT_EQ(PictureTesting::LastStep(picture), 0.25f);
  EXPECT_FLOAT_EQ(VeilsOf(picture)[0].hue, before.hue + 0.25f * before.hueSpeed);
  EXPECT_EQ(clock.next, 3u);
  EXPECT_EQ(surface.presented, 0) << "nothing to present without a context";
}

TEST(PictureState, RestartedFrameClockMeasuresTheNextStepAnew) {
  RecordingSurface surface;
  ScriptedClock clock;
  clock.readings = {1000, 1000, 1016, 61016, 61016, 61032};
  Picture picture(surface, clock);
  picture.Step();
  picture.Step();
  picture.RestartFrameClock();  // a minute away: not a step of the motion
  picture.Step();
  EXPECT_EQ(PictureTesting::LastStep(picture), 0);
  picture.Step();
  EXPECT_FLOAT_EQ(PictureTesting::LastStep(picture), 0.016f);
}

TEST(PictureState, EndClosesTheSurfaceOnce) {
  RecordingSurface surface;
  ScriptedClock clock;
  {
    Picture picture(surface, clock);
    EXPECT_EQ(surface.closed, 0) << "closed while the picture still runs";
  }
  EXPECT_EQ(surface.closed, 1);
}

}  // namespace
