#pragma once
// Inside the settings dialog's window: its state, shared by the files that
// make its controls, paint it and handle its commands.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "common/win32_gdi.h"
#include "dialog/dialog_layout.h"
#include "dialog/win32_settings_dialog.h"

namespace orvane::dialog {

inline RECT ToRect(PixelRect r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

// A painted background that stays until the next resize.
class BackingImage {
 public:
  using ColourOfRow = Rgb (*)(int y, int height);
  void Paint(HWND window, ColourOfRow colourOfRow);
  void Draw(HDC target, COLORREF fallback) const;

 private:
  common::BitmapPtr bitmap_;
  int width_ = 1;
  int height_ = 1;
};

struct Dialog {
  HINSTANCE instance = nullptr;
  DialogEnvironment* env = nullptr;
  HWND window = nullptr;
  HWND panel = nullptr;   // the music panel
  HWND repeat = nullptr;  // the repeat box
  HWND browseButton = nullptr;
  HWND saveButton = nullptr;
  HWND cancelButton = nullptr;
  HWND otherWorksButton = nullptr;
  common::FontPtr labelFont;
  common::FontPtr panelFont;
  // Img_Ra(0) not selected, Img_Ra(1) selected
  std::array<common::BitmapPtr, 2> indicatorPictures;
  BackingImage background;
  BackingImage panelBackground;
  std::wstring fileLabel;  // the file name label
  int16_t savedCursorX = 0;
  int16_t savedCursorY = 0;
  bool busyCursor = false;
  HWND lastFocus = nullptr;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  int dpi = common::kDefaultDpi;  // the density the dialog is laid out and drawn at
};

// A stored place on the screen at the dialog's density.
inline PixelRect PlaceOf(const Dialog& d, TwipRect place) { return ToPixels(place, d.dpi); }

inline Dialog* DialogOf(HWND window) {
  return reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// win32_dialog_controls.cpp
inline constexpr wchar_t kPanelClass[] = L"Orvane_P.Pic_C";
void CreateControls(Dialog& d);
// Fonts, pictures and places of every control at d.dpi; the window itself is sized by the caller.
void LayOutControls(Dialog& d);
void ShowMusicMode(Dialog& d);
void MoveFocus(const Dialog& d, bool forward);

// win32_dialog_paint.cpp
void PaintPanel(Dialog& d, HDC target);
void PaintDialog(Dialog& d, HDC target);
// The surface messages of the dialog and of its panel (size, erase, paint);
// true when `message` was one of them, with its result in `result`.
bool HandleDialogSurface(Dialog& d, HWND window, UINT message, WPARAM wParam, LRESULT& result);
bool HandlePanelSurface(Dialog& d, HWND window, UINT message, WPARAM wParam, LRESULT& result);

}  // namespace orvane::dialog
