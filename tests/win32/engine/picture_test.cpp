// The picture's set-up, frames and end on a real window, context and rasterizer.
#include "engine/picture.h"

#include "engine/veil.h"
#include "engine/veil_mesh.h"
#include "engine/win32/wgl_surface.h"
#include "engine/win32/win32_clock.h"

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <vector>

using namespace orvane::engine;

namespace {

constexpr int kWidth = 400, kHeight = 300;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(window, message, wp, lp);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// A window of the engine's class style, its picture set up for the test's length.
class RenderTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "OrvaneRenderTest";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "render test",
                              WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    PumpMessages();
    surface_ = std::make_unique<WglSurface>(window_);
    picture_ = std::make_unique<Picture>(*surface_, clock_);
  }
  void TearDown() override {
    if (!window_) return;
    picture_.reset();
    DestroyWindow(window_);
    PumpMessages();
  }

  // What the screen shows over the window after some frames, as BGRA bytes.
  std::vector<unsigned char> FramesThenPixels(int frames) {
    for (int n = 0; n < frames; ++n) {
      picture_->Step();
      PumpMessages();
      Sleep(5);
    }
    glFinish();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, kWidth, kHeight, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const unsigned char* first = static_cast<const unsigned char*>(bits);
    std::vector<unsigned char> pixels(first, first + kWidth * kHeight * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
  }

  HWND window_ = nullptr;
  Win32Clock clock_;
  std::unique_ptr<WglSurface> surface_;
  std::unique_ptr<Picture> picture_;
};

TEST_F(RenderTest, ChoosesADoubleBufferedOpenGLFormat) {
  HDC deviceContext = GetDC(window_);
  const int index = GetPixelFormat(deviceContext);
  ASSERT_GT(index, 0);
  PIXELFORMATDESCRIPTOR descriptor = {};
  ASSERT_NE(DescribePixelFormat(deviceContext, index, sizeof descriptor, &descriptor), 0);
  const DWORD required = PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW | PFD_DOUBLEBUFFER;
  EXPECT_EQ(descriptor.dwFlags & required, required);
  EXPECT_EQ(descriptor.iPixelType, PFD_TYPE_RGBA);
  ReleaseDC(window_, deviceContext);
  EXPECT_NE(wglGetCurrentContext(), nullptr);
}

TEST_F(RenderTest, FixedGlState) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 0);
  EXPECT_EQ(viewport[1], 0);
  EXPECT_EQ(viewport[2], kWidth);
  EXPECT_EQ(viewport[3], kHeight);

  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  GLint source, destination, envMode;
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  EXPECT_EQ(source, GL_ONE);
  EXPECT_EQ(destination, GL_ONE);
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
  EXPECT_EQ(envMode, GL_MODULATE);

  // The camera: gluPerspective(20, aspect, 0.01, 20) and five units back.
  GLfloat projection[16], modelView[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
  const double f = 1 / std::tan(10 * 3.14159265358979 / 180);
  EXPECT_NEAR(projection[0], f / (static_cast<double>(kWidth) / kHeight), 1e-4);
  EXPECT_NEAR(projection[5], f, 1e-4);
  EXPECT_NEAR(projection[10], (20 + 0.01) / (0.01 - 20), 1e-5);
  EXPECT_NEAR(projection[14], 2 * 20 * 0.01 / (0.01 - 20), 1e-6);
  EXPECT_FLOAT_EQ(projection[11], -1);
  EXPECT_FLOAT_EQ(modelView[14], -5);
  EXPECT_FLOAT_EQ(modelView[12], 0);
  EXPECT_FLOAT_EQ(modelView[0], 1);
}

