#include "host/win32_engine_start.h"

namespace orvane::host {

HANDLE StartEngineProcess(const std::wstring& path, const EngineStartCalls& calls) {
  // By its absolute path with the application name given: no search path.
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  // Held until it may take the foreground, so that it cannot make its window first.
  if (!calls.createProcess(path.c_str(), commandLine.data(), CREATE_SUSPENDED, startup, process))
    return nullptr;
  calls.allowSetForegroundWindow(process.dwProcessId);
  if (calls.resumeThread(process.hThread) == static_cast<DWORD>(-1)) {
    // A process that never runs would hold the show until its grace period ends.
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

}  // namespace orvane::host
