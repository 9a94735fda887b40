// Music-file playback: WAV loops in the platform, MP3 is restarted by a
// once-a-second keep-alive whenever it is no longer playing.
#include "music/music.h"

#include <cstring>

namespace orvane::music {

void Music::WavPlay(const std::string& musicFile) {
  if (sound_.WaveOutDeviceCount() == 0) {
    return;
  }
  // SND_FILENAME | SND_NODEFAULT: a file that cannot be played stays silent
  // instead of looping the system's default sound through the whole show.
  sound_.PlayWave(musicFile.c_str(), kSndAsync | kSndLoop | kSndFilename | kSndNoDefault);
}

void Music::WavStop() { sound_.PlayWave(nullptr, 0); }

void Music::Mp3Open(const std::string& musicFile) {
  // Quoted, so that paths with blanks open.
  const std::string open = "open \"" + musicFile + "\" type MPEGVideo Alias " + kMp3Alias;
  if (MciExec(open) == 0) {
    MciExec(std::string("play ") + kMp3Alias);
  }
}

bool Music::Mp3IsPlaying() {
  // The buffer is not cleared: a failed query leaves the previous mode.
  mci_.SendString(std::string("status ") + kMp3Alias + " mode", mp3ModeBuffer_, kMp3ModeLength);
  return std::strncmp(mp3ModeBuffer_, "playing", 7) == 0;
}

bool Music::Mp3KeepAlive() {
  if (Mp3IsPlaying()) {
    return false;
  }
  // Stopped at the end, paused, or anything else: start again from the top.
  MciExec(std::string("stop ") + kMp3Alias);
  MciExec(std::string("play ") + kMp3Alias + " from 0");
  return true;
}

void Music::Mp3Close() {
  MciExec(std::string("stop ") + kMp3Alias);
  MciExec(std::string("close ") + kMp3Alias);
}

}  // namespace orvane::music
