// Book move selection from the opening book.
#pragma once
#include "board/engine.h"

// Probes the book for the current position after a set-up or an applied move,
// keeping the miss counter up to date. Returns the probe's result.
int refresh_book_candidates(Count& e);
