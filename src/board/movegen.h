// Pseudo-legal move generation into the move list of one ply. Moves that leave
// the own king attacked are listed; the king-capture rule refutes them a ply later.
#pragma once
#include "board/engine.h"

// Each generator writes the list of `ply` (0..61) from ply_moves[ply] on and
// leaves move_end, ply_moves[ply + 1] and ply_moves[ply + 2] just past its last
// move; an empty list leaves a zeroed record at its start. A capture of the
// opponent's king (facing kings included) becomes the whole list of
// generate_moves and generate_captures.

// Every pseudo-legal move (quiet moves and captures).
void generate_moves(Count& e, int side, int ply);
// Captures only.
void generate_captures(Count& e, int side, int ply);
// The quiet moves the quiescence search tries after the captures.
void generate_quiet_moves(Count& e, int side, int ply);
