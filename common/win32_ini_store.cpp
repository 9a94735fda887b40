#include "common/win32_ini_store.h"

#include <windows.h>

namespace orvane::common {

std::string Win32IniStore::ReadIniValue(std::string_view section, std::string_view key,
                                        const std::string& fileName) {
  // 256 bytes filled with NULs: a longer value arrives cut to 255 bytes.
  char buffer[256] = {};
  std::string sectionZ(section);
  std::string keyZ(key);
  GetPrivateProfileStringA(sectionZ.c_str(), keyZ.c_str(), "", buffer, sizeof buffer,
                           fileName.c_str());
  buffer[sizeof buffer - 1] = '\0';
  return std::string(buffer);
}

bool Win32IniStore::WriteIniValue(std::string_view section, std::string_view key,
                                  const std::string& value, const std::string& fileName) {
  std::string sectionZ(section);
  std::string keyZ(key);
  return WritePrivateProfileStringA(sectionZ.c_str(), keyZ.c_str(), value.c_str(),
                                    fileName.c_str()) != FALSE;
}

bool Win32IniStore::FileExists(const std::string& path) {
  std::string copy = path;
  if (!copy.empty() && copy.back() == '\\') copy.pop_back();
  if (copy.empty()) return false;
  // A folder does not open this way, so it counts as missing.
  HANDLE file = CreateFileA(copy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace orvane::common
