#include "board/make_move.h"

#include "board/self_check.h"

// The sums are read into locals once: the board stores between would
// otherwise make the compiler load them again (int and uint32_t may alias).
void make_move(Count& e, const move_t& m) {
    const int from = m.from, to = m.to, piece = m.piece, captured = m.captured;
    const int type = e.piece_type[piece];
    const int ply = e.ply + 1;
    uint32_t key = e.zobrist_key, lock = e.zobrist_lock;
    const int32_t pst = e.pst_score;
    e.sums_before[ply] = ply_sums_t{key, lock, pst};
    e.ply = ply;
    e.board[from] = EMPTY_SQUARE;
    e.board[to] = piece;
    e.piece_square[piece] = to;
    occupancy_flip(e.lines, from);
    if (captured == EMPTY_SQUARE) {
        occupancy_flip(e.lines, to);
    } else {
        const int ctype = e.piece_type[captured];
        key ^= e.zobrist_key_table[ctype][to];
        lock ^= e.zobrist_lock_table[ctype][to];
        e.piece_square[captured] = 0;
        e.type_count[ctype] -= 1;
        // Colour bits, not a branch: which side loses a piece follows no pattern.
        e.red_count -= (captured & RED_BIT) != 0;
        e.black_count -= (captured & BLACK_BIT) != 0;
    }
    key ^= e.zobrist_key_table[type][from] ^ e.zobrist_key_table[type][to];
    lock ^= e.zobrist_lock_table[type][from] ^ e.zobrist_lock_table[type][to];
    e.zobrist_key = key;
    e.zobrist_lock = lock;
    e.pst_score = pst + e.piece_square_value[piece][to] - e.piece_square_value[captured][to] - e.piece_square_value[piece][from];
    e.move_stack[ply] = m;
    e.key_stack[ply] = key;
    TAVOX_SELF_CHECK(position_consistent(e));
}

void unmake_move(Count& e, const move_t& m) {
    const int from = m.from, to = m.to, piece = m.piece, captured = m.captured;
    occupancy_flip(e.lines, from);
    if (captured == EMPTY_SQUARE) {
        e.board[to] = EMPTY_SQUARE;
        occupancy_flip(e.lines, to);
    } else {
        const int ctype = e.piece_type[captured];
        e.piece_square[captured] = to;
        e.board[to] = captured;
        e.type_count[ctype] += 1;
        e.red_count += (captured & RED_BIT) != 0;
        e.black_count += (captured & BLACK_BIT) != 0;
    }
    e.piece_square[piece] = from;
    e.board[from] = piece;
    const ply_sums_t& before = e.sums_before[e.ply];
    e.zobrist_key = before.zobrist_key;
    e.zobrist_lock = before.zobrist_lock;
    e.pst_score = before.pst_score;
    e.ply -= 1;
    TAVOX_SELF_CHECK(position_consistent(e));
}
