// Drawn and drawish endings: the verdict, the shrunken score, and the same
// verdict for the colour-flipped twin.
#include <gtest/gtest.h>

#include <string>

#include "eval_board.h"

namespace {

struct EndgameCase {
    const char* fen;
    endgame_verdict verdict;
};

class EndgameRules : public ::testing::TestWithParam<EndgameCase> {};

TEST_P(EndgameRules, VerdictScoreAndTwin) {
    const EndgameCase& c = GetParam();
    EvalBoard b;
    ASSERT_TRUE(b.set_fen(c.fen));
    ASSERT_EQ(b.engine().eval_phase_class, 3);
    const eval_trace t = b.trace();
    EXPECT_EQ(t.verdict, c.verdict) << t.endgame_rule;
    const int pst = b.engine().pst_score;
    if (c.verdict != endgame_verdict::none) {
        const int divisor = c.verdict == endgame_verdict::draw ? 5 : 2;
        EXPECT_EQ(b.eval(RED), pst / divisor);
        EXPECT_EQ(b.eval(BLACK), -(pst / divisor));
    }
    b.set_position(flipped_position(position_of(c.fen)), BLACK);
    EXPECT_EQ(b.trace().verdict, c.verdict) << "twin";
}

// Stable, readable names: the expected verdict and the case's place in the list.
std::string case_name(const ::testing::TestParamInfo<EndgameCase>& info) {
    static const char* const verdicts[] = {"None", "Draw", "Drawish"};
    return std::string(verdicts[static_cast<int>(info.param.verdict)]) + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(
    Evaluation, EndgameRules,
    ::testing::Values(
        // Rook against rook.
        EndgameCase{"4k4/9/9/9/4r4/9/9/4R4/9/3K5 w", endgame_verdict::draw},
        EndgameCase{"4k4/9/9/p8/4r4/9/P8/4R4/9/3K5 w", endgame_verdict::draw},              // pawns at home
        EndgameCase{"3ak4/9/9/p8/2P1r4/2P6/9/4R4/9/3K5 w", endgame_verdict::none},          // crossed pawns
        EndgameCase{"2bak4/4a4/4b4/9/4r4/9/2P6/4R4/4A4/2BK1A3 w", endgame_verdict::draw},  // two fortresses
        // Rook and cannon against rook.
        EndgameCase{"2bakab2/9/9/9/4r4/9/9/1R5C1/9/3K5 w", endgame_verdict::drawish},
        EndgameCase{"4k4/9/9/9/4r4/9/9/1R5C1/9/3K5 w", endgame_verdict::drawish},
        EndgameCase{"4k4/9/9/9/4r4/9/9/4R2C1/9/3K5 w", endgame_verdict::none},  // rook on the centre file
        EndgameCase{"4k4/9/9/9/4r4/9/9/1R5C1/4A4/3K5 w", endgame_verdict::none},  // with a defender
        // Two rooks against rook and defence.
        EndgameCase{"3akab2/9/9/9/4r4/2c6/9/1R5R1/9/3K5 w", endgame_verdict::drawish},
        EndgameCase{"2bak4/4a4/4b4/9/4r4/9/9/1R5R1/9/3K5 w", endgame_verdict::drawish},   // linked elephants
        EndgameCase{"2bak1b2/4a4/9/9/4r4/9/9/1R5R1/9/3K5 w", endgame_verdict::none},      // none on e7
        EndgameCase{"2bak4/4a4/4b4/9/4r4/9/9/1R5R1/9/3KP4 w", endgame_verdict::none},     // a red pawn
        // A lone minor piece.
        EndgameCase{"3aka3/9/9/9/9/9/9/1N7/9/3K5 w", endgame_verdict::drawish},
        EndgameCase{"3ak4/9/9/9/9/9/9/1N7/9/3K5 w", endgame_verdict::none},
        EndgameCase{"4k4/9/9/9/9/9/9/1N7/9/3K5 w", endgame_verdict::none},
        EndgameCase{"4k4/9/9/9/9/9/9/1C7/9/3K5 w", endgame_verdict::drawish},  // no red advisor
        EndgameCase{"4k4/9/9/9/9/9/9/1C7/4A4/3K5 w", endgame_verdict::none},
        EndgameCase{"2bakab2/9/9/9/9/9/4P4/1N7/9/3K5 w", endgame_verdict::drawish},  // horse and pawn
        // Minor against minor.
        EndgameCase{"4k4/9/9/9/9/9/4P4/1N7/9/1n1K5 w", endgame_verdict::none},
        EndgameCase{"3ak4/9/4b4/4n4/9/9/4P4/1N7/9/3K5 w", endgame_verdict::draw},   // defended horse
        EndgameCase{"4k4/9/9/4c4/9/9/9/1N7/9/3K5 w", endgame_verdict::draw},  // nothing to win with
        EndgameCase{"2b1k1b2/9/9/4c4/9/9/4P4/1N7/9/3K5 w", endgame_verdict::draw},  // horse against cannon
        EndgameCase{"3aka3/9/9/4c4/9/9/4P4/1N7/9/3K5 w", endgame_verdict::none},
        // Pawns only.
        EndgameCase{"3ak4/9/9/9/9/9/4P4/9/9/3K5 w", endgame_verdict::draw},
        EndgameCase{"4k4/9/9/9/9/9/4P4/9/9/3K5 w", endgame_verdict::none},
        EndgameCase{"3ak4/9/9/9/9/9/4P1P2/9/9/3K5 w", endgame_verdict::none}),
    case_name);

TEST(EndgameRules, NegativeScoresTruncateTowardZero) {
    EvalBoard b;
    struct Row {
        const char* fen;
        int red_score;
    } rows[] = {{"4k4/9/9/9/4r4/9/9/4R4/9/3K5 w", -1}, {"4k4/9/9/9/4r4/9/9/1R5C1/9/3K5 w", -3}};
    for (const Row& r : rows) {
        ASSERT_TRUE(b.set_fen(r.fen));
        b.engine().pst_score = -7;
        EXPECT_EQ(b.eval(RED), r.red_score) << r.fen;
        EXPECT_EQ(b.eval(BLACK), -r.red_score) << r.fen;
    }
}

TEST(EndgameRules, OnlyInThinEndgames) {
    EvalBoard b;
    ASSERT_TRUE(b.set_fen("4k4/9/9/9/4r4/9/9/4R4/9/3K5 w"));
    for (int phase_class : {0, 1}) {
        b.engine().eval_phase_class = phase_class;
        EXPECT_EQ(b.trace().verdict, endgame_verdict::none);
        EXPECT_NE(b.eval(RED), b.engine().pst_score / 5);
    }
    // Five pieces in a class 3 position (prepared before two rooks came off) are not looked at.
    ASSERT_TRUE(b.set_fen("4k4/9/9/9/4r4/9/9/1R5C1/1N7/3K5 w"));
    b.engine().eval_phase_class = 3;
    EXPECT_EQ(b.trace().verdict, endgame_verdict::none);
}

TEST(EndgameRules, CrossedPawnsAgainstABrokenPalaceSetTheAccumulators) {
    EvalBoard b;
    // Red pawns on d7 and f7: crossed, deep and in the palace; black has one advisor and no elephant.
    ASSERT_TRUE(b.set_fen("4k4/4a4/3P1P3/9/4r4/9/9/4R4/9/3K5 w"));
    const eval_trace t = b.trace();
    EXPECT_EQ(t.verdict, endgame_verdict::none);
    EXPECT_STRNE(t.endgame_rule, "");
    EXPECT_EQ(t.endgame_terms[RED].mid, 200 * (2 + 2 + 2));
    EXPECT_EQ(t.endgame_terms[RED].end, 200 * (2 + 2 + 2));
    EXPECT_EQ(t.endgame_terms[BLACK].mid, 0);
}

}  // namespace
