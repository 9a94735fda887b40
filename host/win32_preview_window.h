#pragma once
// The preview window Orvane_R ("Preview Window"): the still picture of the
// show inside the display settings' preview area.
#include <windows.h>

namespace orvane::host {

// Makes the preview a child of `parent` at the parent's full size and shows
// it. False when `parent` is no window (nothing is created then).
bool ShowPreviewWindow(HINSTANCE instance, HWND parent);

// The still picture decoded from the program's resources, at its own size
// (152 x 112); null when it cannot be decoded. The caller deletes it.
HBITMAP LoadPreviewPicture(HINSTANCE instance);

// Creates the preview window hidden, as a top-level window, for tests that
// look at its pixels. Destroying it posts WM_QUIT.
HWND CreatePreviewWindow(HINSTANCE instance);

}  // namespace orvane::host
