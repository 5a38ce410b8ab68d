// Per-search preparation: the material class of the position and the square
// values adjusted to it.
#include <cstring>
#include <initializer_list>

#include "board/geometry.h"
#include "eval/eval_cache.h"
#include "eval/eval_tables.h"
#include "eval/evaluate.h"

namespace {

int count_pawns_on(const Count& e, int base, const uint8_t* zone) {
    int n = 0;
    for (int k = PAWN_OFFSET; k < PAWN_OFFSET + 5; ++k) {
        const int sq = e.piece_square[base + k];
        n += sq != 0 && zone[sq];
    }
    return n;
}

// Adds `delta` to every square value of a side's pair of pieces at `offset`, on `zone` only when given.
void shift_pair(Count& e, int base, int offset, int delta, const uint8_t* zone = nullptr) {
    for (int k = offset; k < offset + 2; ++k)
        for (int sq = 0; sq < 256; ++sq)
            if (zone == nullptr || zone[sq]) e.piece_square_value[base + k][sq] += delta;
}

void lower_at(Count& e, int base, int offset, int sq, int delta) {
    e.piece_square_value[base + offset][sq] += delta;
    e.piece_square_value[base + offset + 1][sq] += delta;
}

int evaluation_phase_class(const Count& e) {
    const int* t = e.type_count;
    const int B = BLACK_TYPE_OFFSET;
    const int total = t[HORSE] + t[CANNON] + t[ROOK] + t[HORSE + B] + t[CANNON + B] + t[ROOK + B];
    const int red_crossed = count_pawns_on(e, RED_BASE, in_black_half);
    const int black_crossed = count_pawns_on(e, BLACK_BASE, in_red_half);
    if (total > 10 && t[ADVISOR] + t[ELEPHANT] >= 4 && t[ADVISOR + B] + t[ELEPHANT + B] >= 4 && t[PAWN] >= 3 &&
        t[PAWN + B] >= 3)
        return 0;
    if (total > 6 || (total > 5 && (red_crossed > 0 || black_crossed > 0 || t[ROOK] == 2 || t[ROOK + B] == 2)))
        return 1;
    return total < 5 ? 3 : 2;
}

// The square values of the coming search, from the base values now in piece_square_value.
void adjust_square_values(Count& e) {
    const int cls = evaluation_phase_class(e);
    e.eval_phase_class = cls;
    const int* t = e.type_count;
    const int B = BLACK_TYPE_OFFSET;
    const int total = t[HORSE] + t[CANNON] + t[ROOK] + t[HORSE + B] + t[CANNON + B] + t[ROOK + B];

    if (cls == 0) {
        // In a full middlegame the defenders of both sides are worth 10 less.
        for (int offset : {ELEPHANT_OFFSET, ADVISOR_OFFSET}) {
            shift_pair(e, RED_BASE, offset, -10);
            shift_pair(e, BLACK_BASE, offset, +10);
        }
    } else if (cls == 3) {
        shift_pair(e, RED_BASE, ADVISOR_OFFSET, +20);
        shift_pair(e, BLACK_BASE, ADVISOR_OFFSET, -20);
        shift_pair(e, RED_BASE, CANNON_OFFSET, +10, in_red_half);
        shift_pair(e, BLACK_BASE, CANNON_OFFSET, -10, in_black_half);
        return;
    }
    const bool develop = cls == 0 || (cls == 1 && (total >= 10 || (total >= 8 && t[ROOK] + t[ROOK + B] == 4)));
    if (!develop) return;
    // Rooks and horses still on their starting squares.
    for (int f : {0, 8}) {
        lower_at(e, RED_BASE, ROOK_OFFSET, make_square(f, 9), -30);
        lower_at(e, BLACK_BASE, ROOK_OFFSET, make_square(f, 0), +30);
    }
    for (int f : {1, 7}) {
        lower_at(e, RED_BASE, HORSE_OFFSET, make_square(f, 9), -30);
        lower_at(e, BLACK_BASE, HORSE_OFFSET, make_square(f, 0), +30);
    }
}

}  // namespace

void prepare_evaluation(Count& e) {
    eval_cache_forget();
    std::memcpy(e.piece_square_value, e.base_square_value, sizeof(e.piece_square_value));
    adjust_square_values(e);
    eval::refresh_capture_bonuses(e);
}

void recompute_pst_score(Count& e) {
    int sum = 0;
    for (int base : {RED_BASE, BLACK_BASE}) {
        for (int k = 0; k < 16; ++k) {
            const int sq = e.piece_square[base + k];
            if (sq != 0) sum += e.piece_square_value[base + k][sq];
        }
    }
    e.pst_score = sum;
}
