// The line occupancy against the board it shadows: every scan from every
// playing square lands where stepping over empty squares does (the second and
// third non-empty squares too, a cannon's target and what lies past it), in positions
// set up from FEN and reached by making, testing and taking back moves.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <vector>

#include "board/check.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "board/self_check.h"
#include "sample_positions.h"
#include "test_engine.h"

namespace {

// The sample positions, then lines open from edge to edge and pieces on every edge.
std::vector<const char*> positions() {
    std::vector<const char*> all(std::begin(kSamplePositions), std::end(kSamplePositions));
    all.push_back("4k4/9/9/9/9/9/9/9/9/4K4 w - - 0 1");
    all.push_back("rc2k2cr/9/9/9/p7p/P7P/9/9/9/RC2K2CR w - - 0 1");
    return all;
}

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
    // Past the edge the three scans meet off-board squares, which stepping finds one by one.
    int one = 0, two = 0, three = 0;
    first_three_occupied<D>(e.lines, s, one, two, three);
    EXPECT_EQ(one, first);
    EXPECT_EQ(two, second);
    EXPECT_EQ(three, stepped(e, second, D)) << "third from " << s << " step " << D;
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
    for (const char* fen : positions()) {
        set_fen(*e, fen);
        EXPECT_EQ(expect_scans_agree(*e, fen), 90 * 4);
    }
}

// The occupancy follows every kind of change to the board, and each of them
// leaves it exactly as it found it.
TEST(LineOccupancy, FollowsMovesTestsAndTheirUndoing) {
    auto e = make_engine();
    int moves = 0;
    for (const char* fen : positions()) {
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
