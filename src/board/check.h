// Attack and check detection.
#pragma once
#include "board/engine.h"

constexpr int CHECK_NONE = 0;
constexpr int CHECK_KINGS_FACING = 1;
constexpr int CHECK_KING_MISSING = -1;

// Check code of `side`'s king: -1 missing, 0 none, 1 kings facing, 4 rook,
// 7 horse, 8 cannon, 13 pawn.
int in_check(Count& e, int side);

// 0 when the move is not a capture or nothing of the victim's side attacks the
// destination once the move is played; otherwise the code of one such attacker.
int capture_defended(Count& e, const move_t& m);
