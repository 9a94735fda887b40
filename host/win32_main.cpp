// Orvane.scr: the host that Windows starts in one of the screensaver roles.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
