#include "common/win32_text.h"

#include "common/win32_text_testing.h"

#include <windows.h>

namespace orvane::common {

std::wstring Widen(const std::string& text, unsigned codePage) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& text, unsigned codePage) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

namespace {

// UTF-8 and GB18030 take no flag but WC_ERR_INVALID_CHARS (ERROR_INVALID_FLAGS
// otherwise), and UTF-8 no used-default report (ERROR_INVALID_PARAMETER). Both
// hold every character, so the round trip alone tells an exact conversion.
bool TakesOnlyStrictFlags(unsigned codePage) { return codePage == CP_UTF8 || codePage == 54936; }

}  // namespace

std::optional<std::string> ToCodePageExactly(const std::wstring& text, unsigned codePage,
                                             const NarrowFunction& narrow) {
  if (text.empty()) return std::string();
  const bool strict = TakesOnlyStrictFlags(codePage);
  const unsigned long flags = strict ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const report = strict ? nullptr : &usedDefault;
  const int size = static_cast<int>(text.size());
  const int n = narrow(codePage, flags, text.data(), size, nullptr, 0, nullptr, report);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  if (narrow(codePage, flags, text.data(), size, out.data(), n, nullptr, report) != n)
    return std::nullopt;
  // Some code pages have no default-character report; the way back decides.
  if (usedDefault || Widen(out, codePage) != text) return std::nullopt;
  return out;
}

std::optional<std::string> ToAnsiExactly(const std::wstring& text) {
  return ToCodePageExactly(
      text, GetACP(),
      [](unsigned codePage, unsigned long flags, const wchar_t* wide, int length, char* out,
         int outSize, const char* defaultChar, int* usedDefault) {
        return WideCharToMultiByte(codePage, flags, wide, length, out, outSize, defaultChar,
                                   usedDefault);
      });
}

}  // namespace orvane::common
