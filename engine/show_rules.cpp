#include "engine/show_rules.h"

#include <cstdlib>

namespace orvane::engine {

void ShowRules::OnCreated(ShowWindowId window) {
  if (window != kPrimaryWindow) {
    // Another monitor's window joins a running show: it only needs its own picture.
    platform_.SetUpWindowPicture(window);
    return;
  }
  savedCursor_ = platform_.CursorPosition();
  platform_.HideCursor();
  platform_.SetRunTitle();
  platform_.LowerThreadPriority();
  platform_.SetUpWindowPicture(window);
  running_ = true;
}

void ShowRules::OnDestroyed(ShowWindowId window) {
  if (window != kPrimaryWindow) {
    platform_.TearDownWindowPicture(window);
    return;
  }
  platform_.PostQuit();
  running_ = false;
  platform_.TearDownWindowPicture(window);
}

bool ShowRules::SwallowsSystemCommand(SystemCommand command) {
  // Task switching and the system's own screen-saver start would pull the show apart.
  return command != SystemCommand::Other;
}

bool ShowRules::OnCloseRequested() {
  // Closes from other programs, or from a stray first pointer reading, are not the user's.
  if (!closeArmed_) return false;
  // A close queued behind the one that opened the prompt waits for that prompt's verdict
  // instead of stacking a second prompt on it.
  if (passwordPromptActive_) return false;

  passwordPromptActive_ = true;
  const bool accepted = platform_.VerifyPassword();
  passwordPromptActive_ = false;
  if (accepted) return true;

  // Measure later movement from where the pointer is now, after the prompt.
  savedCursor_ = platform_.CursorPosition();
  return false;
}

void ShowRules::OnShown() {
  if (!passwordPromptActive_) platform_.HideCursor();
}

bool ShowRules::OnCursorQuery() {
  if (passwordPromptActive_) return false;
  platform_.HideCursor();
  return true;
}

void ShowRules::OnFocusLostToOtherApplication() {
  if (!passwordPromptActive_) ArmAndClose();
}

void ShowRules::OnKeyPressed() {
  if (!passwordPromptActive_) ArmAndClose();
}

void ShowRules::OnButtonPressed() {
  if (!passwordPromptActive_) ArmAndClose();
}

void ShowRules::OnPointerMoved(ScreenPoint where) {
  if (passwordPromptActive_) return;
  // The first reading often comes from the window appearing under a still pointer;
  // with several windows it is still one reading for the whole show.
  if (firstMoveSeen_)
    closeArmed_ = true;
  else
    firstMoveSeen_ = true;

  const long long distance = std::llabs(static_cast<long long>(savedCursor_.x) - where.x) +
                             std::llabs(static_cast<long long>(savedCursor_.y) - where.y);
  if (BeyondMouseTolerance(distance, platform_.DpiAt(where)))
    platform_.PostClose();
  else
    savedCursor_ = where;  // slow creeping within the tolerance never adds up
}

void ShowRules::OnPointerMoved() {
  if (passwordPromptActive_) return;
  OnPointerMoved(platform_.CursorPosition());
}

void ShowRules::OnPointerFound(ScreenPoint where) {
  if (passwordPromptActive_) return;
  if (firstMoveSeen_) {
    OnPointerMoved(where);
    return;
  }
  firstMoveSeen_ = true;
  savedCursor_ = where;
}

void ShowRules::ArmAndClose() {
  closeArmed_ = true;
  platform_.PostClose();
}

}  // namespace orvane::engine
