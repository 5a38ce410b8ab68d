// The quiescence search hands out its moves by selection: highest score
// first, ties in an order that depends on the whole list. Some lists are
// mostly moves a filter will pass over without a trace (in check, those that
// cannot lift the attack; among quiet moves, those that cannot give check).
// When no two moves the filter lets through share a score, their order
// follows from their scores alone, whatever else the list holds, so only
// they need scoring and the rest can go.
#pragma once
#include <climits>
#include <cstdint>

#include "board/move.h"
#include "board/self_check.h"

// The selection itself: step p takes the highest score left, and each move
// that scores above the one held on the way takes its place, the held one
// going where that move stood. The exchanges move small keys (score and list
// index in one number), never the moves, and without branches: whether a
// move beats the one held is a toss-up the predictor loses about once a scan.
class exchange_selection {
public:
    static constexpr int MAX_MOVES = 512;

    // The list of `count` moves from `first`, their scores read now.
    void start(move_t* first, int count) {
        base_ = first;
        count_ = count;
        for (int i = 0; i < count; ++i) {
            TAVOX_SELF_CHECK(first[i].score >= -SCORE_LIMIT && first[i].score < SCORE_LIMIT);
            key_[i] = first[i].score * INDEX_RANGE + i;
        }
        // The scans run in whole groups; these keys beat nothing and never move.
        for (int i = 0; i < GROUP; ++i) key_[count + i] = INT32_MIN;
    }

    // The move the selection hands out at step p, for p = 0, 1, ... in turn.
    move_t& next(int p) {
        int32_t held = key_[p];
        for (int q = p + 1; q < count_; q += GROUP) {
#pragma GCC unroll 4
            for (int k = q; k < q + GROUP; ++k) key_[k] = exchange_if_above(held, key_[k]);
        }
        return base_[held & (INDEX_RANGE - 1)];
    }

private:
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

    static constexpr int32_t INDEX_RANGE = MAX_MOVES;
    static constexpr int32_t SCORE_LIMIT = INT32_MAX / INDEX_RANGE;
    static constexpr int GROUP = 4;
    move_t* base_ = nullptr;
    int count_ = 0;
    int32_t key_[MAX_MOVES + GROUP];
};

// Scores the moves `may_pass` accepts with `score_of`, puts them first in
// [first, last) highest score first, and returns their end. Returns null,
// with the list untouched, when two of them tie (or they are very many).
template <class MayPass, class ScoreOf>
move_t* keep_in_score_order(move_t* first, move_t* last, MayPass may_pass, ScoreOf score_of) {
    constexpr int MAX_KEPT = 64;
    move_t kept[MAX_KEPT];
    int n = 0;
    for (const move_t* m = first; m < last; ++m) {
        if (!may_pass(*m)) continue;
        if (n == MAX_KEPT) return nullptr;
        move_t next = *m;
        next.score = score_of(next);
        int i = n++;
        for (; i > 0 && kept[i - 1].score < next.score; --i) kept[i] = kept[i - 1];
        if (i > 0 && kept[i - 1].score == next.score) return nullptr;
        kept[i] = next;
    }
    for (int i = 0; i < n; ++i) first[i] = kept[i];
    return first + n;
}
