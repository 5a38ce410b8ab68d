#include "search/ordering.h"

#include "board/check.h"
#include "search/lazy_sort.h"
#include "search/move_scores.h"
#include "search/search_common.h"

namespace {

// Evasion class of a piece, looked up through its capture order.
int evasion_class(const Count& e, int code) { return e.piece_class[e.piece_order[code]]; }

void count_try(Count& e, const move_t& m, bool hit) {
    int32_t& tries = e.history_tries[m.from][m.to];
    int32_t& hits = e.history_hits[m.from][m.to];
    tries += 1;
    hits += hit;
    if (tries >= HISTORY_LIMIT) {
        tries = (tries + 1) / 2;
        hits = (hits + 1) / 2;
    }
}

struct move_scoring {
    int sign;  // 1 for red, -1 for black
    int hash_key;
    const int* killer_keys;
    const move_t* killers;
};

// Evasions keep the bonus their filter gave and rank captures by evasion
// class, with small killer bonuses; other lists rank captures by exchange
// and killers above the history of quiet moves.
template <bool Evasions>
void score_list(Count& e, const move_scoring& s, move_t* first, move_t* last) {
    for (move_t* m = first; m < last; ++m) {
        int score = (Evasions ? m->score : 0) + s.sign * red_table_gain(e, *m);
        const bool capture = is_capture(*m);
        const int move_key = m->from << 8 | m->to;
        if (!capture) score += e.history[m->from][m->to] - 20000;
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
            else if (capture_defended(e, *m) == 0) score += exchange + SAFE_CAPTURE_BONUS;
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
        m->score = score;
    }
}

}  // namespace

int score_moves(Count& e, int h, int side, int hash_from, int hash_to, bool evasions) {
    move_t* const first = e.ply_moves[h];
    move_t* last = e.ply_moves[h + 1];
    if (evasions) {
        const int check = e.height_check[h];
        for (move_t* m = first; m < last;) {
            if (!is_legal(e, *m, side)) {
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
    // A move as one number: from and to are squares below 256. An empty
    // killer or hash slot is 0, which no move matches.
    const move_t* killers = e.killers[h];
    int killer_keys[3];
    for (int k = 0; k < 3; ++k) killer_keys[k] = killers[k].from << 8 | killers[k].to;
    const move_scoring s{side == RED ? 1 : -1, hash_from << 8 | hash_to, killer_keys, killers};
    if (evasions) score_list<true>(e, s, first, last);
    else score_list<false>(e, s, first, last);
    return n;
}

void sort_moves(move_t* first, move_t* last) {
    lazy_sort sorter;
    sorter.start(first, static_cast<int>(last - first) + 1);
    for (const move_t* p = first; p <= last; ++p) sorter.settle(p);
}

void history_reward(Count& e, const move_t& m) {
    if (++e.history[m.from][m.to] < HISTORY_LIMIT) return;
    for (auto& row : e.history)
        for (int32_t& v : row) v = (v + 1) / 2;
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
