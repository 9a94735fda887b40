// One run of the engine under Win32: the rules, the primary window the host looks
// for, a window on every other monitor, their pictures, and the loop that draws
// them whenever the queue is empty.
#pragma once

#include "engine/cover_plan.h"
#include "engine/frame_pacing.h"
#include "engine/show_pictures.h"
#include "engine/show_rules.h"
#include "engine/win32/wgl_surface.h"
#include "engine/win32/win32_clock.h"
#include "engine/win32/win32_show_window.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

namespace orvane::engine {

// The display monitors the system lists, each with its place on the desk.
std::vector<MonitorInfo> ListDisplayMonitors();

// The platform calls of the show that a test stands in for: the timer period it
// holds, the message it takes from the queue and the monitors it covers.
struct ShowCalls {
  TimerPeriodCalls timerPeriod;
  BOOL(WINAPI* getMessage)(LPMSG, HWND, UINT, UINT) = GetMessageA;
  std::vector<MonitorInfo> (*listMonitors)() = ListDisplayMonitors;
};

// The whole run of the engine: a saver still being created keeps it out (exit 0);
// exit 1 when its class or primary window cannot be made; otherwise the show's
// loop, whose exit code it returns. `clock` times the frames and seeds the veils.
int RunEngine(HINSTANCE instance, RenderClock& clock, const ShowCalls& calls = {});

class Win32Show final : public ShowPlatform, public DeskEvents {
 public:
  // `clock` must outlive the show.
  Win32Show(HINSTANCE instance, RenderClock& clock, const ShowCalls& calls = {});
  ~Win32Show() override;
  Win32Show(const Win32Show&) = delete;
  Win32Show& operator=(const Win32Show&) = delete;

  // Makes the primary window and covers the other monitors; false when the
  // primary window (the one the host watches) cannot be made.
  bool Open();
  // Serves every waiting message first and draws only when the queue is empty;
  // returns the exit code carried by WM_QUIT.
  int RunMessageLoop();

  HWND Primary() const;
  std::size_t OtherWindowCount() const;
  const ShowPictures& Pictures() const { return pictures_; }
  // Whether frames are paced to the display's refresh by the loop (the swap does not wait).
  bool PacingFrames() const { return pacing_ && pacing_->Pacing(); }
  // How frames are paced: to the refresh where the swap does not wait for the display
  // (from Open on); the two others are for benchmarks: paced to the refresh whatever
  // the swap says, as for a driver without swap control, or as fast as the loop turns.
  // `rateHz` stands in for the display's refresh where it is given (benchmarks too).
  enum class Pacing { WhereSwapDoesNot, Always, Off };
  void SetFramePacing(Pacing pacing, double rateHz = 0);

  // ShowPlatform
  ScreenPoint CursorPosition() override;
  int DpiAt(ScreenPoint where) override;
  void HideCursor() override;
  void SetRunTitle() override;
  void LowerThreadPriority() override;
  void SetUpWindowPicture(ShowWindowId window) override;
  void TearDownWindowPicture(ShowWindowId window) override;
  void PostQuit() override;
  void PostClose() override;
  bool VerifyPassword() override;

  // DeskEvents
  void OnDisplayPower(DisplayPower power) override { pictures_.ReportDisplayPower(power); }
  void OnDeskChanged() override { deskChanged_ = true; }

 private:
  friend struct Win32ShowTesting;
  struct ShowWindow {
    std::unique_ptr<ShowWindowContext> context;
    std::unique_ptr<WglSurface> surface;
    MonitorRect rect;
  };

  // The slot for a new window: one whose window is gone, else a new one.
  ShowWindowContext* NewContext(MonitorRect rect);
  void CoverOtherMonitors();
  void CoverDeskAgain();
  // Waits for a message or the next frame's time; false when a frame is due now.
  bool WaitForNextFrame();

  // First, so that the timer's period is held before anything runs and given
  // back after everything else has gone.
  FineTimerPeriod timerPeriod_;
  ShowCalls calls_;
  HINSTANCE instance_;
  bool classesRegistered_ = false;
  HMODULE shellScaling_ = nullptr;  // shcore.dll, for each monitor's DPI (Windows 8.1 on)
  HRESULT(WINAPI* getDpiForMonitor_)(HMONITOR, int, UINT*, UINT*) = nullptr;
  ShowRules rules_{*this};
  RenderClock& clock_;
  std::vector<ShowWindow> windows_;  // index = ShowWindowId; 0 is the primary
  // After the windows: pictures end before the surfaces they draw on.
  ShowPictures pictures_{clock_};
  HPOWERNOTIFY powerNotification_ = nullptr;
  bool deskChanged_ = false;
  std::optional<DisplayPacing> pacing_;
};

}  // namespace orvane::engine
