#include "search/alpha_beta.h"

#include <climits>

#include "board/check.h"
#include "board/history_journal.h"
#include "board/make_move.h"
#include "board/movegen.h"
#include "board/self_check.h"
#include "eval/eval_cache.h"
#include "eval/evaluate.h"
#include "search/lazy_sort.h"
#include "search/make_and_classify.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include "search/search_common.h"
#include "search/time_check.h"
#include "search/tt.h"

namespace {

constexpr int MAX_NODE_MOVES = 256;
// Nodes up to this depth search their first move before listing quiet moves.
constexpr int QUIET_DEFERRAL_DEPTH = 1;

// Clears the per-height state a node owns before it starts.
void enter_node(Count& e, int h) {
    TAVOX_SELF_CHECK(pst_consistent(e));
    if (e.max_ply < h) e.max_ply = h;
    e.pv_length[h] = 0;
    e.height_check[h + 1] = 0;
    e.check_stack[e.ply + 1] = 0;
    e.repetition_stack[e.ply + 1] = 0;
    pv_row(e, h)[0] = move_t{};
}

bool in_check_at(const Count& e, int h) { return h >= 0 && e.height_check[h] != 0; }

// Check depth handed to the quiescence search at the horizon.
int horizon_check_depth(const Count& e, int h) { return (e.nullex || in_check_at(e, h - 1)) ? 0 : -1; }

void count_cutoff(Count& e, bool first_move) {
    e.fh_total += 1;
    e.fh_first += first_move;
    if (e.fh_total > 65536) {
        e.fh_total = e.fh_total / 2 + 1;
        e.fh_first = e.fh_first / 2 + 1;
    }
}

constexpr int MOVES_GO_ON = INT_MIN;  // the node goes on to its next move
// How many moves ahead of the one searched a node settles its list and
// starts loading what the children will read first.
constexpr int PREFETCH_LOOKAHEAD = 2;

// A node at the horizon, its state cleared as any node's: the quiescence
// search. The move into it recorded its check in height_check[h].
int horizon_node(Count& e, int alpha, int beta, int side, int h, int node_type) {
    enter_node(e, h);
    if (poll_due_and_stop(e)) {
        e.stop_flag = 1;
        return 0;
    }
    return quiesce(e, alpha, beta, side, horizon_check_depth(e, h), h, 0, node_type, e.height_check[h]);
}

// Most children lie at the horizon: they go there straight, without the
// frame of a full node.
inline int search_child(Count& e, int alpha, int beta, int side, int depth, int h, int node_type) {
    return depth < 1 ? horizon_node(e, alpha, beta, side, h, node_type) : alpha_beta(e, alpha, beta, side, depth, h, node_type, 1);
}

// The static evaluation of a node, computed when a rule first needs it. Most
// nodes never do: in check, on the principal variation, or cut off by their
// first move. It must be known before a move is made, for the board is the
// node's own only then.
class node_eval {
public:
    node_eval(Count& e, int side) : e_(e), side_(side) {}
    int operator()() {
        if (!known_) {
            value_ = evaluate(e_, side_);
            known_ = true;
        }
        return value_;
    }
    // The value once known, read while a move is made.
    int known_value() const {
        TAVOX_SELF_CHECK(known_);
        return value_;
    }

private:
    Count& e_;
    int side_;
    int value_ = 0;
    bool known_ = false;
};

// The null move: returns true and sets `result` when the node ends here.
bool try_null_move(Count& e, int alpha, int beta, int side, int depth, int h, int node_type, node_eval& static_eval,
                   int attackers, int hash_from, int hash_to, bool& mate_threat, int& result) {
    const int other = 1 - side;
    // No pass when beta is at or beyond the mate threshold: a pass proves nothing about a mate.
    if (depth < 2 || !e.null_move || e.height_check[h] != 0 || attackers <= 0 || beta <= -MATE_THRESHOLD ||
        beta >= MATE_THRESHOLD || node_type == 0 || mate_threat)
        return false;
    int R;
    if (e.checkqs) {
        R = 4;
    } else {
        const int both_rooks = e.type_count[side == RED ? ROOK : ROOK + BLACK_TYPE_OFFSET] == 2;
        R = (depth > 4 && attackers > (both_rooks ? 2 : 3) && static_eval() >= beta + 60) ? 4 : 3;
    }
    if (depth - R > 0 && static_eval() < beta) return false;

    if (h >= 2 && e.height_check[h - 2] != 0) R -= 1;
    if (h >= 1 && e.height_check[h - 1] != 0) R -= 1;

    e.ply += 1;
    e.move_stack[e.ply] = move_t{};
    e.key_stack[e.ply] = 0;
    // This node has generated nothing yet: the pass's lists may start where its own would.
    e.ply_moves[h + 1] = e.ply_moves[h];
    int s;
    if (depth - R > 0) {
        s = -alpha_beta(e, -beta, 1 - beta, other, depth - R, h + 1, -node_type, e.nullex);
    } else {
        const bool node_search = e.nullex ? (e.checkqs && depth >= 3)
                                          : ((e.checkqs && depth >= 3) || in_check_at(e, h - 1) ||
                                             (h >= 2 && e.height_check[h - 2] != 0));
        if (node_search) s = -alpha_beta(e, -beta, 1 - beta, other, 1, h + 1, -node_type, 1);
        else s = -quiesce(e, -beta, 1 - beta, other, e.nullex ? 0 : -1, h + 1, 0, -node_type, e.height_check[h + 1]);
    }
    e.ply -= 1;
    if (e.stop_flag) {
        result = 0;
        return true;
    }
    if (s < beta) {
        if (s == h - (MATE_SCORE - 2)) {
            mate_threat = true;
            tt_mark_mate_threat(e, side);
        }
        return false;
    }
    if (depth > R + 1 && attackers <= 2) {
        const int v = verify_search(e, alpha, beta, side, depth - R - 1, h, 1, hash_from, hash_to);
        if (e.stop_flag) {
            result = 0;
            return true;
        }
        if (v < beta) {
            e.verify += 1;
            return false;
        }
        const move_t& best = pv_row(e, h)[0];
        if (best.from != 0 && !is_capture(best)) cutoff_learning(e, h, best, v, nullptr, 0);
    }
    if (s > MATE_THRESHOLD) s = MATE_THRESHOLD;
    tt_store_lower(e, side, depth, s, h);
    result = s;
    return true;
}

}  // namespace

