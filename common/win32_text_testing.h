#pragma once
// The exact ANSI conversion over a stand-in for WideCharToMultiByte, so that a
// test can see the arguments it passes for a given code page (the platform
// may accept arguments that Windows refuses for that code page).
#include <functional>
#include <optional>
#include <string>

namespace orvane::common {

// WideCharToMultiByte's parameters, in its order.
using NarrowFunction =
    std::function<int(unsigned codePage, unsigned long flags, const wchar_t* text, int length,
                      char* out, int outSize, const char* defaultChar, int* usedDefault)>;

// ToAnsiExactly for `codePage` (a real code page number, not CP_ACP), through
// `narrow`; the way back goes through the platform's MultiByteToWideChar.
std::optional<std::string> ToCodePageExactly(const std::wstring& text, unsigned codePage,
                                             const NarrowFunction& narrow);

}  // namespace orvane::common
