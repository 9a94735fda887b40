#pragma once
// The self-drawn push button of the settings dialog, window class L"OrvaneCommand".
//
//   RegisterCommandClass(instance);
//   HWND b = CreateWindowExW(0, L"OrvaneCommand", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
//                            x, y, w, h, parent, (HMENU)id, instance, nullptr);
//   SendMessageW(b, WM_SETFONT, (WPARAM)font, TRUE);
//   CommandInitialize(b);   // state Normal and the 100 ms hover poll
//
// Click: the parent receives WM_COMMAND(MAKEWPARAM(id, BN_CLICKED), (LPARAM)b), sent (not posted)
// from the mouse release; the parent may destroy the button while handling it.
// Caption: SetWindowTextW. Enabled: EnableWindow (or CommandSetEnabled, which also repaints
// when the state does not change). Font: WM_SETFONT / WM_GETFONT.
// Visible: ShowWindow shows or hides the window; the button's own "Visible" (opaque or
// transparent surface) is kCommandSetVisible / kCommandGetVisible.
//
// The six state pictures are bitmap resources of the program (IDs 2001-2006 from
// widgets/command.rc): Orvane.scr carries them through dialog/dialog.rc; a test program adds
// widgets/command.rc to its sources. Without them, creating a button at 96 dots per inch fails
// (CreateWindowExW returns nullptr). At any other density the button draws the same pictures
// at that size (widgets/command_pictures.h) and lays itself out in twips at it: it starts at
// its window's density; a parent that moves to another one says so with CommandSetDpi.
#include "widgets/command_drawing.h"

#include <windows.h>

namespace orvane::widgets {

bool RegisterCommandClass(HINSTANCE instance);

constexpr wchar_t kCommandClassName[] = L"OrvaneCommand";

// Messages of the button (its own class, so WM_USER-based numbers are private to it);
// WM_USER + 0x46 and 0x47 are the test hooks of widgets/win32_command_testing.h.
constexpr UINT kCommandInitialize = WM_USER + 0x40;     // Initialize(); returns 0
constexpr UINT kCommandSetFontColour = WM_USER + 0x41;  // wParam: caption colour (COLORREF, or
                                                        // 0x800000nn for system colour nn)
constexpr UINT kCommandGetFontColour = WM_USER + 0x42;  // returns the caption colour
constexpr UINT kCommandSetVisible = WM_USER + 0x43;     // wParam 0: transparent, else opaque
constexpr UINT kCommandGetVisible = WM_USER + 0x44;     // returns 0 (transparent) or 255 (opaque)
constexpr UINT kCommandGetEnabled = WM_USER + 0x45;     // the Enabled read (repaints); 0 or 1
constexpr UINT kCommandSetEnabled = WM_USER + 0x48;     // wParam 0/1: EnableWindow, and the
                                                        // Enabled write (repaints) even when the
                                                        // window already was in that state
constexpr UINT kCommandSetDpi = WM_USER + 0x50;  // wParam: the density (dots per inch) to lay
                                                 // out and draw at; send it before moving the
                                                 // button to its place at that density

inline void CommandInitialize(HWND button) { SendMessageW(button, kCommandInitialize, 0, 0); }
inline void CommandSetFontColour(HWND button, COLORREF colour) {
  SendMessageW(button, kCommandSetFontColour, static_cast<WPARAM>(colour), 0);
}
inline COLORREF CommandFontColour(HWND button) {
  return static_cast<COLORREF>(SendMessageW(button, kCommandGetFontColour, 0, 0));
}
inline void CommandSetVisible(HWND button, BYTE visible) {
  SendMessageW(button, kCommandSetVisible, visible, 0);
}
inline BYTE CommandVisible(HWND button) {
  return static_cast<BYTE>(SendMessageW(button, kCommandGetVisible, 0, 0));
}
inline bool CommandEnabled(HWND button) {
  return SendMessageW(button, kCommandGetEnabled, 0, 0) != 0;
}
inline void CommandSetEnabled(HWND button, bool enabled) {
  SendMessageW(button, kCommandSetEnabled, enabled ? 1 : 0, 0);
}
inline void CommandSetDpi(HWND button, int dpi) {
  SendMessageW(button, kCommandSetDpi, static_cast<WPARAM>(dpi), 0);
}

}  // namespace orvane::widgets
