#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "board/movegen.h"
#include "search/lazy_sort.h"
#include "search/ordering.h"
#include "search/search_common.h"
#include "search_fixture.h"

namespace {

class Ordering : public SearchTest {
protected:
    // Generates and scores the list of height 1 for the side to move; returns the move with that text.
    move_t scored(const std::string& fen, const std::string& ucci, int hash_from = 0, int hash_to = 0) {
        set_fen(*e, fen);
        prepare_node_search();
        generate_moves(*e, e->side_to_move, 1);
        score_moves(*e, 1, e->side_to_move, hash_from, hash_to, false);
        sort_moves(e->ply_moves[1], e->ply_moves[2] - 1);
        for (const move_t* m = e->ply_moves[1]; m < e->ply_moves[2]; ++m)
            if (text(*m) == ucci) return *m;
        ADD_FAILURE() << ucci << " not generated";
        return move_t{};
    }
    int gain(const move_t& m) const {
        return e->piece_square_value[m.piece][m.to] - e->piece_square_value[m.piece][m.from] -
               e->piece_square_value[m.captured][m.to];
    }
    bool sorted_highest_first() const {
        for (const move_t* m = e->ply_moves[1]; m + 1 < e->ply_moves[2]; ++m)
            if (m->score < (m + 1)->score) return false;
        return true;
    }
};

// A red pawn on e5 before a black rook on e6, which the red rook on f6 may take too.
constexpr const char* kCaptures = "3k5/9/9/2pprR3/4P4/9/9/9/9/4K4 w - - 0 1";

TEST_F(Ordering, CaptureRanking) {
    const move_t pawn_takes_rook = scored(kCaptures, "e5e6");
    EXPECT_EQ(pawn_takes_rook.score, 10 * ORDER_PAWN + 40000 + gain(pawn_takes_rook));  // 40130 + gain
    EXPECT_TRUE(sorted_highest_first());

    // The hash move's bonus comes on top.
    const move_t hashed = scored(kCaptures, "e5e6", 52 + 4 + 16 * 4, 52 + 4 + 16 * 3);
    EXPECT_EQ(hashed.score, pawn_takes_rook.score + 50000);

    // An even capture: 30000 when the victim is not guarded, nothing when it is.
    const move_t even = scored(kCaptures, "f6e6");
    EXPECT_EQ(even.score, 30000 + gain(even));
    const move_t guarded = scored("3k5/9/4r4/2pprR3/4P4/9/9/9/9/4K4 w - - 0 1", "f6e6");
    EXPECT_EQ(guarded.score, gain(guarded));
}

TEST_F(Ordering, DefendedEqualCaptureSortsWithQuietMoves) {
    // The red pawn on d5 may take the black pawn on d6, which the rook on e6 guards.
    const move_t pawn_takes_pawn = scored("3k5/9/9/2ppr4/3P5/9/9/9/9/4K4 w - - 0 1", "d5d6");
    EXPECT_EQ(pawn_takes_pawn.score, gain(pawn_takes_pawn));
    const move_t undefended = scored("3k5/9/9/3p5/3P5/9/9/9/9/4K4 w - - 0 1", "d5d6");
    EXPECT_EQ(undefended.score, 30000 + gain(undefended));
}

TEST_F(Ordering, KillersAndHistory) {
    set_fen(*e, "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1");
    prepare_node_search();
    std::memset(e->killers, 0, sizeof(e->killers));
    const move_t a{0, 171, 168, 0, 0}, b{0, 165, 168, 0, 0}, c{0, 203, 170, 0, 0}, d{0, 197, 166, 0, 0};
    killer_update(*e, 1, a, 5);
    killer_update(*e, 1, a, 7);  // equal to killer 0: nothing changes
    EXPECT_EQ(e->killers[1][0].score, 5);
    killer_update(*e, 1, b, 6);
    killer_update(*e, 1, c, 19950);
    killer_update(*e, 1, d, 1);
    EXPECT_TRUE(same_move(e->killers[1][0], d));
    EXPECT_TRUE(same_move(e->killers[1][1], c));
    EXPECT_TRUE(same_move(e->killers[1][2], b));  // a dropped

    // Killer bonuses: 23000 for killer 0, 44000 for a mate-scored killer 1.
    generate_moves(*e, RED, 1);
    score_moves(*e, 1, RED, 0, 0, false);
    sort_moves(e->ply_moves[1], e->ply_moves[2] - 1);
    for (const move_t* m = e->ply_moves[1]; m < e->ply_moves[2]; ++m) {
        if (m->captured != EMPTY_SQUARE) continue;
        const int base = gain(*m) - 20000;
        const int expected = same_move(*m, d) ? 23000 : same_move(*m, c) ? 44000 : same_move(*m, b) ? 21000 : 0;
        EXPECT_EQ(m->score, base + expected) << text(*m);
    }
    EXPECT_TRUE(sorted_highest_first());

    // History halves the whole table when one entry reaches 16384.
    std::memset(&e->history, 0, sizeof(e->history));
    e->history(100, 101) = 7;
    for (int i = 0; i < 16383; ++i) history_reward(*e, a);
    EXPECT_EQ(e->history(a.from, a.to), 16383);
    history_reward(*e, a);
    EXPECT_EQ(e->history(a.from, a.to), 8192);
    EXPECT_EQ(e->history(100, 101), 4);

    // Tries and hits halve together at 16384 tries.
    const move_t* none[1] = {nullptr};
    e->history_cuts(a.from, a.to).tries = 16383;
    e->history_cuts(a.from, a.to).hits = 9;
    cutoff_learning(*e, 2, a, 0, none, 0);
    EXPECT_EQ(e->history_cuts(a.from, a.to).tries, 8192);
    EXPECT_EQ(e->history_cuts(a.from, a.to).hits, 5);
}

// The move searched before the quiet moves are listed is the one the full
// list would sort first, whatever the hash move and killers are: quiet or
// captures now, repeated, or not moves here at all.
TEST_F(Ordering, FirstMoveBeforeQuietsAsFromTheFullList) {
    const char* const fens[] = {
        "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1",
        "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1",
        "2bak1b2/4a4/2n3nc1/2p1p1p1p/p8/2P3P2/2NRP3P/3C2NC1/c3Ar3/2B1KAB2 b - - 9 15",
        "3k5/9/9/2pprR3/4P4/9/9/9/9/4K4 w - - 0 1",
        // Three rook captures, each of a defended piece: every defence test counts.
        "3akab2/9/4b4/p1p1r1p1p/2n1R1c2/9/P1P1P1P1P/1C7/9/3AKAB2 w - - 0 1",
        "4k4/9/9/9/9/9/9/9/9/4K4 w - - 0 1",  // facing kings: the list is the king capture
    };
    std::mt19937 rng(3);
    for (const char* fen : fens) {
        set_fen(*e, fen);
        prepare_node_search();
        const int side = e->side_to_move;
        generate_moves(*e, side, 1);
        const std::vector<move_t> all(e->ply_moves[1], e->ply_moves[2]);
        for (int trial = 0; trial < 200; ++trial) {
            // Killers and hash move drawn from the list (mostly) or anywhere.
            auto pick = [&]() -> move_t {
                if (rng() % 4 == 0) return move_t{0, static_cast<int>(rng() % 256), static_cast<int>(rng() % 256), 0, 0};
                return all[rng() % all.size()];
            };
            for (move_t& k : e->killers[1]) k = pick();
            if (trial % 3 == 0) e->killers[1][2] = e->killers[1][0];
            e->killers[1][1].score = trial % 5 == 0 ? MATE_THRESHOLD + 1 : 0;
            const move_t hash = trial % 7 == 0 ? move_t{} : pick();
            for (const move_t& m : all) e->history(m.from, m.to) = static_cast<int>(rng() % 3);

            move_t* early = score_first_before_quiets(*e, 1, side, hash.from, hash.to);
            const move_t expected_early = early ? *early : move_t{};
            generate_moves(*e, side, 1);
            int count = 0;
            const move_t* top = score_moves_for_first(*e, 1, side, hash.from, hash.to, count);
            ASSERT_EQ(early != nullptr, top != nullptr) << fen << " trial " << trial;
            if (top == nullptr) continue;
            EXPECT_TRUE(same_move(expected_early, *top)) << fen << " trial " << trial;
            EXPECT_EQ(expected_early.score, top->score) << fen << " trial " << trial;
        }
    }
}

TEST(SortMoves, HighestFirst) {
    std::mt19937 rng(7);
    for (int n : {1, 2, 3, 10, 100, 500}) {
        std::vector<move_t> moves(static_cast<size_t>(n));
        for (auto& m : moves) m.score = static_cast<int>(rng() % 60) - 30;
        std::vector<int> expected;
        for (const auto& m : moves) expected.push_back(m.score);
        std::sort(expected.rbegin(), expected.rend());
        sort_moves(moves.data(), moves.data() + n - 1);
        for (int i = 0; i < n; ++i) EXPECT_EQ(moves[static_cast<size_t>(i)].score, expected[static_cast<size_t>(i)]);
    }
}

// The order the engine's searches were tuned with: a recursive Hoare quicksort.
// Equal scores end up in the order it leaves them, which decides the search.
void reference_quicksort(move_t* first, move_t* last) {
    if (first >= last) return;
    const int pivot = first[(last - first) / 2].score;
    move_t* i = first;
    move_t* j = last;
    while (i <= j) {
        while (i->score > pivot) ++i;
        while (j->score < pivot) --j;
        if (i <= j) std::swap(*i++, *j--);
    }
    reference_quicksort(first, j);
    reference_quicksort(i, last);
}

// Ties are the point: few distinct scores, and each move tagged by its origin.
TEST(LazySort, SameOrderAsFullQuicksortTiesIncluded) {
    std::mt19937 rng(11);
    for (int distinct : {1, 2, 3, 7, 1000}) {
        for (int n : {0, 1, 2, 3, 5, 8, 40, 120, 256}) {
            std::vector<move_t> list(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i) list[static_cast<size_t>(i)] = {static_cast<int>(rng() % distinct), i, 0, 0, 0};
            std::vector<move_t> expected = list;
            if (n > 0) reference_quicksort(expected.data(), expected.data() + n - 1);

            // Settle only a prefix, as a node that cuts off does; then the rest.
            const int prefix = n == 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n));
            lazy_sort order;
            order.start(list.data(), n);
            for (int i = 0; i < prefix; ++i)
                EXPECT_EQ(order.settle(i).from, expected[static_cast<size_t>(i)].from) << n << " " << i;
            for (int i = prefix; i < n; ++i)
                ASSERT_EQ(order.settle(i).from, expected[static_cast<size_t>(i)].from) << n << " " << i;
        }
    }
}

