// Move ordering: scores from the hash move, captures, killers and history;
// the history tables and killer slots and how they learn.
#pragma once
#include "board/engine.h"

constexpr int HISTORY_LIMIT = 16384;
constexpr int REDUCTION_RATIO_LIMIT = 9830;  // 60 percent of HISTORY_LIMIT

// Scores the list of height h for `side`; the node sorts it as it goes
// (lazy_sort). With `evasions` (the side is in check; alpha_beta only) moves
// that leave the king attacked are first removed and evasion classes replace
// the capture ranking. Returns the list's length.
int score_moves(Count& e, int h, int side, int hash_from, int hash_to, bool evasions);

// For a list that is not of evasions, whose first move often ends the node:
// scores as score_moves does, except that a quiet move neither the hash move
// nor a killer keeps only its history value, read now (the search of a move
// changes the history). Returns the move that scores above all others, when
// one does and scores at least zero -- above every quiet move left unfinished:
// the list's first move once sorted. Otherwise finishes every score and
// returns null. `count` is the list's length.
move_t* score_moves_for_first(Count& e, int h, int side, int hash_from, int hash_to, int& count);
// For the same list, before the quiet moves are generated: lists the captures
// and those of the hash move and killers that the full list holds as quiet
// moves, and returns the move score_moves_for_first would return for the full
// list. Null when it would return none, or when the list is a king capture.
move_t* score_first_before_quiets(Count& e, int h, int side, int hash_from, int hash_to);
// Finishes the scores score_moves_for_first left unfinished.
void finish_scores(Count& e, int h, int side, int hash_from, int hash_to);

// Sorts first..last inclusive by score, highest first.
void sort_moves(move_t* first, move_t* last);

// A quiet move was the best of a node: history only.
void history_reward(Count& e, const move_t& m);
// A quiet move caused a cut-off at height h with score r, after the quiet
// moves `earlier[0..n)` had been searched at that node.
void cutoff_learning(Count& e, int h, const move_t& m, int r, const move_t* const* earlier, int n);
void killer_update(Count& e, int h, const move_t& m, int r);

// Whether the move's ratio hits * 16384 / tries, rounded down, is below
// REDUCTION_RATIO_LIMIT. Tries are at least 1 and hits at least 0, so the
// comparison is taken across without the division.
inline bool rarely_cuts(const Count& e, const move_t& m) {
    const cut_tally& t = e.history_cuts(m.from, m.to);
    return t.hits * HISTORY_LIMIT < REDUCTION_RATIO_LIMIT * t.tries;
}
