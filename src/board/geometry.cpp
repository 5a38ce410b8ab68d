#include "board/geometry.h"

int32_t square_of_file_rank[9][10];
int32_t mirror_square[256];
int32_t rank_of_square[256];
int32_t file_of_square[256];
uint8_t in_black_palace[256];
uint8_t in_red_palace[256];
uint8_t in_black_half[256];
uint8_t in_red_half[256];

void build_geometry() {
    for (int f = 0; f < 9; ++f)
        for (int r = 0; r < 10; ++r) square_of_file_rank[f][r] = make_square(f, r);

    for (int s = 0; s < 256; ++s) {
        rank_of_square[s] = -1;
        file_of_square[s] = -1;
    }

    for (int s = 0; s < 256; ++s) mirror_square[s] = s;
    for (int f = 0; f < 9; ++f)
        for (int r = 0; r < 10; ++r) mirror_square[square_of_file_rank[f][r]] = square_of_file_rank[8 - f][r];

    // Truncating division, as on the raw square; the margins are reset below.
    for (int s = 0; s < 256; ++s) {
        file_of_square[s] = square_file(s);
        rank_of_square[s] = square_rank(s);
    }
    for (int s = 0; s < FIRST_SQUARE; ++s) file_of_square[s] = rank_of_square[s] = -1;
    for (int s = LAST_SQUARE + 1; s < 256; ++s) file_of_square[s] = rank_of_square[s] = -1;

    for (int s = 0; s < 256; ++s) in_black_palace[s] = in_red_palace[s] = in_black_half[s] = in_red_half[s] = 0;
    for (int f = 0; f < 9; ++f) {
        for (int r = 0; r < 10; ++r) {
            const int s = square_of_file_rank[f][r];
            const bool palace_file = f >= 3 && f <= 5;
            if (palace_file && r <= 2) in_black_palace[s] = 1;
            if (palace_file && r >= 7) in_red_palace[s] = 1;
            if (r <= 4) in_black_half[s] = 1;
            else in_red_half[s] = 1;
        }
    }
}
