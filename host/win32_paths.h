#pragma once
// Where the host finds its files: beside the running program.
#include <string>

// The folder of the running program, without a trailing backslash.
std::string HostFolder();
// "<HostFolder>\Orvane.ini", built afresh on every call.
std::string SettingsFilePath();
// "<HostFolder>\Orvane.dll".
std::string EngineFilePath();
