#include "engine/cover_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace orvane::engine;

constexpr MonitorRect kPrimary{0, 0, 1024, 768};
constexpr MonitorRect kRight{1024, 0, 1824, 600};
constexpr MonitorRect kLeft{-1280, -200, 0, 824};
constexpr MonitorRect kAbove{0, -600, 800, 0};

MonitorInfo Primary() { return {kPrimary, true}; }
MonitorInfo Other(MonitorRect rect) { return {rect, false}; }

struct PlanCase {
  const char* name;
  std::vector<MonitorInfo> monitors;
  std::vector<MonitorRect> others;
};

class CoverPlan : public ::testing::TestWithParam<PlanCase> {};

TEST_P(CoverPlan, OneWindowPerOtherMonitor) {
  EXPECT_EQ(PlanOtherWindows(GetParam().monitors, kPrimary), GetParam().others);
}

std::vector<MonitorInfo> Many(int count) {
  std::vector<MonitorInfo> monitors{Primary()};
  for (int n = 1; n < count; ++n) monitors.push_back(Other({n * 1024, 0, n * 1024 + 640, 480}));
  return monitors;
}
std::vector<MonitorRect> ManyOthers(int count) {
  std::vector<MonitorRect> others;
  for (int n = 1; n < count; ++n) others.push_back({n * 1024, 0, n * 1024 + 640, 480});
  return others;
}

INSTANTIATE_TEST_SUITE_P(
    Desks, CoverPlan,
    ::testing::Values(
        PlanCase{"SingleMonitor", {Primary()}, {}}, PlanCase{"NoMonitorReported", {}, {}},
        PlanCase{"PrimaryFirst", {Primary(), Other(kRight)}, {kRight}},
        PlanCase{"PrimaryNotFirst", {Other(kRight), Primary()}, {kRight}},
        PlanCase{"NegativeCoordinates", {Other(kLeft), Primary(), Other(kAbove)}, {kLeft, kAbove}},
        PlanCase{"MirroredPairGetsOneWindow", {Primary(), Other(kRight), Other(kRight)}, {kRight}},
        PlanCase{"MirroredWithPrimaryGetsNone", {Primary(), Other(kPrimary)}, {}},
        PlanCase{"ZeroSizeSkipped",
                 {Primary(), Other({1024, 0, 1024, 600}), Other({0, 768, 800, 768}), Other(kRight)},
                 {kRight}},
        PlanCase{"InvertedSkipped", {Primary(), Other({1824, 0, 1024, 600})}, {}},
        PlanCase{"TenMonitorsAllCovered", Many(10), ManyOthers(10)}),
    [](const auto& info) { return std::string(info.param.name); });

struct ChangeCase {
  const char* name;
  std::vector<MonitorRect> covered;
  MonitorRect coveredPrimary;
  std::vector<MonitorRect> planned;
  MonitorRect plannedPrimary;
  DeskChange expected;
};

class DeskChanges : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(DeskChanges, RecoverOnlyWhenTheDeskDiffers) {
  const ChangeCase& c = GetParam();
  EXPECT_EQ(DecideDeskChange(c.covered, c.coveredPrimary, c.planned, c.plannedPrimary), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, DeskChanges,
    ::testing::Values(
        ChangeCase{"Same", {kRight}, kPrimary, {kRight}, kPrimary, DeskChange::Keep},
        ChangeCase{"SameInOtherOrder",
                   {kRight, kLeft},
                   kPrimary,
                   {kLeft, kRight},
                   kPrimary,
                   DeskChange::Keep},
        ChangeCase{"MonitorAdded", {}, kPrimary, {kRight}, kPrimary, DeskChange::Recover},
        ChangeCase{"MonitorRemoved", {kRight}, kPrimary, {}, kPrimary, DeskChange::Recover},
        ChangeCase{"MonitorMoved", {kRight}, kPrimary, {kLeft}, kPrimary, DeskChange::Recover},
        ChangeCase{"PrimaryResized",
                   {kRight},
                   kPrimary,
                   {kRight},
                   {0, 0, 1280, 1024},
                   DeskChange::Recover}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

struct ScreenCase {
  const char* name;
  std::vector<MonitorInfo> monitors;
  MonitorRect primary;
  std::vector<MonitorRect> others;
};

class ScreenCovers : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(ScreenCovers, WholeScreenUnlessSeveralMonitors) {
  const ScreenCover cover = PlanScreenCover(GetParam().monitors, 1824, 768);
  EXPECT_EQ(cover.primary, GetParam().primary);
  EXPECT_EQ(cover.others, GetParam().others);
}

constexpr MonitorRect kScreen{0, 0, 1824, 768};

INSTANTIATE_TEST_SUITE_P(
    Screens, ScreenCovers,
    ::testing::Values(
        ScreenCase{"NoneReported", {}, kScreen, {}},
        ScreenCase{"OneMonitor", {{kPrimary, true}}, kScreen, {}},
        ScreenCase{
            "TwoHeadsFirstIsPrimary", {{kPrimary, true}, {kRight, false}}, kPrimary, {kRight}},
        ScreenCase{"PrimaryListedSecond", {{kRight, false}, {kPrimary, true}}, kPrimary, {kRight}},
        ScreenCase{
            "NoPrimaryFlagFirstServes", {{kRight, false}, {kPrimary, false}}, kRight, {kPrimary}},
        ScreenCase{"MirrorsAreOneMonitor", {{kPrimary, true}, {kPrimary, false}}, kScreen, {}},
        ScreenCase{
            "EmptyHeadIgnored", {{kPrimary, true}, {{1024, 0, 1024, 0}, false}}, kScreen, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
