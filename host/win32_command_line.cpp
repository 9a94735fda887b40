#include "host/win32_command_line.h"

#include <windows.h>

#include "common/win32_text.h"

std::string CommandLineUtf8() { return orvane::text::ToUtf8(GetCommandLineW()); }
