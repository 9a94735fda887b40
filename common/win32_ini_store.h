#pragma once
// The settings store on Windows: the profile functions and the file system.
// Key names, values and stored paths are system code page bytes; the settings
// file's own name is UTF-8 (see IniStore).
#include "common/settings.h"
#include "common/win32_file_names.h"

#include <string>
#include <string_view>

namespace orvane::common {

class Win32IniStore : public IniStore {
 public:
  // `shortPathOf` names the settings file for the ANSI profile functions when
  // the code page cannot (tests give a volume without short names).
  explicit Win32IniStore(ShortPathFunction shortPathOf = SystemShortPath);

  // Through the ANSI profile functions wherever the file has an ANSI name, as
  // earlier versions did; else through the wide ones, with the same bytes.
  std::string ReadIniValue(std::string_view section, std::string_view key,
                           const std::string& fileName) override;
  // False when the profile function reports that the value could not be written.
  bool WriteIniValue(std::string_view section, std::string_view key, const std::string& value,
                     const std::string& fileName) override;
  bool FileExists(const std::string& path) override;

 private:
  ShortPathFunction shortPathOf_;
};

}  // namespace orvane::common
