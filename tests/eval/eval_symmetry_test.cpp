// The evaluation is colour-blind: a position and its colour-flipped twin
// (ranks mirrored, files kept, colours exchanged) score exactly opposite,
// apart from the two places where the black rule is deliberately different.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "board/geometry.h"
#include "eval_board.h"
#include "random_positions.h"

namespace {

// True when the position can reach a rule that is not the mirror image of its red counterpart:
// the defenders' bonus with five or six pieces (middlegame share for red, endgame share for black),
// or the pawn beside the palace centre behind a pinned piece with a horse on c7/g7 (c2/g2).
bool may_take_asymmetric_rule(const Count& e) {
    const int* t = e.type_count;
    const int B = BLACK_TYPE_OFFSET;
    const int total = t[HORSE] + t[CANNON] + t[ROOK] + t[HORSE + B] + t[CANNON + B] + t[ROOK + B];
    const int defenders = t[ADVISOR] + t[ELEPHANT] + t[ADVISOR + B] + t[ELEPHANT + B];
    if ((total == 5 || total == 6) && defenders > 0) return true;
    auto holds = [&](const char* square, int type) { return e.piece_type[e.board[sq(square)]] == type; };
    const bool red_case = holds("e9", KING + B) && (holds("c7", HORSE) || holds("g7", HORSE)) &&
                          (holds("d8", PAWN) || holds("f8", PAWN));
    const bool black_case = holds("e0", KING) && (holds("c2", HORSE + B) || holds("g2", HORSE + B)) &&
                            (holds("d1", PAWN + B) || holds("f1", PAWN + B));
    return red_case || black_case;
}

struct Outcome {
    bool checked;
    int value;
};

// Evaluates `position` and its twin; expects opposite values and side 1 = -side 0.
Outcome check_twin(EvalBoard& b, const std::string& position, int side, const std::string& label) {
    b.set_position(position, side);
    const int red = b.eval(RED);
    EXPECT_EQ(b.eval(BLACK), -red) << label;
    if (may_take_asymmetric_rule(b.engine())) return {false, red};
    const int phase_class = b.engine().eval_phase_class;
    const int pst = b.engine().pst_score;
    b.set_position(flipped_position(position), 1 - side);
    EXPECT_EQ(b.engine().eval_phase_class, phase_class) << label;
    EXPECT_EQ(b.engine().pst_score, -pst) << label;
    EXPECT_EQ(b.eval(RED), -red) << label;
    return {true, red};
}

const char* const kPositions[] = {
    // Openings.
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w",
    "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C4/9/RNBAKABNR b",
    "r1bakabnr/9/1cn4c1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C1N2/9/RNBAKAB1R w",
    "r1bakab1r/9/1cn3nc1/p1p1p1p1p/9/2P6/P3P1P1P/1CN1C1N2/9/R1BAKAB1R w",
    "rnbakab1r/9/1c4nc1/p1p1p1p1p/9/9/P1P1P1P1P/1C2C1N2/9/RNBAKAB1R b",
    // Middlegames.
    "r2akab2/9/1cn1b1n2/p1p1p3p/6p2/2P6/P3P1P1P/1CN1B1N2/4A4/1R1AK1B1r w",
    "r1bakab1r/9/2n1c1n2/p1p1p1p1p/9/2P3P2/P3P3P/2N1C1N2/9/R1BAKAB1R b",
    "3akab2/3r5/2n1b4/p3p1p1p/2p3c2/6P2/P1P1P3P/2N1C1N2/4A4/2BAK1B1R w",
    "r3kab2/4a4/1c2b1n2/p3C3p/2p3p2/9/P1P1P1P1P/4C1N2/9/R1BAKAB2 w",
    // Crossed and deep pawns.
    "3akab2/9/4b4/2P1P1P2/9/9/9/4B4/4A4/3AK1B2 w",
    "3k5/3PaP3/4b4/9/9/9/9/9/4A4/4K4 w",
    "4k4/9/3P1P3/9/9/9/3p1p3/9/9/4K4 b",
    // Attacks on the palace.
    "3k5/4a4/4bR3/9/2n6/9/9/4C4/4A4/3AK4 w",
    "3akab2/4R4/4b4/9/9/9/9/9/9/R3K4 w",
    "4kab2/4a4/2N1b1N2/9/9/9/9/4C4/9/R2AK1B2 w",
    "2bak4/4a4/4b4/4C4/9/9/9/9/9/2BAK4 w",
    "3ak4/3Ra4/4bN3/9/9/9/9/9/9/4K4 w",
    "4ka3/4a4/2N6/9/2R1R4/9/9/9/9/4K4 w",
    // Rooks on open files and pinned pieces.
    "4kab2/4a4/4b4/p3p4/9/9/P3P4/4B4/4A4/R2AK1B2 w",
    "3k5/9/9/9/4n4/9/4R4/9/9/4K4 w",
    "4k4/4n4/9/9/4C4/9/9/9/9/3K5 w",
    "4k4/9/4c4/9/9/9/4R4/9/9/3K5 b",
    "r2k5/9/9/9/9/9/9/9/9/R3K4 w",
    // Few pieces.
    "4k4/9/9/9/9/9/9/9/9/4K4 w",
    "4k4/9/9/9/4R4/9/9/9/9/3K5 w",
    "3k5/9/9/9/9/9/9/9/4r4/4K4 b",
    "3k5/9/9/9/4p4/9/9/9/9/4K4 w",
    "3akab2/9/9/9/9/9/9/9/9/R3K4 w",
};

TEST(EvalSymmetry, ChosenPositions) {
    EvalBoard b;
    for (const char* fen : kPositions) {
        int side = 0;
        const std::string position = position_of(fen, &side);
        const Outcome o = check_twin(b, position, side, fen);
        EXPECT_TRUE(o.checked) << fen;
    }
}

// A captured king (only a set-up position can lack one) must not lead the king rules off the board.
TEST(EvalSymmetry, PositionsWithoutAKing) {
    EvalBoard b;
    const char* const fens[] = {
        "9/9/9/9/9/9/9/9/9/9 w",
        "R3a4/2C1P4/9/9/9/9/9/9/9/3AK4 w",
        "4k4/3P1P3/9/4C4/9/9/9/9/9/R8 w",
        "rnbaa1bnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w",
    };
    for (const char* fen : fens) EXPECT_TRUE(check_twin(b, position_of(fen), RED, fen).checked) << fen;
}

TEST(EvalSymmetry, RandomPositionsAtEveryDensity) {
    EvalBoard b;
    RandomPositions gen(20240611);
    int checked = 0, skipped = 0;
    std::set<int> classes;
    int endgame_verdicts = 0;
    for (double density : {0.1, 0.25, 0.45, 0.7, 0.95}) {
        for (int i = 0; i < 3000; ++i) {
            const std::string position = gen.next(density, i % 3 != 0);
            const Outcome o = check_twin(b, position, i % 2, position);
            if (!o.checked) {
                ++skipped;
                continue;
            }
            ++checked;
            b.set_position(position, i % 2);
            classes.insert(b.engine().eval_phase_class);
            endgame_verdicts += b.trace().verdict != endgame_verdict::none;
        }
        if (HasFailure()) break;
    }
    EXPECT_GT(checked, 12000) << "skipped " << skipped;
    EXPECT_EQ(classes.size(), 4u);
    EXPECT_GT(endgame_verdicts, 100);
}

}  // namespace

