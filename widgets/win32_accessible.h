#pragma once
// What a self-drawn control tells screen readers: the accessibility interface (IAccessible)
// that Windows' screen readers ask a window for with WM_GETOBJECT. A control that paints its
// own parts describes itself and each painted part; windows inside it answer for themselves.
//
//   AccessibleAnswer answer_{hwnd, source};       // one per window, in its state
//   if (LRESULT r; answer_.Handle(message, wParam, lParam, r)) return r;   // in its procedure
//
// The interface may outlive the window (a client holds it): once the answer is destroyed, every
// call on it fails with RPC_E_DISCONNECTED instead of reaching freed state.
#include <windows.h>

#include <string>

namespace orvane::widgets {

// What one element says of itself: the window (part 0) or one of its painted parts (1..n).
struct AccessibleFacts {
  long role = 0;  // ROLE_SYSTEM_*
  std::wstring name;
  std::wstring value;
  long state = 0;              // STATE_SYSTEM_* of its own; the window's are added for part 0
  std::wstring defaultAction;  // empty: none
  RECT place{0, 0, 0, 0};      // painted parts: where, in the window's client pixels
};

class AccessibleSource {
 public:
  virtual ~AccessibleSource() = default;
  virtual int PartCount() const { return 0; }
  virtual AccessibleFacts Describe(int part) const = 0;
  // Runs from the window's own message queue, never inside the client's call: the action may
  // open a modal dialog or close the window, and the client must not wait for either.
  virtual void DoDefaultAction(int part) = 0;
};

class AccessibleObject;

class AccessibleAnswer {
 public:
  AccessibleAnswer(HWND window, AccessibleSource& source) : window_(window), source_(source) {}
  ~AccessibleAnswer();
  AccessibleAnswer(const AccessibleAnswer&) = delete;
  AccessibleAnswer& operator=(const AccessibleAnswer&) = delete;

  // WM_GETOBJECT for the client area, and the default action posted back to the window; true
  // when `message` was one of them, with its result in `result`.
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  HWND window_;
  AccessibleSource& source_;
  AccessibleObject* object_ = nullptr;  // made on the first request, kept for the window's life
};

// The message that carries a default action back to the window (registered, so private to
// nobody; wParam: the part).
UINT AccessibleDefaultActionMessage();

}  // namespace orvane::widgets
