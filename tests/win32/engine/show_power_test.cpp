// The engine's show in this process, drawing for real under WGL: nothing is drawn
// while the display is off, and the motion carries on without a jump afterwards.
#include "engine/picture_testing.h"
#include "engine/win32/win32_show.h"
#include "engine/win32/win32_show_testing.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using namespace orvane::engine;

void RunFor(Win32Show& show, UINT ms) { Win32ShowTesting::RunFor(show, ms); }

double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto seconds = [](FILETIME t) {
    return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
  };
  return seconds(kernel) + seconds(user);
}

// What the system sends when the console display changes its power state.
void ReportDisplay(HWND window, DWORD state) {
  std::vector<unsigned char> buffer(sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD));
  auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(buffer.data());
  setting->PowerSetting = kConsoleDisplayState;
  setting->DataLength = sizeof(DWORD);
  std::memcpy(setting->Data, &state, sizeof state);
  SendMessageA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
               reinterpret_cast<LPARAM>(setting));
}

TEST(ShowPower, DisplayOffDrawsNothingAndOnResumesSmoothly) {
  Win32Clock clock;
  Win32Show show(GetModuleHandleA(nullptr), clock);
  ASSERT_TRUE(show.Open());
  HWND primary = show.Primary();
  ASSERT_NE(primary, nullptr);
  RunFor(show, 500);
  const std::uint64_t litRounds = show.Pictures().Rounds();
  EXPECT_GT(litRounds, 0u) << "no frame drawn while the display was on";

  ReportDisplay(primary, 0);  // off
  const std::uint64_t before = show.Pictures().Rounds();
  const double cpuBefore = ThreadCpuSeconds();
  RunFor(show, 2000);
  EXPECT_EQ(show.Pictures().Rounds(), before) << "frames drawn while the display was off";
  // Waiting for messages, not spinning: a busy loop would use most of the two seconds.
  EXPECT_LT(ThreadCpuSeconds() - cpuBefore, 0.5);

  ReportDisplay(primary, 1);  // on
  RunFor(show, 500);
  EXPECT_GT(show.Pictures().Rounds(), before);
  // The last step is a frame's worth of time, not the two dark seconds.
  const Picture* picture = show.Pictures().PictureAt(0);
  ASSERT_NE(picture, nullptr);
  EXPECT_LT(PictureTesting::LastStep(*picture), 0.5f);

  ReportDisplay(primary, 0);
  ReportDisplay(primary, 2);  // dimmed: still seen, so still drawn
  const std::uint64_t dimmed = show.Pictures().Rounds();
  RunFor(show, 500);
  EXPECT_GT(show.Pictures().Rounds(), dimmed);
}

}  // namespace

namespace {

TEST(ShowPacing, PacedFramesNeverOutrunTheRate) {
  // As where the driver has no swap control, at a rate low enough for any machine:
  // the loop waits between frames instead of drawing the next at once.
  MSG stale;  // an ended show of an earlier test leaves its WM_QUIT behind
  while (PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE)) {
  }
  Win32Clock clock;
  Win32Show show(GetModuleHandleA(nullptr), clock);
  ASSERT_TRUE(show.Open());
  show.SetFramePacing(Win32Show::Pacing::Always, 4);
  const std::uint64_t before = show.Pictures().Rounds();
  const DWORD start = GetTickCount();
  RunFor(show, 2000);
  const double seconds = (GetTickCount() - start) / 1000.0;
  EXPECT_TRUE(show.PacingFrames());
  // Four a second at most (llvmpipe draws more even on a loaded machine), and one
  // more for the frame that starts the schedule.
  EXPECT_LE(show.Pictures().Rounds() - before, static_cast<std::uint64_t>(4 * seconds + 2));
  EXPECT_GT(show.Pictures().Rounds(), before) << "no frame drawn at all";
}

}  // namespace
