// The push button as a Win32 child window: the model in widgets/command.h, painted into a
// backing image that WM_PAINT copies to the screen with the caption on top.
#include "widgets/win32_command.h"

#include "common/win32_gdi.h"

#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <new>
#include <type_traits>
// <windows.h> names DrawState after the system's DrawStateA; the model's own DrawState is meant.
#undef DrawState
#include "widgets/command.h"
#include "widgets/command_pictures.h"
#include "widgets/command_resources.h"
#include "widgets/win32_accessible.h"
#include "widgets/win32_command_testing.h"

namespace orvane::widgets {

using common::BitmapPtr;
using common::FontPtr;
using common::MemoryDc;
using common::PixelsToTwipsAt;
using common::Selection;
using common::TwipsToPixelsAt;

namespace {

constexpr UINT_PTR kPollTimer = 1;
// Sent by the system to the children of a window whose density changed (Windows 10 1703 on).
constexpr UINT kDpiChangedAfterParent = 0x02E3;

using common::BitmapPtr;
using common::FontPtr;
using common::MemoryDc;
using common::Selection;

BitmapPtr CreateSurfaceBitmap(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return BitmapPtr(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

COLORREF ResolveColour(uint32_t colour) {
  // The high bit names a system colour by its index.
  if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour & 0x00FFFFFF);
}

// What a screen reader calls the button's one action (a standard push button's word).
constexpr wchar_t kPressAction[] = L"Press";

class CommandWindow final : public CommandView, public AccessibleSource {
 public:
  explicit CommandWindow(HWND hwnd) : hwnd_(hwnd) {}

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  int depth = 0;  // nesting of window-procedure calls on this button
  bool destroyed = false;

  // CommandView
  void PaintSurface(Picture picture, bool invertGradient) override;
  int WidthTwips() const override { return PixelsToTwipsAt(ClientSize().cx, dpi_); }
  int HeightTwips() const override { return PixelsToTwipsAt(ClientSize().cy, dpi_); }
  void CaptionChanged() override { Invalidate(); }
  void BackStyleChanged() override { Invalidate(); }
  void StartHoverPoll(unsigned intervalMs) override {
    SetTimer(hwnd_, kPollTimer, intervalMs, nullptr);
  }
  void RaiseClick() override {
    SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd_));
  }
  // The dialog keeps its layout in code; there is no stored set to save again.
  void PropertyChanged(const char*) override {}

  // AccessibleSource: a push button named by its caption, whose action clicks it.
  AccessibleFacts Describe(int) const override {
    AccessibleFacts facts;
    facts.role = ROLE_SYSTEM_PUSHBUTTON;
    facts.name.assign(model_.Caption().begin(), model_.Caption().end());
    facts.defaultAction = kPressAction;
    return facts;
  }
  void DoDefaultAction(int) override { model_.Press(); }

