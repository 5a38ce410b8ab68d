// Making and taking back every move of many positions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "board/history.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "eval/evaluate.h"
#include "sample_positions.h"
#include "test_engine.h"

namespace {

const auto& kPositions = kSamplePositions;

struct Snapshot {
    std::vector<int32_t> board, piece_square, type_count;
    uint32_t key, lock;
    int32_t red, black, pst, ply;
    explicit Snapshot(const Count& e)
        : board(e.board, e.board + 256), piece_square(e.piece_square, e.piece_square + 1024),
          type_count(e.type_count, e.type_count + 15), key(e.zobrist_key), lock(e.zobrist_lock), red(e.red_count),
          black(e.black_count), pst(e.pst_score), ply(e.ply) {}
    bool operator==(const Snapshot&) const = default;
};

TEST(MakeMove, RoundTripsRestoreEveryField) {
    auto e = make_engine();
    build_evaluation_tables(*e);
    int moves = 0;
    for (const char* fen : kPositions) {
        for (int side = 0; side < 2; ++side) {
            set_fen(*e, fen);
            prepare_evaluation(*e);
            recompute_pst_score(*e);
            e->ply_moves[0] = e->move_buffer;
            generate_moves(*e, side, 0);
            const Snapshot before(*e);
            for (const move_t* m = e->ply_moves[0]; m < e->ply_moves[1]; ++m, ++moves) {
                make_move(*e, *m);
                EXPECT_EQ(e->ply, before.ply + 1);
                EXPECT_EQ(e->key_stack[e->ply], e->zobrist_key);
                EXPECT_TRUE(same_move(e->move_stack[e->ply], *m));
                EXPECT_EQ(e->board[m->to], m->piece);
                EXPECT_EQ(e->board[m->from], EMPTY_SQUARE);
                if (m->captured != EMPTY_SQUARE) {
                    EXPECT_EQ(e->piece_square[m->captured], 0);
                    EXPECT_EQ(e->type_count[e->piece_type[m->captured]], before.type_count[e->piece_type[m->captured]] - 1);
                    const bool red_victim = (m->captured & RED_BIT) != 0;
                    EXPECT_EQ(e->red_count, before.red - red_victim);
                    EXPECT_EQ(e->black_count, before.black - !red_victim);
                }
                // The incremental sums equal the ones computed from scratch.
                const uint32_t key = e->zobrist_key, lock = e->zobrist_lock;
                const int32_t pst = e->pst_score;
                recompute_pst_score(*e);
                EXPECT_EQ(e->pst_score, pst) << fen;
                uint32_t k = 0, l = 0;
                for (int code = 0; code < 1024; ++code) {
                    const int sq = e->piece_square[code];
                    if (sq == 0) continue;
                    k ^= e->zobrist_key_table[e->piece_type[code]][sq];
                    l ^= e->zobrist_lock_table[e->piece_type[code]][sq];
                }
                EXPECT_EQ(k, key);
                EXPECT_EQ(l, lock);
                unmake_move(*e, *m);
                ASSERT_TRUE(Snapshot(*e) == before) << fen;
            }
        }
    }
    EXPECT_GT(moves, 300);
}

TEST(MakeMove, QuietMoveChangesPstByTheMoversTwoEntries) {
    auto e = make_engine();
    build_evaluation_tables(*e);
    set_fen(*e, kPositions[0]);
    prepare_evaluation(*e);
    recompute_pst_score(*e);
    const int cannon = RED_BASE + 7;
    const move_t m{123, 171, 168, cannon, EMPTY_SQUARE};
    const int before = e->pst_score;
    make_move(*e, m);
    EXPECT_EQ(e->pst_score - before, e->piece_square_value[cannon][168] - e->piece_square_value[cannon][171]);
    EXPECT_EQ(e->move_stack[1].score, 123);  // the whole record is kept
    unmake_move(*e, m);
}

// unmake_move puts back the keys and pst_score make_move found, also when
// other plies were made in between: a line of moves (captures where there are
// any), with or without a pass part way down (the ply count raised with no
// move, as the null move does), and with the history shifted down by
// forget_oldest_plies before the line is taken back.
TEST(MakeMove, NestedLinesRestoreSumsThroughPassesAndShifts) {
    struct line_case {
        int pass_after;     // moves made before the pass; -1: none
        bool shift_at_end;  // start at a ply that forget_oldest_plies drops
    };
    const line_case cases[] = {{-1, false}, {2, false}, {0, true}, {3, true}};
    auto e = make_engine();
    build_evaluation_tables(*e);
    int made = 0;
    for (const char* fen : kPositions) {
        for (const line_case& c : cases) {
            set_fen(*e, fen);
            prepare_evaluation(*e);
            recompute_pst_score(*e);
            if (c.shift_at_end) e->ply = HISTORY_PLY_DROP + 3;
            e->ply_moves[0] = e->move_buffer;
            std::vector<Snapshot> before;
            std::vector<move_t> line;
            int side = e->side_to_move;
            for (int h = 0; h < 8; ++h) {
                generate_moves(*e, side, h);
                if (e->ply_moves[h + 1] == e->ply_moves[h]) break;
                // A capture when there is one, so that victims come back too.
                const move_t* m = e->ply_moves[h];
                for (const move_t* q = m; q < e->ply_moves[h + 1]; ++q)
                    if (q->captured != EMPTY_SQUARE && e->piece_order[q->captured] != ORDER_KING) m = q;
                if (e->piece_order[m->captured] == ORDER_KING) break;
                if (h == c.pass_after) e->ply += 1;
                before.emplace_back(*e);
                line.push_back(*m);
                make_move(*e, *m);
                side = 1 - side;
            }
            made += static_cast<int>(line.size());
            if (c.shift_at_end) {
                forget_oldest_plies(*e);
                for (Snapshot& s : before) s.ply -= HISTORY_PLY_DROP;
            }
            while (!line.empty()) {
                unmake_move(*e, line.back());
                line.pop_back();
                EXPECT_TRUE(Snapshot(*e) == before.back()) << fen << " after " << line.size() << " moves";
                before.pop_back();
                if (static_cast<int>(line.size()) == c.pass_after) e->ply -= 1;
            }
        }
    }
    EXPECT_GT(made, 100);
}

}  // namespace
