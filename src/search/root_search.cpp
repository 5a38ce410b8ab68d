#include "board/make_move.h"
#include "book/hash_book.h"
#include "platform/clock.h"
#include "search/alpha_beta.h"
#include "search/make_and_classify.h"
#include "search/search.h"
#include "search/search_common.h"
#include "search/time_check.h"
#include "search/tt.h"

namespace {

// Copies row 0 of the principal-variation table into `line`, closed by a zero record.
void publish_line(Count& e, move_t* line) {
    const int n = e.pv_length[0];
    for (int i = 0; i < n && i < 63; ++i) line[i] = e.pv_table[i];
    line[n < 63 ? n : 63] = move_t{};
}

void store_hash_book(Count& e, int depth, int best) {
    const move_t m = e.best_line[0];
    make_move(e, m);
    const hash_book_entry_t entry{e.zobrist_lock, static_cast<int8_t>(depth), static_cast<int16_t>(best),
                                  static_cast<uint32_t>(platform::elapsed_ms(e.start_clock))};
    hash_book_store(e, e.zobrist_key, entry);
    unmake_move(e, m);
}

}  // namespace

int root_search(Count& e, int side, int depth) {
    const int other = 1 - side;
    e.pv_length[0] = 0;
    e.height_check[1] = 0;
    e.check_stack[e.ply + 1] = 0;
    e.repetition_stack[e.ply + 1] = 0;
    e.pv_table[0] = move_t{};
    e.best_changes = 0;
    if (poll_due_and_stop(e)) return 0;

    e.full += 1;
    move_t* const first = e.ply_moves[0];
    move_t* const last = e.ply_moves[1];
    e.root_move_total = static_cast<int32_t>(last - first);
    e.root_move_index = 0;
    for (move_t* m = first; m < last; ++m) m->score = NO_SCORE;
    int best = NO_SCORE;
    const int root_repetition = e.repetition_stack[e.ply];

    for (move_t* mp = first; mp < last; ++mp) {
        move_t& m = *mp;
        e.root_move_index += 1;
        const int g = make_and_classify(e, m, side, 0, legality::tested_last, false, true, root_repetition);
        if (g == MOVE_SKIPPED) continue;
        int v;
        if (g == MOVE_REPEATED) {
            const int r = e.repetition_stack[e.ply];
            v = (root_repetition >= 1 && r < root_repetition) ? SCORE_REPETITION_WIN : draw_value(e, side);
        } else {
            int ext = 0;
            if (e.check_extension && (e.height_check[0] != 0 || g != 0)) {
                ext = 1;
                e.check += 1;
            }
            const int d = depth - 1 + ext;
            if (best == NO_SCORE) {
                v = -alpha_beta(e, -INFINITE_SCORE, -best, other, d, 1, 0, 1);
            } else {
                v = -alpha_beta(e, -best - 1, -best, other, d, 1, 1, 1);
                if (v > best && !e.stop_flag) v = -alpha_beta(e, -INFINITE_SCORE, -best, other, d, 1, 0, 1);
            }
            if (e.stop_flag) {
                unmake_move(e, m);
                return 0;
            }
        }
        unmake_move(e, m);
        m.score = v;
        if (v > best) {
            e.best_changes += 1;
            record_pv(e, 0, m, v);
            publish_line(e, e.best_line);
            if (e.iteration_depth < DEPTH_LINES) publish_line(e, e.depth_lines[e.iteration_depth]);
            best = v;
        }
    }

    if (best >= -MATE_SCORE && best <= MATE_SCORE && e.best_line[0].from != 0) {
        if (depth >= 8) store_hash_book(e, depth, best);
        tt_write_pv(e, side);
    }
    return best == NO_SCORE ? -MATE_SCORE : best;
}
