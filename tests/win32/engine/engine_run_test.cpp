// The engine's whole run in this process, with the timer period and the message
// queue seen through the show's calls: the 1 ms period is asked for once and given
// back once on every way out, and the ways out give their exit codes.
#include "engine/win32/win32_show.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace orvane::engine;

// What the fake timer calls saw.
struct PeriodLog {
  int begun = 0;
  int ended = 0;
  UINT begunWith = 0;
  UINT endedWith = 0;
  MMRESULT beginResult = TIMERR_NOERROR;
};
PeriodLog periods;

MMRESULT WINAPI FakeBeginPeriod(UINT period) {
  ++periods.begun;
  periods.begunWith = period;
  return periods.beginResult;
}
MMRESULT WINAPI FakeEndPeriod(UINT period) {
  ++periods.ended;
  periods.endedWith = period;
  return TIMERR_NOERROR;
}

// The queue as the loop sees it: real messages, except that the test's own thread
// timer stands for the queue's answer under test (WM_QUIT, or an error).
BOOL queueAnswer = 0;
BOOL WINAPI QueueEndingOnTimer(LPMSG message, HWND window, UINT first, UINT last) {
  const BOOL got = GetMessageA(message, window, first, last);
  if (got > 0 && message->message == WM_TIMER && message->hwnd == nullptr) {
    KillTimer(nullptr, message->wParam);
    message->wParam = 0;
    return queueAnswer;
  }
  return got;
}

ShowCalls FakeCalls() {
  ShowCalls calls;
  calls.timerPeriod = {FakeBeginPeriod, FakeEndPeriod};
  calls.getMessage = QueueEndingOnTimer;
  return calls;
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// Refuses to make any window of the engine's class, as a CBT hook may.
LRESULT CALLBACK RefuseSaverWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    char name[64] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
    if (std::strcmp(name, kWindowClass) == 0) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The classes as the engine registers them, with Orvane.dll's own resources: the
// icon 7002, no cursor (the show hides it), a black background, the class style.
TEST(EngineClasses, AttributesOfThePrimarysClassAndTheOthers) {
  const char* dir = std::getenv("ORVANE_BIN_DIR");
  ASSERT_NE(dir, nullptr);
  std::string path = dir;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;  // Wine's drive for the Unix root
  path += "/Orvane.dll";
  HMODULE engineFile = LoadLibraryExA(path.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(engineFile, nullptr) << path;
  ASSERT_TRUE(RegisterShowWindowClasses(engineFile));
  for (const char* name : {kWindowClass, kOtherWindowClass}) {
    WNDCLASSA found = {};
    ASSERT_TRUE(GetClassInfoA(engineFile, name, &found)) << name;
    EXPECT_EQ(found.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_OWNDC)) << name;
    EXPECT_EQ(found.cbClsExtra, 0) << name;
    EXPECT_EQ(found.cbWndExtra, 0) << name;
    EXPECT_NE(found.hIcon, nullptr) << name;
    EXPECT_EQ(found.hCursor, nullptr) << name;
    EXPECT_EQ(found.hbrBackground, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))) << name;
    EXPECT_EQ(found.lpszMenuName, nullptr) << name;
  }
  UnRegisterShowWindowClasses(engineFile);
  FreeLibrary(engineFile);
}

struct RunCase {
  const char* name;
  enum class Obstacle { None, ClassTaken, WindowRefused, SaverStarting } obstacle;
  BOOL queueAnswer;       // what the queue answers when the test's timer fires
  MMRESULT periodAnswer;  // what timeBeginPeriod answers
  int exitCode;
  int periodsAsked, periodsGivenBack;
};

class EngineRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(EngineRun, PeriodHeldForTheShowAndExitCode) {
  const RunCase& c = GetParam();
  periods = {};
  periods.beginResult = c.periodAnswer;
  queueAnswer = c.queueAnswer;

  // Another program's class of the same name, or a saver window still being made.
  WNDCLASSA taken = {};
  taken.lpfnWndProc = DefWindowProcA;
  taken.hInstance = Instance();
  taken.lpszClassName = kWindowClass;
  HWND starting = nullptr;
  HHOOK hook = nullptr;
  switch (c.obstacle) {
    case RunCase::Obstacle::ClassTaken:
      ASSERT_NE(RegisterClassA(&taken), 0);
      break;
    case RunCase::Obstacle::SaverStarting:
      ASSERT_NE(RegisterClassA(&taken), 0);
      starting = CreateWindowExA(0, kWindowClass, kCreationTitle, WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, Instance(), nullptr);
      ASSERT_NE(starting, nullptr);
      break;
    case RunCase::Obstacle::WindowRefused:
      hook = SetWindowsHookExA(WH_CBT, RefuseSaverWindows, nullptr, GetCurrentThreadId());
      ASSERT_NE(hook, nullptr);
      break;
    case RunCase::Obstacle::None:
      break;
  }
  // Ends a show that did start, through the queue's answer under test.
  const UINT_PTR timer = SetTimer(nullptr, 0, 700, nullptr);

  Win32Clock clock;
  const int code = RunEngine(Instance(), clock, FakeCalls());

  if (hook) UnhookWindowsHookEx(hook);
  if (starting) DestroyWindow(starting);
  if (c.obstacle == RunCase::Obstacle::ClassTaken ||
      c.obstacle == RunCase::Obstacle::SaverStarting) {
    // The class that was there before is still there: the engine removes only its own.
    WNDCLASSA found = {};
    EXPECT_TRUE(GetClassInfoA(Instance(), kWindowClass, &found));
    EXPECT_EQ(found.lpfnWndProc, DefWindowProcA);
    UnregisterClassA(kWindowClass, Instance());
  }
  // A show that never started leaves its timer, an ended one its WM_QUIT: drop them.
  KillTimer(nullptr, timer);
  MSG stale;
  while (PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE)) {
  }

  EXPECT_EQ(code, c.exitCode);
  EXPECT_EQ(periods.begun, c.periodsAsked);
  EXPECT_EQ(periods.ended, c.periodsGivenBack);
  if (periods.begun) {
    EXPECT_EQ(periods.begunWith, 1u);
  }
  if (periods.ended) {
    EXPECT_EQ(periods.endedWith, periods.begunWith);
  }
  // Nothing of the show is left behind for the next one.
  EXPECT_EQ(FindWindowA(kWindowClass, nullptr), nullptr);
}

using Obstacle = RunCase::Obstacle;
INSTANTIATE_TEST_SUITE_P(
    Ways, EngineRun,
    ::testing::Values(
        RunCase{"QuitEndsWithZero", Obstacle::None, 0, TIMERR_NOERROR, 0, 1, 1},
        // An error of the queue would answer at once for ever: the loop ends instead.
        RunCase{"QueueErrorEndsTheLoop", Obstacle::None, -1, TIMERR_NOERROR, 1, 1, 1},
        RunCase{"ClassNotRegisteredExitsOne", Obstacle::ClassTaken, 0, TIMERR_NOERROR, 1, 1, 1},
        RunCase{"WindowNotMadeExitsOne", Obstacle::WindowRefused, 0, TIMERR_NOERROR, 1, 1, 1},
        // A saver still being made owns the screen; this one asks for nothing.
        RunCase{"SaverStartingKeepsItOut", Obstacle::SaverStarting, 0, TIMERR_NOERROR, 0, 0, 0},
        // A period that was refused is not given back.
        RunCase{"PeriodRefusedNotGivenBack", Obstacle::None, 0, TIMERR_NOCANDO, 0, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
