#include "host/saver_show.h"

#include <cctype>
#include <utility>

namespace orvane::host {

using common::MusicMode;
using common::Settings;
using music::MciPort;
using music::SoundPort;

MusicFileKind KindOfMusicFile(const std::string& musicFile) {
  if (musicFile.size() < 3) return MusicFileKind::None;
  std::string ending = musicFile.substr(musicFile.size() - 3);
  for (char& c : ending) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (ending == "WAV") return MusicFileKind::Wav;
  if (ending == "MP3") return MusicFileKind::Mp3;
  return MusicFileKind::None;
}

SaverShow::SaverShow(ShowPort& port, MciPort& mci, SoundPort& sound, const Settings& settings,
                     ShowRole role)
    : port_(port), music_(mci, sound), settings_(settings), role_(role) {}

void SaverShow::SetTimer(ShowTimer timer, bool enabled) {
  bool& state = timer == ShowTimer::Mp3KeepAlive ? timer1_
                : timer == ShowTimer::CdPoll     ? timer2_
                                                 : timer3_;
  // Switching on a timer that runs would start its period afresh: the CD poll
  // would come every 200 ms plus the poll's own time.
  if (state == enabled) return;
  state = enabled;
  port_.EnableTimer(timer, enabled);
}

void SaverShow::Load() {
  loadedAtMs_ = port_.NowMs();
  engineStarted_ = port_.StartEngine();
  if (settings_.musicMode == MusicMode::Cd) {
    music_.CdOpen();
    SetTimer(ShowTimer::CdPoll, true);
  }
  if (settings_.musicMode == MusicMode::File) {
    switch (KindOfMusicFile(settings_.musicFile)) {
      case MusicFileKind::Wav:
        music_.WavPlay(settings_.musicFile);
        break;
      case MusicFileKind::Mp3:
        music_.Mp3Open(settings_.musicFile);
        SetTimer(ShowTimer::Mp3KeepAlive, true);
        break;
      case MusicFileKind::None:
        break;
    }
  }
}

void SaverShow::EngineWatchTick() {
  if (port_.EngineWindowExists()) {
    engineWindowSeen_ = true;
    return;
  }
  // The engine needs a while to open its window; until it has been seen, the
  // show only ends when the engine is gone or far too slow.
  if (!engineWindowSeen_ && engineStarted_ && port_.EngineRunning() &&
      port_.NowMs() - loadedAtMs_ < kEngineStartGraceMs) {
    return;
  }
  SetTimer(ShowTimer::EngineWatch, false);
  UnloadRequest();
}

void SaverShow::CdPollTick() { SetTimer(ShowTimer::CdPoll, music_.CdPoll(settings_.repeatTrack)); }

void SaverShow::Mp3KeepAliveTick() { music_.Mp3KeepAlive(); }

void SaverShow::UnloadRequest() {
  if (timer2_) {
    SetTimer(ShowTimer::CdPoll, false);
    music_.CdClose();
  }
  if (settings_.musicMode == MusicMode::File) {
    switch (KindOfMusicFile(settings_.musicFile)) {
      case MusicFileKind::Wav:
        music_.WavStop();
        break;
      case MusicFileKind::Mp3:
        music_.Mp3Close();
        break;
      case MusicFileKind::None:
        break;
    }
  }
  if (role_ == ShowRole::ScreenSaver) port_.ShowCursor();
  port_.EndProgram();
}

}  // namespace orvane::host
