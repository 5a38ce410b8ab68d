// The ply stacks hold the moves since the position was set up. A long move
// list would outgrow them, so its replay forgets the oldest plies.
#pragma once
#include "board/engine.h"

// A replay at this ply leaves the search room for its own plies (height and
// principal-variation walk) on top.
constexpr int HISTORY_PLY_LIMIT = MAX_PLY_STACK - 2 * MAX_HEIGHT;
// Plies forgotten at a time; even, so that every entry keeps its side to move.
constexpr int HISTORY_PLY_DROP = 256;
static_assert(HISTORY_PLY_DROP % 2 == 0 && HISTORY_PLY_DROP < HISTORY_PLY_LIMIT);

// Forgets the oldest HISTORY_PLY_DROP plies of the move, key, check,
// repetition and unmake stacks. Repetitions reaching back further are no
// longer seen, and the book, whose records are tied to the ply count, is off
// from here on.
void forget_oldest_plies(Count& e);
