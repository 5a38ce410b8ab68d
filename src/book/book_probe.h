// Book move selection from the opening book.
#pragma once
#include "board/engine.h"

// Probes the book for the current position after a set-up or an applied move,
// keeping the miss counter up to date. Returns the probe's result.
int refresh_book_candidates(Count& e);

// Asks the opening book for a move in the current position: 1 when it chose
// one (in `out` and best_line), 0 when not, -1 when the engine is not ready.
int book_probe(Count& e, move_t& out);
