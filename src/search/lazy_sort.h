// Sorting a move list highest score first, on demand. Most nodes cut off after
// one or two moves, so a node settles only the positions it reaches, until it
// has come far enough to be likely to need them all. The result
// is the permutation of the full quicksort below, ties included: its segments
// are disjoint, so partitioning them lazily, leftmost first, changes nothing.
// The sort moves small keys (score and list index in one 32-bit number),
// never the moves themselves: a move stays where the generator wrote it.
#pragma once
#include <climits>
#include <cstdint>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "board/move.h"
#include "board/self_check.h"

class lazy_sort {
public:
    lazy_sort() = default;
    lazy_sort(const lazy_sort&) = delete;
    lazy_sort& operator=(const lazy_sort&) = delete;

    // No list is longer; a Xiangqi position has well under half as many moves.
    static constexpr int MAX_MOVES = 512;
    static constexpr int INDEX_BITS = 9;  // MAX_MOVES is 1 << INDEX_BITS

    // The list of `count` moves from `first`, their scores read now.
    void start(move_t* first, int count) {
        base_ = first;
        for (int i = 0; i < count; ++i) {
            TAVOX_SELF_CHECK(first[i].score >= -SCORE_LIMIT && first[i].score < SCORE_LIMIT);
            key_[i] = first[i].score * INDEX_RANGE + i;
        }
        // The scans read a few keys past either end of the list; these stop them.
        for (int i = 0; i < PAD; ++i) {
            storage_[i] = INT32_MAX;
            key_[count + i] = INT32_MIN;
        }
        pending_[0] = {nullptr, nullptr};  // under the stack: starts at no position
        pending_[1] = {key_, key_ + count - 1};
        top_ = pending_ + (count > 1);
    }

    // The move a full sort would put at position p. Positions are settled in
    // increasing order, each at most once, from 0.
    move_t& settle(int p) {
        if (p == FINISH_FROM) finish();
        // The top in a local: the key swaps could alias it, and it would be
        // stored and reloaded at every one.
        segment* top = top_;
        while (top->lo == key_ + p) {
            const segment s = *top--;
            key_t* i = s.lo;
            key_t* j = s.hi;
            partition(i, j);
            // Right part below the left one: the leftmost pending segment stays on top.
            if (i < s.hi) *++top = {i, s.hi};
            if (s.lo < j) *++top = {s.lo, j};
        }
        top_ = top;
        return base_[key_[p] & (INDEX_RANGE - 1)];
    }

private:
    // A key is a move's score and its list index in one number, score * INDEX_RANGE
    // + index: half the bytes to move, and four keys to a compare.
    using key_t = int32_t;
    static constexpr int32_t INDEX_RANGE = MAX_MOVES;
    // Move scores stay far inside this: bonuses, history and piece-square gains of
    // tens of thousands, or search scores.
    static constexpr int32_t SCORE_LIMIT = INT32_MAX / INDEX_RANGE;
    static_assert(INDEX_RANGE == 1 << INDEX_BITS);
    // Bounds as pointers: no conversions on the way to and from the partition.
    struct segment {
        key_t *lo, *hi;
    };

    // Hoare partition around the middle element's score: afterwards every key
    // before i scores at least the pivot, every key after j at most, and the
    // keys strictly between j and i equal it and are in place. A key scores
    // above the pivot when it is above the pivot's highest key, below it when
    // below the pivot's lowest.
    static void partition(key_t*& i, key_t*& j) {
        const int32_t pivot = i[(j - i) / 2] >> INDEX_BITS;
        const int32_t lowest = pivot * INDEX_RANGE, highest = lowest + (INDEX_RANGE - 1);
        while (i <= j) {
            i = first_not_above(i, highest);
            j = last_not_below(j, lowest);
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
    // Bit k: p[k] is above `bound`, k = 0..3.
    static int above_four(const key_t* p, int32_t bound) {
        const __m128i keys = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        return _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(keys, _mm_set1_epi32(bound))));
    }
    // Bit k: p[k] is below `bound`.
    static int below_four(const key_t* p, int32_t bound) {
        const __m128i keys = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        return _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(_mm_set1_epi32(bound), keys)));
    }
    // Not above `highest` is below highest + 1, and not below `lowest` above
    // lowest - 1: the mask then marks the stops themselves, with no inversion.
    // Neither bound overflows, scores being under SCORE_LIMIT.
    static key_t* first_not_above(key_t* i, int32_t highest) {
        for (;; i += 4)
            if (const int m = below_four(i, highest + 1); m != 0) return i + __builtin_ctz(m);
    }
    static key_t* last_not_below(key_t* j, int32_t lowest) {
        for (;; j -= 4)
            if (const int m = above_four(j - 3, lowest - 1); m != 0) return j - 3 + (31 ^ __builtin_clz(m));
    }
#else
    static key_t* first_not_above(key_t* i, int32_t highest) {
        while (*i > highest) ++i;
        return i;
    }
    static key_t* last_not_below(key_t* j, int32_t lowest) {
        while (*j < lowest) --j;
        return j;
    }
#endif

    // A node that has come this far mostly goes through its whole list. The
    // rest is then sorted at once, in a loop whose only test is for the end
    // of the stack: settling it position by position asks at each one whether
    // a segment starts there, and that follows no pattern.
    static constexpr int FINISH_FROM = 10;
    void finish() {
        segment* top = top_;
        while (top != pending_) {
            const segment s = *top;
            key_t* i = s.lo;
            key_t* j = s.hi;
            partition(i, j);
            // Both parts are written, and each kept if it holds two keys or
            // more, without a branch: the right one over the segment just
            // taken, the left one above it or in its place. The slot above the
            // stack takes the write of a left part that is not kept.
            const int keep_right = i < s.hi, keep_left = s.lo < j;
            top[0] = {i, s.hi};
            top[keep_right] = {s.lo, j};
            top += keep_right + keep_left - 1;
        }
        top_ = top;
    }

    static constexpr int PAD = 3;  // keys a scan of four may read beyond the list
    move_t* base_ = nullptr;
    key_t storage_[PAD + MAX_MOVES + PAD];
    key_t* const key_ = storage_ + PAD;
    // Pending segments hold two keys or more and never overlap; the top one is
    // the leftmost. pending_[0] is an end marker, so the stack is never empty,
    // and the last slot is for finish's write of a part not kept.
    segment* top_ = nullptr;
    segment pending_[1 + MAX_MOVES / 2 + 1];
};
