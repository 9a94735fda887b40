// The settings dialog's window under Wine, driven by messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dialog/dialog_layout.h"
#include "dialog/dialog_resources.h"
#include "dialog/music_choice.h"
#include "common/win32_gdi.h"
#include "common/win32_ini_store.h"
#include "dialog/win32_settings_dialog.h"
#include "dialog/win32_settings_dialog_testing.h"
#include "tests/fakes/fake_ini_store.h"
#include "widgets/win32_command.h"
#include "widgets/win32_command_testing.h"

using namespace orvane::common;
using namespace orvane::dialog;
using namespace orvane::widgets;

namespace orvane::dialog {
namespace {

using orvane::fakes::FakeIniStore;

class SettingsDialogTest : public ::testing::Test {
 protected:
  Settings settings_{2, 0, "C:\\Music\\song.mp3"};
  int16_t& mode_ = settings_.musicMode;
  int16_t& track_ = settings_.repeatTrack;
  FakeIniStore store_;
  std::vector<FakeIniStore::Write>& writes_ = store_.writes;
  std::vector<std::wstring> reports_;
  DialogEnvironment env_{&settings_, &store_, [] { return std::string("C:\\Saver\\Orvane.ini"); },
                         [this](HWND, const std::wstring& text) { reports_.push_back(text); }};
  HWND dialog_ = nullptr;

  void TearDown() override {
    if (dialog_ && IsWindow(dialog_)) DestroyWindow(dialog_);
    Pump();
  }

  void Open() {
    dialog_ = OpenSettingsDialog(GetModuleHandleW(nullptr), &env_);
    ASSERT_NE(dialog_, nullptr);
    Pump();
  }

  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  HWND Control(int id) const {
    HWND panel = GetDlgItem(dialog_, IDC_MUSIC_PANEL);
    HWND w = GetDlgItem(dialog_, id);
    return w ? w : GetDlgItem(panel, id);
  }

  void Click(int id) {
    SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Control(id));
  }

  void PressOnPanel(UINT message, int x, int y) {
    SendMessageW(Control(IDC_MUSIC_PANEL), message, 0, MAKELPARAM(x, y));
  }

  // Opens on the audio CD, types `repeat` into the repeat box and presses 設定.
  void SaveWithRepeat(const wchar_t* repeat) {
    mode_ = 1;
    Open();
    SetWindowTextW(Control(IDC_REPEAT_BOX), repeat);
    Click(IDC_SAVE_BUTTON);
  }

  std::wstring Text(HWND w) const {
    wchar_t buffer[256] = {};
    GetWindowTextW(w, buffer, 256);
    return buffer;
  }

  RECT PlaceIn(HWND w, HWND parent) const {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

void ExpectPlace(RECT r, TwipRect twips, const char* name, int dpi = kDefaultDpi) {
  const PixelRect p = ToPixels(twips, dpi);
  EXPECT_EQ(r.left, p.x) << name;
  EXPECT_EQ(r.top, p.y) << name;
  EXPECT_EQ(r.right - r.left, p.width) << name;
  EXPECT_EQ(r.bottom - r.top, p.height) << name;
}

TEST_F(SettingsDialogTest, WindowFrameAndPlaces) {
  Open();
  EXPECT_EQ(Text(dialog_), L"<Orvane>");
  RECT client;
  GetClientRect(dialog_, &client);
  EXPECT_EQ(client.right, 479);
  EXPECT_EQ(client.bottom, 252);
  const LONG style = GetWindowLongW(dialog_, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME));
  EXPECT_NE(SendMessageW(dialog_, WM_GETICON, ICON_BIG, 0), 0);

  RECT frame;
  GetWindowRect(dialog_, &frame);
  const Point expected =
      DialogPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                     frame.right - frame.left, frame.bottom - frame.top);
  EXPECT_EQ(frame.left, expected.x);
  EXPECT_EQ(frame.top, expected.y);

