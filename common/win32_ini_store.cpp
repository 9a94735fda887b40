#include "common/win32_ini_store.h"

#include "common/win32_text.h"

#include <windows.h>

#include <iterator>
#include <optional>
#include <utility>

namespace orvane::common {

namespace {

// Longest value the store gives back, in bytes.
constexpr std::size_t kMaxValueBytes = 255;

// The wide profile functions take the key and value through the same code page
// as the ANSI ones: the file then holds the same bytes whichever way it is reached.
std::wstring ProfileText(std::string_view text) { return Widen(std::string(text), kAnsiCodePage); }

// A value read through the wide functions, in code page bytes and cut as the
// ANSI functions cut it: whole characters, at most kMaxValueBytes.
std::string ValueBytes(std::wstring value) {
  std::string bytes = Narrow(value, kAnsiCodePage);
  while (bytes.size() > kMaxValueBytes && !value.empty()) {
    value.pop_back();
    if (!value.empty() && IS_HIGH_SURROGATE(value.back())) value.pop_back();
    bytes = Narrow(value, kAnsiCodePage);
  }
  return bytes;
}

}  // namespace

Win32IniStore::Win32IniStore(ShortPathFunction shortPathOf)
    : shortPathOf_(std::move(shortPathOf)) {}

std::string Win32IniStore::ReadIniValue(std::string_view section, std::string_view key,
                                        const std::string& fileName) {
  const std::wstring wideName = FromUtf8(fileName);
  if (std::optional<std::string> ansiName = AnsiNameOf(wideName, shortPathOf_)) {
    // 256 bytes filled with NULs: a longer value arrives cut to 255 bytes.
    char buffer[kMaxValueBytes + 1] = {};
    std::string sectionZ(section);
    std::string keyZ(key);
    GetPrivateProfileStringA(sectionZ.c_str(), keyZ.c_str(), "", buffer, sizeof buffer,
                             ansiName->c_str());
    buffer[sizeof buffer - 1] = '\0';
    return std::string(buffer);
  }
  wchar_t buffer[kMaxValueBytes + 1] = {};
  GetPrivateProfileStringW(ProfileText(section).c_str(), ProfileText(key).c_str(), L"", buffer,
                           static_cast<DWORD>(std::size(buffer)), wideName.c_str());
  buffer[std::size(buffer) - 1] = L'\0';
  return ValueBytes(buffer);
}

bool Win32IniStore::WriteIniValue(std::string_view section, std::string_view key,
                                  const std::string& value, const std::string& fileName) {
  const std::wstring wideName = FromUtf8(fileName);
  if (std::optional<std::string> ansiName = AnsiNameOf(wideName, shortPathOf_)) {
    std::string sectionZ(section);
    std::string keyZ(key);
    return WritePrivateProfileStringA(sectionZ.c_str(), keyZ.c_str(), value.c_str(),
                                      ansiName->c_str()) != FALSE;
  }
  return WritePrivateProfileStringW(ProfileText(section).c_str(), ProfileText(key).c_str(),
                                    ProfileText(value).c_str(), wideName.c_str()) != FALSE;
}

bool Win32IniStore::FileExists(const std::string& path) {
  std::string copy = path;
  if (!copy.empty() && copy.back() == '\\') copy.pop_back();
  // The same name the ANSI entry points would open.
  return !copy.empty() && FileOpensForReading(Widen(copy, kAnsiCodePage));
}

}  // namespace orvane::common
