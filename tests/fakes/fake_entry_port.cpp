#include "tests/fakes/fake_entry_port.h"

namespace orvane::fakes {

int FakeEntryPort::Count(std::string_view what) const {
  int count = 0;
  for (const std::string& call : calls)
    count += std::string_view(call).substr(0, call.find(' ')) == what;
  return count;
}

bool FakeEntryPort::WindowExists(std::string_view title) {
  calls.push_back("find " + std::string(title));
  return windows.count(std::string(title)) > 0;
}

bool FakeEntryPort::ShowPreview(std::uint32_t parentHandle) {
  calls.push_back("preview " + std::to_string(parentHandle));
  return previewParentIsWindow;
}

common::Settings FakeEntryPort::ReadSettings() {
  calls.push_back("settings");
  return loaded;
}

bool FakeEntryPort::EngineFileExists() {
  calls.push_back("engine?");
  return engineFile;
}

void FakeEntryPort::ShowMissingEngineMessage() { calls.push_back("message"); }

void FakeEntryPort::ShowSettingsDialog(common::Settings& settings) {
  calls.push_back("dialog " + std::to_string(static_cast<int>(settings.musicMode)));
  settingsGiven.push_back(settings);
}

void FakeEntryPort::HideCursor() { calls.push_back("hide cursor"); }

bool FakeEntryPort::StartShow(const common::Settings& settings, host::ShowRole role) {
  const std::string letter = role == host::ShowRole::ScreenSaver ? "S" : "";
  calls.push_back("saver " + std::to_string(static_cast<int>(settings.musicMode)) + " role " +
                  letter);
  settingsGiven.push_back(settings);
  return saverWindowMade;
}

}  // namespace orvane::fakes
