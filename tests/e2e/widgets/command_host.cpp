// A window "Command Host" with one push button, for driving the button with real input.
//   command_host.exe LOG [disabled] [WIDTH HEIGHT]
// LOG receives "rect X Y W H" (the button on the screen) at start, then one line per Click
// ("click state=N") and, on request, the state ("state N look L").
#include "widgets/win32_command.h"
#include "widgets/win32_command_testing.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

using namespace orvane::widgets;

namespace {

constexpr int kButtonId = 7;
FILE* logFile = nullptr;
HWND button = nullptr;

void Log(const char* format, int a, int b = 0, int c = 0, int d = 0) {
  std::fprintf(logFile, format, a, b, c, d);
  std::fputc('\n', logFile);
  std::fflush(logFile);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
        Log("click state=%d", CommandState(button));
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);  // a press beside the button takes the focus away from it
      return 0;
    case WM_APP:  // asked by the scenario through the probe
      Log("state %d look %d", CommandState(button), static_cast<int>(CommandLastLook(button)));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 2 || !(logFile = _wfopen(argv[1], L"wb"))) return 2;
  bool disabled = false;
  int width = 125, height = 25;  // the dialog's widest button
  for (int i = 2; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"disabled") == 0) {
      disabled = true;
    } else if (i + 1 < argc) {
      width = _wtoi(argv[i]);
      height = _wtoi(argv[++i]);
    }
  }

  if (!RegisterCommandClass(instance)) return 3;
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = CreateSolidBrush(RGB(20, 20, 60));  // the dialog's dark blue edge
  wc.lpszClassName = L"CommandHost";
  RegisterClassW(&wc);
  RECT frame{0, 0, 240, 100};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  HWND host = CreateWindowExW(0, L"CommandHost", L"Command Host", WS_OVERLAPPEDWINDOW, 200, 200,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance, nullptr);
  button =
      CreateWindowExW(0, kCommandClassName, L"その他の作品",
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | (disabled ? WS_DISABLED : 0), 40, 35,
                      width, height, host, reinterpret_cast<HMENU>(kButtonId), instance, nullptr);
  if (!host || !button) return 4;
  LOGFONTW lf{};
  lf.lfHeight = -13;  // 9.75 points at 96 dots per inch
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(lf.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  CommandInitialize(button);
  ShowWindow(host, SW_SHOW);
  UpdateWindow(host);

  RECT r;
  GetWindowRect(button, &r);
  Log("rect %d %d %d %d", r.left, r.top, r.right - r.left, r.bottom - r.top);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DeleteObject(font);
  std::fclose(logFile);
  return 0;
}
