// The music of the Linux program: one sound file played over and over through
// GStreamer's playbin, on a thread of its own, so that nothing the sound does
// (start-up, decoding, a slow or missing sound server) ever delays a frame.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace orvane::music {

class GstMusicPlayer {
 public:
  // Starts at once and returns at once. Whatever goes wrong (no such file, a
  // directory, a file that does not decode, no sound server) is one line given
  // to `report`, the program's reporter, from the player's thread; the player
  // then stays silent.
  GstMusicPlayer(std::string path, std::function<void(const std::string& line)> report);
  ~GstMusicPlayer();
  GstMusicPlayer(const GstMusicPlayer&) = delete;
  GstMusicPlayer& operator=(const GstMusicPlayer&) = delete;

  // Silences the sound and closes its stream; returns when both are done.
  void Stop();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace orvane::music
