// The show's windows while the desk changes again and again (monitors moved,
// added, removed): each change covers the new desk, and the list of windows stays
// as long as the most windows the desk ever needed at once.
#include "engine/win32/win32_show.h"
#include "engine/win32/win32_show_testing.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace orvane::engine;

// The desks the stand-in lists in turn (plain function pointers cannot carry them).
std::vector<std::vector<MonitorRect>> desks;
std::size_t deskNow = 0;

MonitorRect PrimaryMonitor() {
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<MonitorInfo> ListDeskNow() {
  std::vector<MonitorInfo> monitors = {{PrimaryMonitor(), true}};
  for (const MonitorRect& rect : desks[deskNow]) monitors.push_back({rect, false});
  return monitors;
}

BOOL CALLBACK AddOtherWindow(HWND window, LPARAM data) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == kOtherWindowClass) {
    RECT r = {};
    GetWindowRect(window, &r);
    reinterpret_cast<std::vector<MonitorRect>*>(data)->push_back(
        {r.left, r.top, r.right, r.bottom});
  }
  return TRUE;
}

// Where this thread's windows on other monitors are, sorted.
std::vector<MonitorRect> OtherWindowRects() {
  std::vector<MonitorRect> rects;
  EnumThreadWindows(GetCurrentThreadId(), AddOtherWindow, reinterpret_cast<LPARAM>(&rects));
  const auto before = [](const MonitorRect& a, const MonitorRect& b) {
    return a.left != b.left ? a.left < b.left : a.top < b.top;
  };
  std::sort(rects.begin(), rects.end(), before);
  return rects;
}

struct DeskCase {
  const char* name;
  std::vector<std::vector<MonitorRect>> desks;  // the other monitors of each desk, in turn
  std::size_t mostWindows;                      // the primary's included
};

class DeskChanges : public ::testing::TestWithParam<DeskCase> {};

TEST_P(DeskChanges, EachChangeCoveredAndTheListBounded) {
  desks = GetParam().desks;
  deskNow = 0;
  ShowCalls calls;
  calls.listMonitors = ListDeskNow;
  Win32Clock clock;
  Win32Show show(GetModuleHandleA(nullptr), clock, calls);
  ASSERT_TRUE(show.Open());
  show.SetFramePacing(Win32Show::Pacing::Off);

  constexpr int kChanges = 12;
  for (int change = 1; change <= kChanges; ++change) {
    deskNow = static_cast<std::size_t>(change) % desks.size();
    show.OnDeskChanged();
    // The show covers the new desk when its queue is next empty: wait for it, with a limit.
    for (int waited = 0; waited < 3000 && OtherWindowRects() != desks[deskNow]; waited += 50)
      Win32ShowTesting::RunFor(show, 50);
    EXPECT_EQ(OtherWindowRects(), desks[deskNow]) << "change " << change;
    EXPECT_EQ(show.OtherWindowCount(), desks[deskNow].size()) << "change " << change;
    EXPECT_LE(Win32ShowTesting::WindowSlots(show), GetParam().mostWindows) << "change " << change;
    EXPECT_LE(show.Pictures().Count(), 1 + desks[deskNow].size()) << "change " << change;
  }
  EXPECT_TRUE(IsWindow(show.Primary())) << "a desk change is no reason to end the show";
  DestroyWindow(show.Primary());
}

// Beside the primary screen, so they never hide it.
MonitorRect Beside(int offset, int width, int height) {
  const int right = GetSystemMetrics(SM_CXSCREEN);
  return {right + offset, 0, right + offset + width, height};
}

INSTANTIATE_TEST_SUITE_P(Desks, DeskChanges,
                         ::testing::Values(DeskCase{"OneMonitorMovedBackAndForth",
                                                    {{Beside(0, 320, 240)}, {Beside(40, 320, 240)}},
                                                    2},
                                           DeskCase{"MonitorsComingAndGoing",
                                                    {{Beside(0, 320, 240)},
                                                     {Beside(0, 320, 240), Beside(320, 200, 150)},
                                                     {},
                                                     {Beside(320, 200, 150)},
                                                     {Beside(0, 200, 150), Beside(200, 320, 240)}},
                                                    3}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
