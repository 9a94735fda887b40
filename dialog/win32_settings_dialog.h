#pragma once
// The settings dialog "<Orvane>", shown modally; returns when it has closed.
#include <windows.h>

void ShowSettingsDialog(HINSTANCE instance);
