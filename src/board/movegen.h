// Pseudo-legal move generation into the move list of one ply. Moves that leave
// the own king attacked are listed; the king-capture rule refutes them a ply later.
#pragma once
#include "board/engine.h"

// Every pseudo-legal move (quiet moves and captures).
void generate_moves(Count& e, int side, int ply);
// Captures only.
void generate_captures(Count& e, int side, int ply);
// The quiet moves the quiescence search tries after the captures.
void generate_quiet_moves(Count& e, int side, int ply);
