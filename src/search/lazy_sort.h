// Sorting a move list highest score first, on demand. Most nodes cut off after
// one or two moves, so a node settles only the positions it reaches. The result
// is the permutation of the full quicksort below, ties included: its segments
// are disjoint, so partitioning them lazily, leftmost first, changes nothing.
// The sort moves small keys (score and list index), never the moves
// themselves: a move stays where the generator wrote it.
#pragma once
#include <cstdint>
#include <utility>

#include "board/move.h"

class lazy_sort {
public:
    // No list is longer; a Xiangqi position has well under half as many moves.
    static constexpr int MAX_MOVES = 512;

    // The list of `count` moves from `first`, their scores read now.
    void start(move_t* first, int count) {
        base_ = first;
        top_ = 0;
        for (int i = 0; i < count; ++i) key_[i] = {first[i].score, i};
        if (count > 1) push(0, count - 1);
    }

    // The move a full sort would put at position p. Positions are settled in
    // increasing order, each at most once, from 0.
    move_t& settle(int p) {
        while (top_ > 0 && pending_[top_ - 1].lo == p) {
            const segment s = pending_[--top_];
            key* i = key_ + s.lo;
            key* j = key_ + s.hi;
            partition(i, j);
            // Right part below the left one: the leftmost pending segment stays on top.
            if (i < key_ + s.hi) push(static_cast<int>(i - key_), s.hi);
            if (key_ + s.lo < j) push(s.lo, static_cast<int>(j - key_));
        }
        return base_[key_[p].index];
    }

private:
    struct key {
        int32_t score;
        int32_t index;
    };
    struct segment {
        uint16_t lo, hi;
    };

    // Hoare partition around the middle element's score: afterwards every key
    // before i scores at least the pivot, every key after j at most, and the
    // keys strictly between j and i equal it and are in place.
    static void partition(key*& i, key*& j) {
        const int pivot = i[(j - i) / 2].score;
        while (i <= j) {
            while (i->score > pivot) ++i;
            while (j->score < pivot) --j;
            if (i <= j) {
                std::swap(*i, *j);
                ++i;
                --j;
            }
        }
    }

    void push(int lo, int hi) { pending_[top_++] = {static_cast<uint16_t>(lo), static_cast<uint16_t>(hi)}; }

    move_t* base_ = nullptr;
    int top_ = 0;
    key key_[MAX_MOVES];
    // Pending segments hold two keys or more and never overlap.
    segment pending_[MAX_MOVES / 2];
};
