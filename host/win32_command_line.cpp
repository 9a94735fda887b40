#include "host/win32_command_line.h"

#include <windows.h>

#include "common/win32_text.h"

namespace orvane::host {

std::string CommandLineUtf8() { return common::ToUtf8(GetCommandLineW()); }

}  // namespace orvane::host
