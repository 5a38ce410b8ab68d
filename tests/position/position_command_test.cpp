// The position command: set-up, replay of the move list, refusal of bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_engine.h"
#include "ucci/command.h"
#include "ucci/position_command.h"

namespace {

bool apply_line(Count& e, const std::string& line) {
    command_t cmd{};
    if (parse_command(line.c_str(), cmd) != CMD_POSITION) return false;
    position_origin_t origin;
    return apply_position_command(e, cmd, origin);
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

}  // namespace
