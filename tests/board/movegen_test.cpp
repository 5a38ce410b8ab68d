// The generators' lists, compared whole where the order matters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>
#include <string>

#include "board/geometry.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "board_fixture.h"
#include "sample_positions.h"

namespace {

enum Generator { MOVES, CAPTURES, QUIET };

std::string generate(Count& e, Generator g, int side, int ply = 0) {
    if (g == MOVES) generate_moves(e, side, ply);
    else if (g == CAPTURES) generate_captures(e, side, ply);
    else generate_quiet_moves(e, side, ply);
    return list_text(e, ply);
}

// The moves of the piece on `from` (UCCI square text), in list order.
std::string moves_from(const Count& e, const std::string& from, int ply = 0) {
    std::string s;
    for (const move_t* m = e.ply_moves[ply]; m < e.ply_moves[ply + 1]; ++m) {
        const std::string t = move_text(*m);
        if (t.compare(0, 2, from) != 0) continue;
        if (!s.empty()) s += ' ';
        s += t;
    }
    return s;
}

const char* const START = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w";

TEST(MoveGen, StartPositionInGenerationOrder) {
    auto e = engine_at(START);
    EXPECT_EQ(generate(*e, MOVES, RED),
              "a0a1 a0a2 i0i1 i0i2 "
              "b2b3 b2b4 b2b5 b2b6 b2b9x b2a2 b2c2 b2d2 b2e2 b2f2 b2g2 b2b1 "
              "h2h3 h2h4 h2h5 h2h6 h2h9x h2g2 h2f2 h2e2 h2d2 h2c2 h2i2 h2h1 "
              "b0a2 b0c2 h0g2 h0i2 c0a2 c0e2 g0e2 g0i2 d0e1 f0e1 e0e1 "
              "a3a4 c3c4 e3e4 g3g4 i3i4");
    EXPECT_EQ(e->ply_moves[1] - e->ply_moves[0], 44);
    // The cannons can take the horses at once.
    EXPECT_EQ(generate(*e, CAPTURES, RED), "b2b9x h2h9x");
    EXPECT_EQ(generate(*e, CAPTURES, BLACK), "b7b0x h7h0x");
    EXPECT_EQ(generate(*e, QUIET, RED),
              "a0a1 a0a2 i0i1 i0i2 b2b3 b2b4 b2b5 b2b6 b2a2 b2c2 b2d2 b2e2 b2f2 b2g2 b2b1 "
              "h2h3 h2h4 h2h5 h2h6 h2g2 h2f2 h2e2 h2d2 h2c2 h2i2 h2h1 b0a2 b0c2 h0g2 h0i2");
}

TEST(MoveGen, ListFrameAndEmptyList) {
    auto e = engine_at("3k5/9/9/9/9/9/9/9/9/4K4 w");
    std::memset(e->move_buffer, 0x5a, sizeof(move_t) * 64);
    e->ply_moves[3] = e->move_buffer + 10;
    generate_captures(*e, RED, 3);
    EXPECT_EQ(e->ply_moves[4], e->ply_moves[3]);
    EXPECT_EQ(e->ply_moves[5], e->ply_moves[3]);
    EXPECT_EQ(e->move_end, e->ply_moves[3]);
    const move_t& first = *e->ply_moves[3];
    EXPECT_EQ(first.score | first.from | first.to | first.piece | first.captured, 0);

    // A following ply starts where the previous list ended and leaves it alone.
    generate_moves(*e, RED, 3);
    const std::string ply3 = list_text(*e, 3);
    EXPECT_EQ(ply3, "e0d0 e0f0 e0e1");
    EXPECT_EQ(generate(*e, MOVES, BLACK, 4), "d9e9 d9d8");
    EXPECT_EQ(e->ply_moves[4], e->move_buffer + 13);
    EXPECT_EQ(e->ply_moves[6], e->move_end);
    EXPECT_EQ(list_text(*e, 3), ply3);
    for (const move_t* m = e->ply_moves[3]; m < e->ply_moves[5]; ++m) EXPECT_EQ(m->score, 0);
}

TEST(MoveGen, FacingKingsGiveTheKingCaptureAlone) {
    const char* fen = "4k4/9/9/9/9/9/9/9/9/R3K4 ";
    auto red = engine_at(std::string(fen) + "w");
    EXPECT_EQ(generate(*red, MOVES, RED), "e0e9x");
    EXPECT_EQ(generate(*red, CAPTURES, RED), "e0e9x");
    EXPECT_EQ(generate(*red, QUIET, RED), "a0a1 a0a2 a0a3 a0a4 a0a5 a0a6 a0a7 a0a8 a0a9 a0b0 a0c0 a0d0");
    EXPECT_EQ(generate(*red, MOVES, BLACK), "e9e0x");
    EXPECT_EQ(generate(*red, CAPTURES, BLACK), "e9e0x");
    EXPECT_EQ(red->ply_moves[1] - red->ply_moves[0], 1);
    EXPECT_EQ(red->ply_moves[2], red->ply_moves[1]);
}

TEST(MoveGen, KingCaptureReplacesEverythingBefore) {
    struct Case {
        const char* fen;
        const char* capture;
    } cases[] = {
        {"R2k5/9/2n6/2P6/9/9/9/9/9/4K4 w", "a9d9x"},   // rook, after its quiet moves and a pawn capture
        {"Cn1k5/9/9/9/9/9/9/9/9/4K3R w", "a9d9x"},     // cannon over a screen, after the rook's moves
        {"4k4/2N6/9/9/9/9/9/9/9/3K4R w", "c8e9x"},     // horse
        {"3Pk4/9/9/9/9/9/9/9/9/3K4R w", "d9e9x"},      // pawn sideways
        {"r3k4/9/9/9/9/9/9/9/3p5/3K5 b", "d1d0x"},     // black pawn forward, after the rook's moves
    };
    for (const Case& c : cases) {
        auto e = engine_at(c.fen);
        EXPECT_EQ(generate(*e, MOVES, e->side_to_move), c.capture) << c.fen;
        EXPECT_EQ(generate(*e, CAPTURES, e->side_to_move), c.capture) << c.fen;
        EXPECT_EQ(e->move_end, e->ply_moves[0] + 1);
    }
}

TEST(MoveGen, CannonScreensAndScanOrder) {
    struct Case {
        const char* fen;
        const char* moves;
        const char* captures;
        const char* quiet;
    } cases[] = {
        // Neither the adjacent pawn nor anything past the edge can be taken.
        {"4k4/4r4/9/9/4p4/n1p1C4/9/9/9/3K5 w",
         "e4e8x e4d4 e4a4x e4f4 e4g4 e4h4 e4i4 e4e3 e4e2 e4e1 e4e0 d0e0 d0d1", "e4e8x e4a4x",
         "e4d4 e4f4 e4g4 e4h4 e4i4 e4e3 e4e2 e4e1 e4e0"},
        // Black scans -16 first for all moves but forward (+16) first for captures.
        {"3k5/4R4/9/4p4/4c4/4P4/9/4C4/9/5K3 b",
         "e5e8x e5d5 e5c5 e5b5 e5a5 e5f5 e5g5 e5h5 e5i5 e5e2x d9e9 d9d8", "e5e2x e5e8x",
         "e5d5 e5c5 e5b5 e5a5 e5f5 e5g5 e5h5 e5i5"},
    };
    for (const Case& c : cases) {
        auto e = engine_at(c.fen);
        EXPECT_EQ(generate(*e, MOVES, e->side_to_move), c.moves) << c.fen;
        EXPECT_EQ(generate(*e, CAPTURES, e->side_to_move), c.captures) << c.fen;
        EXPECT_EQ(generate(*e, QUIET, e->side_to_move), c.quiet) << c.fen;
    }
}

TEST(MoveGen, PieceRulesAndOrder) {
    struct Case {
        const char* fen;
        const char* from;
        const char* moves;
    } cases[] = {
        // Horses: legs -16, +16, -1, +1; a leg blocked by either side stops both jumps.
        {"4k4/9/9/9/9/4N4/9/9/9/3K5 w", "e4", "e4d6 e4f6 e4f2 e4d2 e4c5 e4c3 e4g5 e4g3"},
        {"4k4/9/9/9/2p1p4/4NR3/9/3C5/9/3K5 w", "e4", "e4f2 e4c5x e4c3"},
        {"4k4/9/4n4/9/9/9/9/9/9/3K5 b", "e7", "e7d9 e7f9 e7f5 e7d5 e7c8 e7c6 e7g8 e7g6"},
        // Elephants: never across the river, never over an occupied eye.
        {"3k5/9/9/9/9/2B6/9/9/9/4K4 w", "c4", "c4a2 c4e2"},
        {"3k5/9/9/9/9/9/5p3/4B4/9/4K4 w", "e2", "e2c4 e2c0 e2g0"},
        {"3k5/9/9/9/2b6/9/9/9/9/4K4 b", "c5", "c5a7 c5e7"},
        // Advisors: from the centre the forward corners first; from a corner only the centre.
        {"3k5/9/9/9/9/9/9/9/4A4/4K4 w", "e1", "e1d2 e1f2 e1d0 e1f0"},
        {"4k4/4a4/9/9/9/9/9/9/9/3K5 b", "e8", "e8d7 e8f7 e8d9 e8f9"},
        {"3k5/9/9/9/9/9/9/9/4r4/3A1K3 w", "d0", "d0e1x"},
        {"3k5/9/9/9/9/9/9/9/3A5/4K4 w", "d1", ""},  // set up off the advisor's points
        // Kings: -1, +1, +16, -16 inside the palace.
        {"3k5/9/9/9/9/9/9/9/4K4/9 w", "e1", "e1d1 e1f1 e1e0 e1e2"},
        {"4k4/9/9/9/9/9/9/9/9/3K5 w", "d0", "d0e0 d0d1"},
        {"9/4k4/9/9/9/9/9/9/9/3K5 b", "e8", "e8d8 e8f8 e8e7 e8e9"},
        // Pawns: forward, then sideways (+1, -1) once across the river.
        {"3k5/9/9/9/9/9/4P4/9/9/4K4 w", "e3", "e3e4"},
        {"3k5/9/9/4P4/9/9/9/9/9/4K4 w", "e6", "e6e7 e6f6 e6d6"},
        {"1P1k5/9/9/9/9/9/9/9/9/4K4 w", "b9", "b9c9 b9a9"},
        {"4k4/9/9/4p4/9/9/9/9/9/3K5 b", "e6", "e6e5"},
        {"4k4/9/9/9/9/4p4/9/9/9/3K5 b", "e4", "e4e3 e4f4 e4d4"},
        {"4k4/9/9/9/9/9/9/9/9/p2K5 b", "a0", "a0b0"},
    };
    for (const Case& c : cases) {
        auto e = engine_at(c.fen);
        generate_moves(*e, e->side_to_move, 0);
        EXPECT_EQ(moves_from(*e, c.from), c.moves) << c.fen;
    }
}

TEST(MoveGen, QuietMoveSelection) {
    struct Case {
        const char* fen;
        const char* quiet;
    } cases[] = {
        // A rook in the palace lets elephants, advisors and the king (sideways only) move;
        // pawns across the river step sideways, and forward only to give check.
        {"4ka3/9/4P4/1pP6/9/9/6P2/9/3R5/4KAB2 w",
         "d1d2 d1d3 d1d4 d1d5 d1d6 d1d7 d1d8 d1d9 d1c1 d1b1 d1a1 d1e1 d1f1 d1g1 d1h1 d1i1 d1d0 "
         "g0e2 g0i2 f0e1 e0d0 e7f7 e7d7 e7e8 c6d6"},
        {"4ka3/9/4P4/1pP6/9/9/6P2/9/R8/4KAB2 w",
         "a1a2 a1a3 a1a4 a1a5 a1a6 a1a7 a1a8 a1a9 a1b1 a1c1 a1d1 a1e1 a1f1 a1g1 a1h1 a1i1 a1a0 "
         "e7f7 e7d7 e7e8 c6d6"},
        {"4ka3/9/9/9/9/9/9/9/4C4/3K1A3 w",
         "e1e2 e1e3 e1e4 e1e5 e1e6 e1e7 e1e8 e1d1 e1c1 e1b1 e1a1 e1f1 e1g1 e1h1 e1i1 e1e0 d0e0"},
        {"3k5/9/9/p8/9/9/9/2p1p4/9/4K4 b", "c2d2 c2b2 e2f2 e2d2 e2e1"},
    };
    for (const Case& c : cases) {
        auto e = engine_at(c.fen);
        EXPECT_EQ(generate(*e, QUIET, e->side_to_move), c.quiet) << c.fen;
    }
}

// The capture generator passes over a piece with no opponent's piece on any
// square it could reach; these have one there, taken or not as the rules say.
TEST(MoveGen, CapturesOfShortRangePieces) {
    struct Case {
        const char* fen;
        const char* captures;
    } cases[] = {
        // Elephant: c4 and c0 open, g4 behind its own pawn on the eye.
        {"3k5/9/9/9/9/2p3p2/5P3/4B4/9/2r1K4 w", "e2c4x e2c0x"},
        // Advisor from the centre in corner order, then the king beside it.
        {"3k5/9/9/9/9/9/9/3n1r3/4A4/3pK4 w", "e1d2x e1f2x e1d0x e0d0x"},
        {"3k5/9/9/9/9/9/9/9/4A4/4Kr3 w", "e1f0x e0f0x"},
        // From a corner: the centre only, not a piece diagonally outside the palace.
        {"3k5/9/9/9/9/9/9/9/4n4/3AK4 w", "d0e1x e0e1x"},
        {"3k5/9/9/9/9/9/9/9/2n6/3AK4 w", ""},
        // Horse: both targets behind the blocked leg.
        {"4k4/9/9/3p1p3/4P4/4N4/9/9/9/3K5 w", ""},
        {"4k4/9/9/3p5/9/4N4/9/9/9/3K5 w", "e4d6x"},
        // King: a piece beside it but outside the palace.
        {"4k4/9/9/9/9/9/9/9/9/2rK5 w", ""},
        // Black: the advisor takes on its forward corner; the elephant's targets are empty.
        {"2b1k4/4a4/3R5/9/9/9/9/9/9/4K4 b", "e8d7x"},
        {"2b1k4/9/4R4/9/9/9/9/9/9/3K5 b", "c9e7x"},
    };
    for (const Case& c : cases) {
        auto e = engine_at(c.fen);
        EXPECT_EQ(generate(*e, CAPTURES, e->side_to_move), c.captures) << c.fen;
    }
}

// Every capture generate_moves lists, and no other, is in the capture list,
// for both sides in positions a few plies into the sample games.
TEST(MoveGen, CapturesAreTheCapturesOfAllMoves) {
    auto sorted_captures = [](const Count& e, int ply) {
        std::vector<std::string> v;
        for (const move_t* m = e.ply_moves[ply]; m < e.ply_moves[ply + 1]; ++m)
            if (m->captured != EMPTY_SQUARE) v.push_back(move_text(*m));
        std::sort(v.begin(), v.end());
        return v;
    };
    int compared = 0;
    for (const char* fen : kSamplePositions) {
        auto e = engine_at(fen);
        std::vector<move_t> line;
        for (int step = 0; step < 24; ++step) {
            // The line goes on with the move of the list chosen by the step number.
            const int mover = (e->side_to_move + step) % 2;
            generate_moves(*e, mover, 0);
            const int n = static_cast<int>(e->ply_moves[1] - e->ply_moves[0]);
            if (n == 0) break;
            const move_t m = e->ply_moves[0][(7 * step + 3) % n];
            for (int side = 0; side < 2; ++side) {
                generate_moves(*e, side, 1);
                const auto all = sorted_captures(*e, 1);
                generate_captures(*e, side, 1);
                EXPECT_EQ(sorted_captures(*e, 1), all) << fen << " after " << line.size() << " moves";
                compared += 1;
            }
            if (m.captured != EMPTY_SQUARE && e->piece_order[m.captured] == ORDER_KING) break;
            make_move(*e, m);
            line.push_back(m);
        }
    }
    EXPECT_GT(compared, 100);
}

}  // namespace
