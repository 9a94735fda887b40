#include "engine/show_rules.h"

#include "tests/fakes/fake_show_platform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace orvane::engine;
using ::testing::ElementsAre;

using FakePlatform = orvane::fakes::FakeShowPlatform;

// A show of one or more windows: events go to the rules, posted closes are
// delivered afterwards the way a queue would, and an accepted close ends the show.
struct Show {
  FakePlatform platform;
  ShowRules rules{platform};
  bool ended = false;

  explicit Show(int windows = 1, ScreenPoint start = {500, 400}) {
    platform.cursor = start;
    for (int w = 0; w < windows; ++w) rules.OnCreated(w);
    platform.log.clear();
  }

  template <typename Event>
  void Send(Event event) {
    event();
    platform.closes.Deliver(rules, [&] { End(); });
  }
  void End() {
    ended = true;
    rules.OnDestroyed(kPrimaryWindow);
  }
  void MoveBy(int dx, int dy) {
    platform.cursor.x += dx;
    platform.cursor.y += dy;
    Send([&] { rules.OnPointerMoved(platform.cursor); });
  }
  void MoveTo(int x, int y) {
    platform.cursor = {x, y};
    Send([&] { rules.OnPointerMoved(platform.cursor); });
  }
  void Key() {
    Send([&] { rules.OnKeyPressed(); });
  }
  void Button() {
    Send([&] { rules.OnButtonPressed(); });
  }
  void FocusLost() {
    Send([&] { rules.OnFocusLostToOtherApplication(); });
  }
  void ForeignClose() {
    Send([&] { platform.closes.Request(rules, [&] { End(); }); });
  }
};

// One step of a scenario; releases, the wheel and gaining activation are not events
// of the rules at all, so the back ends' tests cover that they are not mapped.
struct Step {
  enum class Kind { Move, Key, Button, FocusLost, ForeignClose } kind;
  int dx = 0, dy = 0;  // pointer movement, for Move
};
Step MoveStep(int dx, int dy) { return {Step::Kind::Move, dx, dy}; }
const Step kKeyStep{Step::Kind::Key}, kButtonStep{Step::Kind::Button},
    kFocusLostStep{Step::Kind::FocusLost}, kForeignCloseStep{Step::Kind::ForeignClose};

struct EndCase {
  const char* name;
  std::vector<Step> steps;
  bool ends;
};

class ShowEnds : public ::testing::TestWithParam<EndCase> {};

