#include <cstdlib>
#include <cstring>

#include "board/check.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "board/repetition.h"
#include "board/self_check.h"
#include "book/hash_book.h"
#include "eval/evaluate.h"
#include "platform/clock.h"
#include "search/make_and_classify.h"
#include "search/move_scores.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include "search/search.h"
#include "search/search_common.h"
#include "search/search_memory.h"
#include "search/time_check.h"
#include "search/tt.h"
#include "search/search_info.h"

namespace {

void reset_search_state(Count& e) {
    // Whatever set the position up or tested one, the search starts from a whole board.
    TAVOX_SELF_CHECK(position_consistent(e));
    e.ply_moves[0] = e.move_buffer;
    e.time_factor = 5;
    e.full = e.quiet = e.mate = e.verify = e.check = e.recap = e.single = e.hashhit = e.end = 0;
    e.max_ply = e.root_move_total = e.root_move_index = 0;
    // A stop left over from the last search must not cut the root ordering short.
    e.stop_flag = 0;
    e.poll_countdown = POLL_INTERVAL;

    prepare_evaluation(e);
    if (e.depth_limit < 4) e.depth_limit = 4;
    e.start_clock = platform::clock_ms();
    e.search_clock = e.start_clock;

    std::memset(e.best_line, 0, sizeof(e.best_line));
    std::memset(e.depth_lines, 0, sizeof(e.depth_lines));
    std::memset(e.pv_table, 0, sizeof(e.pv_table));
    clear_killers_and_history(e);
}

void answer(Count& e, const move_t& m, int score) {
    e.best_line[0] = m;
    e.best_line[0].score = score;
    e.best_line[1] = move_t{};
}

bool is_banned(const Count& e, const move_t& m) { return is_banned_move(e, m); }

// Removes illegal root moves and those whose repetition the rules forbid;
// then the banned moves, unless that would leave none. Returns the count.
int filter_root_moves(Count& e, int side, int root_repetition) {
    move_t* const first = e.ply_moves[0];
    move_t* last = e.ply_moves[1];
    for (move_t* m = first; m < last;) {
        if (make_and_classify(e, *m, side, 0, legality::tested_last, false, false, root_repetition) == MOVE_SKIPPED) {
            *m = *--last;
            continue;
        }
        unmake_move(e, *m);
        ++m;
    }
    int allowed = 0;
    for (move_t* m = first; m < last; ++m) allowed += !is_banned(e, *m);
    if (allowed > 0 && allowed < last - first) {
        for (move_t* m = first; m < last;) {
            if (is_banned(e, *m)) *m = *--last;
            else ++m;
        }
    }
    e.ply_moves[1] = e.ply_moves[2] = e.move_end = last;
    return static_cast<int>(last - first);
}

// Remembers the best-valued hash-book answer among the root moves. True when
// it is to be played at once.
bool hash_book_answer(Count& e, int side) {
    int best_value = -WINDOW;
    bool found = false;
    move_t best_move{};
    hash_book_entry_t best_entry{};
    for (move_t* m = e.ply_moves[0]; m < e.ply_moves[1]; ++m) {
        make_move(e, *m);
        if (check_repetition(e, side, true) < 1) {
            hash_book_entry_t probe{e.zobrist_lock, 0, 0, 0};
            if (hash_book_probe(e, e.zobrist_key, probe) && probe.value > best_value) {
                best_value = probe.value;
                best_move = *m;
                best_entry = probe;
                found = true;
            }
        }
        unmake_move(e, *m);
    }
    if (!found) return false;
    answer(e, best_move, best_value);
    return static_cast<int64_t>(best_entry.time) > e.time_limit || best_entry.depth > e.depth_limit;
}

void order_root_moves(Count& e, int side) {
    int hash_from = 0, hash_to = 0;
    if (const tt_entry_t* t = tt_probe(e, side)) {
        hash_from = t->move_from;
        hash_to = t->move_to;
    }
    for (move_t* m = e.ply_moves[0]; m < e.ply_moves[1]; ++m) {
        if (m->from == hash_from && m->to == hash_to) {
            m->score = HASH_MOVE_BONUS;
            continue;
        }
        make_move(e, *m);
        m->score = -quiesce(e, -INFINITE_SCORE, INFINITE_SCORE, 1 - side, 0, 1, 0, 0);
        unmake_move(e, *m);
        if (e.stop_flag) {
            // Stopped while ordering: the moves not fully scored go last.
            for (move_t* rest = m; rest < e.ply_moves[1]; ++rest)
                if (rest->from != hash_from || rest->to != hash_to) rest->score = NO_SCORE;
            break;
        }
    }
    sort_moves(e.ply_moves[0], e.ply_moves[1] - 1);
}

// Sorts by the iteration's scores, then puts the best line's move in front.
void reorder_after_iteration(Count& e) {
    move_t* const first = e.ply_moves[0];
    move_t* const last = e.ply_moves[1];
    sort_moves(first, last - 1);
    for (move_t* m = first; m < last; ++m) {
        if (!same_move(*m, e.best_line[0])) continue;
        move_t front = *m;
        front.score = e.best_line[0].score;
        for (move_t* p = m; p > first; --p) *p = *(p - 1);
        *first = front;
        break;
    }
}

// The time rules once 3/5 of the budget is used: true to stop now; otherwise
// time_factor is set for exactly one more iteration.
bool time_rules_stop(Count& e, int m, int diff, int sum, int stable, int64_t elapsed) {
    const int64_t L = e.time_limit;
    const int a = std::abs(m);
    if (diff <= -100 || sum <= -150) {
        if ((2 * (elapsed / 5) >= L && a >= 100) || (stable >= 3 && (m > 400 || m < -500))) return true;
        e.time_factor = 9;
    } else if (diff <= -50 || sum <= -70) {
        if ((4 * (elapsed / 7) >= L && a >= 50) || (stable >= 3 && (m > 300 || m < -340))) return true;
        e.time_factor = 7;
    } else if (diff <= -30 || sum <= -40) {
        if ((2 * (elapsed / 3) >= L && a >= 30) || (stable >= 3 && (m > 180 || m < -250))) return true;
        e.time_factor = 5;
    } else if (diff <= -15 || sum <= -20) {
        // The elapsed time cut down to a whole multiple of 4 ms, as the other
        // rows' divisions cut theirs: not the elapsed time itself.
        if ((elapsed - elapsed % 4 >= L && a >= 15) || (stable >= 2 && (m > 60 || m < -150))) return true;
        e.time_factor = 3;
    } else {
        if (5 * (elapsed / 4) >= L || (diff >= sum && stable >= 3) || (stable >= 2 && (m > 60 || m < -150)))
            return true;
        e.time_factor = 3;
    }
    return false;
}

}  // namespace

