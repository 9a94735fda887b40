#include "common/win32_gdi.h"

#include "common/twips.h"

namespace orvane::common {

FontPtr CreatePointFont(const wchar_t* face, int hundredthsOfPoint, BYTE charset, int dpi) {
  const int height = -MulDiv(hundredthsOfPoint, dpi, 7200);
  return FontPtr(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face));
}

FontPtr CreateDialogFont(int dpi) {
  return CreatePointFont(L"ＭＳ Ｐゴシック", 975, SHIFTJIS_CHARSET, dpi);
}

int WindowDpi(HWND window) {
  // GetDpiForWindow came with Windows 10 1607; before it a DPI-aware program has the one
  // system density, which the screen's LOGPIXELSY tells.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto kGetDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (kGetDpiForWindow && window) {
    if (const UINT dpi = kGetDpiForWindow(window)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

BitmapPtr CreatePictureBitmap(const RgbPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down, as the picture's rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  BitmapPtr bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return nullptr;
  auto* out = static_cast<uint8_t*>(bits);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x, out += 4) {
      const uint8_t* px = picture.At(x, y);
      out[0] = px[2];  // blue, green, red, unused
      out[1] = px[1];
      out[2] = px[0];
      out[3] = 0;
    }
  }
  return bitmap;
}

}  // namespace orvane::common