TEST_P(ShowEnds, OnlyUserInputEndsTheShow) {
  Show show;
  for (const Step& s : GetParam().steps) {
    switch (s.kind) {
      case Step::Kind::Move:
        show.MoveBy(s.dx, s.dy);
        break;
      case Step::Kind::Key:
        show.Key();
        break;
      case Step::Kind::Button:
        show.Button();
        break;
      case Step::Kind::FocusLost:
        show.FocusLost();
        break;
      case Step::Kind::ForeignClose:
        show.ForeignClose();
        break;
    }
  }
  EXPECT_EQ(show.ended, GetParam().ends);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ShowEnds,
    ::testing::Values(
        EndCase{"ForeignCloseBeforeInput", {kForeignCloseStep, kForeignCloseStep}, false},
        EndCase{"FirstMoveOf10", {MoveStep(10, 0)}, false},
        EndCase{"SecondMoveOf10", {MoveStep(10, 0), MoveStep(10, 0)}, true},
        EndCase{"FirstMoveFarThenBackWithinTolerance", {MoveStep(10, 0), MoveStep(-8, 0)}, false},
        EndCase{"CreepingBy4",
                {MoveStep(3, 1), MoveStep(3, 1), MoveStep(-1, 3), MoveStep(0, -4), MoveStep(2, 2)},
                false},
        EndCase{"Exactly4AfterFirst", {MoveStep(0, 0), MoveStep(3, 1)}, false},
        EndCase{"Exactly5AfterFirst", {MoveStep(0, 0), MoveStep(4, 1)}, true},
        EndCase{"Exactly5Backwards", {MoveStep(0, 0), MoveStep(-2, -3)}, true},
        EndCase{"KeyDown", {kKeyStep}, true}, EndCase{"Button", {kButtonStep}, true},
        EndCase{"LosingActivation", {kFocusLostStep}, true},
        EndCase{"CloseAfterFirstMoveStillForeign", {MoveStep(1, 0), kForeignCloseStep}, false},
        EndCase{"CloseAfterSecondMoveHonoured",
                {MoveStep(1, 0), MoveStep(1, 0), kForeignCloseStep},
                true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShowReplies, SystemCommandsSwallowed) {
  EXPECT_TRUE(ShowRules::SwallowsSystemCommand(SystemCommand::NextWindow));
  EXPECT_TRUE(ShowRules::SwallowsSystemCommand(SystemCommand::PreviousWindow));
  EXPECT_TRUE(ShowRules::SwallowsSystemCommand(SystemCommand::ScreenSave));
  EXPECT_FALSE(ShowRules::SwallowsSystemCommand(SystemCommand::Other));
}

TEST(ShowReplies, CursorHiddenWhenShownAndWhenAsked) {
  Show show;
  EXPECT_TRUE(show.rules.OnCursorQuery());
  show.rules.OnShown();
  EXPECT_THAT(show.platform.log, ElementsAre("hideCursor", "hideCursor"));
}

TEST(ShowReplies, UnarmedCloseRefusedWithoutPrompt) {
  Show show;
  EXPECT_FALSE(show.rules.OnCloseRequested());
  EXPECT_TRUE(show.platform.log.empty());
}

TEST(ShowLifecycle, CreationAndDestructionInOrder) {
  FakePlatform platform;
  ShowRules rules(platform);
  EXPECT_FALSE(rules.FrameDue());

  rules.OnCreated(kPrimaryWindow);
  EXPECT_THAT(platform.log, ElementsAre("cursor", "hideCursor", "title", "priority", "setUp 0"));
  EXPECT_TRUE(rules.FrameDue());
  EXPECT_EQ(rules.SavedCursor().x, 500);
  EXPECT_EQ(rules.SavedCursor().y, 400);

  platform.log.clear();
  rules.OnDestroyed(kPrimaryWindow);
  EXPECT_THAT(platform.log, ElementsAre("quit", "tearDown 0"));
  EXPECT_FALSE(rules.FrameDue());
}

TEST(ShowLifecycle, OtherWindowsOnlyBringTheirPicture) {
  FakePlatform platform;
  ShowRules rules(platform);
  rules.OnCreated(kPrimaryWindow);
  platform.log.clear();
  rules.OnCreated(1);
  rules.OnCreated(2);
  rules.OnDestroyed(2);
  EXPECT_THAT(platform.log, ElementsAre("setUp 1", "setUp 2", "tearDown 2"));
  EXPECT_TRUE(rules.FrameDue());  // the show runs on while the primary lives
}

TEST(ShowPassword, PromptStopsFramesAndInputAndSwallowsSecondClose) {
  Show show;
  bool frameDueDuringPrompt = true;
  int promptsSeen = 0;
  show.platform.duringPrompt = [&] {
    ++promptsSeen;
    frameDueDuringPrompt = show.rules.FrameDue();
    // The prompt's own loop delivers input and a queued close to the window.
    show.platform.log.push_back("[");
    show.rules.OnKeyPressed();
    show.rules.OnButtonPressed();
    show.rules.OnPointerMoved({0, 0});
    show.rules.OnFocusLostToOtherApplication();
    show.rules.OnShown();
    EXPECT_FALSE(show.rules.OnCursorQuery());
    EXPECT_FALSE(show.rules.OnCloseRequested());
    show.platform.log.push_back("]");
  };
  show.Key();
  EXPECT_TRUE(show.ended);
  EXPECT_EQ(promptsSeen, 1);
  EXPECT_FALSE(frameDueDuringPrompt);
  EXPECT_THAT(show.platform.log,
              ElementsAre("postClose", "prompt", "[", "]", "quit", "tearDown 0"));
}

TEST(ShowPassword, RejectionKeepsWindowAndRemeasuresFromPointer) {
  Show show;
  show.platform.passwordAccepts = false;
  show.platform.duringPrompt = [&] { show.platform.cursor = {100, 100}; };
  show.Button();
  EXPECT_FALSE(show.ended);
  EXPECT_TRUE(show.rules.FrameDue());
  EXPECT_TRUE(show.rules.CloseArmed());
  EXPECT_EQ(show.rules.SavedCursor().x, 100);
  EXPECT_EQ(show.rules.SavedCursor().y, 100);

  // Armed already: the next movement beyond the tolerance prompts again, and a creep does not.
  show.platform.log.clear();
  show.MoveBy(2, 2);
  EXPECT_TRUE(show.platform.log.empty());
  show.platform.passwordAccepts = true;
  show.platform.duringPrompt = nullptr;
  show.MoveBy(5, 0);
  EXPECT_TRUE(show.ended);
}

// Several monitors are one show: one first-move allowance, one tolerance measured
// in screen pixels across monitors (a monitor left of the primary has negative x).
struct SetCase {
  const char* name;
  ScreenPoint start;               // the pointer when the show starts
  std::vector<ScreenPoint> moves;  // pointer positions after that
  bool ends;
};

class ShowSetWide : public ::testing::TestWithParam<SetCase> {};

TEST_P(ShowSetWide, PointerAcrossMonitors) {
  Show show(3, GetParam().start);
  for (const ScreenPoint& p : GetParam().moves) show.MoveTo(p.x, p.y);
  EXPECT_EQ(show.ended, GetParam().ends);
}

INSTANTIATE_TEST_SUITE_P(
    Monitors, ShowSetWide,
    ::testing::Values(
        // The first move is forgiven once for the whole set, not once per window.
        SetCase{"FirstMoveOnAnotherMonitorForgivenOnce", {500, 400}, {{1500, 300}}, false},
        SetCase{"SecondFarMoveOnAnotherMonitorEnds", {500, 400}, {{1500, 300}, {1600, 300}}, true},
        SetCase{"CreepOnLeftMonitorWithin4",
                {-300, -100},
                {{-300, -100}, {-302, -98}, {-304, -96}, {-306, -94}},
                false},
        SetCase{"LeftMonitor5Ends", {-300, -100}, {{-300, -100}, {-303, -102}}, true},
        SetCase{"FromFirstIntoSecondEnds", {1020, 400}, {{1020, 400}, {1025, 400}}, true},
        SetCase{"EdgeCrossingWithin4", {1022, 400}, {{1022, 400}, {1025, 401}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The tolerance and the forgiven first move are 4 pixels of a 96-DPI display: on a
// scaled monitor the same hand movement covers DPI / 96 times as many pixels. Each
// row starts the pointer on a monitor of its DPI and moves it by the steps given.
struct ScaledCase {
  const char* name;
  int dpi;
  std::vector<ScreenPoint> steps;
  bool ends;
};

class ShowScaled : public ::testing::TestWithParam<ScaledCase> {};

TEST_P(ShowScaled, ToleranceInPixelsOfTheMonitorsScale) {
  Show show;
  const int dpi = GetParam().dpi;
  show.platform.dpiAt = [dpi](ScreenPoint) { return dpi; };
  for (const ScreenPoint& step : GetParam().steps) show.MoveBy(step.x, step.y);
  EXPECT_EQ(show.ended, GetParam().ends);
}

INSTANTIATE_TEST_SUITE_P(
    Dpi, ShowScaled,
    ::testing::Values(
        ScaledCase{"At96Move4Stays", 96, {{0, 0}, {3, 1}}, false},
        ScaledCase{"At96Move5Ends", 96, {{0, 0}, {4, 1}}, true},
        ScaledCase{"At120Move5Stays", 120, {{0, 0}, {5, 0}}, false},
        ScaledCase{"At120Move6Ends", 120, {{0, 0}, {3, -3}}, true},
        ScaledCase{"At144Move5Stays", 144, {{0, 0}, {5, 0}}, false},
        ScaledCase{"At144Move6Stays", 144, {{0, 0}, {-3, 3}}, false},
        ScaledCase{"At144Move7Ends", 144, {{0, 0}, {4, 3}}, true},
        ScaledCase{"At168Move7Stays", 168, {{0, 0}, {0, 7}}, false},
        ScaledCase{"At168Move8Ends", 168, {{0, 0}, {0, -8}}, true},
        ScaledCase{"At192Move8Stays", 192, {{0, 0}, {8, 0}}, false},
        ScaledCase{"At192Move9Ends", 192, {{0, 0}, {5, 4}}, true},
        ScaledCase{"At144CreepingBy6NeverEnds", 144, {{6, 0}, {6, 0}, {0, 6}, {-3, -3}}, false},
        // A first move within the scaled tolerance becomes the new reference...
        ScaledCase{"At144FirstMoveOf6KeepsTheNextWithin", 144, {{6, 0}, {6, 0}}, false},
        // ...where at 96 it lies beyond, is forgiven, and the second counts from the start.
        ScaledCase{"At96FirstMoveOf6MakesTheSecondEnd", 96, {{6, 0}, {6, 0}}, true},
        ScaledCase{"At192FirstMoveOf20ForgivenSecondEnds", 192, {{20, 0}, {1, 0}}, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A desk of a 96-DPI monitor (x below 1024) and a 192-DPI one right of it: the
// tolerance is that of the monitor the pointer is on now.
TEST(ShowScaled, MixedDeskMeasuresOnThePointersMonitor) {
  const auto mixedDesk = [](ScreenPoint where) { return where.x < 1024 ? 96 : 192; };
  struct Row {
    ScreenPoint start;
    std::vector<ScreenPoint> moves;
    bool ends;
  };
  const std::vector<Row> rows = {
      {{500, 400}, {{500, 400}, {508, 400}}, true},      // 8 on the 96-DPI monitor
      {{1500, 400}, {{1500, 400}, {1508, 400}}, false},  // 8 on the 192-DPI monitor
      {{1500, 400}, {{1500, 400}, {1509, 400}}, true},
      {{1020, 400}, {{1020, 400}, {1028, 400}}, false},  // into the scaled monitor
      {{1028, 400}, {{1028, 400}, {1020, 400}}, true},   // out of it
  };
  for (const Row& row : rows) {
    Show show(2, row.start);
    show.platform.dpiAt = mixedDesk;
    for (const ScreenPoint& p : row.moves) show.MoveTo(p.x, p.y);
    EXPECT_EQ(show.ended, row.ends) << "from " << row.start.x << " to " << row.moves.back().x;
  }
}

TEST(ShowScaled, PointerReadFromThePlatformAndNotDuringThePrompt) {
  Show show;
  show.platform.cursor = {510, 400};
  show.Send([&] { show.rules.OnPointerMoved(); });  // the first, forgiven
  show.platform.log.clear();
  show.platform.cursor = {520, 400};
  show.platform.passwordAccepts = false;
  show.platform.duringPrompt = [&] {
    show.platform.log.push_back("[");
    show.rules.OnPointerMoved();
    show.platform.log.push_back("]");
  };
  show.Send([&] { show.rules.OnPointerMoved(); });
  EXPECT_THAT(show.platform.log, ElementsAre("cursor", "postClose", "prompt", "[", "]", "cursor"));
}

// A platform that cannot ask where the pointer is (Wayland) starts from a
// position it does not know ({0, 0} here) and reports the first one it learns.
TEST(ShowPointerFound, FirstLearnedPositionIsTheReference) {
  struct Case {
    const char* name;
    ScreenPoint found;
    std::vector<ScreenPoint> moves;
    bool ends;
  };
  const Case cases[] = {
      {"FarFromTheUnknownStartIsNoMove", {700, 500}, {}, false},
      {"SmallMovesFromTheFoundPlace", {700, 500}, {{701, 500}, {702, 502}}, false},
      {"FarMoveFromTheFoundPlaceEnds", {700, 500}, {{720, 500}}, true},
      {"JustBeyondTheToleranceEnds", {700, 500}, {{703, 502}}, true},
  };
  for (const Case& c : cases) {
    Show show(2, {0, 0});
    show.Send([&] { show.rules.OnPointerFound(c.found); });
    for (const ScreenPoint& p : c.moves) show.MoveTo(p.x, p.y);
    EXPECT_EQ(show.ended, c.ends) << c.name;
  }
  // Found again later (the pointer entering another output's surface) it is a move.
  Show show(2, {0, 0});
  show.Send([&] { show.rules.OnPointerFound({100, 100}); });
  show.Send([&] { show.rules.OnPointerFound({400, 100}); });
  EXPECT_TRUE(show.ended);
}

TEST(PostedCloses, AcceptedCloseEndsOnceAndLaterOnesAreDropped) {
  FakePlatform platform;
  ShowRules rules(platform);
  rules.OnCreated(kPrimaryWindow);
  int ends = 0;
  rules.OnKeyPressed();
  rules.OnKeyPressed();
  platform.closes.Deliver(rules, [&] { ++ends; });
  platform.closes.Request(rules, [&] { ++ends; });
  platform.closes.EndOnce([&] { ++ends; });
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(platform.closes.Ended());
  EXPECT_EQ(std::count(platform.log.begin(), platform.log.end(), "prompt"), 1);
}

}  // namespace
