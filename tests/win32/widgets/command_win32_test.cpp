// The push button window under Wine: its drawing read back pixel by pixel, and its messages.
#include "common/win32_gdi.h"
#include "tests/win32/screen_reader.h"
#include "widgets/command_resources.h"
#include "widgets/win32_command.h"
#include "widgets/win32_command_testing.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace orvane::common;
using namespace orvane::widgets;

namespace {

using orvane::widgets::Picture;

constexpr int kButtonId = 101;

struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;  // 0xRRGGBB, rows top to bottom
  uint32_t At(int x, int y) const { return rgb[y * width + x]; }
};

int R(uint32_t c) { return (c >> 16) & 0xFF; }
int G(uint32_t c) { return (c >> 8) & 0xFF; }
int B(uint32_t c) { return c & 0xFF; }

Pixels FromDib(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  Pixels p;
  p.width = width;
  p.height = height;
  p.rgb.resize(width * height);
  GetDIBits(dc, bitmap, 0, height, p.rgb.data(), &info, DIB_RGB_COLORS);
  for (auto& c : p.rgb) c &= 0xFFFFFF;  // BGRA in memory reads as 0x00RRGGBB
  return p;
}

// The button drawn into a memory DC.
Pixels Capture(HWND button) {
  RECT r;
  GetClientRect(button, &r);
  HDC screen = GetDC(nullptr);
  orvane::common::BitmapPtr bitmap(CreateCompatibleBitmap(screen, r.right, r.bottom));
  {
    orvane::common::MemoryDc dc(bitmap.get(), screen);
    SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
  }
  Pixels p = FromDib(screen, bitmap.get(), r.right, r.bottom);
  ReleaseDC(nullptr, screen);
  return p;
}

