// input_log FILE: appends one line per key or button event that reaches Windows
// ("keydown 0x10", "keyup 0x10", "buttondown 1", "buttonup 1", "wheel -120",
// "hwheel 120"), so a scenario can tell that input which must not end the engine
// did arrive. Runs until it is ended from outside.
#include <windows.h>

#include <cstdio>

namespace {

FILE* out = nullptr;

void Note(const char* what, long value, bool hex) {
  std::fprintf(out, hex ? "%s 0x%lx\n" : "%s %ld\n", what, value);
  std::fflush(out);
}

LRESULT CALLBACK Keyboard(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
    Note(down ? "keydown" : "keyup", static_cast<long>(key->vkCode), true);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK Mouse(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    const long delta = static_cast<short>(HIWORD(m->mouseData));
    switch (wParam) {
      case WM_LBUTTONDOWN:
        Note("buttondown", 1, false);
        break;
      case WM_MBUTTONDOWN:
        Note("buttondown", 2, false);
        break;
      case WM_RBUTTONDOWN:
        Note("buttondown", 3, false);
        break;
      case WM_LBUTTONUP:
        Note("buttonup", 1, false);
        break;
      case WM_MBUTTONUP:
        Note("buttonup", 2, false);
        break;
      case WM_RBUTTONUP:
        Note("buttonup", 3, false);
        break;
      case WM_MOUSEWHEEL:
        Note("wheel", delta, false);
        break;
      case WM_MOUSEHWHEEL:
        Note("hwheel", delta, false);
        break;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || !(out = std::fopen(argv[1], "a"))) {
    std::fprintf(stderr, "usage: input_log FILE\n");
    return 2;
  }
  HINSTANCE self = GetModuleHandleW(nullptr);
  if (!SetWindowsHookExW(WH_KEYBOARD_LL, Keyboard, self, 0) ||
      !SetWindowsHookExW(WH_MOUSE_LL, Mouse, self, 0)) {
    std::fprintf(stderr, "input_log: no low-level hooks\n");
    return 1;
  }
  std::fprintf(out, "ready\n");
  std::fflush(out);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
