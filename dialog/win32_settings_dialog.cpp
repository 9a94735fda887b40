#include "dialog/win32_settings_dialog.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "dialog/dialog_layout.h"
#include "dialog/dialog_resources.h"
#include "dialog/music_choice.h"
#include "widgets/win32_command.h"
#include "widgets/win32_gdi.h"

namespace settings_dialog {
namespace {

template <typename Handle>
using GdiPtr = orvane::gdi::Ptr<Handle>;
using orvane::gdi::MemoryDc;
using orvane::gdi::Selection;

constexpr wchar_t kDialogClass[] = L"Orvane_P";
constexpr wchar_t kPanelClass[] = L"Orvane_P.Pic_C";
constexpr wchar_t kCaption[] = L"<Orvane>";
constexpr wchar_t kCredit[] = L"Orvane  Version 1.0.0";
// The page "その他の作品" opens.
constexpr char kHomePage[] = "https://orvane.example.org/";

constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr COLORREF kDialogBackground = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kPanelBackground = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kCreditColour = RGB(0xFF, 0xFF, 0xFF);
constexpr int kRepeatListRows = 8;

std::wstring Widen(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

RECT ToRect(PixelRect r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

// A painted background that stays until the next resize.
class BackingImage {
 public:
  template <typename Colour>
  void paint(HWND window, Colour colourOfRow) {
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
      GdiPtr<HBRUSH> brush(CreateSolidBrush(RGB(c.r, c.g, c.b)));
      const RECT row{0, y, client.right, y + 1};
      FillRect(dc.get(), &row, brush.get());
    }
  }

  void draw(HDC target, COLORREF fallback) const {
    if (!bitmap_) {
      GdiPtr<HBRUSH> brush(CreateSolidBrush(fallback));
      const RECT all{0, 0, width_, height_};
      FillRect(target, &all, brush.get());
      return;
    }
    MemoryDc dc(bitmap_.get());
    BitBlt(target, 0, 0, width_, height_, dc.get(), 0, 0, SRCCOPY);
  }

 private:
  GdiPtr<HBITMAP> bitmap_;
  int width_ = 1;
  int height_ = 1;
};

struct Dialog {
  HINSTANCE instance = nullptr;
  DialogEnvironment* env = nullptr;
  HWND window = nullptr;
  HWND panel = nullptr;   // Pic_C
  HWND repeat = nullptr;  // BGM_Repeat
  HWND cmdBgm = nullptr;
  HWND cmdSet = nullptr;
  HWND cmdCan = nullptr;
  HWND cmdEtc = nullptr;
  GdiPtr<HFONT> labelFont;
  GdiPtr<HFONT> panelFont;
  std::array<GdiPtr<HBITMAP>, 2> indicatorPictures;  // Img_Ra(0) not selected, Img_Ra(1) selected
  BackingImage background;
  BackingImage panelBackground;
  std::wstring fileLabel;  // lbl_Fname
  int16_t savedCursorX = 0;
  int16_t savedCursorY = 0;
  bool busyCursor = false;
  HWND lastFocus = nullptr;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
};

struct CreateParams {
  HINSTANCE instance;
  DialogEnvironment* env;
};

Dialog* DialogOf(HWND window) {
  return reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HFONT CreatePointFont(const wchar_t* face, int hundredthsOfPoint, BYTE charset) {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(hundredthsOfPoint, GetDeviceCaps(screen, LOGPIXELSY), 7200);
  ReleaseDC(nullptr, screen);
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

HWND CreateButton(Dialog& d, HWND parent, int id, const wchar_t* caption, TwipRect place) {
  const PixelRect r = ToPixels(place);
  HWND button = CreateWindowExW(
      0, kCommandClassName, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, r.x, r.y, r.width,
      r.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), d.instance, nullptr);
  if (button) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(d.labelFont.get()), TRUE);
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

void CreateControls(Dialog& d) {
  d.labelFont.reset(CreatePointFont(L"ＭＳ Ｐゴシック", 975, SHIFTJIS_CHARSET));
  d.panelFont.reset(CreatePointFont(L"Tahoma", 825, DEFAULT_CHARSET));
  d.indicatorPictures[0].reset(static_cast<HBITMAP>(LoadImageW(
      d.instance, MAKEINTRESOURCEW(IDB_INDICATOR_OFF), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  d.indicatorPictures[1].reset(static_cast<HBITMAP>(LoadImageW(
      d.instance, MAKEINTRESOURCEW(IDB_INDICATOR_ON), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));

  d.bigIcon =
      static_cast<HICON>(LoadImageW(d.instance, MAKEINTRESOURCEW(IDI_SETTINGS_DIALOG), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  d.smallIcon = static_cast<HICON>(LoadImageW(d.instance, MAKEINTRESOURCEW(IDI_SETTINGS_DIALOG),
                                              IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
  if (d.bigIcon) SendMessageW(d.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(d.bigIcon));
  if (d.smallIcon)
    SendMessageW(d.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(d.smallIcon));

  RegisterCommandClass(d.instance);
  const PixelRect pic = ToPixels(kPicC);
  d.panel =
      CreateWindowExW(0, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN,
                      pic.x, pic.y, pic.width, pic.height, d.window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PIC_C)), d.instance, &d);

  const PixelRect combo = ToPixels(kBgmRepeat);
  d.repeat = CreateWindowExW(
      0, L"COMBOBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, combo.x,
      combo.y, combo.width, combo.height * (kRepeatListRows + 1), d.panel,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_BGM_REPEAT)), d.instance, nullptr);
  if (d.repeat) {
    SendMessageW(d.repeat, WM_SETFONT, reinterpret_cast<WPARAM>(d.panelFont.get()), TRUE);
    FitComboHeight(d.repeat, combo.height);
  }

  d.cmdBgm = CreateButton(d, d.panel, IDC_CMD_BGM, L"...", kCmdBgm);
  d.cmdEtc = CreateButton(d, d.window, IDC_CMD_ETC, L"その他の作品", kCmdEtc);
  d.cmdSet = CreateButton(d, d.window, IDC_CMD_SET, L"設定", kCmdSet);
  d.cmdCan = CreateButton(d, d.window, IDC_CMD_CAN, L"ｷｬﾝｾﾙ", kCmdCan);
}

void InvalidateIndicators(Dialog& d) {
  for (const TwipRect& place : kImgBgm) {
    const RECT r = ToRect(ToPixels(place));
    InvalidateRect(d.panel, &r, FALSE);
  }
}

void ShowMusicMode(Dialog& d) {
  const ModeLook look = LookForMode(d.env->settings->MusicMode);
  InvalidateIndicators(d);
  EnableWindow(d.cmdBgm, look.browseEnabled);
  EnableWindow(d.repeat, look.repeatEnabled);
}

void SetFileLabel(Dialog& d, const std::string& path) {
  d.fileLabel = Widen(path, CP_ACP);
  const RECT r = ToRect(ToPixels(kLblFname));
  InvalidateRect(d.panel, &r, FALSE);
}

// The caption zooms out of the saved cursor point on opening and back into it on closing.
void Zoom(const Dialog& d, bool opening) {
  const RECT point{d.savedCursorX, d.savedCursorY, d.savedCursorX, d.savedCursorY};
  RECT window;
  GetWindowRect(d.window, &window);
  DrawAnimatedRects(d.window, IDANI_CAPTION, opening ? &point : &window,
                    opening ? &window : &point);
}

void SetBusyCursor(Dialog& d, bool busy) {
  d.busyCursor = busy;
  SetCursor(LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Load(Dialog& d) {
  RECT frame;
  GetWindowRect(d.window, &frame);
  const Point place = DialogPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                     frame.right - frame.left, frame.bottom - frame.top);
  SetWindowPos(d.window, nullptr, place.x, place.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  for (HWND button : {d.cmdCan, d.cmdSet, d.cmdBgm, d.cmdEtc}) {
    if (button) CommandInitialize(button);
  }
  ShowMusicMode(d);

  SetWindowTextW(d.repeat, Widen(RepeatBoxText(d.env->settings->RepeatTrack), CP_ACP).c_str());
  for (const std::string& entry : RepeatBoxList()) {
    SendMessageW(d.repeat, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry, CP_ACP).c_str()));
  }
  SetFileLabel(d, d.env->settings->MusicFile);

  POINT pointer{0, 0};
  if (!GetCursorPos(&pointer)) pointer = {0, 0};
  d.savedCursorX = static_cast<int16_t>(pointer.x);
  d.savedCursorY = static_cast<int16_t>(pointer.y);
  Zoom(d, true);
  SetBusyCursor(d, false);
}

void Unload(Dialog& d) {
  Zoom(d, false);
  DestroyWindow(d.window);
}

void ChooseMusicFile(Dialog& d) {
  std::string filter = Narrow(L"BGMﾌｧｲﾙ (MP3 WAV)", CP_ACP);
  filter.push_back('\0');
  filter += "*.MP3;*.WAV";
  filter.push_back('\0');
  const std::string title = Narrow(L"ﾌｧｲﾙを開く", CP_ACP);
  char fileName[256] = {};
  char fileTitle[256] = {};

  // The structure as it was before later platform versions extended it.
  OPENFILENAMEA request{};
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  request.hwndOwner = d.window;
  request.hInstance = d.instance;
  request.lpstrFilter = filter.c_str();  // c_str() adds the closing second NUL
  request.nFilterIndex = 0;
  request.lpstrFile = fileName;
  request.nMaxFile = 255;
  request.lpstrFileTitle = fileTitle;
  request.nMaxFileTitle = 255;
  request.lpstrTitle = title.c_str();
  request.Flags = 0;
  if (GetOpenFileNameA(&request) > 0) {
    fileName[255] = '\0';
    d.env->settings->MusicFile = fileName;
    SetFileLabel(d, d.env->settings->MusicFile);
  }
}

void Save(Dialog& d) {
  const std::string repeatText = Narrow(WindowText(d.repeat), CP_UTF8);
  const SaveOutcome outcome =
      SaveMusicChoice(*d.env->settings, repeatText, *d.env->store, d.env->settingsFile);
  switch (outcome.kind) {
    case SaveOutcome::kSaved:
      Unload(d);
      return;
    case SaveOutcome::kRepeatOutOfRange:
      d.env->report(d.window,
                    L"曲目をﾘﾋﾟｰﾄ の番号は -32768 から 32767 までの数にしてください。\n"
                    L"設定は保存されていません。");
      if (IsWindowEnabled(d.repeat)) {
        SetFocus(d.repeat);
        SendMessageW(d.repeat, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
      }
      return;
    case SaveOutcome::kWriteFailed:
      d.env->report(d.window, L"設定を保存できませんでした。\n\n" +
                                  Widen(outcome.failedFile, CP_ACP) +
                                  L"\n\nﾌｧｲﾙが書き込み禁止になっていないか確かめてください。");
      return;
  }
}

void OpenHomePage(Dialog& d) {
  SetBusyCursor(d, true);
  ShellExecuteA(d.window, "open", kHomePage, nullptr, "", SW_SHOWNORMAL);
  SetBusyCursor(d, false);
}

void OnCommand(Dialog& d, int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_CMD_BGM:
      ChooseMusicFile(d);
      break;
    case IDC_CMD_SET:
      Save(d);
      break;
    case IDC_CMD_CAN:
      Unload(d);
      break;
    case IDC_CMD_ETC:
      OpenHomePage(d);
      break;
    default:
      break;
  }
}

void DrawLabel(HDC dc, const std::wstring& text, TwipRect place, UINT format) {
  RECT r = ToRect(ToPixels(place));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

void PaintPanel(Dialog& d, HDC target) {
  RECT client;
  GetClientRect(d.panel, &client);
  GdiPtr<HBITMAP> canvas(CreateCompatibleBitmap(target, std::max<int>(client.right, 1),
                                                std::max<int>(client.bottom, 1)));
  MemoryDc dc(canvas.get());
  d.panelBackground.draw(dc.get(), kPanelBackground);

  {  // Shape3: a black outline around the heading
    Selection pen(dc.get(), GetStockObject(BLACK_PEN));
    Selection brush(dc.get(), GetStockObject(NULL_BRUSH));
    const RECT r = ToRect(ToPixels(kShape3));
    Rectangle(dc.get(), r.left, r.top, r.right, r.bottom);
  }

  Selection font(dc.get(), d.labelFont.get());
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(0, 0, 0));
  // The short labels were measured for one font; where another one stands in
  // and runs wider, the text still shows whole (nothing lies to their right).
  constexpr UINT kOneLine = DT_LEFT | DT_SINGLELINE | DT_NOCLIP;
  DrawLabel(dc.get(), L"BGM", kLblHeading, DT_CENTER | DT_SINGLELINE);
  DrawLabel(dc.get(), L"音楽CD", kLblBgm[kModeCd], kOneLine);
  DrawLabel(dc.get(), L"曲目をﾘﾋﾟｰﾄ", kLblRepeat, kOneLine);
  DrawLabel(dc.get(), L"無し", kLblBgm[kModeNone], kOneLine);
  DrawLabel(dc.get(), L"MP3、WAV", kLblBgm[kModeFile], kOneLine);
  // A long path wraps, also inside a name without blanks.
  DrawLabel(dc.get(), d.fileLabel, kLblFname, DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL);

  const int selected = LookForMode(d.env->settings->MusicMode).selectedIndicator;
  for (int mode = 0; mode < kModeCount; ++mode) {
    HBITMAP picture = d.indicatorPictures[mode == selected ? 1 : 0].get();
    if (!picture) continue;
    BITMAP info{};
    GetObjectW(picture, sizeof info, &info);
    MemoryDc source(picture);
    const PixelRect r = ToPixels(kImgBgm[static_cast<size_t>(mode)]);
    BitBlt(dc.get(), r.x, r.y, std::min<int>(info.bmWidth, r.width),
           std::min<int>(info.bmHeight, r.height), source.get(), 0, 0, SRCCOPY);
  }
  BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
}

void PaintDialog(Dialog& d, HDC target) {
  d.background.draw(target, kDialogBackground);
  Selection font(target, d.labelFont.get());
  SetBkMode(target, TRANSPARENT);
  SetTextColor(target, kCreditColour);
  DrawLabel(target, kCredit, kLblCredit, DT_LEFT | DT_SINGLELINE);
}

// The controls that take the keyboard focus, in tab order.
HWND FocusWindow(const Dialog& d, FocusStop stop) {
  switch (stop) {
    case FocusStop::kPicC:
      return d.panel;
    case FocusStop::kRepeat:
      return d.repeat;
    case FocusStop::kBrowse:
      return d.cmdBgm;
    case FocusStop::kSet:
      return d.cmdSet;
    case FocusStop::kCancel:
      return d.cmdCan;
    case FocusStop::kEtc:
      return d.cmdEtc;
  }
  return nullptr;
}

void MoveFocus(const Dialog& d, bool forward) {
  HWND focus = GetFocus();
  FocusStop from = forward ? FocusStop::kEtc : FocusStop::kPicC;  // no stop has it yet
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

// The dialog and its panel each keep their gradient in a backing image,
// painted afresh at every resize and copied to the screen when painting.
template <typename Colour, typename Paint>
std::optional<LRESULT> HandleSurface(HWND window, UINT message, BackingImage& background,
                                     Colour colour, Paint paint) {
  switch (message) {
    case WM_SIZE:
      background.paint(window, colour);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      paint(dc);
      EndPaint(window, &ps);
      return 0;
    }
    default:
      return std::nullopt;
  }
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  Dialog* d = DialogOf(window);
  if (!d) return DefWindowProcW(window, message, wParam, lParam);
  if (const auto done = HandleSurface(window, message, d->panelBackground, PanelGradientColour,
                                      [d](HDC dc) { PaintPanel(*d, dc); })) {
    return *done;
  }
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: {
      SetFocus(window);
      const int mode =
          ModeAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      if (mode >= 0) {
        d->env->settings->MusicMode = static_cast<int16_t>(mode);
        ShowMusicMode(*d);
      }
      return message == WM_XBUTTONDOWN ? TRUE : 0;
    }
    case WM_COMMAND:  // from Cmd_BGM and BGM_Repeat: the dialog handles them
      return SendMessageW(d->window, message, wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* params =
        static_cast<const CreateParams*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    auto* d = new Dialog;
    d->instance = params->instance;
    d->env = params->env;
    d->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(d));
  }
  Dialog* d = DialogOf(window);
  if (!d) return DefWindowProcW(window, message, wParam, lParam);
  if (const auto done = HandleSurface(window, message, d->background, DialogGradientColour,
                                      [d](HDC dc) { PaintDialog(*d, dc); })) {
    return *done;
  }
  switch (message) {
    case WM_CREATE:
      CreateControls(*d);
      return d->panel && d->repeat ? 0 : -1;
    case WM_COMMAND:
      OnCommand(*d, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      Unload(*d);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) d->lastFocus = focus;
      } else {
        HWND target = d->lastFocus && IsWindow(d->lastFocus) && IsWindowEnabled(d->lastFocus)
                          ? d->lastFocus
                          : d->panel;
        SetFocus(target);
      }
      return 0;
    case WM_SETCURSOR:
      if (d->busyCursor) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
      }
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      if (d->bigIcon) DestroyIcon(d->bigIcon);
      if (d->smallIcon) DestroyIcon(d->smallIcon);
      delete d;
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXW dialog{};
  dialog.cbSize = sizeof dialog;
  dialog.lpfnWndProc = DialogProc;
  dialog.hInstance = instance;
  dialog.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  dialog.lpszClassName = kDialogClass;
  WNDCLASSEXW panel = dialog;
  panel.lpfnWndProc = PanelProc;
  panel.lpszClassName = kPanelClass;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  for (const WNDCLASSEXW* c : {&dialog, &panel}) {
    if (!GetClassInfoExW(instance, c->lpszClassName, &existing) && !RegisterClassExW(c))
      return false;
  }
  return true;
}

}  // namespace

HWND OpenSettingsDialog(HINSTANCE instance, DialogEnvironment* env) {
  if (!RegisterClasses(instance)) return nullptr;
  RECT frame{0, 0, ToPixels(kClient).width, ToPixels(kClient).height};
  AdjustWindowRectEx(&frame, kDialogStyle, FALSE, 0);
  CreateParams params{instance, env};
  HWND window = CreateWindowExW(0, kDialogClass, kCaption, kDialogStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, nullptr, instance, &params);
  if (!window) return nullptr;
  Load(*DialogOf(window));
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  UpdateWindow(window);
  return window;
}

void RunSettingsDialog(HWND dialog) {
  MSG msg;
  while (IsWindow(dialog)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // Someone asked the program to end: close the dialog without saving and pass it on.
      if (IsWindow(dialog)) DestroyWindow(dialog);
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (HandleDialogKey(dialog, msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool HandleDialogKey(HWND dialog, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (msg.hwnd != dialog && !IsChild(dialog, msg.hwnd)) return false;
  const Dialog* d = DialogOf(dialog);
  if (!d || SendMessageW(d->repeat, CB_GETDROPPEDSTATE, 0, 0)) return false;
  MoveFocus(*d, GetKeyState(VK_SHIFT) >= 0);
  return true;
}

int SelectedIndicator(HWND dialog) {
  const Dialog* d = DialogOf(dialog);
  return d ? LookForMode(d->env->settings->MusicMode).selectedIndicator : -1;
}

POINT SavedCursor(HWND dialog) {
  const Dialog* d = DialogOf(dialog);
  return d ? POINT{d->savedCursorX, d->savedCursorY} : POINT{0, 0};
}

std::wstring FileLabelText(HWND dialog) {
  const Dialog* d = DialogOf(dialog);
  return d ? d->fileLabel : std::wstring();
}

}  // namespace settings_dialog
