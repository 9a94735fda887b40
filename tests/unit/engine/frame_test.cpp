#include "engine/frame_clock.h"
#include "engine/veil_mesh.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace orvane::engine;

namespace {

// Hands out the scripted counter readings one by one.
struct ScriptedTimer {
  std::vector<std::uint32_t> readings;
  std::size_t next = 0;
  std::uint32_t operator()() { return readings.at(next++); }
};

TEST(FrameClock, StepsFromTheCounter) {
  struct Case {
    const char* what;
    std::vector<std::uint32_t> readings;
    std::vector<float> steps;
  };
  const Case cases[] = {
      {"first frame reads twice and steps by their distance",
       {1000, 1000, 1016, 1050},
       {0, 0.016f, 0.034f}},
      {"first frame across a millisecond tick", {5, 6}, {0.001f}},
      {"no upper limit after a stall", {0, 0, 60000}, {0, 60}},
      {"equal readings give a zero step", {7, 7, 7}, {0, 0}},
      {"a wrapped counter repeats the previous step",
       {0xFFFFFFF0u, 0xFFFFFFFAu, 0x00000004u, 0x00000010u},
       {0.010f, 0.010f, 0.012f}},
      {"a wrap on the first frame keeps the initial 0", {0xFFFFFFFFu, 0x00000003u}, {0}},
  };
  for (const Case& c : cases) {
    FrameClock clock;
    ScriptedTimer timer{c.readings};
    EXPECT_EQ(clock.dt, 0) << c.what;
    for (float expected : c.steps) EXPECT_FLOAT_EQ(clock.Tick(std::ref(timer)), expected) << c.what;
    EXPECT_EQ(timer.next, c.readings.size()) << c.what;
    EXPECT_EQ(clock.lastTime, c.readings.back()) << c.what;
  }
}

TEST(Mesh, StripsZigZagBetweenNeighbouringRows) {
  std::vector<std::uint16_t> indices(static_cast<std::size_t>(kStripCount * kStripLength));
  BuildStripIndices(indices.data());
  EXPECT_EQ(kStripCount, 100);
  EXPECT_EQ(kStripLength, 202);
  for (int i : {0, 57, kStripCount - 1}) {
    const std::uint16_t* strip = indices.data() + i * kStripLength;
    for (int j : {0, 1, kGridCells}) {
      EXPECT_EQ(strip[2 * j], (i + 1) * kGridSide + j) << "strip " << i << " column " << j;
      EXPECT_EQ(strip[2 * j + 1], i * kGridSide + j) << "strip " << i << " column " << j;
    }
  }
}

TEST(Mesh, VertexRule) {
  RandomGenerator random;
  SeedRandom(random, 21);
  Veil veil = CreateVeil(random);
  veil.red = 0.8f;
  veil.green = 0.3f;
  veil.blue = 1.0f;
  // The vertex at u = 1, v = 0 displaced by (0.5, 0) samples the texture at (0.5, 0).
  VeilVertex& edge = veil.At(kGridCells, kGridCells / 2);
  edge.x = 0.5f;
  edge.y = 0;
  VeilVertex& inner = veil.At(30, 60);
  inner.x = -1.75f;  // coordinates beyond [0, 1] are left for the texture to repeat
  inner.y = 0.25f;
  inner.intensity = 0.6f;

  std::vector<MeshVertex> mesh(kMeshVertexCount);
  FillMesh(veil, mesh.data());

  const MeshVertex& e = mesh[static_cast<std::size_t>(kGridCells * kGridSide + kGridCells / 2)];
  EXPECT_FLOAT_EQ(e.s, 0.5f);
  EXPECT_NEAR(e.t, 0, 1e-6);
  // Outer ring: intensity 0 puts it at z = 0 with every colour at or below 0, black.
  EXPECT_EQ(e.z, 0);
  EXPECT_FLOAT_EQ(e.red, 0.8f - 1);
  EXPECT_FLOAT_EQ(e.green, 0.3f - 1);
  EXPECT_FLOAT_EQ(e.blue, 0);

  const MeshVertex& m = mesh[static_cast<std::size_t>(30 * kGridSide + 60)];
  EXPECT_FLOAT_EQ(m.s, inner.u + 1.75f);
  EXPECT_FLOAT_EQ(m.t, inner.v - 0.25f);
  EXPECT_FLOAT_EQ(m.red, 0.8f + 0.6f - 1);
  EXPECT_FLOAT_EQ(m.green, 0.3f + 0.6f - 1);
  EXPECT_FLOAT_EQ(m.blue, 0.6f);
  EXPECT_FLOAT_EQ(m.x, inner.u);
  EXPECT_FLOAT_EQ(m.y, inner.v);
  EXPECT_FLOAT_EQ(m.z, 0.6f);
}

}  // namespace

namespace {

struct Triangle {
  int a, b, c;
};

std::vector<Triangle> LitTriangles(const std::vector<MeshVertex>& mesh) {
  std::vector<std::uint16_t> strips(static_cast<std::size_t>(kStripCount * kStripLength));
  BuildStripIndices(strips.data());
  std::vector<std::uint16_t> out(kMaxTriangleIndices);
  const int count = BuildLitTriangles(mesh.data(), strips.data(), out.data());
  EXPECT_EQ(count % 3, 0);
  std::vector<Triangle> triangles;
  for (int n = 0; n + 2 < count; n += 3) triangles.push_back({out[n], out[n + 1], out[n + 2]});
  return triangles;
}

std::vector<MeshVertex> MeshOfColour(float red, float green, float blue) {
  std::vector<MeshVertex> mesh(kMeshVertexCount);
  for (MeshVertex& m : mesh) m.red = red, m.green = green, m.blue = blue;
  return mesh;
}

TEST(Mesh, EveryTriangleOfTheStripsWhenAllIsLit) {
  const std::vector<Triangle> triangles = LitTriangles(MeshOfColour(0.1f, -1, -1));
  ASSERT_EQ(triangles.size(), 20000u);
  // First strip: [1][0], [0][0], [1][1], [0][1], ... with every other triangle turned.
  const int r1 = kGridSide;
  EXPECT_EQ(triangles[0].a, r1);
  EXPECT_EQ(triangles[0].b, 0);
  EXPECT_EQ(triangles[0].c, r1 + 1);
  EXPECT_EQ(triangles[1].a, r1 + 1);
  EXPECT_EQ(triangles[1].b, 0);
  EXPECT_EQ(triangles[1].c, 1);
}

TEST(Mesh, BlackTrianglesAreLeftOut) {
  // Each channel at or below 0 draws black; nothing at all then.
  EXPECT_TRUE(LitTriangles(MeshOfColour(0, -0.5f, 0)).empty());
  // One lit interior vertex: exactly the six triangles around it remain.
  std::vector<MeshVertex> mesh = MeshOfColour(-1, 0, -0.2f);
  const int centre = 40 * kGridSide + 70;
  mesh[static_cast<std::size_t>(centre)].green = 0.01f;
  const std::vector<Triangle> triangles = LitTriangles(mesh);
  ASSERT_EQ(triangles.size(), 6u);
  for (const Triangle& t : triangles) EXPECT_TRUE(t.a == centre || t.b == centre || t.c == centre);
}

}  // namespace
