// The full-width search below the root: fail-soft principal-variation search
// with transposition table, mate-distance pruning, null move with verification,
// internal iterative deepening, extensions, history reduction and futility pruning.
#pragma once
#include "board/engine.h"

// node_type: 0 principal-variation node, +1/-1 null-window node. Returns 0
// when stopped; callers test stop_flag before using a result.
int alpha_beta(Count& e, int alpha, int beta, int side, int depth, int h, int node_type, int null_allowed);

// A plain node without hashing or pruning, used to verify null-move cut-offs.
int verify_search(Count& e, int alpha, int beta, int side, int depth, int h, int node_type, int hash_from,
                  int hash_to);