int alpha_beta(Count& e, int alpha, int beta, int side, int depth, int h, int node_type, int null_allowed) {
    if (depth < 1) return horizon_node(e, alpha, beta, side, h, node_type);
    const int alpha_in = alpha;
    enter_node(e, h);
    int hash_from = 0, hash_to = 0;
    if (poll_due_and_stop(e)) {
        e.stop_flag = 1;
        return 0;
    }

    e.full += 1;
    if (bare_material(e)) return draw_value(e, side);

    if (int score = 0; mate_distance_cut(h, alpha, beta, score)) return score;

    bool mate_threat = false;
    if (e.tt_probe_switch) {
        // The null move's pass probes the other side's table at this key: its
        // slots load while this node's own probe waits.
        if (null_allowed && depth >= 2 && node_type != 0 && e.null_move && e.height_check[h] == 0)
            tt_prefetch(e, 1 - side);
        const tt_probe_t p = tt_probe_node(e, side, alpha_in, beta, depth, h, node_type);
        if (p.found) {
            hash_from = p.from;
            hash_to = p.to;
            mate_threat = p.mate_threat;
            if (p.cutoff) return p.score;
            // The hash move usually comes first: its child's slots load while
            // the moves are generated and scored.
            if (depth > 1 && hash_from != 0)
                tt_prefetch_key(e, 1 - side, key_after(e, {0, hash_from, hash_to, e.board[hash_from], e.board[hash_to]}));
        }
    }
    if (h >= MAX_SEARCH_HEIGHT) return evaluate(e, side);
    node_eval static_eval(e, side);
    const int attackers = attacking_pieces(e, side);
    const int other = 1 - side;

    if (null_allowed) {
        int result = 0;
        if (try_null_move(e, alpha, beta, side, depth, h, node_type, static_eval, attackers, hash_from, hash_to,
                          mate_threat, result))
            return result;
    }

    if (node_type == 0 && depth >= 3 && hash_from == 0) {
        const int d = depth / 2 < depth - 2 ? depth / 2 : depth - 2;
        const int r = alpha_beta(e, alpha, beta, side, d, h, 0, 1);
        if (!e.stop_flag && r <= alpha) alpha_beta(e, -WINDOW, beta, side, d, h, 0, 1);
        if (e.stop_flag) return 0;
        hash_from = pv_row(e, h)[0].from;
        hash_to = pv_row(e, h)[0].to;
    }

    const int in_check_code = e.height_check[h];
    int count = 0;
    move_t* top = nullptr;
    // Near the horizon the first move nearly always ends the node: it is
    // found among the captures, the hash move and the killers, and searched
    // before the quiet moves are generated at all.
    bool quiets_deferred = false;
    if (in_check_code <= 0 && depth <= QUIET_DEFERRAL_DEPTH && journal_open(e.history_kept)) {
        top = score_first_before_quiets(e, h, side, hash_from, hash_to);
        quiets_deferred = top != nullptr;
        if (quiets_deferred) count = static_cast<int>(e.ply_moves[h + 1] - e.ply_moves[h]);
        else journal_close(e.history_kept);
    }
    if (!quiets_deferred) {
        generate_moves(e, side, h);
        if (in_check_code > 0) count = score_moves(e, h, side, hash_from, hash_to, true);
        else top = score_moves_for_first(e, h, side, hash_from, hash_to, count);
        if (count == 0) return h - MATE_SCORE;
    }

    // Rooks, horses and cannons of both sides at node entry (endgame capture extension).
    const int pieces_at_entry = attacking_pieces(e, RED) + attacking_pieces(e, BLACK);
    const move_t* quiet_searched[MAX_NODE_MOVES];
    int quiet_count = 0;
    int searched = 0;
    int best = NO_SCORE;
    bool improved = false;
    move_t* const first = e.ply_moves[h];
    // Whether the reduction or the futility rule may read the evaluation for m.
    auto may_read_eval = [&](const move_t& m) {
        if (node_type == 0 || in_check_code != 0 || is_capture(m)) return false;
        return (depth >= 3 && e.hist && m.score < 0 && searched >= 3) || (e.futi && depth <= 1 && searched >= 1);
    };

    // One move of the list: made, searched and taken back. Returns the node's
    // result when it ends here, else MOVES_GO_ON. With `prefetch`, the
    // child's table slots start loading as the move is made; the moves of the
    // sorted list have had theirs loading since they were settled.
    auto try_move = [&](move_t& m, bool is_first, bool prefetch) {
        // The reduction and futility rules may read the move's cut ratio
        // after it is made; its line starts loading now.
        if (may_read_eval(m)) {
            __builtin_prefetch(&e.history_cuts(m.from, m.to));
            static_eval();
        }
        const legality legal = in_check_code > 0 ? legality::known : legality::tested_first;
        const int g = make_and_classify(e, m, side, h, legal, prefetch);
        if (g == MOVE_SKIPPED) return MOVES_GO_ON;
        int r;
        if (g == MOVE_REPEATED) {
            r = draw_value(e, side);
        } else {
            const bool capture = is_capture(m);
            const int victim_order = e.piece_order[m.captured];
            int ext = 0;
            if (e.check_extension && g != 0) {
                ext = 1;
                e.check += 1;
            } else if (e.single_reply_extension && in_check_code != 0 && count == 1) {
                ext = 1;
                e.single += 1;
            } else if (e.recapture_extension && e.ply - 1 > 0 && node_type == 0 && m.to == e.move_stack[e.ply - 1].to &&
                       is_capture(e.move_stack[e.ply - 1]) && victim_order <= ORDER_CANNON) {
                ext = 1;
                e.recap += 1;
            } else if (e.mate_threat_extension && mate_threat) {
                ext = 1;
                e.mate += 1;
            } else if (e.endgame_capture_extension && node_type == 0 && capture && victim_order <= ORDER_CANNON &&
                       (pieces_at_entry == 6 || pieces_at_entry == 4)) {
                ext = pieces_at_entry == 6 ? 2 : 1;
                e.end += 1;
            }

            bool reduced = false;
            if (node_type != 0 && ext == 0 && in_check_code == 0 && !capture) {
                const bool reducible = depth >= 3 && e.hist && m.score < 0 && searched >= 3 &&
                                       (static_eval.known_value() - 30 <= alpha || !in_check_at(e, h - 1));
                const bool prunable = e.futi && depth <= 1 && searched >= 1;
                // The ratio reads two large tables: only when a rule may use it.
                const bool seldom_cuts = (reducible || prunable) && rarely_cuts(e, m);
                if (reducible && seldom_cuts) {
                    ext = -1;
                    reduced = true;
                }
                if (prunable && seldom_cuts) {
                    bool recent_check = false;
                    for (int i = h - 1; i >= 0 && i >= h - 4; --i) recent_check |= e.height_check[i] != 0;
                    if (!recent_check) {
                        const int f = static_eval.known_value() + 300;
                        if (f <= alpha) {
                            if (best < f) best = f;
                            unmake_move(e, m);
                            return MOVES_GO_ON;
                        }
                    }
                }
            }

            // An extension near the horizon makes the child a full node after all.
            if (depth <= 1 && ext > 0 && e.tt_probe_switch) tt_prefetch(e, other);
            searched += 1;
            if (!capture && quiet_count < MAX_NODE_MOVES) quiet_searched[quiet_count++] = &m;
            const int child_depth = depth - 1 + ext;
            if (node_type != 0 || !improved) {
                r = -search_child(e, -beta, -alpha, other, child_depth, h + 1, -node_type);
                if (reduced && r > alpha && !e.stop_flag)
                    r = -search_child(e, -beta, -alpha, other, depth - 1, h + 1, -node_type);
            } else {
                r = -search_child(e, -alpha - 1, -alpha, other, child_depth, h + 1, 1);
                if (r > alpha && !e.stop_flag) r = -search_child(e, -beta, -alpha, other, child_depth, h + 1, 0);
            }
            if (e.stop_flag) {
                unmake_move(e, m);
                return 0;
            }
        }
        unmake_move(e, m);

        if (r > best) {
            best = r;
            improved = true;
            if (r > alpha) {
                record_pv(e, h, m, r);
                m.score = r;
                alpha = r;
                if (r >= beta) {
                    if (!is_capture(m)) {
                        // Every quiet move searched before m gets a try; m is the last entry.
                        const int earlier = quiet_count > 0 && quiet_searched[quiet_count - 1] == &m ? quiet_count - 1 : quiet_count;
                        cutoff_learning(e, h, m, r, quiet_searched, earlier);
                    }
                    tt_store_lower(e, side, depth, r, h);
                    count_cutoff(e, is_first);
                    return r;
                }
            }
        }
        return MOVES_GO_ON;
    };

    // A move known to sort first is searched before the other quiet moves are
    // scored and the list is sorted: most often it ends the node. Otherwise
    // the scores are finished and the list sorted as ever, with that move
    // first again (its ordering score restored for the partition).
    lazy_sort order;
    int next = 0;
    if (top != nullptr) {
        const move_t chosen = *top;
        const int result = try_move(*top, true, depth > 1 && e.tt_probe_switch);
        if (quiets_deferred && result != MOVES_GO_ON) journal_close(e.history_kept);
        if (result != MOVES_GO_ON) return result;
        const int score_after = top->score;
        if (quiets_deferred) {
            // The whole list now, scored with the history as it was before.
            generate_moves(e, side, h);
            journal_rewind(e.history_kept, e.history);
            top = score_moves_for_first(e, h, side, hash_from, hash_to, count);
            journal_replay(e.history_kept, e.history);
            journal_close(e.history_kept);
            TAVOX_SELF_CHECK(count == 1 ? same_move(*first, chosen) : top != nullptr && same_move(*top, chosen));
        }
        if (top == nullptr) {
            next = count;  // the only move
        } else {
            top->score = chosen.score;
            finish_scores(e, h, side, hash_from, hash_to);
            order.start(first, count);
            move_t& settled = order.settle(0);
            TAVOX_SELF_CHECK(same_move(settled, chosen));
            settled.score = score_after;
            if (quiet_count > 0) quiet_searched[0] = &settled;
            next = 1;
        }
    } else {
        order.start(first, count);
    }
    // Where the children probe the table, the moves PREFETCH_LOOKAHEAD places
    // further down are settled before a move is searched, so that their slots
    // load during that search.
    // At the horizon's edge the children evaluate first instead: their
    // evaluation-cache entries load the same way.
    const bool prefetch_table = depth > 1 && e.tt_probe_switch;
    const bool prefetch_eval = depth == 1;
    const int lookahead = prefetch_table || prefetch_eval ? PREFETCH_LOOKAHEAD : 0;
    // A ring of settled moves, its size a power of two above the lookahead.
    constexpr int RING = 4;
    static_assert(RING > PREFETCH_LOOKAHEAD && (RING & (RING - 1)) == 0);
    move_t* settled[RING];
    int settled_end = next;  // positions below it are settled
    for (int i = next; i < count; ++i) {
        for (; settled_end <= i + lookahead && settled_end < count; ++settled_end) {
            move_t& coming = order.settle(settled_end);
            settled[settled_end & (RING - 1)] = &coming;
            if (lookahead == 0) continue;
            const uint32_t key = key_after(e, coming);
            if (prefetch_table) tt_prefetch_key(e, other, key);
            else eval_cache_prefetch_key(key);
        }
        move_t& m = *settled[i & (RING - 1)];
        if (const int result = try_move(m, i == 0, false); result != MOVES_GO_ON) return result;
    }

    if (best == NO_SCORE) return h - MATE_SCORE;
    const move_t& pv = pv_row(e, h)[0];
    if (best > alpha_in && pv.from != 0 && !is_capture(pv)) history_reward(e, pv);
    tt_store_bounds(e, side, depth, best, alpha_in, beta, h);
    return best;
}

