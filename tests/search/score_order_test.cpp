#include "search/score_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace {

// The quiescence search's own selection: each later move scoring above the
// one held takes its place. Returns the moves `passes` accepts, in the order
// it hands them out.
std::vector<int> selection_order(std::vector<move_t> list, const std::vector<bool>& passes) {
    std::vector<int> out;
    for (size_t i = 0; i < list.size(); ++i) {
        for (size_t q = i + 1; q < list.size(); ++q)
            if (list[q].score > list[i].score) std::swap(list[i], list[q]);
        if (passes[static_cast<size_t>(list[i].from)]) out.push_back(list[i].from);
    }
    return out;
}

// The keyed selection hands out the same order as the exchanges over the
// moves themselves, ties and negative scores included, for lengths on both
// sides of the scan's groups.
TEST(ExchangeSelection, SameOrderAsExchangingTheMoves) {
    std::mt19937 rng(5);
    exchange_selection order;
    for (int trial = 0; trial < 3000; ++trial) {
        const int n = trial < 2900 ? 1 + trial % 23 : 100 + static_cast<int>(rng() % 300);
        const int spread = trial % 3 == 0 ? 3 : trial % 3 == 1 ? 40 : 2000000;
        std::vector<move_t> list(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            list[static_cast<size_t>(i)] = move_t{static_cast<int>(rng() % spread) - spread / 2, i, 0, 0, 0};
        std::vector<move_t> work = list;
        for (move_t& m : work) m.score = -999999;  // stale scores: the selection must score the moves
        order.take_all(work.data(), work.data() + n,
                       [&](const move_t& m) { return list[static_cast<size_t>(m.from)].score; });
        std::vector<int> got;
        for (int p = 0; p < n; ++p) got.push_back(order.next(p).from);
        EXPECT_EQ(got, selection_order(list, std::vector<bool>(static_cast<size_t>(n), true))) << "trial " << trial;
    }
}

// Random lists, scores drawn from small and wide ranges (many ties or few),
// filters passing few moves or many: whenever the lists' passing moves are
// kept, they come in the order the selection over the whole list gives.
TEST(ExchangeSelection, PassingMovesKeptInTheOrderOfTheWholeList) {
    std::mt19937 rng(11);
    int kept_lists = 0, refused_lists = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        const int n = 1 + static_cast<int>(rng() % 60);
        const int spread = trial % 2 == 0 ? 8 : 100000;
        const int pass_one_in = 1 + trial % 5;
        std::vector<move_t> list(static_cast<size_t>(n));
        std::vector<int> score(static_cast<size_t>(n));
        std::vector<bool> passes(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const size_t k = static_cast<size_t>(i);
            score[k] = static_cast<int>(rng() % spread) - spread / 2;
            passes[k] = rng() % pass_one_in == 0;
            list[k] = move_t{score[k], i, 0, 0, 0};
        }
        std::vector<move_t> work = list;
        for (move_t& m : work) m.score = -999999;  // stale scores: the selection must score what it keeps
        exchange_selection order;
        const bool kept = order.take_passing(
            work.data(), work.data() + n, [&](const move_t& m) { return passes[static_cast<size_t>(m.from)]; },
            [&](const move_t& m) { return score[static_cast<size_t>(m.from)]; });
        const std::vector<int> expected = selection_order(list, passes);
        if (!kept) {
            ++refused_lists;
            // Refused only for a tie among the passing moves.
            std::vector<int> passing_scores;
            for (int i = 0; i < n; ++i)
                if (passes[static_cast<size_t>(i)]) passing_scores.push_back(score[static_cast<size_t>(i)]);
            std::sort(passing_scores.begin(), passing_scores.end());
            EXPECT_NE(std::adjacent_find(passing_scores.begin(), passing_scores.end()), passing_scores.end());
            continue;
        }
        ++kept_lists;
        std::vector<int> got;
        for (int p = 0; p < order.count(); ++p) {
            const move_t& m = order.next(p);
            got.push_back(m.from);
            EXPECT_EQ(m.score, score[static_cast<size_t>(m.from)]);
        }
        EXPECT_EQ(got, expected) << "trial " << trial;
    }
    EXPECT_GT(kept_lists, 1000);
    EXPECT_GT(refused_lists, 100);
}

}  // namespace
