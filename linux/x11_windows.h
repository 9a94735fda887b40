// The X windows of the Linux program: which window to draw on, the standalone
// full-screen window, and X errors kept from ending the program.
#pragma once

#include "engine/cover_plan.h"
#include "linux/options.h"

#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace orvane::linux_program {

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
Window ChooseForeignWindow(Display* display, const ProgramOptions& options, std::string& error);

// The monitors of the X screen: RandR's monitors, else Xinerama's heads; empty when
// the server offers neither.
std::vector<engine::MonitorInfo> ListMonitors(Display* display);

// A window covering `rect` with a GL visual and a blank pointer, for the standalone
// mode; the primary is titled "Orvane", the others "Orvane monitor".
Window MakeStandaloneWindow(Display* display, const engine::MonitorRect& rect, bool primary,
                            std::string& error);

// Maps the window and waits until it is viewable; then gives it the input focus if asked.
void MapAndFocus(Display* display, Window window, bool focus);

}  // namespace orvane::linux_program
