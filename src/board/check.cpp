// Both queries test only the attacks the rules allow from where the king or
// target square stands, and skip whole groups by rank, file and half tests.
#include "board/check.h"

#include <initializer_list>

#include "board/geometry.h"
#include "board/side_traits.h"
#include "board/self_check.h"

namespace {

// Two codes of a kind differ only in bit 0 (bases are multiples of 16).
inline bool is_rook(int v, int base) { return (v | 1) == base + ROOK_OFFSET + 1; }
inline bool is_cannon(int v, int base) { return (v | 1) == base + CANNON_OFFSET + 1; }
inline bool is_horse(int v, int base) { return (v | 1) == base + HORSE_OFFSET + 1; }
inline bool is_pawn(int v, int base) { return static_cast<unsigned>(v - base - PAWN_OFFSET) < 5u; }
inline bool is_elephant(int v, int base) { return (v | 1) == base + ELEPHANT_OFFSET + 1; }
inline bool is_advisor(int v, int base) { return (v | 1) == base + ADVISOR_OFFSET + 1; }

// The board value of the first non-empty square after s in direction D; s moves there.
template <int D, class Lines>
inline int first_blocker(const Count& e, const Lines& lines, int& s) {
    s = next_occupied<D>(lines, s);
    return e.board[s];
}

// A rook first blocker or a cannon second blocker of `base` on the ray from t
// in direction D: 4 or 8, else 0. With `code`, the attacker's piece code instead.
template <bool Code, int D, class Lines>
inline int ray_attacker(const Count& e, const Lines& lines, int t, int base) {
    int first, second;
    first_two_occupied<D>(lines, t, first, second);
    const int v = e.board[first], w = e.board[second];
    if (v == OFF_BOARD) return 0;
    if (is_rook(v, base)) return Code ? v : ORDER_ROOK;
    if (is_cannon(w, base)) return Code ? w : ORDER_CANNON;
    return 0;
}

// The occupancy of a king's own row and column only, which is all the check
// test scans, as it stands after a move tried on the board alone.
struct king_lines {
    uint32_t row_word;
    uint32_t column_word;
    uint32_t row_bits(int) const { return row_word; }
    uint32_t column_bits(int) const { return column_word; }
};

// The king's lines after m, from the occupancy before it: the origin empties
// and the target fills (a capture's target stays full).
king_lines lines_after(const line_occupancy& o, int k, const move_t& m) {
    const int kr = k >> 4, kc = k & 15;
    uint32_t row = o.row[kr], column = o.column[kc];
    // Without branches: whether a square shares the king's line follows no pattern.
    auto toggle = [&](int sq, bool applies) {
        row ^= static_cast<uint32_t>(applies && (sq >> 4) == kr) << (sq & 15);
        column ^= static_cast<uint32_t>(applies && (sq & 15) == kc) << (sq >> 4);
    };
    toggle(m.from, true);
    toggle(m.to, m.captured == EMPTY_SQUARE);
    return {row, column};
}

// How a square stands to a king, by the difference of the two squares. The
// difference names the rank and file offsets uniquely: files differ by at most 8.
constexpr uint8_t KING_LINE = 1;    // same rank or file (the king's own square included)
constexpr uint8_t KING_LEG = 2;     // diagonally adjacent
constexpr uint8_t HORSE_REACH = 4;  // a horse there could attack the king
constexpr uint8_t ELEPHANT_REACH = 8;  // an elephant there could take on the square

struct king_relations {
    uint8_t by_difference[512] = {};
    constexpr king_relations() {
        for (int dr = -9; dr <= 9; ++dr) {
            for (int df = -8; df <= 8; ++df) {
                const int ar = dr < 0 ? -dr : dr, af = df < 0 ? -df : df;
                uint8_t v = 0;
                if (dr == 0 || df == 0) v |= KING_LINE;
                if (ar == 1 && af == 1) v |= KING_LEG;
                if ((ar == 1 && af == 2) || (ar == 2 && af == 1)) v |= HORSE_REACH;
                if (ar == 2 && af == 2) v |= ELEPHANT_REACH;
                by_difference[256 + 16 * dr + df] = v;
            }
        }
    }
    uint8_t of(int square, int king) const { return by_difference[256 + square - king]; }
};
constexpr king_relations relations;

// A horse attacks t over a leg square diagonally beside t, from either of the
// two squares beyond that leg. The order is the order of the tests.
struct horse_approach {
    int leg;
    int from[2];
};
constexpr horse_approach HORSE_APPROACHES[4] = {{15, {14, 31}}, {17, {33, 18}}, {-17, {-33, -18}}, {-15, {-31, -14}}};

// Whether a pair of pieces of `base` at `offset` stands where `reach` allows
// it onto t, whatever blocks the way. Square 0 (a captured piece) reaches nothing.
inline bool pair_in_reach(const int32_t* piece_square, int t, int base, int offset, uint8_t reach) {
    return ((relations.of(piece_square[base + offset], t) | relations.of(piece_square[base + offset + 1], t)) & reach) != 0;
}

// The square of a horse of `base` that attacks t, or 0.
inline int horse_attacker(const int32_t* board, int t, int base) {
    for (const horse_approach& a : HORSE_APPROACHES) {
        if (board[t + a.leg] != EMPTY_SQUARE) continue;
        for (const int from : a.from)
            if (is_horse(board[t + from], base)) return t + from;
    }
    return 0;
}

template <int S, class Lines>
int king_attack(const Count& e, const Lines& lines) {
    using T = side_traits<S>;
    constexpr int E = T::opp;
    const int32_t* const b = e.board;
    const int32_t* const ps = e.piece_square;
    const int k = ps[T::own];
    if (k == 0) return CHECK_KING_MISSING;

    // The other king stands on this file most of the time: the file ahead is
    // scanned without a test first. Past the edge both squares are off the
    // board, which no test below matches.
    {
        int first, second;
        first_two_occupied<T::fwd>(lines, k, first, second);
        const int v = b[first], w = b[second];
        if (int{is_rook(v, E)} | int{v == E} | int{is_cannon(w, E)})
            return is_rook(v, E) ? ORDER_ROOK : v == E ? CHECK_KINGS_FACING : ORDER_CANNON;
    }
    // Rows by bit: a captured piece's square 0 sets row 0, which holds no king.
    const uint32_t rows = (1u << (ps[E + ROOK_OFFSET] >> 4)) | (1u << (ps[E + ROOK_OFFSET + 1] >> 4)) |
                          (1u << (ps[E + CANNON_OFFSET] >> 4)) | (1u << (ps[E + CANNON_OFFSET + 1] >> 4));
    if ((rows >> (k >> 4)) & 1) {
        if (const int code = ray_attacker<false, +1>(e, lines, k, E)) return code;
        if (const int code = ray_attacker<false, -1>(e, lines, k, E)) return code;
    }

    if (pair_in_reach(ps, k, E, HORSE_OFFSET, HORSE_REACH) && horse_attacker(b, k, E) != 0) return ORDER_HORSE;

    // Behind the king the palace leaves at most two squares.
    const int behind = b[k - T::fwd], behind2 = b[k - 2 * T::fwd];
    if (is_rook(behind, E)) return ORDER_ROOK;
    if (behind == EMPTY_SQUARE) {
        if (is_rook(behind2, E)) return ORDER_ROOK;
    } else if (is_cannon(behind2, E)) {
        return ORDER_CANNON;
    }

    if (is_pawn(b[k + T::fwd], E) || is_pawn(b[k + 1], E) || is_pawn(b[k - 1], E)) return ORDER_PAWN;
    return CHECK_NONE;
}

template <int D>
int attacker_of(const Count& e, int t) {
    using T = side_traits<D>;
    constexpr int B = T::own;
    const int32_t* const b = e.board;
    const int32_t* const ps = e.piece_square;

    if (pair_in_reach(ps, t, B, HORSE_OFFSET, HORSE_REACH))
        if (const int s = horse_attacker(b, t, B)) return b[s];

    // Files and rows by bit, as in king_attack: a captured piece's square 0
    // sets column and row 0, which no playing square has.
    const int r0 = ps[B + ROOK_OFFSET], r1 = ps[B + ROOK_OFFSET + 1];
    const int c0 = ps[B + CANNON_OFFSET], c1 = ps[B + CANNON_OFFSET + 1];
    const uint32_t columns = (1u << (r0 & 15)) | (1u << (r1 & 15)) | (1u << (c0 & 15)) | (1u << (c1 & 15));
    const uint32_t rows = (1u << (r0 >> 4)) | (1u << (r1 >> 4)) | (1u << (c0 >> 4)) | (1u << (c1 >> 4));
    if ((columns >> (t & 15)) & 1) {
        if (const int code = ray_attacker<true, -16>(e, e.lines, t, B)) return code;
        if (const int code = ray_attacker<true, +16>(e, e.lines, t, B)) return code;
    }
    if ((rows >> (t >> 4)) & 1) {
        if (const int code = ray_attacker<true, -1>(e, e.lines, t, B)) return code;
        if (const int code = ray_attacker<true, +1>(e, e.lines, t, B)) return code;
    }

    if (is_pawn(b[t + T::back], B)) return b[t + T::back];  // a pawn attacks from behind
    if (!T::own_half(t)) {
        if (is_pawn(b[t - 1], B)) return b[t - 1];
        if (is_pawn(b[t + 1], B)) return b[t + 1];
        return 0;
    }

    const bool in_palace = T::own_palace(t);
    if (in_palace) {
        if (is_advisor(b[t - 17], B)) return b[t - 17];
        if (is_advisor(b[t - 15], B)) return b[t - 15];
        if (is_advisor(b[t + 15], B)) return b[t + 15];
        if (is_advisor(b[t + 17], B)) return b[t + 17];
    }
    if (pair_in_reach(ps, t, B, ELEPHANT_OFFSET, ELEPHANT_REACH)) {
        if (b[t - 17] == EMPTY_SQUARE && is_elephant(b[t - 34], B)) return b[t - 34];
        if (b[t - 15] == EMPTY_SQUARE && is_elephant(b[t - 30], B)) return b[t - 30];
        if (b[t + 15] == EMPTY_SQUARE && is_elephant(b[t + 30], B)) return b[t + 30];
        if (b[t + 17] == EMPTY_SQUARE && is_elephant(b[t + 34], B)) return b[t + 34];
    }
    if (in_palace) {
        if (b[t - 16] == B || b[t - 1] == B || b[t + 1] == B || b[t + 16] == B) return B;
    }
    return 0;
}

// One attack on the king of S, or none (no king, or no attack).
template <int S>
check_attack_t find_attack(const Count& e) {
    using T = side_traits<S>;
    constexpr int E = T::opp;
    const int32_t* const b = e.board;
    const int k = e.piece_square[T::own];
    if (k == 0) return {};
    check_attack_t found;
    auto line = [&]<int D>() {
        int s = k;
        const int v = first_blocker<D>(e, e.lines, s);
        if (v == OFF_BOARD) return false;
        if (is_rook(v, E) || (v == E && (D == 16 || D == -16)) || is_cannon(first_blocker<D>(e, e.lines, s), E)) {
            found = {k, s, D, 0};
            return true;
        }
        return false;
    };
    if (line.template operator()<T::fwd>() || line.template operator()<-T::fwd>() || line.template operator()<1>() ||
        line.template operator()<-1>())
        return found;
    for (const horse_approach& a : HORSE_APPROACHES) {
        if (b[k + a.leg] != EMPTY_SQUARE) continue;
        for (const int from : a.from)
            if (is_horse(b[k + from], E)) return {k, k + from, 0, k + a.leg};
    }
    for (const int d : {T::fwd, 1, -1})
        if (is_pawn(b[k + d], E)) return {k, k + d, 0, 0};
    return {};
}

}  // namespace

