#include "dialog/music_choice.h"

#include "common/conversions.h"
#include "common/settings.h"

namespace orvane::dialog {

using common::IniStore;
using common::SaveResult;
using common::SaveSettings;
using common::Settings;

namespace {

constexpr int kRepeatListLast = 30;

}  // namespace

int NextModeOnScreen(int mode, bool down) {
  for (int i = 0; i < kModeCount; ++i) {
    if (kModesOnScreen[i] != mode) continue;
    return kModesOnScreen[(i + (down ? 1 : kModeCount - 1)) % kModeCount];
  }
  return kModesOnScreen[down ? 0 : kModeCount - 1];
}

ModeLook LookForMode(int mode) {
  switch (mode) {
    case kModeNone:
      return {0, false, false};
    case kModeCd:
      return {1, true, false};
    case kModeFile:
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
  SaveResult saved = SaveSettings(store, settingsFile, settings);
  if (!saved.saved) return {SaveOutcome::kWriteFailed, std::move(saved.failedFile)};
  return {SaveOutcome::kSaved, {}};
}

}  // namespace orvane::dialog
