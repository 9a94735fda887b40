#pragma once
// Small owners for GDI objects and memory device contexts of the dialog.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace settings_dialog {

struct GdiObjectDeleter {
  void operator()(void* object) const {
    if (object) DeleteObject(static_cast<HGDIOBJ>(object));
  }
};
template <typename Handle>
using GdiPtr = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

// A memory DC compatible with the screen, with one object selected into it
// for its lifetime.
class MemoryDc {
 public:
  explicit MemoryDc(HGDIOBJ selected) : dc_(CreateCompatibleDC(nullptr)) {
    old_ = SelectObject(dc_, selected);
  }
  ~MemoryDc() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Selects an object into a DC for a scope.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, old_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace settings_dialog
