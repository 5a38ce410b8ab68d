// The quiescence search hands out its moves by selection: step p takes the
// highest score left, and each move that scores above the one held on the
// way takes its place, the held one going where that move stood. Ties thus
// come in an order that depends on the whole list.
//
// Some lists are mostly moves a filter will pass over without a trace (in
// check, those that cannot lift the attack; among quiet moves, those that
// cannot give check). When no two moves the filter lets through share a
// score, their order follows from their scores alone, whatever else the list
// holds, so only they need scoring and the rest can go.
#pragma once
#include <climits>
#include <cstdint>

#include "board/move.h"
#include "board/self_check.h"

// The selection moves small keys (score and list index in one number), never
// the moves, and without branches: whether a move beats the one held is a
// toss-up the predictor loses about once a scan.
class exchange_selection {
public:
    static constexpr int MAX_MOVES = 512;

    // Scores every move of [first, last) and takes them all.
    template <class ScoreOf>
    void take_all(move_t* first, move_t* last, ScoreOf score_of) {
        base_ = first;
        count_ = static_cast<int>(last - first);
        in_order_ = false;
        for (int i = 0; i < count_; ++i) {
            const int score = score_of(first[i]);
            first[i].score = score;
            key_[i] = key_of(score, i);
        }
        // The scans run in whole groups; these keys beat nothing and never move.
        for (int i = 0; i < GROUP; ++i) key_[count_ + i] = INT32_MIN;
    }

    // Scores the moves `may_pass` accepts and takes only them, in score
    // order. Refuses (false, nothing taken) when two of them tie, or when
    // they are very many.
    template <class MayPass, class ScoreOf>
    bool take_passing(move_t* first, move_t* last, MayPass may_pass, ScoreOf score_of) {
        constexpr int MAX_KEPT = 64;
        int n = 0;
        for (move_t* m = first; m < last; ++m) {
            if (!may_pass(*m)) continue;
            if (n == MAX_KEPT) return false;
            const int score = score_of(*m);
            m->score = score;
            const int32_t key = key_of(score, static_cast<int>(m - first));
            const int32_t lowest = key_of(score, 0), highest = key_of(score, INDEX_RANGE - 1);
            int i = n++;
            for (; i > 0 && key_[i - 1] < lowest; --i) key_[i] = key_[i - 1];
            if (i > 0 && key_[i - 1] <= highest) return false;
            key_[i] = key;
        }
        base_ = first;
        count_ = n;
        in_order_ = true;
        return true;
    }

    int count() const { return count_; }

    // The move the selection hands out at step p, for p = 0, 1, ... in turn.
    move_t& next(int p) {
        if (in_order_) return base_[key_[p] & (INDEX_RANGE - 1)];
        int32_t held = key_[p];
        for (int q = p + 1; q < count_; q += GROUP) {
#pragma GCC unroll 4
            for (int k = q; k < q + GROUP; ++k) key_[k] = exchange_if_above(held, key_[k]);
        }
        return base_[held & (INDEX_RANGE - 1)];
    }

private:
    static constexpr int32_t INDEX_RANGE = MAX_MOVES;
    static constexpr int32_t SCORE_LIMIT = INT32_MAX / INDEX_RANGE;
    static constexpr int GROUP = 4;

    static int32_t key_of(int score, int index) {
        TAVOX_SELF_CHECK(score >= -SCORE_LIMIT && score < SCORE_LIMIT && index < INDEX_RANGE);
        return score * INDEX_RANGE + index;
    }

    // The key left in the slot of `key`: `held` when `key` scores above it
    // (`held` then takes `key`), or else `key`. Above every key of the held
    // move's score means a strictly higher score.
    static int32_t exchange_if_above(int32_t& held, int32_t key) {
        const int32_t threshold = held | (INDEX_RANGE - 1);
#if defined(__GNUC__) && defined(__x86_64__)
        // The compiler turns the selects into a branch, as the exchange is
        // only a swap of registers.
        int32_t left = key;
        asm("cmpl %[threshold], %[key]\n\t"
            "cmovg %[held], %[left]\n\t"
            "cmovg %[key], %[held]"
            : [left] "+&r"(left), [held] "+&r"(held)
            : [key] "r"(key), [threshold] "r"(threshold)
            : "cc");
        return left;
#else
        const bool above = key > threshold;
        const int32_t left = above ? held : key;
        held = above ? key : held;
        return left;
#endif
    }

    move_t* base_ = nullptr;
    int count_ = 0;
    bool in_order_ = false;  // taken in score order: the selection exchanges nothing
    int32_t key_[MAX_MOVES + GROUP];
};
