#include "host/win32_saver_window.h"

#include "common/names.h"
#include "host/saver_show.h"
#include "host/win32_engine_start.h"
#include "host/win32_paths.h"
#include "music/win32_music.h"

#include <memory>
#include <string>

namespace orvane::host {

using common::Settings;
using music::Win32MusicDevices;

namespace {

constexpr wchar_t kClassName[] = L"Orvane_S";

UINT_PTR TimerId(ShowTimer timer) {
  switch (timer) {
    case ShowTimer::Mp3KeepAlive:
      return 1;
    case ShowTimer::CdPoll:
      return 2;
    case ShowTimer::EngineWatch:
      return 3;
  }
  return 0;
}

UINT TimerInterval(ShowTimer timer) {
  switch (timer) {
    case ShowTimer::Mp3KeepAlive:
      return kMp3KeepAliveMs;
    case ShowTimer::CdPoll:
      return kCdPollMs;
    case ShowTimer::EngineWatch:
      return kEngineWatchMs;
  }
  return 0;
}

class Win32ShowPort : public ShowPort {
 public:
  explicit Win32ShowPort(HWND window) : window_(window) {}
  ~Win32ShowPort() override {
    if (engine_) CloseHandle(engine_);
  }

  bool StartEngine() override {
    engine_ = StartEngineProcess(EngineFilePath());
    return engine_ != nullptr;
  }
  bool EngineRunning() override {
    return engine_ && WaitForSingleObject(engine_, 0) == WAIT_TIMEOUT;
  }
  bool EngineWindowExists() override {
    return FindWindowA(nullptr, common::kEngineWindowTitle) != nullptr;
  }
  std::uint32_t NowMs() override { return GetTickCount(); }
  void EnableTimer(ShowTimer timer, bool enabled) override {
    if (enabled) {
      ::SetTimer(window_, TimerId(timer), TimerInterval(timer), nullptr);
    } else {
      KillTimer(window_, TimerId(timer));
    }
  }
  void ShowCursor() override { ::ShowCursor(TRUE); }
  void EndProgram() override { ExitProcess(0); }

 private:
  HWND window_;
  HANDLE engine_ = nullptr;
};

struct ShowStart {
  const Settings* settings;
  ShowRole role;
};

struct SaverWindow {
  Win32MusicDevices music;
  std::unique_ptr<Win32ShowPort> port;
  std::unique_ptr<SaverShow> show;
};

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<SaverWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      const auto* start = static_cast<const ShowStart*>(
          reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
      auto* created = new SaverWindow;
      created->port = std::make_unique<Win32ShowPort>(window);
      created->show = std::make_unique<SaverShow>(
          *created->port, created->music.mci, created->music.sound, *start->settings, start->role);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
      break;
    }
    case WM_NCDESTROY:
      delete state;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    case WM_TIMER:
      if (!state) break;
      if (wParam == 3)
        state->show->EngineWatchTick();
      else if (wParam == 2)
        state->show->CdPollTick();
      else if (wParam == 1)
        state->show->Mp3KeepAliveTick();
      return 0;
    case WM_CLOSE:
      if (state) state->show->UnloadRequest();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Log-off or shut-down really happens: stop the music on the way out.
      if (wParam && state) state->show->UnloadRequest();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool LoadSaverWindow(HINSTANCE instance, const Settings& settings, ShowRole role) {
  ShowStart start{&settings, role};
  WNDCLASSW wc{};
  wc.lpfnWndProc = SaverProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, kClassName, common::kShowWindowTitleW.Chars(), WS_OVERLAPPED, 0,
                                0, 0, 0, nullptr, nullptr, instance, &start);
  if (!window) return false;
  auto* state = reinterpret_cast<SaverWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  state->port->EnableTimer(ShowTimer::EngineWatch, true);
  state->show->Load();
  return true;
}

}  // namespace orvane::host
