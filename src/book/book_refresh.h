// The book's call point for position set-up and for the moves of a position
// command: the one book operation the position layer may call.
#pragma once
#include "board/engine.h"

// Probes the book after a set-up or an applied move, keeping the miss counter
// up to date; returns the probe's result.
int refresh_book_candidates(Count& e);