Pixels Picture(int id) {
  orvane::common::BitmapPtr bitmap(static_cast<HBITMAP>(LoadImageW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  EXPECT_NE(bitmap.get(), nullptr);
  HDC screen = GetDC(nullptr);
  Pixels p = FromDib(screen, bitmap.get(), 64, 25);
  ReleaseDC(nullptr, screen);
  return p;
}

struct Parent {
  static inline int clicks = 0;
  static inline LPARAM lastSender = 0;
  static inline bool destroyOnClick = false;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
      ++clicks;
      lastSender = lParam;
      if (destroyOnClick) DestroyWindow(reinterpret_cast<HWND>(lParam));
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
};

class CommandWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(RegisterCommandClass(instance));
    ASSERT_TRUE(RegisterCommandClass(instance));  // a second registration is harmless
    WNDCLASSW wc{};
    wc.lpfnWndProc = Parent::Proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"CommandTestParent";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    parent_ = CreateWindowExW(0, L"CommandTestParent", L"Command test", WS_OVERLAPPEDWINDOW, 0, 0,
                              300, 200, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(parent_, nullptr);
    Parent::clicks = 0;
    Parent::lastSender = 0;
    Parent::destroyOnClick = false;
  }
  void TearDown() override { DestroyWindow(parent_); }

  HWND Create(const wchar_t* caption, int width, int height, DWORD extraStyle = 0) {
    return CreateWindowExW(0, kCommandClassName, caption,
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | extraStyle, 10, 10, width, height,
                           parent_, reinterpret_cast<HMENU>(kButtonId), GetModuleHandleW(nullptr),
                           nullptr);
  }

  HWND parent_ = nullptr;
};

void Mouse(HWND button, UINT message, WPARAM keys = 0, int x = 5, int y = 5) {
  SendMessageW(button, message, keys, MAKELPARAM(x, y));
}

// Row y of a gradient from `top` to `bottom` drawn over rows 0 .. height - 1.
uint32_t GradientAt(uint32_t top, uint32_t bottom, int y, int height) {
  auto lerp = [&](int a, int b) { return a + (b - a) * y / (height - 1); };
  return (lerp(R(top), R(bottom)) << 16) | (lerp(G(top), G(bottom)) << 8) | lerp(B(top), B(bottom));
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
  return std::abs(R(a) - R(b)) <= tolerance && std::abs(G(a) - G(b)) <= tolerance &&
         std::abs(B(a) - B(b)) <= tolerance;
}

void ExpectFrame(const Pixels& shot, const Pixels& picture) {
  int mismatches = 0;
  for (int y = 0; y < 25; ++y) {
    for (int x = 0; x < 64; ++x) {
      const bool frame = x < 4 || y < 4 || x >= 60 || y >= 21;
      if (frame && shot.At(x, y) != picture.At(x, y) && ++mismatches < 5) {
        ADD_FAILURE() << "frame pixel " << x << "," << y << ": " << std::hex << shot.At(x, y)
                      << " != " << picture.At(x, y);
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

void ExpectGradient(const Pixels& shot, uint32_t top, uint32_t bottom) {
  for (int y = 4; y < shot.height - 4; ++y) {
    for (int x : {4, shot.width / 2, shot.width - 5}) {
      EXPECT_TRUE(Near(shot.At(x, y), GradientAt(top, bottom, y, shot.height), 2))
          << "row " << y << " column " << x << ": " << std::hex << shot.At(x, y);
    }
  }
}

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlueGrey = 0xC6C5D7;  // red 198, green 197, blue 215

TEST_F(CommandWindowTest, FullSizeShowsEachPictureFrameOneToOneOverTheGradient) {
  HWND button = Create(L"", 64, 25);  // 960 x 375 twips
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(CommandLastLook(button), Picture::Normal);
  Pixels normal = Capture(button);
  ExpectFrame(normal, Picture(IDB_COMMAND_NORMAL));
  ExpectGradient(normal, kWhite, kBlueGrey);

  CommandInitialize(button);
  Mouse(button, WM_MOUSEMOVE, 0, 30, 12);
  EXPECT_EQ(CommandState(button), 2);
  EXPECT_EQ(CommandLastLook(button), Picture::HighLight);
  Pixels highlight = Capture(button);
  ExpectFrame(highlight, Picture(IDB_COMMAND_HIGHLIGHT));
  ExpectGradient(highlight, kBlueGrey, kWhite);

  Mouse(button, WM_LBUTTONDOWN, MK_LBUTTON, 30, 12);
  EXPECT_EQ(CommandLastLook(button), Picture::Pressed);
  ExpectFrame(Capture(button), Picture(IDB_COMMAND_PRESSED));
  Mouse(button, WM_LBUTTONUP, 0, 30, 12);
  ReleaseCapture();

  EnableWindow(button, FALSE);
  EXPECT_EQ(CommandLastLook(button), Picture::Disable);
  ExpectFrame(Capture(button), Picture(IDB_COMMAND_DISABLE));
}

TEST_F(CommandWindowTest, SmallButtonShrinksTheEdgesAndKeepsTheCorners) {
  HWND button = Create(L"", 29, 21);  // 435 x 315 twips
  ASSERT_NE(button, nullptr);
  const Pixels shot = Capture(button);
  const Pixels picture = Picture(IDB_COMMAND_NORMAL);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(shot.At(x, y), picture.At(x, y));                      // top left
      EXPECT_EQ(shot.At(25 + x, y), picture.At(60 + x, y));            // top right
      EXPECT_EQ(shot.At(x, 17 + y), picture.At(x, 21 + y));            // bottom left
      EXPECT_EQ(shot.At(25 + x, 17 + y), picture.At(60 + x, 21 + y));  // bottom right
    }
  }
  // Each edge pixel comes from the same band of the picture.
  auto inRow = [&](uint32_t c, int y) {
    for (int x = 4; x < 60; ++x)
      if (picture.At(x, y) == c) return true;
    return false;
  };
  auto inColumn = [&](uint32_t c, int x) {
    for (int y = 4; y < 21; ++y)
      if (picture.At(x, y) == c) return true;
    return false;
  };
  for (int k = 0; k < 4; ++k) {
    for (int x = 4; x < 25; ++x) {
      EXPECT_TRUE(inRow(shot.At(x, k), k)) << x << "," << k;
      EXPECT_TRUE(inRow(shot.At(x, 17 + k), 21 + k)) << x << "," << 17 + k;
    }
    for (int y = 4; y < 17; ++y) {
      EXPECT_TRUE(inColumn(shot.At(k, y), k)) << k << "," << y;
      EXPECT_TRUE(inColumn(shot.At(25 + k, y), 60 + k)) << 25 + k << "," << y;
    }
  }
  ExpectGradient(shot, kWhite, kBlueGrey);
}

// Rows of the middle columns that hold caption pixels darker than `limit` (summed channels).
std::vector<int> InkRows(const Pixels& shot, int limit) {
  std::vector<int> rows;
  for (int y = 4; y < shot.height - 4; ++y) {
    for (int x = 8; x < shot.width - 8; ++x) {
      const uint32_t c = shot.At(x, y);
      if (R(c) + G(c) + B(c) < limit) {
        rows.push_back(y);
        break;
      }
    }
  }
  return rows;
}

TEST_F(CommandWindowTest, CaptionSitsInItsLabelAndGreysWhenDisabled) {
  HWND button = Create(L"ＨＩＩ", 64, 25);
  ASSERT_NE(button, nullptr);
  Pixels shot = Capture(button);
  const std::vector<int> rows = InkRows(shot, 200);
  ASSERT_FALSE(rows.empty()) << "no caption drawn";
  // Label top 80 twips is row 5; its 195 twips are 13 rows.
  EXPECT_GE(rows.front(), 5);
  EXPECT_LE(rows.back(), 17);

  EnableWindow(button, FALSE);
  shot = Capture(button);
  EXPECT_TRUE(InkRows(shot, 200).empty()) << "a disabled caption is not drawn black";
  EXPECT_FALSE(InkRows(shot, 600).empty()) << "a disabled caption is still drawn";
}

TEST_F(CommandWindowTest, ClickReachesTheParentOnce) {
  HWND button = Create(L"OK", 64, 25);
  CommandInitialize(button);
  Mouse(button, WM_MOUSEMOVE);
  Mouse(button, WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_EQ(GetCapture(), button);
  Mouse(button, WM_LBUTTONUP);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Parent::clicks, 1);
  EXPECT_EQ(Parent::lastSender, reinterpret_cast<LPARAM>(button));
}

TEST_F(CommandWindowTest, ParentMayDestroyTheButtonInItsClick) {
  HWND button = Create(L"OK", 64, 25);
  Parent::destroyOnClick = true;
  Mouse(button, WM_RBUTTONDOWN, MK_RBUTTON);
  Mouse(button, WM_RBUTTONUP);
  EXPECT_EQ(Parent::clicks, 1);
  EXPECT_FALSE(IsWindow(button));
}

TEST_F(CommandWindowTest, PropertiesThroughMessages) {
  HWND button = Create(L"Command", 64, 25);
  // The parent has no font: the button's own font stands in for it.
  EXPECT_NE(SendMessageW(button, WM_GETFONT, 0, 0), 0);
  wchar_t text[32];
  SetWindowTextW(button, L"設定");
  GetWindowTextW(button, text, 32);
  EXPECT_STREQ(text, L"設定");

  CommandSetFontColour(button, RGB(200, 0, 0));
  EXPECT_EQ(CommandFontColour(button), RGB(200, 0, 0));

  CommandSetVisible(button, 7);
  EXPECT_EQ(CommandVisible(button), 255);
  CommandSetVisible(button, 0);
  EXPECT_EQ(CommandVisible(button), 0);

  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), font);

  EXPECT_TRUE(CommandEnabled(button));
  EnableWindow(button, FALSE);
  EXPECT_FALSE(CommandEnabled(button));
  EXPECT_EQ(CommandLastLook(button), Picture::Disable);
}

TEST_F(CommandWindowTest, SettingEnabledAgainRepaintsNormal) {
  HWND button = Create(L"", 64, 25);
  CommandInitialize(button);
  Mouse(button, WM_MOUSEMOVE);
  EXPECT_EQ(CommandLastLook(button), Picture::HighLight);
  CommandSetEnabled(button, true);
  EXPECT_EQ(CommandLastLook(button), Picture::Normal);
  EXPECT_EQ(CommandState(button), 2);
  CommandSetEnabled(button, false);
  EXPECT_FALSE(IsWindowEnabled(button));
  EXPECT_EQ(CommandLastLook(button), Picture::Disable);
  CommandSetEnabled(button, true);
  EXPECT_TRUE(IsWindowEnabled(button));
  EXPECT_EQ(CommandLastLook(button), Picture::Normal);
}

TEST_F(CommandWindowTest, TransparentSurfaceShowsTheContainer) {
  HWND button = Create(L"", 64, 25);
  CommandSetVisible(button, 0);
  const Pixels shot = Capture(button);
  const uint32_t window = GetSysColor(COLOR_WINDOW);  // the parent's class background
  const uint32_t expected =
      (GetRValue(window) << 16) | (GetGValue(window) << 8) | GetBValue(window);
  for (auto [x, y] : {std::pair{0, 0}, {32, 12}, {63, 24}})
    EXPECT_EQ(shot.At(x, y), expected) << x << "," << y;
  CommandSetVisible(button, 1);
  EXPECT_EQ(Capture(button).At(0, 0), Picture(IDB_COMMAND_NORMAL).At(0, 0));
}

TEST_F(CommandWindowTest, CreatedDisabledStartsWithTheDisableLook) {
  HWND button = Create(L"...", 29, 21, WS_DISABLED);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(CommandLastLook(button), Picture::Disable);
  Mouse(button, WM_LBUTTONDOWN, MK_LBUTTON);
  Mouse(button, WM_LBUTTONUP);
  ReleaseCapture();
  EXPECT_EQ(Parent::clicks, 0);
}

}  // namespace

