// The repetition rules on real move sequences.
#include <gtest/gtest.h>

#include <string>

#include "board/check.h"
#include "board/geometry.h"
#include "board/repetition.h"
#include "test_engine.h"
#include "ucci/command.h"
#include "ucci/position_command.h"

namespace {

// Replays a position command; returns the code stored for the last move and,
// through `full`, the code of the full test (checks of the last move known).
int replay(Count& e, const std::string& line, int* full = nullptr, bool thorough = true) {
    command_t cmd{};
    EXPECT_EQ(parse_command(line.c_str(), cmd), CMD_POSITION);
    position_origin_t origin;
    EXPECT_TRUE(apply_position_command(e, cmd, origin));
    EXPECT_EQ(e.ply, cmd.move_count) << line;
    if (full) *full = check_repetition(e, 1 - e.side_to_move, thorough);
    return e.repetition_stack[e.ply];
}

struct Case {
    const char* name;
    const char* line;
    int code;
};

TEST(Repetition, CodesOnMoveSequences) {
    const Case cases[] = {
        {"plain repetition", "position startpos moves h0g2 h9g7 g2h0 g7h9 h0g2", REPETITION_DRAW},
        {"fewer than four moves", "position startpos moves h0g2 h9g7 g2h0", REPETITION_NONE},
        {"start position never counts", "position startpos moves h0g2 h9g7 g2h0 g7h9", REPETITION_NONE},
        {"horse chases an unprotected rook",
         "position fen 5k3/9/1r7/9/2N6/9/9/9/9/4K4 b - - 0 1 moves b7b8 c5d7 b8b7 d7c5 b7b8 c5d7", REPETITION_LONG_CHASE},
        {"horse chases a protected rook", "position fen 5k3/9/1r7/1r7/2N6/9/9/9/9/4K4 b - - 0 1 moves b7b8 c5d7 b8b7 d7c5 b7b8 c5d7",
         REPETITION_LONG_CHASE},
        {"rook attacks a rook that can strike back",
         "position fen 5k3/9/r8/9/9/9/9/9/1R7/4K4 b - - 0 1 moves a7a8 b1b8 a8a7 b8b7 a7a8 b7b8", REPETITION_DRAW},
    };
    for (const auto& c : cases) {
        auto e = make_engine();
        EXPECT_EQ(replay(*e, c.line), c.code) << c.name;
    }
}

TEST(Repetition, ShuttlingChecksAreLongCheck) {
    auto e = make_engine();
    int full = -1;
    // The replay tests before the last move's check is recorded, so it sees a
    // rook "chasing" the king; the search's test, with the check known, finds
    // the long check.
    replay(*e, "position fen R8/4k4/9/9/9/9/9/9/9/3K5 w - - 0 1 moves a9a8 e8e9 a8a9 e9e8 a9a8", &full);
    EXPECT_EQ(full, REPETITION_LONG_CHECK);
    EXPECT_NE(in_check(*e, BLACK), 0);

    // The same rook moves without checks: a plain repetition.
    auto f = make_engine();
    replay(*f, "position fen R8/9/4k4/9/9/9/9/9/9/5K3 w - - 0 1 moves a9a8 e7d7 a8a9 d7e7 a9a8", &full);
    EXPECT_EQ(full, REPETITION_DRAW);
}

TEST(Repetition, CaptureCountShortcut) {
    // A horse moving back and forth next to an unprotected rook: the quick test
    // sees no new capture and calls it a draw; the thorough one finds the chase.
    auto e = make_engine();
    const std::string line =
        "position fen 5k3/9/1r7/9/2N6/9/9/9/9/4K4 b - - 0 1 moves b7b8 c5d7 b8b7 d7c5 b7b8 c5d7";
    int quick = -1, thorough = -1;
    replay(*e, line, &quick, false);
    EXPECT_EQ(quick, REPETITION_LONG_CHASE);  // the move created the attack: more captures than before
    replay(*e, line, &thorough, true);
    EXPECT_EQ(thorough, REPETITION_LONG_CHASE);

    // Rooks facing each other across the board repeating: captures stay the same.
    auto f = make_engine();
    replay(*f, "position fen 5k3/9/9/9/r8/9/9/9/9/R3K4 w - - 0 1 moves e0e1 f9f8 e1e0 f8f9 e0e1", &quick, false);
    EXPECT_EQ(quick, REPETITION_DRAW);
}

TEST(Repetition, BoardOnlyMovesRestoreTheBoard) {
    auto e = make_engine();
    set_fen(*e, "5k3/9/1r7/9/2N6/9/9/9/9/4K4 w - - 0 1");
    const int from = make_square(2, 4), to = make_square(1, 2);
    const move_t q{0, from, to, e->board[from], e->board[to]};
    int board_before[256];
    std::copy(e->board, e->board + 256, board_before);
    EXPECT_TRUE(capture_is_chase(*e, q));
    EXPECT_TRUE(std::equal(e->board, e->board + 256, board_before));
    EXPECT_NE(attacker_of(*e, q.to, RED), 0);
    EXPECT_EQ(attacker_of(*e, q.from, BLACK), 0);

    // Pawns never chase.
    set_fen(*e, "5k3/9/9/9/1nP6/9/9/9/9/4K4 w - - 0 1");
    const int pawn = make_square(2, 4), horse = make_square(1, 4);
    EXPECT_FALSE(capture_is_chase(*e, move_t{0, pawn, horse, e->board[pawn], e->board[horse]}));
}

}  // namespace
