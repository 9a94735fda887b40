#include "engine/veil.h"

#include "tests/oracle/veil_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace orvane::engine;
using namespace orvane::oracle;

namespace {

constexpr float kTwoPi = 6.2831855f;

Veil SeededVeil(RandomGenerator& random, std::uint32_t seed) {
  SeedRandom(random, seed);
  return CreateVeil(random);
}

Veil SeededVeil(std::uint32_t seed) {
  RandomGenerator random;
  return SeededVeil(random, seed);
}

TEST(Random, KnownSequences) {
  RandomGenerator fresh;  // starts as if seeded with 1
  EXPECT_EQ(NextRandom(fresh), 41);
  RandomGenerator random;
  SeedRandom(random, 1);
  EXPECT_EQ(NextRandom(random), 41);
  EXPECT_EQ(NextRandom(random), 18467);
  EXPECT_EQ(NextRandom(random), 6334);
  SeedRandom(random, 0);
  EXPECT_EQ(NextRandom(random), 38);
}

TEST(Random, GeneratorsAreIndependent) {
  RandomGenerator a, b;
  SeedRandom(a, 5);
  SeedRandom(b, 5);
  NextRandom(a);
  NextRandom(a);
  const int third = NextRandom(a);
  NextRandom(b);
  NextRandom(b);
  EXPECT_EQ(NextRandom(b), third);
}

// T must be 0.4 and 1/T 2.5 exactly: 40 * 0.01f lands one step below 0.4, and
// 1/T then one step above 2.5, which shifts every intensity by a hair.
TEST(Brightness, ThresholdAndReciprocalAreExact) {
  struct Case {
    const char* what;
    float value, expected;
  };
  const Case cases[] = {
      {"threshold", kBrightnessThreshold, 0.4f},
      {"reciprocal", kInverseBrightnessThreshold, 2.5f},
      {"reference threshold", kReferenceCutoff, 0.4f},
      {"reference reciprocal", kReferenceInverseCutoff, 2.5f},
  };
  for (const Case& c : cases) EXPECT_EQ(c.value, c.expected) << c.what;
}

TEST(Random, StaysInRangeAcrossTheWholeSeedRange) {
  // Seeds with the top bit set (calendar times after 2038) must not go negative.
  for (std::uint32_t seed : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 1700000000u}) {
    RandomGenerator random;
    SeedRandom(random, seed);
    for (int n = 0; n < 1000; ++n) {
      const int r = NextRandom(random);
      ASSERT_GE(r, 0);
      ASSERT_LE(r, 32767);
    }
  }
}

TEST(Vectors, Normalize) {
  struct Case {
    Vec3 in;
    Vec3 out;
    float length;
  };
  const Case cases[] = {
      {{0, 0, 0}, {0, 1, 0}, 0},
      {{3, 0, 4}, {0.6f, 0, 0.8f}, 5},
      {{0, -2, 0}, {0, -1, 0}, 2},
  };
  for (const Case& c : cases) {
    Vec3 v = c.in;
    EXPECT_FLOAT_EQ(Normalize(v), c.length);
    EXPECT_FLOAT_EQ(v.x, c.out.x);
    EXPECT_FLOAT_EQ(v.y, c.out.y);
    EXPECT_FLOAT_EQ(v.z, c.out.z);
  }
}

TEST(Vectors, CrossIsRightHandedAndOrdered) {
  const Vec3 z = Cross(Vec3(1, 0, 0), Vec3(0, 1, 0));
  EXPECT_EQ(z.x, 0);
  EXPECT_EQ(z.y, 0);
  EXPECT_EQ(z.z, 1);
  const Vec3 minusZ = Cross(Vec3(0, 1, 0), Vec3(1, 0, 0));
  EXPECT_EQ(minusZ.z, -1);
  const Vec3 general = Cross(Vec3(1, 2, 3), Vec3(4, 5, 6));
  EXPECT_FLOAT_EQ(general.x, -3);
  EXPECT_FLOAT_EQ(general.y, 6);
  EXPECT_FLOAT_EQ(general.z, -3);
}

