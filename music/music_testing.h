#pragma once
// State of the music that only its tests read.
#include "music/music.h"

namespace orvane::music {

struct MusicTesting {
  // What the last CD poll answered (false before the first).
  static bool KeepPolling(const Music& music) { return music.keepPolling_; }
};

}  // namespace orvane::music
