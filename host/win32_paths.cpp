#include "host/win32_paths.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "common/names.h"
#include "common/settings.h"
#include "common/win32_text.h"

namespace orvane::host {

using common::SettingsPathIn;

std::string AnsiPathOf(const std::wstring& path) {
  if (std::optional<std::string> exact = common::ToAnsiExactly(path)) return *exact;
  // A folder named outside the code page (a user name, say) still has a short
  // form that the ANSI entry points can open.
  const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size > 0) {
    std::wstring shortPath(size, L'\0');
    const DWORD n = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (n > 0 && n < size) {
      shortPath.resize(n);
      if (std::optional<std::string> exact = common::ToAnsiExactly(shortPath)) return *exact;
    }
  }
  return common::Narrow(path, common::kAnsiCodePage);
}

std::string HostFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) {
      std::wstring full(path.data(), n);
      std::wstring::size_type slash = full.find_last_of(L"\\/");
      return slash == std::wstring::npos ? std::string() : AnsiPathOf(full.substr(0, slash));
    }
    path.resize(path.size() * 2);
  }
}

std::string HostSettingsPath() { return SettingsPathIn(HostFolder()); }

std::string EngineFilePath() { return HostFolder() + common::kEngineFileSuffix; }

}  // namespace orvane::host
