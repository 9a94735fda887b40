#pragma once
// What the settings dialog does with the music choice, apart from any window:
// the enabled states per mode, the repeat box texts and the save sequence.
#include "common/settings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::dialog {

constexpr int kModeCount = 3;

// The panel's places and texts are listed in the order of the modes' stored
// numbers: none, audio CD, music file.
constexpr int PanelIndexOf(common::MusicMode knownMode) { return static_cast<int>(knownMode); }
constexpr common::MusicMode ModeAtPanelIndex(int index) {
  return static_cast<common::MusicMode>(index);
}

// How ShowMusicMode leaves the controls for a mode.
struct ModeLook {
  int selectedIndicator;  // 0..2, or -1: no indicator shows "selected"
  bool repeatEnabled;     // the repeat box
  bool browseEnabled;     // the browse button ("...")
};
ModeLook LookForMode(common::MusicMode mode);

// The choices as they stand in the panel, top to bottom.
constexpr common::MusicMode kModesOnScreen[kModeCount] = {
    common::MusicMode::Cd, common::MusicMode::None, common::MusicMode::File};
// The mode the arrow keys move to from `mode`: the next choice down (or up), round at the
// ends; from a mode with no choice (a hand-edited file), the first (or last) one.
common::MusicMode NextModeOnScreen(common::MusicMode mode, bool down);

// The repeat box: its text for a track ("##": empty for 0) and its list.
std::string RepeatBoxText(int16_t track);
std::vector<std::string> RepeatBoxList();

// The repeat box text as the track to store: a number rounded halves to even,
// 0 for anything that is not a number (the empty text too). A number that a
// 16-bit track cannot hold is reported, not stored.
struct RepeatReading {
  bool inRange;
  int16_t track;  // 0 when not in range
};
RepeatReading ReadRepeatText(std::string_view text);

struct SaveOutcome {
  enum Kind { kSaved, kRepeatOutOfRange, kWriteFailed };
  Kind kind;
  std::string failedFile;  // kWriteFailed: the file that could not be written
};

// Saves the choice: the repeat box text is checked before the first write, so
// an unusable number leaves the file untouched; then settings.RepeatTrack takes
// the track and the settings are saved, stopping at the first failed write.
SaveOutcome SaveMusicChoice(common::Settings& settings, std::string_view repeatText,
                            common::IniStore& store,
                            const std::function<std::string()>& settingsFile);

}  // namespace orvane::dialog
