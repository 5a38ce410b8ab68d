// A number for each ordered pair of playing squares (a move's from and to),
// as the move-ordering history keeps them. Only the 90 playing squares get a
// row and a column, so the three history tables fit in the cache together.
#pragma once
#include <array>
#include <cstdint>

#include "board/geometry.h"

constexpr int BOARD_FILES = 9;
constexpr int BOARD_RANKS = 10;
constexpr int PLAYING_SQUARES = BOARD_FILES * BOARD_RANKS;

// file + BOARD_FILES * rank for a playing square, 0 elsewhere.
constexpr std::array<uint8_t, 256> PLAYING_INDEX = [] {
    std::array<uint8_t, 256> index{};
    for (int rank = 0; rank < BOARD_RANKS; ++rank)
        for (int file = 0; file < BOARD_FILES; ++file)
            index[make_square(file, rank)] = static_cast<uint8_t>(file + BOARD_FILES * rank);
    return index;
}();

struct square_pair_table {
    int32_t cell[PLAYING_SQUARES * PLAYING_SQUARES];

    static int at(int from, int to) { return PLAYING_INDEX[from] * PLAYING_SQUARES + PLAYING_INDEX[to]; }
    int32_t& operator()(int from, int to) { return cell[at(from, to)]; }
    int32_t operator()(int from, int to) const { return cell[at(from, to)]; }
};

// For each pair, how often the move was tried at a node that cut off and how
// often it made the cut: the two are always read together, from one line.
struct cut_tally {
    int32_t tries;
    int32_t hits;
};

struct square_pair_tallies {
    cut_tally cell[PLAYING_SQUARES * PLAYING_SQUARES];

    cut_tally& operator()(int from, int to) { return cell[square_pair_table::at(from, to)]; }
    const cut_tally& operator()(int from, int to) const { return cell[square_pair_table::at(from, to)]; }
};
