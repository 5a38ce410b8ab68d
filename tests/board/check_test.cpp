// Check codes of in_check and the exchange test of capture_defended.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/check.h"
#include "board/movegen.h"
#include "board_fixture.h"

namespace {

struct CheckCase {
    const char* fen;
    int side;
    int code;
    const char* what;
};
const CheckCase check_cases[] = {
    {"4k4/9/9/9/9/9/9/9/9/4K4 w", RED, 1, "kings facing"},
    {"4k4/9/9/9/9/9/9/9/9/4K4 w", BLACK, 1, "kings facing"},
    {"4k4/9/9/9/4P4/9/9/9/9/4K4 w", BLACK, 0, "a pawn between the kings"},
    {"4k4/9/9/9/4R4/9/9/9/9/3K5 w", BLACK, 4, "rook ahead on the file"},
    {"4k4/9/9/9/4R4/9/9/9/9/3K5 w", RED, 0, "own rook"},
    {"3k5/9/9/9/9/9/9/3r5/9/3K5 w", RED, 4, "black rook ahead on the file"},
    {"4R4/4k4/9/9/9/9/9/9/9/3K5 w", BLACK, 4, "rook right behind"},
    {"4R4/9/4k4/9/9/9/9/9/9/3K5 w", BLACK, 4, "rook two behind"},
    {"4R4/4a4/4k4/9/9/9/9/9/9/3K5 w", BLACK, 0, "rook behind a screen"},
    {"9/R3k4/9/9/9/9/9/9/9/3K5 w", BLACK, 4, "rook on the rank, file a side"},
    {"9/4k3R/9/9/9/9/9/9/9/3K5 w", BLACK, 4, "rook on the rank, file i side"},
    {"9/R1C1k4/9/9/9/9/9/9/9/3K5 w", BLACK, 0, "cannon first, rook second on the rank"},
    {"4k4/4a4/9/9/9/9/4C4/9/9/3K5 w", BLACK, 8, "cannon over the king's own advisor"},
    {"4k4/4a4/4P4/9/9/9/4C4/9/9/3K5 w", BLACK, 0, "cannon behind two screens"},
    {"9/C1P1k4/9/9/9/9/9/9/9/3K5 w", BLACK, 8, "cannon on the rank"},
    {"3k5/9/9/9/9/9/9/c1N1K4/9/9 w", RED, 8, "black cannon on the rank"},
    {"3k5/9/9/9/9/9/9/4K4/4A4/4c4 w", RED, 8, "cannon two behind over a screen"},
    {"3k5/9/9/9/9/9/9/4K4/9/4c4 w", RED, 0, "cannon two behind, no screen"},
    {"4k4/9/5N3/9/9/9/9/9/9/3K5 w", BLACK, 7, "horse, leg empty"},
    {"4k4/5P3/5N3/9/9/9/9/9/9/3K5 w", BLACK, 0, "horse, leg blocked"},
    {"9/4k4/2N6/9/9/9/9/9/9/3K5 w", BLACK, 7, "horse, sideways leg"},
    {"3k5/9/9/9/9/9/9/3n5/9/4K4 w", RED, 7, "black horse"},
    {"3k5/9/9/9/9/9/9/9/3pK4/9 w", RED, 13, "pawn beside"},
    {"3k5/9/9/9/9/9/9/4p4/4K4/9 w", RED, 13, "pawn in front"},
    {"3k5/9/9/9/9/9/9/9/4K4/4p4 w", RED, 0, "pawn behind"},
    {"4k4/4P4/9/9/9/9/9/9/9/3K5 w", BLACK, 13, "red pawn in front"},
    {"9/9/9/9/9/9/9/9/9/4K4 w", BLACK, -1, "no black king"},
    {"9/9/9/9/9/9/9/9/9/4K4 w", RED, 0, "no black king"},
    {"4k4/9/5N3/9/4R4/9/9/9/9/3K5 w", BLACK, 4, "rook on the file before horse"},
    {"9/R3k4/4P4/9/9/9/4C4/9/9/3K5 w", BLACK, 8, "cannon on the file before rook on the rank and pawn"},
    {"9/4k3R/2N6/9/9/9/9/9/9/3K5 w", BLACK, 4, "rook on the rank before horse"},
    {"3Pk4/9/5N3/9/9/9/9/9/9/3K5 w", BLACK, 7, "horse before pawn"},
};

TEST(InCheck, CodesByAttackerAndTestOrder) {
    for (const CheckCase& c : check_cases) {
        auto e = engine_at(c.fen);
        EXPECT_EQ(in_check(*e, c.side), c.code) << c.what << ": " << c.fen;
    }
}

// The attack the evasion filter finds is a real one: a move it says cannot
// lift the check is illegal, whatever the kind of attacker. The side in check
// has pieces that can take, block, or move a screen away.
TEST(InCheck, MovesThatCannotLiftTheCheckAreIllegal) {
    const struct {
        const char* fen;
        int side;
        const char* what;
    } cases[] = {
        {"4k4/r8/5N3/9/9/9/9/9/9/3K5 b", BLACK, "horse; a rook can block its leg"},
        {"4k4/4a4/9/9/r8/9/4C4/9/9/3K5 b", BLACK, "cannon; the screen can leave, a rook can add a second"},
        {"4k4/9/2n6/9/4R4/9/9/9/9/3K5 b", BLACK, "rook on the file; a horse can block"},
        {"3k5/9/9/9/9/9/9/9/R2pK4/9 w", RED, "pawn beside; a rook can take it"},
        {"2bak4/9/2n6/9/9/9/9/9/9/R2K4r w", RED, "rook on the rank"},
        {"3ak4/9/4n4/9/9/9/9/4C4/9/3K5 b", BLACK, "cannon over a horse; an advisor can add a screen"},
        {"5k3/9/4N4/9/9/9/9/9/9/4K4 b", BLACK, "horse, king alone"},
    };
    for (const auto& c : cases) {
        auto e = engine_at(c.fen);
        ASSERT_GT(in_check(*e, c.side), 0) << c.what << ": " << c.fen;
        generate_moves(*e, c.side, 0);
        const check_attack_t attack = find_attack(*e, c.side);
        EXPECT_NE(attack.attacker, 0) << c.what << ": " << c.fen;
        for (const move_t* m = e->ply_moves[0]; m < e->ply_moves[1]; ++m) {
            if (!may_lift(attack, *m, c.side)) {
                EXPECT_FALSE(is_legal(*e, *m, c.side)) << c.what << ": " << move_text(*m) << " in " << c.fen;
            }
        }
    }
}

// The filter the search and perft trust for a side not in check: a move it
// passes over is legal. Pins on files and ranks, horse legs and facing kings
// are where a wrong filter would let an illegal move through.
TEST(InCheck, MovesThatCannotExposeTheKingAreLegal) {
    const char* const fens[] = {
        "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w",
        "r3k4/9/1n7/9/4C4/2P6/9/9/9/4K3R w",
        "4k4/9/9/4c4/9/9/9/9/9/4K3R b",
        "4k4/4a4/9/9/9/9/9/9/4A4/4K4 w",
        "2bak4/4a4/4b4/3N5/2p6/9/9/4B4/4A4/3AK4 w",
        "3ak4/4a4/2r1b1n2/2p3p1P/pCbcpn1CR/2P5r/P3P4/R3B4/4N4/2BAKA1N1 w",
        "3k1a3/9/4ba3/5n3/c3p1b2/6n2/p8/N4A3/9/2B1K1B2 b",
        // A rook can step between the king and a bare cannon, screening it.
        "3k5/9/9/9/4c4/9/R8/9/9/4K4 w",
        // Captures on the king's file keep a double screen; a rook can reach a leg.
        "3k5/9/9/9/4c4/9/4p4/R3p4/R8/4K4 w",
    };
    int passed_over = 0;
    for (const char* fen : fens) {
        for (int side : {RED, BLACK}) {
            auto e = engine_at(fen);
            if (in_check(*e, side) != 0) continue;
            generate_moves(*e, side, 0);
            for (const move_t* m = e->ply_moves[0]; m < e->ply_moves[1]; ++m) {
                if (may_expose_king(*e, *m, side)) continue;
                ++passed_over;
                EXPECT_TRUE(is_legal(*e, *m, side)) << move_text(*m) << " in " << fen;
            }
        }
    }
    EXPECT_GT(passed_over, 100);
}

// The other filter: a move it passes over gives no check. Discovered lines,
// freed horse legs, screens put before a cannon, arrivals of a horse or a pawn
// and pieces stepping onto a leg are where it could go wrong.
TEST(InCheck, MovesThatCannotGiveCheckGiveNone) {
    const char* const fens[] = {
        "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w",
        "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w",
        "3ak4/4a4/2r1b1n2/2p3p1P/pCbcpn1CR/2P5r/P3P4/R3B4/4N4/2BAKA1N1 w",
        "3k5/9/9/3P5/9/9/3R5/9/9/4K4 w",    // the pawn leaving the file uncovers the rook
        "4k4/9/9/2N6/4C4/9/9/9/9/3K5 w",    // the horse can screen the cannon
        "3k5/4P4/4N4/9/9/9/9/9/9/4K4 w",    // the pawn holds the horse's leg
        "4k4/9/9/7N1/9/9/9/9/9/3K5 w",      // horse arrivals, two checking
        "9/4k4/9/4P4/9/9/9/9/9/3K5 w",      // a pawn arriving beside the king
        "3k5/R8/9/9/9/9/9/9/9/4K4 w",       // a rook reaching the king's legs
    };
    int passed_over = 0, checks = 0;
    for (const char* fen : fens) {
        for (int side : {RED, BLACK}) {
            auto e = engine_at(fen);
            if (in_check(*e, side) != 0 || in_check(*e, 1 - side) != 0) continue;
            generate_moves(*e, side, 0);
            for (const move_t* m = e->ply_moves[0]; m < e->ply_moves[1]; ++m) {
                board_do_move(*e, *m);
                const int given = in_check(*e, 1 - side);
                board_undo_move(*e, *m);
                checks += given != 0;
                if (may_give_check(*e, *m, side)) continue;
                ++passed_over;
                EXPECT_EQ(given, 0) << move_text(*m) << " in " << fen;
            }
        }
    }
    EXPECT_GT(passed_over, 100);
    EXPECT_GT(checks, 5);
}

struct Snapshot {
    int32_t board[256];
    int32_t piece_square[1024];
    explicit Snapshot(const Count& e) {
        std::memcpy(board, e.board, sizeof board);
        std::memcpy(piece_square, e.piece_square, sizeof piece_square);
    }
    bool same(const Count& e) const {
        return std::memcmp(board, e.board, sizeof board) == 0 &&
               std::memcmp(piece_square, e.piece_square, sizeof piece_square) == 0;
    }
};

TEST(CaptureDefended, DefendersByKindAndXRays) {
    struct Case {
        const char* fen;
        const char* move;
        const char* defender;  // UCCI square, or "" for none
        const char* what;
    } cases[] = {
        {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "h2e2", "", "quiet move"},
        {"3k5/9/9/2n6/9/9/9/2R6/9/4K4 w", "c2c6", "", "undefended"},
        {"3k5/9/9/2n6/9/2R6/9/2r6/9/4K4 w", "c4c6", "c2", "rook through the vacated origin"},
        {"3k5/9/9/2n6/9/2R6/9/2c6/9/4K4 w", "c4c6", "", "the capturer was the cannon's screen"},
        {"3k5/9/9/2n6/9/2R6/2P6/2c6/9/4K4 w", "c4c6", "c2", "cannon over another screen"},
        {"3k5/1n7/9/2n6/9/2R6/9/9/9/4K4 w", "c4c6", "b8", "horse"},
        {"3k5/1n7/1c7/2n6/9/2R6/9/9/9/4K4 w", "c4c6", "", "horse with a blocked leg"},
        {"3k5/9/9/9/9/3p5/3n5/9/9/3RK4 w", "d0d3", "d4", "pawn ahead"},
        {"3k5/9/9/9/9/9/3np4/9/9/3RK4 w", "d0d3", "e3", "pawn beside, across the river"},
        {"3k5/9/9/9/9/9/R2n5/3p5/9/4K4 w", "a3d3", "", "pawn behind"},
        {"3k5/9/9/9/r2NP4/9/9/9/9/4K4 b", "a5d5", "e5", "red pawn beside, across the river"},
        {"3k5/9/9/9/r2N5/3P5/9/9/9/4K4 b", "a5d5", "d4", "red pawn ahead"},
        {"3a5/4ak3/9/9/9/9/9/9/9/3RK4 w", "d0d9", "e8", "advisor"},
        {"3k2b2/9/4n4/9/9/9/9/9/9/4RK3 w", "e0e7", "g9", "elephant"},
        {"6b2/5k3/4n4/9/9/9/9/9/9/3KR4 w", "e0e7", "", "elephant with a blocked eye"},
        {"4k4/4a4/9/9/9/9/9/9/4R4/3K5 w", "e1e8", "e9", "king"},
        {"4k4/9/9/9/9/9/9/4p4/4K4/9 w", "e1e2", "", "facing kings do not defend"},
        // A rook or cannon victim is on the lines it would be tested for.
        {"3k5/9/9/2r6/9/9/9/2R6/9/4K4 w", "c2c6", "", "rook victim alone on its lines"},
        {"2rk5/9/9/2r6/9/9/9/2R6/9/4K4 w", "c2c6", "c9", "rook victim, rook behind it"},
        {"3k5/9/9/2c6/9/9/9/2R6/9/2c1K4 w", "c2c6", "", "cannon victim, a cannon with no screen left"},
        {"3k5/9/9/9/9/2C1r4/9/9/9/2R1K4 b", "e4c4", "c0", "black rook takes a cannon on a defended file"},
    };
    for (const Case& c : cases) {
        auto e = engine_at(c.fen);
        const int from = square_of_text(c.move[0], c.move[1]);
        const int to = square_of_text(c.move[2], c.move[3]);
        const move_t m{0, from, to, e->board[from], e->board[to]};
        const int expected = *c.defender ? e->board[square_of_text(c.defender[0], c.defender[1])] : 0;
        const Snapshot before(*e);
        EXPECT_EQ(capture_defended(*e, m), expected) << c.what << ": " << c.fen;
        EXPECT_TRUE(before.same(*e)) << c.what;
    }
}

}  // namespace