namespace {

using Look = orvane::widgets::Picture;

void Key(HWND button, UINT message, WPARAM key, bool repeat = false) {
  SendMessageW(button, message, key, repeat ? (1 << 30) : 0);
}

// Keys on a focused button: the same looks and Click as the mouse gives it.
TEST_F(CommandWindowTest, SpaceAndEnterClickTheFocusedButton) {
  HWND button = Create(L"OK", 64, 25);
  CommandInitialize(button);
  SetFocus(button);
  struct Step {
    UINT message;
    WPARAM key;
    bool repeat;
    Look look;
    int clicks;
  };
  const Step steps[] = {
      {WM_KEYDOWN, VK_SPACE, false, Look::Pressed, 0},
      {WM_KEYDOWN, VK_SPACE, true, Look::Pressed, 0},
      {WM_KEYUP, VK_SPACE, false, Look::Selected, 1},
      {WM_KEYDOWN, VK_RETURN, false, Look::Selected, 2},
      {WM_KEYDOWN, VK_RETURN, true, Look::Selected, 2},
      {WM_KEYUP, VK_RETURN, false, Look::Selected, 2},
      {WM_KEYDOWN, 'A', false, Look::Selected, 2},
  };
  for (const Step& s : steps) {
    Key(button, s.message, s.key, s.repeat);
    EXPECT_EQ(CommandLastLook(button), s.look) << s.message << " " << s.key;
    EXPECT_EQ(Parent::clicks, s.clicks) << s.message << " " << s.key;
  }
  EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
}

TEST_F(CommandWindowTest, EnterMayDestroyTheButtonInItsClick) {
  HWND button = Create(L"OK", 64, 25);
  Parent::destroyOnClick = true;
  SetFocus(button);
  Key(button, WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(Parent::clicks, 1);
  EXPECT_FALSE(IsWindow(button));
}

// Pixels inside the frame that differ between two pictures of one button.
int Differences(const Pixels& a, const Pixels& b) {
  int n = 0;
  for (int y = 4; y < a.height - 4; ++y)
    for (int x = 4; x < a.width - 4; ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

TEST_F(CommandWindowTest, FocusShowsADottedRectangleInsideTheFrame) {
  HWND button = Create(L"", 64, 25);
  HWND other = Create(L"", 64, 25);
  CommandInitialize(button);
  SetFocus(button);
  ASSERT_EQ(GetFocus(), button);
  const Pixels focused = Capture(button);
  SetFocus(other);
  const Pixels unfocused = Capture(button);
  // Selected and Normal share the gradient; only the cue tells them apart inside the frame.
  EXPECT_GT(Differences(focused, unfocused), 40);
  ExpectFrame(unfocused, Picture(IDB_COMMAND_NORMAL));
  ExpectFrame(focused, Picture(IDB_COMMAND_SELECTED));
  // The cue runs one pixel inside the frame: the row and column next to the frame are clear.
  for (int x = 4; x < 60; ++x) EXPECT_EQ(focused.At(x, 4), unfocused.At(x, 4)) << x;
  int marked = 0;
  for (int x = 5; x < 59; ++x) marked += focused.At(x, 5) != unfocused.At(x, 5);
  EXPECT_GT(marked, 20);
}

}  // namespace

namespace {

using orvane::testing::AccessibleOf;
using orvane::testing::Ask;
using orvane::testing::Child;
using orvane::testing::Heard;

VARIANT Self() { return Child(CHILDID_SELF); }

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST_F(CommandWindowTest, ScreenReadersHearAPushButtonNamedByItsCaption) {
  HWND button = Create(L"設定", 64, 25);
  HWND disabled = Create(L"...", 29, 21, WS_DISABLED);
  CommandInitialize(button);
  SetFocus(button);
  struct Case {
    HWND window;
    const wchar_t* name;
    long state;
  };
  for (const Case& c : {Case{button, L"設定", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED},
                        Case{disabled, L"...", STATE_SYSTEM_UNAVAILABLE}}) {
    IAccessible* object = AccessibleOf(c.window);
    ASSERT_NE(object, nullptr);
    const Heard h = Ask(object);
    EXPECT_EQ(h.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(h.name, c.name);
    // (The test's parent window is never shown: the buttons also say they are invisible.)
    EXPECT_EQ(h.state, c.state | STATE_SYSTEM_INVISIBLE) << std::hex << h.state;
    EXPECT_EQ(h.action, L"Press");
    object->Release();
  }
  // A new caption is heard at once.
  SetWindowTextW(button, L"保存");
  IAccessible* object = AccessibleOf(button);
  EXPECT_EQ(Ask(object).name, L"保存");
  object->Release();
}

TEST_F(CommandWindowTest, PressThroughTheInterfaceClicksOnceTheCallHasReturned) {
  HWND button = Create(L"OK", 64, 25);
  HWND disabled = Create(L"...", 29, 21, WS_DISABLED);
  IAccessible* object = AccessibleOf(button);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->accDoDefaultAction(Self()), S_OK);
  EXPECT_EQ(Parent::clicks, 0) << "the click waits for the window's own queue";
  PumpMessages();
  EXPECT_EQ(Parent::clicks, 1);
  VARIANT part = Self();
  part.lVal = 1;
  EXPECT_EQ(object->accDoDefaultAction(part), E_INVALIDARG);

  IAccessible* off = AccessibleOf(disabled);
  ASSERT_NE(off, nullptr);
  EXPECT_EQ(off->accDoDefaultAction(Self()), DISP_E_MEMBERNOTFOUND);
  PumpMessages();
  EXPECT_EQ(Parent::clicks, 1);
  off->Release();

  // Held past the window's end, the interface answers that it is gone.
  DestroyWindow(button);
  BSTR name = nullptr;
  EXPECT_EQ(object->get_accName(Self(), &name), RPC_E_DISCONNECTED);
  EXPECT_EQ(object->accDoDefaultAction(Self()), RPC_E_DISCONNECTED);
  object->Release();
}

}  // namespace