 private:
  bool Create(const CREATESTRUCTW& cs);
  bool MakePictures();
  void SetDpi(int dpi);
  int Pixels(int twips) const { return TwipsToPixelsAt(twips, dpi_); }
  HFONT AmbientFont();
  SIZE ClientSize() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return {r.right - r.left, r.bottom - r.top};
  }
  void Invalidate() {
    if (!destroyed) InvalidateRect(hwnd_, nullptr, FALSE);
  }
  void Compose(HDC dc);
  void PaintParentBackground(HDC dc);
  void DrawCaption(HDC dc);
  void DrawFocusCue(HDC dc, SIZE size);
  void ReleaseCaptureIfDone(WPARAM keys) {
    if (!(keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == hwnd_) ReleaseCapture();
  }
  static int HeldButtons(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
           ((keys & MK_MBUTTON) ? 4 : 0);
  }

  HWND hwnd_;
  HINSTANCE instance_ = nullptr;
  int dpi_ = common::kDefaultDpi;  // the density the button is laid out and drawn at
  Command model_{*this};
  AccessibleAnswer accessible_{hwnd_, *this};
  BitmapPtr pictures_[6];
  BitmapPtr backing_;
  SIZE backingSize_{0, 0};
  FontPtr ownFont_;
};

// At 96 dots per inch the pictures are the program's bitmap resources; at any other density
// the same drawing is made afresh at that size, so that the frame stays sharp.
bool CommandWindow::MakePictures() {
  if (dpi_ != common::kDefaultDpi) {
    for (int i = 0; i < 6; ++i) {
      BitmapPtr drawn =
          common::CreatePictureBitmap(DrawCommandPicture(static_cast<Picture>(i), dpi_));
      if (!drawn) return false;
      pictures_[i] = std::move(drawn);
    }
    return true;
  }
  const HINSTANCE instance = instance_;
  for (int i = 0; i < 6; ++i) {
    auto load = [&](HINSTANCE from) {
      return static_cast<HBITMAP>(LoadImageW(from, MAKEINTRESOURCEW(IDB_COMMAND_NORMAL + i),
                                             IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    };
    HBITMAP bitmap = load(instance);
    if (!bitmap) bitmap = load(GetModuleHandleW(nullptr));
    if (!bitmap) return false;
    pictures_[i].reset(bitmap);
  }
  return true;
}

HFONT CommandWindow::AmbientFont() {
  if (HWND parent = GetParent(hwnd_)) {
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0))) return font;
  }
  // The button's own font, for a container that has none.
  if (!ownFont_) ownFont_ = common::CreateDialogFont(dpi_);
  return ownFont_.get();
}

bool CommandWindow::Create(const CREATESTRUCTW& cs) {
  instance_ = cs.hInstance;
  dpi_ = common::WindowDpi(hwnd_);
  if (!MakePictures()) return false;
  // What a button created here has stored: its caption, and whether it starts enabled.
  PropertyBag stored;
  if (cs.lpszName && !IS_INTRESOURCE(cs.lpszName))
    stored.Set("Caption", std::u16string(reinterpret_cast<const char16_t*>(cs.lpszName)));
  stored.Set("Enabled", (cs.style & WS_DISABLED) == 0);
  model_.ReadProperties(stored, FontRef{reinterpret_cast<uintptr_t>(AmbientFont())});
  return true;
}

void CommandWindow::PaintSurface(Picture picture, bool invertGradient) {
  const SIZE size = ClientSize();
  if (size.cx <= 0 || size.cy <= 0) return;
  if (!backing_ || size.cx != backingSize_.cx || size.cy != backingSize_.cy) {
    backing_ = CreateSurfaceBitmap(size.cx, size.cy);
    backingSize_ = size;
    if (!backing_) return;
  }
  MemoryDc surface(backing_.get());
  HDC dc = surface.Get();

  RECT all{0, 0, size.cx, size.cy};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));

  const auto gradient = BackgroundGradient(invertGradient);
  TRIVERTEX vertices[2] = {
      {0, 0, gradient.top.red, gradient.top.green, gradient.top.blue, 0},
      {size.cx - 1, size.cy - 1, gradient.bottom.red, gradient.bottom.green, gradient.bottom.blue,
       0},
  };
  GRADIENT_RECT rect{0, 1};
  GradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);

  MemoryDc source(pictures_[static_cast<int>(picture)].get());
  SetStretchBltMode(dc, COLORONCOLOR);
  for (const auto& piece : FramePieces(WidthTwips(), HeightTwips())) {
    const Rect d{Pixels(piece.dest.x), Pixels(piece.dest.y), Pixels(piece.dest.width),
                 Pixels(piece.dest.height)};
    const Rect s{Pixels(piece.source.x), Pixels(piece.source.y), Pixels(piece.source.width),
                 Pixels(piece.source.height)};
    if (d.width <= 0 || d.height <= 0) continue;
    if (d.width == s.width && d.height == s.height) {
      BitBlt(dc, d.x, d.y, d.width, d.height, source.Get(), s.x, s.y, SRCCOPY);
    } else {
      StretchBlt(dc, d.x, d.y, d.width, d.height, source.Get(), s.x, s.y, s.width, s.height,
                 SRCCOPY);
    }
  }
  Invalidate();
}

