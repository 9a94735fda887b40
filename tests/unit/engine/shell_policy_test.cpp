#include "engine/shell_policy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

namespace M = ShellMessage;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr unsigned KeyUp = 0x0101, SysKeyUp = 0x0105, Char = 0x0102;
constexpr unsigned LButtonUp = 0x0202, RButtonUp = 0x0205, MButtonUp = 0x0208;
constexpr unsigned MouseWheel = 0x020A, MouseHWheel = 0x020E, Paint = 0x000F;

class FakePlatform : public ShellPlatform {
 public:
  ShellPoint cursor{500, 400};
  bool passwordAccepts = true;
  std::function<void()> duringPrompt;
  std::vector<std::string> log;
  int pendingCloses = 0;

  ShellPoint cursorPosition() override {
    log.push_back("cursor");
    return cursor;
  }
  void hideCursor() override { log.push_back("hideCursor"); }
  void setRunTitle() override { log.push_back("title"); }
  void lowerThreadPriority() override { log.push_back("priority"); }
  void setUpRendering() override { log.push_back("setUp"); }
  void tearDownRendering() override { log.push_back("tearDown"); }
  void postQuit() override { log.push_back("quit"); }
  void postClose() override {
    log.push_back("postClose");
    ++pendingCloses;
  }
  bool verifyPassword() override {
    log.push_back("prompt");
    if (duringPrompt) duringPrompt();
    return passwordAccepts;
  }
};

// One engine window: messages go through the policy, posted closes are delivered
// afterwards the way the queue would, and an honoured close destroys the window.
struct Window {
  FakePlatform platform;
  ShellPolicy policy{platform};
  bool destroyed = false;

  Window() {
    policy.handle(M::Create, 0);
    platform.log.clear();
  }

  ShellReply send(unsigned message, std::uintptr_t wParam = 0) {
    const ShellReply reply = dispatch(message, wParam);
    deliverPosted();
    return reply;
  }
  ShellReply dispatch(unsigned message, std::uintptr_t wParam) {
    const ShellReply reply = policy.handle(message, wParam);
    if (message == M::Close && reply.defaultProcessing) {
      destroyed = true;
      policy.handle(M::Destroy, 0);
    }
    return reply;
  }
  void moveBy(int dx, int dy) {
    platform.cursor.x += dx;
    platform.cursor.y += dy;
    send(M::MouseMove);
  }
  void deliverPosted() {
    while (platform.pendingCloses > 0 && !destroyed) {
      --platform.pendingCloses;
      dispatch(M::Close, 0);
    }
  }
};

struct Step {
  unsigned message;
  std::uintptr_t wParam;
  int dx, dy;  // pointer movement before a WM_MOUSEMOVE
};
Step move(int dx, int dy) { return {M::MouseMove, 0, dx, dy}; }
Step msg(unsigned message, std::uintptr_t wParam = 0) { return {message, wParam, 0, 0}; }

struct EndCase {
  const char* name;
  std::vector<Step> steps;
  bool ends;
};

class ShellEnds : public ::testing::TestWithParam<EndCase> {};

