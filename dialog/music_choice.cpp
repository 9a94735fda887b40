#include "dialog/music_choice.h"

#include "common/conversions.h"
#include "common/settings.h"

namespace orvane::dialog {

using common::IniStore;
using common::MusicMode;
using common::SaveSettings;
using common::Settings;

namespace {

constexpr int kRepeatListLast = 30;

}  // namespace

MusicMode NextModeOnScreen(MusicMode mode, bool down) {
  for (int i = 0; i < kModeCount; ++i) {
    if (kModesOnScreen[i] != mode) continue;
    return kModesOnScreen[(i + (down ? 1 : kModeCount - 1)) % kModeCount];
  }
  return kModesOnScreen[down ? 0 : kModeCount - 1];
}

ModeLook LookForMode(MusicMode mode) {
  switch (mode) {
    case MusicMode::None:
      return {0, false, false};
    case MusicMode::Cd:
      return {1, true, false};
    case MusicMode::File:
      return {2, false, true};
    default:
      return {-1, false, false};
  }
}

std::string RepeatBoxText(int16_t track) { return common::NumberTextOrEmpty(track); }

std::vector<std::string> RepeatBoxList() {
  std::vector<std::string> list;
  for (int n = 0; n <= kRepeatListLast; ++n) list.push_back(common::NumberTextOrEmpty(n));
  return list;
}

RepeatReading ReadRepeatText(std::string_view text) {
  const std::optional<double> number = common::ParseNumber(text);
  if (!number) return {true, 0};
  const std::optional<int16_t> track = common::ToInt16(common::RoundHalfEven(*number));
  if (!track) return {false, 0};
  return {true, *track};
}

SaveOutcome SaveMusicChoice(Settings& settings, std::string_view repeatText, IniStore& store,
                            const std::function<std::string()>& settingsFile) {
  const RepeatReading repeat = ReadRepeatText(repeatText);
  if (!repeat.inRange) return {SaveOutcome::kRepeatOutOfRange, {}};
  settings.repeatTrack = repeat.track;
  const common::Result<void> saved = SaveSettings(store, settingsFile, settings);
  if (!saved) return {SaveOutcome::kWriteFailed, saved.Why()};
  return {SaveOutcome::kSaved, {}};
}

}  // namespace orvane::dialog
