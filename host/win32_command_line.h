#pragma once
// The process's command line in UTF-8, for the pure host code.
#include <string>

namespace orvane::host {

std::string CommandLineUtf8();

}  // namespace orvane::host
