#include "host/win32_paths.h"

#include "common/names.h"
#include "common/settings.h"
#include "common/win32_text.h"

#include <windows.h>

#include <vector>

namespace orvane::host {

std::wstring ModulePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) return std::wstring(path.data(), n);
    path.resize(path.size() * 2);
  }
}

std::wstring FolderOf(const std::wstring& path) {
  const std::wstring::size_type slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring HostFolder() { return FolderOf(ModulePath()); }

std::string SettingsPathIn(const std::wstring& folder) {
  return common::SettingsPathIn(common::ToUtf8(folder));
}

std::string HostSettingsPath() { return SettingsPathIn(HostFolder()); }

std::wstring EnginePathIn(const std::wstring& folder) {
  return folder + common::kEngineFileSuffixW.Chars();
}

std::wstring EngineFilePath() { return EnginePathIn(HostFolder()); }

}  // namespace orvane::host
