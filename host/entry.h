#pragma once
// Start-up of Orvane.scr: the screensaver arguments and the choice of role.
// Pure; the platform is reached through EntryPort.
#include "common/settings.h"
#include "host/show_role.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::host {

// Whether two spellings of a path name the same file, as the file system
// compares names (case does not count).
using SamePathSpelling = std::function<bool(std::string_view, std::string_view)>;

// True when the two texts differ at most in the case of ASCII letters.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// The command line (UTF-8) without the program's own path (quoted or not) and
// the blanks after it: "Orvane.scr /p 1234" gives "/p 1234".
//
// `ownPaths` are the spellings of the program's own path (the long and the
// short form): one of them at the start of the line, quoted or followed by a
// blank or the end, is the program's path even when it holds blanks, as a
// stored long path without 8.3 names does. Otherwise the path is the first
// quoted text or the first word.
std::string ArgumentText(std::string_view commandLine,
                         const std::vector<std::string>& ownPaths = {},
                         const SamePathSpelling& samePath = SameIgnoringAsciiCase);

// Character 2 of the upper-cased argument text; empty when there is none.
// Character 1 is never looked at, so "/s", "-s" and "xs" are the same.
std::string ModeLetter(std::string_view argumentText);

// The preview area's window handle: the text from character 4 on, read
// leniently and rounded. 0 when there is none or it does not fit 32 bits.
std::uint32_t PreviewParentHandle(std::string_view argumentText);

class EntryPort {
 public:
  virtual ~EntryPort() = default;
  virtual bool WindowExists(std::string_view title) = 0;
  // Shows the preview inside the given window; false when it is no window.
  virtual bool ShowPreview(std::uint32_t parentHandle) = 0;
  virtual common::Settings ReadSettings() = 0;
  virtual bool EngineFileExists() = 0;
  virtual void ShowMissingEngineMessage() = 0;  // returns when the user closed it
  // Modal; the dialog edits and saves `settings`.
  virtual void ShowSettingsDialog(common::Settings& settings) = 0;
  virtual void HideCursor() = 0;
  // Starts the show with the settings in its role. False when the saver
  // window could not be made: nothing would ever end the program.
  virtual bool StartShow(const common::Settings& settings, ShowRole role) = 0;
};

enum class EntryResult {
  EndNow,         // end the process at once
  RunWindowLoop,  // serve the loaded window until it ends the program
};

EntryResult RunEntry(std::string_view argumentText, EntryPort& port);

}  // namespace orvane::host
