// The front end's call point for the search: while a search runs, the
// search reads its input through this one function.
#pragma once
#include "board/engine.h"

// Reads the lines waiting on standard input. "stop" ends the search,
// "isready" is answered at once, "quit" ends the search and is remembered,
// "ponderhit" turns a ponder search into a timed one; every other line is
// kept for the command loop, or dropped with a message on stderr when no more
// can be kept.
void poll_input(Count& e);
