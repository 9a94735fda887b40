#pragma once
// The process's command line in UTF-8, for the pure host code.
#include <string>

std::string CommandLineUtf8();
