#pragma once
// Where the host finds its files: beside the running program, named by the
// UTF-16 path the system gives, so a folder the code page cannot spell (and a
// volume without 8.3 names) still holds them.
#include <string>

namespace orvane::host {

// The running program's path as the system reports it.
std::wstring ModulePath();
// The folder part of `path`, without a trailing backslash.
std::wstring FolderOf(const std::wstring& path);
// The folder of the running program.
std::wstring HostFolder();
// "<folder>\Orvane.ini" in UTF-8, the name the settings store takes;
// built afresh on every call.
std::string SettingsPathIn(const std::wstring& folder);
std::string HostSettingsPath();
// "<folder>\Orvane.dll".
std::wstring EnginePathIn(const std::wstring& folder);
std::wstring EngineFilePath();

}  // namespace orvane::host
