// The position command: set-up, replay of the move list, refusal of bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/history.h"
#include "legal_game.h"
#include "test_engine.h"
#include "ucci/command.h"
#include "ucci/position_command.h"

namespace {

bool apply_line(Count& e, const std::string& line, position_origin_t* origin_out = nullptr) {
    command_t cmd{};
    if (parse_command(line.c_str(), cmd) != CMD_POSITION) return false;
    position_origin_t origin;
    const bool ok = apply_position_command(e, cmd, origin);
    if (origin_out) *origin_out = origin;
    return ok;
}

// Board, pieces, keys and ply of two engines agree.
void expect_same_position(const Count& a, const Count& b, const std::string& what) {
    EXPECT_EQ(0, std::memcmp(a.board, b.board, sizeof(a.board))) << what;
    EXPECT_EQ(0, std::memcmp(a.piece_square, b.piece_square, sizeof(a.piece_square))) << what;
    EXPECT_EQ(a.zobrist_key, b.zobrist_key) << what;
    EXPECT_EQ(a.zobrist_lock, b.zobrist_lock) << what;
    EXPECT_EQ(a.side_to_move, b.side_to_move) << what;
    EXPECT_EQ(a.ply, b.ply) << what;
}

TEST(PositionCommand, ReplaysMoves) {
    auto e = make_engine();
    ASSERT_TRUE(apply_line(*e, "position startpos moves h2e2"));
    EXPECT_EQ(e->piece_square[RED_BASE + 7], 168);  // the cannon of slot 7
    EXPECT_EQ(e->side_to_move, BLACK);
    EXPECT_EQ(e->ply, 1);
    EXPECT_EQ(e->key_stack[1], e->zobrist_key);

    ASSERT_TRUE(apply_line(*e, "position startpos moves h2e2 h9g7 h0g2 i9h9"));
    EXPECT_EQ(e->ply, 4);
    EXPECT_EQ(e->side_to_move, RED);
}

TEST(PositionCommand, ReplayEqualsTheFenOfTheResult) {
    auto replayed = make_engine();
    auto direct = make_engine();
    ASSERT_TRUE(apply_line(*replayed, "position startpos moves h2e2 h9g7"));
    ASSERT_TRUE(apply_line(*direct, "position fen rnbakab1r/9/1c4nc1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C4/9/RNBAKABNR w - - 0 1"));
    // Same placement, side and keys; only the history differs.
    EXPECT_EQ(0, std::memcmp(replayed->board, direct->board, sizeof(direct->board)));
    EXPECT_EQ(replayed->zobrist_key, direct->zobrist_key);
    EXPECT_EQ(replayed->side_to_move, direct->side_to_move);
    EXPECT_EQ(replayed->red_count, 16);
}

TEST(PositionCommand, IllegalMoveEndsTheReplayThere) {
    struct Case {
        const char* moves;
        const char* kept;
    } cases[] = {
        {"h2e2 h9g7 h2e3", "h2e2 h9g7"},             // a cannon cannot move so
        {"h2e2 h9g7 a4a5", "h2e2 h9g7"},             // empty from-square
        {"h2e2 h9g7 a9a8", "h2e2 h9g7"},             // a black piece while red is to move
        {"h2e2 h9g7 z2e2 e0e1", "h2e2 h9g7"},        // off the board; the rest is ignored too
        {"h2e2 h9g7 e2e", "h2e2 h9g7"},              // cut short
        {"h2e2 h9g7 e0e1 g7e6", "h2e2 h9g7 e0e1 g7e6"},
    };
    for (const auto& c : cases) {
        auto e = make_engine();
        auto expected = make_engine();
        ASSERT_TRUE(apply_line(*e, std::string("position startpos moves ") + c.moves));
        ASSERT_TRUE(apply_line(*expected, std::string("position startpos moves ") + c.kept));
        expect_same_position(*e, *expected, c.moves);
    }
}

TEST(PositionCommand, MoveThatLeavesTheKingAttackedIsRefused) {
    auto e = make_engine();
    // The horse on e1 stands between the kings: moving it would let them face each other.
    ASSERT_TRUE(apply_line(*e, "position fen 4k4/9/9/9/9/9/9/9/4N4/4K4 w - - 0 1 moves e1d3"));
    EXPECT_EQ(e->ply, 0);
    EXPECT_EQ(e->board[52 + 4 + 16 * 8], RED_BASE + HORSE_OFFSET);
    ASSERT_TRUE(apply_line(*e, "position fen 4k4/9/9/9/9/9/9/9/4N4/4K4 w - - 0 1 moves e0d0 e9f9 e1d3"));
    EXPECT_EQ(e->ply, 3);
}

TEST(PositionCommand, BadFenKeepsThePreviousPosition) {
    auto e = make_engine();
    auto before = make_engine();
    ASSERT_TRUE(apply_line(*e, "position startpos moves h2e2"));
    ASSERT_TRUE(apply_line(*before, "position startpos moves h2e2"));
    EXPECT_FALSE(apply_line(*e, "position fen rnbakabnr/9/1c5c1/p1p1p1p1p/9 w moves a0a1"));
    EXPECT_FALSE(apply_line(*e, "position fen RRRakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w"));
    expect_same_position(*e, *before, "after refused FENs");
}

TEST(PositionCommand, NamedPositionsSetUp) {
    struct Case {
        const char* line;
        int red, black;
    } cases[] = {
        {"position startpos", 16, 16},  {"position midgamepos", 15, 16}, {"position checkmatepos", 4, 13},
        {"position zugzwangpos", 4, 2}, {"position endgamepos", 3, 2},
    };
    for (const auto& c : cases) {
        auto e = make_engine();
        ASSERT_TRUE(apply_line(*e, c.line)) << c.line;
        EXPECT_EQ(e->red_count, c.red) << c.line;
        EXPECT_EQ(e->black_count, c.black) << c.line;
        EXPECT_EQ(e->side_to_move, RED) << c.line;
    }
}

TEST(PositionCommand, LongListsKeepTheirLatestPliesWithinTheStacks) {
    const std::string game = legal_game(1000, 3);
    auto whole = make_engine();
    auto shorter = make_engine();
    ASSERT_TRUE(apply_line(*whole, "position startpos moves " + game));
    ASSERT_TRUE(apply_line(*shorter, "position startpos moves " + game.substr(0, game.size() - 5)));
    EXPECT_LT(whole->ply, HISTORY_PLY_LIMIT + 1);
    EXPECT_EQ(whole->ply % 2, 1000 % 2);
    EXPECT_EQ(whole->side_to_move, RED);
    EXPECT_EQ(whole->key_stack[whole->ply], whole->zobrist_key);
    // The history kept is the game's own: a ply back it holds the shorter list's end.
    EXPECT_EQ(whole->key_stack[whole->ply - 1], shorter->zobrist_key);
    EXPECT_EQ(whole->book_miss_count, 9999);
}

TEST(PositionCommand, WhatContinuesAGame) {
    struct Case {
        const char* earlier;
        const char* later;
        bool continues;
    } cases[] = {
        {"position startpos moves h2e2", "position startpos moves h2e2 h9g7 b0c2", true},
        {"position startpos", "position startpos moves h2e2 h9g7", true},
        {"position startpos moves h2e2 h9g7 b0c2", "position startpos moves h2e2 h9g7 h0g2 b9c7", true},  // ponder miss
        {"position startpos moves h2e2 h9g7 b0c2 b9c7", "position startpos moves h2e2 h9g7", false},
        {"position startpos moves h2e2 h9g7 b0c2", "position startpos moves b0c2 h9g7 h2e2", false},
        {"position startpos", "position fen rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR b", false},
        {"position fen 3k5/9/9/9/9/9/9/9/9/4K4 w", "position fen 3k5/9/9/9/9/9/9/9/9/4K4 w moves e0e1", true},
        {"position fen 3k5/9/9/9/9/9/9/9/9/4K4 w moves e0e1", "position fen 3k5/9/9/9/9/9/9/9/4K4/9 b", false},
    };
    for (const auto& c : cases) {
        auto e = make_engine();
        position_origin_t earlier, later;
        ASSERT_TRUE(apply_line(*e, c.earlier, &earlier)) << c.earlier;
        ASSERT_TRUE(apply_line(*e, c.later, &later)) << c.later;
        EXPECT_EQ(continues_game(earlier, later), c.continues) << c.earlier << " / " << c.later;
    }
}

}  // namespace
