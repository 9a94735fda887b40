#include "common/win32_file_names.h"

#include "common/win32_text.h"

#include <windows.h>

namespace orvane::common {

namespace {

// The form of `path` that GetShortPathNameW or GetLongPathNameW gives; empty
// when the call fails.
std::wstring PathForm(const std::wstring& path, DWORD(WINAPI* form)(LPCWSTR, LPWSTR, DWORD)) {
  const DWORD size = form(path.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring result(size, L'\0');
  const DWORD n = form(path.c_str(), result.data(), size);
  if (n == 0 || n >= size) return {};
  result.resize(n);
  return result;
}

}  // namespace

std::wstring SystemShortPath(const std::wstring& path) { return PathForm(path, GetShortPathNameW); }

std::wstring SystemLongPath(const std::wstring& path) { return PathForm(path, GetLongPathNameW); }

std::optional<std::string> AnsiNameOf(const std::wstring& path,
                                      const ShortPathFunction& shortPathOf) {
  if (std::optional<std::string> exact = ToAnsiExactly(path)) return exact;
  const std::wstring shortPath = shortPathOf(path);
  if (shortPath.empty() || shortPath == path) return std::nullopt;
  return ToAnsiExactly(shortPath);
}

bool FileOpensForReading(const std::wstring& path) {
  if (path.empty()) return false;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace orvane::common