// A square left empty may open a line or a horse's leg onto the king; a square
// filled may only close those, except that it can screen a cannon on the
// king's line. A capture's target stays filled, and a king's step leaves or
// reaches a square beside its own, so it needs no test of its own. One
// branch on the combined bits: which case holds follows no pattern.
bool may_expose_king(const Count& e, const move_t& m, int side) {
    const int k = e.piece_square[side_base(side) + KING_OFFSET];
    const unsigned filled = m.captured == EMPTY_SQUARE ? KING_LINE : 0u;
    const unsigned bits = (relations.of(m.from, k) & (KING_LINE | KING_LEG)) | (relations.of(m.to, k) & filled);
    return (k == 0) | (bits != 0);
}

int own_check_after_move(Count& e, const move_t& m, int side) {
    if (may_expose_king(e, m, side)) return in_check(e, side);
    TAVOX_SELF_CHECK(in_check(e, side) == CHECK_NONE);
    return CHECK_NONE;
}

// A piece arriving diagonally beside the king attacks nothing there and only
// blocks a leg; the origin, by emptying, may still free a horse.
bool may_give_check(const Count& e, const move_t& m, int side) {
    const int k = e.piece_square[side_base(1 - side) + KING_OFFSET];
    // By arithmetic: a conditional here became a branch no predictor learns.
    const bool horse = (m.piece | 1) == side_base(side) + HORSE_OFFSET + 1;
    const unsigned arrival = KING_LINE | static_cast<unsigned>(horse) * HORSE_REACH;
    const unsigned bits = (relations.of(m.from, k) & (KING_LINE | KING_LEG)) | (relations.of(m.to, k) & arrival);
    return (k == 0) | (bits != 0);
}

