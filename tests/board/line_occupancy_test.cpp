// The line occupancy against the board it shadows: every scan from every
// playing square lands where stepping over empty squares does (the second
// non-empty square too, a cannon's target), in positions
// set up from FEN and reached by making, testing and taking back moves.
#include <gtest/gtest.h>

#include <cstring>

#include "board/check.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "board/self_check.h"
#include "test_engine.h"

namespace {

const char* const kPositions[] = {
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1",
    "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1",
    "4kar2/4a2rn/4bc3/RN1c5/2bC5/9/4p4/9/4p4/3p1K3 w - - 0 1",
    "3k5/4PP3/4r4/3P5/9/9/9/9/9/5K3 b - - 0 1",
    "4k4/9/9/9/9/9/9/9/9/4K4 w - - 0 1",  // open lines from edge to edge
    "rc2k2cr/9/9/9/p7p/P7P/9/9/9/RC2K2CR w - - 0 1",  // pieces on every edge
};

int stepped(const Count& e, int s, int step) {
    do s += step;
    while (e.board[s] == EMPTY_SQUARE);
    return s;
}

template <int D>
int second_checked(const Count& e, int s) {
    int first = 0, second = 0;
    first_two_occupied<D>(e.lines, s, first, second);
    EXPECT_EQ(first, next_occupied<D>(e.lines, s));
    EXPECT_EQ(second, second_occupied<D>(e.lines, s));
    return second;
}

// The second square by both ways of finding it, which must agree.
int second_of(const Count& e, int s, int step) {
    switch (step) {
        case 1: return second_checked<1>(e, s);
        case -1: return second_checked<-1>(e, s);
        case 16: return second_checked<16>(e, s);
        default: return second_checked<-16>(e, s);
    }
}

// Every scan of the position agrees with stepping; returns the scans compared.
int expect_scans_agree(const Count& e, const char* fen) {
    int compared = 0;
    for (int s = 0; s < 256; ++s) {
        if (e.board[s] == OFF_BOARD) continue;
        for (int step : {-16, -1, 1, 16}) {
            const int first = stepped(e, s, step);
            EXPECT_EQ(next_occupied(e.lines, s, step), first) << fen << " from " << s << " step " << step;
            EXPECT_EQ(second_of(e, s, step), stepped(e, first, step)) << fen << " from " << s;
            ++compared;
        }
    }
    return compared;
}

TEST(LineOccupancy, ScansMatchSteppingOverTheBoard) {
    auto e = make_engine();
    for (const char* fen : kPositions) {
        set_fen(*e, fen);
        EXPECT_EQ(expect_scans_agree(*e, fen), 90 * 4);
    }
}

// The occupancy follows every kind of change to the board, and each of them
// leaves it exactly as it found it.
TEST(LineOccupancy, FollowsMovesTestsAndTheirUndoing) {
    auto e = make_engine();
    int moves = 0;
    for (const char* fen : kPositions) {
        for (int side : {RED, BLACK}) {
            set_fen(*e, fen);
            e->ply_moves[0] = e->move_buffer;
            generate_moves(*e, side, 0);
            line_occupancy before;
            std::memcpy(&before, &e->lines, sizeof before);
            for (const move_t* m = e->ply_moves[0]; m < e->ply_moves[1]; ++m, ++moves) {
                make_move(*e, *m);
                ASSERT_TRUE(position_consistent(*e)) << fen;
                expect_scans_agree(*e, fen);
                unmake_move(*e, *m);
                board_do_move(*e, *m);
                const line_occupancy tested = occupancy_of(e->board);
                ASSERT_TRUE(std::memcmp(&e->lines, &tested, sizeof tested) == 0) << fen;
                board_undo_move(*e, *m);
                capture_defended(*e, *m);
                ASSERT_TRUE(std::memcmp(&e->lines, &before, sizeof before) == 0) << fen;
            }
        }
    }
    EXPECT_GT(moves, 200);
}

}  // namespace
