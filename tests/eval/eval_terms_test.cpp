// Worked cases of the piece blocks, read through the evaluation trace.
#include <gtest/gtest.h>

#include <string>

#include "eval_board.h"

namespace {

struct TermsCase {
    const char* fen;
    eval_terms expected;  // red's share of one block
    const char* why;
};

eval_terms block_of(const eval_trace& t, eval_terms const (eval_trace::*block)[2], int side) { return (t.*block)[side]; }

void expect_terms(const eval_terms& got, const eval_terms& want, const std::string& label) {
    EXPECT_EQ(got.mid, want.mid) << label;
    EXPECT_EQ(got.end, want.end) << label;
    EXPECT_EQ(got.attack, want.attack) << label;
}

// Red's block in the position, and black's block in the colour-flipped twin.
void check_block(const TermsCase& c, eval_terms const (eval_trace::*block)[2]) {
    EvalBoard b;
    ASSERT_TRUE(b.set_fen(c.fen)) << c.fen;
    // The piece blocks do not read the material class; class 0 keeps the endgame recognisers out.
    b.engine().eval_phase_class = 0;
    expect_terms(block_of(b.trace(), block, RED), c.expected, std::string(c.why) + " | " + c.fen);
    b.set_position(flipped_position(position_of(c.fen)), BLACK);
    b.engine().eval_phase_class = 0;
    expect_terms(block_of(b.trace(), block, BLACK), c.expected, std::string("twin: ") + c.why);
}

TEST(HorseTerms, LegsTargetsAndThreats) {
    const TermsCase cases[] = {
        // b0: forward targets a2 and c2 +3 each; backward leg off the board -3/-10; a0 leads
        // nowhere; c0 reaches d1 (+1).
        {"4k4/9/9/9/9/9/9/9/9/1N2K4 w", {4, -10, 0}, "horse on b0"},
        {"4k4/9/9/9/9/9/9/P8/9/1N2K4 w", {1, -10, 0}, "own piece on a target"},
        {"4k4/9/9/9/9/9/9/r8/9/1N2K4 w", {6, -10, 0}, "black rook on a target: +3 and its bonus 2"},
        {"4k4/9/9/9/9/9/9/9/1p7/1N2K4 w", {-7, -25, 0}, "forward leg blocked"},
        {"4k4/9/9/9/9/9/9/1p7/9/1N2K4 w", {-56, -90, 0}, "black pawn two ahead"},
        {"4k4/9/9/9/9/9/9/3p5/9/1N2K4 w", {-16, -40, 0}, "black pawn two ahead, two right"},
        // a0: only b2 forward (+3), c1 through b0 (+1); the backward and left legs are off the board.
        {"4k4/9/9/9/9/9/9/9/9/N3K4 w", {3 + 1 - 3 - 1, -10, 0}, "horse on a0"},
        // h0 with a black rook on h1 in front and the own rook on i0.
        {"4k4/9/9/9/9/9/9/9/7r1/4K2NR w", {-125 - 3 + 1 - 1, -115 - 10, 0}, "black rook before the h0 horse"},
        {"4k4/9/9/9/R8/9/9/9/7r1/4K2N1 w", {-90 - 3 + 1, -115 - 10, 0}, "without the i0 rook"},
        // A post on c8 beside a king that left for d9: 40 for the empty d8; the forward targets
        // are off the board, the other three legs reach two squares each.
        {"3k5/2N6/9/9/9/9/9/9/9/4K4 w", {40 + 6, 0, 0}, "post on c8, king on d9"},
        {"3k5/2N6/9/9/9/9/9/9/9/R3K4 w", {30 + 40 + 6, 0, 0}, "the same with a rook at home"},
        // Posts of the other kinds. a7: 10 per rook with b7 empty; legs 3 + 1 - 1 + 2.
        {"4k4/9/N8/9/9/9/9/9/9/4K3R w", {10 + 5, 0, 0}, "post on a7"},
        {"4k4/9/Np7/9/9/9/9/9/9/4K3R w", {3 + 1 - 1 - 1, 0, 0}, "a7 with b7 held: no post"},
        // d6 with d7 empty: 10 x 2 per rook; legs 6 + 2 + 2 + 2.
        {"4k4/9/9/3N5/9/9/9/9/9/4K3R w", {20 + 12, 0, 0}, "post on d6"},
        // d7 before the king at home: a rook on d8 beside it; the front leg is that rook.
        {"4k4/3r5/3N5/9/9/9/9/9/9/4K4 w", {-50 + 2 + 4, -75, 120}, "post on d7, rook on d8"},
    };
    for (const TermsCase& c : cases) check_block(c, &eval_trace::horses);
}

TEST(RookTerms, MobilityAndBackRank) {
    const TermsCase cases[] = {
        // a4 with an own pawn on b4; the own piece behind sets how far it sees backward.
        {"4k4/9/9/9/9/RP7/P8/9/9/4K4 w", {-14, 0, 0}, "m = 6"},
        {"4k4/9/9/9/9/RP7/9/P8/9/4K4 w", {-13, 0, 0}, "m = 7"},
        {"4k4/9/9/9/9/RP7/9/9/P8/4K4 w", {-12, 0, 0}, "m = 8"},
        {"4k4/9/9/9/9/RP7/9/9/9/P3K4 w", {9, 0, 0}, "m = 9"},
        {"4k4/9/9/9/9/R8/9/9/9/4K4 w", {18, 0, 0}, "open file and rank: 4 + 5 + edge + 8"},
        // On the enemy back rank: 9 back, the edge, 3 empty and the king (+1, no bonus) = 14, less 60.
        {"R3k4/9/9/9/9/9/9/9/9/4K4 w", {14 - 60, 0, 0}, "rook on the enemy back rank"},
    };
    for (const TermsCase& c : cases) check_block(c, &eval_trace::rooks);
}

TEST(RookTerms, StartPositionRooksAreShutIn) {
    EvalBoard b;
    ASSERT_TRUE(b.set_fen("rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w"));
    const eval_trace t = b.trace();
    // Each corner rook sees a1, a2 and the a3 pawn (m = 3) and nothing along the rank.
    expect_terms(t.rooks[RED], {-60, 0, 0}, "red");
    expect_terms(t.rooks[BLACK], {-60, 0, 0}, "black");
    // Each cannon: the horse behind the cannon on the far side (+3) and the other cannon on the rank (+4).
    expect_terms(t.cannons[RED], {14, 0, 0}, "red cannons");
}

TEST(KingSafety, RookOnThePalaceCentre) {
    const TermsCase cases[] = {
        // Both advisors: nothing for missing defenders; rook on e8 with two rooks: 50 x (12 - 6).
        {"3aka3/4R4/9/9/9/R8/9/9/9/3K5 w", {0, 0, 300}, "two advisors"},
        // One advisor: + 30 for the pair of rooks.
        {"3ak4/4R4/9/9/9/R8/9/9/9/3K5 w", {0, 0, 330}, "one advisor"},
    };
    for (const TermsCase& c : cases) check_block(c, &eval_trace::king_safety);
}

TEST(CannonTerms, CentralCannonFacingTheKing) {
    const TermsCase cases[] = {
        // Advisors beside the king: +40 mid; 40 x (cannon + 2 x rook).
        {"3aka3/9/9/9/9/R8/9/4C4/9/3K5 w", {40, 0, 120}, "empty central cannon"},
        // Red with two pieces against three: no weight for the pieces.
        {"n2aka2n/c8/9/9/9/R8/9/4C4/9/3K5 w", {40, 0, 0}, "outnumbered"},
        // Not yet across: the king is ahead but the cannon stands on its own back rank... rank 9 counts.
        {"3aka3/9/9/9/9/R8/9/9/9/3KC4 w", {40, 0, 120}, "from the back rank"},
    };
    for (const TermsCase& c : cases) check_block(c, &eval_trace::cannons);
}

// Scans that run off the board before their target: the screen still counts,
// and nothing past the edge does.
TEST(CannonTerms, ScansEndingAtTheEdge) {
    const TermsCase cases[] = {
        {"4k4/9/9/9/9/9/9/9/C8/r3K4 w", {0, 0, 0}, "a1: the a0 rook behind has nothing past it"},
        {"4k4/9/9/9/9/9/9/C8/P8/r3K4 w", {2, 0, 0}, "a2: the a1 pawn screens the a0 rook, bonus 2"},
        {"4k4/9/9/9/9/N1C6/9/9/9/4K4 w", {8, 0, 0}, "c4: own horse screen on a4, nothing past it"},
        {"4k4/9/9/9/9/NC7/9/9/9/4K4 w", {0, 0, 0}, "b4: no scan toward the a-file"},
        {"4k4/9/9/9/9/7CN/9/9/9/4K4 w", {0, 0, 0}, "h4: no scan toward the i-file"},
        {"4k4/9/9/9/9/NPC6/9/9/9/4K4 w", {0, 0, 20}, "c4: own horse target on a4 behind a pawn"},
    };
    for (const TermsCase& c : cases) check_block(c, &eval_trace::cannons);
}

// The second cannon of a side sees the pin left by the first.
TEST(CannonTerms, SecondCannonReadsThePinOfTheFirst) {
    EvalBoard b;
    // e4 cannon behind its e5 pawn pins the e7 horse to the king; the d2 cannon has an open file.
    std::string position = position_of("4k4/9/4n4/9/4P4/4C4/9/3C5/9/5K3 w");
    b.set_position(position, RED);
    const eval_terms pin_first = b.trace().cannons[RED];
    // Exchange the two cannon slots (6 and 7) so the open-file cannon is looked at first.
    std::vector<std::string> slots;
    for (size_t i = 0, j; i < position.size(); i = j + 1) {
        j = position.find(' ', i);
        slots.push_back(position.substr(i, j - i));
    }
    std::swap(slots[5], slots[6]);
    std::string swapped;
    for (const std::string& s : slots) swapped += s + " ";
    b.set_position(swapped, RED);
    const eval_terms open_first = b.trace().cannons[RED];
    EXPECT_EQ(pin_first.mid, open_first.mid);
    EXPECT_EQ(pin_first.attack - open_first.attack, 20);
}

// A cannon facing the king along its rank gains 80 for each rook whose file
// reaches that rank between the two; a file blocked short of the rank gives nothing.
TEST(CannonTerms, RooksReachingTheKingRank) {
    struct Case {
        const char* fen;
        int rook_bonus;
        const char* why;
    };
    // The cannon on a9 sees the king on e9; a black pawn on c6 or g6 stays in
    // both positions of a case so that only the rook's file differs.
    const Case cases[] = {
        {"C3k4/9/9/p8/9/2R6/9/9/9/3K5 w", 80, "c-file open up to c9"},
        {"C3k4/9/9/2p6/9/2R6/9/9/9/3K5 w", 0, "c-file stopped on c6"},
        {"C3k4/9/9/p8/9/6R2/9/9/9/3K5 w", 0, "g9 lies past the king"},
    };
    EvalBoard b;
    for (const Case& c : cases) {
        // The same cannon without the rook, with the pawn where the case has it.
        std::string base = c.fen;
        base[base.find('R')] = '1';
        ASSERT_TRUE(b.set_fen(c.fen));
        b.engine().eval_phase_class = 0;
        const eval_terms with_rook = b.trace().cannons[RED];
        ASSERT_TRUE(b.set_fen(base));
        b.engine().eval_phase_class = 0;
        const eval_terms without = b.trace().cannons[RED];
        EXPECT_EQ(with_rook.attack - without.attack, c.rook_bonus) << c.why;
        EXPECT_EQ(with_rook.mid - without.mid, 20) << c.why << ": 10 x 2 per rook";
    }
}

// The defender pairs and the wing terms of the count terms, each case against
// a reference position of the same material where the pair or the attack is
// gone; black's through the colour-flipped twins.
TEST(CountTerms, DefenderPairsAndWings) {
    struct Case {
        const char* fen;
        const char* reference;
        int mid, end;
        const char* why;
    };
    const Case cases[] = {
        {"4k4/9/9/9/9/9/9/4B4/9/2BAKA3 w", "4k4/9/9/9/9/9/9/9/9/2BAKAB2 w", 17, 11, "elephants c0 e2, eye open"},
        {"4k4/9/9/9/9/9/9/4B4/3K5/2BA1A3 w", "4k4/9/9/9/9/9/9/9/3K5/2BA1AB2 w", 8, 6, "the king on the eye"},
        {"4k4/9/9/9/9/9/9/9/4A4/2BAK1B2 w", "4k4/9/9/9/9/9/9/9/9/2BAKAB2 w", 6, 9, "advisors d0 e1"},
        {"4k4/9/9/9/9/9/9/4B4/9/3AKA3 w", "4k4/9/9/9/9/9/9/9/9/2BAKA3 w", 0, 0, "a lone elephant"},
        {"4k4/9/1R7/9/9/9/9/9/9/4K4 w", "4k4/9/9/9/9/9/9/1R7/9/4K4 w", 40, 0, "rook on an undefended wing"},
        {"4k4/2n6/1R7/9/9/9/9/9/9/4K4 w", "4k4/2n6/9/9/9/9/9/1R7/9/4K4 w", 10, 0, "rook 4 against horse 2"},
        {"4k4/rr7/1R7/9/9/9/9/9/9/4K4 w", "4k4/rr7/9/9/9/9/9/1R7/9/4K4 w", 0, 0, "rook against two rooks"},
    };
    for (const Case& c : cases) {
        for (int side : {RED, BLACK}) {
            auto terms = [side](const char* fen) {
                EvalBoard b;
                if (side == RED) EXPECT_TRUE(b.set_fen(fen)) << fen;
                else b.set_position(flipped_position(position_of(fen)), BLACK);
                b.engine().eval_phase_class = 0;  // wing terms count up to class 2
                return b.trace().counts_terms[side];
            };
            const eval_terms got = terms(c.fen), reference = terms(c.reference);
            const std::string label = std::string(c.why) + (side == RED ? "" : " (twin)");
            EXPECT_EQ(got.mid - reference.mid, c.mid) << label;
            EXPECT_EQ(got.end - reference.end, c.end) << label;
        }
    }
}

}  // namespace
