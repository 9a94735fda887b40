// The settings dialog's controls: making them, showing the music mode on
// them, and the keyboard focus order.
#include "dialog/dialog_resources.h"
#include "dialog/indicator_drawing.h"
#include "dialog/music_choice.h"
#include "dialog/win32_dialog_parts.h"
#include "widgets/win32_command.h"

#include <utility>

namespace orvane::dialog {

using widgets::CommandSetEnabled;
using widgets::kCommandClassName;
using widgets::RegisterCommandClass;

namespace {

constexpr int kRepeatListRows = 8;

HWND CreateButton(Dialog& d, HWND parent, int id, const wchar_t* caption, TwipRect place) {
  const PixelRect r = PlaceOf(d, place);
  HWND button = CreateWindowExW(
      0, kCommandClassName, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, r.x, r.y, r.width,
      r.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), d.instance, nullptr);
  if (!button) return nullptr;
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(d.labelFont.get()), TRUE);
  widgets::CommandSetDpi(button, d.dpi);  // the dialog's scale, whatever the button found
  return button;
}

// The combo box's field is as high as its font makes it; bring it to the
// stored height.
void FitComboHeight(HWND combo, int height) {
  RECT r;
  GetWindowRect(combo, &r);
  const LRESULT item = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  const int delta = height - (r.bottom - r.top);
  if (item != CB_ERR && delta != 0 && item + delta > 0) {
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item + delta);
  }
}

HBITMAP LoadBitmapResource(HINSTANCE instance, int id) {
  return static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

// At 96 dots per inch the indicators are the program's bitmaps; at any other density the same
// drawing made afresh at that size.
void MakeIndicatorPictures(Dialog& d) {
  for (int selected = 0; selected < 2; ++selected) {
    d.indicatorPictures[selected] =
        d.dpi == common::kDefaultDpi
            ? common::BitmapPtr(LoadBitmapResource(
                  d.instance, selected != 0 ? IDB_INDICATOR_ON : IDB_INDICATOR_OFF))
            : common::CreatePictureBitmap(DrawModeIndicator(selected != 0, d.dpi));
  }
}

void MakeFonts(Dialog& d) {
  common::FontPtr label = common::CreateDialogFont(d.dpi);
  common::FontPtr panel = common::CreatePointFont(L"Tahoma", 825, DEFAULT_CHARSET, d.dpi);
  // The controls take the new fonts before the old ones go.
  for (HWND button : {d.browseButton, d.otherWorksButton, d.saveButton, d.cancelButton}) {
    if (button) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(label.get()), FALSE);
  }
  if (d.repeat) SendMessageW(d.repeat, WM_SETFONT, reinterpret_cast<WPARAM>(panel.get()), FALSE);
  d.labelFont = std::move(label);
  d.panelFont = std::move(panel);
}

void Place(HWND window, PixelRect r) {
  SetWindowPos(window, nullptr, r.x, r.y, r.width, r.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

HICON LoadIconSized(HINSTANCE instance, int width, int height) {
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_SETTINGS_DIALOG), IMAGE_ICON, width, height, 0));
}

void InvalidateIndicators(Dialog& d) {
  for (const TwipRect& place : kModeIndicators) {
    const RECT r = ToRect(PlaceOf(d, place));
    InvalidateRect(d.panel, &r, FALSE);
  }
}

// The focus cue of the panel: one pixel outside the chosen label.
RECT FocusCueRect(const Dialog& d) {
  const int mode = LookForMode(d.env->settings->musicMode).selectedIndicator;
  RECT r;
  if (mode < 0) {
    GetClientRect(d.panel, &r);
    InflateRect(&r, -2, -2);
  } else {
    r = ToRect(PlaceOf(d, kModeLabels[static_cast<size_t>(mode)]));
    InflateRect(&r, 1, 1);
  }
  return r;
}

// The controls that take the keyboard focus, in tab order.
HWND FocusWindow(const Dialog& d, FocusStop stop) {
  switch (stop) {
    case FocusStop::MusicPanel:
      return d.panel;
    case FocusStop::RepeatBox:
      return d.repeat;
    case FocusStop::BrowseButton:
      return d.browseButton;
    case FocusStop::SaveButton:
      return d.saveButton;
    case FocusStop::CancelButton:
      return d.cancelButton;
    case FocusStop::OtherWorksButton:
      return d.otherWorksButton;
  }
  return nullptr;
}

}  // namespace

