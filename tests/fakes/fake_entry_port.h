// The host's start-up port, recorded, for the unit tests and the fuzz targets:
// every call is a line of `calls` in order ("find <title>", "preview <handle>",
// "settings", "engine?", "message", "dialog <mode>", "hide cursor",
// "saver <mode> role <letter>"), and the answers are the fields below.
#pragma once

#include "host/entry.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::fakes {

class FakeEntryPort : public host::EntryPort {
 public:
  std::set<std::string> windows;  // titles of the windows that exist
  bool previewParentIsWindow = true;
  bool engineFile = true;
  bool saverWindowMade = true;
  common::Settings loaded;  // what ReadSettings answers

  std::vector<std::string> calls;
  std::vector<common::Settings> settingsGiven;  // to the dialog and the show, in order

  // How many calls begin with the word `what` ("find", "saver", "engine?").
  int Count(std::string_view what) const;

  bool WindowExists(std::string_view title) override;
  bool ShowPreview(std::uint32_t parentHandle) override;
  common::Settings ReadSettings() override;
  bool EngineFileExists() override;
  void ShowMissingEngineMessage() override;
  void ShowSettingsDialog(common::Settings& settings) override;
  void HideCursor() override;
  bool StartShow(const common::Settings& settings, host::ShowRole role) override;
};

}  // namespace orvane::fakes
