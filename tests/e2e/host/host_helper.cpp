// host_helper: stand-ins for the host's e2e scenarios.
//
//   window TITLE W H   a visible top-level window of W x H pixels with that
//                      title; WM_CLOSE closes it, message 0x0401 destroys it
//                      at once (its children are not closed first)
//   engine             a stand-in engine (start it as Orvane.dll): waits
//                      ORVANE_FAKE_ENGINE_DELAY_MS, then opens "OrvaneVC",
//                      which a key press, a click or WM_CLOSE ends; a
//                      negative delay ends it at once without a window
//   kill-window TITLE  ends the process that owns the window at once
//   watch              waits for the show's windows, then prints how many
//                      milliseconds after the end of "OrvaneVC" the process
//                      owning "Orvane_Main" ended (exit code 1: it did not
//                      end within 10 s)
//   short-path PATH    prints the short form of PATH (UTF-8), as
//                      GetShortPathNameW has it; exit code 1 when it fails
//   setting-watch FILE a hidden top-level window titled "SettingWatch" that
//                      appends the wParam of every WM_SETTINGCHANGE it hears
//                      to FILE, one decimal line each; WM_CLOSE ends it
//   run COMMAND_LINE   starts COMMAND_LINE with CreateProcessW and no
//                      application name, as Windows starts a screen saver,
//                      and ends with its exit code once it ends
//   run-verbatim PATH COMMAND_LINE
//                      the same, with PATH as the application name: the
//                      program gets COMMAND_LINE exactly as given, as Windows
//                      hands a saver its stored path with blanks and no
//                      quotes (Wine quotes such a path when it finds the
//                      program from the command line itself)
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT kDestroyNow = WM_USER + 1;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kDestroyNow:
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

int Run(const wchar_t* title, int x, int y, int w, int h) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = L"HostHelper";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, title,
                                WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, w, h, nullptr,
                                nullptr, wc.hInstance, nullptr);
  if (!window) return 3;
  SetForegroundWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

// Where the setting watch writes (a platform callback needs it from outside).
FILE* settingLog = nullptr;

LRESULT CALLBACK SettingWatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTINGCHANGE && settingLog) {
    std::fprintf(settingLog, "%llu\n", static_cast<unsigned long long>(wParam));
    std::fflush(settingLog);
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

int WatchSettings(const wchar_t* file) {
  settingLog = _wfopen(file, L"ab");
  if (!settingLog) return 1;
  WNDCLASSW wc{};
  wc.lpfnWndProc = SettingWatchProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HostHelperSettingWatch";
  RegisterClassW(&wc);
  // Top-level and hidden: broadcasts reach unowned hidden windows too.
  if (!CreateWindowExW(0, wc.lpszClassName, L"SettingWatch", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                       nullptr, wc.hInstance, nullptr))
    return 3;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  std::fclose(settingLog);
  return 0;
}

double NowMs() {
  LARGE_INTEGER now, freq;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&freq);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

int Watch() {
  HWND show = nullptr;
  for (int i = 0; i < 3000 && !(show = FindWindowW(nullptr, L"Orvane_Main")); ++i) Sleep(10);
  if (!show) return 2;
  DWORD pid = 0;
  GetWindowThreadProcessId(show, &pid);
  HANDLE host = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!host) return 2;
  for (int i = 0; i < 3000 && !FindWindowW(nullptr, L"OrvaneVC"); ++i) Sleep(10);
  while (FindWindowW(nullptr, L"OrvaneVC")) Sleep(1);
  double gone = NowMs();
  if (WaitForSingleObject(host, 10000) != WAIT_OBJECT_0) return 1;
  std::printf("%.0f\n", NowMs() - gone);
  std::fflush(stdout);
  return 0;
}

int KillWindowOwner(const wchar_t* title) {
  HWND window = FindWindowW(nullptr, title);
  DWORD pid = 0;
  if (window) GetWindowThreadProcessId(window, &pid);
  HANDLE process = pid ? OpenProcess(PROCESS_TERMINATE, FALSE, pid) : nullptr;
  if (!process) return 1;
  BOOL ok = TerminateProcess(process, 9);
  CloseHandle(process);
  return ok ? 0 : 1;
}

int PrintShortPath(const wchar_t* path) {
  wchar_t shortPath[32768];
  const DWORD n = GetShortPathNameW(path, shortPath, 32768);
  if (n == 0 || n >= 32768) return 1;
  char utf8[3 * 32768];
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, shortPath, static_cast<int>(n), utf8,
                                        sizeof utf8, nullptr, nullptr);
  std::fwrite(utf8, 1, static_cast<size_t>(bytes), stdout);
  std::fputc('\n', stdout);
  return 0;
}

int RunCommandLine(const wchar_t* application, const wchar_t* commandLine) {
  std::wstring line = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(application, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return 255;
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 255;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring mode = argc > 1 ? argv[1] : L"engine";
  if (mode == L"window" && argc >= 5) {
    return Run(argv[2], 100, 100, _wtoi(argv[3]), _wtoi(argv[4]));
  }
  if (mode == L"watch") return Watch();
  if (mode == L"kill-window" && argc >= 3) return KillWindowOwner(argv[2]);
  if (mode == L"short-path" && argc >= 3) return PrintShortPath(argv[2]);
  if (mode == L"setting-watch" && argc >= 3) return WatchSettings(argv[2]);
  if (mode == L"run" && argc >= 3) return RunCommandLine(nullptr, argv[2]);
  if (mode == L"run-verbatim" && argc >= 4) return RunCommandLine(argv[2], argv[3]);
  const char* delayText = std::getenv("ORVANE_FAKE_ENGINE_DELAY_MS");
  int delay = delayText ? std::atoi(delayText) : 0;
  if (delay < 0) return 0;
  Sleep(static_cast<DWORD>(delay));
  return Run(L"OrvaneVC", 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}
