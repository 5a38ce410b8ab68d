// An engine ready to search: keys, evaluation tables, small transposition
// tables, and no standard input to poll.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "board/make_move.h"
#include "board/movegen.h"
#include "eval/evaluate.h"
#include "platform/clock.h"
#include "position/move_text.h"
#include "search/search.h"
#include "search/tt.h"
#include "test_engine.h"
#include "ucci/line_input.h"

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        build_evaluation_tables(*e);
        ASSERT_TRUE(tt_resize(*e, 16));
        e->ready_state = 1;
        std::memset(static_cast<AIOption*>(e.get()), 1, sizeof(AIOption));
        e->nullex = e->checkqs = 0;
        process_input().init(-1);  // nothing to read: searches end by their limits only
    }
    void TearDown() override { tt_free(*e); }

    // Searches the FEN position to `depth` and returns best_line's first move.
    move_t search(const std::string& fen, int depth) {
        set_fen(*e, fen);
        e->time_limit = 3600000;
        e->depth_limit = depth;
        move_t best{};
        search_position(*e, best);
        return best;
    }

    // State a search node expects when called directly rather than from the root.
    void prepare_node_search() {
        prepare_evaluation(*e);
        recompute_pst_score(*e);
        e->time_limit = 3600000;
        e->time_factor = 5;
        e->start_clock = platform::clock_ms();
        e->poll_countdown = 1024;
        e->stop_flag = 0;
        for (move_t*& list : e->ply_moves) list = e->move_buffer;
        for (cut_tally& t : e->history_cuts.cell) t = {1, 1};
        std::memset(e->height_check, 0, sizeof(e->height_check));
    }

    // One root iteration of the given depth over every generated root move.
    int root_search_at(const std::string& fen, int depth) {
        set_fen(*e, fen);
        prepare_node_search();
        generate_moves(*e, e->side_to_move, 0);
        e->iteration_depth = depth;
        return root_search(*e, e->side_to_move, depth);
    }

    static std::string text(const move_t& m) {
        char internal[MOVE_TEXT_SIZE], ucci[MOVE_TEXT_SIZE];
        move_to_text(m, internal);
        if (internal[0] == '\0') return "";
        internal_to_ucci(internal, ucci);
        return ucci;
    }

    std::unique_ptr<CountEx> e = make_engine();
};
