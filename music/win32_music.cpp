// winmm behind the music ports: MCI command strings and waveform sound,
// through the ANSI entry points.
#include "music/win32_music.h"

#include <windows.h>

#include <mmsystem.h>

namespace orvane::music {

std::int32_t Win32Mci::SendString(const std::string& command, char* reply,
                                  std::uint32_t replyLength) {
  return static_cast<std::int32_t>(mciSendStringA(command.c_str(), reply, replyLength, nullptr));
}

bool Win32Mci::ErrorString(std::int32_t code, char* text, std::uint32_t textLength) {
  return mciGetErrorStringA(static_cast<MCIERROR>(code), text, textLength) != FALSE;
}

std::uint32_t Win32Sound::WaveOutDeviceCount() { return waveOutGetNumDevs(); }

void Win32Sound::PlayWave(const char* sound, std::uint32_t flags) {
  PlaySoundA(sound, nullptr, flags);
}

}  // namespace orvane::music
