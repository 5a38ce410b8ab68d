// Making and taking back moves with every incremental quantity kept in step.
#pragma once
#include "board/engine.h"

void make_move(Count& e, const move_t& m);
// Must receive the record given to the matching make_move, last in first out.
void unmake_move(Count& e, const move_t& m);
