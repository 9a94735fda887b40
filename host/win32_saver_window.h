#pragma once
// The hidden saver window Orvane_S ("Orvane_Main") that runs one show.
#include "common/settings.h"
#include "host/show_role.h"

#include <windows.h>

#include <string>

namespace orvane::host {

// Creates the window (never shown) and starts the show with the settings and
// the role letter. False when the window could not be created.
bool LoadSaverWindow(HINSTANCE instance, const common::Settings& settings, ShowRole role);

}  // namespace orvane::host
