// Every evaluation rule is written once, from red's side of the board, and
// applied to black through this view: ranks mirrored (r -> 9 - r), files
// kept, colours and colour bits exchanged.
#pragma once
#include <initializer_list>

#include "board/engine.h"
#include "board/geometry.h"
#include "board/self_check.h"
#include "board/side_traits.h"
#include "eval/eval_tables.h"

namespace eval {

// Square of a notation name as seen by red: file letter and digit (9 - rank).
constexpr int named(char file, int digit) { return make_square(file - 'a', 9 - digit); }
// The same file on the mirrored rank.
constexpr int mirror_rank(int s) { return make_square(square_file(s), 9 - square_rank(s)); }

constexpr int A9 = named('a', 9), B9 = named('b', 9), C9 = named('c', 9), D9 = named('d', 9), E9 = named('e', 9);
constexpr int F9 = named('f', 9), G9 = named('g', 9), H9 = named('h', 9), I9 = named('i', 9);
constexpr int C8 = named('c', 8), D8 = named('d', 8), E8 = named('e', 8), F8 = named('f', 8), G8 = named('g', 8);
constexpr int A7 = named('a', 7), B7 = named('b', 7), C7 = named('c', 7), D7 = named('d', 7), E7 = named('e', 7);
constexpr int F7 = named('f', 7), G7 = named('g', 7), H7 = named('h', 7), I7 = named('i', 7);
constexpr int A6 = named('a', 6), B6 = named('b', 6), D6 = named('d', 6), F6 = named('f', 6), H6 = named('h', 6);
constexpr int I6 = named('i', 6);
constexpr int A2 = named('a', 2), I2 = named('i', 2);
constexpr int A0 = named('a', 0), B0 = named('b', 0), C0 = named('c', 0), G0 = named('g', 0), H0 = named('h', 0);
constexpr int I0 = named('i', 0);

constexpr int FILE_D = 3, FILE_E = 4, FILE_F = 5;
constexpr int LEFT = 0, RIGHT = 1;  // wings: files a..d and f..i

// Stands in for a captured king: off the board, with every neighbour off the board too.
constexpr int NO_KING_SQUARE = 34;

inline int type_at(const Count& e, int sq) { return e.piece_type[e.board[sq]]; }
inline bool is_empty(const Count& e, int sq) { return e.board[sq] == EMPTY_SQUARE; }
inline bool is_rook_type(int t) { return t == ROOK || t == ROOK + BLACK_TYPE_OFFSET; }
inline bool is_pawn_type(int t) { return t == PAWN || t == PAWN + BLACK_TYPE_OFFSET; }
inline int file_of(int sq) { return file_of_square[sq]; }
// First non-empty square after `s` in steps of `step`: a piece, or the edge (OFF_BOARD).
inline int scan(const Count& e, int s, int step) { return next_occupied(e.lines, s, step); }

template <int S>
struct side_view : side_traits<S> {
    using traits = side_traits<S>;
    static constexpr int enemy = 1 - S;
    static constexpr int own_base = traits::own;

    // A square named from red's side, seen from this side.
    static constexpr int sq(int red_square) { return S == RED ? red_square : mirror_rank(red_square); }
    static constexpr int own_type(int red_type) { return S == RED ? red_type : red_type + BLACK_TYPE_OFFSET; }
    static constexpr int enemy_type(int red_type) { return S == RED ? red_type + BLACK_TYPE_OFFSET : red_type; }
    static int code(int offset, int k) { return own_base + offset + k; }

    // 0 on the enemy back rank, 9 on the own one, -1 off the board.
    static int rank(int s) { return relative_rank[S][s]; }
    // Square of `file` on relative rank `rank` (both on the board).
    static int square(int file, int rank) { return square_of_file_rank[file][S == RED ? rank : 9 - rank]; }

    static bool in_enemy_half(int s) { return traits::opp_half(s); }
    static bool in_enemy_palace(int s) { return traits::opp_palace(s); }
    static bool in_enemy_camp_centre(int s) { return (S == RED ? black_camp_centre : red_camp_centre)[s]; }
    static bool on_enemy_wing(int wing, int s) {
        return (S == RED ? (wing == LEFT ? black_half_left : black_half_right)
                         : (wing == LEFT ? red_half_left : red_half_right))[s];
    }
    static bool own_at(const Count& e, int s, int red_type) { return type_at(e, s) == own_type(red_type); }
    static bool enemy_at(const Count& e, int s, int red_type) { return type_at(e, s) == enemy_type(red_type); }
    static bool enemy_piece_at(const Count& e, int s) { return (e.board[s] & traits::enemy_bit) != 0; }
    // The capture bonus of the piece on s when it is an enemy's, else 0.
    static int enemy_bonus(const Count& e, int s) {
        const int v = e.board[s];
        const int bonus = e.capture_bonus_by_code[S][bonus_row(v)][s];
        TAVOX_SELF_CHECK(bonus == ((v & traits::enemy_bit) ? capture_bonus(e, s) : 0));
        return bonus;
    }
    static bool own_cannon_on_file(const Count& e, int file) {
        for (int k = 0; k < 2; ++k) {
            const int s = e.piece_square[code(CANNON_OFFSET, k)];
            if (s != 0 && file_of_square[s] == file) return true;
        }
        return false;
    }
    // Both pieces of a pair on the board and on one file.
    static bool pair_on_one_file(const Count& e, int offset) {
        const int a = e.piece_square[code(offset, 0)], b = e.piece_square[code(offset, 1)];
        return a != 0 && b != 0 && file_of_square[a] == file_of_square[b];
    }
};

}  // namespace eval
