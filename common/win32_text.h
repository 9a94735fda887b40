#pragma once
// Text between the platform's UTF-16 and the byte strings the pure code keeps:
// UTF-8 for the command line, the ANSI code page for paths and INI values.
#include <optional>
#include <string>

namespace orvane::common {

constexpr unsigned kAnsiCodePage = 0;      // CP_ACP
constexpr unsigned kUtf8CodePage = 65001;  // CP_UTF8

std::wstring Widen(const std::string& text, unsigned codePage);
std::string Narrow(const std::wstring& text, unsigned codePage);

inline std::string ToUtf8(const std::wstring& text) { return Narrow(text, kUtf8CodePage); }
inline std::wstring FromUtf8(const std::string& text) { return Widen(text, kUtf8CodePage); }

// The text in the ANSI code page, or nothing when one of its characters has
// no place there (it would come back as "?" or as a look-alike letter).
std::optional<std::string> ToAnsiExactly(const std::wstring& text);

}  // namespace orvane::common
