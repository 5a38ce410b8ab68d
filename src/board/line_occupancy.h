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

    // What the scans read; a view of some lines only offers the same two.
    uint32_t row_bits(int r) const { return row[r]; }
    uint32_t column_bits(int c) const { return column[c]; }
};

// The occupancy of a whole board, where EMPTY_SQUARE marks the empty squares.
line_occupancy occupancy_of(const int32_t board[256]);

// A square changed from empty to occupied or back.
inline void occupancy_flip(line_occupancy& o, int sq) {
    o.row[sq >> 4] ^= 1u << (sq & 15);
    o.column[sq & 15] ^= 1u << (sq >> 4);
}

// The index of the highest set bit of m (not 0). The bit-scan instruction
// gives it at once; g++ turns 31 - clz into two more steps on every scan's
// path (clang folds them away itself).
inline int highest_bit(uint32_t m) {
#if defined(__GNUC__) && !defined(__clang__) && (defined(__x86_64__) || defined(__i386__))
    return __builtin_ia32_bsrsi(static_cast<int>(m));
#else
    return 31 - __builtin_clz(m);
#endif
}

// The first non-empty square after s in steps of D (one of -16, -1, +1, +16),
// for s on the board or next to it: the same square as stepping while the
// board holds EMPTY_SQUARE.
template <int D, class Lines>
inline int next_occupied(const Lines& o, int s) {
    static_assert(D == 1 || D == -1 || D == 16 || D == -16);
    const int c = s & 15, r = s >> 4;
    if constexpr (D == 1) {
        return s + 1 + __builtin_ctz(o.row_bits(r) >> (c + 1));
    } else if constexpr (D == -1) {
        return (s & ~15) + highest_bit(o.row_bits(r) & ((1u << c) - 1));
    } else if constexpr (D == 16) {
        return s + 16 * (1 + __builtin_ctz(o.column_bits(c) >> (r + 1)));
    } else {
        return (highest_bit(o.column_bits(c) & ((1u << r) - 1)) << 4) | c;
    }
}

// The second non-empty square after s in steps of D: a cannon's target past
// its screen. Past the edge there is always one more off-board square.
template <int D, class Lines>
inline int second_occupied(const Lines& o, int s) {
    static_assert(D == 1 || D == -1 || D == 16 || D == -16);
    const int c = s & 15, r = s >> 4;
    auto without_lowest = [](uint32_t m) { return m & (m - 1); };
    auto without_highest = [](uint32_t m) { return m ^ (1u << highest_bit(m)); };
    if constexpr (D == 1) {
        return s + 1 + __builtin_ctz(without_lowest(o.row_bits(r) >> (c + 1)));
    } else if constexpr (D == -1) {
        return (s & ~15) + highest_bit(without_highest(o.row_bits(r) & ((1u << c) - 1)));
    } else if constexpr (D == 16) {
        return s + 16 * (1 + __builtin_ctz(without_lowest(o.column_bits(c) >> (r + 1))));
    } else {
        return (highest_bit(without_highest(o.column_bits(c) & ((1u << r) - 1))) << 4) | c;
    }
}

// The first and the second non-empty squares after s in steps of D, from one
// read of the line: whoever needs both (a cannon behind a screen) loads the
// two squares at once rather than one after the other.
template <int D, class Lines>
inline void first_two_occupied(const Lines& o, int s, int& first, int& second) {
    static_assert(D == 1 || D == -1 || D == 16 || D == -16);
    const int c = s & 15, r = s >> 4;
    if constexpr (D == 1) {
        const uint32_t m = o.row_bits(r) >> (c + 1);
        first = s + 1 + __builtin_ctz(m);
        second = s + 1 + __builtin_ctz(m & (m - 1));
    } else if constexpr (D == -1) {
        const uint32_t m = o.row_bits(r) & ((1u << c) - 1);
        const int high = highest_bit(m);
        first = (s & ~15) + high;
        second = (s & ~15) + highest_bit(m ^ (1u << high));
    } else if constexpr (D == 16) {
        const uint32_t m = o.column_bits(c) >> (r + 1);
        first = s + 16 * (1 + __builtin_ctz(m));
        second = s + 16 * (1 + __builtin_ctz(m & (m - 1)));
    } else {
        const uint32_t m = o.column_bits(c) & ((1u << r) - 1);
        const int high = highest_bit(m);
        first = (high << 4) | c;
        second = (highest_bit(m ^ (1u << high)) << 4) | c;
    }
}

// The first three non-empty squares after s in steps of D, from one read of
// the line: a cannon's screen, target and the piece past it. Every line has
// at least three off-board squares past each edge, so all three exist.
template <int D, class Lines>
inline void first_three_occupied(const Lines& o, int s, int& first, int& second, int& third) {
    static_assert(D == 1 || D == -1 || D == 16 || D == -16);
    const int c = s & 15, r = s >> 4;
    if constexpr (D == 1 || D == 16) {
        uint32_t m = D == 1 ? o.row_bits(r) >> (c + 1) : o.column_bits(c) >> (r + 1);
        const int a = __builtin_ctz(m);
        m &= m - 1;
        const int b = __builtin_ctz(m);
        m &= m - 1;
        const int z = __builtin_ctz(m);
        first = s + D * (1 + a);
        second = s + D * (1 + b);
        third = s + D * (1 + z);
    } else {
        uint32_t m = D == -1 ? o.row_bits(r) & ((1u << c) - 1) : o.column_bits(c) & ((1u << r) - 1);
        const int a = highest_bit(m);
        m ^= 1u << a;
        const int b = highest_bit(m);
        m ^= 1u << b;
        const int z = highest_bit(m);
        if constexpr (D == -1) {
            first = (s & ~15) + a, second = (s & ~15) + b, third = (s & ~15) + z;
        } else {
            first = (a << 4) | c, second = (b << 4) | c, third = (z << 4) | c;
        }
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
