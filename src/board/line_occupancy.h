// Which squares of each row and column of the 16x16 board hold something, a
// bit per square, kept beside the board by every change to it. A line scan
// then finds the nearest non-empty square with one bit search instead of a
// loop whose end no branch predictor learns.
//
// Off-board squares count as occupied, as the board itself marks them, so a
// scan from a playing square always meets a set bit: the nearest piece, or the
// first square past the edge.
#pragma once
#include <cstdint>

struct line_occupancy {
    uint32_t row[16];     // bit c: square 16 * r + c is not empty
    uint32_t column[16];  // bit r: square 16 * r + c is not empty
};

// The occupancy of a whole board, where EMPTY_SQUARE marks the empty squares.
line_occupancy occupancy_of(const int32_t board[256]);

// A square changed from empty to occupied or back.
inline void occupancy_flip(line_occupancy& o, int sq) {
    o.row[sq >> 4] ^= 1u << (sq & 15);
    o.column[sq & 15] ^= 1u << (sq >> 4);
}

// The first non-empty square after s in steps of D (one of -16, -1, +1, +16),
// for s on the board or next to it: the same square as stepping while the
// board holds EMPTY_SQUARE.
template <int D>
inline int next_occupied(const line_occupancy& o, int s) {
    static_assert(D == 1 || D == -1 || D == 16 || D == -16);
    const int c = s & 15, r = s >> 4;
    if constexpr (D == 1) {
        return s + 1 + __builtin_ctz(o.row[r] >> (c + 1));
    } else if constexpr (D == -1) {
        return (s & ~15) + (31 - __builtin_clz(o.row[r] & ((1u << c) - 1)));
    } else if constexpr (D == 16) {
        return s + 16 * (1 + __builtin_ctz(o.column[c] >> (r + 1)));
    } else {
        return ((31 - __builtin_clz(o.column[c] & ((1u << r) - 1))) << 4) | c;
    }
}

// The second non-empty square after s in steps of D: a cannon's target past
// its screen. Past the edge there is always one more off-board square.
template <int D>
inline int second_occupied(const line_occupancy& o, int s) {
    static_assert(D == 1 || D == -1 || D == 16 || D == -16);
    const int c = s & 15, r = s >> 4;
    auto without_lowest = [](uint32_t m) { return m & (m - 1); };
    auto without_highest = [](uint32_t m) { return m ^ (1u << (31 - __builtin_clz(m))); };
    if constexpr (D == 1) {
        return s + 1 + __builtin_ctz(without_lowest(o.row[r] >> (c + 1)));
    } else if constexpr (D == -1) {
        return (s & ~15) + (31 - __builtin_clz(without_highest(o.row[r] & ((1u << c) - 1))));
    } else if constexpr (D == 16) {
        return s + 16 * (1 + __builtin_ctz(without_lowest(o.column[c] >> (r + 1))));
    } else {
        return ((31 - __builtin_clz(without_highest(o.column[c] & ((1u << r) - 1)))) << 4) | c;
    }
}

inline int next_occupied(const line_occupancy& o, int s, int step) {
    switch (step) {
        case 1: return next_occupied<1>(o, s);
        case -1: return next_occupied<-1>(o, s);
        case 16: return next_occupied<16>(o, s);
        default: return next_occupied<-16>(o, s);
    }
}

// The number of steps of `step` from a to b on one line.
inline int steps_between(int a, int b, int step) {
    const int d = b > a ? b - a : a - b;
    return step == 1 || step == -1 ? d : d >> 4;
}