TEST(Colour, HsvToRgb) {
  struct Case {
    float h, s, v, r, g, b;
  };
  const Case cases[] = {
      {0, 1, 1, 1, 0, 0},        {0.5f, 1, 1, 0, 1, 1},          {0.25f, 0.5f, 1, 0.75f, 1, 0.5f},
      {0.1f, 1, 1, 1, 0.6f, 0},  {0.4f, 1, 1, 0, 1, 0.4f},       {0.6f, 1, 1, 0, 0.4f, 1},
      {0.75f, 1, 1, 0.5f, 0, 1}, {0.9f, 1, 1, 1, 0, 0.6f},       {0.3f, 0, 1, 1, 1, 1},
      {0.7f, 0, 1, 1, 1, 1},     {0.5f, 1, 0.5f, 0, 0.5f, 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "hue " << c.h << " saturation " << c.s << " value " << c.v);
    const Rgb rgb = HsvToRgb(c.h, c.s, c.v);
    // The six-digit sector constants shift results by a few millionths.
    EXPECT_NEAR(rgb.red, c.r, 1e-5);
    EXPECT_NEAR(rgb.green, c.g, 1e-5);
    EXPECT_NEAR(rgb.blue, c.b, 1e-5);
  }
}

TEST(Colour, SectorBoundariesAreTheSixDigitDecimals) {
  // Between 1/6 and 0.166667 the first sector still applies: green overshoots 1.
  const Rgb pastSixth = HsvToRgb(0.16666685f, 1, 1);
  EXPECT_EQ(pastSixth.red, 1.0f);
  EXPECT_GT(pastSixth.green, 1.0f);
  // A hue on a boundary belongs to the sector above it.
  const Rgb half = HsvToRgb(0.5f, 1, 1);
  EXPECT_EQ(half.green, 1.0f);
  EXPECT_EQ(half.blue, 1.0f);
  const Rgb belowHalf = HsvToRgb(std::nextafter(0.5f, 0.0f), 1, 1);
  EXPECT_EQ(belowHalf.green, 1.0f);
  EXPECT_NE(belowHalf.blue, 1.0f);  // 6 (h - 0.333333), not the constant 1 of the sector above
  // Hue 1 is the red end, overshooting zero by a hair in blue.
  const Rgb top = HsvToRgb(1, 1, 1);
  EXPECT_EQ(top.red, 1.0f);
  EXPECT_EQ(top.green, 0.0f);
  EXPECT_LT(top.blue, 0.0f);
  EXPECT_NEAR(top.blue, -0.0000019, 1e-7);
}

TEST(Construction, DrawsThirtyOneNumbersInOrder) {
  RandomGenerator random;
  SeedRandom(random, 12345);
  std::vector<float> r;
  for (int n = 0; n < 32; ++n) r.push_back(static_cast<float>(NextRandom(random)));

  Veil veil = SeededVeil(random, 12345);
  EXPECT_EQ(NextRandom(random), static_cast<int>(r[31]));

  for (int k = 0; k < kWaveCount; ++k) {
    SCOPED_TRACE(k);
    EXPECT_FLOAT_EQ(veil.coefficient[k], r[3 * k] * 2 / 32767 - 1);
    EXPECT_FLOAT_EQ(veil.phase[k], r[3 * k + 1] * kTwoPi / 32767);
    EXPECT_FLOAT_EQ(veil.phaseSpeed[k], r[3 * k + 2] * 0.45f / 32767 + 0.015f);
  }
  EXPECT_FLOAT_EQ(veil.hue, r[27] / 32767);
  EXPECT_FLOAT_EQ(veil.saturation, r[28] * 0.9f / 32767 + 0.1f);
  EXPECT_FLOAT_EQ(veil.hueSpeed, r[29] * 0.1f / 32767 - 0.05f);
  EXPECT_FLOAT_EQ(veil.saturationSpeed, r[30] * 0.04f / 32767 + 0.001f);
  EXPECT_EQ(veil.value, 1.0f);
}

