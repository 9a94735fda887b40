#include "engine/shell_policy.h"

#include <cstdlib>

ShellReply ShellPolicy::handle(unsigned message, std::uintptr_t wParam) {
  namespace M = ShellMessage;

  // Creation, teardown and system commands are handled alike with or without an open prompt.
  switch (message) {
    case M::Create:
      savedCursor_ = platform_.cursorPosition();
      platform_.hideCursor();
      platform_.setRunTitle();
      platform_.lowerThreadPriority();
      platform_.setUpRendering();
      running_ = true;
      return byDefault();
    case M::Destroy:
      platform_.postQuit();
      running_ = false;
      platform_.tearDownRendering();
      return byDefault();
    case M::SysCommand: {
      // Task switching and the system's own screen-saver start would pull the show apart.
      const std::uintptr_t command = wParam & ShellCommand::Mask;
      if (command == ShellCommand::NextWindow || command == ShellCommand::PrevWindow ||
          command == ShellCommand::ScreenSave)
        return answer(0);
      return byDefault();
    }
    case M::Close:
      return onClose();
  }

  // While the prompt is open it owns the input.
  if (passwordPromptActive_) return byDefault();

  switch (message) {
    case M::ShowWindow:
      if (wParam != 0) platform_.hideCursor();
      break;
    case M::ActivateApp:
      if (wParam == 0) armAndClose();
      break;
    case M::SetCursor:
      platform_.hideCursor();
      return answer(1);
    case M::KeyDown:
    case M::SysKeyDown:
    case M::LButtonDown:
    case M::RButtonDown:
    case M::MButtonDown:
      armAndClose();
      break;
    case M::MouseMove:
      onMouseMove();
      break;
  }
  return byDefault();
}

ShellReply ShellPolicy::onClose() {
  // Closes from other programs, or from a stray first pointer reading, are not the user's.
  if (!closeArmed_) return answer(0);
  // A close queued behind the one that opened the prompt waits for that prompt's verdict
  // instead of stacking a second prompt on it.
  if (passwordPromptActive_) return answer(0);

  passwordPromptActive_ = true;
  const bool accepted = platform_.verifyPassword();
  passwordPromptActive_ = false;
  if (accepted) return byDefault();  // the default processing destroys the window

  // Measure later movement from where the pointer is now, after the prompt.
  savedCursor_ = platform_.cursorPosition();
  return answer(0);
}

void ShellPolicy::onMouseMove() {
  // The first reading often comes from the window appearing under a still pointer.
  if (firstMoveSeen_)
    closeArmed_ = true;
  else
    firstMoveSeen_ = true;

  const ShellPoint now = platform_.cursorPosition();
  const long long distance = std::llabs(static_cast<long long>(savedCursor_.x) - now.x) +
                             std::llabs(static_cast<long long>(savedCursor_.y) - now.y);
  if (distance > shellMouseTolerance)
    platform_.postClose();
  else
    savedCursor_ = now;  // slow creeping within the tolerance never adds up
}

void ShellPolicy::armAndClose() {
  closeArmed_ = true;
  platform_.postClose();
}
