// The accessibility interface of a self-drawn control: one COM object per window, answering
// from what the window's AccessibleSource says at the moment of each call.
#include "widgets/win32_accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <new>
#include <string>
#include <vector>

namespace orvane::widgets {

namespace {

// Spelled out: with static linking the interface ids taken from the import libraries are read
// through an import thunk, not as the GUID, and every query for them would fail.
constexpr GUID kIidUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kIidDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kIidAccessible{
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

HRESULT TextResult(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, long id) {
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = id;
}

// The windows inside `window`, in their order (the z order, as the standard proxies count).
std::vector<HWND> ChildWindows(HWND window) {
  std::vector<HWND> children;
  for (HWND w = GetWindow(window, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    children.push_back(w);
  return children;
}

HRESULT WindowObject(HWND window, IDispatch** out) {
  return AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), kIidDispatch,
                                    reinterpret_cast<void**>(out));
}

}  // namespace

UINT AccessibleDefaultActionMessage() {
  static const UINT kMessage = RegisterWindowMessageW(L"Orvane.AccessibleDefaultAction");
  return kMessage;
}

class AccessibleObject final : public IAccessible {
 public:
  AccessibleObject(HWND window, AccessibleSource* source) : window_(window), source_(source) {}

  void Disconnect() { source_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualGUID(iid, kIidUnknown) || IsEqualGUID(iid, kIidDispatch) ||
        IsEqualGUID(iid, kIidAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: clients use the interface's own methods; nothing is offered by name.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!Alive()) return RPC_E_DISCONNECTED;
    return WindowObject(window_, parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!Alive()) return RPC_E_DISCONNECTED;
    *count = source_->PartCount() + static_cast<long>(ChildWindows(window_).size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!Alive()) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4 || child.lVal < 1) return E_INVALIDARG;
    const long parts = source_->PartCount();
    if (child.lVal <= parts) return S_FALSE;  // a painted part: no object of its own
    const std::vector<HWND> windows = ChildWindows(window_);
    const size_t index = static_cast<size_t>(child.lVal - parts - 1);
    if (index >= windows.size()) return E_INVALIDARG;
    return WindowObject(windows[index], out);
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, &AccessibleFacts::name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Text(child, &AccessibleFacts::value, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return NoText(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    VariantInit(role);
    AccessibleFacts facts;
    if (const HRESULT hr = Facts(child, facts); FAILED(hr)) return hr;
    SetChild(role, facts.role);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    VariantInit(state);
    AccessibleFacts facts;
    if (const HRESULT hr = Facts(child, facts); FAILED(hr)) return hr;
    long bits = facts.state;
    if (!IsWindowVisible(window_)) bits |= STATE_SYSTEM_INVISIBLE;
    if (!IsWindowEnabled(window_)) bits |= STATE_SYSTEM_UNAVAILABLE;
    if (child.lVal == CHILDID_SELF && IsWindowEnabled(window_)) {
      bits |= STATE_SYSTEM_FOCUSABLE;
      if (GetFocus() == window_) bits |= STATE_SYSTEM_FOCUSED;
    }
    SetChild(state, bits);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return NoText(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return NoText(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    if (!Alive()) return RPC_E_DISCONNECTED;
    HWND focused = GetFocus();
    if (focused == window_) {
      SetChild(focus, CHILDID_SELF);
      return S_OK;
    }
    for (HWND w : ChildWindows(window_)) {
      if (w != focused && !IsChild(w, focused)) continue;
      IDispatch* object = nullptr;
      if (FAILED(WindowObject(w, &object))) return S_FALSE;
      focus->vt = VT_DISPATCH;
      focus->pdispVal = object;
      return S_OK;
    }
    return S_FALSE;  // the focus is elsewhere
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    VariantInit(selection);
    return Alive() ? S_FALSE : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Text(child, &AccessibleFacts::defaultAction, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    AccessibleFacts facts;
    if (const HRESULT hr = Facts(child, facts); FAILED(hr)) return hr;
    if (child.lVal != CHILDID_SELF || flags != SELFLAG_TAKEFOCUS) return DISP_E_MEMBERNOTFOUND;
    if (!IsWindowEnabled(window_)) return S_FALSE;
    SetFocus(window_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    AccessibleFacts facts;
    if (const HRESULT hr = Facts(child, facts); FAILED(hr)) return hr;
    RECT r = facts.place;
    if (child.lVal == CHILDID_SELF) GetClientRect(window_, &r);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    AccessibleFacts facts;
    if (const HRESULT hr = Facts(start, facts); FAILED(hr)) return hr;
    const long parts = source_->PartCount();
    long to = 0;
    if (start.lVal == CHILDID_SELF) {
      // Only into the painted parts; among windows the platform's own objects navigate.
      if (direction == NAVDIR_FIRSTCHILD) to = parts > 0 ? 1 : 0;
      if (direction == NAVDIR_LASTCHILD) to = parts;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
      to = start.lVal < parts ? start.lVal + 1 : 0;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
      to = start.lVal - 1;
    }
    if (to <= 0) return S_FALSE;
    SetChild(end, to);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    VariantInit(hit);
    if (!Alive()) return RPC_E_DISCONNECTED;
    POINT p{x, y};
    ScreenToClient(window_, &p);
    RECT client;
    GetClientRect(window_, &client);
    if (!PtInRect(&client, p)) return S_FALSE;
    for (long part = 1; part <= source_->PartCount(); ++part) {
      const RECT place = source_->Describe(part).place;
      if (PtInRect(&place, p)) {
        SetChild(hit, part);
        return S_OK;
      }
    }
    HWND inside = ChildWindowFromPointEx(window_, p, CWP_SKIPINVISIBLE);
    if (inside && inside != window_) {
      IDispatch* object = nullptr;
      if (SUCCEEDED(WindowObject(inside, &object))) {
        hit->vt = VT_DISPATCH;
        hit->pdispVal = object;
        return S_OK;
      }
    }
    SetChild(hit, CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    AccessibleFacts facts;
    if (const HRESULT hr = Facts(child, facts); FAILED(hr)) return hr;
    if (facts.defaultAction.empty() || !IsWindowEnabled(window_)) return DISP_E_MEMBERNOTFOUND;
    // Posted: the client's call returns before the action runs (it may open a modal dialog).
    return PostMessageW(window_, AccessibleDefaultActionMessage(), static_cast<WPARAM>(child.lVal),
                        0)
               ? S_OK
               : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~AccessibleObject() = default;

  bool Alive() const { return source_ && IsWindow(window_); }

  // The facts of a valid child id (0 or a painted part).
  HRESULT Facts(const VARIANT& child, AccessibleFacts& facts) const {
    if (!Alive()) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > source_->PartCount())
      return E_INVALIDARG;
    try {
      facts = source_->Describe(child.lVal);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }
  HRESULT Text(const VARIANT& child, std::wstring AccessibleFacts::*field, BSTR* out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessibleFacts facts;
    if (const HRESULT hr = Facts(child, facts); FAILED(hr)) return hr;
    return TextResult(facts.*field, out);
  }
  // Descriptions, help and shortcuts: none, for any valid child.
  HRESULT NoText(const VARIANT& child, BSTR* out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessibleFacts facts;
    const HRESULT hr = Facts(child, facts);
    return FAILED(hr) ? hr : S_FALSE;
  }

  HWND window_;
  AccessibleSource* source_;
  LONG references_ = 1;
};

AccessibleAnswer::~AccessibleAnswer() {
  if (!object_) return;
  object_->Disconnect();
  object_->Release();
}

bool AccessibleAnswer::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_GETOBJECT) {
    // Compared as a DWORD: on 64-bit Windows lParam may arrive sign-extended.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return false;
    // Handing the object to another process needs this thread in a COM apartment. It stays in
    // it for the life of the program: the interface may be asked for at any time.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;  // S_FALSE (already) and RPC_E_CHANGED_MODE (another apartment) serve as well
    if (!object_) object_ = new (std::nothrow) AccessibleObject(window_, &source_);
    if (!object_) return false;
    result = LresultFromObject(kIidAccessible, wParam, object_);
    return true;
  }
  if (message != 0 && message == AccessibleDefaultActionMessage()) {
    source_.DoDefaultAction(static_cast<int>(wParam));
    result = 0;
    return true;
  }
  return false;
}

}  // namespace orvane::widgets
