#pragma once
// Fields of the button that only its tests read.
#include "widgets/command.h"

#include <cstdint>

namespace orvane::widgets {

struct CommandTesting {
  static uint8_t FirstRun(const Command& button) { return button.firstRun_; }
  static bool LeftButtonHeld(const Command& button) { return button.leftButtonHeld_; }
  static bool SpaceHeld(const Command& button) { return button.spaceHeld_; }
};

}  // namespace orvane::widgets
