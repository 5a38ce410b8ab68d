#include "search/tt.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "board/make_move.h"
#include "platform/large_memory.h"
#include "search/search_common.h"

namespace {

tt_entry_t* first_slot(const Count& e, int side) { return e.tt_tables[side] + tt_index(e); }

bool is_current(const Count& e, const tt_entry_t& t) { return t.epoch == e.tt_epoch; }

// An outdated entry reads as empty, lock 0 included.
uint32_t lock_as_read(const Count& e, const tt_entry_t& t) { return is_current(e, t) ? t.lock : 0; }

void reset_slot(const Count& e, tt_entry_t& t) {
    t = TT_EMPTY_ENTRY;
    t.lock = e.zobrist_lock;
    t.generation = e.tt_generation;
    t.epoch = e.tt_epoch;
}

// A matched entry, made current first when it is an outdated one (which
// matches only a position whose lock is 0).
tt_entry_t* matched(const Count& e, tt_entry_t* t) {
    if (!is_current(e, *t)) [[unlikely]] reset_slot(e, *t);
    return t;
}

tt_entry_t* matching_slot(const Count& e, int side) {
    if (e.tt_size == 0) return nullptr;
    tt_entry_t* slot = first_slot(e, side);
    if (lock_as_read(e, slot[0]) == e.zobrist_lock) return matched(e, slot);
    if (lock_as_read(e, slot[1]) == e.zobrist_lock) return matched(e, slot + 1);
    return nullptr;
}

// Older and shallower entries go first: the smaller generation * 255 + move_depth.
int replacement_key(const Count& e, const tt_entry_t& t) {
    const tt_entry_t& read = is_current(e, t) ? t : TT_EMPTY_ENTRY;
    return read.generation * 255 + read.move_depth;
}

// The matching entry touched, or a fresh one in the slot the replacement rule picks.
tt_entry_t* entry_for_store(Count& e, int side) {
    if (e.tt_size == 0) return nullptr;
    if (tt_entry_t* t = matching_slot(e, side)) {
        t->generation = e.tt_generation;
        return t;
    }
    tt_entry_t* slot = first_slot(e, side);
    tt_entry_t* victim = replacement_key(e, slot[0]) < replacement_key(e, slot[1]) ? slot : slot + 1;
    reset_slot(e, *victim);
    return victim;
}

void set_best_move(const Count& e, tt_entry_t& t, int depth, int height) {
    const move_t& best = e.pv_table[height * PV_ROW];
    t.move_depth = static_cast<int8_t>(depth);
    t.move_from = static_cast<uint8_t>(best.from);
    t.move_to = static_cast<uint8_t>(best.to);
}

void set_lower(tt_entry_t& t, int depth, int score, int height) {
    t.lower_depth = static_cast<int8_t>(depth);
    t.lower = static_cast<int16_t>(tt_score_to_table(score, height));
}

// A line record that does not fit the board would corrupt it when made.
bool fits_board(const Count& e, const move_t& m) {
    return m.from > 0 && m.from < 256 && m.to > 0 && m.to < 256 && (m.piece & (RED_BIT | BLACK_BIT)) != 0 &&
           e.board[m.from] == m.piece && e.board[m.to] == m.captured;
}

tt_entry_t* allocate_table(int32_t n) {
    return static_cast<tt_entry_t*>(platform::allocate_large_block(sizeof(tt_entry_t) * (static_cast<size_t>(n) + 1)));
}

// Writes n empty entries. The tables are tens of megabytes: streaming stores
// write whole lines without reading them first, and leave the cache to the search.
void fill_empty(tt_entry_t* t, size_t n) {
#ifdef __SSE2__
    constexpr size_t GROUP = 4;  // four entries fill five 16-byte words
    constexpr size_t WORDS = 5;
    static_assert(sizeof(tt_entry_t) * GROUP == WORDS * sizeof(__m128i));
    if (reinterpret_cast<uintptr_t>(t) % alignof(__m128i) == 0) {
        tt_entry_t group[GROUP];
        std::fill_n(group, GROUP, TT_EMPTY_ENTRY);
        __m128i words[WORDS];
        std::memcpy(words, group, sizeof words);
        __m128i* out = reinterpret_cast<__m128i*>(t);
        const size_t groups = n / GROUP;
        for (size_t g = 0; g < groups; ++g, out += WORDS)
            for (size_t w = 0; w < WORDS; ++w) _mm_stream_si128(out + w, words[w]);
        _mm_sfence();
        t += groups * GROUP;
        n -= groups * GROUP;
    }
#endif
    std::fill_n(t, n, TT_EMPTY_ENTRY);
}

// Every entry of both tables made an empty one of epoch 0, the current epoch.
void rewrite_empty(Count& e) {
    e.tt_epoch = 0;
    if (e.tt_tables[0] == nullptr) return;
    const size_t n = static_cast<size_t>(e.tt_size) + 1;
    for (int side = 0; side < 2; ++side) fill_empty(e.tt_tables[side], n);
}

}  // namespace

