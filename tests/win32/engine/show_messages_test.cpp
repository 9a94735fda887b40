// The engine's window procedure: which rule event each message stands for, and the
// exact reply it gives (the platform's default processing, or its own result).
#include "engine/win32/win32_show_window.h"
#include "tests/fakes/fake_show_platform.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

using namespace orvane::engine;
using ::testing::ElementsAre;

using FakePlatform = orvane::fakes::FakeShowPlatform;

// The default window procedure as the window procedure calls it: recorded, with a
// result of its own so a test tells it from the rules' replies.
constexpr LRESULT kDefaultResult = 0x5EED;
std::vector<UINT> defaultCalls;
LRESULT CALLBACK RecordDefault(HWND, UINT message, WPARAM, LPARAM) {
  defaultCalls.push_back(message);
  return kDefaultResult;
}

struct MessageCase {
  const char* name;
  UINT message;
  WPARAM wParam;
  bool byDefault;  // the default procedure answers; otherwise `result` does
  LRESULT result;
  std::vector<std::string> calls;
  LPARAM lParam = 0;
};

// The desk's events, in the same log as the rules' calls.
struct RecordingDesk : DeskEvents {
  std::vector<std::string>* log;
  explicit RecordingDesk(std::vector<std::string>* l) : log(l) {}
  void OnDisplayPower(DisplayPower power) override {
    log->push_back(power == DisplayPower::Off      ? "display off"
                   : power == DisplayPower::Dimmed ? "display dimmed"
                                                   : "display on");
  }
  void OnDeskChanged() override { log->push_back("desk changed"); }
};

// What the system sends with WM_POWERBROADCAST when a power setting changes: its
// four bytes of data start at Data and run on into the structure's zeroed padding.
const POWERBROADCAST_SETTING kDisplayOff{kConsoleDisplayState, sizeof(DWORD), {0}};
const POWERBROADCAST_SETTING kDisplayOn{kConsoleDisplayState, sizeof(DWORD), {1}};
const POWERBROADCAST_SETTING kDisplayDimmed{kConsoleDisplayState, sizeof(DWORD), {2}};
// GUID_ACDC_POWER_SOURCE: another setting, not the display's.
const POWERBROADCAST_SETTING kPowerSource{
    {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}},
    sizeof(DWORD),
    {0}};
static_assert(sizeof(POWERBROADCAST_SETTING) >= offsetof(POWERBROADCAST_SETTING, Data) + 4,
              "the four bytes of data lie inside the structure");
LPARAM Setting(const POWERBROADCAST_SETTING& s) { return reinterpret_cast<LPARAM>(&s); }

class ShowMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(ShowMessages, ReplyAndRuleEvents) {
  const MessageCase& c = GetParam();
  FakePlatform platform;
  ShowRules rules(platform);
  rules.OnCreated(kPrimaryWindow);
  platform.log.clear();
  defaultCalls.clear();
  RecordingDesk desk(&platform.log);

  const ShowWindowContext context{&rules, &desk, kPrimaryWindow, nullptr};
  const LRESULT result =
      HandleShowMessage(context, nullptr, c.message, c.wParam, c.lParam, RecordDefault);
  EXPECT_EQ(result, c.byDefault ? kDefaultResult : c.result);
  EXPECT_EQ(defaultCalls.size(), c.byDefault ? 1u : 0u);
  EXPECT_EQ(platform.log, c.calls);
}

const std::vector<std::string> kNone;
const std::vector<std::string> kCloses{"postClose"};