// Where the sort stops matters as much as the list: a node may stop before the
// rest is sorted at once, just at that point, or go on; lists run from a few
// moves to the longest, with scores at both ends of their range, where the
// partition's bounds are one step from overflow.
TEST(LazySort, SameOrderWhereverSettlingStops) {
    constexpr int limit = INT32_MAX / lazy_sort::MAX_MOVES;  // scores stay inside (-limit, limit)
    struct scores {
        const char* name;
        int lowest, spread;  // scores lowest .. lowest + spread - 1
    };
    const scores kinds[] = {
        {"all tied", 5, 1},
        {"few", -2, 3},
        {"mostly distinct", -100000, 200000},
        {"top of range", limit - 4, 4},
        {"bottom of range", -limit + 1, 4},
    };
    std::mt19937 rng(23);
    for (const scores& kind : kinds) {
        for (int n : {4, 9, 10, 11, 12, 13, 31, 64, lazy_sort::MAX_MOVES}) {
            std::vector<move_t> list(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i)
                list[static_cast<size_t>(i)] = {kind.lowest + static_cast<int>(rng() % static_cast<unsigned>(kind.spread)), i,
                                                0, 0, 0};
            std::vector<move_t> expected = list;
            reference_quicksort(expected.data(), expected.data() + n - 1);
            for (int stop = 1; stop <= std::min(n, 14); ++stop) {
                lazy_sort order;
                order.start(list.data(), n);
                for (int i = 0; i < stop; ++i)
                    ASSERT_EQ(order.settle(i).from, expected[static_cast<size_t>(i)].from)
                        << kind.name << " n " << n << " stop " << stop << " at " << i;
            }
            lazy_sort order;
            order.start(list.data(), n);
            for (int i = 0; i < n; ++i)
                ASSERT_EQ(order.settle(i).from, expected[static_cast<size_t>(i)].from) << kind.name << " n " << n << " at " << i;
        }
    }
}

}  // namespace