TEST_F(RenderTest, StreakTextureWithEveryMipmapLevel) {
  GLint bound, minFilter, magFilter, wrapS, wrapT;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_NE(bound, 0);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
  EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
  EXPECT_EQ(magFilter, GL_LINEAR);
  EXPECT_EQ(wrapS, GL_REPEAT);
  EXPECT_EQ(wrapT, GL_REPEAT);
  for (int level = 0; level <= 8; ++level) {
    GLint levelWidth = 0, levelHeight = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &levelWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &levelHeight);
    EXPECT_EQ(levelWidth, 256 >> level) << "level " << level;
    EXPECT_EQ(levelHeight, 256 >> level) << "level " << level;
  }
  // The base level holds the embedded image: dark and bright texels both.
  std::vector<unsigned char> texels(256 * 256);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_EQ(*std::min_element(texels.begin(), texels.end()), 0);
  EXPECT_EQ(*std::max_element(texels.begin(), texels.end()), 255);
}

TEST_F(RenderTest, FramesShowColouredVeils) {
  const std::vector<unsigned char> pixels = FramesThenPixels(30);
  int lit = 0;
  std::set<int> colours;
  for (std::size_t n = 0; n < pixels.size(); n += 4) {
    const int b = pixels[n], g = pixels[n + 1], r = pixels[n + 2];
    if (r + g + b > 30) ++lit;
    colours.insert((r >> 5) << 6 | (g >> 5) << 3 | (b >> 5));
  }
  EXPECT_GT(lit, kWidth * kHeight / 10) << "the veils light the window";
  EXPECT_GT(colours.size(), 20u) << "shades of the veils and the streaks, not a flat fill";
}

TEST_F(RenderTest, EndLeavesNoCurrentContext) {
  picture_->Step();
  picture_.reset();
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  DestroyWindow(window_);
  PumpMessages();
  window_ = nullptr;
}

// Leaving out the black triangles must not change a single pixel: draw one
// veil as the full strips and as the lit-triangle list and compare.
TEST_F(RenderTest, LeavingOutBlackTrianglesKeepsThePicture) {
  RandomGenerator random;
  SeedRandom(random, 2024);
  Veil veil = CreateVeil(random);
  for (int n = 0; n < 40; ++n) UpdateVeil(veil, 0.25f);
  veil.red = 0.9f;  // a veil colour that leaves some vertices just above black
  veil.green = 0.35f;
  veil.blue = 1.0f;
  std::vector<MeshVertex> mesh(kMeshVertexCount);
  FillMesh(veil, mesh.data());
  std::vector<std::uint16_t> strips(static_cast<std::size_t>(kStripCount * kStripLength));
  BuildStripIndices(strips.data());
  std::vector<std::uint16_t> triangles(kMaxTriangleIndices);
  const int count = BuildLitTriangles(mesh.data(), strips.data(), triangles.data());
  ASSERT_GT(count, 0);
  ASSERT_LT(count, kMaxTriangleIndices) << "the test needs some black triangles";

  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glInterleavedArrays(GL_T2F_C3F_V3F, 0, mesh.data());
  auto draw = [&](bool allStrips) {
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    glTranslatef(0.2f * veil.coefficient[0], 0.2f * veil.coefficient[1], 1.6f);
    if (allStrips) {
      for (int i = 0; i < kStripCount; ++i)
        glDrawElements(GL_TRIANGLE_STRIP, kStripLength, GL_UNSIGNED_SHORT,
                       strips.data() + i * kStripLength);
    } else {
      glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, triangles.data());
    }
    glPopMatrix();
    glFinish();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(kWidth * kHeight * 3));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  };
  const std::vector<unsigned char> stripPixels = draw(true);
  const std::vector<unsigned char> lit = draw(false);
  glPopClientAttrib();
  int differing = 0, nonBlack = 0;
  for (std::size_t n = 0; n < lit.size(); ++n) {
    differing += std::abs(lit[n] - stripPixels[n]) > 1;
    nonBlack += stripPixels[n] != 0;
  }
  EXPECT_GT(nonBlack, 1000);
  EXPECT_EQ(differing, 0);
}

}  // namespace
