// The frame clock's time on Windows: the multimedia timer's milliseconds.
#pragma once

#include "engine/render.h"

#include <windows.h>
#include <mmsystem.h>

namespace orvane::engine {

class Win32Clock final : public RenderClock {
 public:
  std::uint32_t Milliseconds() override { return timeGetTime(); }
};

}  // namespace orvane::engine