void CreateControls(Dialog& d) {
  d.dpi = common::WindowDpi(d.window);
  MakeFonts(d);
  MakeIndicatorPictures(d);

  d.bigIcon = LoadIconSized(d.instance, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  d.smallIcon =
      LoadIconSized(d.instance, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  if (d.bigIcon) SendMessageW(d.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(d.bigIcon));
  if (d.smallIcon)
    SendMessageW(d.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(d.smallIcon));

  RegisterCommandClass(d.instance);
  const PixelRect pic = PlaceOf(d, kMusicPanel);
  d.panel = CreateWindowExW(
      0, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, pic.x, pic.y,
      pic.width, pic.height, d.window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MUSIC_PANEL)), d.instance, &d);

  const PixelRect combo = PlaceOf(d, kRepeatBox);
  d.repeat = CreateWindowExW(
      0, L"COMBOBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, combo.x,
      combo.y, combo.width, combo.height * (kRepeatListRows + 1), d.panel,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_REPEAT_BOX)), d.instance, nullptr);
  if (d.repeat) {
    SendMessageW(d.repeat, WM_SETFONT, reinterpret_cast<WPARAM>(d.panelFont.get()), TRUE);
    FitComboHeight(d.repeat, combo.height);
  }

  MakeAccessible(d);
  d.browseButton = CreateButton(d, d.panel, IDC_BROWSE_BUTTON, L"...", kBrowseButton);
  d.otherWorksButton =
      CreateButton(d, d.window, IDC_OTHER_WORKS_BUTTON, L"その他の作品", kOtherWorksButton);
  d.saveButton = CreateButton(d, d.window, IDC_SAVE_BUTTON, L"設定", kSaveButton);
  d.cancelButton = CreateButton(d, d.window, IDC_CANCEL_BUTTON, L"ｷｬﾝｾﾙ", kCancelButton);
}

void LayOutControls(Dialog& d) {
  MakeFonts(d);
  MakeIndicatorPictures(d);
  const std::pair<HWND, TwipRect> buttons[] = {{d.browseButton, kBrowseButton},
                                               {d.otherWorksButton, kOtherWorksButton},
                                               {d.saveButton, kSaveButton},
                                               {d.cancelButton, kCancelButton}};
  for (const auto& [button, place] : buttons) {
    if (!button) continue;
    widgets::CommandSetDpi(button, d.dpi);
    Place(button, PlaceOf(d, place));
  }
  if (d.panel) Place(d.panel, PlaceOf(d, kMusicPanel));
  if (d.repeat) {
    PixelRect combo = PlaceOf(d, kRepeatBox);
    const int fieldHeight = combo.height;
    combo.height *= kRepeatListRows + 1;
    Place(d.repeat, combo);
    FitComboHeight(d.repeat, fieldHeight);
  }
  InvalidateRect(d.window, nullptr, TRUE);
  if (d.panel) InvalidateRect(d.panel, nullptr, FALSE);
}

void ShowMusicMode(Dialog& d) {
  const ModeLook look = LookForMode(d.env->settings->musicMode);
  InvalidateIndicators(d);
  // Off and on again through the button's own Enabled write, which repaints
  // it even when its state stays: "..." shows Normal after every mode click.
  CommandSetEnabled(d.browseButton, false);
  if (look.browseEnabled) CommandSetEnabled(d.browseButton, true);
  EnableWindow(d.repeat, look.repeatEnabled);
  InvalidatePanelFocusCue(d);
  AnnounceMusicMode(d);
}

void DrawPanelFocusCue(const Dialog& d, HDC dc) {
  if (GetFocus() != d.panel) return;
  const RECT r = FocusCueRect(d);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &r);
}

void InvalidatePanelFocusCue(const Dialog& d) {
  if (!d.panel) return;
  RECT r = FocusCueRect(d);
  InflateRect(&r, 1, 1);
  InvalidateRect(d.panel, &r, FALSE);
}

void ChooseMusicMode(Dialog& d, common::MusicMode mode) {
  InvalidatePanelFocusCue(d);  // where it was; ShowMusicMode paints it where it goes
  d.env->settings->musicMode = mode;
  ShowMusicMode(d);
}

void MoveFocus(const Dialog& d, bool forward) {
  HWND focus = GetFocus();
  FocusStop from =
      forward ? FocusStop::OtherWorksButton : FocusStop::MusicPanel;  // no stop has it yet
  for (int i = 0; i < kFocusStopCount; ++i) {
    HWND w = FocusWindow(d, static_cast<FocusStop>(i));
    if (w && (focus == w || IsChild(w, focus))) from = static_cast<FocusStop>(i);
  }
  const FocusStop to = NextFocusStop(from, forward, [&d](FocusStop s) {
    HWND w = FocusWindow(d, s);
    return w && IsWindowEnabled(w) && IsWindowVisible(w);
  });
  HWND target = FocusWindow(d, to);
  if (target && IsWindowEnabled(target)) SetFocus(target);
}

}  // namespace orvane::dialog
