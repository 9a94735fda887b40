#pragma once
// An address opened by the shell, as the shell asks to be called.
#include <windows.h>

#include <functional>

namespace orvane::dialog {

using ShellExecuteFunction = std::function<HINSTANCE(
    HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)>;

// The verb "open" on `address` (ShellExecuteA, shown normally). The shell may
// hand the work to extensions that need COM, so this thread joins a
// single-threaded apartment (without OLE1 DDE) for the call and leaves it
// again when it joined; a thread already in another apartment stays there.
void OpenWithShell(HWND owner, const char* address, const ShellExecuteFunction& shellExecute);

}  // namespace orvane::dialog
