#include "search/ordering.h"

#include <algorithm>

#include "board/check.h"
#include "board/movegen.h"
#include "board/quiet_move.h"
#include "board/self_check.h"
#include "search/lazy_sort.h"
#include "search/move_scores.h"
#include "search/search_common.h"

namespace {

// Evasion class of a piece, looked up through its capture order.
int evasion_class(const Count& e, int code) { return e.piece_class[e.piece_order[code]]; }

void count_try(Count& e, const move_t& m, bool hit) {
    cut_tally& t = e.history_cuts(m.from, m.to);
    int32_t& tries = t.tries;
    int32_t& hits = t.hits;
    tries += 1;
    hits += hit;
    if (tries >= HISTORY_LIMIT) {
        tries = (tries + 1) / 2;
        hits = (hits + 1) / 2;
    }
}

// A quiet move that is neither the hash move nor a killer: its score is its
// piece-square gain plus its history, less QUIET_BASE, below zero whatever
// the history (below HISTORY_LIMIT) for any gain below QUIET_GAIN_LIMIT.
constexpr int QUIET_BASE = 20000;
constexpr int QUIET_GAIN_LIMIT = QUIET_BASE - (HISTORY_LIMIT - 1);

struct move_scoring {
    int sign;  // 1 for red, -1 for black
    int hash_key;
    const int* killer_keys;
    const move_t* killers;
};

// Whether a capture's score hangs on the defence test: it takes a piece no
// more than CAPTURE_ORDER_GAP orders above the mover.
bool defence_decides(const Count& e, const move_t& m) {
    return is_capture(m) && !captures_far_up(e.piece_order[m.piece], e.piece_order[m.captured]);
}

// What an undefended victim adds to such a capture's score.
int safe_capture_part(const Count& e, const move_t& m) {
    return capture_exchange_bonus(e.piece_order[m.piece], e.piece_order[m.captured]) + SAFE_CAPTURE_BONUS;
}

// Evasions keep the bonus their filter gave and rank captures by evasion
// class, with small killer bonuses; other lists rank captures by exchange
// and killers above the history of quiet moves. With AssumeSafe a capture is
// scored as if its victim were undefended, without the test.
template <bool Evasions, bool AssumeSafe = false>
int move_score(Count& e, const move_scoring& s, const move_t* m) {
    int score = (Evasions ? m->score : 0) + s.sign * red_table_gain(e, *m);
    const bool capture = is_capture(*m);
    const int move_key = m->from << 8 | m->to;
    if (!capture) score += e.history(m->from, m->to) - QUIET_BASE;
    if (move_key == s.hash_key) score += HASH_MOVE_BONUS;
    const int mover_order = e.piece_order[m->piece];
    if (Evasions) {
        if (capture) {
            if (evasion_class(e, m->piece) <= evasion_class(e, m->captured)) score += 10 * mover_order + EVASION_CAPTURE_BONUS;
        } else {
            static constexpr int bonus[3] = {200, 175, 150};
            for (int k = 0; k < 3; ++k) {
                if (move_key == s.killer_keys[k]) {
                    score += bonus[k];
                    break;
                }
            }
        }
    } else if (capture) {
        const int victim_order = e.piece_order[m->captured];
        const int exchange = capture_exchange_bonus(mover_order, victim_order);
        if (captures_far_up(mover_order, victim_order)) score += exchange + WINNING_CAPTURE_BONUS;
        else if (AssumeSafe || capture_defended(e, *m) == 0) score += exchange + SAFE_CAPTURE_BONUS;
    } else {
        static constexpr int bonus[3] = {23000, 22000, 21000};
        static constexpr int mate_bonus[3] = {45000, 44000, 43000};
        for (int k = 0; k < 3; ++k) {
            if (move_key == s.killer_keys[k]) {
                const int ks = s.killers[k].score;
                const bool mate = e.killer_bonus && (ks >= MATE_THRESHOLD + 1 || ks <= -(MATE_THRESHOLD + 1));
                score += mate ? mate_bonus[k] : bonus[k];
                break;
            }
        }
    }
    return score;
}

template <bool Evasions>
void score_list(Count& e, const move_scoring& s, move_t* first, move_t* last) {
    for (move_t* m = first; m < last; ++m) m->score = move_score<Evasions>(e, s, m);
}

// A quiet move that is neither the hash move nor a killer (a plain one).
bool plain_quiet(const move_scoring& s, const move_t& m) {
    if (is_capture(m)) return false;
    const int move_key = m.from << 8 | m.to;
    return move_key != s.hash_key && move_key != s.killer_keys[0] && move_key != s.killer_keys[1] &&
           move_key != s.killer_keys[2];
}

// The bound behind a plain quiet move's score being below zero.
[[maybe_unused]] bool quiet_gains_below_limit(const Count& e, const move_scoring& s, const move_t* first,
                                              const move_t* last) {
    for (const move_t* m = first; m < last; ++m)
        if (plain_quiet(s, *m) && s.sign * red_table_gain(e, *m) >= QUIET_GAIN_LIMIT) return false;
    return true;
}

// A move as one number: from and to are squares below 256. An empty killer
// or hash slot is 0, which no move matches.
move_scoring scoring_of(const Count& e, int h, int side, int hash_from, int hash_to, int killer_keys[3]) {
    const move_t* killers = e.killers[h];
    for (int k = 0; k < 3; ++k) killer_keys[k] = killers[k].from << 8 | killers[k].to;
    return move_scoring{side == RED ? 1 : -1, hash_from << 8 | hash_to, killer_keys, killers};
}

// The highest score among the moves seen, and whether two moves share it.
struct highest_score {
    move_t* top = nullptr;
    bool tied = false;

