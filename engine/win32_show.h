// One run of the engine under Win32: the rules, the primary window the host looks
// for, a window on every other monitor, their pictures, and the loop that draws
// them whenever the queue is empty.
#pragma once

#include "engine/cover_plan.h"
#include "engine/shell_rules.h"
#include "engine/show_pictures.h"
#include "engine/wgl_surface.h"
#include "engine/win32_clock.h"
#include "engine/win32_shell_window.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace orvane::engine {

class Win32Show final : public ShellPlatform, public DeskEvents {
 public:
  explicit Win32Show(HINSTANCE instance) : instance_(instance) {}
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

  // ShellPlatform
  ScreenPoint CursorPosition() override;
  void HideCursor() override;
  void SetRunTitle() override;
  void LowerThreadPriority() override;
  void SetUpWindowRendering(ShowWindowId window) override;
  void TearDownWindowRendering(ShowWindowId window) override;
  void PostQuit() override;
  void PostClose() override;
  bool VerifyPassword() override;

  // DeskEvents
  void OnDisplayPower(DisplayPower power) override { pictures_.ReportDisplayPower(power); }
  void OnDeskChanged() override { deskChanged_ = true; }

 private:
  struct ShowWindow {
    std::unique_ptr<ShellWindowContext> context;
    std::unique_ptr<WglSurface> surface;
    MonitorRect rect;
  };

  ShellWindowContext* NewContext(MonitorRect rect);
  void CoverOtherMonitors();
  void CoverDeskAgain();

  HINSTANCE instance_;
  ShellRules rules_{*this};
  Win32Clock clock_;
  ShowPictures pictures_{clock_};
  std::vector<ShowWindow> windows_;  // index = ShowWindowId; 0 is the primary
  HPOWERNOTIFY powerNotification_ = nullptr;
  bool deskChanged_ = false;
};

}  // namespace orvane::engine
