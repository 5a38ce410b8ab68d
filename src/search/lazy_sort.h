// Sorting a move list highest score first, on demand. Most nodes cut off after
// one or two moves, so a node settles only the positions it reaches. The result
// is the permutation of the full quicksort below, ties included: its segments
// are disjoint, so partitioning them lazily, leftmost first, changes nothing.
// The sort moves small keys (score and list index), never the moves
// themselves: a move stays where the generator wrote it.
#pragma once
#include <climits>
#include <cstdint>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "board/move.h"

class lazy_sort {
public:
    lazy_sort() = default;
    lazy_sort(const lazy_sort&) = delete;
    lazy_sort& operator=(const lazy_sort&) = delete;

    // No list is longer; a Xiangqi position has well under half as many moves.
    static constexpr int MAX_MOVES = 512;

    // The list of `count` moves from `first`, their scores read now.
    void start(move_t* first, int count) {
        base_ = first;
        top_ = 0;
        for (int i = 0; i < count; ++i) key_[i] = {first[i].score, i};
        // The scans read a few keys past either end of the list; these stop them.
        for (int i = 0; i < PAD; ++i) {
            storage_[i] = {INT_MAX, -1};
            key_[count + i] = {INT_MIN, -1};
        }
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
            i = first_not_above(i, pivot);
            j = last_not_below(j, pivot);
            if (i <= j) {
                std::swap(*i, *j);
                ++i;
                --j;
            }
        }
    }

    // The scans of the partition. Where a scan stops follows no pattern a
    // branch could learn, so four scores are compared at once and the stop is
    // read from the mask; the loop mostly ends in its first round. The pivot
    // stops both scans inside the segment: keys read beyond the stop are
    // never used.
#ifdef __SSE2__
    // Bit k: the score of p[k] is above (Above) or below the pivot, k = 0..3.
    template <bool Above>
    static int compare_four(const key* p, __m128i pivot) {
        const __m128 a = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
        const __m128 b = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2)));
        const __m128i scores = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
        const __m128i c = Above ? _mm_cmpgt_epi32(scores, pivot) : _mm_cmpgt_epi32(pivot, scores);
        return _mm_movemask_ps(_mm_castsi128_ps(c));
    }
    static key* first_not_above(key* i, int pivot) {
        const __m128i p = _mm_set1_epi32(pivot);
        for (;; i += 4)
            if (const int m = compare_four<true>(i, p); m != 15) return i + __builtin_ctz(~m);
    }
    static key* last_not_below(key* j, int pivot) {
        const __m128i p = _mm_set1_epi32(pivot);
        for (;; j -= 4)
            if (const int m = compare_four<false>(j - 3, p); m != 15) return j - 3 + (31 - __builtin_clz(~m & 15));
    }
#else
    static key* first_not_above(key* i, int pivot) {
        while (i->score > pivot) ++i;
        return i;
    }
    static key* last_not_below(key* j, int pivot) {
        while (j->score < pivot) --j;
        return j;
    }
#endif

    void push(int lo, int hi) { pending_[top_++] = {static_cast<uint16_t>(lo), static_cast<uint16_t>(hi)}; }

    static constexpr int PAD = 3;  // keys a scan of four may read beyond the list
    move_t* base_ = nullptr;
    int top_ = 0;
    key storage_[PAD + MAX_MOVES + PAD];
    key* const key_ = storage_ + PAD;
    // Pending segments hold two keys or more and never overlap.
    segment pending_[MAX_MOVES / 2];
};