TEST(Construction, GridOfRestCoordinates) {
  Veil veil = SeededVeil(7);
  ASSERT_EQ(veil.grid.size(), static_cast<std::size_t>(kGridSide * kGridSide));
  struct Case {
    int i, j;
    float u, v;
  };
  const Case cases[] = {
      {0, 0, -1, -1}, {100, 0, 1, -1}, {0, 100, -1, 1}, {50, 50, 0, 0}, {75, 25, 0.5f, -0.5f}};
  for (const Case& c : cases) {
    const VeilVertex& p = veil.At(c.i, c.j);
    EXPECT_NEAR(p.u, c.u, 1e-6);
    EXPECT_NEAR(p.v, c.v, 1e-6);
    EXPECT_FLOAT_EQ(p.w, p.u * p.u + p.v * p.v);
    EXPECT_EQ(p.intensity, 0);
  }
}

TEST(Construction, TwoVeilsFromOneSeedDiffer) {
  RandomGenerator random;
  Veil first = SeededVeil(random, 99);
  Veil second = CreateVeil(random);
  int same = 0;
  for (int k = 0; k < kWaveCount; ++k) same += first.phaseSpeed[k] == second.phaseSpeed[k];
  EXPECT_LT(same, kWaveCount);
  EXPECT_NE(first.hue, second.hue);
}

TEST(Update, FirstUpdateFollowsTheWaveFormulas) {
  Veil veil = SeededVeil(3);
  UpdateVeil(veil, 0);
  const float* c = veil.coefficient;
  for (int k = 0; k < kWaveCount; ++k) EXPECT_FLOAT_EQ(c[k], std::cos(veil.phase[k]));
  const VeilVertex& edge = veil.At(100, 50);  // u = 1, v = 0
  EXPECT_NEAR(edge.x, c[1] + 0.5f * c[2], 1e-6);
  EXPECT_NEAR(veil.At(50, 50).z, c[8], 1e-6);  // u = v = 0
}

TEST(Update, ZeroStepMovesNothingButRecomputesColour) {
  Veil veil = SeededVeil(4);
  const Veil before = veil;
  UpdateVeil(veil, 0);
  for (int k = 0; k < kWaveCount; ++k) EXPECT_EQ(veil.phase[k], before.phase[k]);
  EXPECT_EQ(veil.hue, before.hue);
  EXPECT_EQ(veil.saturation, before.saturation);
  const Rgb rgb = HsvToRgb(before.hue, before.saturation, 1);
  EXPECT_EQ(veil.red, rgb.red);
  EXPECT_EQ(veil.green, rgb.green);
  EXPECT_EQ(veil.blue, rgb.blue);
  // A second zero step reproduces the same picture.
  const Veil once = veil;
  UpdateVeil(veil, 0);
  for (std::size_t n = 0; n < veil.grid.size(); ++n)
    ASSERT_EQ(veil.grid[n].intensity, once.grid[n].intensity);
}

TEST(Update, LargeStepFoldsBackOnlyOnce) {
  Veil veil = SeededVeil(5);
  veil.phase[0] = 1;
  veil.phaseSpeed[0] = 0.4f;
  veil.hue = 0.5f;
  veil.hueSpeed = 0.05f;
  veil.saturation = 0.5f;
  veil.saturationSpeed = 0.03f;
  UpdateVeil(veil, 100);                            // a long stall
  EXPECT_FLOAT_EQ(veil.phase[0], 1 + 40 - kTwoPi);  // still above 2 pi
  EXPECT_GT(veil.phase[0], kTwoPi);
  EXPECT_FLOAT_EQ(veil.hue, 4.5f);  // 5.5 is above 1: one turn off, no more
  EXPECT_EQ(veil.saturation, 1.0f);
  EXPECT_FLOAT_EQ(veil.saturationSpeed, -0.03f);
  UpdateVeil(veil, 0);
  EXPECT_FLOAT_EQ(veil.phase[0], 41 - 2 * kTwoPi);
}

TEST(Update, ColourFoldingAtTheBounds) {
  struct Case {
    float hue, hueSpeed, dt, expectedHue;
  };
  const Case hues[] = {
      {0.01f, -0.05f, 1, 0.96f},  // below 0 wraps up
      {0.99f, 0.05f, 1, 0.04f},   // above 1 wraps down
      {0.95f, 0.05f, 1, 1.0f},    // exactly 1 stays 1
  };
  for (const Case& c : hues) {
    Veil veil = SeededVeil(6);
    veil.hue = c.hue;
    veil.hueSpeed = c.hueSpeed;
    UpdateVeil(veil, c.dt);
    EXPECT_NEAR(veil.hue, c.expectedHue, 1e-6) << "from " << c.hue;
  }
  Veil veil = SeededVeil(6);
  veil.saturation = 0.11f;
  veil.saturationSpeed = -0.02f;
  UpdateVeil(veil, 1);
  EXPECT_EQ(veil.saturation, 0.1f);
  EXPECT_FLOAT_EQ(veil.saturationSpeed, 0.02f);
  // Exactly at the lower bound also flips.
  UpdateVeil(veil, 0);
  EXPECT_FLOAT_EQ(veil.saturationSpeed, -0.02f);
}

