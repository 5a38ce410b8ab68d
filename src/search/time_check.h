// Time control and the reading of input while a search runs.
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

// Reads the lines waiting on standard input. "stop" ends the search,
// "isready" is answered at once, "quit" ends the search and is remembered,
// "ponderhit" turns a ponder search into a timed one; every other line is
// kept for the command loop, or dropped with a message on stderr when no more
// can be kept.
void poll_input(Count& e);