  HWND panel = Control(IDC_MUSIC_PANEL);
  ExpectPlace(PlaceIn(panel, dialog_), kMusicPanel, "Pic_C");
  ExpectPlace(PlaceIn(Control(IDC_OTHER_WORKS_BUTTON), dialog_), kOtherWorksButton, "Cmd_Etc");
  ExpectPlace(PlaceIn(Control(IDC_SAVE_BUTTON), dialog_), kSaveButton, "Cmd_Set");
  ExpectPlace(PlaceIn(Control(IDC_CANCEL_BUTTON), dialog_), kCancelButton, "Cmd_Can");
  ExpectPlace(PlaceIn(Control(IDC_BROWSE_BUTTON), panel), kBrowseButton, "Cmd_BGM");
  ExpectPlace(PlaceIn(Control(IDC_REPEAT_BOX), panel), kRepeatBox, "BGM_Repeat");
  EXPECT_EQ(Text(Control(IDC_OTHER_WORKS_BUTTON)), L"その他の作品");
  EXPECT_EQ(Text(Control(IDC_SAVE_BUTTON)), L"設定");
  EXPECT_EQ(Text(Control(IDC_CANCEL_BUTTON)), L"ｷｬﾝｾﾙ");
  EXPECT_EQ(Text(Control(IDC_BROWSE_BUTTON)), L"...");
  for (int id : {IDC_OTHER_WORKS_BUTTON, IDC_SAVE_BUTTON, IDC_CANCEL_BUTTON, IDC_BROWSE_BUTTON}) {
    EXPECT_EQ(CommandState(Control(id)), 1) << "Initialize ran on button " << id;
  }
}

TEST_F(SettingsDialogTest, LoadShowsTheSettings) {
  struct Case {
    int16_t mode;
    int16_t track;
    int indicator;
    bool repeat, browse;
    const wchar_t* repeatText;
  };
  for (const Case& c : std::vector<Case>{{0, 0, 0, false, false, L""},
                                         {1, 12, 1, true, false, L"12"},
                                         {2, -3, 2, false, true, L"-3"},
                                         {3, 30, -1, false, false, L"30"}}) {
    mode_ = c.mode;
    track_ = c.track;
    Open();
    EXPECT_EQ(SelectedIndicator(dialog_), c.indicator) << c.mode;
    EXPECT_EQ(IsWindowEnabled(Control(IDC_REPEAT_BOX)) != 0, c.repeat) << c.mode;
    EXPECT_EQ(IsWindowEnabled(Control(IDC_BROWSE_BUTTON)) != 0, c.browse) << c.mode;
    EXPECT_EQ(Text(Control(IDC_REPEAT_BOX)), c.repeatText);
    EXPECT_EQ(FileLabelText(dialog_), L"C:\\Music\\song.mp3");
    DestroyWindow(dialog_);
  }
  Open();
  HWND combo = Control(IDC_REPEAT_BOX);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 31);
  wchar_t item[16] = {};
  SendMessageW(combo, CB_GETLBTEXT, 0, (LPARAM)item);
  EXPECT_STREQ(item, L"");
  SendMessageW(combo, CB_GETLBTEXT, 30, (LPARAM)item);
  EXPECT_STREQ(item, L"30");
  POINT pointer;
  GetCursorPos(&pointer);
  EXPECT_EQ(SavedCursor(dialog_).x, pointer.x);
  EXPECT_EQ(SavedCursor(dialog_).y, pointer.y);
}

TEST_F(SettingsDialogTest, AnyMouseButtonOnIndicatorOrLabelSelects) {
  mode_ = 0;
  Open();
  struct Case {
    UINT message;
    int x, y;  // in Pic_C
    int mode;
  };
  for (const Case& c :
       std::vector<Case>{{WM_LBUTTONDOWN, 40, 60, 1},       // "音楽CD"
                         {WM_RBUTTONDOWN, 22, 98, 2},       // indicator of "MP3、WAV"
                         {WM_MBUTTONDOWN, 40, 80, 0},       // "無し"
                         {WM_RBUTTONDOWN, 25, 60, 1},       // indicator of "音楽CD"
                         {WM_LBUTTONDOWN, 200, 150, 1}}) {  // empty panel: no change
    PressOnPanel(c.message, c.x, c.y);
    EXPECT_EQ(mode_, c.mode) << c.x << "," << c.y;
    const ModeLook look = LookForMode(c.mode);
    EXPECT_EQ(SelectedIndicator(dialog_), look.selectedIndicator);
    EXPECT_EQ(IsWindowEnabled(Control(IDC_REPEAT_BOX)) != 0, look.repeatEnabled);
    EXPECT_EQ(IsWindowEnabled(Control(IDC_BROWSE_BUTTON)) != 0, look.browseEnabled);
  }
}