int32_t tt_entries_for_megabytes(int megabytes) {
    if (megabytes < 16) megabytes = 16;
    if (megabytes > 512) megabytes = 512;
    return static_cast<int32_t>(static_cast<int64_t>(megabytes) * 1048576 / 40);
}

bool tt_resize(Count& e, int megabytes) {
    const int32_t n = tt_entries_for_megabytes(megabytes);
    tt_entry_t* t0 = allocate_table(n);
    tt_entry_t* t1 = t0 ? allocate_table(n) : nullptr;
    if (t1 == nullptr) {
        platform::release_large_block(t0);
        return false;
    }
    tt_free(e);
    e.tt_size = n;
    e.tt_index_magic = tt_index_magic_for(n);
    e.tt_tables[0] = t0;
    e.tt_tables[1] = t1;
    rewrite_empty(e);
    return true;
}

void tt_free(Count& e) {
    platform::release_large_block(e.tt_tables[0]);
    platform::release_large_block(e.tt_tables[1]);
    e.tt_tables[0] = e.tt_tables[1] = nullptr;
    e.tt_size = 0;
}

void tt_clear(Count& e) {
    // When the epochs wrap, an entry could be as old as the new epoch.
    if (++e.tt_epoch == 0) rewrite_empty(e);
}

tt_entry_t tt_entry_as_read(const Count& e, const tt_entry_t& t) { return is_current(e, t) ? t : TT_EMPTY_ENTRY; }

int tt_score_to_table(int score, int height) {
    if (score < -MATE_THRESHOLD) return score - height;
    if (score > MATE_THRESHOLD) return score + height;
    return score;
}

int tt_score_from_table(int stored, int height) {
    if (stored < -MATE_THRESHOLD) return stored + height;
    if (stored > MATE_THRESHOLD) return stored - height;
    return stored;
}

tt_entry_t* tt_probe(Count& e, int side) {
    tt_entry_t* t = matching_slot(e, side);
    if (t != nullptr) t->generation = e.tt_generation;
    return t;
}

tt_probe_t tt_probe_node(Count& e, int side, int alpha, int beta, int depth, int height, int node_type) {
    tt_probe_t r{false, 0, 0, false, false, 0};
    const tt_entry_t* t = tt_probe(e, side);
    if (t == nullptr) return r;
    r.found = true;
    r.from = t->move_from;
    r.to = t->move_to;
    r.mate_threat = t->mate_threat != 0;
    if (node_type == 0) return r;

    int lower = -20000, upper = 20000;
    if (t->lower_depth >= depth || t->lower > MATE_THRESHOLD) {
        lower = tt_score_from_table(t->lower, height);
        if (lower >= beta) {
            e.hashhit += 1;
            r.cutoff = true;
            r.score = lower;
            return r;
        }
    }
    if (t->upper_depth >= depth || t->upper < -MATE_THRESHOLD) {
        upper = tt_score_from_table(t->upper, height);
        if (upper <= alpha) {
            e.hashhit += 1;
            r.cutoff = true;
            r.score = upper;
            return r;
        }
    }
    if (lower == upper) {
        e.hashhit += 1;
        r.cutoff = true;
        r.score = lower;
    }
    return r;
}

void tt_store_lower(Count& e, int side, int depth, int score, int height) {
    tt_entry_t* const p = entry_for_store(e, side);
    if (p == nullptr) return;
    tt_entry_t& t = *p;
    if (depth >= t.move_depth) set_best_move(e, t, depth, height);
    if (depth >= t.lower_depth) set_lower(t, depth, score, height);
}

void tt_store_bounds(Count& e, int side, int depth, int best, int alpha, int beta, int height) {
    tt_entry_t* const p = entry_for_store(e, side);
    if (p == nullptr) return;
    tt_entry_t& t = *p;
    if (depth >= t.move_depth) set_best_move(e, t, depth, height);
    if (best > alpha && depth >= t.lower_depth) set_lower(t, depth, best, height);
    if (best < beta && depth >= t.upper_depth) {
        t.upper_depth = static_cast<int8_t>(depth);
        t.upper = static_cast<int16_t>(tt_score_to_table(best, height));
    }
}

void tt_mark_mate_threat(Count& e, int side) {
    if (tt_entry_t* t = tt_probe(e, side)) t->mate_threat = 1;
}

void tt_write_pv(Count& e, int side) {
    if (e.tt_size == 0) return;
    int made = 0;
    for (; made < 64 && e.ply < MAX_PLY_STACK - 1; ++made) {
        const move_t& m = e.best_line[made];
        if (!fits_board(e, m)) break;  // the all-zero end record included
        if (tt_probe(e, side) == nullptr) {
            tt_entry_t& t = first_slot(e, side)[1];
            reset_slot(e, t);
            t.move_from = static_cast<uint8_t>(m.from);
            t.move_to = static_cast<uint8_t>(m.to);
        }
        make_move(e, m);
        side ^= 1;
    }
    while (made > 0) unmake_move(e, e.best_line[--made]);
}
