// Sorting a move list highest score first, on demand. Most nodes cut off after
// one or two moves, so a node settles only the positions it reaches. The result
// is the permutation of the full quicksort below, ties included: its segments
// are disjoint, so partitioning them lazily, leftmost first, changes nothing.
#pragma once
#include <cstdint>
#include <utility>

#include "board/move.h"

class lazy_sort {
public:
    // The list of `count` moves from `first`, at most 2 * MAX_SEGMENTS.
    void start(move_t* first, int count) {
        base_ = first;
        top_ = 0;
        if (count > 1) push(first, first + count - 1);
    }

    // Puts at p the move a full sort would put there. Positions are settled in
    // increasing order, each at most once, from the list's first.
    void settle(const move_t* p) {
        while (top_ > 0 && base_ + pending_[top_ - 1].lo == p) {
            const segment s = pending_[--top_];
            move_t* const lo = base_ + s.lo;
            move_t* const hi = base_ + s.hi;
            move_t* i = lo;
            move_t* j = hi;
            partition(i, j);
            // Right part below the left one: the leftmost pending segment stays on top.
            if (i < hi) push(i, hi);
            if (lo < j) push(lo, j);
        }
    }

    static constexpr int MAX_SEGMENTS = 256;

private:
    struct segment {
        uint16_t lo, hi;
    };

    // Hoare partition around the middle element's score: afterwards every move
    // before i scores at least the pivot, every move after j at most, and the
    // moves strictly between j and i equal it and are in place.
    static void partition(move_t*& i, move_t*& j) {
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

    void push(const move_t* lo, const move_t* hi) {
        pending_[top_++] = {static_cast<uint16_t>(lo - base_), static_cast<uint16_t>(hi - base_)};
    }

    move_t* base_ = nullptr;
    int top_ = 0;
    // Pending segments hold two moves or more and never overlap.
    segment pending_[MAX_SEGMENTS];
};
