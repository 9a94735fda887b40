#include "engine/win32/win32_show_window.h"

#include "engine/win32/win32_resource_ids.h"

namespace orvane::engine {

namespace {

LRESULT CALLBACK ShowWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* context = static_cast<ShowWindowContext*>(
        reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    if (context) context->window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(context));
  }
  const auto* context =
      reinterpret_cast<const ShowWindowContext*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  // Messages before WM_NCCREATE have no context yet; they are the platform's own.
  if (!context) return DefWindowProcA(window, message, wParam, lParam);
  return HandleShowMessage(*context, window, message, wParam, lParam, DefWindowProcA);
}

}  // namespace

SystemCommand SystemCommandOf(WPARAM wParam) {
  // The low four bits of a system command are the system's own.
  switch (wParam & 0xFFF0) {
    case SC_NEXTWINDOW:
      return SystemCommand::NextWindow;
    case SC_PREVWINDOW:
      return SystemCommand::PreviousWindow;
    case SC_SCREENSAVE:
      return SystemCommand::ScreenSave;
    default:
      return SystemCommand::Other;
  }
}

LRESULT HandleShowMessage(const ShowWindowContext& context, HWND window, UINT message,
                          WPARAM wParam, LPARAM lParam, WNDPROC defaultProcedure) {
  ShowRules& rules = *context.rules;
  const auto byDefault = [&] { return defaultProcedure(window, message, wParam, lParam); };

  switch (message) {
    case WM_CREATE:
      rules.OnCreated(context.id);
      return byDefault();
    case WM_DESTROY:
      rules.OnDestroyed(context.id);
      return byDefault();
    case WM_SYSCOMMAND:
      if (ShowRules::SwallowsSystemCommand(SystemCommandOf(wParam))) return 0;
      return byDefault();
    case WM_CLOSE:
      if (!rules.OnCloseRequested()) return 0;
      // The default processing destroys the window; the primary takes the others with it.
      if (context.id != kPrimaryWindow) {
        if (HWND primary = GetWindow(window, GW_OWNER)) {
          DestroyWindow(primary);
          return 0;
        }
      }
      return byDefault();
    case WM_SHOWWINDOW:
      if (wParam != 0) rules.OnShown();
      return byDefault();
    case WM_ACTIVATEAPP:
      if (wParam == 0) rules.OnFocusLostToOtherApplication();
      return byDefault();
    case WM_SETCURSOR:
      if (rules.OnCursorQuery()) return TRUE;
      return byDefault();
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      rules.OnKeyPressed();
      return byDefault();
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      rules.OnButtonPressed();
      return byDefault();
    case WM_MOUSEMOVE:
      // Measured in screen pixels, whichever window the pointer is over: the rules
      // read the pointer; the message's own client coordinates are not used.
      rules.OnPointerMoved();
      return byDefault();
    case WM_POWERBROADCAST:
      if (context.desk && wParam == PBT_POWERSETTINGCHANGE && lParam) {
        const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
        if (IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) &&
            setting->DataLength >= sizeof(DWORD)) {
          DWORD state = 0;
          CopyMemory(&state, setting->Data, sizeof state);
          context.desk->OnDisplayPower(state == 0   ? DisplayPower::Off
                                       : state == 2 ? DisplayPower::Dimmed
                                                    : DisplayPower::On);
        }
      }
      return byDefault();
    case WM_DISPLAYCHANGE:
      if (context.desk) context.desk->OnDeskChanged();
      return byDefault();
    default:
      return byDefault();
  }
}

HWND FindStartingSaver() {
  // A running engine has already retitled its window, so only one being created matches.
  HWND other = FindWindowA(kWindowClass, kCreationTitle);
  return other && IsWindow(other) ? other : nullptr;
}

bool RegisterShowWindowClasses(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = ShowWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ENGINE_ICON_ID));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassA(&windowClass)) return false;
  // Without it the other monitors stay uncovered, and the show still runs.
  windowClass.lpszClassName = kOtherWindowClass;
  RegisterClassA(&windowClass);
  return true;
}

void UnRegisterShowWindowClasses(HINSTANCE instance) {
  UnregisterClassA(kOtherWindowClass, instance);
  UnregisterClassA(kWindowClass, instance);
}

HWND CreatePrimaryWindow(HINSTANCE instance, ShowWindowContext* context) {
  return CreateWindowExA(WS_EX_TOPMOST, kWindowClass, kCreationTitle,
                         WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                         GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                         nullptr, instance, context);
}

HWND CreateOtherWindow(HINSTANCE instance, HWND primary, ShowWindowContext* context,
                       const RECT& rect) {
  return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kOtherWindowClass, kOtherWindowTitle,
                         WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect.left,
                         rect.top, rect.right - rect.left, rect.bottom - rect.top, primary, nullptr,
                         instance, context);
}

}  // namespace orvane::engine
