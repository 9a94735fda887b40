#include "host/win32_command_line.h"

#include "common/win32_text.h"
#include "host/entry.h"
#include "host/win32_paths.h"

#include <windows.h>

#include <algorithm>
#include <utility>

namespace orvane::host {

std::string CommandLineUtf8() { return common::ToUtf8(GetCommandLineW()); }

std::vector<std::string> OwnPathSpellings(const std::wstring& modulePath,
                                          const common::ShortPathFunction& shortPathOf) {
  std::vector<std::string> spellings;
  for (const std::wstring& path :
       {modulePath, common::SystemLongPath(modulePath), shortPathOf(modulePath)}) {
    if (path.empty()) continue;
    std::string utf8 = common::ToUtf8(path);
    if (std::find(spellings.begin(), spellings.end(), utf8) == spellings.end())
      spellings.push_back(std::move(utf8));
  }
  return spellings;
}

bool SameFileNameSpelling(std::string_view a, std::string_view b) {
  const std::wstring wideA = common::FromUtf8(std::string(a));
  const std::wstring wideB = common::FromUtf8(std::string(b));
  // Ordinal and case-blind, the way NTFS compares names.
  return CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                              static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

std::string ThisProgramsArgumentText() {
  return ArgumentText(CommandLineUtf8(), OwnPathSpellings(ModulePath()), SameFileNameSpelling);
}

}  // namespace orvane::host
