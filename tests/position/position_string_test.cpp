#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "position/position_string.h"
#include "test_engine.h"

namespace {

constexpr const char* kStartFen = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1";

std::string convert(const char* fen, int& side) {
    char out[POSITION_STRING_SIZE];
    side = -1;
    EXPECT_TRUE(fen_to_position_string(fen, out, side)) << fen;
    return out;
}

TEST(FenConversion, InitialArrayGivesTheStartString) {
    int side = -1;
    EXPECT_EQ(convert(kStartFen, side), START_POSITION_STRING);
    EXPECT_EQ(side, 0);
    EXPECT_EQ(std::strlen(START_POSITION_STRING), 117u);
}

TEST(FenConversion, EndgamePositionSlots) {
    int side = -1;
    const std::string s = convert("4k4/4a4/4P4/9/9/9/9/4B4/9/4K4 w - - 0 1", side);
    EXPECT_EQ(side, 0);
    EXPECT_EQ(s, "88 0 0 0 0 0 0 0 0 0 0 168 0 0 0 200 0 0 0 0 0 0 0 0 0 0 0 0 0 72 0 56 ");
}

TEST(FenConversion, SideField) {
    struct Case {
        const char* fen;
        int side;  // -1: refused
    } cases[] = {
        {"4k4/9/9/9/9/9/9/9/9/4K4 w", 0},  {"4k4/9/9/9/9/9/9/9/9/4K4 r", 0},  {"4k4/9/9/9/9/9/9/9/9/4K4 b", 1},
        {"4k4/9/9/9/9/9/9/9/9/4K4", 0},    {"4k4/9/9/9/9/9/9/9/9/4K4   b - -", 1},
        {"4k4/9/9/9/9/9/9/9/9/4K4 x", -1}, {"4k4/9/9/9/9/9/9/9/9/4K4 W", -1}, {"4k4/9/9/9/9/9/9/9/9/4K4 B", -1},
        {"4k4/9/9/9/9/9/9/9/9/4K4 bw", -1}, {"4k4/9/9/9/9/9/9/9/9/4K4 moves", -1},
    };
    for (const auto& c : cases) {
        char out[POSITION_STRING_SIZE];
        int side = -1;
        const bool ok = fen_to_position_string(c.fen, out, side);
        EXPECT_EQ(ok, c.side >= 0) << c.fen;
        if (ok) {
            EXPECT_EQ(side, c.side) << c.fen;
        }
    }
}

TEST(FenConversion, EmptyTextMeansTheInitialArray) {
    int side = -1;
    EXPECT_EQ(convert("", side), START_POSITION_STRING);
    EXPECT_EQ(convert("   ", side), START_POSITION_STRING);
}

TEST(FenConversion, RefusesWhatDoesNotFitTheBoardModel) {
    const char* bad[] = {
        "4k4/9/9/9/9/9/9/9/9/4K4/9 w",                // 11 rows
        "4k4/9/9/9/9/9/9/9/4K4 w",                    // 9 rows
        "4k5/9/9/9/9/9/9/9/9/4K4 w",                  // a row of 10 cells
        "4k3/9/9/9/9/9/9/9/9/4K4 w",                  // a row of 8 cells
        "4kx3/9/9/9/9/9/9/9/9/4K4 w",                 // unknown letter
        "4k4/9/9/9/9/9/9/9/9/4K4/ w",                 // trailing separator
        "RRR1k4/9/9/9/9/9/9/9/9/4K4 w",               // three red rooks
        "PPPPPPk2/9/9/9/9/9/9/9/9/4K4 w",             // six red pawns
        "3kk4/9/9/9/9/9/9/9/9/4K4 w",                 // two black kings
        "4k4/9/9/9/9/9/9/9/9/4K4+ w",                 // stray character
        "4k4/9/9/9/9/9/9/9/9/4K4444444444444444 w",   // runs past the board
    };
    for (const char* fen : bad) {
        char out[POSITION_STRING_SIZE] = "unchanged";
        int side = 0;
        const char* error = nullptr;
        EXPECT_FALSE(fen_to_position_string(fen, out, side, &error)) << fen;
        EXPECT_NE(error, nullptr) << fen;
    }
}

TEST(SetupPosition, StartPositionInvariants) {
    auto e = make_engine();
    setup_position(*e, START_POSITION_STRING, 0);
    EXPECT_EQ(e->side_to_move, 0);
    EXPECT_EQ(e->board[200], RED_KING);
    EXPECT_EQ(e->board[56], BLACK_KING);
    EXPECT_EQ(e->piece_square[RED_KING], 200);
    EXPECT_EQ(e->red_count, 16);
    EXPECT_EQ(e->black_count, 16);
    EXPECT_EQ(e->type_count[PAWN], 5);
    EXPECT_EQ(e->type_count[ROOK + 7], 2);
    EXPECT_EQ(e->book_miss_count, 0);
    EXPECT_EQ(e->ply, 0);
    EXPECT_NE(e->zobrist_key, 0u);
    int empty = 0, off = 0;
    for (int s = 0; s < 256; ++s) {
        empty += e->board[s] == EMPTY_SQUARE;
        off += e->board[s] == OFF_BOARD;
    }
    EXPECT_EQ(empty, 90 - 32);
    EXPECT_EQ(off, 256 - 90);
}

TEST(SetupPosition, InitialArrayWithBlackToMoveKeepsTheSideWithoutBook) {
    auto e = make_engine();
    setup_position(*e, START_POSITION_STRING, 1);
    EXPECT_EQ(e->side_to_move, 1);
    EXPECT_EQ(e->book_miss_count, 9999);
    EXPECT_EQ(e->red_count, 16);
    setup_position(*e, nullptr, 1);  // no string: the start of the process, red to move
    EXPECT_EQ(e->side_to_move, 0);
    EXPECT_EQ(e->book_miss_count, 0);
}

TEST(PossiblePosition, RefusesWhatNoGameReaches) {
    struct Case {
        const char* fen;
        const char* reason;  // null: possible
    } cases[] = {
        {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b", nullptr},
        {"3k5/9/9/9/9/9/9/9/9/4K4 w", nullptr},
        {"3k5/4R4/9/9/9/9/9/9/9/4K4 b", nullptr},              // the side to move is in check
        {"4k4/9/9/9/9/9/9/9/9/4K4 w", "the kings face each other"},
        {"4k4/9/9/9/9/9/9/9/9/4K4 b", "the kings face each other"},
        {"3k5/3R5/9/9/9/9/9/9/9/4K4 w", "the side not to move is in check"},
        {"3k5/9/9/9/9/9/9/9/9/4K2r1 b", "the side not to move is in check"},
        {"9/9/9/9/9/9/9/9/9/4K4 w", "a king is missing"},
        {"3k5/9/9/9/9/9/9/9/9/9 b", "a king is missing"},
        {"3k5/9/9/9/9/9/9/4K4/9/9 w", nullptr},                 // e2 is in the palace
        {"3k5/9/9/9/9/9/4K4/9/9/9 w", "a king stands outside its palace"},
        {"9/9/9/3k5/9/9/9/9/9/4K4 w", "a king stands outside its palace"},
        {"3k5/9/9/9/9/9/9/9/9/3KA4 w", "an advisor stands off its squares"},
        {"3k5/4a4/9/9/9/9/9/9/9/4K4 w", nullptr},
        {"3k1a3/9/9/9/9/9/9/9/9/4K4 w", nullptr},
        {"3k5/3a5/9/9/9/9/9/9/9/4K4 w", "an advisor stands off its squares"},
        {"3k5/9/9/9/9/9/9/9/9/1B2K4 w", "an elephant stands off its squares"},
        {"3k5/9/9/9/2B6/9/9/9/9/4K4 w", "an elephant stands off its squares"},  // across the river
        {"3k5/9/9/9/9/2B6/9/9/9/4K4 w", nullptr},
        {"3k5/9/9/9/9/9/2B6/9/9/4K4 w", "an elephant stands off its squares"},
        {"3k5/9/b8/9/9/9/9/9/9/4K4 w", nullptr},
        {"3k5/9/9/b8/9/9/9/9/9/4K4 w", "an elephant stands off its squares"},
    };
    for (const auto& c : cases) {
        auto e = make_engine();
        set_fen(*e, "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w");
        int32_t board[256];
        std::memcpy(board, e->board, sizeof(board));
        char ps[POSITION_STRING_SIZE];
        int side = 0;
        ASSERT_TRUE(fen_to_position_string(c.fen, ps, side)) << c.fen;
        const char* error = nullptr;
        EXPECT_EQ(position_is_possible(*e, ps, side, &error), c.reason == nullptr) << c.fen;
        if (c.reason) {
            EXPECT_STREQ(error, c.reason) << c.fen;
        }
        EXPECT_EQ(0, std::memcmp(board, e->board, sizeof(board))) << c.fen;
        EXPECT_EQ(e->piece_square[RED_KING], 200) << c.fen;
    }
}

TEST(SetupPosition, OtherPositionsAndSquareZero) {
    auto e = make_engine();
    char ps[POSITION_STRING_SIZE];
    int side = 0;
    ASSERT_TRUE(fen_to_position_string("4k4/4a4/4P4/9/9/9/9/4B4/9/4K4 b - - 0 1", ps, side));
    setup_position(*e, ps, side);
    EXPECT_EQ(e->side_to_move, 1);
    EXPECT_EQ(e->book_miss_count, 9999);
    EXPECT_EQ(e->red_count, 3);
    EXPECT_EQ(e->black_count, 2);
    EXPECT_EQ(e->piece_square[RED_BASE + 2], 0);  // slot 2 absent

    // The start string without its final blank is not the initial array.
    std::string s = START_POSITION_STRING;
    s.pop_back();
    setup_position(*e, s.c_str(), 0);
    EXPECT_EQ(e->book_miss_count, 9999);
    EXPECT_EQ(e->red_count, 16);
}

TEST(SetupPosition, HashesDependOnlyOnThePlacement) {
    auto a = make_engine();
    auto b = make_engine();
    set_fen(*a, "4k4/9/9/9/9/9/9/9/9/R3K4 w");
    set_fen(*b, "4k4/9/9/9/9/9/9/9/9/R3K4 b");
    EXPECT_EQ(a->zobrist_key, b->zobrist_key);
    EXPECT_EQ(a->zobrist_lock, b->zobrist_lock);
    set_fen(*b, "4k4/9/9/9/9/9/9/9/9/1R2K4 w");
    EXPECT_NE(a->zobrist_key, b->zobrist_key);
    EXPECT_NE(a->zobrist_lock, b->zobrist_lock);
}

}  // namespace
