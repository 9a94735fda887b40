#include "engine/win32/wgl_pixel_format.h"

#include "engine/pixel_format.h"

namespace orvane::engine {

void SelectPixelFormat(HDC deviceContext) {
  PIXELFORMATDESCRIPTOR descriptor = {};
  const int index = ChoosePixelFormatIndex([&](int candidate, PixelFormatTraits& traits) {
    if (!DescribePixelFormat(deviceContext, candidate, sizeof descriptor, &descriptor))
      return false;
    traits.flags = descriptor.dwFlags;
    traits.pixelType = descriptor.iPixelType;
    traits.colorBits = descriptor.cColorBits;
    traits.depthBits = descriptor.cDepthBits;
    return true;
  });
  if (index != 0) {
    DescribePixelFormat(deviceContext, index, sizeof descriptor, &descriptor);
    SetPixelFormat(deviceContext, index, &descriptor);
    return;
  }
  descriptor = {};
  descriptor.nSize = sizeof descriptor;
  descriptor.nVersion = 1;
  descriptor.dwFlags = PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
  descriptor.iPixelType = PFD_TYPE_RGBA;
  descriptor.cColorBits = 24;
  descriptor.cDepthBits = 24;
  SetPixelFormat(deviceContext, ChoosePixelFormat(deviceContext, &descriptor), &descriptor);
}

}  // namespace orvane::engine
