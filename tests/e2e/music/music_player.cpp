// Plays a music file through the music module the way the saver does, for the
// sound scenarios: the WAV loops by itself, the MP3 gets the 1000 ms
// keep-alive from a window timer.
//
//   music_player wav FILE PLAY_MS TAIL_MS   WavPlay, wait, WavStop, stay TAIL_MS
//   music_player mp3 FILE PLAY_MS TAIL_MS   Mp3Open + keep-alive, Mp3Close, stay TAIL_MS
//   music_player devices                    prints the number of wave output devices
//
// Prints one line per keep-alive restart ("restart <ms since open>") and exits 0.
#include "music/music.h"
#include "music/win32_music.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace orvane::music;

namespace {

void PumpFor(Music& music, DWORD ms, DWORD startedAt) {
  const DWORD end = GetTickCount() + ms;
  for (;;) {
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(end - now) <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER) {
        if (music.Mp3KeepAlive()) {
          std::printf("restart %lu\n", static_cast<unsigned long>(GetTickCount() - startedAt));
          std::fflush(stdout);
        }
      }
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Win32MusicDevices devices;
  Music music(devices.mci, devices.sound);
  if (argc == 2 && std::strcmp(argv[1], "devices") == 0) {
    std::printf("%u\n", waveOutGetNumDevs());
    return 0;
  }
  if (argc != 5) {
    std::fprintf(stderr, "usage: music_player wav|mp3 FILE PLAY_MS TAIL_MS\n");
    return 2;
  }
  const std::string kind = argv[1];
  const std::string file = argv[2];
  const DWORD playMs = static_cast<DWORD>(std::atol(argv[3]));
  const DWORD tailMs = static_cast<DWORD>(std::atol(argv[4]));
  const DWORD startedAt = GetTickCount();

  if (kind == "wav") {
    music.WavPlay(file);
    Sleep(playMs);  // no timer: the platform loops the sound
    music.WavStop();
  } else if (kind == "mp3") {
    music.Mp3Open(file);
    std::printf("open %s\n", music.Mp3IsPlaying() ? "playing" : "not playing");
    std::fflush(stdout);
    const UINT_PTR timer = SetTimer(nullptr, 0, 1000, nullptr);
    PumpFor(music, playMs, startedAt);
    KillTimer(nullptr, timer);
    music.Mp3Close();
  } else {
    return 2;
  }
  std::printf("stopped %lu\n", static_cast<unsigned long>(GetTickCount() - startedAt));
  std::fflush(stdout);
  Sleep(tailMs);
  return 0;
}
