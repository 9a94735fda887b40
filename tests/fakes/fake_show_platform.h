// The platform side of the engine's rules, recorded: every call the rules make
// is a line of `log`, the pointer is where a test puts it, and the password
// prompt answers as told (and may deliver events while it is open).
#pragma once

#include "engine/show_rules.h"

#include <functional>
#include <string>
#include <vector>

namespace orvane::fakes {

class FakeShowPlatform : public engine::ShowPlatform {
 public:
  engine::ScreenPoint cursor{500, 400};
  bool passwordAccepts = true;
  std::function<void()> duringPrompt;
  std::vector<std::string> log;
  engine::PostedCloses closes;  // what PostClose queued, for a test to deliver
  // The monitors' DPI by pointer position; unset, every monitor is at 96.
  std::function<int(engine::ScreenPoint)> dpiAt;

  engine::ScreenPoint CursorPosition() override {
    log.push_back("cursor");
    return cursor;
  }
  int DpiAt(engine::ScreenPoint where) override {
    return dpiAt ? dpiAt(where) : engine::kReferenceDpi;
  }
  void HideCursor() override { log.push_back("hideCursor"); }
  void SetRunTitle() override { log.push_back("title"); }
  void LowerThreadPriority() override { log.push_back("priority"); }
  void SetUpWindowPicture(engine::ShowWindowId window) override {
    log.push_back("setUp " + std::to_string(window));
  }
  void TearDownWindowPicture(engine::ShowWindowId window) override {
    log.push_back("tearDown " + std::to_string(window));
  }
  void PostQuit() override { log.push_back("quit"); }
  void PostClose() override {
    log.push_back("postClose");
    closes.Post();
  }
  bool VerifyPassword() override {
    log.push_back("prompt");
    if (duringPrompt) duringPrompt();
    return passwordAccepts;
  }
};

}  // namespace orvane::fakes
