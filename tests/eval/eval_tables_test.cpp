// Square values, capture bonus, material classes and their square-value adjustments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "board/geometry.h"
#include "eval/eval_tables.h"
#include "eval_board.h"

namespace {

constexpr const char* START_FEN = "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w";

TEST(SquareValues, RedSpotValues) {
    EvalBoard b;
    const Count& e = b.engine();
    struct Row {
        int offset;
        const char* square;
        int value;
    } rows[] = {
        {PAWN_OFFSET, "e3", 50},    {PAWN_OFFSET, "b4", 0},       {PAWN_OFFSET, "d3", 0},
        {PAWN_OFFSET, "h4", 0},     {PAWN_OFFSET, "a4", 25},      {PAWN_OFFSET, "e8", 210},
        {PAWN_OFFSET, "e9", 30},    {PAWN_OFFSET, "e0", 0},       {CANNON_OFFSET, "b2", 368},
        {CANNON_OFFSET + 1, "i9", 353}, {HORSE_OFFSET, "b0", 342}, {HORSE_OFFSET + 1, "h6", 378},
        {ROOK_OFFSET, "a0", 752},   {ROOK_OFFSET + 1, "d8", 757}, {ELEPHANT_OFFSET, "e2", 125},
        {ELEPHANT_OFFSET, "g4", 115}, {ELEPHANT_OFFSET, "e3", 0}, {ADVISOR_OFFSET, "e1", 125},
        {ADVISOR_OFFSET + 1, "f0", 120}, {KING_OFFSET, "e0", 4040}, {KING_OFFSET, "f2", 3940},
    };
    for (const Row& r : rows) EXPECT_EQ(e.base_square_value[RED_BASE + r.offset][sq(r.square)], r.value) << r.square;
}

TEST(SquareValues, FileSymmetricAndBlackIsTheNegatedHalfTurn) {
    EvalBoard b;
    const Count& e = b.engine();
    for (int k = 0; k < 16; ++k) {
        for (int f = 0; f < 9; ++f) {
            for (int r = 0; r < 10; ++r) {
                const int red = e.base_square_value[RED_BASE + k][make_square(f, r)];
                EXPECT_EQ(red, e.base_square_value[RED_BASE + k][make_square(8 - f, r)]);
                EXPECT_EQ(e.base_square_value[BLACK_BASE + k][make_square(8 - f, 9 - r)], -red);
            }
        }
    }
    EXPECT_EQ(e.base_square_value[BLACK_BASE + HORSE_OFFSET][sq("b9")], -342);
    EXPECT_EQ(e.base_square_value[BLACK_BASE + PAWN_OFFSET][sq("e6")], -50);
    // Codes that are not pieces are worth nothing anywhere.
    for (int code : {0, EMPTY_SQUARE, OFF_BOARD, RED_BASE - 1, BLACK_BASE + 16})
        for (int s = 0; s < 256; ++s) EXPECT_EQ(e.base_square_value[code][s], 0);
}

TEST(CaptureBonus, Boundaries) {
    EvalBoard b;
    const std::pair<int, int> rows[] = {{0, 0},   {9, 0},    {10, -2},  {30, -6}, {50, -10}, {51, 2},
                                        {100, 5}, {249, 12}, {250, 3},  {360, 4}, {500, 6},  {501, 1},
                                        {760, 2}, {999, 2},  {1000, 0}, {1023, 0}};
    for (auto [v, bonus] : rows) EXPECT_EQ(eval::capture_value_bonus[v], bonus) << v;
}

TEST(CaptureBonus, KingAndEmptySquaresGiveNothing) {
    EvalBoard b;
    ASSERT_TRUE(b.set_fen(START_FEN));
    const Count& e = b.engine();
    EXPECT_EQ(eval::capture_bonus(e, sq("e9")), 0);  // black king, square value -4040
    EXPECT_EQ(eval::capture_bonus(e, sq("e0")), 0);
    EXPECT_EQ(eval::capture_bonus(e, sq("e5")), 0);  // empty
    EXPECT_EQ(eval::capture_bonus(e, sq("a9")), 2);  // black rook 752 - 30 undeveloped = 722
    EXPECT_EQ(eval::capture_bonus(e, sq("h9")), 3);  // black horse 342 - 30 = 312
    EXPECT_EQ(eval::capture_bonus(e, sq("e6")), -10);  // black pawn 50
    EXPECT_EQ(eval::capture_bonus(e, sq("a6")), -6);   // black pawn 30
}

// The table the evaluation reads must follow the square values of every
// material class, each of which adjusts them differently; one engine runs
// through the classes so that values left from the previous one would show.
TEST(CaptureBonus, TableFollowsTheSquareValuesOfEachClass) {
    const char* const fens[] = {
        START_FEN,                                                          // class 0
        "1nbakab2/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/1NBAKABN1 w",     // class 1
        "rnbakab2/9/1c7/p1p1p1p1p/9/9/P1P1P1P1P/9/9/1NBAKAB1R w",           // class 2
        "r1bakab2/9/9/p1p1p1p1p/9/9/P1P1P1P1P/9/9/R1BAKAB2 w",              // class 3
        START_FEN,
    };
    EvalBoard b;
    for (const char* fen : fens) {
        ASSERT_TRUE(b.set_fen(fen));
        const Count& e = b.engine();
        for (int side : {RED, BLACK}) {
            const int enemy_base = side_base(1 - side);
            for (int code : {RED_BASE, BLACK_BASE, EMPTY_SQUARE, OFF_BOARD}) {
                for (int k = 0; k < (code == RED_BASE || code == BLACK_BASE ? 16 : 1); ++k) {
                    const bool enemy = code == enemy_base;
                    for (int s = FIRST_SQUARE; s <= LAST_SQUARE; ++s) {
                        if (!is_playing_square(s)) continue;
                        const int v = std::abs(e.piece_square_value[code + k][s]);
                        const int want = enemy && v < eval::CAPTURE_BONUS_SIZE ? eval::capture_value_bonus[v] : 0;
                        ASSERT_EQ(e.capture_bonus_by_code[side][eval::bonus_row(code + k)][s], want)
                            << fen << " side " << side << " code " << code + k << " square " << s;
                    }
                }
            }
        }
    }
}

TEST(AttackTables, CountsAboveTheTableUseTheLastEntry) {
    EXPECT_EQ(eval::attack_index(3), 3);
    EXPECT_EQ(eval::attack_index(15), 15);
    EXPECT_EQ(eval::attack_index(19), 15);
}

struct PhaseCase {
    const char* fen;
    int phase_class;
    bool undeveloped_penalty;
};

class PhaseClass : public ::testing::TestWithParam<PhaseCase> {};

TEST_P(PhaseClass, ClassAndPenalties) {
    const PhaseCase& c = GetParam();
    EvalBoard b;
    ASSERT_TRUE(b.set_fen(c.fen));
    const Count& e = b.engine();
    EXPECT_EQ(e.eval_phase_class, c.phase_class);
    const int penalty = c.undeveloped_penalty ? 30 : 0;
    EXPECT_EQ(e.piece_square_value[RED_BASE + ROOK_OFFSET][sq("a0")], 752 - penalty);
    EXPECT_EQ(e.piece_square_value[RED_BASE + ROOK_OFFSET + 1][sq("i0")], 752 - penalty);
    EXPECT_EQ(e.piece_square_value[RED_BASE + HORSE_OFFSET + 1][sq("h0")], 342 - penalty);
    EXPECT_EQ(e.piece_square_value[BLACK_BASE + ROOK_OFFSET][sq("i9")], -752 + penalty);
    EXPECT_EQ(e.piece_square_value[BLACK_BASE + HORSE_OFFSET][sq("b9")], -342 + penalty);
    EXPECT_EQ(e.piece_square_value[RED_BASE + HORSE_OFFSET][sq("c2")], 357);  // elsewhere untouched
}

INSTANTIATE_TEST_SUITE_P(
    Evaluation, PhaseClass,
    ::testing::Values(
        // Everything on the board: full middlegame.
        PhaseCase{START_FEN, 0, true},
        // Black without advisors: not class 0, but 12 pieces keep the development penalties.
        PhaseCase{"rnb1k1bnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w", 1, true},
        // Two pawns for red only.
        PhaseCase{"rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P3P4/1C5C1/9/RNBAKABNR w", 1, true},
        // Eight pieces with four rooks: penalties; eight without: none.
        PhaseCase{"r1bakab1r/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/R1BAKAB1R w", 1, true},
        PhaseCase{"1nbakabn1/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/1NBAKABN1 w", 1, false},
        // Seven pieces.
        PhaseCase{"1nbakab2/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/1NBAKABN1 w", 1, false},
        // Six pieces: class 1 only with a crossed pawn or a pair of rooks; five: class 2.
        PhaseCase{"rnbakab2/9/1c7/p1p1p1p1p/9/9/P1P1P1P1P/1C7/9/RNBAKAB2 w", 2, false},
        PhaseCase{"rnbakab2/9/1c7/p1p1p1p1p/2P6/9/P3P1P1P/1C7/9/RNBAKAB2 w", 1, false},
        PhaseCase{"rnbakab2/9/1c7/p1p1p1p1p/9/9/P1P1P1P1P/1C7/9/R1BAKAB1R w", 1, false},
        PhaseCase{"rnbakab2/9/1c7/p1p1p1p1p/9/9/P1P1P1P1P/9/9/1NBAKAB1R w", 2, false},
        // Four pieces or fewer: bare endgame.
        PhaseCase{"r1bakab2/9/9/p1p1p1p1p/9/9/P1P1P1P1P/9/9/R1BAKAB2 w", 3, false},
        PhaseCase{"3k5/9/9/9/9/9/9/9/9/4K4 w", 3, false}),
    // Stable, readable names: the expected class, the penalty, and the case's place in the list.
    [](const ::testing::TestParamInfo<PhaseCase>& info) {
        return "Class" + std::to_string(info.param.phase_class) +
               (info.param.undeveloped_penalty ? "_Penalised_" : "_") + std::to_string(info.index);
    });

TEST(PhaseClass, MiddlegameDefendersLoseTen) {
    EvalBoard b;
    ASSERT_TRUE(b.set_fen(START_FEN));
    const Count& e = b.engine();
    EXPECT_EQ(e.piece_square_value[RED_BASE + ELEPHANT_OFFSET][sq("c0")], 110);
    EXPECT_EQ(e.piece_square_value[RED_BASE + ADVISOR_OFFSET + 1][sq("e1")], 115);
    EXPECT_EQ(e.piece_square_value[RED_BASE + ADVISOR_OFFSET][sq("a5")], -10);  // every square
    EXPECT_EQ(e.piece_square_value[BLACK_BASE + ELEPHANT_OFFSET + 1][sq("g9")], -110);
    EXPECT_EQ(e.piece_square_value[BLACK_BASE + ADVISOR_OFFSET][sq("e8")], -115);
    EXPECT_EQ(e.piece_square_value[RED_BASE + PAWN_OFFSET][sq("e3")], 50);
}

TEST(PhaseClass, BareEndgameAdvisorsAndHomeCannons) {
    EvalBoard b;
    ASSERT_TRUE(b.set_fen("2bakab2/9/9/9/9/9/9/9/9/C1BAKAB2 w"));
    const Count& e = b.engine();
    ASSERT_EQ(e.eval_phase_class, 3);
    EXPECT_EQ(e.piece_square_value[RED_BASE + ADVISOR_OFFSET][sq("d0")], 140);
    EXPECT_EQ(e.piece_square_value[BLACK_BASE + ADVISOR_OFFSET + 1][sq("f9")], -140);
    EXPECT_EQ(e.piece_square_value[RED_BASE + CANNON_OFFSET][sq("a0")], 365);  // own half +10
    EXPECT_EQ(e.piece_square_value[RED_BASE + CANNON_OFFSET][sq("a9")], 353);  // across the river unchanged
    EXPECT_EQ(e.piece_square_value[BLACK_BASE + CANNON_OFFSET + 1][sq("a9")], -365);
    EXPECT_EQ(e.piece_square_value[RED_BASE + ELEPHANT_OFFSET][sq("c0")], 120);
}

TEST(PhaseClass, PreparationStartsFromTheBaseValuesEachTime) {
    EvalBoard b;
    ASSERT_TRUE(b.set_fen(START_FEN));
    ASSERT_TRUE(b.set_fen(START_FEN));
    EXPECT_EQ(b.engine().piece_square_value[RED_BASE + ROOK_OFFSET][sq("a0")], 722);
}

TEST(PstScore, RecomputedSumOfPiecesOnTheBoard) {
    EvalBoard b;
    ASSERT_TRUE(b.set_fen(START_FEN));
    EXPECT_EQ(b.engine().pst_score, 0);
    // Without the black h9 horse: red is ahead by its prepared value (342 - 30).
    ASSERT_TRUE(b.set_fen("rnbakab1r/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w"));
    EXPECT_EQ(b.engine().eval_phase_class, 0);
    EXPECT_EQ(b.engine().pst_score, 312);
    // A bare king pair: 4040 - 4040 (f0 against e9: 4020 - 4040).
    ASSERT_TRUE(b.set_fen("4k4/9/9/9/9/9/9/9/9/5K3 w"));
    EXPECT_EQ(b.engine().pst_score, -20);
}

}  // namespace
