// Making and taking back moves with every incremental quantity kept in step.
#pragma once
#include "board/engine.h"

void make_move(Count& e, const move_t& m);
// Must receive the record given to the matching make_move, last in first out.
// The keys and pst_score come back as that make_move found them.
void unmake_move(Count& e, const move_t& m);

// Make and take back a move on board and piece_square alone. The line
// occupancy is left as it was: only for a test that works out the lines it reads.
inline void pieces_do_move(Count& e, const move_t& m) {
    e.board[m.from] = EMPTY_SQUARE;
    e.board[m.to] = m.piece;
    e.piece_square[m.piece] = m.to;
    if (m.captured != EMPTY_SQUARE) e.piece_square[m.captured] = 0;
}

inline void pieces_undo_move(Count& e, const move_t& m) {
    if (m.captured != EMPTY_SQUARE) e.piece_square[m.captured] = m.to;
    e.piece_square[m.piece] = m.from;
    e.board[m.to] = m.captured;
    e.board[m.from] = m.piece;
}

// Make and take back a move on board, its line occupancy and piece_square only
// (no keys, counters, stacks or ply): enough for generation and the attack
// tests, which read nothing else.
inline void board_do_move(Count& e, const move_t& m) {
    pieces_do_move(e, m);
    occupancy_flip(e.lines, m.from);
    if (m.captured == EMPTY_SQUARE) occupancy_flip(e.lines, m.to);
}

inline void board_undo_move(Count& e, const move_t& m) {
    if (m.captured == EMPTY_SQUARE) occupancy_flip(e.lines, m.to);
    occupancy_flip(e.lines, m.from);
    pieces_undo_move(e, m);
}
