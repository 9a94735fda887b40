// Music-file playback: WAV loops in the platform, MP3 is restarted by a
// once-a-second keep-alive whenever it is no longer playing.
#include "music/music_internal.h"

#include <cstring>

void WavPlay(const std::string& musicFile) {
  SoundPort* sound = Bgm().sound;
  if (sound == nullptr || sound->waveOutDeviceCount() == 0) {
    return;
  }
  // SND_FILENAME | SND_NODEFAULT: a file that cannot be played stays silent
  // instead of looping the system's default sound through the whole show.
  sound->playSound(musicFile.c_str(), kSndAsync | kSndLoop | kSndFilename | kSndNoDefault);
}

void WavStop() {
  if (SoundPort* sound = Bgm().sound) {
    sound->playSound(nullptr, 0);
  }
}

void Mp3Open(const std::string& musicFile) {
  // Quoted, so that paths with blanks open.
  const std::string open = "open \"" + musicFile + "\" type MPEGVideo Alias " + kMp3Alias;
  if (MciExec(open) == 0) {
    MciExec(std::string("play ") + kMp3Alias);
  }
}

bool Mp3IsPlaying() {
  // The buffer is not cleared: a failed query leaves the previous mode.
  char* mode = Bgm().mp3ModeBuffer;
  AttachedMci().sendString(std::string("status ") + kMp3Alias + " mode", mode, kMp3ModeLength);
  return std::strncmp(mode, "playing", 7) == 0;
}

void Mp3KeepAlive() {
  if (Mp3IsPlaying()) {
    return;
  }
  // Stopped at the end, paused, or anything else: start again from the top.
  MciExec(std::string("stop ") + kMp3Alias);
  MciExec(std::string("play ") + kMp3Alias + " from 0");
}

void Mp3Close() {
  MciExec(std::string("stop ") + kMp3Alias);
  MciExec(std::string("close ") + kMp3Alias);
}
