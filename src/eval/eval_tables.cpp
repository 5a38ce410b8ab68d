#include "eval/eval_tables.h"

#include <cstring>
#include <initializer_list>

#include "board/geometry.h"
#include "eval/evaluate.h"

namespace eval {

uint8_t black_camp_centre[256];
uint8_t red_camp_centre[256];
uint8_t black_half_left[256];
uint8_t red_half_left[256];
uint8_t black_half_right[256];
uint8_t red_half_right[256];
uint8_t palace_files_mask[256];

int32_t capture_value_bonus[CAPTURE_BONUS_SIZE];

const int32_t attack_weight[ATTACK_TABLE_SIZE] = {0, 0, 0, 10, 20, 40, 60, 80, 100, 120, 140, 160, 160, 160, 160, 160};
const int32_t attack_scale[ATTACK_TABLE_SIZE] = {0, 0, 8, 10, 12, 13, 14, 15, 16, 16, 16, 16, 16, 16, 16, 16};

int8_t relative_rank[2][256];
uint8_t enemy_zone[2][256];
uint64_t zone_tally[256];

namespace {

void mark(uint8_t* mask, int file_first, int file_last, int rank_first, int rank_last) {
    for (int f = file_first; f <= file_last; ++f)
        for (int r = rank_first; r <= rank_last; ++r) mask[make_square(f, r)] = 1;
}

void build_zone_masks() {
    for (uint8_t* m : {black_camp_centre, red_camp_centre, black_half_left, red_half_left, black_half_right,
                       red_half_right, palace_files_mask})
        std::memset(m, 0, 256);
    mark(black_camp_centre, 2, 6, 1, 3);
    mark(red_camp_centre, 2, 6, 6, 8);
    mark(black_half_left, 0, 3, 0, 4);
    mark(red_half_left, 0, 3, 5, 9);
    mark(black_half_right, 5, 8, 0, 4);
    mark(red_half_right, 5, 8, 5, 9);
    mark(palace_files_mask, 3, 3, 0, 9);
    mark(palace_files_mask, 5, 5, 0, 9);

    build_geometry();
    for (int sq = 0; sq < 256; ++sq) {
        enemy_zone[RED][sq] = static_cast<uint8_t>(
            (in_black_half[sq] ? ZONE_ENEMY_HALF : 0) | (black_half_left[sq] ? ZONE_LEFT_WING : 0) |
            (black_half_right[sq] ? ZONE_RIGHT_WING : 0) | (black_camp_centre[sq] ? ZONE_CAMP_CENTRE : 0) |
            (in_black_palace[sq] ? ZONE_PALACE : 0));
        enemy_zone[BLACK][sq] = static_cast<uint8_t>(
            (in_red_half[sq] ? ZONE_ENEMY_HALF : 0) | (red_half_left[sq] ? ZONE_LEFT_WING : 0) |
            (red_half_right[sq] ? ZONE_RIGHT_WING : 0) | (red_camp_centre[sq] ? ZONE_CAMP_CENTRE : 0) |
            (in_red_palace[sq] ? ZONE_PALACE : 0));
        zone_tally[sq] = 0;
        for (int side : {RED, BLACK}) {
            const uint8_t z = enemy_zone[side][sq];
            const uint64_t t = ((z & ZONE_ENEMY_HALF) ? 1u : 0u) | ((z & ZONE_LEFT_WING) ? 1u << 8 : 0u) |
                               ((z & ZONE_RIGHT_WING) ? 1u << 16 : 0u) | ((z & ZONE_CAMP_CENTRE) ? 1u << 24 : 0u);
            zone_tally[sq] |= t << (side == RED ? 0 : 32);
        }
    }
}

void build_relative_ranks() {
    std::memset(relative_rank, -1, sizeof(relative_rank));
    for (int f = 0; f < 9; ++f) {
        for (int r = 0; r < 10; ++r) {
            relative_rank[RED][make_square(f, r)] = static_cast<int8_t>(r);
            relative_rank[BLACK][make_square(f, r)] = static_cast<int8_t>(9 - r);
        }
    }
}

int bonus_for(int v) {
    if (v < 10) return 0;
    if (v <= 50) return v / -5;
    if (v <= 249) return v / 20;
    if (v <= 500) return v / 80;
    if (v <= 999) return v / 350;
    return 0;
}

}  // namespace

// Only the enemy rows on the playing squares change: a piece stands nowhere
// else, and the other rows stay as build_evaluation_tables cleared them.
void refresh_capture_bonuses(Count& e) {
    for (int side : {RED, BLACK}) {
        const int enemy_base = side_base(1 - side);
        for (int code = enemy_base; code < enemy_base + 16; ++code) {
            for (int r = 0; r < 10; ++r) {
                for (int sq = make_square(0, r); sq <= make_square(8, r); ++sq) {
                    const int v = std::abs(e.piece_square_value[code][sq]);
                    const int bonus = v < CAPTURE_BONUS_SIZE ? capture_value_bonus[v] : 0;
                    e.capture_bonus_by_code[side][bonus_row(code)][sq] = static_cast<int8_t>(bonus);
                }
            }
        }
    }
}

}  // namespace eval

void build_evaluation_tables(Count& e) {
    eval::build_zone_masks();
    eval::build_relative_ranks();
    std::memset(e.base_square_value, 0, sizeof(e.base_square_value));
    std::memset(e.piece_square_value, 0, sizeof(e.piece_square_value));
    std::memset(e.capture_bonus_by_code, 0, sizeof(e.capture_bonus_by_code));
    eval::fill_base_square_values(e);
    for (int v = 0; v < eval::CAPTURE_BONUS_SIZE; ++v) eval::capture_value_bonus[v] = eval::bonus_for(v);
    eval::refresh_capture_bonuses(e);
}
