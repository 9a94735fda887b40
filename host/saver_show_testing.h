#pragma once
// State of the show that only its tests read: the platform learns of the
// timers through ShowPort::EnableTimer.
#include "host/saver_show.h"

namespace orvane::host {

struct SaverShowTesting {
  static bool TimerEnabled(const SaverShow& show, ShowTimer timer) {
    switch (timer) {
      case ShowTimer::Mp3KeepAlive:
        return show.timer1_;
      case ShowTimer::CdPoll:
        return show.timer2_;
      case ShowTimer::EngineWatch:
        return show.timer3_;
    }
    return false;
  }
};

}  // namespace orvane::host
