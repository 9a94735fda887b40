#pragma once
// Owners for GDI objects and memory DCs, shared by the self-drawn windows.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace orvane::gdi {

struct Deleter {
  void operator()(void* object) const {
    if (object) DeleteObject(static_cast<HGDIOBJ>(object));
  }
};
template <typename Handle>
using Ptr = std::unique_ptr<std::remove_pointer_t<Handle>, Deleter>;
using BitmapPtr = Ptr<HBITMAP>;
using FontPtr = Ptr<HFONT>;

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
  HDC get() const { return dc_; }

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

}  // namespace orvane::gdi
