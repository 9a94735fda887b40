#pragma once
// The Windows tests' screen reader: asks a window's accessibility interface what a reader would.
#include <windows.h>

#include <gtest/gtest.h>
#include <ole2.h>
#include <oleacc.h>

#include <string>

namespace orvane::testing {

// Spelled out: the import library's symbol is no GUID under static linking.
constexpr GUID kIidAccessible{
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

inline VARIANT Child(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// What one element says.
struct Heard {
  long role = -1, state = -1;
  std::wstring name, action, value;
  HRESULT nameResult = E_FAIL;
};

inline std::wstring Take(BSTR text) {
  std::wstring out = text ? text : L"";
  SysFreeString(text);
  return out;
}

inline Heard Ask(IAccessible* object, long id = CHILDID_SELF) {
  Heard h;
  VARIANT v;
  VariantInit(&v);
  if (SUCCEEDED(object->get_accRole(Child(id), &v)) && v.vt == VT_I4) h.role = v.lVal;
  if (SUCCEEDED(object->get_accState(Child(id), &v)) && v.vt == VT_I4) h.state = v.lVal;
  BSTR text = nullptr;
  h.nameResult = object->get_accName(Child(id), &text);
  h.name = Take(text);
  text = nullptr;
  object->get_accDefaultAction(Child(id), &text);
  h.action = Take(text);
  text = nullptr;
  object->get_accValue(Child(id), &text);
  h.value = Take(text);
  return h;
}

// The client-area object, as a reader asks for it (the caller releases it).
inline IAccessible* AccessibleOf(HWND window) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* object = nullptr;
  EXPECT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                       reinterpret_cast<void**>(&object)),
            S_OK);
  return object;
}

}  // namespace orvane::testing
