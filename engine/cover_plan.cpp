#include "engine/cover_plan.h"

#include <algorithm>

namespace orvane::engine {

std::vector<MonitorRect> PlanOtherWindows(const std::vector<MonitorInfo>& monitors,
                                          MonitorRect primaryWindow) {
  std::vector<MonitorRect> others;
  for (const MonitorInfo& monitor : monitors) {
    const MonitorRect& rect = monitor.rect;
    if (rect.Empty() || monitor.primary || rect == primaryWindow) continue;
    if (std::find(others.begin(), others.end(), rect) != others.end()) continue;
    others.push_back(rect);
  }
  return others;
}

ScreenCover PlanScreenCover(const std::vector<MonitorInfo>& monitors, int screenWidth,
                            int screenHeight) {
  const MonitorRect screen{0, 0, screenWidth, screenHeight};
  std::vector<MonitorInfo> usable;
  for (const MonitorInfo& monitor : monitors)
    if (!monitor.rect.Empty()) usable.push_back(monitor);
  if (usable.size() < 2) return {screen, {}};
  MonitorRect primary = usable.front().rect;
  for (const MonitorInfo& monitor : usable)
    if (monitor.primary) {
      primary = monitor.rect;
      break;
    }
  ScreenCover cover{primary, PlanOtherWindows(usable, primary)};
  // Monitors that all show one picture (mirrors) are a single monitor.
  if (cover.others.empty()) cover.primary = screen;
  return cover;
}

DeskChange DecideDeskChange(const std::vector<MonitorRect>& coveredOthers,
                            MonitorRect coveredPrimary,
                            const std::vector<MonitorRect>& plannedOthers,
                            MonitorRect plannedPrimary) {
  // The same set in another order covers the same desk.
  if (coveredPrimary != plannedPrimary || coveredOthers.size() != plannedOthers.size())
    return DeskChange::Recover;
  for (const MonitorRect& rect : plannedOthers)
    if (std::find(coveredOthers.begin(), coveredOthers.end(), rect) == coveredOthers.end())
      return DeskChange::Recover;
  return DeskChange::Keep;
}

}  // namespace orvane::engine