// Every mode click writes "..."'s Enabled off and on again, so a highlighted
// "..." shows Normal again even when the mode stays 2.
TEST_F(SettingsDialogTest, ModeClickRepaintsTheBrowseButton) {
  using orvane::widgets::Picture;
  struct Case {
    int x, y;  // in Pic_C
    Picture look;
  };
  mode_ = 2;
  Open();
  HWND browse = Control(IDC_BROWSE_BUTTON);
  for (const Case& c : std::vector<Case>{{22, 98, Picture::Normal},     // MP3、WAV again
                                         {40, 60, Picture::Disable},    // 音楽CD
                                         {22, 98, Picture::Normal}}) {  // back to MP3、WAV
    SendMessageW(browse, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));            // the pointer on "..."
    PressOnPanel(WM_LBUTTONDOWN, c.x, c.y);
    EXPECT_EQ(CommandLastLook(browse), c.look) << c.x << "," << c.y;
  }
}

// The client area of a button as the button paints it, 0x00RRGGBB per pixel.
std::vector<uint32_t> ButtonPixels(HWND button, LONG& width, LONG& height) {
  RECT r;
  GetClientRect(button, &r);
  width = r.right;
  height = r.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  orvane::common::BitmapPtr image(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!image) return {};
  {
    orvane::common::MemoryDc dc(image.get());
    SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
  }
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  std::vector<uint32_t> pixels(p, p + width * height);
  for (uint32_t& px : pixels) px &= 0xFFFFFF;
  return pixels;
}

// A see-through button shows the container it lies on, inside the real dialog.
TEST_F(SettingsDialogTest, TransparentButtonShowsThePanelBehindIt) {
  mode_ = 2;
  Open();
  HWND panel = Control(IDC_MUSIC_PANEL);
  HWND browse = Control(IDC_BROWSE_BUTTON);
  CommandSetVisible(browse, 0);
  const RECT place = PlaceIn(browse, panel);
  RECT panelClient;
  GetClientRect(panel, &panelClient);
  RECT r{};
  const std::vector<uint32_t> pixel = ButtonPixels(browse, r.right, r.bottom);
  ASSERT_FALSE(pixel.empty());
  // The corners lie outside the caption: there the panel's gradient shows.
  for (const POINT p : {POINT{0, 0}, POINT{r.right - 1, 0}, POINT{0, r.bottom - 1},
                        POINT{r.right - 1, r.bottom - 1}}) {
    const Rgb want = PanelGradientColour(place.top + p.y, panelClient.bottom);
    const uint32_t got = pixel[static_cast<size_t>(p.y * r.right + p.x)];
    EXPECT_EQ(got, static_cast<uint32_t>(want.r << 16 | want.g << 8 | want.b))
        << "at " << p.x << "," << p.y;
  }
}

