#pragma once
// Inside the settings dialog's window: its state, shared by the files that
// make its controls, paint it and handle its commands.
#include "common/win32_gdi.h"
#include "dialog/dialog_layout.h"
#include "dialog/win32_settings_dialog.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

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

// The panel's texts, as it paints them and as screen readers read them.
inline constexpr wchar_t kHeadingText[] = L"BGM";
inline constexpr std::array<const wchar_t*, 3> kModeLabelTexts{L"無し", L"音楽CD", L"MP3、WAV"};
inline constexpr wchar_t kRepeatLabelText[] = L"曲目をﾘﾋﾟｰﾄ";

// What the panel and the repeat box tell screen readers (win32_dialog_accessible.cpp).
struct DialogAccess;
struct DialogAccessDeleter {
  void operator()(DialogAccess* access) const;
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
  std::unique_ptr<DialogAccess, DialogAccessDeleter> access;
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
// A choice made (by a press on it, an arrow key or a screen reader): the mode, then its look.
void ChooseMusicMode(Dialog& d, common::MusicMode mode);
void MoveFocus(const Dialog& d, bool forward);
// With the focus on the panel, the dotted rectangle of a focused radio button around the text
// of the chosen music (around the whole panel when none is chosen).
void DrawPanelFocusCue(const Dialog& d, HDC dc);
// Where that rectangle may be, to be painted again when the focus or the choice moves.
void InvalidatePanelFocusCue(const Dialog& d);

// win32_dialog_accessible.cpp
// Once the panel and the repeat box exist.
void MakeAccessible(Dialog& d);
// WM_GETOBJECT and the default actions of the panel's choices; true when `message` was one.
bool HandlePanelAccessible(Dialog& d, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// Tells screen readers that the checked choice may have changed.
void AnnounceMusicMode(const Dialog& d);

// win32_dialog_paint.cpp
void PaintPanel(Dialog& d, HDC target);
void PaintDialog(Dialog& d, HDC target);
// The surface messages of the dialog and of its panel (size, erase, paint);
// true when `message` was one of them, with its result in `result`.
bool HandleDialogSurface(Dialog& d, HWND window, UINT message, WPARAM wParam, LRESULT& result);
bool HandlePanelSurface(Dialog& d, HWND window, UINT message, WPARAM wParam, LRESULT& result);

}  // namespace orvane::dialog
