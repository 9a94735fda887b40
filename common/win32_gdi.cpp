#include "common/win32_gdi.h"

namespace orvane::common {

FontPtr CreatePointFont(const wchar_t* face, int hundredthsOfPoint, BYTE charset) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(hundredthsOfPoint, GetDeviceCaps(screen, LOGPIXELSY), 7200);
  ReleaseDC(nullptr, screen);
  return FontPtr(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face));
}

FontPtr CreateDialogFont() { return CreatePointFont(L"ＭＳ Ｐゴシック", 975, SHIFTJIS_CHARSET); }

}  // namespace orvane::common
