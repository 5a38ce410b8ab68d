// Square geometry of the 16x16 mailbox: playing square = 52 + file + 16 * rank,
// file 0..8 (a..i), rank 0..9 from black's back rank.
#pragma once
#include <cstdint>

extern int32_t square_of_file_rank[9][10];
extern int32_t mirror_square[256];
extern int32_t rank_of_square[256];
extern int32_t file_of_square[256];
extern uint8_t in_black_palace[256];
extern uint8_t in_red_palace[256];
extern uint8_t in_black_half[256];
extern uint8_t in_red_half[256];

// Fills the tables above; safe to call more than once.
void build_geometry();

constexpr int RANK_STEP = 16;  // from one rank to the next
constexpr int make_square(int file, int rank) { return 52 + file + RANK_STEP * rank; }
constexpr int FIRST_SQUARE = make_square(0, 0);
constexpr int LAST_SQUARE = make_square(8, 9);
// File and rank of a playing square.
constexpr int square_file(int s) { return (s - FIRST_SQUARE) % RANK_STEP; }
constexpr int square_rank(int s) { return (s - FIRST_SQUARE) / RANK_STEP; }
constexpr bool is_playing_square(int s) {
    return s >= FIRST_SQUARE && s <= LAST_SQUARE && ((s - FIRST_SQUARE) & 15) <= 8;
}
