#pragma once
// What tests and test programs read from a live button; nothing else needs these.
#include "widgets/win32_command.h"

namespace orvane::widgets {

constexpr UINT kCommandGetState = WM_USER + 0x46;  // ButtonState: 0 before Initialize, 1 Normal,
                                                   // 2 HighLight, 3 Selected, 4 HighLightSelect
constexpr UINT kCommandGetLook = WM_USER + 0x47;   // picture painted last (Picture)
constexpr UINT kCommandGetDpi = WM_USER + 0x51;    // the density it is drawn at

inline int CommandState(HWND button) {
  return static_cast<int>(SendMessageW(button, kCommandGetState, 0, 0));
}
inline int CommandDpi(HWND button) {
  return static_cast<int>(SendMessageW(button, kCommandGetDpi, 0, 0));
}
inline Picture CommandLastLook(HWND button) {
  return static_cast<Picture>(SendMessageW(button, kCommandGetLook, 0, 0));
}

}  // namespace orvane::widgets
