#include "tests/fakes/fake_picture_ports.h"

namespace orvane::fakes {

bool RecordingSurface::Open(engine::SurfaceSize& size) {
  ++opened;
  size = {640, 480};
  return false;  // no GL here
}

void RecordingSurface::Close() {
  ++closed;
  Note("close");
}

bool RecordingSurface::SetSwapInterval(int interval) {
  Note("interval " + std::to_string(interval));
  return swapControl;
}

void RecordingSurface::Note(const std::string& call) {
  if (log_) log_->push_back(name_ + " " + call);
}

ScriptedClock ScriptedClock::Stepping(std::uint32_t stepMs) {
  ScriptedClock clock;
  clock.step = stepMs;
  return clock;
}

std::uint32_t ScriptedClock::Milliseconds() {
  if (next < readings.size() || step == 0) return readings.at(next++);
  const std::uint32_t reading = now;
  now += step;
  return reading;
}

}  // namespace orvane::fakes
