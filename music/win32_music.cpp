// winmm behind the music ports: MCI command strings and waveform sound,
// through the ANSI entry points.
#include "music/win32_music.h"

#include "music/music.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

class WinMci final : public MciPort {
 public:
  std::int32_t sendString(const std::string& command, char* reply,
                          std::uint32_t replyLength) override {
    return static_cast<std::int32_t>(mciSendStringA(command.c_str(), reply, replyLength, nullptr));
  }
  bool errorString(std::int32_t code, char* text, std::uint32_t textLength) override {
    return mciGetErrorStringA(static_cast<MCIERROR>(code), text, textLength) != FALSE;
  }
};

class WinSound final : public SoundPort {
 public:
  std::uint32_t waveOutDeviceCount() override { return waveOutGetNumDevs(); }
  void playSound(const char* sound, std::uint32_t flags) override {
    PlaySoundA(sound, nullptr, flags);
  }
};

}  // namespace

void MusicAttachPlatform() {
  static WinMci mci;
  static WinSound sound;
  MusicAttach(&mci, &sound);
}