TEST_P(ShellEnds, OnlyUserInputEndsTheShow) {
  Window w;
  for (const Step& s : GetParam().steps) {
    if (s.message == M::MouseMove)
      w.moveBy(s.dx, s.dy);
    else
      w.send(s.message, s.wParam);
  }
  EXPECT_EQ(w.destroyed, GetParam().ends);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ShellEnds,
    ::testing::Values(
        EndCase{"ForeignCloseBeforeInput", {msg(M::Close), msg(M::Close)}, false},
        EndCase{"FirstMoveOf10", {move(10, 0)}, false},
        EndCase{"SecondMoveOf10", {move(10, 0), move(10, 0)}, true},
        EndCase{"FirstMoveFarThenBackWithinTolerance", {move(10, 0), move(-8, 0)}, false},
        EndCase{
            "CreepingBy4", {move(3, 1), move(3, 1), move(-1, 3), move(0, -4), move(2, 2)}, false},
        EndCase{"Exactly4AfterFirst", {move(0, 0), move(3, 1)}, false},
        EndCase{"Exactly5AfterFirst", {move(0, 0), move(4, 1)}, true},
        EndCase{"Exactly5Backwards", {move(0, 0), move(-2, -3)}, true},
        EndCase{"KeyDown", {msg(M::KeyDown, 'A')}, true},
        EndCase{"SysKeyDown", {msg(M::SysKeyDown, 0x12)}, true},
        EndCase{"LeftButton", {msg(M::LButtonDown)}, true},
        EndCase{"RightButton", {msg(M::RButtonDown)}, true},
        EndCase{"MiddleButton", {msg(M::MButtonDown)}, true},
        EndCase{"LosingActivation", {msg(M::ActivateApp, 0)}, true},
        EndCase{"GainingActivation", {msg(M::ActivateApp, 1)}, false},
        EndCase{"ReleasesAndWheel",
                {msg(KeyUp, 'A'), msg(SysKeyUp), msg(Char, 'a'), msg(LButtonUp), msg(RButtonUp),
                 msg(MButtonUp), msg(MouseWheel, 120u << 16), msg(MouseHWheel, 120u << 16)},
                false},
        EndCase{"CloseAfterFirstMoveStillForeign", {move(1, 0), msg(M::Close)}, false},
        EndCase{"CloseAfterSecondMoveHonoured", {move(1, 0), move(1, 0), msg(M::Close)}, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReplyCase {
  const char* name;
  unsigned message;
  std::uintptr_t wParam;
  bool defaultProcessing;
  std::intptr_t result;
  std::vector<std::string> calls;
};

class ShellReplies : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ShellReplies, AnswerAndPlatformCalls) {
  const ReplyCase& c = GetParam();
  Window w;
  const ShellReply reply = w.policy.handle(c.message, c.wParam);
  EXPECT_EQ(reply.defaultProcessing, c.defaultProcessing);
  if (!c.defaultProcessing) {
    EXPECT_EQ(reply.result, c.result);
  }
  EXPECT_EQ(w.platform.log, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShellReplies,
    ::testing::Values(
        ReplyCase{
            "SetCursorHidesAndAnswersTrue", M::SetCursor, 0x02010001, false, 1, {"hideCursor"}},
        ReplyCase{"NextWindowSwallowed", M::SysCommand, 0xF040, false, 0, {}},
        ReplyCase{"PrevWindowSwallowed", M::SysCommand, 0xF050, false, 0, {}},
        ReplyCase{"ScreenSaveSwallowed", M::SysCommand, 0xF140, false, 0, {}},
        ReplyCase{"ScreenSaveWithSystemBitsSwallowed", M::SysCommand, 0xF142, false, 0, {}},
        ReplyCase{"OtherSysCommandPassesOn", M::SysCommand, 0xF060, true, 0, {}},
        ReplyCase{"ShownHidesCursor", M::ShowWindow, 1, true, 0, {"hideCursor"}},
        ReplyCase{"HiddenLeavesCursor", M::ShowWindow, 0, true, 0, {}},
        ReplyCase{"UnarmedCloseAnsweredZero", M::Close, 0, false, 0, {}},
        ReplyCase{"PaintPassesOn", Paint, 0, true, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShellLifecycle, CreationAndDestructionInOrder) {
  FakePlatform platform;
  ShellPolicy policy(platform);
  EXPECT_FALSE(policy.frameDue());

  EXPECT_TRUE(policy.handle(M::Create, 0).defaultProcessing);
  EXPECT_THAT(platform.log, ElementsAre("cursor", "hideCursor", "title", "priority", "setUp"));
  EXPECT_TRUE(policy.frameDue());
  EXPECT_EQ(policy.savedCursor().x, 500);
  EXPECT_EQ(policy.savedCursor().y, 400);

  platform.log.clear();
  EXPECT_TRUE(policy.handle(M::Destroy, 0).defaultProcessing);
  EXPECT_THAT(platform.log, ElementsAre("quit", "tearDown"));
  EXPECT_FALSE(policy.frameDue());
}

TEST(ShellPassword, PromptStopsFramesAndInputAndSwallowsSecondClose) {
  Window w;
  bool frameDueDuringPrompt = true;
  int promptsSeen = 0;
  w.platform.duringPrompt = [&] {
    ++promptsSeen;
    frameDueDuringPrompt = w.policy.frameDue();
    // The prompt's own loop dispatches input and a queued close to the window.
    EXPECT_TRUE(w.policy.handle(M::KeyDown, 'A').defaultProcessing);
    EXPECT_TRUE(w.policy.handle(M::SetCursor, 0).defaultProcessing);
    const ShellReply nested = w.policy.handle(M::Close, 0);
    EXPECT_FALSE(nested.defaultProcessing);
    EXPECT_FALSE(w.policy.handle(M::SysCommand, ShellCommand::ScreenSave).defaultProcessing);
  };
  w.send(M::KeyDown, 'A');
  EXPECT_TRUE(w.destroyed);
  EXPECT_EQ(promptsSeen, 1);
  EXPECT_FALSE(frameDueDuringPrompt);
  EXPECT_THAT(w.platform.log, ElementsAre("postClose", "prompt", "quit", "tearDown"));
}

TEST(ShellPassword, RejectionKeepsWindowAndRemeasuresFromPointer) {
  Window w;
  w.platform.passwordAccepts = false;
  w.platform.duringPrompt = [&] { w.platform.cursor = {100, 100}; };
  w.send(M::LButtonDown);
  EXPECT_FALSE(w.destroyed);
  EXPECT_TRUE(w.policy.frameDue());
  EXPECT_TRUE(w.policy.closeArmed());
  EXPECT_EQ(w.policy.savedCursor().x, 100);
  EXPECT_EQ(w.policy.savedCursor().y, 100);

  // Armed already: the next movement beyond the tolerance prompts again, and a creep does not.
  w.platform.log.clear();
  w.moveBy(2, 2);
  EXPECT_THAT(w.platform.log, ElementsAre("cursor"));
  w.platform.passwordAccepts = true;
  w.platform.duringPrompt = nullptr;
  w.moveBy(5, 0);
  EXPECT_TRUE(w.destroyed);
}

}  // namespace
