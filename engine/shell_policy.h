// The engine window's rules: which messages end the show, which are swallowed,
// and when a frame may be drawn. Platform-free, so the rules are tested natively;
// the Win32 window procedure only hands each message over and acts on the reply.
#pragma once

#include <cstdint>

#include "common/names.h"

// Names other programs look for (the host finds the engine by the run-time title).
constexpr char shellWindowClass[] = "WindowsScreenSaverClass";
constexpr char shellCreationTitle[] = "Screensaver";
constexpr const char* shellRunTitle = orvane::names::kEngineWindowTitle;
constexpr int shellIconId = 7002;

// Largest Manhattan distance in pixels between two pointer readings that does not end the show.
constexpr int shellMouseTolerance = 4;

// Message and system-command numbers the rules look at (the platform's values; the
// Win32 side checks them against <windows.h> at compile time).
namespace ShellMessage {
constexpr unsigned Create = 0x0001;
constexpr unsigned Destroy = 0x0002;
constexpr unsigned Close = 0x0010;
constexpr unsigned ShowWindow = 0x0018;
constexpr unsigned ActivateApp = 0x001C;
constexpr unsigned SetCursor = 0x0020;
constexpr unsigned KeyDown = 0x0100;
constexpr unsigned SysKeyDown = 0x0104;
constexpr unsigned SysCommand = 0x0112;
constexpr unsigned MouseMove = 0x0200;
constexpr unsigned LButtonDown = 0x0201;
constexpr unsigned RButtonDown = 0x0204;
constexpr unsigned MButtonDown = 0x0207;
}  // namespace ShellMessage

namespace ShellCommand {
constexpr std::uintptr_t NextWindow = 0xF040;
constexpr std::uintptr_t PrevWindow = 0xF050;
constexpr std::uintptr_t ScreenSave = 0xF140;
// The low four bits of a system command are the system's own.
constexpr std::uintptr_t Mask = 0xFFF0;
}  // namespace ShellCommand

struct ShellPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// What the rules ask of the platform, for the one engine window.
class ShellPlatform {
 public:
  virtual ~ShellPlatform() = default;
  virtual ShellPoint cursorPosition() = 0;  // screen pixels
  virtual void hideCursor() = 0;
  virtual void setRunTitle() = 0;
  virtual void lowerThreadPriority() = 0;
  virtual void setUpRendering() = 0;
  virtual void tearDownRendering() = 0;
  virtual void postQuit() = 0;
  virtual void postClose() = 0;
  // The platform's screen-saver password prompt; true lets the close go ahead.
  // May dispatch messages to the window while it runs.
  virtual bool verifyPassword() = 0;
};

// How the window procedure finishes a message: with the platform's default
// processing, or by returning `result` itself.
struct ShellReply {
  bool defaultProcessing = true;
  std::intptr_t result = 0;
};

class ShellPolicy {
 public:
  explicit ShellPolicy(ShellPlatform& platform) : platform_(platform) {}

  ShellReply handle(unsigned message, std::uintptr_t wParam);

  // The idle loop draws only while rendering is up and no password prompt is open.
  bool frameDue() const { return running_ && !passwordPromptActive_; }

  bool closeArmed() const { return closeArmed_; }
  ShellPoint savedCursor() const { return savedCursor_; }

 private:
  static constexpr ShellReply byDefault() { return ShellReply{}; }
  static constexpr ShellReply answer(std::intptr_t result) { return ShellReply{false, result}; }

  ShellReply onClose();
  void onMouseMove();
  void armAndClose();

  ShellPlatform& platform_;
  ShellPoint savedCursor_;
  bool closeArmed_ = false;
  bool firstMoveSeen_ = false;
  bool passwordPromptActive_ = false;
  bool running_ = false;
};
