// The static evaluation: tables built once, per-search preparation, evaluate.
#pragma once
#include "board/engine.h"

// Fills the zone masks, base_square_value and capture_value_bonus; clears piece_square_value.
void build_evaluation_tables(Count& e);
// Refills piece_square_value (and the capture bonuses read from it) for the
// coming search and sets eval_phase_class.
void prepare_evaluation(Count& e);
// Score of the position from `side`'s point of view.
int evaluate(Count& e, int side);
// pst_score := the sum of piece_square_value over the pieces on the board.
void recompute_pst_score(Count& e);
