// Score conventions and small helpers shared by the search nodes.
#pragma once
#include "board/engine.h"

constexpr int MATE_SCORE = 19999;      // a side mated at height h scores h - MATE_SCORE
constexpr int MATE_THRESHOLD = 19900;  // |score| above this is a mate score
constexpr int NO_SCORE = -30000;       // nothing searched yet
constexpr int INFINITE_SCORE = 30000;  // beyond every score: (-INFINITE_SCORE, INFINITE_SCORE) is the open window
constexpr int WINDOW = 20000;
constexpr int MAX_SEARCH_HEIGHT = 53;  // nodes at this height return the static evaluation

// Neither side has a pawn, rook, horse or cannon.
inline bool bare_material(const Count& e) {
    const int32_t* t = e.type_count;
    return (t[1] | t[4] | t[5] | t[6] | t[8] | t[11] | t[12] | t[13]) == 0;
}

// The draw-like value: pst_score / 5 from the side to move's view, truncating toward zero.
inline int draw_value(const Count& e, int side) { return side == RED ? e.pst_score / 5 : -(e.pst_score / 5); }

inline move_t* pv_row(Count& e, int h) { return &e.pv_table[h * PV_ROW]; }

// Row h := m, scored `score`, followed by the line of row h + 1. The score
// comes apart from m: a move whose score was just stored would be read back
// whole, and that read waits until the store has gone to the cache.
inline void record_pv(Count& e, int h, const move_t& m, int score) {
    move_t* row = pv_row(e, h);
    const move_t* child = pv_row(e, h + 1);
    const int n = e.pv_length[h + 1];
    row[0] = m;
    row[0].score = score;
    for (int i = 0; i < n; ++i) row[i + 1] = child[i];
    e.pv_length[h] = n + 1;
}

inline bool is_capture(const move_t& m) { return m.captured != EMPTY_SQUARE; }

// Rooks, horses and cannons of a side.
inline int attacking_pieces(const Count& e, int side) {
    const int b = side == RED ? 0 : BLACK_TYPE_OFFSET;
    return e.type_count[b + ROOK] + e.type_count[b + HORSE] + e.type_count[b + CANNON];
}

// Mate-distance pruning: no score at height h is below being mated there
// (h - 19999) or above mating with the next move (19998 - h). Narrows the
// window; true (with `score`) when the node can return at once.
inline bool mate_distance_cut(int h, int& alpha, int& beta, int& score) {
    const int mated_here = h - MATE_SCORE;
    if (mated_here > alpha) {
        if (mated_here >= beta) {
            score = mated_here;
            return true;
        }
        alpha = mated_here;
    }
    const int mate_next = (MATE_SCORE - 1) - h;
    if (mate_next < beta) {
        if (mate_next <= alpha) {
            score = mate_next;
            return true;
        }
        beta = mate_next;
    }
    return false;
}
