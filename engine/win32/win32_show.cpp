#include "engine/win32/win32_show.h"

#include "common/names.h"

#include <cstdio>

namespace orvane::engine {

namespace {

// The 9x family keeps its screen-saver password behind PASSWORD.CPL; everywhere
// else there is nothing to ask and the close goes ahead.
bool VerifyScreenSaverPassword(HWND window) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  static_assert(sizeof version == 148, "the size the 9x family expects");
  GetVersionExA(&version);
  if (version.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS) return true;

  HMODULE library = LoadLibraryA("PASSWORD.CPL");
  if (!library) return true;
  using Verify = BOOL(WINAPI*)(HWND);
  const auto verify = reinterpret_cast<Verify>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "VerifyScreenSavePwd")));
  if (!verify) {
    FreeLibrary(library);
    return true;
  }
  // Tells the system a saver runs, so its prompt blocks task switching meanwhile.
  UINT scratch = 0;
  SystemParametersInfoA(SPI_SCREENSAVERRUNNING, TRUE, &scratch, 0);
  const BOOL accepted = verify(window);
  SystemParametersInfoA(SPI_SCREENSAVERRUNNING, FALSE, &scratch, 0);
  FreeLibrary(library);
  return accepted != FALSE;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<MonitorInfo>*>(data)->push_back(
        {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

// The primary window covers the primary screen as the single window always did.
MonitorRect PrimaryRect() {
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The display's refresh rate, for pacing where the swap does not wait for it.
double PrimaryRefreshRate() {
  HDC screen = GetDC(nullptr);
  const int reported = screen ? GetDeviceCaps(screen, VREFRESH) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return RefreshRateOrDefault(reported);
}

// A slot beside the primary's whose window is gone (destroyed, or never made).
bool SlotFree(const ShowWindowContext& context) {
  return !context.window || !IsWindow(context.window);
}

void Log(const char* text) {
  // Seen by a debugger, or by a test that runs the engine with Wine's debug output on.
  OutputDebugStringA(text);
}

}  // namespace

std::vector<MonitorInfo> ListDisplayMonitors() {
  std::vector<MonitorInfo> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

int RunEngine(HINSTANCE instance, RenderClock& clock, const ShowCalls& calls) {
  // A saver still being created owns the screen.
  if (HWND other = FindStartingSaver()) {
    SetForegroundWindow(other);
    return 0;
  }
  Win32Show show(instance, clock, calls);
  if (!show.Open()) return 1;
  return show.RunMessageLoop();
}

Win32Show::Win32Show(HINSTANCE instance, RenderClock& clock, const ShowCalls& calls)
    : timerPeriod_(calls.timerPeriod), calls_(calls), instance_(instance), clock_(clock) {
  // Per-monitor DPI comes from shcore.dll where it exists; before Windows 8.1 every
  // monitor has the system's DPI.
  shellScaling_ = LoadLibraryA("shcore.dll");
  if (shellScaling_)
    getDpiForMonitor_ = reinterpret_cast<decltype(getDpiForMonitor_)>(
        reinterpret_cast<void (*)()>(GetProcAddress(shellScaling_, "GetDpiForMonitor")));
}

Win32Show::~Win32Show() {
  if (powerNotification_) UnregisterPowerSettingNotification(powerNotification_);
  // Windows still open at this point (a test ending early) go first, so that
  // their procedures never see a show that is gone.
  if (HWND primary = Primary(); primary && IsWindow(primary)) DestroyWindow(primary);
  // The classes go with the process anyway; a show made again in the same process
  // (the tests) registers them anew.
  if (classesRegistered_) UnRegisterShowWindowClasses(instance_);
  if (shellScaling_) FreeLibrary(shellScaling_);
}

ShowWindowContext* Win32Show::NewContext(MonitorRect rect) {
  // Ids are places in this list and in the pictures': a slot whose window is gone
  // is taken again, so neither list grows beyond the most windows ever open at
  // once, however often the desk changes.
  std::size_t slot = windows_.size();
  for (std::size_t n = 1; n < windows_.size(); ++n) {
    if (SlotFree(*windows_[n].context)) {
      slot = n;
      break;
    }
  }
  if (slot == windows_.size()) windows_.emplace_back();
  const auto id = static_cast<ShowWindowId>(slot);
  // Whatever the old window left (a picture set up for a window that then failed) goes first.
  pictures_.TearDown(slot);
  windows_[slot] = {std::make_unique<ShowWindowContext>(), nullptr, rect};
  ShowWindowContext* context = windows_[slot].context.get();
  context->rules = &rules_;
  context->desk = this;
  context->id = id;
  return context;
}

bool Win32Show::Open() {
  if (!RegisterShowWindowClasses(instance_)) return false;
  classesRegistered_ = true;
  HWND primary = CreatePrimaryWindow(instance_, NewContext(PrimaryRect()));
  if (!primary) return false;
  CoverOtherMonitors();
  // The display's power state, so that nothing is drawn while it is off.
  powerNotification_ =
      RegisterPowerSettingNotification(primary, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
  SetFramePacing(Pacing::WhereSwapDoesNot);
  SetForegroundWindow(primary);
  return true;
}

void Win32Show::CoverOtherMonitors() {
  const std::vector<MonitorRect> others = PlanOtherWindows(calls_.listMonitors(), windows_[0].rect);
  for (const MonitorRect& rect : others) {
    const RECT area = {rect.left, rect.top, rect.right, rect.bottom};
    if (!CreateOtherWindow(instance_, Primary(), NewContext(rect), area)) {
      char text[160];
      std::snprintf(
          text, sizeof text, "Orvane: no window for the monitor at %ld,%ld %ldx%ld (error %lu)\n",
          static_cast<long>(rect.left), static_cast<long>(rect.top),
          static_cast<long>(rect.Width()), static_cast<long>(rect.Height()), GetLastError());
      Log(text);
    }
  }
}

void Win32Show::CoverDeskAgain() {
  deskChanged_ = false;
  std::vector<MonitorRect> covered;
  for (std::size_t n = 1; n < windows_.size(); ++n)
    if (windows_[n].context && windows_[n].context->window) covered.push_back(windows_[n].rect);
  const MonitorRect primaryRect = PrimaryRect();
  const std::vector<MonitorRect> planned = PlanOtherWindows(calls_.listMonitors(), primaryRect);
  if (DecideDeskChange(covered, windows_[0].rect, planned, primaryRect) == DeskChange::Keep) return;

  // Monitors came, went or moved: the primary follows the primary screen, and the
  // other monitors get new windows (their veils continue the one random sequence).
  for (std::size_t n = 1; n < windows_.size(); ++n)
    if (windows_[n].context && windows_[n].context->window)
      DestroyWindow(windows_[n].context->window);
  windows_[0].rect = primaryRect;
  SetWindowPos(Primary(), HWND_TOPMOST, 0, 0, primaryRect.Width(), primaryRect.Height(),
               SWP_NOACTIVATE);
  pictures_.Resize(0, {primaryRect.Width(), primaryRect.Height()});
  CoverOtherMonitors();
}

int Win32Show::RunMessageLoop() {
  MSG message;
  for (;;) {
    while (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      if (deskChanged_ && rules_.FrameDue()) CoverDeskAgain();
      if (rules_.FrameDue() && pictures_.Dark()) {
        // The display is off: nothing to draw until a message comes, and no CPU meanwhile.
        WaitMessage();
        continue;
      }
      if (rules_.FrameDue()) {
        if (WaitForNextFrame()) continue;
        pictures_.DrawRound();
        if (pacing_) pacing_->FrameDone(CounterSeconds());
      }
      Sleep(0);
    }
    const BOOL got = calls_.getMessage(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    // An error of the queue itself would come back at once for ever: end instead.
    if (got == -1) return 1;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void Win32Show::SetFramePacing(Pacing pacing, double rateHz) {
  if (pacing == Pacing::Off) {
    pacing_.reset();
    return;
  }
  // Where the swap does not wait for the display, the loop keeps to its refresh.
  const bool swapWaits = pacing == Pacing::WhereSwapDoesNot && pictures_.PrimaryWaitsForDisplay();
  pacing_.emplace(rateHz > 0 ? rateHz : PrimaryRefreshRate(), swapWaits, CounterSeconds());
}

bool Win32Show::WaitForNextFrame() {
  if (!pacing_) return false;
  const auto ms = static_cast<DWORD>(pacing_->WaitBefore(CounterSeconds()) * 1000);
  if (ms == 0) return false;
  // Messages are served at once meanwhile; input already seen by the peek counts too.
  MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  return true;
}

HWND Win32Show::Primary() const { return windows_.empty() ? nullptr : windows_[0].context->window; }

std::size_t Win32Show::OtherWindowCount() const {
  std::size_t count = 0;
  for (std::size_t n = 1; n < windows_.size(); ++n)
    if (windows_[n].context->window && IsWindow(windows_[n].context->window)) ++count;
  return count;
}

ScreenPoint Win32Show::CursorPosition() {
  POINT p = {};
  GetCursorPos(&p);
  return {p.x, p.y};
}

int Win32Show::DpiAt(ScreenPoint where) {
  // The engine is per-monitor aware, so this is the monitor's own scale.
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the scale the user chose
  UINT dpiX = 0, dpiY = 0;
  if (getDpiForMonitor_) {
    HMONITOR monitor = MonitorFromPoint({where.x, where.y}, MONITOR_DEFAULTTONEAREST);
    if (SUCCEEDED(getDpiForMonitor_(monitor, kEffectiveDpi, &dpiX, &dpiY)) && dpiX > 0)
      return static_cast<int>(dpiX);
  }
  // Older Windows: one DPI for every monitor, the system's.
  HDC screen = GetDC(nullptr);
  const int systemDpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return systemDpi > 0 ? systemDpi : kReferenceDpi;
}

void Win32Show::HideCursor() { SetCursor(nullptr); }

void Win32Show::SetRunTitle() { SetWindowTextA(Primary(), common::kEngineWindowTitle); }

void Win32Show::LowerThreadPriority() {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
}

void Win32Show::SetUpWindowPicture(ShowWindowId window) {
  ShowWindow& w = windows_.at(static_cast<std::size_t>(window));
  // A picture still on the old surface ends before that surface goes.
  pictures_.TearDown(static_cast<std::size_t>(window));
  w.surface = std::make_unique<WglSurface>(w.context->window);
  pictures_.SetUp(static_cast<std::size_t>(window), *w.surface);
}

void Win32Show::TearDownWindowPicture(ShowWindowId window) {
  ShowWindow& w = windows_.at(static_cast<std::size_t>(window));
  pictures_.TearDown(static_cast<std::size_t>(window));
  w.surface.reset();
  // The handle is gone with the window; a new desk plan must not count it.
  if (window != kPrimaryWindow) w.context->window = nullptr;
}

void Win32Show::PostQuit() { PostQuitMessage(0); }

void Win32Show::PostClose() { PostMessageA(Primary(), WM_CLOSE, 0, 0); }

bool Win32Show::VerifyPassword() { return VerifyScreenSaverPassword(Primary()); }

}  // namespace orvane::engine
