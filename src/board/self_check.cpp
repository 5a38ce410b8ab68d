#include "board/self_check.h"

#include <cstdio>
#include <cstdlib>

#include "board/geometry.h"

#ifdef TAVOX_SELF_CHECKS
void self_check_failed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "self-check failed: %s (%s:%d)\n", condition, file, line);
    std::abort();
}
#endif

namespace {

constexpr int SIDE_BASES[2] = {RED_BASE, BLACK_BASE};

}  // namespace

bool position_consistent(const Count& e) {
    int32_t types[15] = {};
    int red = 0, black = 0;
    uint32_t key = 0, lock = 0;
    for (int base : SIDE_BASES) {
        for (int k = 0; k < 16; ++k) {
            const int code = base + k;
            const int sq = e.piece_square[code];
            if (sq == 0) continue;
            if (sq < 0 || sq > 255 || !is_playing_square(sq) || e.board[sq] != code) return false;
            const int type = e.piece_type[code];
            types[type] += 1;
            (base == RED_BASE ? red : black) += 1;
            key ^= e.zobrist_key_table[type][sq];
            lock ^= e.zobrist_lock_table[type][sq];
        }
    }
    for (int sq = 0; sq < 256; ++sq) {
        const int code = e.board[sq];
        if (code == EMPTY_SQUARE || code == OFF_BOARD) {
            if ((code == OFF_BOARD) == is_playing_square(sq)) return false;
            continue;
        }
        if (code < 0 || code >= 1024 || e.piece_square[code] != sq) return false;
    }
    for (int t = 0; t < 15; ++t)
        if (types[t] != e.type_count[t]) return false;
    const line_occupancy lines = occupancy_of(e.board);
    for (int i = 0; i < 16; ++i)
        if (lines.row[i] != e.lines.row[i] || lines.column[i] != e.lines.column[i]) return false;
    return red == e.red_count && black == e.black_count && key == e.zobrist_key && lock == e.zobrist_lock;
}

bool pst_consistent(const Count& e) {
    int sum = 0;
    for (int base : SIDE_BASES) {
        for (int k = 0; k < 16; ++k) {
            const int sq = e.piece_square[base + k];
            if (sq != 0) sum += e.piece_square_value[base + k][sq];
        }
    }
    return sum == e.pst_score;
}
