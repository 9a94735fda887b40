// The Linux program's command line. Input: the arguments, each ended by a NUL.
// Checks: a reading that succeeds names only what the arguments said (the music
// file is one of them, or what follows "music=" in one; a window id wins over
// --root and reads back the same from its decimal form), and a refusal says why.
#include "fuzz/fuzz_check.h"
#include "linux/options.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace orvane::linux_program;

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments;
  std::string current;
  for (std::size_t n = 0; n < size; ++n) {
    if (data[n] == 0) {
      arguments.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(data[n]);
    }
  }
  if (!current.empty()) arguments.push_back(current);

  const ProgramArguments read = ReadProgramArguments(arguments);
  if (!read.Ok()) {
    FUZZ_CHECK(read.Why().size() > 0);
    return 0;
  }
  const ProgramOptions& o = *read;
  if (!o.musicFile.empty()) {
    bool named = false;
    for (std::size_t n = 0; n < arguments.size() && !named; ++n)
      named = arguments[n] == o.musicFile || EndsWith(arguments[n], "music=" + o.musicFile);
    FUZZ_CHECK(named);
    FUZZ_CHECK(o.musicFile.find('\0') == std::string::npos);
  }
  FUZZ_CHECK((o.mode == WindowMode::WindowId) == (o.windowId != 0));
  if (o.mode == WindowMode::WindowId) {
    const auto again = ParseWindowId(std::to_string(o.windowId));
    FUZZ_CHECK(again && *again == o.windowId);
  }
  return 0;
}
