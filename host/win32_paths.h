#pragma once
// Where the host finds its files: beside the running program.
#include <string>

namespace orvane::host {

// The folder of the running program, without a trailing backslash, as an
// ANSI path that names it (see AnsiPathOf).
std::string HostFolder();
// "<HostFolder>\Orvane.ini", built afresh on every call.
std::string HostSettingsPath();
// "<HostFolder>\Orvane.dll".
std::string EngineFilePath();

// An ANSI path that names the same file or folder as `path`: the path itself
// when the ANSI code page holds it, else its short form when that is held,
// else the path with stand-ins (it names nothing, and the caller finds no file
// there). Windows may start the program by either form, so neither is preferred
// for its own sake.
std::string AnsiPathOf(const std::wstring& path);

}  // namespace orvane::host