    void see(move_t* m) {
        if (top == nullptr || m->score > top->score) {
            top = m;
            tied = false;
        } else if (m->score == top->score) {
            tied = true;
        }
    }
    // The move that sorts first whatever the unfinished quiet moves score
    // (they all score below zero), or null.
    move_t* sure_first() const { return top != nullptr && !tied && top->score >= 0 ? top : nullptr; }
};

}  // namespace

int score_moves(Count& e, int h, int side, int hash_from, int hash_to, bool evasions) {
    move_t* const first = e.ply_moves[h];
    move_t* last = e.ply_moves[h + 1];
    if (evasions) {
        const int check = e.height_check[h];
        const check_attack_t attack = find_attack(e, side);
        for (move_t* m = first; m < last;) {
            TAVOX_SELF_CHECK(may_lift(attack, *m, side) || !is_legal(e, *m, side));
            if (!may_lift(attack, *m, side) || !is_legal(e, *m, side)) {
                *m = *--last;
                continue;
            }
            m->score = evasion_bonus<false>(e, *m, side, check);
            ++m;
        }
        e.ply_moves[h + 1] = e.ply_moves[h + 2] = e.move_end = last;
    }

    const int n = static_cast<int>(last - first);
    if (n <= 1) {
        if (n == 1 && !evasions) first->score = 0;
        return n;
    }
    int killer_keys[3];
    const move_scoring s = scoring_of(e, h, side, hash_from, hash_to, killer_keys);
    if (evasions) score_list<true>(e, s, first, last);
    else score_list<false>(e, s, first, last);
    return n;
}

move_t* score_moves_for_first(Count& e, int h, int side, int hash_from, int hash_to, int& count) {
    move_t* const first = e.ply_moves[h];
    move_t* const last = e.ply_moves[h + 1];
    count = static_cast<int>(last - first);
    if (count <= 1) {
        if (count == 1) first->score = 0;
        return nullptr;
    }
    int killer_keys[3];
    const move_scoring s = scoring_of(e, h, side, hash_from, hash_to, killer_keys);
    highest_score highest;
    for (move_t* m = first; m < last; ++m) {
        if (plain_quiet(s, *m)) {
            m->score = e.history(m->from, m->to);  // the rest of the score comes later
            continue;
        }
        m->score = move_score<false>(e, s, m);
        highest.see(m);
    }
    if (move_t* top = highest.sure_first()) {
        TAVOX_SELF_CHECK(quiet_gains_below_limit(e, s, first, last));
        return top;
    }
    finish_scores(e, h, side, hash_from, hash_to);
    return nullptr;
}

