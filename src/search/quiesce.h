// Quiescence search: captures (and, for a limited number of plies, quiet
// checking moves) until the position is quiet; all evasions when in check.
#pragma once
#include "board/check.h"
#include "board/engine.h"

// check_depth: 0 allows quiet checking moves at this node, -1 forbids them.
// parent_check: the check code of the parent quiescence node (0 from alpha_beta).
// own_check: the check code of `side` here when the caller has it, else CHECK_UNKNOWN.
int quiesce(Count& e, int alpha, int beta, int side, int check_depth, int h, int parent_check, int node_type,
            int own_check = CHECK_UNKNOWN);
