#include "board/make_move.h"

#include "board/self_check.h"

void make_move(Count& e, const move_t& m) {
    const int from = m.from, to = m.to, piece = m.piece, captured = m.captured;
    const int type = e.piece_type[piece];
    e.ply += 1;
    e.board[from] = EMPTY_SQUARE;
    e.board[to] = piece;
    e.piece_square[piece] = to;
    occupancy_flip(e.lines, from);
    if (captured == EMPTY_SQUARE) occupancy_flip(e.lines, to);
    if (captured != EMPTY_SQUARE) {
        const int ctype = e.piece_type[captured];
        e.zobrist_key ^= e.zobrist_key_table[ctype][to];
        e.zobrist_lock ^= e.zobrist_lock_table[ctype][to];
        e.piece_square[captured] = 0;
        e.type_count[ctype] -= 1;
        if (captured & RED_BIT) e.red_count -= 1;
        else e.black_count -= 1;
    }
    e.zobrist_key ^= e.zobrist_key_table[type][from] ^ e.zobrist_key_table[type][to];
    e.zobrist_lock ^= e.zobrist_lock_table[type][from] ^ e.zobrist_lock_table[type][to];
    e.pst_score += e.piece_square_value[piece][to] - e.piece_square_value[captured][to] - e.piece_square_value[piece][from];
    e.move_stack[e.ply] = m;
    e.key_stack[e.ply] = e.zobrist_key;
    TAVOX_SELF_CHECK(position_consistent(e));
}

void unmake_move(Count& e, const move_t& m) {
    const int from = m.from, to = m.to, piece = m.piece, captured = m.captured;
    const int type = e.piece_type[piece];
    occupancy_flip(e.lines, from);
    if (captured == EMPTY_SQUARE) {
        e.board[to] = EMPTY_SQUARE;
        occupancy_flip(e.lines, to);
    } else {
        const int ctype = e.piece_type[captured];
        e.piece_square[captured] = to;
        e.board[to] = captured;
        e.type_count[ctype] += 1;
        e.zobrist_key ^= e.zobrist_key_table[ctype][to];
        e.zobrist_lock ^= e.zobrist_lock_table[ctype][to];
        if (captured & RED_BIT) e.red_count += 1;
        else e.black_count += 1;
    }
    e.piece_square[piece] = from;
    e.board[from] = piece;
    e.zobrist_key ^= e.zobrist_key_table[type][from] ^ e.zobrist_key_table[type][to];
    e.zobrist_lock ^= e.zobrist_lock_table[type][from] ^ e.zobrist_lock_table[type][to];
    e.pst_score += e.piece_square_value[captured][to] - e.piece_square_value[piece][to] + e.piece_square_value[piece][from];
    e.ply -= 1;
    TAVOX_SELF_CHECK(position_consistent(e));
}
