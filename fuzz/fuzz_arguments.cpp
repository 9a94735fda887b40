// The screensaver arguments: the argument text, the role letter, the preview
// handle, and the role chosen over a port whose answers come from the input.
//
// Input: FLAGS HANDLE[4] COMMAND-LINE. FLAGS bits: 1 a show runs, 2 a dialog is
// open, 4 the preview window can be made, 8 the engine file is there, 16 the
// saver window can be made. HANDLE is a 32-bit value written into a "/p" line,
// and where the program's own path ends in the command line.
#include "common/names.h"
#include "fuzz/fuzz_check.h"
#include "host/entry.h"
#include "tests/fakes/fake_entry_port.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

using namespace orvane::common;
using namespace orvane::host;
using orvane::fakes::FakeEntryPort;

namespace {

bool SameSettings(const Settings& a, const Settings& b) {
  return a.musicMode == b.musicMode && a.repeatTrack == b.repeatTrack && a.musicFile == b.musicFile;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The platform's UTF-16 command line always converts to valid UTF-8; the rules
// that speak of characters are checked only on such text.
bool ValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = text[i];
    const std::size_t n = c < 0x80         ? 1
                          : (c >> 5) == 6  ? 2
                          : (c >> 4) == 14 ? 3
                          : (c >> 3) == 30 ? 4
                                           : 0;
    if (n == 0 || i + n > text.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

void CheckRole(std::string_view args, unsigned flags, std::uint32_t handle) {
  FakeEntryPort port;
  if (flags & 1) port.windows.insert(kShowWindowTitle);
  if (flags & 2) port.windows.insert(kDialogTitle);
  port.previewParentIsWindow = flags & 4;
  port.engineFile = flags & 8;
  port.saverWindowMade = flags & 16;
  port.loaded.musicMode = static_cast<orvane::common::MusicMode>(handle & 0xFFFF);
  port.loaded.repeatTrack = static_cast<std::int16_t>(handle >> 16);
  port.loaded.musicFile = std::string(args.substr(0, 8));
  const EntryResult result = RunEntry(args, port);
  const std::string letter = ModeLetter(args);
  const int lookups = port.Count("find"), previews = port.Count("preview"),
            loads = port.Count("settings"), engineChecks = port.Count("engine?"),
            messages = port.Count("message"), dialogs = port.Count("dialog"),
            cursors = port.Count("hide"), saverWindows = port.Count("saver");
  // Only the show's and the dialog's windows are looked for, and what the
  // settings read gave reaches the dialog and the show unchanged.
  for (const std::string& call : port.calls)
    if (call.rfind("find ", 0) == 0)
      FUZZ_CHECK(call == std::string("find ") + kShowWindowTitle ||
                 call == std::string("find ") + kDialogTitle);
  for (const Settings& given : port.settingsGiven) FUZZ_CHECK(SameSettings(given, port.loaded));
  // Both look-ups always; a running show or open dialog ends the start silently.
  FUZZ_CHECK(lookups == 2);
  FUZZ_CHECK(previews + dialogs + saverWindows <= 1);
  if (flags & 3) {
    FUZZ_CHECK(result == EntryResult::EndNow);
    FUZZ_CHECK(previews + loads + engineChecks + dialogs + cursors + saverWindows == 0);
    return;
  }
  if (letter == "P") {
    // The preview needs neither the settings nor the engine.
    FUZZ_CHECK(previews == 1 && loads == 0 && engineChecks == 0);
    FUZZ_CHECK(port.calls.back() == "preview " + std::to_string(PreviewParentHandle(args)));
    FUZZ_CHECK((result == EntryResult::RunWindowLoop) == ((flags & 4) != 0));
    return;
  }
  FUZZ_CHECK(previews == 0 && loads == 1 && engineChecks == 1);
  if (!(flags & 8)) {
    FUZZ_CHECK(messages == 1 && result == EntryResult::EndNow);
    FUZZ_CHECK(dialogs + cursors + saverWindows == 0);
    return;
  }
  FUZZ_CHECK(messages == 0);
  const bool show = letter == "S" || args.empty();
  FUZZ_CHECK(dialogs == (letter == "C" ? 1 : 0));
  FUZZ_CHECK(saverWindows == (show ? 1 : 0));
  FUZZ_CHECK(cursors == (letter == "S" ? 1 : 0));
  // The show is told its role: "S", or "" when started without arguments.
  if (show)
    FUZZ_CHECK(port.calls.back() == "saver " +
                                        std::to_string(static_cast<int>(port.loaded.musicMode)) +
                                        " role " + (letter == "S" ? "S" : ""));
  FUZZ_CHECK((result == EntryResult::RunWindowLoop) == (show && (flags & 16)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const unsigned flags = data[0];
  const std::uint32_t handle =
      data[1] | data[2] << 8 | data[3] << 16 | static_cast<std::uint32_t>(data[4]) << 24;
  const std::string_view commandLine(reinterpret_cast<const char*>(data + 5), size - 5);

  // The argument text is what follows the program's path and its blanks.
  const std::string args = ArgumentText(commandLine);
  FUZZ_CHECK(args.size() <= commandLine.size());
  FUZZ_CHECK(commandLine.substr(commandLine.size() - args.size()) == args);
  FUZZ_CHECK(args.empty() || !IsBlank(args[0]));

  // The role letter: one whole character, never a lower-case ASCII letter.
  const std::string letter = ModeLetter(args);
  if (!letter.empty() && ValidUtf8(args)) {
    FUZZ_CHECK(!(letter[0] >= 'a' && letter[0] <= 'z'));
    for (std::size_t i = 1; i < letter.size(); ++i)
      FUZZ_CHECK((static_cast<unsigned char>(letter[i]) & 0xC0) == 0x80);
  }
  std::string lower = args;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (ValidUtf8(args)) FUZZ_CHECK(ModeLetter(lower) == letter);

  PreviewParentHandle(args);
  CheckRole(args, flags, handle);

  // The program's own path, blanks and all, comes off whole however it is
  // written: unquoted, quoted, in upper case. HANDLE picks where it ends.
  const std::size_t cut = handle % (commandLine.size() + 1);
  const std::string ownPath(commandLine.substr(0, cut));
  std::string_view rest = commandLine.substr(cut);
  if (!ownPath.empty() && ownPath.find('"') == std::string::npos && !IsBlank(ownPath[0])) {
    while (!rest.empty() && IsBlank(rest[0])) rest.remove_prefix(1);
    std::string upper = ownPath;
    for (char& c : upper)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::vector<std::string> own = {ownPath};
    FUZZ_CHECK(ArgumentText(ownPath + " " + std::string(rest), own) == rest);
    FUZZ_CHECK(ArgumentText(upper + "\t" + std::string(rest), own) == rest);
    FUZZ_CHECK(ArgumentText("\"" + ownPath + "\"" + std::string(rest), own) == rest);
  }

  // Every handle the display settings can pass comes back exactly, whichever way
  // the program was started.
  const std::string line = "\"C:\\Saver\\Orvane.scr\" /p " + std::to_string(handle);
  const std::string previewArgs = ArgumentText(line);
  FUZZ_CHECK(ModeLetter(previewArgs) == "P");
  FUZZ_CHECK(PreviewParentHandle(previewArgs) == handle);
  FUZZ_CHECK(PreviewParentHandle("-P " + std::to_string(static_cast<std::int32_t>(handle))) ==
             handle);
  CheckRole(previewArgs, flags & ~3u, handle);
  // The handle is read as a decimal number only: hexadecimal and octal forms give 0.
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", handle);
  FUZZ_CHECK(PreviewParentHandle(std::string("/p &H") + hex) == 0);
  FUZZ_CHECK(PreviewParentHandle(std::string("/p &O") + std::to_string(handle % 8)) == 0);
  return 0;
}
