// Time control while a search runs; the input is read through the front
// end's poll (ucci/input_poll.h).
#pragma once
#include "board/engine.h"

constexpr int POLL_INTERVAL = 1024;  // nodes between time checks

// Polls input, then decides whether the search must stop; sets stop_flag when it must.
bool time_check(Count& e);

// Node trigger used by every search node: decrements the countdown and runs
// the check when it runs out. True when the search must stop.
inline bool poll_due_and_stop(Count& e) {
    if (--e.poll_countdown > 0) return false;
    return time_check(e);
}