namespace {

// With five or six pieces the defenders' bonus goes to red's middlegame share but to black's endgame share.
TEST(EvalAsymmetry, DefendersWithFiveOrSixPieces) {
    EvalBoard b;
    // Red rook and horse against black rook, horse and cannon; four defenders each, no pawns.
    const char* fen = "rnbakabc1/9/9/9/9/9/9/9/9/RNBAKAB2 w";
    ASSERT_TRUE(b.set_fen(fen));
    const eval_trace t = b.trace();
    ASSERT_EQ(t.phase, 7);
    EXPECT_EQ(t.counts_terms[RED].mid - t.counts_terms[RED].end, 4 * 40);
    EXPECT_EQ(t.counts_terms[BLACK].end - t.counts_terms[BLACK].mid, 4 * 40);
    const int red = b.eval(RED);
    b.set_position(flipped_position(position_of(fen)), BLACK);
    const eval_trace twin = b.trace();
    EXPECT_EQ(twin.counts_terms[RED].mid - twin.counts_terms[RED].end, 4 * 40);
    EXPECT_EQ(twin.counts_terms[BLACK].end - twin.counts_terms[BLACK].mid, 4 * 40);
    EXPECT_NE(b.eval(RED), -red);
}

// A horse beside the palace behind a pinned piece: red wants its pawn on the far side of the palace
// centre (f8 with a horse on c7), black on the near side (d1 with a horse on c2).
TEST(EvalAsymmetry, PalacePawnBehindAPin) {
    struct Row {
        const char* fen;
        int side;
        int attack;
    } rows[] = {
        // The e3 cannon pins the e7 elephant (screen: the e5 pawn); horse on c7.
        {"4k4/5P3/2Naba3/9/4p4/9/4C4/9/4A4/3K1A3 w", RED, 100},  // f8: the pawn rule
        {"4k4/3P5/2Naba3/9/4p4/9/4C4/9/4A4/3K1A3 w", RED, 100},  // d8: palace-left pawn, twice 50
        {"3k1a3/4a4/9/4c4/9/4P4/9/2nABA3/5p3/4K4 b", BLACK, 0},   // f1: neither
        {"3k1a3/4a4/9/4c4/9/4P4/9/2nABA3/3p5/4K4 b", BLACK, 200},  // d1: both
    };
    EvalBoard b;
    for (const Row& r : rows) {
        ASSERT_TRUE(b.set_fen(r.fen));
        EXPECT_EQ(b.trace().king_safety[r.side].attack, r.attack) << r.fen;
    }
}

}  // namespace
