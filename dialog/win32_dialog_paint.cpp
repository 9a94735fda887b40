// Painting of the settings dialog and of its music panel: gradients kept in
// backing images, the panel's labels and indicators drawn off screen.
#include "dialog/music_choice.h"
#include "dialog/win32_dialog_parts.h"
#include "orvane_version.h"

#include <algorithm>
#include <string>

namespace orvane::dialog {

using common::BrushPtr;
using common::MemoryDc;
using common::Selection;

namespace {

using common::BrushPtr;
using common::MemoryDc;
using common::Selection;

constexpr COLORREF kDialogBackground = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kPanelBackground = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kCreditColour = RGB(0xFF, 0xFF, 0xFF);
// The release from project(VERSION), the number the file properties carry.
constexpr wchar_t kCredit[] = L"Orvane  Version " ORVANE_VERSION_TEXT;

void DrawLabel(HDC dc, const std::wstring& text, PixelRect place, UINT format) {
  RECT r = ToRect(place);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

// The panel's picture, composed in `dc`.
void ComposePanel(Dialog& d, HDC dc) {
  d.panelBackground.Draw(dc, kPanelBackground);

  {  // the heading box: a black outline around the heading, a pixel wide at 96 dots per inch
    const int width = std::max(1, MulDiv(1, d.dpi, common::kDefaultDpi));
    common::Ptr<HPEN> scaled(width > 1 ? CreatePen(PS_INSIDEFRAME, width, RGB(0, 0, 0)) : nullptr);
    Selection pen(dc, scaled ? static_cast<HGDIOBJ>(scaled.get()) : GetStockObject(BLACK_PEN));
    Selection brush(dc, GetStockObject(NULL_BRUSH));
    const RECT r = ToRect(PlaceOf(d, kHeadingBox));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
  }

  Selection font(dc, d.labelFont.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  // The short labels were measured for one font; where another one stands in
  // and runs wider, the text still shows whole (nothing lies to their right).
  constexpr UINT kOneLine = DT_LEFT | DT_SINGLELINE | DT_NOCLIP;
  constexpr auto kCdChoice = PanelIndexOf(common::MusicMode::Cd);
  constexpr auto kNoneChoice = PanelIndexOf(common::MusicMode::None);
  constexpr auto kFileChoice = PanelIndexOf(common::MusicMode::File);
  DrawLabel(dc, kHeadingText, PlaceOf(d, kHeadingLabel), DT_CENTER | DT_SINGLELINE);
  DrawLabel(dc, kModeLabelTexts[kCdChoice], PlaceOf(d, kModeLabels[kCdChoice]), kOneLine);
  DrawLabel(dc, kRepeatLabelText, PlaceOf(d, kRepeatLabel), kOneLine);
  DrawLabel(dc, kModeLabelTexts[kNoneChoice], PlaceOf(d, kModeLabels[kNoneChoice]), kOneLine);
  DrawLabel(dc, kModeLabelTexts[kFileChoice], PlaceOf(d, kModeLabels[kFileChoice]), kOneLine);
  // A long path wraps, also inside a name without blanks.
  DrawLabel(dc, d.fileLabel, PlaceOf(d, kFileNameLabel), DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL);

  const int selected = LookForMode(d.env->settings->musicMode).selectedIndicator;
  for (int mode = 0; mode < kModeCount; ++mode) {
    HBITMAP picture = d.indicatorPictures[mode == selected ? 1 : 0].get();
    if (!picture) continue;
    BITMAP info{};
    GetObjectW(picture, sizeof info, &info);
    MemoryDc source(picture);
    const PixelRect r = PlaceOf(d, kModeIndicators[static_cast<size_t>(mode)]);
    BitBlt(dc, r.x, r.y, std::min<int>(info.bmWidth, r.width),
           std::min<int>(info.bmHeight, r.height), source.Get(), 0, 0, SRCCOPY);
  }
}

// The dialog and its panel each keep their gradient in a backing image,
// painted afresh at every resize and copied to the screen when painting.
template <typename Paint>
bool HandleSurface(HWND window, UINT message, WPARAM wParam, BackingImage& background,
                   BackingImage::ColourOfRow colour, Paint paint, LRESULT& result) {
  switch (message) {
    case WM_SIZE:
      background.Paint(window, colour);
      InvalidateRect(window, nullptr, FALSE);
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      paint(dc);
      EndPaint(window, &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      // A child with a see-through surface asks for what lies behind it.
      paint(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace

void BackingImage::Paint(HWND window, ColourOfRow colourOfRow) {
  RECT client;
  GetClientRect(window, &client);
  width_ = std::max<int>(client.right, 1);
  height_ = std::max<int>(client.bottom, 1);
  HDC screen = GetDC(window);
  bitmap_.reset(CreateCompatibleBitmap(screen, width_, height_));
  ReleaseDC(window, screen);
  if (!bitmap_) return;
  MemoryDc dc(bitmap_.get());
  for (int y = 0; y <= client.bottom; ++y) {
    const Rgb c = colourOfRow(y, client.bottom);
    BrushPtr brush(CreateSolidBrush(RGB(c.r, c.g, c.b)));
    const RECT row{0, y, client.right, y + 1};
    FillRect(dc.Get(), &row, brush.get());
  }
}

void BackingImage::Draw(HDC target, COLORREF fallback) const {
  if (!bitmap_) {
    BrushPtr brush(CreateSolidBrush(fallback));
    const RECT all{0, 0, width_, height_};
    FillRect(target, &all, brush.get());
    return;
  }
  MemoryDc dc(bitmap_.get());
  BitBlt(target, 0, 0, width_, height_, dc.Get(), 0, 0, SRCCOPY);
}

void PaintPanel(Dialog& d, HDC target) {
  RECT client;
  GetClientRect(d.panel, &client);
  common::PaintBuffered(target, client.right, client.bottom, [&d](HDC dc) {
    ComposePanel(d, dc);
    DrawPanelFocusCue(d, dc);
  });
}

void PaintDialog(Dialog& d, HDC target) {
  d.background.Draw(target, kDialogBackground);
  Selection font(target, d.labelFont.get());
  SetBkMode(target, TRANSPARENT);
  SetTextColor(target, kCreditColour);
  DrawLabel(target, kCredit, PlaceOf(d, kCreditLabel), DT_LEFT | DT_SINGLELINE);
}

bool HandleDialogSurface(Dialog& d, HWND window, UINT message, WPARAM wParam, LRESULT& result) {
  return HandleSurface(
      window, message, wParam, d.background, DialogGradientColour,
      [&d](HDC dc) { PaintDialog(d, dc); }, result);
}

bool HandlePanelSurface(Dialog& d, HWND window, UINT message, WPARAM wParam, LRESULT& result) {
  return HandleSurface(
      window, message, wParam, d.panelBackground, PanelGradientColour,
      [&d](HDC dc) { PaintPanel(d, dc); }, result);
}

}  // namespace orvane::dialog
