// The single-move question against the generator's own list, over every pair
// of squares: a move it answers wrongly would be searched or skipped unlike
// the full list.
#include <gtest/gtest.h>

#include <set>

#include "board/movegen.h"
#include "board/quiet_move.h"
#include "board_fixture.h"

namespace {

const char* const POSITIONS[] = {
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w",
    "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w",
    "4kar2/4a2rn/4bc3/RN1c5/2bC5/9/4p4/9/4p4/3p1K3 w",
    "2bak1b2/4a4/2n3nc1/2p1p1p1p/p8/2P3P2/2NRP3P/3C2NC1/c3Ar3/2B1KAB2 b",
    "3akab2/r8/2nnbR3/p3p3C/3r2p2/2P1P4/P5P1P/2N1B4/4N4/3AKAB2 b",
    // Blocked horse legs and elephant eyes, pawns on both sides of the river,
    // an advisor and the kings off their usual squares.
    "3k1a3/2P6/2bn5/1NP1p1P2/2B6/p3p4/2n1B4/9/4A4/3K1A3 w",
    "5k3/3a5/9/2p6/9/2P2p3/9/9/4A4/3AK4 b",
};

std::set<int> quiet_moves_listed(Count& e, int side) {
    generate_moves(e, side, 0);
    std::set<int> quiet;
    for (const move_t* m = e.ply_moves[0]; m < e.ply_moves[1]; ++m)
        if (m->captured != EMPTY_SQUARE) continue;
        else quiet.insert(m->from << 8 | m->to);
    return quiet;
}

TEST(QuietMoveListed, AgreesWithTheGeneratorOnEveryPair) {
    for (const char* fen : POSITIONS) {
        auto e = engine_at(fen);
        for (int side : {RED, BLACK}) {
            const std::set<int> quiet = quiet_moves_listed(*e, side);
            // A king capture is the whole list; the question leaves that rule aside.
            if (e->ply_moves[0]->captured == side_base(1 - side)) continue;
            for (int from = -1; from <= 256; ++from)
                for (int to = -1; to <= 256; ++to)
                    ASSERT_EQ(quiet_move_listed(*e, side, from, to), quiet.count(from << 8 | to) == 1)
                        << fen << " side " << side << " " << from << "->" << to;
        }
    }
}

}  // namespace
