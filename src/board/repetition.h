// Repetition rules: plain repetition, long chase and long check.
#pragma once
#include "board/engine.h"

constexpr int REPETITION_NONE = 0;
constexpr int REPETITION_DRAW = 1;
constexpr int REPETITION_LONG_CHASE = 2;
constexpr int REPETITION_LONG_CHECK = 3;

// Called right after `side` made the last move; leaves the board as it found it.
int check_repetition(Count& e, int side, bool thorough);
