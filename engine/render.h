// Everything the engine does with OpenGL: context, fixed GL state, the streak
// texture, the veils, and one frame per idle turn.
#pragma once

struct HWND__;  // the engine window, without dragging <windows.h> into the header

void setUpRendering(HWND__* window);     // at WM_CREATE
void frameStep();                        // from the idle loop
void tearDownRendering(HWND__* window);  // at WM_DESTROY
