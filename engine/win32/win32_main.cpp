// Orvane.dll: the visual engine, a windowed program despite its extension.
// One full-screen topmost window on the primary monitor, one more on each other
// monitor; frames are drawn whenever the queue is empty, kept to the display's
// refresh where the driver does not.
#include "engine/win32/win32_show.h"

#include <windows.h>

// Whatever the command line or show state, the run is the same full-screen show.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  orvane::engine::Win32Clock clock;
  return orvane::engine::RunEngine(instance, clock);
}
