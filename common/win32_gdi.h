#pragma once
// Owners for GDI objects and memory DCs, the dialog font, the display density
// and buffered painting, shared by the self-drawn windows.
#include "common/rgb_picture.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <type_traits>

namespace orvane::common {

struct Deleter {
  void operator()(void* object) const {
    if (object) DeleteObject(static_cast<HGDIOBJ>(object));
  }
};
template <typename Handle>
using Ptr = std::unique_ptr<std::remove_pointer_t<Handle>, Deleter>;
using BitmapPtr = Ptr<HBITMAP>;
using FontPtr = Ptr<HFONT>;
using BrushPtr = Ptr<HBRUSH>;

// A memory DC with one bitmap selected, restored and freed on scope exit.
class MemoryDc {
 public:
  explicit MemoryDc(HBITMAP bitmap, HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {
    if (dc_ && bitmap) old_ = SelectObject(dc_, bitmap);
  }
  ~MemoryDc() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// Selects a GDI object for one scope.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A font of the given size in hundredths of a point at `dpi` dots per inch.
FontPtr CreatePointFont(const wchar_t* face, int hundredthsOfPoint, BYTE charset, int dpi);
// The 9.75-point font the dialog and its buttons were laid out for.
FontPtr CreateDialogFont(int dpi);

// The density a window is shown at: its monitor's where the system scales per monitor
// (Windows 10 1607 on), else the system's. Never 0.
int WindowDpi(HWND window);

// A bitmap of the picture, 32 bits a pixel, ready to copy from.
BitmapPtr CreatePictureBitmap(const RgbPicture& picture);

// Paints into a memory bitmap like `target` and copies it over in one go, so
// that layers drawn over one another never flicker on the screen.
template <typename Paint>
void PaintBuffered(HDC target, int width, int height, Paint paint) {
  BitmapPtr frame(CreateCompatibleBitmap(target, std::max(width, 1), std::max(height, 1)));
  MemoryDc buffer(frame.get(), target);
  paint(buffer.Get());
  BitBlt(target, 0, 0, width, height, buffer.Get(), 0, 0, SRCCOPY);
}

}  // namespace orvane::common
