// Repetition rules: plain repetition, long chase and long check.
#pragma once
#include "board/engine.h"

constexpr int REPETITION_NONE = 0;
constexpr int REPETITION_DRAW = 1;
constexpr int REPETITION_LONG_CHASE = 2;
constexpr int REPETITION_LONG_CHECK = 3;

// May a root move whose repetition code is `r` be played, when the position at
// the root has the code `root`? A draw is allowed; a long chase or long check
// only as far as the root position already repeats.
inline bool repetition_forbidden(int r, int root) {
    return r >= 1 && ((root < 1 && r > 1) || (root >= 1 && r > root));
}

// Called right after `side` made the last move; leaves the board as it found it.
int check_repetition(Count& e, int side, bool thorough);

// Does this capture threat count as chasing: an attack on an unprotected piece
// by anything but a pawn or king, or by a horse or cannon on a rook, in both
// cases only when the victim cannot simply take the attacker?
bool capture_is_chase(Count& e, const move_t& q);
