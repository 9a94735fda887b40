#include "dialog/win32_shell_open.h"

#include <objbase.h>

namespace orvane::dialog {

void OpenWithShell(HWND owner, const char* address, const ShellExecuteFunction& shellExecute) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  // The shell's answer is not looked at: a page that cannot be opened changes nothing here.
  shellExecute(owner, "open", address, nullptr, "", SW_SHOWNORMAL);
  // S_FALSE (already in this apartment) counts too: every success is undone once.
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace orvane::dialog
