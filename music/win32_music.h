// The Windows back end of the music ports (winmm). Free of <windows.h>.
#pragma once

#include "music/music.h"

namespace orvane::music {

// MCI command strings through mciSendStringA.
class Win32Mci final : public MciPort {
 public:
  std::int32_t SendString(const std::string& command, char* reply,
                          std::uint32_t replyLength) override;
  bool ErrorString(std::int32_t code, char* text, std::uint32_t textLength) override;
};

// Waveform sound through PlaySoundA.
class Win32Sound final : public SoundPort {
 public:
  std::uint32_t WaveOutDeviceCount() override;
  void PlayWave(const char* sound, std::uint32_t flags) override;
};

// Both ports of this machine, for one Music object.
struct Win32MusicDevices {
  Win32Mci mci;
  Win32Sound sound;
};

}  // namespace orvane::music
