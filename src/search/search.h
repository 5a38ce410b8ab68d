// The one entry into the search: iterative deepening over the root moves.
#pragma once
#include "board/engine.h"

// Searches the current position under time_limit / depth_limit and returns
// the move to play (best_line entry 0; entry 1 is the expected reply). A zero
// move when the engine is not ready.
void search_position(Count& e, move_t& out);

void iterative_deepening(Count& e);
// One iteration over the root moves; the iteration's score (0 when stopped).
int root_search(Count& e, int side, int depth);

// Deepening ends after this iteration, whatever the depth limit.
constexpr int MAX_ITERATION_DEPTH = 54;

// A root move that repeats more mildly than the opponent's last move did: the
// opponent's repetition is the one the rules forbid, so it must break off and
// the move scores above every mate.
constexpr int SCORE_REPETITION_WIN = 24999;

// Results that need no search.
constexpr int SCORE_NO_LEGAL_MOVE = -20000;
constexpr int SCORE_KING_CAPTURE = 20000;
constexpr int SCORE_ONLY_MOVE = -32767;
