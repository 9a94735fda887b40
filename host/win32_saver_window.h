#pragma once
// The hidden saver window Orvane_S ("Orvane_Main") that runs one show.
#include <windows.h>

// Creates the window (never shown) and starts the show. False when the window
// could not be created.
bool LoadSaverWindow(HINSTANCE instance);
