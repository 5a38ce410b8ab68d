// Perft counts verified against an independent engine, and the generators'
// lists checked against each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "board/movegen.h"
#include "board/perft.h"
#include "board_fixture.h"
#include "book/prime_keys.h"

namespace {

struct PerftCase {
    const char* fen;
    const char* what;
    std::vector<uint64_t> counts;  // depth 1, 2, ...
};

// Every count here was also produced, per root move, by an independent engine.
const PerftCase kCases[] = {
    {"r3k4/9/1n7/9/4C4/2P6/9/9/9/4K3R w", "kings on e-file, red cannon pinned between", {23, 436, 10707, 205541}},
    {"4k4/9/9/4c4/9/9/9/9/9/4K3R b", "black cannon pinned between kings", {10, 147, 1660, 27921, 355149}},
    {"4k4/4a4/9/9/9/9/9/9/4A4/4K4 w", "advisors on centres between kings", {6, 18, 74, 298, 1148}},
    {"3k5/9/9/9/9/9/9/9/9/4K4 w", "bare kings, red may not face", {2, 3, 6, 14, 33}},
    {"4ka3/9/5N3/9/9/r3R4/9/9/9/5K3 b", "double check rook + horse, king escapes", {1, 27, 385, 8324, 134485}},
    {"3aka3/9/5N3/9/9/4R4/9/9/9/3K5 b", "double check mate", {0}},
    {"5a2r/4k4/2N6/9/9/9/4R4/9/9/3K5 b", "double check, escape square faces the red king", {1, 27, 300, 6988, 103394}},
    {"R3ka3/9/4P4/9/4C4/9/9/9/9/3K5 b", "double check rook + cannon", {0}},
    {"4kab2/4a4/9/9/9/9/4C4/9/9/3K5 b", "cannon check through own advisor screen", {4, 71, 275, 4600, 24734}},
    {"3Pk4/9/9/9/9/9/9/9/9/3K5 b", "pawn check sideways on back rank", {2, 7, 14, 48, 110}},
    {"3k5/4a4/3a5/9/9/9/9/9/4C4/4K4 w", "cannon vs two advisors", {16, 53, 997, 3218, 55693}},
    {"2bak4/4a4/4b4/3N5/2p6/9/9/4B4/4A4/3AK4 w", "horse with legs blocked near palace", {16, 113, 1579, 12045, 153708}},
    {"4k4/4a4/3P1P3/9/9/9/9/9/9/3K5 b", "crossed pawns near king", {6, 36, 107, 696, 2080}},
    {"c3k3c/9/4p4/9/C1P1P1P1C/9/9/9/9/4K4 w", "cannons and screens on one rank and file", {30, 508, 16311, 337094}},
    {"2b1k1b2/4a4/2n1c1n2/9/2N1p1N2/9/9/4C4/4A4/2B1K1B2 w", "horses with blocked legs mid-board", {35, 870, 27918, 685936}},
    {"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", "start position", {44, 1920, 79666}},
    {"r1bakab1r/9/1cn3nc1/p1p1p1p1p/9/9/P1P1P1P1P/1CN3NC1/9/R1BAKAB1R w", "symmetric development", {36, 1292, 47994}},
    {"2bakab2/9/2n1c1n2/p1R1p3p/6p2/2P3r2/P3P3P/2N1C1N2/9/2BAKAB2 w", "rooks across the river", {29, 803, 23801, 695357}},
    {"3k5/3P5/4P4/2P6/9/9/9/9/9/4K4 b", "three pawns in the palace region", {2, 18, 23, 213, 232}},
    {"4k4/9/9/9/9/9/9/9/4p4/3K5 w", "lone black pawn beside red palace", {0}},
    {"3akab2/9/4b4/9/9/9/9/2n6/4A4/3AK4 w", "black horse near red palace, no check", {4, 49, 174, 2167, 7898}},
    {"3ak4/4a4/2r1b1n2/2p3p1P/pCbcpn1CR/2P5r/P3P4/R3B4/4N4/2BAKA1N1 w", "random game", {39, 1620, 66291}},
    {"3a1acnr/4k4/b8/R5p2/2p1p1n1P/P1B6/2PRPc3/5r1N1/4A4/1NB1K4 b", "random game", {37, 1310, 48588}},
    {"1rbaka1nr/7c1/1c2b4/p3p3p/2p3p2/P5B1P/2P1P1P2/R5N1C/9/1N1AKAB1R w", "random game", {29, 1185, 36472}},
    {"2baka3/2n2r3/1c4n2/R1p3p2/pC4P2/2P3B1p/3Rp4/3A5/C3K4/5AB2 w", "random game", {43, 1752, 68448}},
    {"r2akab2/4n1nC1/9/p7p/6b2/2p1p1B1P/P3P1cR1/9/RC2AN3/1cBA1K3 w", "random game", {38, 1177, 45609}},
    {"3k1a3/9/4ba3/5n3/c3p1b2/6n2/p8/N4A3/9/2B1K1B2 b", "random game", {30, 264, 7982, 79666}},
    {"2ba1a3/5k3/P7b/2n3r2/r1p3Pn1/2N1p4/3p5/2C5B/7N1/3AKA3 b", "random game", {40, 1128, 45291}},
    {"r1bak4/r8/nc1ab3n/p1p3p1p/4p3P/4c4/P1P1P1PNR/R3B4/4A3C/1N2KA3 b", "random game", {40, 1174, 47273}},
    {"3aknbr1/4a4/b4C3/6p2/5P1Np/2P6/2p3Pn1/B2A5/5r3/1NRA1KB2 w", "random game, in check", {3, 74, 1990, 49890}},
    {"r2aka1n1/8r/b3b4/p1p1C3p/c5pc1/9/P1P1P1P1P/4C4/4AK3/RNBA2BNR b", "random game, in check", {6, 219, 6628, 238357}},
    {"5a1n1/5k2r/b2a2P2/N1pc4p/2b6/9/4C4/5A2C/c8/3r1KB2 w", "random game, in check", {2, 84, 1854, 70282}},
    {"rnba1a3/3k1r2n/8b/5c1C1/p3P1p1p/2p5P/P3c1P2/R3B1NCN/9/2BAKA1R1 w", "random game, in check", {7, 282, 9192, 368207}},
    {"2bak1b2/3ca2C1/9/N3pc2p/pCp1P1p2/PrP3B1P/6n2/6N1B/R8/3rKA3 w", "random game, in check", {2, 100, 3913, 188774}},
    {"1C1akabC1/6c2/r1n5r/p1p1p1p1p/2b6/P1B6/2P1P1PcP/8N/3NK4/R2A1AB1R b", "random game, in check", {3, 109, 4046, 144295}},
    {"r1ba4r/3ka4/n3b4/p3p1p2/2P1P2np/3R5/P5PCc/B2C4B/4A4/RN2KA1N1 b", "random game, in check", {1, 44, 1003, 44953}},
};

TEST(Perft, CountsAndBoardRestored) {
    for (const PerftCase& c : kCases) {
        auto e = engine_at(c.fen);
        ASSERT_TRUE(load_prime_keys(*e, TAVOX_DATA_DIR));
        char position[POSITION_STRING_SIZE];
        int side = RED;
        ASSERT_TRUE(fen_to_position_string(c.fen, position, side));
        setup_position(*e, position, side);  // again, with the keys loaded
        e->ply_moves[0] = e->move_buffer;
        const uint32_t key = e->zobrist_key, lock = e->zobrist_lock;
        int32_t board[256];
        std::memcpy(board, e->board, sizeof board);
        for (size_t d = 1; d <= c.counts.size(); ++d)
            EXPECT_EQ(perft(*e, e->side_to_move, static_cast<int>(d), 0), c.counts[d - 1]) << c.what << " depth " << d;
        EXPECT_EQ(e->zobrist_key, key);
        EXPECT_EQ(e->zobrist_lock, lock);
        EXPECT_EQ(e->ply, 0);
        EXPECT_EQ(std::memcmp(board, e->board, sizeof board), 0) << c.what;
    }
}

std::vector<move_t> list_of(const Count& e, int ply) { return {e.ply_moves[ply], e.ply_moves[ply + 1]}; }

std::vector<std::string> sorted_texts(const std::vector<move_t>& moves) {
    std::vector<std::string> t;
    for (const move_t& m : moves) t.push_back(move_text(m));
    std::sort(t.begin(), t.end());
    return t;
}

// Every generated move describes the board; the captures are exactly the captures
// among all moves, and the selected quiet moves are some of the quiet ones.
TEST(Perft, GeneratorsAgreeWithBoardAndEachOther) {
    for (const PerftCase& c : kCases) {
        auto e = engine_at(c.fen);
        for (const int side : {RED, BLACK}) {
            const int own = side == RED ? RED_BIT : BLACK_BIT;
            generate_moves(*e, side, 0);
            const std::vector<move_t> all = list_of(*e, 0);
            bool takes_king = false;
            for (const move_t& m : all) {
                EXPECT_EQ(e->board[m.from], m.piece) << c.fen;
                EXPECT_EQ(e->board[m.to], m.captured) << c.fen;
                EXPECT_TRUE(m.piece & own) << c.fen;
                EXPECT_FALSE(m.captured & own) << c.fen;
                takes_king |= e->piece_order[m.captured] == 1;
            }
            if (takes_king) continue;  // each generator then keeps its own first king capture
            std::vector<move_t> captures, quiet;
            for (const move_t& m : all) (m.captured == EMPTY_SQUARE ? quiet : captures).push_back(m);

            generate_captures(*e, side, 0);
            EXPECT_EQ(sorted_texts(list_of(*e, 0)), sorted_texts(captures)) << c.fen;

            generate_quiet_moves(*e, side, 0);
            const std::vector<std::string> selected = sorted_texts(list_of(*e, 0));
            const std::vector<std::string> all_quiet = sorted_texts(quiet);
            EXPECT_TRUE(std::includes(all_quiet.begin(), all_quiet.end(), selected.begin(), selected.end())) << c.fen;
        }
    }
}

}  // namespace
