// The music of the Linux program: one sound file played over and over through
// GStreamer's playbin, on a thread of its own, so that nothing the sound does
// (start-up, decoding, a slow or missing sound server) ever delays a frame.
#pragma once

#include <memory>
#include <string>

namespace orvane::music {

class GstMusicPlayer {
 public:
  // Starts at once and returns at once. Whatever goes wrong (no such file, a
  // directory, a file that does not decode, no sound server) is one line on
  // stderr, and the player then stays silent.
  explicit GstMusicPlayer(std::string path);
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
