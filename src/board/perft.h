// Counting legal move paths: the yardstick for move generation, make/unmake
// and check detection.
#pragma once
#include <cstdint>

#include "board/engine.h"

// Legal move paths of `depth` (>= 1) plies with `side` to move, using the move
// lists of `ply` and above. A move is legal when the mover's king is not
// attacked after it (facing kings included).
uint64_t perft(Count& e, int side, int depth, int ply);

