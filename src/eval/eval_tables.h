// Tables of the evaluation that do not live in the engine object: zone masks,
// the capture bonus and the attack weighting, plus the relative-rank view.
#pragma once
#include <cstdint>
#include <cstdlib>

#include "board/engine.h"

namespace eval {

// 1 on the listed squares, else 0 (filled by build_evaluation_tables).
extern uint8_t black_camp_centre[256];  // files c..g, ranks 1..3
extern uint8_t red_camp_centre[256];    // files c..g, ranks 6..8
extern uint8_t black_half_left[256];    // files a..d, ranks 0..4
extern uint8_t red_half_left[256];      // files a..d, ranks 5..9
extern uint8_t black_half_right[256];   // files f..i, ranks 0..4
extern uint8_t red_half_right[256];     // files f..i, ranks 5..9
extern uint8_t palace_files_mask[256];  // files d and f

// Where a square lies as seen by the side attacking it: one byte of flags per
// square, so that a piece's zones take one load.
constexpr uint8_t ZONE_ENEMY_HALF = 1;
constexpr uint8_t ZONE_LEFT_WING = 2;    // enemy half, files a..d
constexpr uint8_t ZONE_RIGHT_WING = 4;   // enemy half, files f..i
constexpr uint8_t ZONE_CAMP_CENTRE = 8;  // the enemy camp centre
constexpr uint8_t ZONE_PALACE = 16;      // the enemy palace
extern uint8_t enemy_zone[2][256];     // [attacking side][square]; 0 at square 0
// The same zones as one-byte tallies, so that the squares of several pieces
// add up to their counts: byte 0 enemy half, byte 1 left wing, byte 2 right
// wing, byte 3 the enemy camp centre.
// The low word holds them as red attacks, the high word as black does: one
// load serves a piece's attack and its defence against the other side.
extern uint64_t zone_tally[256];
// One side's word of a tally of both.
template <int S>
uint32_t tally_seen_by(uint64_t t) { return static_cast<uint32_t>(S == RED ? t : t >> 32); }
inline int tally_half(uint32_t t) { return static_cast<int>(t & 0xff); }
inline int tally_wing(uint32_t t, int wing) { return static_cast<int>((t >> (8 + 8 * wing)) & 0xff); }
inline int tally_camp_centre(uint32_t t) { return static_cast<int>(t >> 24); }

constexpr int CAPTURE_BONUS_SIZE = 1024;
extern int32_t capture_value_bonus[CAPTURE_BONUS_SIZE];

constexpr int ATTACK_TABLE_SIZE = 16;
extern const int32_t attack_weight[ATTACK_TABLE_SIZE];
extern const int32_t attack_scale[ATTACK_TABLE_SIZE];  // sixteenths

// Rank seen from a side: 0 is the enemy back rank, 9 the own one; -1 off the board.
extern int8_t relative_rank[2][256];

// Writes the red piece values and their black mirror into base_square_value.
void fill_base_square_values(Count& e);

// Bonus for attacking the piece on `sq`, from the size of its square value.
// Kings (square values of about 4000) lie beyond the table and give nothing.
inline int capture_bonus(const Count& e, int sq) {
    const int v = std::abs(e.piece_square_value[e.board[sq]][sq]);
    return v < CAPTURE_BONUS_SIZE ? capture_value_bonus[v] : 0;
}

// The evaluation reads the bonus from Count::capture_bonus_by_code, one load
// that also answers whether the piece is an enemy: the rows of own pieces and
// of the empty and off-board squares hold 0. The low six bits of a board value
// tell every value apart that the board holds.
constexpr int bonus_row(int board_value) { return board_value & 63; }
static_assert(bonus_row(RED_BASE) == 16 && bonus_row(RED_BASE + 15) == 31);
static_assert(bonus_row(BLACK_BASE) == 32 && bonus_row(BLACK_BASE + 15) == 47);
static_assert(bonus_row(EMPTY_SQUARE) == 15 && bonus_row(OFF_BOARD) == 15);
// Refills capture_bonus_by_code from piece_square_value.
void refresh_capture_bonuses(Count& e);

// Counts above the table (two rooks, horses and cannons deep plus crossed pawns reach 19) use the last entry.
inline int attack_index(int count) { return count < ATTACK_TABLE_SIZE ? count : ATTACK_TABLE_SIZE - 1; }

}  // namespace eval