// Moved to a monitor of another density, the dialog lays itself out at it in the place the
// system suggests: places, the buttons' pictures and the hit areas of the painted choices.
TEST_F(SettingsDialogTest, LaysItselfOutAgainAtANewDensity) {
  mode_ = 0;
  Open();
  RECT frame, client;
  GetWindowRect(dialog_, &frame);
  GetClientRect(dialog_, &client);
  const int frameWidth = frame.right - frame.left - client.right;
  const int frameHeight = frame.bottom - frame.top - client.bottom;
  struct Case {
    int dpi;
    int clientWidth, clientHeight;
  };
  for (const Case& c :
       std::vector<Case>{{144, 718, 378}, {192, 958, 504}, {120, 598, 315}, {96, 479, 252}}) {
    SCOPED_TRACE(c.dpi);
    const RECT suggested{frame.left, frame.top, frame.left + c.clientWidth + frameWidth,
                         frame.top + c.clientHeight + frameHeight};
    SendMessageW(dialog_, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(c.dpi, c.dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    Pump();
    RECT now;
    GetWindowRect(dialog_, &now);
    EXPECT_EQ(now.left, suggested.left);
    EXPECT_EQ(now.right, suggested.right);
    EXPECT_EQ(now.bottom, suggested.bottom);
    GetClientRect(dialog_, &client);
    EXPECT_EQ(client.right, c.clientWidth);
    EXPECT_EQ(client.bottom, c.clientHeight);

    HWND panel = Control(IDC_MUSIC_PANEL);
    ExpectPlace(PlaceIn(panel, dialog_), kMusicPanel, "Pic_C", c.dpi);
    ExpectPlace(PlaceIn(Control(IDC_OTHER_WORKS_BUTTON), dialog_), kOtherWorksButton, "Cmd_Etc",
                c.dpi);
    ExpectPlace(PlaceIn(Control(IDC_SAVE_BUTTON), dialog_), kSaveButton, "Cmd_Set", c.dpi);
    ExpectPlace(PlaceIn(Control(IDC_CANCEL_BUTTON), dialog_), kCancelButton, "Cmd_Can", c.dpi);
    ExpectPlace(PlaceIn(Control(IDC_BROWSE_BUTTON), panel), kBrowseButton, "Cmd_BGM", c.dpi);
    const RECT combo = PlaceIn(Control(IDC_REPEAT_BOX), panel);
    EXPECT_EQ(combo.left, ToPixels(kRepeatBox, c.dpi).x);
    EXPECT_EQ(combo.top, ToPixels(kRepeatBox, c.dpi).y);
    for (int id : {IDC_OTHER_WORKS_BUTTON, IDC_SAVE_BUTTON, IDC_CANCEL_BUTTON, IDC_BROWSE_BUTTON})
      EXPECT_EQ(CommandDpi(Control(id)), c.dpi) << "button " << id;

    // The painted choices answer at their places at this density: the middle of each label.
    for (int mode : {1, 2, 0}) {
      const PixelRect label = ToPixels(kModeLabels[static_cast<size_t>(mode)], c.dpi);
      PressOnPanel(WM_LBUTTONDOWN, label.x + label.width / 2, label.y + label.height / 2);
      EXPECT_EQ(mode_, mode);
    }

    // The frame of 設定 drawn at this density: its outline as many whole pixels as the ring
    // is wide, its colour exact right up to the next ring (no blur of a stretched picture).
    LONG w = 0, h = 0;
    const std::vector<uint32_t> pixels = ButtonPixels(Control(IDC_SAVE_BUTTON), w, h);
    ASSERT_EQ(w, ToPixels(kSaveButton, c.dpi).width);
    const int corner = TwipsToPixelsAt(60, c.dpi);
    const int outlineFirst = static_cast<int>(std::lround(corner / 4.0));
    const int outlineEnd = static_cast<int>(std::lround(corner / 2.0));
    for (int y = 0; y <= outlineEnd; ++y) {
      const uint32_t px = pixels[static_cast<size_t>(y) * w + w / 4];
      EXPECT_EQ(px == 0x003C74, y >= outlineFirst && y < outlineEnd)
          << "row " << y << " " << std::hex << px;
    }
  }
}

TEST_F(SettingsDialogTest, SaveWritesAndCloses) {
  SaveWithRepeat(L"7");
  EXPECT_FALSE(IsWindow(dialog_));
  ASSERT_EQ(writes_.size(), 3u);
  EXPECT_EQ(writes_[0].value, " 1");
  EXPECT_EQ(writes_[1].value, " 7");
  EXPECT_EQ(writes_[2].value, "C:\\Music\\song.mp3");
  EXPECT_EQ(writes_[2].file, "C:\\Saver\\Orvane.ini");
  EXPECT_EQ(track_, 7);
  EXPECT_TRUE(reports_.empty());
}

TEST_F(SettingsDialogTest, CancelAndCloseBoxWriteNothing) {
  for (bool closeBox : {false, true}) {
    Open();
    PressOnPanel(WM_LBUTTONDOWN, 40, 80);
    if (closeBox) {
      SendMessageW(dialog_, WM_CLOSE, 0, 0);
    } else {
      Click(IDC_CANCEL_BUTTON);
    }
    EXPECT_FALSE(IsWindow(dialog_));
  }
  EXPECT_TRUE(writes_.empty());
}

TEST_F(SettingsDialogTest, UnsavableRepeatNumberKeepsTheDialogOpen) {
  SaveWithRepeat(L"40000");
  EXPECT_TRUE(IsWindow(dialog_));
  EXPECT_TRUE(writes_.empty()) << "checked before the first write";
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find(L"32767"), std::wstring::npos);
  EXPECT_EQ(track_, 0);
}

TEST_F(SettingsDialogTest, FailedWriteIsReportedWithThePath) {
  store_.failAt = 1;
  Open();
  Click(IDC_SAVE_BUTTON);
  EXPECT_TRUE(IsWindow(dialog_));
  EXPECT_EQ(writes_.size(), 1u);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find(L"C:\\Saver\\Orvane.ini"), std::wstring::npos);
}

