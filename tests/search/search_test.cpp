#include <gtest/gtest.h>

#include <vector>

#include "board/check.h"
#include "board/movegen.h"
#include "search/alpha_beta.h"
#include "search/quiesce.h"
#include "search/search_common.h"
#include "search_fixture.h"

namespace {

// Snapshot of everything a search must leave as it found it.
struct BoardState {
    std::vector<int32_t> board, piece_square;
    uint32_t key, lock;
    int32_t ply, pst, red, black;
    explicit BoardState(const Count& e)
        : board(e.board, e.board + 256), piece_square(e.piece_square, e.piece_square + 1024), key(e.zobrist_key),
          lock(e.zobrist_lock), ply(e.ply), pst(e.pst_score), red(e.red_count), black(e.black_count) {}
    bool operator==(const BoardState&) const = default;
};

TEST_F(SearchTest, FixedDepthRootSearchFindsMatesWithTheirDistance) {
    struct Case {
        const char* fen;
        int depth;
        int score;
    } cases[] = {
        {"3k5/R8/9/9/9/9/9/9/9/R3K4 w - - 0 1", 1, 19998},
        {"5k3/9/9/9/9/9/9/9/9/R3K1R2 w - - 0 1", 2, 19998},
        {"4k4/9/9/9/9/9/9/9/9/RR1K5 w - - 0 1", 3, 19996},
        {"4ka3/9/9/9/9/9/9/9/9/R2K1R3 w - - 0 1", 3, 19996},
        {"3k5/4a4/9/9/9/9/9/9/9/R3K1R2 w - - 0 1", 3, 19996},
        {"r2k1r3/9/9/9/9/9/9/9/9/4KA3 b - - 0 1", 3, 19996},  // the fourth case turned round
        // A side without a legal move has lost even when not in check: a0a8, then d0e0.
        {"4k4/9/9/9/9/9/9/9/9/R2K5 w - - 0 1", 3, 19994},
        {"4k4/9/9/9/9/9/9/9/9/R2K5 w - - 0 1", 5, 19996},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(root_search_at(c.fen, c.depth), c.score) << c.fen;
        EXPECT_EQ(e->pv_table[0].score, c.score) << c.fen;
        EXPECT_EQ(e->best_line[0].from, e->pv_table[0].from) << c.fen;
    }
}

TEST_F(SearchTest, IterativeDeepeningStopsAtAMate) {
    const move_t best = search("4k4/9/9/9/9/9/9/9/9/RR1K5 w - - 0 1", 10);
    EXPECT_GT(best.score, 19900);
    EXPECT_LT(e->iteration_depth, 10);
}

TEST_F(SearchTest, NoLegalMoveAnswers) {
    // Red to move, checkmated: no move, -20000.
    const move_t mated = search("3k5/9/9/9/9/9/9/9/r8/r3K4 w - - 0 1", 4);
    EXPECT_EQ(mated.from, 0);
    EXPECT_EQ(mated.score, SCORE_NO_LEGAL_MOVE);
    // Stalemate is a loss too.
    const move_t stalemate = search("3k5/9/9/9/9/5r3/9/9/3r5/4K4 w - - 0 1", 4);
    EXPECT_EQ(stalemate.from, 0);
    // A single legal move is played without a search.
    const move_t only = search("3k5/9/9/9/9/9/9/9/9/r3K4 w - - 0 1", 4);
    EXPECT_EQ(text(only), "e0e1");
    EXPECT_EQ(only.score, SCORE_ONLY_MOVE);
}

TEST_F(SearchTest, MatedNodeScoresByHeight) {
    set_fen(*e, "3k5/9/9/9/9/9/9/9/r8/r3K4 w - - 0 1");
    prepare_node_search();
    for (int h : {1, 2, 5}) {
        e->height_check[h] = in_check(*e, RED);
        EXPECT_EQ(alpha_beta(*e, -WINDOW, WINDOW, RED, 3, h, 0, 1), h - 19999) << h;
        EXPECT_EQ(quiesce(*e, -WINDOW, WINDOW, RED, 0, h, 0, 0), h - 19999) << h;
    }
}

TEST_F(SearchTest, BareMaterialIsDrawLike) {
    set_fen(*e, "3akab2/9/9/9/9/9/9/9/9/3AK1B2 w - - 0 1");
    prepare_node_search();
    const int pst = e->pst_score;
    EXPECT_EQ(alpha_beta(*e, -WINDOW, WINDOW, RED, 3, 1, 0, 1), pst / 5);
    EXPECT_EQ(alpha_beta(*e, -WINDOW, WINDOW, BLACK, 3, 1, 0, 1), -(pst / 5));
    EXPECT_EQ(quiesce(*e, -WINDOW, WINDOW, BLACK, 0, 1, 0, 0), -(pst / 5));
}

TEST_F(SearchTest, QuiescenceTakesWhatHangsAndLeavesDefendedPawns) {
    // A black horse hangs to the red rook.
    set_fen(*e, "5k3/9/9/9/3n5/9/9/9/9/3RK4 w - - 0 1");
    prepare_node_search();
    const int stand = evaluate(*e, RED);
    const int q = quiesce(*e, -WINDOW, WINDOW, RED, -1, 1, 0, 0);
    EXPECT_GT(q, stand + 200);
    EXPECT_EQ(text(e->pv_table[PV_ROW]), "d0d5");

    // A pawn defended by a pawn is not taken by the rook.
    set_fen(*e, "4k4/9/9/9/9/3pp4/9/9/9/3RK4 w - - 0 1");
    prepare_node_search();
    quiesce(*e, -WINDOW, WINDOW, RED, -1, 1, 0, 0);
    EXPECT_EQ(e->pv_length[1], 0);
}

TEST_F(SearchTest, SearchLeavesThePositionAsItFoundIt) {
    const char* fens[] = {
        "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1",
        "4kar2/4a2rn/4bc3/RN1c5/2bC5/9/4p4/9/4p4/3p1K3 w - - 0 1",
        "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1",
    };
    for (const char* fen : fens) {
        set_fen(*e, fen);
        prepare_evaluation(*e);
        recompute_pst_score(*e);
        const BoardState before(*e);
        e->time_limit = 3600000;
        e->depth_limit = 5;
        move_t best{};
        search_position(*e, best);
        EXPECT_NE(best.from, 0) << fen;
        EXPECT_TRUE(BoardState(*e) == before) << fen;
        EXPECT_EQ(e->ready_state, 1);
    }
}

TEST_F(SearchTest, DepthBelowFourStillSearchesFourAndAbortStops) {
    search("rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1", 1);
    EXPECT_EQ(e->iteration_depth, 4);
    EXPECT_NE(e->depth_lines[4][0].from, 0);
    EXPECT_EQ(e->depth_lines[5][0].from, 0);

    // A stop request ends the search at the first time check, keeping a move.
    set_fen(*e, "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1");
    e->time_limit = 3600000;
    e->depth_limit = 30;
    e->node_limit = 20000;
    move_t best{};
    search_position(*e, best);
    e->node_limit = 0;
    EXPECT_NE(best.from, 0);
    EXPECT_LT(e->iteration_depth, 30);
    EXPECT_LT(e->full + e->quiet, 20000 + 2048);
}

// Budgets near 2^31 ms: the driver's 3/5 mark and time rules must not
// overflow (which ended the deepening early, or aborted the sanitizer build).
TEST_F(SearchTest, HugeTimeLimitsDeepenToTheDepthLimit) {
    for (const int32_t limit : {1000000000, INT32_MAX}) {
        set_fen(*e, "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1");
        e->time_extension = 1;
        e->time_limit = limit;
        e->depth_limit = 6;
        move_t best{};
        search_position(*e, best);
        EXPECT_NE(best.from, 0) << limit;
        EXPECT_EQ(e->iteration_depth, 6) << limit;
    }
}

// A stop must hold wherever it falls: in the quiescence search, and in the
// root ordering before the first iteration. Wide capture trees used to run on
// to their end, and a stop seen while ordering was forgotten, so that a search
// with a millisecond left took hundreds of them.
TEST_F(SearchTest, AStopHoldsInTheQuiescenceSearchAndTheRootOrdering) {
    constexpr int64_t kPollSlack = 2 * 1024;  // nodes between two time checks, twice
    for (const char* fen : {"3a1c3/P2r1k3/5aP2/P2C5/r1N1pP3/5CB2/n7P/R2A1A3/5n3/2B2K2N w - - 0 1",
                            "c1P3b2/P3kC3/brN6/1pPr4n/2c6/6B2/2p6/1p2K4/2RC3p1/7p1 w - - 0 1",
                            "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1"}) {
        set_fen(*e, fen);
        e->time_limit = 3600000;
        e->depth_limit = 30;
        e->node_limit = 1;  // the first time check stops the search
        move_t best{};
        search_position(*e, best);
        e->node_limit = 0;
        EXPECT_NE(best.from, 0) << fen;
        EXPECT_LT(e->full + e->quiet, kPollSlack) << fen;
    }
}

TEST_F(SearchTest, AnAbortedSearchStillAnswersWithALegalMove) {
    for (const char* fen : {"2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1",
                            "r1bakab1r/9/1cn3nc1/p1p1p1p1p/9/2P6/P3P1P1P/1CN1C1N2/9/R1BAKAB1R b - - 0 1"}) {
        set_fen(*e, fen);
        e->abort_request = 1;  // the first time check ends the search
        e->time_limit = 3600000;
        e->depth_limit = 30;
        move_t best{};
        search_position(*e, best);
        ASSERT_NE(best.from, 0) << fen;
        char internal[MOVE_TEXT_SIZE];
        move_to_text(best, internal);
        move_t legal{};
        EXPECT_TRUE(find_legal_move(*e, internal, legal)) << fen;
        EXPECT_LE(e->iteration_depth, 2) << fen;
    }
}

TEST_F(SearchTest, BannedMovesAreNotPlayedUnlessAllAre) {
    // Mate in one; ban the move the engine chose.
    set_fen(*e, "3k5/R8/9/9/9/9/9/9/9/R3K4 w - - 0 1");
    e->time_limit = 3600000;
    e->depth_limit = 4;
    move_t best{};
    search_position(*e, best);
    const move_t first_choice = best;
    e->banned_count = 1;
    e->banned_moves[0] = first_choice;
    search_position(*e, best);
    EXPECT_FALSE(same_move(best, first_choice));
    EXPECT_GT(best.score, 19900);
    e->banned_count = 0;

    // Every legal move banned: search as if none were.
    set_fen(*e, "3k5/9/9/9/9/9/9/9/9/r3K4 w - - 0 1");
    e->banned_count = 1;
    e->banned_moves[0] = move_t{0, 200, 184, 0, 0};
    search_position(*e, best);
    EXPECT_EQ(text(best), "e0e1");
    e->banned_count = 0;
}

}  // namespace
