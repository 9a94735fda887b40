// The picture's ports without GL, for the engine's unit tests: a window whose
// surface has no context (frames update the veils and draw nothing) and a
// clock that reads what the test scripts.
#pragma once

#include "engine/picture.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane::fakes {

// Opens at 640 x 480 without a context and counts the calls; with a log, the
// calls that tell windows apart are lines of it, named ("w1 current").
class RecordingSurface final : public engine::GlSurface {
 public:
  explicit RecordingSurface(std::string name = "", std::vector<std::string>* log = nullptr)
      : name_(std::move(name)), log_(log) {}

  int opened = 0, presented = 0, closed = 0;
  bool swapControl = false;  // the driver offers swap control (and so the swap can wait)

  bool Open(engine::SurfaceSize& size) override;
  void Present() override { ++presented; }
  void Close() override;
  void MakeCurrent() override { Note("current"); }
  bool SetSwapInterval(int interval) override;
  bool SwapWaitsForDisplay() override { return swapControl; }

 private:
  void Note(const std::string& call);
  std::string name_;
  std::vector<std::string>* log_;
};

// Reads the scripted `readings` in order; past them it throws, so a read the
// test did not expect fails it, unless the clock steps: then it reads `now`
// and advances it by `step` each time.
class ScriptedClock final : public engine::RenderClock {
 public:
  static ScriptedClock Stepping(std::uint32_t stepMs);

  std::vector<std::uint32_t> readings;
  std::size_t next = 0;  // readings taken
  std::uint32_t now = 1000;
  std::uint32_t step = 0;
  std::uint32_t second = 1700000000;  // the calendar second it reports

  std::uint32_t Milliseconds() override;
  std::uint32_t CalendarSeconds() override { return second; }
};

}  // namespace orvane::fakes