move_t* score_first_before_quiets(Count& e, int h, int side, int hash_from, int hash_to) {
    generate_captures(e, side, h);
    move_t* const first = e.ply_moves[h];
    move_t* last = e.ply_moves[h + 1];
    // A king capture is the whole list whichever generator finds it.
    if (last > first && first->captured == side_base(1 - side)) return nullptr;
    int killer_keys[3];
    const move_scoring s = scoring_of(e, h, side, hash_from, hash_to, killer_keys);
    const int wanted[4] = {s.hash_key, killer_keys[0], killer_keys[1], killer_keys[2]};
    const int from_of[4] = {hash_from, s.killers[0].from, s.killers[1].from, s.killers[2].from};
    const int to_of[4] = {hash_to, s.killers[0].to, s.killers[1].to, s.killers[2].to};
    // Which key repeats an earlier one, spelled out: the loop over the earlier
    // keys changed length from key to key and its exit was often mispredicted.
    const int repeated[4] = {0, wanted[1] == wanted[0], (wanted[2] == wanted[0]) | (wanted[2] == wanted[1]),
                             (wanted[3] == wanted[0]) | (wanted[3] == wanted[1]) | (wanted[3] == wanted[2])};
    for (int k = 0; k < 4; ++k) {
        if (!repeated[k] && quiet_move_listed(e, side, from_of[k], to_of[k]))
            *last++ = move_t{0, from_of[k], to_of[k], e.board[from_of[k]], EMPTY_SQUARE};
    }
    e.move_end = e.ply_moves[h + 1] = e.ply_moves[h + 2] = last;

    // Only the move that sorts first is searched from this list (the whole
    // list is scored again otherwise), so a capture's defence is tested only
    // while its undefended score could still reach the highest score known.
    // Skipped ones keep that upper bound, which nothing reads.
    highest_score highest;
    move_t* untested[lazy_sort::MAX_MOVES];
    int n_untested = 0;
    for (move_t* m = first; m < last; ++m) {
        if (defence_decides(e, *m)) {
            m->score = move_score<false, true>(e, s, m);
            untested[n_untested++] = m;
            continue;
        }
        m->score = move_score<false>(e, s, m);
        highest.see(m);
    }
    while (n_untested > 0) {
        int j = 0;
        for (int k = 1; k < n_untested; ++k)
            if (untested[k]->score > untested[j]->score) j = k;
        move_t* const m = untested[j];
        if (highest.top != nullptr && m->score < highest.top->score) break;
        if (capture_defended(e, *m) != 0) m->score -= safe_capture_part(e, *m);
        highest.see(m);
        untested[j] = untested[--n_untested];
    }
    return highest.sure_first();
}

void finish_scores(Count& e, int h, int side, int hash_from, int hash_to) {
    int killer_keys[3];
    const move_scoring s = scoring_of(e, h, side, hash_from, hash_to, killer_keys);
    for (move_t* m = e.ply_moves[h]; m < e.ply_moves[h + 1]; ++m) {
        if (!plain_quiet(s, *m)) continue;
        m->score += s.sign * red_table_gain(e, *m) - QUIET_BASE;
        TAVOX_SELF_CHECK(m->score < 0);
    }
}

void sort_moves(move_t* first, move_t* last) {
    const int n = static_cast<int>(last - first) + 1;
    lazy_sort sorter;
    sorter.start(first, n);
    move_t sorted[lazy_sort::MAX_MOVES];
    for (int i = 0; i < n; ++i) sorted[i] = sorter.settle(i);
    std::copy(sorted, sorted + n, first);
}

void history_reward(Count& e, const move_t& m) {
    const int i = square_pair_table::at(m.from, m.to);
    journal_note(e.history_kept, e.history, i);
    if (++e.history.cell[i] < HISTORY_LIMIT) return;
    journal_note_all(e.history_kept, e.history);
    for (int32_t& v : e.history.cell) v = (v + 1) / 2;
}

void killer_update(Count& e, int h, const move_t& m, int r) {
    move_t* k = e.killers[h];
    if (same_move(k[0], m)) return;
    k[2] = k[1];
    k[1] = k[0];
    k[0] = move_t{r, m.from, m.to, 0, 0};
}

void cutoff_learning(Count& e, int h, const move_t& m, int r, const move_t* const* earlier, int n) {
    for (int i = 0; i < n; ++i) count_try(e, *earlier[i], false);
    count_try(e, m, true);
    history_reward(e, m);
    killer_update(e, h, m, r);
}
