// The preview window in this process: its picture read back from the screen,
// its place inside a parent, and its end with the parent.
#include "common/win32_gdi.h"
#include "host/win32_preview_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace orvane::common;
using namespace orvane::host;

namespace {

struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> bgrx;  // rows top to bottom
  std::uint32_t At(int x, int y) const { return bgrx[static_cast<std::size_t>(y) * width + x]; }
};

Pixels Capture(HDC source, int width, int height) {
  Pixels p;
  p.width = width;
  p.height = height;
  p.bgrx.resize(static_cast<std::size_t>(width) * height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  orvane::common::BitmapPtr dib(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  orvane::common::MemoryDc memory(dib.get(), source);
  BitBlt(memory.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
  GdiFlush();
  std::copy_n(static_cast<std::uint32_t*>(bits), p.bgrx.size(), p.bgrx.data());
  return p;
}

Pixels OfBitmap(HBITMAP bitmap) {
  BITMAP b{};
  GetObjectW(bitmap, sizeof b, &b);
  HDC screen = GetDC(nullptr);
  Pixels p = Capture(orvane::common::MemoryDc(bitmap, screen).Get(), b.bmWidth, b.bmHeight);
  ReleaseDC(nullptr, screen);
  return p;
}

Pixels OfWindow(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  HDC dc = GetDC(window);
  Pixels p = Capture(dc, r.right, r.bottom);
  ReleaseDC(window, dc);
  return p;
}

int Red(std::uint32_t c) { return (c >> 16) & 0xFF; }
int Green(std::uint32_t c) { return (c >> 8) & 0xFF; }
int Blue(std::uint32_t c) { return c & 0xFF; }

// Serves this thread's messages for MS milliseconds (at least one pass) and
// says whether the preview posted WM_QUIT meanwhile.
bool Pump(int ms = 0) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  MSG msg;
  bool quit = false;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (ms > 0) Sleep(10);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
  return quit;
}

// Mean of one channel over a rectangle of the picture.
double Mean(const Pixels& p, int (*channel)(std::uint32_t), int x0, int y0, int x1, int y1) {
  double sum = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) sum += channel(p.At(x, y));
  return sum / ((x1 - x0) * (y1 - y0));
}

HWND MakeParent(int width, int height, DWORD frame = 0) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"PreviewArea";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"PreviewArea",
                         WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | frame, 0, 0, width, height,
                         nullptr, nullptr, wc.hInstance, nullptr);
}

TEST(PreviewPicture, TheSystemDecodesTheEmbeddedStill) {
  HBITMAP picture = LoadPreviewPicture(GetModuleHandleW(nullptr));
  ASSERT_NE(picture, nullptr);
  Pixels p = OfBitmap(picture);
  DeleteObject(picture);
  ASSERT_EQ(p.width, 152);
  ASSERT_EQ(p.height, 112);
  int dark = 0, lit = 0, pinkish = 0;
  for (std::uint32_t c : p.bgrx) {
    int top = std::max({Red(c), Green(c), Blue(c)});
    if (top < 24) ++dark;
    if (top >= 64) {
      ++lit;
      if (Red(c) > Green(c) + 16 && Blue(c) > Green(c) + 16) ++pinkish;
    }
  }
  EXPECT_GT(dark, 152 * 112 / 10);
  EXPECT_GT(lit, 152 * 112 / 4);
  EXPECT_GT(pinkish, lit * 9 / 10);
}

TEST(PreviewWindow, ShowsThePictureEdgeToEdgeAt152By112) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HBITMAP picture = LoadPreviewPicture(instance);
  ASSERT_NE(picture, nullptr);
  Pixels want = OfBitmap(picture);
  DeleteObject(picture);

  HWND window = CreatePreviewWindow(instance);
  ASSERT_NE(window, nullptr);
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"Preview Window");
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 152, 112, SWP_SHOWWINDOW);
  UpdateWindow(window);
  Pump(300);
  Pixels got = OfWindow(window);
  ASSERT_EQ(got.width, 152);
  ASSERT_EQ(got.height, 112);
  int differing = 0;
  for (std::size_t i = 0; i < got.bgrx.size(); ++i)
    differing += (got.bgrx[i] & 0xFFFFFF) != (want.bgrx[i] & 0xFFFFFF);
  EXPECT_EQ(differing, 0);

  // Another size shows the whole picture scaled, not a corner of it.
  SetWindowPos(window, nullptr, 0, 0, 304, 224, SWP_NOZORDER);
  UpdateWindow(window);
  Pump(300);
  Pixels big = OfWindow(window);
  ASSERT_EQ(big.width, 304);
  for (auto channel : {Red, Green, Blue}) {
    EXPECT_NEAR(Mean(big, channel, 152, 112, 304, 224), Mean(want, channel, 76, 56, 152, 112), 6.0);
    EXPECT_NEAR(Mean(big, channel, 0, 0, 152, 112), Mean(want, channel, 0, 0, 76, 56), 6.0);
  }
  DestroyWindow(window);
  EXPECT_TRUE(Pump()) << "closing the preview ends the program";
}