TEST(Update, HueExactlyOneDrawsTheRedEnd) {
  Veil veil = SeededVeil(8);
  veil.hue = 1;
  veil.saturation = 1;
  veil.saturationSpeed = 0.01f;
  UpdateVeil(veil, 0);
  EXPECT_EQ(veil.hue, 1.0f);
  EXPECT_EQ(veil.red, 1.0f);
  EXPECT_EQ(veil.green, 0.0f);
  EXPECT_NEAR(veil.blue, 0, 1e-5);
}

TEST(Update, OuterRingStaysDarkAndInteriorIsLit) {
  Veil veil = SeededVeil(9);
  float brightest = 0;
  for (int frame = 0; frame < 50; ++frame) {
    UpdateVeil(veil, 0.37f);
    for (int n = 0; n <= kGridCells; ++n) {
      ASSERT_EQ(veil.At(0, n).intensity, 0);
      ASSERT_EQ(veil.At(kGridCells, n).intensity, 0);
      ASSERT_EQ(veil.At(n, 0).intensity, 0);
      ASSERT_EQ(veil.At(n, kGridCells).intensity, 0);
    }
    for (const VeilVertex& p : veil.grid) {
      ASSERT_GE(p.intensity, 0);
      ASSERT_LE(p.intensity, 1);
      brightest = std::max(brightest, p.intensity);
    }
  }
  EXPECT_EQ(brightest, 1.0f);
}

TEST(Update, MatchesTheStepByStepUpdate) {
  // The production update takes shortcuts for speed; the picture must not change.
  for (std::uint32_t seed : {1u, 2u, 1700000000u}) {
    Veil fast = SeededVeil(seed);
    Veil slow = fast;
    const float steps[] = {0, 0.016f, 0.5f, 3, 0.001f, 40};
    for (float dt : steps) {
      UpdateVeil(fast, dt);
      ReferenceUpdateVeil(slow, dt);
      float worst = 0;
      for (std::size_t n = 0; n < fast.grid.size(); ++n) {
        ASSERT_EQ(fast.grid[n].x, slow.grid[n].x);
        ASSERT_EQ(fast.grid[n].y, slow.grid[n].y);
        ASSERT_EQ(fast.grid[n].z, slow.grid[n].z);
        worst = std::max(worst, std::fabs(fast.grid[n].intensity - slow.grid[n].intensity));
      }
      EXPECT_LE(worst, 1e-5f) << "seed " << seed << " dt " << dt;
      EXPECT_EQ(fast.red, slow.red);
      EXPECT_EQ(fast.green, slow.green);
      EXPECT_EQ(fast.blue, slow.blue);
    }
  }
}

TEST(Update, NearlyFlatSheetMatchesTheStepByStepUpdate) {
  // Waves all near a quarter turn: tiny differences between neighbours, where
  // the shortcut in the production update loses the most precision.
  Veil veil = SeededVeil(10);
  for (int k = 0; k < kWaveCount; ++k) {
    veil.phase[k] = kTwoPi / 4;
    veil.phaseSpeed[k] = 0;
  }
  Veil reference = veil;
  UpdateVeil(veil, 0);
  ReferenceUpdateVeil(reference, 0);
  for (std::size_t n = 0; n < veil.grid.size(); ++n)
    ASSERT_NEAR(veil.grid[n].intensity, reference.grid[n].intensity, 1e-5);
}

TEST(Lifecycle, DestroyReleasesTheGrid) {
  Veil veil = SeededVeil(11);
  DestroyVeil(veil);
  EXPECT_TRUE(veil.grid.empty());
  EXPECT_EQ(veil.grid.capacity(), 0u);
}

}  // namespace
