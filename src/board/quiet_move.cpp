#include "board/quiet_move.h"

#include "board/side_traits.h"

namespace {

// Nothing stands between from and to on their rank or file.
bool clear_line(const line_occupancy& lines, int from, int to) {
    int step;
    if ((from >> 4) == (to >> 4)) step = to > from ? 1 : -1;
    else if (((from ^ to) & 15) == 0) step = to > from ? 16 : -16;
    else return false;
    const int blocker = next_occupied(lines, from, step);
    return step > 0 ? blocker >= to : blocker <= to;
}

bool horse_reaches(const int32_t* board, int from, int to) {
    int leg;
    switch (to - from) {
        case -33: case -31: leg = -16; break;
        case +33: case +31: leg = +16; break;
        case -18: case +14: leg = -1; break;
        case -14: case +18: leg = +1; break;
        default: return false;
    }
    return board[from + leg] == EMPTY_SQUARE;
}

template <int S>
bool listed(const Count& e, int from, int to) {
    using T = side_traits<S>;
    const int32_t* b = e.board;
    if (b[to] != EMPTY_SQUARE) return false;
    const int piece = b[from];
    if ((piece & (T::enemy_bit ^ (RED_BIT | BLACK_BIT))) == 0) return false;
    const int d = to - from;
    switch (piece - T::own) {
        case KING_OFFSET: return (d == 1 || d == -1 || d == 16 || d == -16) && T::own_palace(to);
        case ADVISOR_OFFSET:
        case ADVISOR_OFFSET + 1: {
            constexpr int c = T::palace_centre;
            if (from == c) return to == c - 17 || to == c - 15 || to == c + 15 || to == c + 17;
            return to == c && (from == c - 17 || from == c - 15 || from == c + 15 || from == c + 17);
        }
        case ELEPHANT_OFFSET:
        case ELEPHANT_OFFSET + 1:
            return (d == -34 || d == -30 || d == 30 || d == 34) && b[from + d / 2] == EMPTY_SQUARE && T::own_half(to);
        case HORSE_OFFSET:
        case HORSE_OFFSET + 1: return horse_reaches(b, from, to);
        case ROOK_OFFSET:
        case ROOK_OFFSET + 1:
        case CANNON_OFFSET:
        case CANNON_OFFSET + 1: return clear_line(e.lines, from, to);
        default:  // the pawns
            return d == T::fwd || (T::opp_half(from) && (d == 1 || d == -1));
    }
}

}  // namespace

bool quiet_move_listed(const Count& e, int side, int from, int to) {
    if (from <= 0 || from >= 256 || to <= 0 || to >= 256) return false;
    return side == RED ? listed<RED>(e, from, to) : listed<BLACK>(e, from, to);
}
