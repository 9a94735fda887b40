#include "host/win32_preview_window.h"

#include "common/win32_gdi.h"
#include "host/host_resources.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdlib>

namespace orvane::host {

namespace {

constexpr wchar_t kClassName[] = L"Orvane_R";
constexpr wchar_t kTitle[] = L"Preview Window";
constexpr UINT kAreaWatchMs = 500;

// The one preview of this program and the area it lives in, for the watch.
HWND gPreview = nullptr;
HWND gArea = nullptr;

// The area may go without closing the preview first, and when the area's
// program dies the system may take the preview with it without a single
// message to us: so a thread timer, not one of the window's, looks after it.
void CALLBACK WatchArea(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!IsWindow(gArea) || !IsWindow(gPreview) || GetParent(gPreview) != gArea) {
    KillTimer(nullptr, timer);
    if (IsWindow(gPreview)) DestroyWindow(gPreview);
    PostQuitMessage(0);
  }
}

struct PreviewWindow {
  HBITMAP picture = nullptr;
  SIZE pictureSize{};
};

void Paint(HWND window, const PreviewWindow& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (state.picture) {
    // The picture fills the client area.
    common::MemoryDc source(state.picture, dc);
    int w = client.right, h = client.bottom;
    if (w == state.pictureSize.cx && h == state.pictureSize.cy) {
      BitBlt(dc, 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
    } else {
      // Other preview sizes get the whole picture, smoothly scaled.
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, 0, 0, w, h, source.Get(), 0, 0, state.pictureSize.cx, state.pictureSize.cy,
                 SRCCOPY);
    }
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<PreviewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      auto* created = new PreviewWindow;
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
      created->picture = LoadPreviewPicture(cs->hInstance);
      BITMAP info{};
      if (created->picture && GetObjectW(created->picture, sizeof info, &info)) {
        created->pictureSize = {info.bmWidth, info.bmHeight};
      }
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
      break;
    }
    case WM_NCDESTROY:
      if (state) {
        if (state->picture) DeleteObject(state->picture);
        delete state;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      }
      break;
    case WM_SIZE:
      // The picture follows the window's size.
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (state) {
        Paint(window, *state);
        return 0;
      }
      break;
    // WM_MOUSEACTIVATE goes to default processing: a click on the still
    // activates the display settings' window that holds it, as a click on any
    // other part of that window does.
    case WM_DESTROY:
      // However the window goes (closed, or with the preview area), the
      // program goes with it.
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterPreviewClass(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PreviewProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kClassName;
  return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HBITMAP LoadPreviewPicture(HINSTANCE instance) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_PREVIEW_JPEG),
                              reinterpret_cast<LPCWSTR>(RT_RCDATA));
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(instance, found);
  DWORD size = SizeofResource(instance, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return nullptr;

  // The system decodes the JPEG: copy it into a stream for OleLoadPicture.
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return nullptr;
  void* dest = GlobalLock(copy);
  CopyMemory(dest, bytes, size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
    GlobalFree(copy);
    return nullptr;
  }
  IPicture* picture = nullptr;
  HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(hr) || !picture) return nullptr;

  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  picture->get_Width(&hmWidth);
  picture->get_Height(&hmHeight);
  // The picture's own pixel size, whatever density its file states.
  HDC screen = GetDC(nullptr);
  OLE_HANDLE handle = 0;
  BITMAP decoded{};
  int width = 0, height = 0;
  if (SUCCEEDED(picture->get_Handle(&handle)) && handle &&
      GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof decoded,
                 &decoded)) {
    width = decoded.bmWidth;
    height = std::abs(decoded.bmHeight);
  } else {
    width = MulDiv(hmWidth, GetDeviceCaps(screen, LOGPIXELSX), 2540);
    height = MulDiv(hmHeight, GetDeviceCaps(screen, LOGPIXELSY), 2540);
  }
  HBITMAP result = nullptr;
  if (width > 0 && height > 0) {
    result = CreateCompatibleBitmap(screen, width, height);
    common::MemoryDc dc(result, screen);
    // Render's source rectangle is bottom-up in HIMETRIC.
    picture->Render(dc.Get(), 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight, nullptr);
  }
  ReleaseDC(nullptr, screen);
  picture->Release();
  return result;
}

HWND CreatePreviewWindow(HINSTANCE instance) {
  if (!RegisterPreviewClass(instance)) return nullptr;
  // No border and no caption: a bare popup until it becomes a child.
  return CreateWindowExW(0, kClassName, kTitle, WS_POPUP, 0, 0, 152, 112, nullptr, nullptr,
                         instance, nullptr);
}

// The preview is made in the area's own DPI awareness: a child of another awareness than its
// parent is scaled by the system on its own, and the picture then covers only part of the
// area (or spills over it). Windows before 10 (1607) know one awareness per process.
void TakeAwarenessOf(HWND area) {
  using Context = void*;  // DPI_AWARENESS_CONTEXT
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const auto windowContext = reinterpret_cast<Context(WINAPI*)(HWND)>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
  const auto setThreadContext = reinterpret_cast<Context(WINAPI*)(Context)>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
  if (!windowContext || !setThreadContext) return;
  if (Context context = windowContext(area)) setThreadContext(context);
}

bool ShowPreviewWindow(HINSTANCE instance, HWND parent) {
  if (!parent || !IsWindow(parent)) return false;
  TakeAwarenessOf(parent);
  // The area's client rectangle: what a child of it can cover (the same as its window
  // rectangle for the borderless area of the display settings).
  RECT area{};
  GetClientRect(parent, &area);
  int width = area.right - area.left;
  int height = area.bottom - area.top;
  HWND window = CreatePreviewWindow(instance);
  if (!window) return false;
  // A child now; a child cannot also be a popup.
  SetWindowLongA(window, GWL_STYLE, (GetWindowLongA(window, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
  SetParent(window, parent);
  MoveWindow(window, 0, 0, width, height, TRUE);
  gPreview = window;
  gArea = parent;
  SetTimer(nullptr, 0, kAreaWatchMs, WatchArea);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  return true;
}

}  // namespace orvane::host
