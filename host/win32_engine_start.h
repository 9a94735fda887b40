#pragma once
// The start of the engine program, with the Windows calls it makes behind a
// seam: the hand-over of the foreground is a rule Wine does not enforce.
#include <windows.h>

#include <functional>
#include <string>

namespace orvane::host {

struct EngineStartCalls {
  std::function<BOOL(LPCWSTR application, LPWSTR commandLine, DWORD flags,
                     const STARTUPINFOW& startup, PROCESS_INFORMATION& process)>
      createProcess = [](LPCWSTR application, LPWSTR commandLine, DWORD flags,
                         const STARTUPINFOW& startup, PROCESS_INFORMATION& process) {
        STARTUPINFOW copy = startup;
        return CreateProcessW(application, commandLine, nullptr, nullptr, FALSE, flags, nullptr,
                              nullptr, &copy, &process);
      };
  std::function<BOOL(DWORD processId)> allowSetForegroundWindow = AllowSetForegroundWindow;
  std::function<DWORD(HANDLE thread)> resumeThread = ResumeThread;
};

// Starts the program at `path` (Orvane.dll) without arguments, shown normally,
// and hands it the right to take the foreground before it can open a window:
// Windows lets only the foreground process, or one it names, take it, and the
// engine must be in front for the first key to end the show. The process
// handle, for the caller to close; null when it could not start.
HANDLE StartEngineProcess(const std::wstring& path, const EngineStartCalls& calls = {});

}  // namespace orvane::host
