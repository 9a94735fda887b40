#pragma once
// The settings store on Windows: the ANSI profile functions and the file
// system. Key names and paths are system code page bytes.
#include <string>
#include <string_view>

#include "common/settings.h"

namespace orvane::common {

class Win32IniStore : public IniStore {
 public:
  std::string ReadIniValue(std::string_view section, std::string_view key,
                           const std::string& fileName) override;
  // False when the profile function reports that the value could not be written.
  bool WriteIniValue(std::string_view section, std::string_view key, const std::string& value,
                     const std::string& fileName) override;
  bool FileExists(const std::string& path) override;
};

}  // namespace orvane::common