int check_given_by_move(Count& e, const move_t& m, int side) {
    const int other = 1 - side;
    if (may_give_check(e, m, side)) return in_check(e, other);
    TAVOX_SELF_CHECK(in_check(e, other) == CHECK_NONE);
    return CHECK_NONE;
}

int attacker_of(const Count& e, int t, int side) {
    return side == RED ? attacker_of<RED>(e, t) : attacker_of<BLACK>(e, t);
}

check_attack_t find_attack(const Count& e, int side) {
    return side == RED ? find_attack<RED>(e) : find_attack<BLACK>(e);
}

int in_check(Count& e, int side) { return side == RED ? king_attack<RED>(e, e.lines) : king_attack<BLACK>(e, e.lines); }

namespace {

// The check after m, tested with every incremental part of the board kept.
[[maybe_unused]] int check_after_full_move(Count& e, const move_t& m, int side) {
    board_do_move(e, m);
    const int code = in_check(e, side);
    board_undo_move(e, m);
    return code;
}

}  // namespace

bool is_legal(Count& e, const move_t& m, int side) {
    // On the board and the piece squares alone: the test scans only the
    // king's row and column, computed here, so the occupancy stays as it is.
    const int k = m.piece == side_base(side) + KING_OFFSET ? m.to : e.piece_square[side_base(side) + KING_OFFSET];
    const king_lines lines = k == 0 ? king_lines{} : lines_after(e.lines, k, m);
    pieces_do_move(e, m);
    const int code = side == RED ? king_attack<RED>(e, lines) : king_attack<BLACK>(e, lines);
    pieces_undo_move(e, m);
    TAVOX_SELF_CHECK(code == check_after_full_move(e, m, side));
    return code == 0;
}

int capture_defended(Count& e, const move_t& m) {
    if (m.captured == EMPTY_SQUARE) return 0;
    const int t = m.to, from = m.from;
    // As if the capturer had left its square: lines through the origin open
    // up. Nothing else needs changing: the search reads no value of the
    // target square and starts its line scans there, never reading its own
    // bit, so the victim is found nowhere (its square still passes the rank
    // and file tests, which only decide whether to scan).
    const int32_t mover = e.board[from];
    e.board[from] = EMPTY_SQUARE;
    occupancy_flip(e.lines, from);
    const int found = (m.captured & RED_BIT) ? attacker_of<RED>(e, t) : attacker_of<BLACK>(e, t);
    occupancy_flip(e.lines, from);
    e.board[from] = mover;
    return found;
}
