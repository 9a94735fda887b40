// The settings dialog's window under Wine, driven by messages.
#include "common/win32_gdi.h"
#include "common/win32_ini_store.h"
#include "common/win32_text.h"
#include "dialog/dialog_layout.h"
#include "dialog/dialog_resources.h"
#include "dialog/music_choice.h"
#include "dialog/win32_settings_dialog.h"
#include "dialog/win32_settings_dialog_testing.h"
#include "dialog/win32_shell_open.h"
#include "tests/fakes/fake_ini_store.h"
#include "tests/win32/screen_reader.h"
#include "widgets/win32_command.h"
#include "widgets/win32_command_testing.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

using namespace orvane::common;
using namespace orvane::dialog;
using namespace orvane::widgets;

namespace orvane::dialog {
namespace {

using orvane::fakes::FakeIniStore;

class SettingsDialogTest : public ::testing::Test {
 protected:
  // The chosen mode as its stored number, as the cases below list it.
  struct StoredModeNumber {
    MusicMode& mode;
    operator int() const { return static_cast<int>(mode); }  // NOLINT(google-explicit-constructor)
    StoredModeNumber& operator=(int number) {
      mode = static_cast<MusicMode>(number);
      return *this;
    }
  };

  Settings settings_{MusicMode::File, 0, "C:\\Music\\song.mp3"};
  StoredModeNumber mode_{settings_.musicMode};
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
    const ModeLook look = LookForMode(static_cast<MusicMode>(c.mode));
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

// The file dialog is given the real size of its buffer, so whatever path it
// hands back reaches the dialog's own checks: a stand-in that keeps the
// documented rule (the path and its closing NUL must fit nMaxFile, else it
// fails as a Cancel does) stands in for the system's.
TEST_F(SettingsDialogTest, EveryChosenPathReachesTheDialogsOwnChecks) {
  const bool japanese = GetACP() == 932;
  struct Row {
    const char* name;
    std::wstring path;
    bool stored;
    const wchar_t* report;  // part of the message, when one is shown
  };
  const std::wstring kanji(130, L'\u66f2');  // 260 bytes in code page 932
  const Row rows[] = {
      {"255 characters", L"C:\\" + std::wstring(248, L'a') + L".mp3", true, nullptr},
      {"256 characters", L"C:\\" + std::wstring(249, L'a') + L".mp3", false, L"\u9577\u3059\u304e"},
      {"300 characters", L"C:\\" + std::wstring(292, L'a') + L".mp3", false, L"\u9577\u3059\u304e"},
      {"139 characters, more than 255 bytes", L"C:\\" + kanji + L"\\a.mp3", false,
       japanese ? L"\u9577\u3059\u304e" : L"\u6587\u5b57"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    settings_.musicFile = "C:\\Music\\song.mp3";
    reports_.clear();
    DWORD given = 0;
    env_.openFileDialog = [&](OPENFILENAMEW& request) {
      given = request.nMaxFile;
      if (row.path.size() + 1 > request.nMaxFile) return FALSE;
      std::copy(row.path.begin(), row.path.end(), request.lpstrFile);
      request.lpstrFile[row.path.size()] = L'\0';
      return TRUE;
    };
    mode_ = 2;
    Open();
    Click(IDC_BROWSE_BUTTON);
    EXPECT_GE(given, 256u);
    if (row.stored) {
      EXPECT_EQ(settings_.musicFile, ToUtf8(row.path));
      EXPECT_TRUE(reports_.empty());
    } else {
      EXPECT_EQ(settings_.musicFile, "C:\\Music\\song.mp3");
      ASSERT_EQ(reports_.size(), 1u);
      EXPECT_NE(reports_[0].find(row.report), std::wstring::npos);
    }
    DestroyWindow(dialog_);
    Pump();
  }
}

constexpr int kNoApartment = -2;

// The apartment this thread is in: STA, MTA, ..., or kNoApartment.
int ApartmentNow() {
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  if (FAILED(CoGetApartmentType(&type, &qualifier))) return kNoApartment;
  // The first single-threaded apartment of a process is its main one: the same kind.
  return type == APTTYPE_MAINSTA ? APTTYPE_STA : type;
}

// The shell is called from a single-threaded apartment, and the dialog's
// thread is left in the apartment it was in.
TEST_F(SettingsDialogTest, TheHomePageIsOpenedWithComReady) {
  std::vector<std::string> opened;
  int during = kNoApartment;
  env_.shellExecute = [&](HWND owner, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
    during = ApartmentNow();
    opened.push_back(std::string(verb) + " " + file + " " + std::to_string(show) +
                     (owner == dialog_ ? " owned" : ""));
    return reinterpret_cast<HINSTANCE>(33);
  };
  Open();
  const int before = ApartmentNow();
  Click(IDC_OTHER_WORKS_BUTTON);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].rfind("open https://", 0), 0u) << opened[0];
  EXPECT_NE(opened[0].find(" 1 owned"), std::string::npos) << opened[0];
  EXPECT_EQ(during, APTTYPE_STA);
  EXPECT_EQ(ApartmentNow(), before);
  EXPECT_TRUE(IsWindow(dialog_)) << "the dialog stays open";
}

// Each row on a thread of its own, which joined COM (or not) before the call.
TEST(OpenWithShell, JoinsComForTheCallAndLeavesTheThreadAsItWas) {
  struct Row {
    const char* name;
    int joined;  // kNoApartment, or how the thread joined COM before
    int during;
  };
  const Row rows[] = {
      {"not in COM", kNoApartment, APTTYPE_STA},
      {"single-threaded", COINIT_APARTMENTTHREADED, APTTYPE_STA},
      // Joining a single-threaded apartment then fails; the call goes on.
      {"multi-threaded", COINIT_MULTITHREADED, APTTYPE_MTA},
  };
  for (const Row& row : rows) {
    int during = -1, after = -1, afterLeaving = -1;
    std::thread([&] {
      if (row.joined != kNoApartment) CoInitializeEx(nullptr, static_cast<DWORD>(row.joined));
      const int before = ApartmentNow();
      OpenWithShell(nullptr, "https://example.org/",
                    [&](HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
                      during = ApartmentNow();
                      return reinterpret_cast<HINSTANCE>(33);
                    });
      after = ApartmentNow() == before ? 1 : 0;
      if (row.joined != kNoApartment) CoUninitialize();
      afterLeaving = ApartmentNow();
    }).join();
    EXPECT_EQ(during, row.during) << row.name;
    EXPECT_EQ(after, 1) << row.name << ": the thread is in the apartment it was in";
    EXPECT_EQ(afterLeaving, kNoApartment) << row.name << ": every join undone once";
  }
}

// Keys as a keyboard user presses them: the dialog's loop sees each first, then the focused
// control gets it.
TEST_F(SettingsDialogTest, KeysPressButtonsAndEscCancels) {
  struct Case {
    const char* what;
    int focus;  // control id, 0: the dialog itself
    std::vector<std::pair<UINT, WPARAM>> keys;
    bool closed;
    size_t writes;
  };
  const std::vector<Case> cases{
      {"Space on 設定 saves",
       IDC_SAVE_BUTTON,
       {{WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE}},
       true,
       3},
      {"Space held on 設定 does not save yet", IDC_SAVE_BUTTON, {{WM_KEYDOWN, VK_SPACE}}, false, 0},
      {"Enter on 設定 saves", IDC_SAVE_BUTTON, {{WM_KEYDOWN, VK_RETURN}}, true, 3},
      {"Enter on ｷｬﾝｾﾙ closes without saving",
       IDC_CANCEL_BUTTON,
       {{WM_KEYDOWN, VK_RETURN}},
       true,
       0},
      {"Esc on 設定 cancels", IDC_SAVE_BUTTON, {{WM_KEYDOWN, VK_ESCAPE}}, true, 0},
      {"Esc in the repeat box cancels", IDC_REPEAT_BOX, {{WM_KEYDOWN, VK_ESCAPE}}, true, 0},
      {"Esc on the panel cancels", IDC_MUSIC_PANEL, {{WM_KEYDOWN, VK_ESCAPE}}, true, 0},
      {"Esc on the dialog cancels", 0, {{WM_KEYDOWN, VK_ESCAPE}}, true, 0},
      {"other keys on 設定 do nothing",
       IDC_SAVE_BUTTON,
       {{WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}},
       false,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writes_.clear();
    mode_ = 1;
    Open();
    HWND target = c.focus ? Control(c.focus) : dialog_;
    SetFocus(target);
    for (auto [message, key] : c.keys) {
      HWND focus = GetFocus() ? GetFocus() : target;
      const MSG msg{focus, message, key, 0, 0, {0, 0}};
      if (!HandleDialogKey(dialog_, msg)) SendMessageW(focus, message, key, 0);
      if (!IsWindow(dialog_)) break;
    }
    EXPECT_EQ(!IsWindow(dialog_), c.closed);
    EXPECT_EQ(writes_.size(), c.writes);
    if (IsWindow(dialog_)) DestroyWindow(dialog_);
  }
}

TEST_F(SettingsDialogTest, ArrowsOnThePanelMoveTheChoice) {
  mode_ = 1;
  Open();
  HWND panel = Control(IDC_MUSIC_PANEL);
  SetFocus(panel);
  EXPECT_EQ(SendMessageW(panel, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  struct Step {
    WPARAM key;
    int mode;
  };
  // The focus cue leaves the old choice's text and goes to the new one's: both are repainted.
  const auto toRepaint = [panel](int mode) {
    const PixelRect r = ToPixels(kModeLabels[static_cast<size_t>(mode)]);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(panel, region, FALSE);
    const bool inside = PtInRegion(region, r.x - 1, r.y - 1) != 0;
    DeleteObject(region);
    return inside;
  };
  for (const Step& s :
       {Step{VK_DOWN, 0}, {VK_RIGHT, 2}, {VK_DOWN, 1}, {VK_UP, 2}, {VK_LEFT, 0}, {'A', 0}}) {
    const int before = mode_;
    ValidateRect(panel, nullptr);
    SendMessageW(panel, WM_KEYDOWN, s.key, 0);
    if (s.mode != before) {
      EXPECT_TRUE(toRepaint(before)) << "the cue's old place, " << s.key;
      EXPECT_TRUE(toRepaint(s.mode)) << "the cue's new place, " << s.key;
    }
    EXPECT_EQ(mode_, s.mode) << s.key;
    EXPECT_EQ(SelectedIndicator(dialog_), s.mode);
    EXPECT_EQ(IsWindowEnabled(Control(IDC_BROWSE_BUTTON)) != 0, s.mode == 2);
  }
}

// The panel's focus shows as a focused radio button's does: dotted, around the chosen text.
TEST_F(SettingsDialogTest, FocusedPanelShowsADottedRectangleAroundTheChosenText) {
  mode_ = 1;
  Open();
  HWND panel = Control(IDC_MUSIC_PANEL);
  RECT client;
  GetClientRect(panel, &client);
  HDC screen = GetDC(nullptr);
  BitmapPtr focused(CreateCompatibleBitmap(screen, client.right, client.bottom));
  BitmapPtr unfocused(CreateCompatibleBitmap(screen, client.right, client.bottom));
  const auto print = [&](HBITMAP into) {
    MemoryDc dc(into, screen);
    SendMessageW(panel, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
  };
  SetFocus(panel);
  print(focused.get());
  SetFocus(Control(IDC_SAVE_BUTTON));
  print(unfocused.get());
  MemoryDc a(focused.get(), screen);
  MemoryDc b(unfocused.get(), screen);
  const PixelRect label = ToPixels(kModeLabels[PanelIndexOf(MusicMode::Cd)]);
  const RECT cue{label.x - 1, label.y - 1, label.x + label.width + 1, label.y + label.height + 1};
  int onCue = 0, elsewhere = 0;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      if (GetPixel(a.Get(), x, y) == GetPixel(b.Get(), x, y)) continue;
      const bool edge =
          (x == cue.left || x == cue.right - 1 || y == cue.top || y == cue.bottom - 1) &&
          x >= cue.left && x < cue.right && y >= cue.top && y < cue.bottom;
      ++(edge ? onCue : elsewhere);
    }
  }
  ReleaseDC(nullptr, screen);
  EXPECT_GT(onCue, label.width / 2) << "the dotted edge around 音楽CD";
  EXPECT_EQ(elsewhere, 0);
}

TEST_F(SettingsDialogTest, EscClosesTheOpenRepeatListFirst) {
  mode_ = 1;
  Open();
  HWND repeat = Control(IDC_REPEAT_BOX);
  SetFocus(repeat);
  SendMessageW(repeat, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(SendMessageW(repeat, CB_GETDROPPEDSTATE, 0, 0));
  const MSG msg{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  EXPECT_FALSE(HandleDialogKey(dialog_, msg)) << "the list takes it";
  SendMessageW(repeat, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_TRUE(IsWindow(dialog_));
}

using orvane::testing::AccessibleOf;
using orvane::testing::Ask;
using orvane::testing::Child;
using orvane::testing::Heard;

// Its label is painted, so the box itself says what it is for.
TEST_F(SettingsDialogTest, ScreenReadersHearTheRepeatBoxNamedByItsLabel) {
  struct Case {
    int16_t mode;
    bool focus, drop;
    long state;  // besides STATE_SYSTEM_FOCUSABLE when enabled
  };
  for (const Case& c : {Case{1, false, false, STATE_SYSTEM_COLLAPSED},
                        Case{1, true, false, STATE_SYSTEM_COLLAPSED | STATE_SYSTEM_FOCUSED},
                        Case{1, true, true, STATE_SYSTEM_EXPANDED | STATE_SYSTEM_FOCUSED},
                        Case{0, false, false, STATE_SYSTEM_COLLAPSED | STATE_SYSTEM_UNAVAILABLE}}) {
    mode_ = c.mode;
    track_ = 12;
    Open();
    HWND repeat = Control(IDC_REPEAT_BOX);
    if (c.focus) SetFocus(repeat);
    if (c.drop) SendMessageW(repeat, CB_SHOWDROPDOWN, TRUE, 0);
    IAccessible* box = AccessibleOf(repeat);
    ASSERT_NE(box, nullptr);
    const Heard h = Ask(box, CHILDID_SELF);
    EXPECT_EQ(h.role, ROLE_SYSTEM_COMBOBOX);
    EXPECT_EQ(h.name, L"曲目をﾘﾋﾟｰﾄ");
    EXPECT_EQ(h.value, L"12");
    EXPECT_EQ(h.state & ~STATE_SYSTEM_FOCUSABLE, c.state) << std::hex << h.state;
    EXPECT_EQ(h.action, L"");
    box->Release();
    if (c.drop) SendMessageW(repeat, CB_SHOWDROPDOWN, FALSE, 0);
    DestroyWindow(dialog_);
  }
}

// The painted choices are radio buttons in their order on the screen, the chosen one checked;
// their action chooses as a click does.
TEST_F(SettingsDialogTest, ScreenReadersHearTheChoicesAsRadioButtons) {
  mode_ = 2;
  Open();
  IAccessible* panel = AccessibleOf(Control(IDC_MUSIC_PANEL));
  ASSERT_NE(panel, nullptr);
  const Heard group = Ask(panel, CHILDID_SELF);
  EXPECT_EQ(group.role, ROLE_SYSTEM_GROUPING);
  EXPECT_EQ(group.name, L"BGM");
  long count = 0;
  panel->get_accChildCount(&count);
  EXPECT_EQ(count, 5) << "three choices, the repeat box and \"...\"";

  struct Choice {
    const wchar_t* name;
    int mode;
  };
  const Choice onScreen[] = {{L"音楽CD", 1}, {L"無し", 0}, {L"MP3、WAV", 2}};
  for (int chosen : {2, 0, 1}) {
    for (long part = 1; part <= 3; ++part) {
      const Heard h = Ask(panel, part);
      const Choice& c = onScreen[part - 1];
      EXPECT_EQ(h.role, ROLE_SYSTEM_RADIOBUTTON);
      EXPECT_EQ(h.name, c.name);
      EXPECT_EQ(h.action, L"Check");
      EXPECT_EQ((h.state & STATE_SYSTEM_CHECKED) != 0, c.mode == chosen) << "part " << part;
    }
    // Choose the next mode through the interface.
    const long next = chosen == 2 ? 2 : chosen == 0 ? 1 : 3;  // parts of modes 0, 1, 2
    EXPECT_EQ(panel->accDoDefaultAction(Child(next)), S_OK);
    Pump();
    EXPECT_EQ(mode_, onScreen[next - 1].mode);
    EXPECT_EQ(SelectedIndicator(dialog_), mode_);
  }
  // Where each choice lies: its indicator and its label.
  long x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(panel->accLocation(&x, &y, &w, &h, Child(2)), S_OK);
  POINT corner{0, 0};
  ClientToScreen(Control(IDC_MUSIC_PANEL), &corner);
  EXPECT_EQ(x - corner.x, ToPixels(kModeIndicators[0]).x);
  EXPECT_EQ(y - corner.y, ToPixels(kModeIndicators[0]).y);
  EXPECT_EQ(x - corner.x + w, ToPixels(kModeLabels[0]).x + ToPixels(kModeLabels[0]).width);
  VARIANT hit;
  ASSERT_EQ(panel->accHitTest(x + 2, y + 2, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, 2);
  panel->Release();
}

}  // namespace
}  // namespace orvane::dialog
