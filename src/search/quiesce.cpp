#include "search/quiesce.h"

#include "board/check.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "eval/eval_cache.h"
#include "eval/evaluate.h"
#include "search/move_scores.h"
#include "search/score_order.h"
#include "search/search_common.h"
#include "search/time_check.h"
#include "board/self_check.h"

namespace {

enum class phase { evasions, captures, checks };

int capture_bonus(const Count& e, const move_t& m) {
    return is_capture(m) ? capture_exchange_bonus(e.piece_order[m.piece], e.piece_order[m.captured]) : 0;
}

inline int list_score(const Count& e, const move_t& m, int side, int check) {
    int gain = red_table_gain(e, m);
    if (side == BLACK) gain = -gain;
    int score = gain + capture_bonus(e, m);
    if (check != 0) score += evasion_bonus<true>(e, m, side, check);
    return score;
}

}  // namespace

int quiesce(Count& e, int alpha, int beta, int side, int k, int h, int parent_check, int node_type, int own_check) {
    if (poll_due_and_stop(e)) {
        e.stop_flag = 1;
        return 0;
    }
    e.quiet += 1;
    e.pv_length[h] = 0;
    pv_row(e, h)[0] = move_t{};
    if (e.max_ply < h) e.max_ply = h;

    if (bare_material(e)) return draw_value(e, side);

    if (int score = 0; mate_distance_cut(h, alpha, beta, score)) return score;
    if (h >= MAX_SEARCH_HEIGHT) return evaluate(e, side);

    const int other = 1 - side;
    const int g = own_check == CHECK_UNKNOWN ? in_check(e, side) : own_check;
    TAVOX_SELF_CHECK(g == in_check(e, side));
    // Above the root every node was reached by a legal move: the other side is not in check.
    auto check_given = [&](const move_t& m) { return h > 0 ? check_given_by_move(e, m, side) : in_check(e, other); };
    const bool quiet_window = parent_check == 0 && node_type != 0 && e.eval_phase_class <= 1;
    int best = NO_SCORE;
    int stand_pat = 0;
    phase ph = phase::evasions;
    if (g == 0) {
        if (e.lazy && quiet_window) {
            const int o = side == RED ? e.pst_score : -e.pst_score;
            stand_pat = (o - 350 >= beta || o + 350 <= alpha) ? o : evaluate(e, side);
        } else {
            stand_pat = evaluate(e, side);
        }
        best = stand_pat;
        if (stand_pat > alpha) {
            if (stand_pat >= beta) return stand_pat;
            alpha = stand_pat;
        }
        ph = phase::captures;
    }

    for (;;) {
        switch (ph) {
            case phase::evasions:
                k += 1;
                generate_moves(e, side, h);
                break;
            case phase::captures: generate_captures(e, side, h); break;
            case phase::checks: generate_quiet_moves(e, side, h); break;
        }
        // In check, most moves leave the attack standing: they go untried.
        // Among quiet moves, most cannot give check.
        check_attack_t attack;
        move_t* const first = e.ply_moves[h];
        move_t* const last = e.ply_moves[h + 1];
        auto score_of = [&](const move_t& m) { return list_score(e, m, side, g); };
        auto lifts = [&](const move_t& m) { return may_lift(attack, m, side); };
        auto checks = [&](const move_t& m) { return may_give_check(e, m, side); };
        exchange_selection order;
        bool kept = false;
        if (g != 0) {
            attack = find_attack(e, side);
            kept = order.take_passing(first, last, lifts, score_of);
        } else if (ph == phase::checks && h > 0) {
            kept = order.take_passing(first, last, checks, score_of);
        }
        if (!kept) order.take_all(first, last, score_of);
        for (int p = 0; p < order.count(); ++p) {
            move_t& m = order.next(p);

            TAVOX_SELF_CHECK(g == 0 || may_lift(attack, m, side) || !is_legal(e, m, side));
            if (g != 0 && !may_lift(attack, m, side)) continue;
            const bool capture = is_capture(m);
            // A losing capture of a defended piece is dropped whether or not it
            // is legal, so the cheaper test goes first, before the move is made.
            if (g == 0 && capture && e.piece_order[m.piece] - e.piece_order[m.captured] <= -3 &&
                capture_defended(e, m) != 0)
                continue;
            // A quiet move is searched only for the check it gives: one that
            // cannot give any is passed over without being made.
            if (!capture && k >= 0 && g == 0 && h > 0 && !may_give_check(e, m, side)) continue;
            // The check the move gives, once some rule has needed it; the child reuses it.
            int gives = CHECK_UNKNOWN;
            // Delta pruning: a legal move that cannot lift the score to alpha is
            // dropped unless it gives check, a capture with its value counted.
            // Legality and check read only the board and the piece squares, so
            // most such moves are tried there and never made in full.
            const int v = stand_pat + m.score + 150 - capture_bonus(e, m);
            if (e.delta && g == 0 && quiet_window && v <= alpha) {
                board_do_move(e, m);
                const bool legal = own_check_after_move(e, m, side) == CHECK_NONE;
                if (legal) gives = check_given(m);
                board_undo_move(e, m);
                if (!legal) continue;
                if (gives == 0) {
                    // A quiet move here is searched only for its check.
                    if (capture && best < v) best = v;
                    continue;
                }
                make_move(e, m);
            } else {
                make_move(e, m);
                if ((g == CHECK_NONE ? own_check_after_move(e, m, side) : in_check(e, side)) != 0) {
                    unmake_move(e, m);
                    continue;
                }
                if (!capture && k >= 0 && g == 0) {
                    gives = check_given(m);
                    if (gives == 0) {
                        unmake_move(e, m);
                        continue;
                    }
                }
            }
            eval_cache_prefetch(e);
            const int r = -quiesce(e, -beta, -alpha, other, k - 1, h + 1, g, node_type, gives);
            unmake_move(e, m);
            // A stopped search leaves at once: a wide capture tree would
            // otherwise run on to its end long after the clock ran out.
            if (e.stop_flag) return 0;

            if (r > best) {
                best = r;
                if (r > alpha) {
                    record_pv(e, h, m, r);
                    m.score = r;
                    if (r >= beta) return r;
                    alpha = r;
                }
            }
        }

        if (ph == phase::captures && k >= 0) ph = phase::checks;
        else break;
    }
    return best == NO_SCORE ? h - MATE_SCORE : best;
}
