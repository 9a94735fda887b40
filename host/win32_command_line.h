#pragma once
// The host's argument text from the process's command line, with the
// program's own path recognised however Windows spelt it.
#include "common/win32_file_names.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane::host {

// The process's command line in UTF-8, for the pure host code.
std::string CommandLineUtf8();

// The ways the command line may name the program at `modulePath` (UTF-8):
// as the system reports it, in its long form and in its short form, when it
// has one (`shortPathOf`). Each once.
std::vector<std::string> OwnPathSpellings(
    const std::wstring& modulePath,
    const common::ShortPathFunction& shortPathOf = common::SystemShortPath);

// The file system's comparison of two names (UTF-8): case does not count.
bool SameFileNameSpelling(std::string_view a, std::string_view b);

// The argument text of this process.
std::string ThisProgramsArgumentText();

}  // namespace orvane::host