TEST(PreviewWindow, IsAChildOfThePreviewAreaAtItsFullSize) {
  HWND area = MakeParent(152, 112);
  ASSERT_NE(area, nullptr);
  ASSERT_TRUE(ShowPreviewWindow(GetModuleHandleW(nullptr), area));
  HWND preview = FindWindowExW(area, nullptr, L"Orvane_R", L"Preview Window");
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(GetParent(preview), area);
  LONG style = GetWindowLongW(preview, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_TRUE(style & WS_VISIBLE);
  RECT r;
  GetWindowRect(preview, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 152);
  EXPECT_EQ(r.bottom - r.top, 112);
  EXPECT_FALSE(Pump(100));

  // A child cannot also be a popup: the system would treat it as neither.
  EXPECT_EQ(style & WS_POPUP, 0);
  EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU | WS_DLGFRAME), 0);
  EXPECT_EQ(GetWindowLongW(preview, GWL_EXSTYLE), 0);
  EXPECT_EQ(GetMenu(preview), nullptr);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrW(preview, GCLP_HBRBACKGROUND)),
            GetStockObject(BLACK_BRUSH));
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(preview, GCLP_HCURSOR)),
            LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
  // A click on the still activates the window that holds it, as default
  // processing has it; the click itself does nothing else.
  EXPECT_EQ(SendMessageW(preview, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(area),
                         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_ACTIVATE);
  SendMessageW(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(preview, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(IsWindow(preview));
  EXPECT_FALSE(Pump(100));

  // The area goes away without closing the preview first.
  DestroyWindow(area);
  EXPECT_FALSE(IsWindow(preview));
  EXPECT_TRUE(Pump()) << "the program ends with its preview area";
}

TEST(PreviewWindow, CoversTheAreasClientRectangleExactly) {
  // An area with a frame of its own: the preview covers what lies inside the frame, no more.
  struct Area {
    int width, height;
    DWORD frame;
  } areas[] = {{152, 112, 0}, {300, 200, 0}, {160, 120, WS_BORDER}, {160, 120, WS_DLGFRAME}};
  for (const Area& a : areas) {
    SCOPED_TRACE(testing::Message() << a.width << "x" << a.height << " frame " << a.frame);
    HWND area = MakeParent(a.width, a.height, a.frame);
    ASSERT_NE(area, nullptr);
    ASSERT_TRUE(ShowPreviewWindow(GetModuleHandleW(nullptr), area));
    HWND preview = FindWindowExW(area, nullptr, L"Orvane_R", L"Preview Window");
    ASSERT_NE(preview, nullptr);
    RECT client{}, covered{};
    GetClientRect(area, &client);
    GetWindowRect(preview, &covered);
    MapWindowPoints(nullptr, area, reinterpret_cast<POINT*>(&covered), 2);
    EXPECT_EQ(covered.left, 0);
    EXPECT_EQ(covered.top, 0);
    EXPECT_EQ(covered.right, client.right);
    EXPECT_EQ(covered.bottom, client.bottom);
    DestroyWindow(area);
    Pump();
  }
}

TEST(PreviewWindow, NoWindowIsMadeForAHandleThatIsNoWindow) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  EXPECT_FALSE(ShowPreviewWindow(instance, nullptr));
  EXPECT_FALSE(ShowPreviewWindow(instance, reinterpret_cast<HWND>(static_cast<INT_PTR>(1234))));
  EXPECT_EQ(FindWindowW(L"Orvane_R", nullptr), nullptr);
}

}  // namespace