// A new density: the pictures are drawn again and the look painted again at it; the parent
// moves and sizes the button to its new place.
void CommandWindow::SetDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  MakePictures();
  if (ownFont_) ownFont_ = common::CreateDialogFont(dpi_);
  if (model_.ButtonState() != 0) model_.DrawState(model_.LastPicture());
}

void CommandWindow::PaintParentBackground(HDC dc) {
  HWND parent = GetParent(hwnd_);
  if (!parent) return;
  POINT origin{0, 0};
  MapWindowPoints(hwnd_, parent, &origin, 1);
  POINT old{};
  OffsetWindowOrgEx(dc, origin.x, origin.y, &old);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetWindowOrgEx(dc, old.x, old.y, nullptr);
}

void CommandWindow::DrawCaption(HDC dc) {
  const auto& label = model_.Label();
  const std::wstring text(label.caption.begin(), label.caption.end());
  RECT r;
  r.left = Pixels(label.left);
  r.top = static_cast<LONG>(std::lround(label.top * dpi_ / common::kTwipsPerInch));
  r.right = r.left + Pixels(label.width);
  r.bottom = r.top + Pixels(label.height);
  HFONT font = reinterpret_cast<HFONT>(label.font.handle);
  Selection selected(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_CENTER | DT_TOP | DT_WORDBREAK;
  if (label.enabled) {
    SetTextColor(dc, ResolveColour(label.colour));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    return;
  }
  // The usual disabled label: a light copy one pixel down and right under grey text.
  RECT shadow = r;
  OffsetRect(&shadow, 1, 1);
  SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
  SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

// The dotted rectangle of a focused standard button, just inside the frame, so that the focus
// shows whichever state picture is up (the pictures alone tell Selected from Normal by little).
void CommandWindow::DrawFocusCue(HDC dc, SIZE size) {
  if (GetFocus() != hwnd_ || !model_.EnabledField()) return;
  const int inset = Pixels(kCornerTwips) + 1;
  RECT r{inset, inset, size.cx - inset, size.cy - inset};
  if (r.right <= r.left || r.bottom <= r.top) return;
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &r);
}

void CommandWindow::Compose(HDC dc) {
  const SIZE size = ClientSize();
  if (model_.BackStyle() != 0 && backing_) {
    MemoryDc surface(backing_.get());
    BitBlt(dc, 0, 0, size.cx, size.cy, surface.Get(), 0, 0, SRCCOPY);
  } else {
    // Transparent: the container shows through; only the caption is drawn.
    PaintParentBackground(dc);
  }
  DrawCaption(dc);
  DrawFocusCue(dc, size);
}

LRESULT CommandWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT answered; accessible_.Handle(message, wParam, lParam, answered)) return answered;
  switch (message) {
    case WM_CREATE:
      return Create(*reinterpret_cast<const CREATESTRUCTW*>(lParam)) ? 0 : -1;
    case WM_SIZE:
      model_.Resize();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      const SIZE size = ClientSize();
      // Composed off screen so that the caption does not flicker over the frame.
      common::PaintBuffered(dc, size.cx, size.cy, [this](HDC buffer) { Compose(buffer); });
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Compose(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      const auto* text = reinterpret_cast<const char16_t*>(lParam);
      model_.SetCaption(text ? std::u16string(text) : std::u16string());
      return result;
    }
    case WM_SETFONT:
      model_.SetFont(FontRef{static_cast<uintptr_t>(wParam)});
      return 0;
    case WM_GETFONT:
      return static_cast<LRESULT>(model_.Font().handle);
    case WM_ENABLE:
      model_.SetEnabled(wParam != 0);
      return 0;
    case WM_SETFOCUS:
      model_.FocusGained();
      Invalidate();  // the focus cue, also where the state does not change
      return 0;
    case WM_KILLFOCUS:
      model_.FocusLost();
      Invalidate();
      return 0;
    case WM_LBUTTONDOWN:
      if (!model_.EnabledField()) return 0;
      SetCapture(hwnd_);
      if (GetFocus() != hwnd_) SetFocus(hwnd_);
      model_.MouseDown(kLeftButton);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!model_.EnabledField()) return 0;
      SetCapture(hwnd_);
      model_.MouseDown(message == WM_RBUTTONDOWN ? kRightButton : kMiddleButton);
      return 0;
    case WM_MOUSEMOVE:
      model_.MouseMove(HeldButtons(wParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      ReleaseCaptureIfDone(wParam);
      // Click may destroy this window: nothing of it is touched after MouseUp.
      model_.MouseUp(message == WM_LBUTTONUP   ? kLeftButton
                     : message == WM_RBUTTONUP ? kRightButton
                                               : kMiddleButton);
      return 0;
    case WM_GETDLGCODE:
      // A push button: a dialog manager that hosts it sends Enter as its click.
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_KEYDOWN:
    case WM_KEYUP: {
      if (wParam != VK_SPACE && wParam != VK_RETURN) break;
      const CommandKey key = wParam == VK_SPACE ? CommandKey::Space : CommandKey::Enter;
      // Click may destroy this window: nothing of it is touched after the model's call.
      if (message == WM_KEYDOWN) {
        model_.KeyDown(key, (lParam & (1 << 30)) != 0);  // bit 30: the key was already down
      } else {
        model_.KeyUp(key);
      }
      return 0;
    }
    case WM_TIMER:
      if (wParam == kPollTimer) {
        POINT pointer;
        const bool over = GetCursorPos(&pointer) && WindowFromPoint(pointer) == hwnd_;
        model_.HoverTick(over);
        return 0;
      }
      break;
    case kCommandInitialize:
      model_.Initialize();
      return 0;
    case kCommandSetFontColour:
      model_.SetFontColour(static_cast<uint32_t>(wParam));
      return 0;
    case kCommandGetFontColour:
      return static_cast<LRESULT>(model_.FontColour());
    case kCommandSetVisible:
      model_.SetVisible(static_cast<uint8_t>(wParam != 0 ? 255 : 0));
      return 0;
    case kCommandGetVisible:
      return model_.Visible();
    case kCommandGetEnabled:
      return model_.Enabled() ? 1 : 0;
    case kCommandSetEnabled:
      // EnableWindow reports a change through WM_ENABLE; without one, write Enabled here.
      if ((IsWindowEnabled(hwnd_) != FALSE) == (wParam != 0)) {
        model_.SetEnabled(wParam != 0);
      } else {
        EnableWindow(hwnd_, wParam != 0);
      }
      return 0;
    case kCommandSetDpi:
      SetDpi(static_cast<int>(wParam));
      return 0;
    case kDpiChangedAfterParent:
      SetDpi(common::WindowDpi(hwnd_));
      return 0;
    case kCommandGetDpi:
      return dpi_;
    case kCommandGetState:
      return model_.ButtonState();
    case kCommandGetLook:
      return static_cast<LRESULT>(model_.LastPicture());
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CommandProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CommandWindow*>(GetWindowLongPtrW(hwnd, 0));
  if (message == WM_NCCREATE) {
    self = new (std::nothrow) CommandWindow(hwnd);
    if (!self) return FALSE;
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

  // The state lives until the outermost call on this button returns, so that a Click whose
  // handler destroys the button does not pull it away from the mouse handler that raised it.
  ++self->depth;
  LRESULT result = 0;
  try {
    result = self->Handle(message, wParam, lParam);
  } catch (const std::exception&) {
    result = message == WM_CREATE ? -1 : DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, 0, 0);
    self->destroyed = true;
  }
  if (--self->depth == 0 && self->destroyed) delete self;
  return result;
}

}  // namespace

bool RegisterCommandClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = CommandProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  wc.lpszClassName = kCommandClassName;
  if (RegisterClassExW(&wc)) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace orvane::widgets