int verify_search(Count& e, int alpha, int beta, int side, int depth, int h, int node_type, int hash_from,
                  int hash_to) {
    enter_node(e, h);
    if (poll_due_and_stop(e)) {
        e.stop_flag = 1;
        return 0;
    }
    e.full += 1;
    generate_moves(e, side, h);
    const int count = score_moves(e, h, side, hash_from, hash_to, false);
    if (count == 0) return h - MATE_SCORE;

    const int other = 1 - side;
    int best = NO_SCORE;
    lazy_sort order;
    order.start(e.ply_moves[h], count);
    for (int i = 0; i < count; ++i) {
        move_t& m = order.settle(i);
        const int g = make_and_classify(e, m, side, h, legality::tested_first, depth > 1 && e.tt_probe_switch);
        if (g == MOVE_SKIPPED) continue;
        int r;
        if (g == MOVE_REPEATED) {
            r = draw_value(e, side);
        } else {
            int ext = 0;
            if (e.check_extension && g != 0) {
                ext = 1;
                e.check += 1;
            }
            r = -alpha_beta(e, -beta, -alpha, other, depth - 1 + ext, h + 1, -node_type, 1);
            if (e.stop_flag) {
                unmake_move(e, m);
                return 0;
            }
        }
        unmake_move(e, m);
        if (r > best) {
            best = r;
            record_pv(e, h, m, r);
            m.score = r;
            if (r > alpha) alpha = r;
            if (r >= beta) return r;
        }
    }
    return best == NO_SCORE ? h - MATE_SCORE : best;
}