INSTANTIATE_TEST_SUITE_P(
    Table, ShowMessages,
    ::testing::Values(
        MessageCase{"SetCursorHidesAndAnswersTrue", WM_SETCURSOR, 0, false, TRUE, {"hideCursor"}},
        MessageCase{"NextWindowSwallowed", WM_SYSCOMMAND, SC_NEXTWINDOW, false, 0, kNone},
        MessageCase{"PrevWindowSwallowed", WM_SYSCOMMAND, SC_PREVWINDOW, false, 0, kNone},
        MessageCase{"ScreenSaveSwallowed", WM_SYSCOMMAND, SC_SCREENSAVE, false, 0, kNone},
        MessageCase{"ScreenSaveWithSystemBitsSwallowed", WM_SYSCOMMAND, 0xF142, false, 0, kNone},
        MessageCase{"OtherSysCommandPassesOn", WM_SYSCOMMAND, SC_CLOSE, true, 0, kNone},
        MessageCase{"ShownHidesCursor", WM_SHOWWINDOW, 1, true, 0, {"hideCursor"}},
        MessageCase{"HiddenLeavesCursor", WM_SHOWWINDOW, 0, true, 0, kNone},
        MessageCase{"UnarmedCloseAnsweredZero", WM_CLOSE, 0, false, 0, kNone},
        MessageCase{"PaintPassesOn", WM_PAINT, 0, true, 0, kNone},
        MessageCase{"KeyDownCloses", WM_KEYDOWN, 'A', true, 0, kCloses},
        MessageCase{"SysKeyDownCloses", WM_SYSKEYDOWN, VK_MENU, true, 0, kCloses},
        MessageCase{"LeftButtonCloses", WM_LBUTTONDOWN, MK_LBUTTON, true, 0, kCloses},
        MessageCase{"RightButtonCloses", WM_RBUTTONDOWN, MK_RBUTTON, true, 0, kCloses},
        MessageCase{"MiddleButtonCloses", WM_MBUTTONDOWN, MK_MBUTTON, true, 0, kCloses},
        MessageCase{"LosingActivationCloses", WM_ACTIVATEAPP, 0, true, 0, kCloses},
        MessageCase{"GainingActivationPassesOn", WM_ACTIVATEAPP, 1, true, 0, kNone},
        MessageCase{"KeyUpPassesOn", WM_KEYUP, 'A', true, 0, kNone},
        MessageCase{"SysKeyUpPassesOn", WM_SYSKEYUP, VK_MENU, true, 0, kNone},
        MessageCase{"CharPassesOn", WM_CHAR, 'a', true, 0, kNone},
        MessageCase{"LeftUpPassesOn", WM_LBUTTONUP, 0, true, 0, kNone},
        MessageCase{"RightUpPassesOn", WM_RBUTTONUP, 0, true, 0, kNone},
        MessageCase{"MiddleUpPassesOn", WM_MBUTTONUP, 0, true, 0, kNone},
        MessageCase{"WheelPassesOn", WM_MOUSEWHEEL, 120u << 16, true, 0, kNone},
        MessageCase{"HorizontalWheelPassesOn", WM_MOUSEHWHEEL, 120u << 16, true, 0, kNone},
        MessageCase{"DestroyEndsTheLoop", WM_DESTROY, 0, true, 0, {"quit", "tearDown 0"}},
        // The desk changed (a monitor came, went or changed mode): covered anew, not ended.
        MessageCase{"DisplayChangeCoversTheNewDesk",
                    WM_DISPLAYCHANGE,
                    32,
                    true,
                    0,
                    {"desk changed"},
                    MAKELPARAM(1280, 1024)},
        MessageCase{"DisplayOffStopsDrawing",
                    WM_POWERBROADCAST,
                    PBT_POWERSETTINGCHANGE,
                    true,
                    0,
                    {"display off"},
                    Setting(kDisplayOff)},
        MessageCase{"DisplayOnDrawsAgain",
                    WM_POWERBROADCAST,
                    PBT_POWERSETTINGCHANGE,
                    true,
                    0,
                    {"display on"},
                    Setting(kDisplayOn)},
        MessageCase{"DisplayDimmedStillDraws",
                    WM_POWERBROADCAST,
                    PBT_POWERSETTINGCHANGE,
                    true,
                    0,
                    {"display dimmed"},
                    Setting(kDisplayDimmed)},
        MessageCase{"OtherPowerSettingIgnored", WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, true, 0,
                    kNone, Setting(kPowerSource)},
        MessageCase{"SuspendPassesOn", WM_POWERBROADCAST, PBT_APMSUSPEND, true, 0, kNone},
        MessageCase{"ResumePassesOn", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, true, 0, kNone},
        // The pointer is read where it is (the fake's 500,400, where the show started);
        // the message's own far coordinates play no part, so nothing closes.
        MessageCase{"MouseMoveReadsThePointer",
                    WM_MOUSEMOVE,
                    0,
                    true,
                    0,
                    {"cursor"},
                    MAKELPARAM(900, 700)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShowMessages, CreationStartsTheShowWithDefaultProcessing) {
  FakePlatform platform;
  ShowRules rules(platform);
  defaultCalls.clear();
  const ShowWindowContext context{&rules, nullptr, kPrimaryWindow, nullptr};
  EXPECT_EQ(HandleShowMessage(context, nullptr, WM_CREATE, 0, 0, RecordDefault), kDefaultResult);
  EXPECT_THAT(platform.log, ElementsAre("cursor", "hideCursor", "title", "priority", "setUp 0"));
  EXPECT_TRUE(rules.FrameDue());
}

TEST(ShowMessages, MouseMovesMeasuredByThePointerNotByTheirCoordinates) {
  FakePlatform platform;
  ShowRules rules(platform);
  rules.OnCreated(kPrimaryWindow);
  const ShowWindowContext context{&rules, nullptr, kPrimaryWindow, nullptr};
  // Both messages say the pointer stands still at the window's corner; it moved 10 pixels.
  platform.cursor = {505, 400};
  HandleShowMessage(context, nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0), RecordDefault);
  platform.log.clear();
  platform.cursor = {510, 405};
  HandleShowMessage(context, nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0), RecordDefault);
  EXPECT_THAT(platform.log, ElementsAre("cursor", "postClose"));
}

