// Sets the pixel format of the engine window's device context.
#pragma once

#include <windows.h>

void SelectPixelFormat(HDC deviceContext);
