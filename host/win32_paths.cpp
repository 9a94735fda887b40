#include "host/win32_paths.h"

#include <windows.h>

#include <vector>

#include "common/names.h"
#include "common/settings.h"

std::string HostFolder() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) {
      std::string full(path.data(), n);
      std::string::size_type slash = full.find_last_of("\\/");
      return slash == std::string::npos ? std::string() : full.substr(0, slash);
    }
    path.resize(path.size() * 2);
  }
}

std::string SettingsFilePath() { return SettingsFilePath(HostFolder()); }

std::string EngineFilePath() { return HostFolder() + orvane::names::kEngineFileSuffix; }
