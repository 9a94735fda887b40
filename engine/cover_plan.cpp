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
