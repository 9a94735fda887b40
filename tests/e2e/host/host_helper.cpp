// host_helper: stand-ins for the host's e2e scenarios.
//
//   window TITLE W H   a visible top-level window of W x H pixels with that
//                      title; WM_CLOSE closes it, message 0x0401 destroys it
//                      at once (its children are not closed first)
//   engine             a stand-in engine (start it as Orvane.dll): waits
//                      ORVANE_FAKE_ENGINE_DELAY_MS, then opens "OrvaneVC",
//                      which a key press, a click or WM_CLOSE ends
#include <windows.h>
#include <shellapi.h>

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
  HWND window = CreateWindowExW(0, wc.lpszClassName, title, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, w, h,
                                nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return 3;
  SetForegroundWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring mode = argc > 1 ? argv[1] : L"engine";
  if (mode == L"window" && argc >= 5) {
    return Run(argv[2], 100, 100, _wtoi(argv[3]), _wtoi(argv[4]));
  }
  const char* delay = std::getenv("ORVANE_FAKE_ENGINE_DELAY_MS");
  Sleep(delay ? static_cast<DWORD>(std::atoi(delay)) : 0);
  return Run(L"OrvaneVC", 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}
