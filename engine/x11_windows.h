// The X windows of the Linux program: which window to draw on, the standalone
// full-screen window, and X errors kept from ending the program.
#pragma once

#include "engine/hack_options.h"

#include <X11/Xlib.h>

#include <string>

namespace orvane::engine {

// Errors of requests on windows someone else owns (which may vanish at any time)
// are noted instead of ending the program; a lost connection ends it with code 1.
void InstallXErrorHandlers();
// Whether an X error arrived since the last call.
bool TakeXError();

// Whether `window` exists, without the default handler ending the program.
bool WindowExists(Display* display, Window window);

// The window the screen saver draws on: XSCREENSAVER_WINDOW, else a virtual
// root marked __SWM_VROOT, else the real root.
Window VirtualRoot(Display* display);

// The window `--root` or `--window-id` names, watched for its size and its end;
// None with a reason when it does not exist.
Window ChooseForeignWindow(Display* display, const HackOptions& options, std::string& error);

// A full-screen window with a GL visual and a blank pointer, for the standalone mode.
Window MakeStandaloneWindow(Display* display, std::string& error);

// Maps the window and gives it the input focus once it is viewable.
void MapAndFocus(Display* display, Window window);

}  // namespace orvane::engine
