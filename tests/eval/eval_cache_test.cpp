// The remembered evaluations must never stand in for a different position.
#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

#include "eval/eval_cache.h"
#include "eval/material_table.h"
#include "eval_board.h"
#include "position/position_string.h"
#include "random_positions.h"

namespace {

std::vector<int> slots_of(const std::string& position) {
    std::istringstream in(position);
    std::vector<int> v;
    for (int s; in >> s;) v.push_back(s);
    return v;
}

std::string position_from(const std::vector<int>& slots) {
    std::string out;
    for (int s : slots) out += std::to_string(s) + " ";
    return out;
}

// Slots (0-based) of like pieces whose exchange keeps both hash words.
constexpr std::pair<int, int> kLikePairs[] = {{5, 6}, {7, 8}, {9, 10}, {11, 12}, {13, 14}, {0, 4}, {1, 3},
                                              {21, 22}, {23, 24}, {25, 26}, {27, 28}, {29, 30}, {16, 20}};

int fresh_evaluation(const Count& e, int side) {
    eval_trace t;
    return evaluate_traced(e, side, t);
}

// Like pieces exchanged give the same hash words but, through rules that read
// one piece of a pair before the other, not always the same score.
TEST(EvalCache, LikePiecesExchangedAreEvaluatedAfresh) {
    EvalBoard b;
    RandomPositions gen(77031);
    Count& e = b.engine();
    int differing = 0, compared = 0;
    for (double density : {0.3, 0.6, 0.95}) {
        for (int i = 0; i < 2000; ++i) {
            const std::string position = gen.next(density, i % 2 == 0);
            b.set_position(position, RED);
            const uint32_t key = e.zobrist_key, lock = e.zobrist_lock;
            const int first = b.eval(RED);
            std::vector<int> slots = slots_of(position);
            for (const auto& [x, y] : kLikePairs) std::swap(slots[x], slots[y]);
            // The same search: the square values stay, only the placement changes.
            setup_position(e, position_from(slots).c_str(), RED);
            recompute_pst_score(e);
            ASSERT_EQ(e.zobrist_key, key);
            ASSERT_EQ(e.zobrist_lock, lock);
            const int expected = fresh_evaluation(e, RED);
            ASSERT_EQ(b.eval(RED), expected) << position;
            ASSERT_EQ(b.eval(BLACK), -expected) << position;
            differing += expected != first;
            ++compared;
        }
    }
    EXPECT_GT(differing, 0) << "no exchange changed the score in " << compared << " positions";
}

// The square values change between searches; so does the score of a placement.
TEST(EvalCache, ForgottenBetweenSearchesAndKeyedByTheSquareSum) {
    EvalBoard b;
    ASSERT_TRUE(b.set_fen("rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w"));
    Count& e = b.engine();
    const int start = b.eval(RED);
    e.pst_score += 40;
    EXPECT_EQ(b.eval(RED), fresh_evaluation(e, RED));
    EXPECT_NE(b.eval(RED), start);
    e.pst_score -= 40;
    EXPECT_EQ(b.eval(RED), start);

    e.piece_square_value[RED_KING][e.piece_square[RED_KING]] += 1000;
    prepare_evaluation(e);  // refills the values from the base table and forgets
    e.piece_square_value[RED_KING][e.piece_square[RED_KING]] += 8;
    recompute_pst_score(e);
    EXPECT_EQ(b.eval(RED), fresh_evaluation(e, RED));
}

// The material table is read by piece counts and phase class: taking pieces
// off one at a time, each type in turn, under every class, must never find an
// entry of another material or class.
TEST(MaterialTable, EntriesNeverStandInForAnotherMaterialOrClass) {
    EvalBoard b;
    RandomPositions gen(40913);
    Count& e = b.engine();
    eval::material_table_forget();
    int checked = 0;
    for (int i = 0; i < 40; ++i) {
        std::vector<int> slots = slots_of(gen.next(0.95, i % 2 == 0));
        for (int slot = 0; slot < PIECE_CODES; ++slot) {
            if (slot % 16 == 15 || slots[slot] == 0) continue;  // kings stay
            slots[slot] = 0;
            for (int phase_class = 0; phase_class < 4; ++phase_class) {
                b.set_position(position_from(slots), RED);
                e.eval_phase_class = phase_class;
                ASSERT_TRUE(eval::material_entry_fresh(e, eval::material_entry_for(e)))
                    << "class " << phase_class << ": " << position_from(slots);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

}  // namespace