void iterative_deepening(Count& e) {
    const int side = e.side_to_move;
    if (e.tt_generation == 65535) {
        tt_clear(e);
        e.tt_generation = 0;
    } else {
        e.tt_generation += 1;
    }
    reset_search_state(e);

    const int root_repetition = check_repetition(e, 1 - side, false);
    e.repetition_stack[e.ply] = root_repetition;
    e.height_check[0] = in_check(e, side);
    generate_moves(e, side, 0);
    move_t* const first = e.ply_moves[0];
    if (first == e.ply_moves[1]) return answer(e, move_t{}, SCORE_NO_LEGAL_MOVE);
    if (e.piece_order[first->captured] == ORDER_KING) return answer(e, *first, SCORE_KING_CAPTURE);

    recompute_pst_score(e);
    const int count = filter_root_moves(e, side, root_repetition);
    if (count == 0) return answer(e, move_t{}, SCORE_NO_LEGAL_MOVE);
    if (count == 1) return answer(e, *first, SCORE_ONLY_MOVE);
    if (hash_book_answer(e, side)) return;
    order_root_moves(e, side);
    // A search stopped within its first root move must still answer: the best
    // move by the ordering stands until an iteration improves on it.
    if (e.best_line[0].from == 0) answer(e, *first, first->score);
    // A stop that came during the ordering (the clock, or "stop") holds: the
    // first iteration would otherwise run with no regard for either.
    if (e.stop_flag) return;

    e.iteration_depth = 1;
    e.poll_countdown = POLL_INTERVAL;
    e.previous_score = NO_SCORE;
    int m = root_search(e, side, 1);
    if (e.stop_flag) return;

    bool last = false;
    int stable = 0, dprev = 0;
    for (;;) {
        report_iteration(e);
        const int diff = m - e.previous_score;
        e.previous_score = m;
        const int sum = diff + dprev;
        dprev = diff;
        reorder_after_iteration(e);
        if (time_check(e)) return;
        if (std::abs(m) > MATE_THRESHOLD || e.iteration_depth >= e.depth_limit || last) return;
        if (e.time_extension && !e.untimed() && e.depth_limit - e.iteration_depth >= 1) {
            stable = e.best_changes == 1 ? stable + 1 : 0;
            const int64_t elapsed = platform::elapsed_ms(e.start_clock);
            if (elapsed >= 3 * int64_t{e.time_limit} / 5) {
                last = true;
                if (time_rules_stop(e, m, diff, sum, stable, elapsed)) return;
            }
        }
        e.iteration_depth += 1;
        if (e.iteration_depth > MAX_ITERATION_DEPTH) return;
        m = root_search(e, side, e.iteration_depth);
        if (e.stop_flag) return;
    }
}

void search_position(Count& e, move_t& out) {
    out = move_t{};
    if (e.ready_state != 1) return;
    e.ready_state = 2;
    iterative_deepening(e);
    out = e.best_line[0];
    e.ready_state = 1;
}
