#pragma once
// State of the show that only its tests read: the platform learns of the
// timers through ShowPort::EnableTimer.
#include "host/saver_show.h"

struct SaverShowTesting {
  static bool TimerEnabled(const SaverShow& show, ShowTimer timer) {
    switch (timer) {
      case ShowTimer::Timer1:
        return show.timer1_;
      case ShowTimer::Timer2:
        return show.timer2_;
      case ShowTimer::Timer3:
        return show.timer3_;
    }
    return false;
  }
};
