#pragma once
// One run of the show as the host sees it: start the engine and the music,
// follow the engine's window, stop the music and end when it has gone.
// Pure; the hidden saver window drives it and supplies the platform. The show
// owns the music it plays.
#include "common/settings.h"
#include "host/show_role.h"
#include "music/music.h"

#include <cstdint>
#include <string>

namespace orvane::host {

// The show's three timers (Timer1, Timer2 and Timer3 in the unit test's call log).
enum class ShowTimer { Mp3KeepAlive, CdPoll, EngineWatch };

inline constexpr std::uint32_t kMp3KeepAliveMs = 1000;  // restarts the MP3 when it ended
inline constexpr std::uint32_t kCdPollMs = 200;         // follows the audio CD
inline constexpr std::uint32_t kEngineWatchMs = 50;     // watches the engine's window
// How long the engine may take to open its window before the show gives up.
inline constexpr std::uint32_t kEngineStartGraceMs = 10000;

class ShowPort {
 public:
  virtual ~ShowPort() = default;
  // Starts Orvane.dll from the host's folder; false when it could not start.
  virtual bool StartEngine() = 0;
  // False once the started engine process has ended.
  virtual bool EngineRunning() = 0;
  // A top-level window titled "OrvaneVC" exists.
  virtual bool EngineWindowExists() = 0;
  virtual std::uint32_t NowMs() = 0;
  virtual void EnableTimer(ShowTimer timer, bool enabled) = 0;
  virtual void ShowCursor() = 0;
  virtual void EndProgram() = 0;
};

enum class MusicFileKind { None, Wav, Mp3 };

// By the last three characters of the path, in any case: "WAV" or "MP3".
MusicFileKind KindOfMusicFile(const std::string& musicFile);

class SaverShow {
 public:
  SaverShow(ShowPort& port, music::MciPort& mci, music::SoundPort& sound,
            const common::Settings& settings, ShowRole role);

  void Load();
  void Mp3KeepAliveTick();
  void CdPollTick();
  void EngineWatchTick();
  // Stops the music, shows the pointer again for the screen saver and ends the
  // program. Runs for the engine's end and for Windows closing the program.
  void UnloadRequest();

 private:
  friend struct SaverShowTesting;

  void SetTimer(ShowTimer timer, bool enabled);

  ShowPort& port_;
  music::Music music_;
  common::Settings settings_;
  ShowRole role_;
  bool timer1_ = false;
  bool timer2_ = false;
  bool timer3_ = true;
  bool engineStarted_ = false;
  bool engineWindowSeen_ = false;
  std::uint32_t loadedAtMs_ = 0;
};

}  // namespace orvane::host
