// The move record and the board-value constants every part of the engine shares.
#pragma once
#include <cstdint>

struct move_t {
    int32_t score;
    int32_t from;
    int32_t to;
    int32_t piece;
    int32_t captured;  // EMPTY_SQUARE for a quiet move
};

inline bool same_move(const move_t& a, const move_t& b) { return a.from == b.from && a.to == b.to; }

// Board values. The codes are chosen so that one AND answers the common questions:
// 0xC0 marks a piece, 0x80 red, 0x40 black; 0x100 is set on the squares a red piece
// may enter (black pieces and empty), 0x200 on those a black piece may enter.
constexpr int EMPTY_SQUARE = 783;  // 0x30F
constexpr int OFF_BOARD = 15;      // 0x00F
constexpr int RED_BIT = 0x80;
constexpr int BLACK_BIT = 0x40;
constexpr int RED_TARGET_BIT = 0x100;
constexpr int BLACK_TARGET_BIT = 0x200;

constexpr int RED = 0;
constexpr int BLACK = 1;

// Piece codes: base + offset. Offsets within a side.
constexpr int RED_BASE = 656;    // 0x290
constexpr int BLACK_BASE = 352;  // 0x160
constexpr int KING_OFFSET = 0;
constexpr int PAWN_OFFSET = 1;      // 1..5
constexpr int CANNON_OFFSET = 6;    // 6, 7
constexpr int HORSE_OFFSET = 8;     // 8, 9
constexpr int ROOK_OFFSET = 10;     // 10, 11
constexpr int ELEPHANT_OFFSET = 12; // 12, 13
constexpr int ADVISOR_OFFSET = 14;  // 14, 15

constexpr int RED_KING = RED_BASE;
constexpr int BLACK_KING = BLACK_BASE;

// Piece types: red 1..7, black 8..14.
constexpr int PAWN = 1, ELEPHANT = 2, ADVISOR = 3, HORSE = 4, CANNON = 5, ROOK = 6, KING = 7;
constexpr int BLACK_TYPE_OFFSET = 7;

// Check codes and capture ranking (piece_order).
constexpr int ORDER_KING = 1, ORDER_ROOK = 4, ORDER_HORSE = 7, ORDER_CANNON = 8;
constexpr int ORDER_ADVISOR = 11, ORDER_ELEPHANT = 12, ORDER_PAWN = 13;

constexpr int side_base(int side) { return side == RED ? RED_BASE : BLACK_BASE; }