std::string TempIni(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The real profile functions: a settings file that another program holds
// open without sharing cannot be written; that is reported and the file stays
// as it was. (A read-only attribute does not stop root, so it is no test here.)
TEST_F(SettingsDialogTest, LockedSettingsFileUnderTheRealStore) {
  const std::string path = TempIni("orvane_dialog_locked.ini");
  { std::ofstream(path, std::ios::binary) << "[Section]\r\n"; }
  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  env_.settingsFile = [path] { return path; };
  Win32IniStore realStore;
  env_.store = &realStore;
  Open();
  Click(IDC_SAVE_BUTTON);
  EXPECT_TRUE(IsWindow(dialog_));
  CloseHandle(lock);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_NE(reports_[0].find(L"orvane_dialog_locked.ini"), std::wstring::npos);
  EXPECT_EQ(Bytes(path), "[Section]\r\n");
  DeleteFileA(path.c_str());
}

TEST_F(SettingsDialogTest, TabFollowsTheOrderAndSkipsDisabledControls) {
  mode_ = 0;  // repeat box and "..." disabled
  Open();
  SetForegroundWindow(dialog_);
  SetFocus(Control(IDC_MUSIC_PANEL));
  ASSERT_EQ(GetFocus(), Control(IDC_MUSIC_PANEL));
  const auto tab = [this] {
    MSG msg{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(HandleDialogKey(dialog_, msg));
    return GetFocus();
  };
  EXPECT_EQ(tab(), Control(IDC_SAVE_BUTTON));
  EXPECT_EQ(tab(), Control(IDC_CANCEL_BUTTON));
  EXPECT_EQ(tab(), Control(IDC_OTHER_WORKS_BUTTON));
  EXPECT_EQ(tab(), Control(IDC_MUSIC_PANEL));
  PressOnPanel(WM_LBUTTONDOWN, 40, 60);  // audio CD: the repeat box takes the focus now
  HWND focus = tab();
  EXPECT_TRUE(focus == Control(IDC_REPEAT_BOX) || IsChild(Control(IDC_REPEAT_BOX), focus));
}

TEST_F(SettingsDialogTest, RunEndsWhenTheDialogCloses) {
  Open();
  PostMessageW(dialog_, WM_CLOSE, 0, 0);
  RunSettingsDialog(dialog_);
  EXPECT_FALSE(IsWindow(dialog_));
  EXPECT_TRUE(writes_.empty());
}

}  // namespace
}  // namespace orvane::dialog
