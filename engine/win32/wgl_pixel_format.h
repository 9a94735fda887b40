// Sets the pixel format of the engine window's device context.
#pragma once

#include <windows.h>

namespace orvane::engine {

void SelectPixelFormat(HDC deviceContext);

}  // namespace orvane::engine