TEST(ShowMessages, ArmedCloseOnThePrimaryGoesToTheDefaultProcessing) {
  FakePlatform platform;
  ShowRules rules(platform);
  rules.OnCreated(kPrimaryWindow);
  rules.OnKeyPressed();
  defaultCalls.clear();
  const ShowWindowContext context{&rules, nullptr, kPrimaryWindow, nullptr};
  EXPECT_EQ(HandleShowMessage(context, nullptr, WM_CLOSE, 0, 0, RecordDefault), kDefaultResult);
  EXPECT_THAT(defaultCalls, ElementsAre(static_cast<UINT>(WM_CLOSE)));
}

TEST(ShowMessages, ArmedCloseOnAnotherMonitorsWindowTakesThePrimaryDown) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "ShowMessagesTestWindow";
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND primary = CreateWindowExA(0, windowClass.lpszClassName, "primary", WS_POPUP, 0, 0, 50, 50,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
  HWND other = CreateWindowExA(0, windowClass.lpszClassName, "other", WS_POPUP, 60, 0, 50, 50,
                               primary, nullptr, windowClass.hInstance, nullptr);
  ASSERT_TRUE(primary && other);

  FakePlatform platform;
  ShowRules rules(platform);
  rules.OnCreated(kPrimaryWindow);
  rules.OnCreated(1);
  rules.OnButtonPressed();
  defaultCalls.clear();
  const ShowWindowContext context{&rules, nullptr, 1, other};
  EXPECT_EQ(HandleShowMessage(context, other, WM_CLOSE, 0, 0, RecordDefault), 0);
  EXPECT_TRUE(defaultCalls.empty());
  // The owner goes, and its owned windows with it.
  EXPECT_FALSE(IsWindow(primary));
  EXPECT_FALSE(IsWindow(other));
  UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
}

TEST(ShowMessages, WhilePromptOpenInputPassesOnUntouched) {
  // The prompt is opened by a close; its own loop sends the window messages meanwhile.
  class PromptPlatform : public FakePlatform {
   public:
    const ShowWindowContext* context = nullptr;
    std::vector<LRESULT> replies;
    bool VerifyPassword() override {
      for (UINT message : {WM_SETCURSOR, WM_KEYDOWN, WM_CLOSE})
        replies.push_back(HandleShowMessage(*context, nullptr, message, 0, 0, RecordDefault));
      return false;
    }
  } promptPlatform;
  ShowRules promptRules(promptPlatform);
  promptRules.OnCreated(kPrimaryWindow);
  promptRules.OnKeyPressed();
  const ShowWindowContext promptContext{&promptRules, nullptr, kPrimaryWindow, nullptr};
  promptPlatform.context = &promptContext;
  promptPlatform.log.clear();
  defaultCalls.clear();
  EXPECT_EQ(HandleShowMessage(promptContext, nullptr, WM_CLOSE, 0, 0, RecordDefault), 0);
  // The cursor query and the key go to the default processing; the nested close is refused.
  EXPECT_THAT(promptPlatform.replies, ElementsAre(kDefaultResult, kDefaultResult, 0));
  EXPECT_THAT(defaultCalls,
              ElementsAre(static_cast<UINT>(WM_SETCURSOR), static_cast<UINT>(WM_KEYDOWN)));
  EXPECT_THAT(promptPlatform.log, ElementsAre("cursor"));  // re-measured after the rejection
}

}  // namespace
