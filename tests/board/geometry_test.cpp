#include <gtest/gtest.h>

#include "board/engine.h"
#include "board/geometry.h"

namespace {

TEST(Geometry, TableValues) {
    build_geometry();
    EXPECT_EQ(square_of_file_rank[0][0], 52);
    EXPECT_EQ(square_of_file_rank[8][9], 204);
    EXPECT_EQ(square_of_file_rank[4][9], 200);
    EXPECT_EQ(mirror_square[52], 60);
    EXPECT_EQ(mirror_square[0], 0);
    EXPECT_EQ(mirror_square[200], 200);
    EXPECT_EQ(mirror_square[197], 203);
    EXPECT_EQ(file_of_square[61], 9);
    EXPECT_EQ(file_of_square[205], -1);
    EXPECT_EQ(file_of_square[51], -1);
    EXPECT_EQ(rank_of_square[204], 9);
    EXPECT_EQ(rank_of_square[52], 0);
    EXPECT_EQ(file_of_square[171], 7);
    EXPECT_EQ(rank_of_square[171], 7);
}

TEST(Geometry, PalacesAndHalves) {
    build_geometry();
    int black_palace = 0, red_palace = 0, black_half = 0, red_half = 0;
    for (int s = 0; s < 256; ++s) {
        black_palace += in_black_palace[s];
        red_palace += in_red_palace[s];
        black_half += in_black_half[s];
        red_half += in_red_half[s];
        if (in_black_half[s] || in_red_half[s]) {
            EXPECT_TRUE(is_playing_square(s)) << s;
        }
    }
    EXPECT_EQ(black_palace, 9);
    EXPECT_EQ(red_palace, 9);
    EXPECT_EQ(black_half, 45);
    EXPECT_EQ(red_half, 45);
    EXPECT_TRUE(in_black_palace[56]);
    EXPECT_TRUE(in_red_palace[200]);
    EXPECT_TRUE(in_red_palace[167]);
    EXPECT_FALSE(in_red_palace[166]);
    EXPECT_TRUE(in_black_half[make_square(0, 4)]);
    EXPECT_TRUE(in_red_half[make_square(0, 5)]);
}

TEST(EngineObject, PieceTables) {
    static CountEx e;
    struct Row {
        int offset, red_type, order, cls;
    } rows[] = {
        {0, KING, 1, 5}, {1, PAWN, 13, 1}, {5, PAWN, 13, 1}, {6, CANNON, 8, 3}, {8, HORSE, 7, 3},
        {10, ROOK, 4, 4}, {12, ELEPHANT, 12, 2}, {14, ADVISOR, 11, 2}, {15, ADVISOR, 11, 2},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(e.piece_type[RED_BASE + r.offset], r.red_type) << r.offset;
        EXPECT_EQ(e.piece_type[BLACK_BASE + r.offset], r.red_type + 7) << r.offset;
        EXPECT_EQ(e.piece_order[RED_BASE + r.offset], r.order);
        EXPECT_EQ(e.piece_order[BLACK_BASE + r.offset], r.order);
        EXPECT_EQ(e.piece_class[r.red_type], r.cls);
        EXPECT_EQ(e.piece_class[r.red_type + 7], r.cls);
    }
    EXPECT_EQ(e.piece_type[EMPTY_SQUARE], 0);
    EXPECT_EQ(e.piece_type[OFF_BOARD], 0);
    EXPECT_EQ(e.piece_order[EMPTY_SQUARE], 0);
    // The bit tricks the generators rely on.
    for (int k = 0; k < 16; ++k) {
        EXPECT_TRUE((RED_BASE + k) & RED_BIT);
        EXPECT_TRUE((RED_BASE + k) & BLACK_TARGET_BIT);
        EXPECT_FALSE((RED_BASE + k) & RED_TARGET_BIT);
        EXPECT_TRUE((BLACK_BASE + k) & BLACK_BIT);
        EXPECT_TRUE((BLACK_BASE + k) & RED_TARGET_BIT);
        EXPECT_FALSE((BLACK_BASE + k) & BLACK_TARGET_BIT);
    }
    EXPECT_TRUE(EMPTY_SQUARE & RED_TARGET_BIT && EMPTY_SQUARE & BLACK_TARGET_BIT);
    EXPECT_FALSE(OFF_BOARD & (RED_TARGET_BIT | BLACK_TARGET_BIT | RED_BIT | BLACK_BIT));
}

}  // namespace
