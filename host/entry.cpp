#include "host/entry.h"

#include "common/conversions.h"
#include "common/names.h"

#include <cmath>

namespace orvane::host {

using common::Settings;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Bytes of the UTF-8 character that starts at byte `at`.
std::size_t CharLength(std::string_view text, std::size_t at) {
  std::size_t end = at + 1;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  return end - at;
}

// Byte offset of character n (counting from 0), or text.size().
std::size_t CharOffset(std::string_view text, std::size_t n) {
  std::size_t i = 0;
  for (; i < text.size() && n > 0; --n) i += CharLength(text, i);
  return i;
}

// Where the program's own path, spelt one of the given ways, ends when it
// starts at byte `at`: after its closing quote, or before a blank or the end
// of the line. npos when none of them stands there.
std::size_t EndOfOwnPath(std::string_view line, std::size_t at,
                         const std::vector<std::string>& ownPaths,
                         const SamePathSpelling& samePath) {
  const bool quoted = at < line.size() && line[at] == '"';
  const std::size_t from = quoted ? at + 1 : at;
  std::size_t best = std::string_view::npos;
  std::size_t bestLength = 0;
  for (const std::string& path : ownPaths) {
    // The longest spelling that stands there wins.
    if (path.empty() || path.size() < bestLength || from + path.size() > line.size()) continue;
    if (!samePath(line.substr(from, path.size()), path)) continue;
    const std::size_t after = from + path.size();
    const bool closed = quoted ? after < line.size() && line[after] == '"'
                               : after == line.size() || IsBlank(line[after]);
    if (!closed) continue;
    best = quoted ? after + 1 : after;
    bestLength = path.size();
  }
  return best;
}

}  // namespace

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

std::string ArgumentText(std::string_view commandLine, const std::vector<std::string>& ownPaths,
                         const SamePathSpelling& samePath) {
  std::size_t i = 0;
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  if (std::size_t end = EndOfOwnPath(commandLine, i, ownPaths, samePath);
      end != std::string_view::npos) {
    i = end;
  } else if (i < commandLine.size() && commandLine[i] == '"') {
    std::size_t close = commandLine.find('"', i + 1);
    i = close == std::string_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
  }
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  return std::string(commandLine.substr(i));
}

std::string ModeLetter(std::string_view argumentText) {
  std::size_t at = CharOffset(argumentText, 1);
  if (at >= argumentText.size()) return std::string();
  std::string letter(argumentText.substr(at, CharLength(argumentText, at)));
  if (letter.size() == 1) letter[0] = AsciiUpper(letter[0]);
  return letter;
}

std::uint32_t PreviewParentHandle(std::string_view argumentText) {
  std::size_t at = CharOffset(argumentText, 3);
  double value = common::RoundHalfEven(common::LenientNumber(argumentText.substr(at)));
  // Handles are 32-bit values; accept them written signed or unsigned.
  if (!std::isfinite(value) || value < -2147483648.0 || value > 4294967295.0) return 0;
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
}

EntryResult RunEntry(std::string_view argumentText, EntryPort& port) {
  // A running show or an open dialog: both look-ups are always made.
  bool showRunning = port.WindowExists(common::kShowWindowTitle);
  bool dialogOpen = port.WindowExists(common::kDialogTitle);
  if (showRunning || dialogOpen) return EntryResult::EndNow;

  const std::string letter = ModeLetter(argumentText);
  if (letter == "P") {
    // Neither the settings nor the engine are needed for the still picture.
    return port.ShowPreview(PreviewParentHandle(argumentText)) ? EntryResult::RunWindowLoop
                                                               : EntryResult::EndNow;
  }

  Settings settings = port.ReadSettings();
  if (!port.EngineFileExists()) {
    port.ShowMissingEngineMessage();
    return EntryResult::EndNow;
  }
  if (letter == "C") {
    port.ShowSettingsDialog(settings);
    return EntryResult::EndNow;
  }
  if (letter != "S" && !argumentText.empty()) return EntryResult::EndNow;
  if (letter == "S") port.HideCursor();
  const ShowRole role = letter == "S" ? ShowRole::ScreenSaver : ShowRole::WithoutArguments;
  return port.StartShow(settings, role) ? EntryResult::RunWindowLoop : EntryResult::EndNow;
}

}  // namespace orvane::host
